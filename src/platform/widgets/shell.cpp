#include "platform/widgets/shell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QUrl>

namespace ui {

QUrl shellUrl(const QString& target) {
    // A scheme of two letters or more (http:, mailto:, file:) marks a link; anything else is a path.
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    if (!target.startsWith(QLatin1Char('/')) && scheme.match(target).hasMatch())
        return QUrl(target, QUrl::TolerantMode);
    return QUrl::fromLocalFile(QFileInfo(target).absoluteFilePath());
}

bool DesktopShell::open(const QString& target, int /*showMode: the window manager decides the size*/) {
    if (target.trimmed().isEmpty())
        return false;
    return QDesktopServices::openUrl(shellUrl(target));
}

bool DesktopShell::startProgram(const QString& program, const QStringList& args) {
    return QProcess::startDetached(program, args);
}

bool openInTextEditor(const QString& path) {
    // Text and settings files open in the editor the desktop has for plain text.
    return desktop::shell().open(path, 3);
}

bool systemInformation() {
    static const char* const tools[] = {"hardinfo2", "hardinfo", "gnome-system-monitor", "ksysguard",
                                        "plasma-systemmonitor"};
    for (const char* tool : tools) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(tool));
        if (!path.isEmpty())
            return desktop::shell().startProgram(path, {});
    }
    return false;
}

} // namespace ui

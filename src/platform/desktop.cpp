#include "platform/desktop.h"

#include <QCoreApplication>
#include <QDir>
#include <QMap>
#include <QStandardPaths>

namespace desktop {
namespace {

class NoShell : public Shell {
public:
    bool open(const QString&, int) override { return false; }
    bool startProgram(const QString&, const QStringList&) override { return false; }
};

NoShell g_noShell;
SystemClock g_systemClock;
Shell* g_shell = nullptr;
Clock* g_clock = nullptr;
QString g_programFolder;
QMap<int, QString> g_folderOverrides;

QString withoutTrailingSlash(QString path) {
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path;
}

} // namespace

Shell& shell() { return g_shell ? *g_shell : g_noShell; }
void setShell(Shell* s) { g_shell = s; }
Clock& clock() { return g_clock ? *g_clock : g_systemClock; }
void setClock(Clock* c) { g_clock = c; }

QString programFolder() {
    if (!g_programFolder.isEmpty())
        return g_programFolder;
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return QDir::currentPath();
}

void setProgramFolder(const QString& folder) { g_programFolder = withoutTrailingSlash(folder); }

QString specialFolder(int id) {
    const QString overridden = g_folderOverrides.value(id);
    if (!overridden.isEmpty())
        return overridden;
    QString path;
    switch (id) {
    case 5:
        path = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        break;
    case 28:
        path = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
        break;
    case 46: {
        // The first system-wide data folder (e.g. /usr/local/share), shared by every user of the machine.
        const QStringList all = QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation);
        path = all.size() > 1 ? all.at(1) : QStringLiteral("/usr/local/share");
        break;
    }
    default:
        break;
    }
    return withoutTrailingSlash(path);
}

void setSpecialFolder(int id, const QString& path) {
    if (path.isEmpty())
        g_folderOverrides.remove(id);
    else
        g_folderOverrides.insert(id, withoutTrailingSlash(path));
}

} // namespace desktop

#include "platform/widgets/dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QUrl>

namespace ui {
namespace {

QtDialogs g_qtDialogs;
Dialogs* g_dialogs = nullptr;

QWidget* owner() {
    return QApplication::activeWindow();
}

} // namespace

Answer QtDialogs::message(const QString& text, Buttons buttons, const QString& title) {
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::NoButton, owner());
    box.setTextFormat(Qt::PlainText); // messages carry stored and typed text
    switch (buttons) {
    case Buttons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Ok);
        break;
    case Buttons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    case Buttons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
        break;
    case Buttons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    }
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    switch (clicked ? box.standardButton(clicked) : QMessageBox::NoButton) {
    case QMessageBox::Ok:
        return Answer::Ok;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    default:
        break;
    }
    if (buttons == Buttons::Ok)
        return Answer::Ok;
    return buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
}

QString QtDialogs::input(const QString& prompt, const QString& title, const QString& defaultText) {
    bool ok = false;
    const QString text = QInputDialog::getText(owner(), title, prompt, QLineEdit::Normal, defaultText, &ok);
    return ok ? text : QString();
}

QString QtDialogs::password(const QString& prompt, const QString& title) {
    bool ok = false;
    const QString text = QInputDialog::getText(owner(), title, prompt, QLineEdit::Password, QString(), &ok);
    return ok ? text : QString();
}

std::optional<QColor> QtDialogs::chooseColour(const QColor& initial) {
    const QColor c = QColorDialog::getColor(initial, owner());
    if (!c.isValid())
        return std::nullopt;
    return c;
}

std::optional<QFont> QtDialogs::chooseFont(const QFont& initial) {
    bool ok = false;
    const QFont f = QFontDialog::getFont(&ok, initial, owner());
    if (!ok)
        return std::nullopt;
    return f;
}

QString QtDialogs::openFile(const QString& vbFilter, const QString& title, const QString& initialFolder) {
    return QFileDialog::getOpenFileName(owner(), title, initialFolder, qtFileFilter(vbFilter));
}

FolderChoice QtDialogs::browseFolder(const QString& title) {
    const QUrl url = QFileDialog::getExistingDirectoryUrl(owner(), title);
    if (url.isEmpty())
        return FolderChoice::cancelled();
    if (!url.isLocalFile())
        return FolderChoice::noPath();
    return FolderChoice::folder(url.toLocalFile());
}

QString qtFileFilter(const QString& vbFilter) {
    const QStringList parts = vbFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts.at(i).trimmed();
        const QString patterns = parts.at(i + 1).trimmed();
        if (description.isEmpty() && patterns.isEmpty())
            continue;
        QStringList list = patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& p : list)
            p = p.trimmed();
        const QString spaced = list.join(QLatin1Char(' '));
        // Qt reads the patterns from the last brackets; a description that shows them already keeps its look.
        const QString shown = QLatin1Char('(') + patterns + QLatin1Char(')');
        if (description.endsWith(shown))
            filters << description.left(description.size() - shown.size()) + QLatin1Char('(') + spaced +
                           QLatin1Char(')');
        else
            filters << description + QLatin1String(" (") + spaced + QLatin1Char(')');
    }
    return filters.join(QLatin1String(";;"));
}

Dialogs& dialogs() {
    return g_dialogs ? *g_dialogs : g_qtDialogs;
}
void setDialogs(Dialogs* d) {
    g_dialogs = d;
}

Answer MsgBox(const QString& text, Buttons buttons, const QString& title) {
    return dialogs().message(text, buttons, title);
}

QString InputBox(const QString& prompt, const QString& title, const QString& defaultText) {
    return dialogs().input(prompt, title, defaultText);
}

} // namespace ui

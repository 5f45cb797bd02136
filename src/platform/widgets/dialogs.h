#pragma once

#include "shared/shared.h"

#include <QColor>
#include <QFont>
#include <QString>
#include <memory>
#include <optional>

class QFontDialog;
class QInputDialog;
class QMessageBox;
class QWidget;

namespace ui {

enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Answer { Ok, Cancel, Yes, No };

// What the folder browser gave: a folder path, a cancel, or a choice that has no file-system path.
struct FolderChoice {
    enum class Kind { Path, Cancelled, NoPath };
    Kind kind = Kind::Cancelled;
    QString path; // set for Kind::Path

    static FolderChoice folder(const QString& p) { return {Kind::Path, p}; }
    static FolderChoice cancelled() { return {Kind::Cancelled, {}}; }
    static FolderChoice noPath() { return {Kind::NoPath, {}}; }
    bool hasPath() const { return kind == Kind::Path; }
};

// A progress window with a Cancel button over work that can take seconds. It shows itself once the work has
// gone on for about a second, and goes when its object does.
class ProgressWindow {
public:
    virtual ~ProgressWindow() = default;
    // Shows how far the work has come (a busy bar when total is 0: not known); false once the user pressed Cancel.
    virtual bool step(qint64 done, qint64 total) = 0;
};

// Every box and common dialog the program shows, so that tests can answer them.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    // A message box; closing it counts as Cancel (No for Yes/No boxes, Ok for a lone OK button).
    virtual Answer message(const QString& text, Buttons buttons, const QString& title) = 0;
    // An input box; "" on Cancel. With a maxLength the answer is kept to that many characters (ui::limitLength),
    // for a field of that size.
    virtual QString input(const QString& prompt, const QString& title, const QString& defaultText,
                          int maxLength = 0) = 0;
    // An input box whose text shows as dots; "" on Cancel.
    virtual QString password(const QString& prompt, const QString& title, int maxLength = 0) = 0;
    virtual std::optional<QColor> chooseColour(const QColor& initial) = 0;
    virtual std::optional<QFont> chooseFont(const QFont& initial) = 0;
    // vbFilter as the common dialog takes it: "Pictures (*.jpg;*.gif)|*.jpg;*.gif|All files|*.*".
    // The chosen file's full path, "" on Cancel.
    virtual QString openFile(const QString& vbFilter, const QString& title,
                             const QString& initialFolder = QString()) = 0;
    virtual FolderChoice browseFolder(const QString& title) = 0;
    virtual std::unique_ptr<ProgressWindow> progress(const QString& label, const QString& title) = 0;
};

// The real boxes on Qt's dialogs; message boxes are parented to the active window.
class QtDialogs : public Dialogs {
public:
    Answer message(const QString& text, Buttons buttons, const QString& title) override;
    QString input(const QString& prompt, const QString& title, const QString& defaultText, int maxLength) override;
    QString password(const QString& prompt, const QString& title, int maxLength) override;
    std::optional<QColor> chooseColour(const QColor& initial) override;
    std::optional<QFont> chooseFont(const QFont& initial) override;
    QString openFile(const QString& vbFilter, const QString& title, const QString& initialFolder) override;
    FolderChoice browseFolder(const QString& title) override;
    std::unique_ptr<ProgressWindow> progress(const QString& label, const QString& title) override;
};

// The boxes QtDialogs shows, built and not yet shown. Their text wraps (inside a run too long for a line too)
// and is cut with "..." where even wrapped it would not fit, so no box grows beyond the screen.
std::unique_ptr<QMessageBox> messageBox(const QString& text, Buttons buttons, const QString& title, QWidget* parent);
std::unique_ptr<QInputDialog> inputBox(const QString& prompt, const QString& title, const QString& defaultText,
                                       bool password, QWidget* parent, int maxLength = 0);

// The font dialog QtDialogs shows, at initial: a face the system lacks starts at the face standing in for it, with
// the size and weight asked for, upright. Underline and strikeout are not offered.
std::unique_ptr<QFontDialog> fontDialog(const QFont& initial, QWidget* parent);

// The common dialog's filter text in Qt's form: "Pictures (*.jpg *.gif);;All files (*.*)".
QString qtFileFilter(const QString& vbFilter);

Dialogs& dialogs();
void setDialogs(Dialogs* d); // not owned; nullptr restores QtDialogs

inline const QString DefaultTitle = QStringLiteral("Quorvane");

// The VB-style helpers every window calls.
Answer MsgBox(const QString& text, Buttons buttons = Buttons::Ok, const QString& title = DefaultTitle);
QString InputBox(const QString& prompt, const QString& title = DefaultTitle, const QString& defaultText = QString(),
                 int maxLength = 0);

// Held by a command that stores settings: when one of its writes to the settings file failed, the user is told
// once as the command ends, naming the file, and why where that is known (a value holding a line break); a
// command run inside another tells nothing of its own.
class SettingsCommand {
public:
    SettingsCommand() = default;
    ~SettingsCommand();
    SettingsCommand(const SettingsCommand&) = delete;
    SettingsCommand& operator=(const SettingsCommand&) = delete;

private:
    qv::SettingsWrites m_writes;
};

} // namespace ui

#pragma once

#include "platform/desktop.h"
#include "platform/widgets/dialogs.h"
#include "platform/widgets/printer.h"
#include "platform/widgets/screen.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <deque>
#include <functional>
#include <optional>
#include <ostream>
#include <vector>

// Readable QStrings in test failures.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

// Makes sure a QApplication exists (offscreen unless QT_QPA_PLATFORM says otherwise); call before making widgets.
// TestEnv calls it too.
void ensureApp();

// Runs posted events, deferred deletions included.
void processEvents();

// A file's whole text; "<no file>" when it cannot be read.
QString fileText(const QString& path);
// The lines of a file the program writes with CR LF endings, checking that the last line ends too; "<no file>"
// when it cannot be read.
QStringList crlfLines(const QString& path);

// A clock that says what the test tells it.
class FixedClock : public desktop::Clock {
public:
    QDateTime now() const override { return m_now; }
    void set(const QDateTime& t) { m_now = t; }
    void advanceSecs(qint64 secs) { m_now = m_now.addSecs(secs); }

private:
    QDateTime m_now{QDate(2025, 3, 14), QTime(9, 30, 0)};
};

// Records every hand-over to the desktop.
class RecordingShell : public desktop::Shell {
public:
    struct Opened {
        QString target;
        int showMode;
    };
    struct Started {
        QString program;
        QStringList args;
    };
    bool open(const QString& target, int showMode) override;
    bool startProgram(const QString& program, const QStringList& args) override;

    std::vector<Opened> opened;
    std::vector<Started> started;
    bool result = true; // what open() and startProgram() answer
    QString lastOpened() const { return opened.empty() ? QString() : opened.back().target; }
};

// Answers boxes and dialogs from queues the test fills, and records what was shown.
// Scripted message answers go to boxes with a choice only (a lone OK box just says Ok). Unscripted: a message
// answers Ok (Yes for Yes/No boxes), an input "", every dialog Cancel. A TestEnv fails the test when a scripted
// answer was never asked for.
class ScriptedDialogs : public ui::Dialogs {
public:
    struct Message {
        QString text;
        QString title;
        ui::Buttons buttons;
    };
    struct Input {
        QString prompt;
        QString title;
        QString defaultText;
        bool password = false;
        int maxLength = 0; // the box's limit; a scripted answer is cut to it as the box would take it
    };

    // Scripts, answered in order.
    ScriptedDialogs& answer(ui::Answer a);
    ScriptedDialogs& type(const QString& text); // the next input or password box's answer ("" = Cancel)
    ScriptedDialogs& chooseColourNext(std::optional<QColor> c);
    ScriptedDialogs& chooseFontNext(std::optional<QFont> f);
    ScriptedDialogs& chooseFileNext(const QString& path);
    ScriptedDialogs& chooseFolderNext(const ui::FolderChoice& choice);
    // The next progress window's Cancel is pressed once it has been told this many steps.
    ScriptedDialogs& cancelProgressAfter(int steps);

    // Runs while a box with a choice is up, as another copy may act meanwhile.
    std::function<void(const QString& text)> whileAsking;

    // What was shown.
    std::vector<Message> messages;
    std::vector<Input> inputs;
    QStringList fileFilters; // the filter text of every open-file dialog
    int colourDialogs = 0;
    int fontDialogs = 0;
    std::vector<QColor> colourStarts; // the colour each colour dialog opened at
    std::vector<QFont> fontStarts;    // the font each font dialog opened at
    int folderDialogs = 0;
    QStringList progressLabels; // every progress window's label
    int progressSteps = 0;      // steps told to progress windows

    QString lastMessage() const { return messages.empty() ? QString() : messages.back().text; }
    QStringList messageTexts() const;
    bool shown(const QString& text) const { return messageTexts().contains(text); }
    // Answers still queued (a test that scripts an answer expects it to be asked for).
    int unusedScripts() const;
    void clear();

    ui::Answer message(const QString& text, ui::Buttons buttons, const QString& title) override;
    QString input(const QString& prompt, const QString& title, const QString& defaultText, int maxLength) override;
    QString password(const QString& prompt, const QString& title, int maxLength) override;
    std::optional<QColor> chooseColour(const QColor& initial) override;
    std::optional<QFont> chooseFont(const QFont& initial) override;
    QString openFile(const QString& vbFilter, const QString& title, const QString& initialFolder) override;
    ui::FolderChoice browseFolder(const QString& title) override;
    std::unique_ptr<ui::ProgressWindow> progress(const QString& label, const QString& title) override;

private:
    std::deque<ui::Answer> m_answers;
    std::deque<QString> m_inputs;
    std::deque<std::optional<QColor>> m_colours;
    std::deque<std::optional<QFont>> m_fonts;
    std::deque<QString> m_files;
    std::deque<ui::FolderChoice> m_folders;
    std::deque<int> m_cancels;
};

class RecordingPrinter : public ui::Printer {
public:
    struct Job {
        QString text;
        QFont font;
    };
    bool printText(const QString& text, const QFont& font) override;
    std::vector<Job> jobs;
    bool result = true;
};

class FixedScreen : public ui::Screen {
public:
    QSize sizePixels() const override { return size; }
    QSize size{1280, 1024};
};

// One test's world: a temporary folder with the user's documents (special folder 5), local application data (28,
// the settings base), the shared data folder (46) and a program folder holding a copy of the shipped files; and the
// stand-ins above, registered until the TestEnv goes, when the real ones come back.
struct TestEnv {
    TestEnv();
    ~TestEnv();
    TestEnv(const TestEnv&) = delete;
    TestEnv& operator=(const TestEnv&) = delete;

    QString path(const QString& relative) const { return dir.filePath(relative); }
    // Creates a help-desk database with every table and the default lists; returns its path.
    QString makeDatabase(const QString& fileName = QStringLiteral("desk.qvdb"));
    // A value of the settings file "quorvane.ini" as stored; "<missing>" when the key is not there.
    QString ini(const QString& section, const QString& key) const;

    QTemporaryDir dir;
    QString documentsFolder; // special folder 5
    QString appDataFolder;   // special folder 28
    QString commonFolder;    // special folder 46
    QString settingsFolder;  // appDataFolder + "/Quorvane" (created)
    QString programFolder;   // desktop::programFolder()

    FixedClock clock;
    RecordingShell shell;
    ScriptedDialogs dialogs;
    RecordingPrinter printer;
    FixedScreen screen;
};

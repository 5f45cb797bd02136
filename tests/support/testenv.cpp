#include "support/testenv.h"

#include "platform/db/database.h"
#include "platform/db/values.h"
#include "platform/ini.h"
#include "shared/schema.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

void ensureApp() {
    if (QCoreApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The project's fonts and no other, however the program is started, so a window measures the same everywhere.
    qputenv("FONTCONFIG_FILE", QV_TEST_FONTS_CONF);
    static int argc = 1;
    static char name[] = "quorvane-tests";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv); // lives for the whole test program
}

void processEvents() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

bool RecordingShell::open(const QString& target, int showMode) {
    opened.push_back({target, showMode});
    return result;
}

bool RecordingShell::startProgram(const QString& program, const QStringList& args) {
    started.push_back({program, args});
    return result;
}

ScriptedDialogs& ScriptedDialogs::answer(ui::Answer a) {
    m_answers.push_back(a);
    return *this;
}
ScriptedDialogs& ScriptedDialogs::type(const QString& text) {
    m_inputs.push_back(text);
    return *this;
}
ScriptedDialogs& ScriptedDialogs::chooseColourNext(std::optional<QColor> c) {
    m_colours.push_back(c);
    return *this;
}
ScriptedDialogs& ScriptedDialogs::chooseFontNext(std::optional<QFont> f) {
    m_fonts.push_back(f);
    return *this;
}
ScriptedDialogs& ScriptedDialogs::chooseFileNext(const QString& path) {
    m_files.push_back(path);
    return *this;
}
ScriptedDialogs& ScriptedDialogs::chooseFolderNext(const ui::FolderChoice& choice) {
    m_folders.push_back(choice);
    return *this;
}

QStringList ScriptedDialogs::messageTexts() const {
    QStringList out;
    for (const Message& m : messages)
        out << m.text;
    return out;
}

int ScriptedDialogs::unusedScripts() const {
    return static_cast<int>(m_answers.size() + m_inputs.size() + m_colours.size() + m_fonts.size() + m_files.size() +
                            m_folders.size() + m_cancels.size());
}

void ScriptedDialogs::clear() {
    messages.clear();
    inputs.clear();
    fileFilters.clear();
    colourDialogs = fontDialogs = folderDialogs = 0;
    colourStarts.clear();
    fontStarts.clear();
    progressLabels.clear();
    progressSteps = 0;
}

namespace {
bool offered(ui::Answer a, ui::Buttons b) {
    using ui::Answer;
    using ui::Buttons;
    switch (b) {
    case Buttons::Ok:
        return a == Answer::Ok;
    case Buttons::OkCancel:
        return a == Answer::Ok || a == Answer::Cancel;
    case Buttons::YesNo:
        return a == Answer::Yes || a == Answer::No;
    case Buttons::YesNoCancel:
        return a != Answer::Ok;
    }
    return false;
}
} // namespace

ui::Answer ScriptedDialogs::message(const QString& text, ui::Buttons buttons, const QString& title) {
    messages.push_back({text, title, buttons});
    // A lone OK box takes no scripted answer: there is nothing to choose.
    if (buttons == ui::Buttons::Ok)
        return ui::Answer::Ok;
    if (whileAsking)
        whileAsking(text);
    if (m_answers.empty())
        return (buttons == ui::Buttons::OkCancel) ? ui::Answer::Ok : ui::Answer::Yes;
    const ui::Answer a = m_answers.front();
    m_answers.pop_front();
    if (!offered(a, buttons))
        ADD_FAILURE() << "scripted answer is not a button of the box: " << text.toStdString();
    return a;
}

QString ScriptedDialogs::input(const QString& prompt, const QString& title, const QString& defaultText, int maxLength) {
    inputs.push_back({prompt, title, defaultText, false, maxLength});
    if (m_inputs.empty())
        return QString();
    const QString t = m_inputs.front();
    m_inputs.pop_front();
    return maxLength > 0 ? db::leftChars(t, maxLength) : t;
}

QString ScriptedDialogs::password(const QString& prompt, const QString& title, int maxLength) {
    const QString typed = input(prompt, title, QString(), maxLength);
    inputs.back().password = true;
    return typed;
}

std::optional<QColor> ScriptedDialogs::chooseColour(const QColor& initial) {
    ++colourDialogs;
    colourStarts.push_back(initial);
    if (m_colours.empty())
        return std::nullopt;
    const auto c = m_colours.front();
    m_colours.pop_front();
    return c;
}

std::optional<QFont> ScriptedDialogs::chooseFont(const QFont& initial) {
    ++fontDialogs;
    fontStarts.push_back(initial);
    if (m_fonts.empty())
        return std::nullopt;
    const auto f = m_fonts.front();
    m_fonts.pop_front();
    return f;
}

QString ScriptedDialogs::openFile(const QString& vbFilter, const QString&, const QString&) {
    fileFilters << vbFilter;
    if (m_files.empty())
        return QString();
    const QString f = m_files.front();
    m_files.pop_front();
    return f;
}

ui::FolderChoice ScriptedDialogs::browseFolder(const QString&) {
    ++folderDialogs;
    if (m_folders.empty())
        return ui::FolderChoice::cancelled();
    const auto f = m_folders.front();
    m_folders.pop_front();
    return f;
}

ScriptedDialogs& ScriptedDialogs::cancelProgressAfter(int steps) {
    m_cancels.push_back(steps);
    return *this;
}

namespace {

class ScriptedProgress : public ui::ProgressWindow {
public:
    ScriptedProgress(int& steps, int cancelAfter) : m_steps(steps), m_cancelAfter(cancelAfter) {}
    bool step(qint64, qint64) override {
        ++m_steps;
        ++m_told;
        return m_cancelAfter < 0 || m_told < m_cancelAfter;
    }

private:
    int& m_steps;
    int m_cancelAfter;
    int m_told = 0;
};

} // namespace

std::unique_ptr<ui::ProgressWindow> ScriptedDialogs::progress(const QString& label, const QString&) {
    progressLabels << label;
    int cancelAfter = -1;
    if (!m_cancels.empty()) {
        cancelAfter = m_cancels.front();
        m_cancels.pop_front();
    }
    return std::make_unique<ScriptedProgress>(progressSteps, cancelAfter);
}

bool RecordingPrinter::printText(const QString& text, const QFont& font) {
    jobs.push_back({text, font});
    return result;
}

namespace {
// The shipped files beside the program (style sheet, pictures), without the programs themselves.
void copyShippedFiles(const QString& from, const QString& to) {
    QDirIterator it(from, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    const QDir source(from);
    while (it.hasNext()) {
        const QString file = it.next();
        const QFileInfo info(file);
        if (info.isExecutable() || info.suffix() == QLatin1String("cmake"))
            continue;
        const QString rel = source.relativeFilePath(file);
        if (rel.contains(QLatin1String("CMakeFiles")))
            continue;
        const QString target = to + QLatin1Char('/') + rel;
        QDir().mkpath(QFileInfo(target).absolutePath());
        QFile::copy(file, target);
    }
}
} // namespace

TestEnv::TestEnv() {
    ensureApp();
    EXPECT_TRUE(dir.isValid());
    documentsFolder = dir.filePath(QStringLiteral("Documents"));
    appDataFolder = dir.filePath(QStringLiteral("AppData"));
    commonFolder = dir.filePath(QStringLiteral("Common"));
    settingsFolder = appDataFolder + QStringLiteral("/Quorvane");
    programFolder = dir.filePath(QStringLiteral("Program"));
    for (const QString& f : {documentsFolder, appDataFolder, commonFolder, settingsFolder, programFolder})
        QDir().mkpath(f);
    copyShippedFiles(desktop::programFolder(), programFolder);

    desktop::setSpecialFolder(5, documentsFolder);
    desktop::setSpecialFolder(28, appDataFolder);
    desktop::setSpecialFolder(46, commonFolder);
    desktop::setProgramFolder(programFolder);
    desktop::setClock(&clock);
    desktop::setShell(&shell);
    ui::setDialogs(&dialogs);
    ui::setPrinter(&printer);
    ui::setScreen(&screen);
}

TestEnv::~TestEnv() {
    if (const int unused = dialogs.unusedScripts())
        ADD_FAILURE() << unused << " scripted dialog answer(s) were never asked for";
    ui::setScreen(nullptr);
    ui::setPrinter(nullptr);
    ui::setDialogs(nullptr);
    desktop::setShell(nullptr);
    desktop::setClock(nullptr);
    desktop::setProgramFolder(QString());
    desktop::setSpecialFolder(5, QString());
    desktop::setSpecialFolder(28, QString());
    desktop::setSpecialFolder(46, QString());
    db::pool::closeAll();
}

QString TestEnv::makeDatabase(const QString& fileName) {
    const QString p = dir.filePath(fileName);
    schema::createDatabase(p);
    return p;
}

QString fileText(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QStringLiteral("<no file>");
}

QStringList crlfLines(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {QStringLiteral("<no file>")};
    QStringList lines = QString::fromUtf8(f.readAll()).split(QStringLiteral("\r\n"));
    EXPECT_EQ(lines.takeLast(), QString()); // every line ends with CR LF
    return lines;
}

QString TestEnv::ini(const QString& section, const QString& key) const {
    return IniFile(settingsFolder + QStringLiteral("/quorvane.ini"))
        .read(section, key)
        .value_or(QStringLiteral("<missing>"));
}

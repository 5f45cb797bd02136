#include "support/fontfit.h"
#include "support/input.h"
#include "support/mainwindowfixture.h"
#include "support/pageparse.h"
#include "support/refusedwrites.h"

#include "customers/notes.h"
#include "mainwindow/form1.h"
#include "mainwindow/statusbar.h"
#include "platform/db/database.h"
#include "platform/db/recordset.h"
#include "platform/widgets/datagrid.h"
#include "platform/widgets/flexgrid.h"
#include "platform/widgets/forms.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFontMetricsF>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>

namespace {

const QString Placeholder = QStringLiteral("[Empty - Note was cancelled]");
const QString Row1 = QStringLiteral("<TABLE><TR><TD width = 100 valign=top>&nbsp;</TD><TD width = 150 valign=top>"
                                    "<i>Note: %1</TD><TD width = 400 valign=top><i>%2</TD>");
const QString Row2 = QStringLiteral("<TD width = 100 valign=top><i>%1</TD><TD width = 100 valign=top><i>%2</TD>"
                                    "<TD width = 100 valign=top><i>%3");
const QString Row3 = QStringLiteral("</TD></TR></TABLE>");
const QStringList Head = {"<head><style type=\"text/css\">",
                          "<!-- body {font-family: Arial, Helvetica, sans-serif;color: black;}-->", "</style></head> ",
                          "<BODY bgcolor = white>", "<HR><BR>"};

class NotesWindow : public MainWindowTest {
protected:
    // A database with one call for "jsmith"; the main window started with the login given.
    void startWith(const QString& login, int autonew = 0) {
        prepareDatabase();
        addStaff("basic", "", "1");
        addStaff("standard", "", "3");
        call = addCall("jsmith", "Open", "Admin");
        otherCall = addCall("adoe", "Open", "Admin");
        start(login);
        main->notesautonew = autonew;
    }

    void addNote(int callNumber, const QVariant& note, const QVariant& analyst) {
        addRow("Notes", {{"Call", callNumber},
                         {"Note", note},
                         {"Analyst", analyst},
                         {"Note-date", QDate(2025, 3, 1)},
                         {"Note-time", QTime(8, 5, 0)}});
    }

    // The call panel showing the call with this number (text that is not one: no call), then its notes button.
    Notes* openNotes(const QString& callText, const QString& customer = "Jo Smith") {
        main->leavecall();
        bool ok = false;
        const int nom = callText.toInt(&ok);
        if (ok)
            main->opencall(nom);
        main->Text11->setText("jsmith");
        main->Combo6->setEditText(customer);
        main->Command22->click();
        return ui::isLoaded<Notes>() ? &ui::form<Notes>() : nullptr;
    }
    Notes* openNotes() { return openNotes(QString::number(call)); }

    // The call list's pop-up item on a row whose Ref cell holds the text.
    void viewCallNotes(const QString& cell) {
        main->datagrid2->setRows(2);
        main->datagrid2->setTextMatrix(1, 2, cell);
        main->datagrid2->setRow(1);
        main->mnuvcn->trigger();
    }

    QString windowPage() const { return env->programFolder + "/callnotes.htm"; }
    QString listPage() const { return env->documentsFolder + "/callnotes.htm"; }

    int call = 0;
    int otherCall = 0;
};

TEST_F(NotesWindow, AutoNewWindowClosedUntouchedKeepsOnePlaceholderNoteWithItsStamps) {
    startWith("Admin", 1);
    env->clock.set(QDateTime(QDate(2025, 3, 14), QTime(9, 30, 15)));
    Notes* notes = openNotes();
    ASSERT_TRUE(notes);
    EXPECT_EQ(main->StatusBar1->panel(5), "Call Notes");
    EXPECT_EQ(notes->windowTitle(), QString("Call notes for call: %1 ... Jo Smith").arg(call));
    notes->close();
    processEvents();

    EXPECT_EQ(main->StatusBar1->panel(4), "Existing Call");
    ASSERT_EQ(count("SELECT * from Notes"), 1);
    auto rs = db::Database::open(dbPath).openRecordset("SELECT * from Notes");
    EXPECT_EQ(rs->field("Call").toInt(), call);
    EXPECT_EQ(rs->field("Note").toString(), Placeholder);
    EXPECT_EQ(rs->field("Analyst").toString(), "Admin");
    EXPECT_EQ(rs->field("Note-date"), QVariant(QDate(2025, 3, 14)));
    EXPECT_EQ(rs->field("Note-time"), QVariant(QTime(9, 30, 15)));
    EXPECT_TRUE(env->dialogs.messages.empty());
}

TEST_F(NotesWindow, OkOnAnEmptyNoteStoresThePlaceholderClosesAndRecountsTheCallsNotes) {
    startWith("Admin");
    main->opencall(call);
    Notes* notes = openNotes();
    ASSERT_TRUE(notes);
    notes->cmdSysInfo->click();
    notes->Command2->click();
    processEvents();
    EXPECT_FALSE(ui::isLoaded<Notes>());
    EXPECT_EQ(count("SELECT * from Notes"), 1);
    EXPECT_EQ(scalar("SELECT Note from Notes").toString(), Placeholder);
    EXPECT_EQ(main->cg1->textMatrix(4, 2), "1");
}

TEST_F(NotesWindow, TypedNoteIsStoredWithWindowsLineEndsAndAutoNewCancelStaysOpen) {
    startWith("standard", 1);
    Notes* notes = openNotes();
    ASSERT_TRUE(notes);
    typeText(notes->Text1, "Rebooted");
    notes->Text1->insertPlainText("\nstill slow");
    notes->Command1->click();
    processEvents();
    ASSERT_TRUE(ui::isLoaded<Notes>());
    EXPECT_TRUE(notes->cmdSysInfo->isEnabled());
    EXPECT_EQ(scalar("SELECT Note from Notes").toString(), "Rebooted\r\nstill slow");
    EXPECT_EQ(scalar("SELECT Analyst from Notes").toString(), "standard");
    EXPECT_EQ(notes->Label4->text(), QString::number(call));
}

TEST_F(NotesWindow, ACallWithoutNotesShowsAMessageAndWritesNoPage) {
    startWith("Admin");
    addNote(otherCall, "not this call", "Admin");
    Notes* notes = openNotes();
    ASSERT_TRUE(notes);
    EXPECT_EQ(notes->Datagrid1->approxCount(), 0);
    notes->Command3->click();
    EXPECT_EQ(env->dialogs.lastMessage(), "No call notes found for this call.");
    EXPECT_FALSE(QFile::exists(windowPage()));
    EXPECT_TRUE(env->shell.opened.empty());
}

TEST_F(NotesWindow, APageThatCannotBeWrittenIsToldNamingItsFile) {
    startWith("Admin");
    addNote(call, "kept", "Admin");
    Notes* notes = openNotes();
    ASSERT_TRUE(notes);
    ASSERT_TRUE(QDir().mkpath(windowPage() + "/held")); // a folder where the page should go
    notes->Command3->click();
    EXPECT_EQ(env->dialogs.messageTexts(), QStringList{"Can't write " + windowPage()});
    EXPECT_TRUE(env->shell.opened.empty());
}

TEST_F(NotesWindow, ANoteOrAnEditTheDatabaseRefusesIsToldAndStaysInTheWindowUntilItCanBeStored) {
    startWith("Admin");
    addNote(call, "original", "Admin");
    Notes* notes = openNotes();
    ASSERT_TRUE(notes);
    const QString why = "The database '" + dbPath + "' cannot be changed: it is read-only.";
    auto* model = notes->Datagrid1->model();
    {
        const RefusedWrites readOnly(dbPath);
        model->setData(model->index(0, 2), "changed", Qt::EditRole);
        EXPECT_EQ(env->dialogs.lastMessage(), why);
        notes->Command2->click();
        EXPECT_EQ(env->dialogs.lastMessage(),
                  "The change to the note could not be stored; it stays in the list, so you can try again.\n" + why);
        notes->close();
        processEvents();
        ASSERT_TRUE(ui::isLoaded<Notes>());
        EXPECT_EQ(env->dialogs.messages.size(), 3u);
    }
    notes->cmdSysInfo->click(); // the change goes in first
    EXPECT_EQ(scalar("SELECT Note from Notes").toString(), "changed");
    typeText(notes->Text1, "Replaced the toner");
    {
        const RefusedWrites readOnly(dbPath);
        notes->Command2->click();
        EXPECT_EQ(env->dialogs.lastMessage(),
                  "The note could not be stored; it stays in the window, so you can try again.\n" + why);
        notes->close();
        processEvents();
        ASSERT_TRUE(ui::isLoaded<Notes>());
        EXPECT_EQ(notes->Text1->toPlainText(), "Replaced the toner");
        EXPECT_TRUE(notes->Text1->isEnabled());
        EXPECT_EQ(count("SELECT * from Notes"), 1);
        EXPECT_FALSE(main->close()); // nor does the program close with it
        EXPECT_TRUE(ui::isLoaded<Notes>());
        EXPECT_EQ(notes->Text1->toPlainText(), "Replaced the toner");
    }
    notes->Command2->click();
    processEvents();
    EXPECT_FALSE(ui::isLoaded<Notes>());
    EXPECT_EQ(count("SELECT * from Notes where Note = 'Replaced the toner'"), 1);
    EXPECT_EQ(env->dialogs.messages.size(), 6u);
}

TEST_F(NotesWindow, AWindowLeftOpenStoresOnItsOwnCallOnlyAndTurnsToTheCallAskedFor) {
    startWith("Admin");
    Notes* notes = openNotes();
    notes->cmdSysInfo->click();
    typeText(notes->Text1, "Rebooted");
    {
        const RefusedWrites readOnly(dbPath);
        openNotes(QString::number(otherCall));
        EXPECT_TRUE(env->dialogs.lastMessage().contains(
            QString("The window shows the notes of call %1 until then.\n").arg(call)));
        EXPECT_EQ(notes->Text1->toPlainText(), "Rebooted");
    }
    openNotes(QString::number(otherCall), "Ann Doe");
    EXPECT_EQ(notes->windowTitle(), QString("Call notes for call: %1 ... Ann Doe").arg(otherCall));
    EXPECT_EQ(scalar("SELECT Call from Notes where Note = 'Rebooted'").toInt(), call);

    // Its call removed by another copy while a note is typed: told, and the note stays in the window.
    notes->cmdSysInfo->click();
    typeText(notes->Text1, "Swapped the drum");
    exec(QString("DELETE FROM Calls WHERE Nom = %1").arg(otherCall));
    notes->Command2->click();
    EXPECT_TRUE(env->dialogs.lastMessage().contains(QString("Call %1 is no longer in the database").arg(otherCall)));
    EXPECT_TRUE(env->dialogs.lastMessage().contains("Cancel lets it go"));
    EXPECT_EQ(notes->Text1->toPlainText(), "Swapped the drum");
    EXPECT_EQ(count("SELECT * from Notes where Note = 'Swapped the drum'"), 0);
}

class NotesLevels : public NotesWindow, public ::testing::WithParamInterface<std::pair<const char*, bool>> {};

TEST_P(NotesLevels, OnlyAnAdministratorChangesExistingNotesInTheGrid) {
    const auto [login, mayEdit] = GetParam();
    startWith(login);
    addNote(call, "original", "Admin");
    Notes* notes = openNotes();
    ASSERT_TRUE(notes);
    auto* model = notes->Datagrid1->model();
    model->setData(model->index(0, 2), "changed", Qt::EditRole);
    EXPECT_EQ(scalar("SELECT Note from Notes").toString(), mayEdit ? "changed" : "original");
}

INSTANTIATE_TEST_SUITE_P(Levels, NotesLevels,
                         ::testing::Values(std::pair{"basic", false}, std::pair{"standard", false},
                                           std::pair{"Admin", true}),
                         [](const auto& info) { return std::string(info.param.first); });

TEST_F(NotesWindow, ViewAllWritesNotesAndCaptionAsTextKeepingTheirLineEnds) {
    startWith("Admin");
    addNote(call, hostile::Script, hostile::Category);
    addNote(call, "one\r\ntwo", QVariant());
    Notes* notes = openNotes(QString::number(call), hostile::Item);
    ASSERT_TRUE(notes);
    notes->Command3->click();
    QStringList want = Head;
    want << QString("<P><font size = 5>Call notes for call: %1 ... HP &lt;LaserJet&gt; &amp; Co</P>").arg(call)
         << Row1.arg(1).arg("&lt;script&gt;alert(1)&lt;/script&gt; &amp; fails")
         << Row2.arg("Won't &lt;fix&gt; &amp; Zoë", "01/03/2025", "08:05:00") << Row3;
    // The note's own CR LF stays, so the page breaks its line there.
    want << Row1.arg(2).arg("one\r\ntwo").split("\r\n") << Row2.arg("---", "01/03/2025", "08:05:00") << Row3;
    EXPECT_EQ(crlfLines(windowPage()), want);
    EXPECT_TRUE(soundPage(windowPage(), {hostile::Script, hostile::Category, hostile::Item}));
    EXPECT_EQ(env->shell.lastOpened(), windowPage());
    EXPECT_EQ(env->shell.opened.back().showMode, 3);
}

TEST_F(NotesWindow, CallListPageNumbersNotesInTableOrderWithBreaks) {
    startWith("Admin");
    addNote(call, "first", "Admin");
    addNote(otherCall, "elsewhere", "Admin");
    addNote(call, "line <a>\r\nline b\nc", "basic");
    addNote(call, "third", QVariant());
    viewCallNotes(QString::number(call));
    QStringList want = Head;
    want << QString("<P><font size = 5>Call notes for Call: %1</P>").arg(call) << Row1.arg(1).arg("first")
         << Row2.arg("Admin", "01/03/2025", "08:05:00") << Row3 << Row1.arg(2).arg("line &lt;a&gt;<BR>line b<BR>c")
         << Row2.arg("basic", "01/03/2025", "08:05:00") << Row3 << Row1.arg(3).arg("third")
         << Row2.arg("---", "01/03/2025", "08:05:00") << Row3;
    EXPECT_EQ(crlfLines(listPage()), want);
    EXPECT_EQ(env->shell.lastOpened(), listPage());
    EXPECT_TRUE(env->dialogs.messages.empty());
}

TEST_F(NotesWindow, ACallCellThatIsNotANumberQueriesNothingAndStoresNothing) {
    startWith("Admin");
    addNote(call, "secret", "Admin");
    Notes* notes = openNotes(QString("%1 OR 1=1").arg(call));
    ASSERT_TRUE(notes);
    EXPECT_EQ(notes->Datagrid1->approxCount(), 0);
    notes->cmdSysInfo->click();
    notes->Command2->click();
    processEvents();
    EXPECT_EQ(count("SELECT * from Notes"), 1);

    viewCallNotes(QString("%1 OR 1=1").arg(call));
    QStringList want = Head;
    want << QString("<P><font size = 5>Call notes for Call: %1 OR 1=1</P>").arg(call);
    EXPECT_EQ(crlfLines(listPage()), want);
    EXPECT_TRUE(env->dialogs.messages.empty());
}

TEST_F(NotesWindow, APageThatCannotBeWrittenIsNotOpened) {
    startWith("Admin");
    addNote(call, "note", "Admin");
    ASSERT_TRUE(QDir().mkpath(windowPage())); // a folder where the page should go
    ASSERT_TRUE(QDir().mkpath(listPage()));
    Notes* notes = openNotes();
    ASSERT_TRUE(notes);
    notes->Command3->click();
    viewCallNotes(QString::number(call));
    EXPECT_TRUE(env->shell.opened.empty());
}

// Each stamp of the grid's first row is wider than its cell's text with the cell's margins.
void expectStampsWhole(ui::DataGrid& g) {
    const int margin = g.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &g) + 1;
    for (int c : {3, 4, 5}) {
        const QString text = g.model()->data(g.model()->index(0, c)).toString();
        EXPECT_FALSE(text.isEmpty()) << c;
        EXPECT_GE(g.QTableView::columnWidth(c),
                  std::ceil(QFontMetricsF(g.font()).horizontalAdvance(text)) + 2 * margin + 1)
            << text.toStdString();
    }
}

TEST_F(NotesWindow, StampsShowWholeAndTheTextTakesTheRestOfTheGridAtTheOpeningSize) {
    startWith("standard");
    addRow("Notes", {{"Call", call},
                     {"Note", "Printer jammed again"},
                     {"Analyst", "standard"},
                     {"Note-date", QDate(2025, 12, 28)},
                     {"Note-time", QTime(8, 59, 30)}});
    for (const QString& family : fitFamilies()) {
        SCOPED_TRACE(family.toStdString());
        DesktopFont desktop(family, 11);
        Notes* notes = openNotes();
        ASSERT_TRUE(notes);
        processEvents();
        ui::DataGrid& g = *notes->Datagrid1;
        int used = 0;
        for (int c = 0; c < g.columnCount(); ++c)
            used += g.isColumnHidden(c) ? 0 : g.QTableView::columnWidth(c);
        expectStampsWhole(g);
        EXPECT_FALSE(g.horizontalScrollBar()->isVisible());
        EXPECT_EQ(used, g.viewport()->width()); // the Text column fills the rest
        EXPECT_GT(g.QTableView::columnWidth(2), g.viewport()->width() / 2);
        notes->close();
        processEvents();
        ASSERT_FALSE(ui::isLoaded<Notes>());

        // The first note of a call without notes: its stamps come after the empty list was measured.
        notes = openNotes(QString::number(otherCall), "A Doe");
        ASSERT_TRUE(notes);
        notes->cmdSysInfo->click();
        processEvents();
        expectStampsWhole(*notes->Datagrid1);
        notes->Command1->click(); // Cancel
        notes->close();
        processEvents();
    }
}

} // namespace

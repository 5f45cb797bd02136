#include "support/fontfit.h"
#include "support/input.h"
#include "support/mainwindowfixture.h"
#include "support/pageparse.h"

#include "mainwindow/form1.h"
#include "mainwindow/statusbar.h"
#include "platform/db/datacontrol.h"
#include "platform/db/recordset.h"
#include "platform/desktop.h"
#include "platform/ini.h"
#include "platform/widgets/datagrid.h"
#include "platform/widgets/forms.h"
#include "reports/dialog.h"
#include "reports/form3.h"
#include "reports/wizardquery.h"
#include "shared/shared.h"

#include <QAction>
#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <algorithm>

namespace {

QStringList fileLines(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {QStringLiteral("<no file>")};
    return QString::fromUtf8(f.readAll()).split(QStringLiteral("\r\n"));
}

void activate(QWidget* w) {
    QEvent e(QEvent::WindowActivate);
    QCoreApplication::sendEvent(w, &e);
}

class Wizard : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        wizard::state() = {}; // one run of the program per test
    }

    int call(std::initializer_list<std::pair<const char*, QVariant>> fields) {
        return addRow(QStringLiteral("Calls"), fields).toInt();
    }

    Form3& open() {
        main->mnuwiz->trigger();
        processEvents();
        return ui::form<Form3>();
    }

    static void pick(QComboBox* box, const QString& text) {
        const int i = box->findText(text);
        ASSERT_GE(i, 0) << text.toStdString();
        box->setCurrentIndex(i);
        emit box->activated(i);
    }

    // The grid's rows: the text of one column per row.
    static QStringList column(Form3& w, const char* field) {
        QStringList out;
        db::Recordset* rs = w.Adodc1->recordset();
        for (int r = 0; rs && r < rs->rowCount(); ++r)
            out << rs->value(r, rs->fieldIndex(QLatin1String(field))).toString();
        return out;
    }

    QString ini(const QString& key) { return ReadINI("Reports", key, "<none>"); }
    QString csvPath() const { return env->documentsFolder + "/report.csv"; }
    QString htmlPath() const { return env->documentsFolder + "/report.htm"; }
};

TEST_F(Wizard, TheExampleQueryTextAndItsRows) {
    prepareDatabase();
    const int a = call({{"Username", "ABC1"}, {"Status", "Pending"}, {"Date Opened", QDate(2025, 3, 20)}});
    const int b = call({{"Username", "ABC1"}, {"Status", "Pending"}, {"Date Opened", QDate(2025, 3, 1)}});
    call({{"Username", "ABC1"}, {"Status", "Pending"}, {"Date Opened", QDate(2025, 4, 1)}});
    call({{"Username", "ABC1"}, {"Status", "Open"}, {"Date Opened", QDate(2025, 3, 5)}});
    call({{"Username", "XYZ"}, {"Status", "Pending"}, {"Date Opened", QDate(2025, 3, 5)}});
    start();
    Form3& w = open();
    EXPECT_EQ(w.parentWidget(), main);
    EXPECT_EQ(main->StatusBar1->panel(5), "Report Wizard");
    EXPECT_EQ(w.sqltxtbox->toPlainText(), "SELECT * FROM Calls WHERE");
    EXPECT_FALSE(w.Command2->isEnabled());
    pick(w.Combo3, "Pending");
    pick(w.Combo1, "Customer = ");
    ASSERT_TRUE(w.Text1->isEnabled());
    w.Text1->setText("ABC1");
    pick(w.Combo5, "Between Dates");
    w.d1->setDate(QDate(2025, 3, 1));
    w.d2->setDate(QDate(2025, 3, 31));
    pick(w.Combo4, "Call ID");
    pick(w.Combo2, "Ascending");
    w.Command1->click();
    EXPECT_EQ(w.sqltxtbox->toPlainText(),
              "SELECT * From Calls WHERE STATUS = 'Pending' AND Username ='ABC1' AND [Date Opened] between "
              "#2025/03/01# and #2025/03/31# ORDER BY Nom ASC");
    EXPECT_EQ(column(w, "Nom"), QStringList({QString::number(a), QString::number(b)}));
    EXPECT_EQ(column(w, "Date Opened"), QStringList({"20/03/2025", "01/03/2025"}));
    EXPECT_TRUE(w.Command2->isEnabled());
    EXPECT_TRUE(w.Command3->isEnabled());
}

TEST_F(Wizard, FiltersQuoteApostrophesAndTheSpareFieldNamedCustomerWins) {
    prepareDatabase();
    const int oneill = call({{"User", "O'Neill"}, {"Status", "Cust's"}, {"sp3", "Net's"}, {"Spare", "O'K"}});
    const int other =
        call({{"User", "Ann"}, {"Status", "Cust's"}, {"sp3", "Other"}, {"Spare", "ABC1"}, {"Username", "O'K"}});
    const int noStatus = call({{"User", "Ann"}});
    exec("INSERT INTO Settings (Status) VALUES ('Cust''s')");
    start();
    Form3& w = open();
    struct Case {
        const char* filter;
        const char* value;
        const char* clause;
        std::vector<int> rows;
    };
    const std::vector<Case> cases = {
        {"Support Staff = ", "O'Neill", " AND User ='O''Neill'", {oneill}},
        {"Category = ", "Net's", " AND sp3 ='Net''s'", {oneill}},
        {"Notes: = ", "O'K", " AND Spare ='O''K'", {oneill}},
        {"Customer = ", "O'K", " AND Username ='O''K'", {other}},
        {"All Support Staff", "", "", {oneill, other}},
    };
    for (const Case& c : cases) {
        pick(w.Combo3, "Cust's");
        pick(w.Combo1, c.filter);
        w.Text1->setText(c.value);
        w.Command1->click();
        EXPECT_EQ(w.sqltxtbox->toPlainText(), QString("SELECT * From Calls WHERE STATUS = 'Cust''s'") + c.clause);
        QStringList rows;
        for (int n : c.rows)
            rows << QString::number(n);
        EXPECT_EQ(column(w, "Nom"), rows) << c.filter;
    }
    // "All Calls" leaves out calls without a status.
    pick(w.Combo3, "All Calls");
    w.Command1->click();
    EXPECT_EQ(w.sqltxtbox->toPlainText(), "SELECT * From Calls WHERE STATUS <> 'Selected'");
    EXPECT_FALSE(column(w, "Nom").contains(QString::number(noStatus)));

    // A spare field called "Customer": both entries read "Customer = " and the spare filter wins.
    w.close();
    processEvents();
    main->Label36->setText("Customer");
    Form3& again = open();
    pick(again.Combo3, "Cust's");
    again.Combo1->setCurrentIndex(1);
    again.Text1->setText("ABC1");
    again.Command1->click();
    EXPECT_EQ(again.sqltxtbox->toPlainText(), "SELECT * From Calls WHERE STATUS = 'Cust''s' AND Spare ='ABC1'");
    EXPECT_EQ(again.DataGrid1->columnCaption(19), "Customer");
}

TEST_F(Wizard, DateSortsFollowTheStoredDateAndOtherSortsTheirColumn) {
    prepareDatabase();
    const int jan = call({{"Status", "Open"}, {"Username", "b"}, {"Date Opened", QDate(2025, 1, 15)}});
    const int feb = call({{"Status", "Open"}, {"Username", "c"}, {"Date Opened", QDate(2025, 2, 1)}});
    const int dec = call({{"Status", "Open"},
                          {"Username", "a"},
                          {"Date Opened", QDate(2024, 12, 20)},
                          {"Date Closed", QDate(2025, 3, 1)}});
    start();
    main->datesetting = "dd/mm/yyyy' "; // goes into the query quoted
    Form3& w = open();
    EXPECT_EQ(column(w, "Nom").size(), 3);
    const QString j = QString::number(jan), f = QString::number(feb), d = QString::number(dec);
    pick(w.Combo4, "[Date Opened]");
    pick(w.Combo2, "Ascending");
    w.Command1->click();
    EXPECT_TRUE(w.sqltxtbox->toPlainText().endsWith(" ORDER BY [Date Opened] ASC"));
    EXPECT_EQ(column(w, "Nom"), QStringList({d, j, f}));
    pick(w.Combo4, "[Date Closed]");
    pick(w.Combo2, "Descending");
    w.Command1->click();
    EXPECT_EQ(column(w, "Nom").first(), d);
    pick(w.Combo4, "Customer");
    w.Combo2->setCurrentIndex(-1); // no direction sorts descending
    w.Combo2->setEditText("");
    w.Command1->click();
    EXPECT_TRUE(w.sqltxtbox->toPlainText().endsWith(" ORDER BY Username DESC"));
    EXPECT_EQ(column(w, "Nom"), QStringList({f, j, d}));
    pick(w.Combo4, "Don't Sort");
    EXPECT_FALSE(w.Combo2->isEnabled());
    w.Command1->click();
    EXPECT_EQ(w.sqltxtbox->toPlainText(), "SELECT * From Calls WHERE STATUS = 'Open'");
    EXPECT_TRUE(env->dialogs.messages.empty());
}

TEST_F(Wizard, OnlyPicksEnableTheBoxesAndEnterAddsNoEntry) {
    prepareDatabase();
    start();
    Form3& w = open();
    EXPECT_EQ(w.Combo3->currentText(), "Open");
    for (QComboBox* box : {w.Combo1, w.Combo2, w.Combo4, w.Combo5})
        EXPECT_EQ(box->currentText(), "");
    w.Combo1->setEditText("");
    typeText(w.Combo1->lineEdit(), "Customer = ");
    pressKey(w.Combo1->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(w.Combo1->currentText(), "Customer = ");
    EXPECT_EQ(w.Combo1->count(), 6);
    EXPECT_FALSE(w.Text1->isEnabled());
    pick(w.Combo1, "Category = ");
    w.Text1->setText("x");
    pick(w.Combo1, "All Customers");
    EXPECT_FALSE(w.Text1->isEnabled());
    EXPECT_EQ(w.Text1->text(), "");
    pick(w.Combo5, "Between Dates");
    EXPECT_TRUE(w.d1->isEnabled() && w.d2->isEnabled());
    pick(w.Combo5, "Ignore Dates");
    EXPECT_FALSE(w.d1->isEnabled() || w.d2->isEnabled());
    w.Command1->click();
    EXPECT_EQ(w.sqltxtbox->toPlainText(), "SELECT * From Calls WHERE STATUS = 'Open'");
}

TEST_F(Wizard, ActivateResetsOnlyWhenComingFromAnotherWindowAndClausesOutliveTheWindow) {
    prepareDatabase();
    call({{"Status", "Open"}, {"Username", "ABC1"}});
    start();
    Form3& w = open();
    pick(w.Combo3, "Urgent");
    pick(w.Combo1, "Customer = ");
    w.Text1->setText("ABC1");
    pick(w.Combo4, "Call ID");
    pick(w.Combo2, "Ascending");
    w.Command1->click();
    w.mnuwizcu->trigger();

    // Back from a message box or the colour dialog: nothing is reset.
    QMessageBox box;
    box.setWindowModality(Qt::ApplicationModal);
    QColorDialog colours;
    colours.setWindowModality(Qt::ApplicationModal);
    for (QWidget* dialog : {static_cast<QWidget*>(&box), static_cast<QWidget*>(&colours)}) {
        activate(&w);
        activate(dialog);
        activate(&w);
        EXPECT_EQ(w.Combo1->currentText(), "Customer = ");
        EXPECT_EQ(w.Combo3->currentText(), "Urgent");
    }
    // Back from the main window: the lists start again, the clauses and the Customer Ref mark stay.
    activate(main);
    activate(&w);
    EXPECT_EQ(w.Combo1->currentText(), "");
    EXPECT_EQ(w.Combo3->currentText(), "Open");
    EXPECT_TRUE(w.Command2->isEnabled());
    EXPECT_TRUE(w.mnuwizcu->isChecked());
    w.Command1->click();
    EXPECT_EQ(w.sqltxtbox->toPlainText(),
              "SELECT * From Calls WHERE STATUS = 'Open' AND Username ='ABC1' ORDER BY Nom ASC");
    EXPECT_EQ(column(w, "Nom").size(), 1);

    // Closed and opened again: the clauses come back, the Customer Ref mark does not.
    w.Text2->setText(w.Text2->text() + "Weekly");
    w.close();
    processEvents();
    EXPECT_EQ(main->StatusBar1->panel(5), "Waiting");
    EXPECT_EQ(ini("Text2"), "Weekly");
    Form3& again = open();
    EXPECT_FALSE(again.mnuwizcu->isChecked());
    EXPECT_FALSE(again.Command2->isEnabled());
    EXPECT_EQ(again.Text2->text(), "Report dated: 14/03/2025. Weekly");
    again.Command1->click();
    EXPECT_EQ(again.sqltxtbox->toPlainText(),
              "SELECT * From Calls WHERE STATUS = 'Open' AND Username ='ABC1' ORDER BY Nom ASC");
}

// Two copies on one settings file: a wizard closed with the title it read leaves the other copy's newer title; a
// title this copy changed is stored over it.
TEST_F(Wizard, ClosingStoresTheTitleOnlyWhenThisCopyChangedIt) {
    prepareDatabase();
    start();
    Form3* w = &open();
    ASSERT_TRUE(IniFile(qv::inipath()).write("Reports", "Text2", "Theirs"));
    w->close();
    processEvents();
    EXPECT_EQ(ini("Text2"), "Theirs");

    w = &open();
    w->Text2->setText("Report dated: 14/03/2025. Ours");
    w->close();
    processEvents();
    EXPECT_EQ(ini("Text2"), "Ours");
}

TEST_F(Wizard, WithoutStatusesTheListHoldsAllCallsOnlyAndShowsNoText) {
    prepareDatabase();
    exec("UPDATE Settings SET Status = ''");
    call({{"Status", ""}});
    start();
    Form3& w = open();
    EXPECT_EQ(w.Combo3->count(), 1);
    EXPECT_EQ(w.Combo3->currentText(), "");
    w.Command1->click();
    EXPECT_EQ(w.sqltxtbox->toPlainText(), "SELECT * From Calls WHERE STATUS = ''");
}

TEST_F(Wizard, CsvHoldsTheShownColumnsAndCellsThatReadBackExactly) {
    prepareDatabase();
    const int n = call({{"Status", "Open"},
                        {"sp2", hostile::Quoted},
                        {"Query", QString(40, 'q')},
                        {"sp3", "Hardware"},
                        {"Contact", "555\r\nHigh St"},
                        {"sp1", "PC   [12]"},
                        {"Date Opened", QDate(2025, 3, 2)},
                        {"Field1", "-----"}});
    start();
    Form3& w = open();
    w.Command1->click();
    w.mnutrunc->trigger();
    EXPECT_EQ(ini("Truncate"), "True");
    w.Command2->click();
    EXPECT_EQ(fileLines(csvPath()).first(), "\"Ref\",\"Date Opened\",\"Status\",\"Customer\",\"Details\","
                                            "\"Contact\",\"Category\",\"Item\",");
    EXPECT_EQ(
        readCsvFile(csvPath()),
        QList<QStringList>({{"Ref", "Date Opened", "Status", "Customer", "Details", "Contact", "Category", "Item", ""},
                            {QString::number(n), "02/03/2025", "Open", hostile::Quoted.left(30), QString(30, 'q'),
                             "555\r\nHigh St", "Hardware", "PC   [12]", ""},
                            {},
                            {}}));
    ASSERT_EQ(env->shell.opened.size(), 1u);
    EXPECT_EQ(env->shell.opened[0].target, csvPath());
    EXPECT_EQ(env->shell.opened[0].showMode, 3);
    EXPECT_FALSE(w.Command2->isEnabled() || w.Command3->isEnabled());
    EXPECT_TRUE(w.Adodc1->recordset()->eof());

    // Every column switched off: an empty header, an empty line per row.
    for (QAction* a : w.mnfields->actions())
        if (a->isChecked() && a != w.mnuwizcu)
            a->trigger();
    w.Command1->click();
    w.Command2->click();
    EXPECT_EQ(fileLines(csvPath()), QStringList({"", "", "", "", ""}));

    // A folder that cannot be written: the message, and the buttons stay.
    w.Command1->click();
    QFile blocker(env->path("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    desktop::setSpecialFolder(5, env->path("blocker/documents"));
    w.Command2->click();
    desktop::setSpecialFolder(5, env->documentsFolder);
    EXPECT_EQ(env->dialogs.lastMessage(), "Can't Write to file!  Is it already open.. E.g. in Excel?  If so, please "
                                          "close and run this command again.\n\n" +
                                              env->path("blocker/documents/report.csv"));
    EXPECT_TRUE(w.Command2->isEnabled());
}

TEST_F(Wizard, HtmlPageWritesLayoutRowsRunningDurationsNotesAndRules) {
    prepareDatabase();
    const int opened = call({{"Status", "Open"},
                             {"sp2", "Jo"},
                             {"Query", "line one\r\nline two"},
                             {"Field1", "-----"},
                             {"Date Opened", QDate(2025, 3, 12)},
                             {"Time Opened", QTime(7, 20)}});
    const int noTime = call({{"Status", "Open"}, {"Field1", "-----"}, {"Date Opened", QDate(2025, 3, 12)}});
    exec(QString("INSERT INTO Notes (Call, [Note], Analyst, [Note-date], [Note-time]) VALUES (%1, 'Rebooted', "
                 "'Admin', #2025/03/13#, #09:05:00#)")
             .arg(opened));
    start();
    WriteINI("Reports", "Show Call Open For", "True");
    WriteINI("Reports", "Show Ref", "False");
    WriteINI("Reports", "Show DO", "False");
    WriteINI("Reports", "Show Item", "False");
    WriteINI("Reports", "Show Contact", "False");
    WriteINI("Reports", "Show Category", "False");
    WriteINI("Reports", "BackColour", "255");
    WriteINI("Reports", "Logo Image", "/logos/our logo.gif");
    Form3& w = open();
    EXPECT_EQ(w.Text3->text(), "#FF0000");
    w.mnucalnot1->trigger();
    w.mnusep->trigger();
    EXPECT_EQ(ini("Call Note for Wizard"), "True");
    EXPECT_EQ(ini("Separator"), "True");
    pick(w.Combo4, "Call ID");
    pick(w.Combo2, "Ascending");
    w.Command1->click();
    w.Command3->click();
    const QString d = "<TD width = %1 valign=top><H5>  %2</TD>";
    const QString noteCell = "</TD><TD width = 100 valign=top><font color = #COCOCO><H5><i>";
    const QString table = "<TABLE bgcolor=#FFFFFF bordercolor=\"#010080\" CELLPADDING=\"2\" CELLSPACING=\"0\" "
                          "BORDER=\"0\">";
    const QStringList expected = {
        "<head><LINK REL=StyleSheet HREF=\"" + env->programFolder + "/report1.css\" TYPE=\"Text/css\" MEDIA=screen>",
        "</head><BODY bgcolor =#FF0000>",
        "<TABLE class=logo><TR><TD WIDTH=100% VALIGN=TOP><P><IMG SRC=\"/logos/our logo.gif\"HSPACE=0 BORDER=0>"
        "</TD></TR></TABLE><HR><BR>",
        "<P><H3> Report dated: 14/03/2025. </H3></P>",
        table,
        "<TD width = 108 valign=top><H5><B> Status</B></TD>",
        "<TD width = 159.0236 valign=top><H5><B> Customer</B></TD>",
        "<TD width = 308.9764 valign=top><H5><B> Details</B></TD>",
        "<TD width = 208.5166 valign=top><H5><B> Open For</B></TD>",
        "</TR><TR><TD colspan = 19><HR></TD></TR><TR><TD>&nbsp;</TD></TR></TABLE>",
        table,
        "<TR>",
        d.arg("108", "Open"),
        d.arg("159.0236", "Jo"),
        d.arg("308.9764", "line one<BR />line two"),
        d.arg("208.5166", "<i>2 days, 2 hrs, 10 mins.</i>"),
        "<TR><TD colspan = 19>",
        "<TABLE><TR><TD width = 100 valign=top>&nbsp;</TD><TD width = 100 valign=top><font color = #COCOCO><i>Note:"
        "</TD><TD width = 500><font color = #COCOCO><H5><i>Rebooted</TD>",
        noteCell + "Admin" + noteCell + "13/03/2025" + noteCell + "09:05:00</TD> ",
        "</TR></TABLE>",
        "</TD></TR>",
        "</TD></TR><TR><TD colspan = 19><HR></TD></TR>",
        "<TR>",
        d.arg("108", "Open"),
        d.arg("159.0236", ""),
        d.arg("308.9764", ""),
        d.arg("208.5166", "-----"), // no opening time to count from
        "<TR><TD colspan = 19>",
        "</TD></TR>",
        "</TD></TR><TR><TD colspan = 19><HR></TD></TR>",
        "</TABLE></TABLE>",
        "",
    };
    EXPECT_EQ(fileLines(htmlPath()), expected);
    EXPECT_EQ(env->shell.lastOpened(), htmlPath());
    EXPECT_FALSE(w.Command3->isEnabled());
    (void)noTime;
}

TEST_F(Wizard, HtmlPageShowsCellsTitleCaptionsAndNotesAsTextAndBreaksTypedLines) {
    using namespace hostile;
    prepareDatabase();
    const int n = call({{"Status", "Open"},
                        {"User", Item},
                        {"sp2", Category},
                        {"Query", Script + "\n" + Quoted},
                        {"Contact", Quoted},
                        {"sp3", Category},
                        {"sp1", Item},
                        {"Spare", Script},
                        {"Field1", "-----"},
                        {"Date Opened", QDate(2025, 3, 12)},
                        {"Time Opened", QTime(7, 20)}});
    exec(QString("INSERT INTO Notes (Call, [Note], Analyst) VALUES (%1, '%2', '%3')")
             .arg(n)
             .arg(SQLQuote(Script), SQLQuote(Category)));
    start();
    main->Label36->setText(Item); // the spare field's name captions its column
    WriteINI("Reports", "Show Notes", "True");
    WriteINI("Reports", "Show Analyst", "True");
    WriteINI("Reports", "Show Call Open For", "True");
    WriteINI("Reports", "Text2", Category);
    WriteINI("Reports", "Logo Image", Logo);
    Form3& w = open();
    w.mnucalnot1->trigger();
    w.Command1->click();
    w.Command3->click();
    EXPECT_TRUE(soundPage(htmlPath(), {Item, Category, Script, Quoted, "Report dated: 14/03/2025. " + Category}));
    const HtmlScan scan = scanHtmlFile(htmlPath());
    EXPECT_EQ(scan.attributes("img", "src"), QStringList{Logo});
    EXPECT_TRUE(fileLines(htmlPath())
                    .contains("<TD width = 308.9764 valign=top><H5>  &lt;script&gt;alert(1)&lt;/"
                              "script&gt; &amp; fails<BR />" +
                              Quoted + "</TD>"));
    EXPECT_TRUE(
        fileLines(htmlPath()).contains("<TD width = 208.5166 valign=top><H5>  <i>2 days, 2 hrs, 10 mins.</i></TD>"));
}

TEST_F(Wizard, EachColumnSwitchShowsOrHidesOneColumnAtOnceAndTheChoiceOutlivesTheWindow) {
    prepareDatabase();
    start();
    Form3* wizard = &open();
    const auto shown = [&wizard] {
        std::vector<bool> out;
        for (int c = 0; c < wizard->DataGrid1->columnCount(); ++c)
            out.push_back(wizard->DataGrid1->columnVisible(c));
        return out;
    };
    const char* items[] = {"mnuwizid", "mnuwizst",     "mnucn",    "mnucat",   "mnuwizss", "mnuwizcdet",
                           "mnuwizcr", "mnnuresource", "mnuwizot", "mnuwizod", "mnuwizct", "mnuwizcd",
                           "mnuwizsf", "mnusi",        "mnulb",    "mnucf",    "mnucof"};
    std::vector<int> switched;
    for (const char* name : items) {
        QAction* item = wizard->findChild<QAction*>(QLatin1String(name));
        ASSERT_TRUE(item) << name;
        const std::vector<bool> before = shown();
        item->trigger();
        const std::vector<bool> after = shown();
        std::vector<int> changed;
        for (size_t c = 0; c < after.size(); ++c)
            if (before[c] != after[c])
                changed.push_back(static_cast<int>(c));
        ASSERT_EQ(changed.size(), 1u) << name;
        EXPECT_EQ(after[changed[0]], item->isChecked()) << name;
        EXPECT_EQ(std::count(switched.begin(), switched.end(), changed[0]), 0) << name << ": a column of its own";
        switched.push_back(changed[0]);
    }
    const std::vector<bool> chosen = shown();
    wizard->close();
    processEvents();
    wizard = &open();
    EXPECT_EQ(shown(), chosen);
    Form3& w = *wizard;
    EXPECT_EQ(w.mnuwizsf->text(), "Notes:");
    for (int c : {12, 13, 17})
        EXPECT_FALSE(w.DataGrid1->columnVisible(c));
    w.mnuwizcu->trigger();
    EXPECT_EQ(ini("Show Customer Ref"), "<none>");

    // A width the user drags to is what the page writes; hiding and showing the column keeps it.
    w.DataGrid1->horizontalHeader()->resizeSection(2, 200);
    EXPECT_EQ(w.columnWidth(2), 3000);
    w.mnuwizot->trigger();
    w.mnuwizot->trigger();
    EXPECT_EQ(w.columnWidth(2), 3000);
    EXPECT_EQ(w.columnWidth(1), 2085.166);
}

TEST_F(Wizard, LayoutOptionsStoreWhatIsChosenAndCancelChangesNothing) {
    prepareDatabase();
    start();
    Form3& w = open();
    env->dialogs.type("abc").type("");
    w.mnuwidth->trigger();
    EXPECT_EQ(ini("HTML Width"), "abc");
    w.mnuwidth->trigger();
    EXPECT_EQ(ini("HTML Width"), "abc");
    EXPECT_EQ(env->dialogs.inputs[0].prompt, "Enter a Value between 300 and 900");
    EXPECT_EQ(env->dialogs.inputs[0].title, "HTML Query field Width");

    env->dialogs.chooseFileNext("").chooseFileNext("/pics/logo one.jpg");
    w.mnulogo->trigger();
    EXPECT_EQ(ini("Logo Image"), env->programFolder + "/Media/logo.gif");
    w.mnulogo->trigger();
    EXPECT_EQ(ini("Logo Image"), "/pics/logo one.jpg");
    EXPECT_EQ(wizard::state().logopath, "/pics/logo one.jpg");
    EXPECT_EQ(env->dialogs.fileFilters.value(0), "All image files (*.bmp,*.jpg,*.pcx)|*.BMP;*.JPG;*.PCX|");

    env->dialogs.chooseColourNext(std::nullopt).chooseColourNext(QColor(255, 0, 0));
    w.mnubakc->trigger();
    EXPECT_EQ(ini("BackColour"), "&HFFFFFF");
    w.mnubakc->trigger();
    EXPECT_EQ(ini("BackColour"), "255");
    EXPECT_EQ(w.Text3->text(), "#FF0000");
    EXPECT_EQ(w.Text3->palette().color(QPalette::Base), QColor(255, 0, 0));

    env->dialogs.chooseColourNext(QColor(0x80, 0xFF, 0xC0));
    w.mnutable->trigger();
    EXPECT_EQ(ini("TableColour"), QString::number(0xC0FF80));
    EXPECT_EQ(w.Text4->text(), "#80FFC0");
    EXPECT_EQ(w.Text2->palette().color(QPalette::Base), QColor(0x80, 0xFF, 0xC0));
    // Each colour dialog opens at the colour its setting holds now.
    w.mnubakc->trigger();
    w.mnutable->trigger();
    EXPECT_EQ(env->dialogs.colourStarts,
              (std::vector<QColor>{Qt::white, Qt::white, Qt::white, QColor(255, 0, 0), QColor(0x80, 0xFF, 0xC0)}));

    env->dialogs.chooseFontNext(std::nullopt).chooseFontNext(QFont("Arial", 14));
    const qreal before = w.Text2->font().pointSizeF();
    w.mnufont->trigger();
    EXPECT_EQ(w.Text2->font().pointSizeF(), before);
    w.mnufont->trigger();
    EXPECT_EQ(w.Text2->font().pointSizeF(), 14);
    EXPECT_EQ(wizard::state().titlesize, "14");
    ASSERT_EQ(env->dialogs.fontStarts.size(), 2u);
    EXPECT_EQ(env->dialogs.fontStarts[1].family(), "Arial");
    EXPECT_EQ(env->dialogs.fontStarts[1].pointSize(), 8);
    EXPECT_TRUE(env->dialogs.fontStarts[1].bold());
}

TEST_F(Wizard, CallsForAnItemMatchTheAnswerLiterallyNewestFirst) {
    prepareDatabase();
    const int older = call({{"sp1", "PC   [12]"},
                            {"Username", "r1"},
                            {"User", "amy"},
                            {"sp2", "Jo"},
                            {"Query", "q"},
                            {"sp3", "Hardware"},
                            {"Date Opened", QDate(2025, 3, 1)},
                            {"Time Opened", QTime(9, 0)}});
    const int newer = call({{"sp1", "PC   [512]"}, {"Date Opened", QDate(2025, 3, 1)}, {"Time Opened", QTime(10, 0)}});
    call({{"sp1", "PC   [13]"}, {"Date Opened", QDate(2025, 3, 2)}});
    const int hash = call({{"sp1", "Hub   [#7]"}, {"Date Opened", QDate(2025, 3, 2)}});
    start();
    Form3& w = open();
    const QString page = env->documentsFolder + "/report-calls-for-status.htm";
    env->dialogs.type("12");
    w.mnuinvcalls->trigger();
    QStringList lines = fileLines(page);
    ASSERT_GE(lines.size(), 16);
    EXPECT_EQ(lines[3], "<P><H3>12 calls: </H3></P>");
    // Seven captions over the seven cells: the assignee under "Assigned:", the item under "Item:".
    EXPECT_EQ(lines[5], "Assigned: </TD><TD Class=TDMed> Call:  </TD><TD Class=TDMed>Customer: </TD><TD "
                        "Class=TDSmall>Category: </TD>");
    EXPECT_EQ(lines[6], "<TD Class=TDNarrow> Date Opened: </TD><TD Class=TDNarrow> Ref: </TD><TD Class=TDNarrow> "
                        "Item: </TD>");
    EXPECT_EQ(lines[8], "<TABLE class=textbody><TR><TD Class=TDNarrow>");
    EXPECT_EQ(lines[9], "---</TD><TD Class=TDMed>---</TD><TD Class=TDMed>Unknown </TD><TD Class=TDSmall>--- </TD>");
    EXPECT_EQ(lines[10], QString("<TD Class=TDNarrow>01/03/2025</TD><TD Class=TDNarrow>%1</TD><TD Class=TDNarrow>"
                                 "PC   [512]</TD>")
                             .arg(newer));
    EXPECT_EQ(lines[13], "amy</TD><TD Class=TDMed>q</TD><TD Class=TDMed>Jo </TD><TD Class=TDSmall>Hardware </TD>");
    EXPECT_TRUE(lines[14].contains(QString(">%1<").arg(older)));
    EXPECT_EQ(lines.size(), 17);
    EXPECT_EQ(env->shell.lastOpened(), page);

    env->dialogs.type("#7").type("O'B [x");
    w.mnuinvcalls->trigger();
    lines = fileLines(page);
    EXPECT_EQ(lines.size(), 13);
    EXPECT_TRUE(lines[10].contains(QString(">%1<").arg(hash)));
    w.mnuinvcalls->trigger();
    lines = fileLines(page);
    EXPECT_EQ(lines[3], "<P><H3>O'B [x calls: </H3></P>");
    EXPECT_EQ(lines.size(), 9);
    EXPECT_TRUE(env->dialogs.messages.empty());
}

} // namespace

namespace {

TEST_F(Wizard, MoreQuickReportsTakeTheWizardsSeparatorAndNotesMarks) {
    prepareDatabase();
    const int n = call({{"sp3", "Hardware"}, {"Status", "Open"}, {"Date Opened", QDate(2025, 3, 1)}});
    exec(QString("INSERT INTO Notes (Call, [Note], Analyst) VALUES (%1, 'Swapped the fan', 'Admin')").arg(n));
    exec("INSERT INTO Inventory (Type, Number, Details2) VALUES ('Laptop', '7', 'r1')");
    start();
    Form3& w = open();
    w.mnusep->trigger();
    w.mnucalnot1->trigger();
    env->dialogs.type("Hardware");
    w.mnu50cat->trigger();
    const QStringList cat = fileLines(env->documentsFolder + "/report-calls-for-cat.htm");
    EXPECT_TRUE(cat.contains("<HR>"));
    EXPECT_TRUE(cat.filter("Swapped the fan").size() == 1);
    w.mnuci->trigger();
    EXPECT_EQ(env->shell.lastOpened(), env->documentsFolder + "/report-calls-inv.htm");
    w.mnuivrep->trigger();
    ASSERT_TRUE(ui::isLoaded<Dialog>());
    Dialog& types = ui::form<Dialog>();
    EXPECT_EQ(types.parentWidget(), &w);
    EXPECT_EQ(types.Combo2->currentText(), "Select");
    EXPECT_EQ(types.Combo2->findText("Laptop"), 0);
}

} // namespace

namespace {

// A stored text of the given length, words and all.
QString longText(const QString& start, int length) {
    QString text = start;
    while (text.size() < length)
        text += QStringLiteral(" and more words");
    return text.left(length);
}

class WizardFit : public Wizard, public ::testing::WithParamInterface<QString> {};

} // namespace

TEST_P(WizardFit, KeepsWithinTheScreenWithALongSpareNameATitleAndLargeFonts) {
    const QString family = GetParam();
    const LargeFonts fonts(*env, family);
    start();
    const QString title = longText(QStringLiteral("Quarterly calls"), 300);
    WriteINI("Reports", "Text2", title);
    for (const int length : {192, 300}) {
        const QString name = longText(QStringLiteral("Costcode"), length);
        main->applyOption(Form1::Option::SpareFieldName, name);
        if (ui::isLoaded<Form3>()) {
            ui::form<Form3>().close();
            processEvents();
        }
        Form3& w = open();
        const std::string when = family.toStdString() + ", a name of " + std::to_string(length);
        expectFits(w, env->screen.size, when, {w.Frame1, w.Command1, w.d1, w.d2, w.Text2, w.DataGrid1});

        // Picked, the long entry shows its start and is whole in the tooltip; the filter still finds it.
        pick(w.Combo1, name + " = ");
        EXPECT_TRUE(showsStart(w.Combo1)) << when;
        EXPECT_EQ(toolTipAt(w.Combo1->lineEdit(), QPoint(3, 3)), Qt::convertFromPlainText(name + " = ")) << when;
        EXPECT_EQ(w.Combo1->itemData(5, Qt::ToolTipRole).toString(), name + " = ");
        w.Text1->setText("K-7");
        pick(w.Combo5, "Between Dates");
        w.Command1->click();
        EXPECT_TRUE(w.sqltxtbox->toPlainText().contains("AND Spare ='K-7'"))
            << w.sqltxtbox->toPlainText().toStdString();
        expectFits(w, env->screen.size, when + ", after a run", {w.Command2, w.Command3});

        // Each date box has room for a whole date beside its button.
        for (QDateEdit* d : {w.d1, w.d2}) {
            EXPECT_GE(d->width(), d->minimumSizeHint().width()) << when;
            EXPECT_GE(d->width(), d->fontMetrics().horizontalAdvance(d->text()) + 24) << when;
        }
        // The menu entry is cut with its whole name in the tooltip; the column keeps the whole name for the files.
        EXPECT_TRUE(w.mnuwizsf->text().endsWith(QChar(0x2026))) << when;
        EXPECT_EQ(w.mnuwizsf->toolTip(), name);
        EXPECT_TRUE(w.mnfields->toolTipsVisible());
        EXPECT_EQ(w.DataGrid1->columnCaption(wizard::SpareColumn), name);

        // The stored title shows from its start, whole in the tooltip.
        EXPECT_TRUE(w.Text2->text().contains(title.left(250))) << w.Text2->text().toStdString();
        EXPECT_TRUE(showsStart(w.Text2)) << when;
        EXPECT_EQ(toolTipAt(w.Text2, QPoint(3, 3)), Qt::convertFromPlainText(w.Text2->text()));
    }
}

INSTANTIATE_TEST_SUITE_P(Families, WizardFit, ::testing::ValuesIn(fitFamilies()));

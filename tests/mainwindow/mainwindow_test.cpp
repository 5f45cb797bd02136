#include "support/fontfit.h"
#include "support/mainwindowfixture.h"

#include "mainwindow/form1.h"
#include "mainwindow/statusbar.h"
#include "platform/desktop.h"
#include "platform/ini.h"

#include "platform/widgets/datagrid.h"
#include "platform/widgets/elidedlabel.h"
#include "platform/widgets/flexgrid.h"
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHelpEvent>
#include <QMenu>
#include <QPushButton>
#include <QStackedWidget>
#include <QTextDocument>
#include <QTimer>
#include <QToolTip>

#include <QHeaderView>

namespace {

class MainWindow : public MainWindowTest {};

TEST_F(MainWindow, FirstStartCreatesSettingsAndDatabaseAndOpensAtTheLoginPanel) {
    Form1& f = start(QString());
    EXPECT_TRUE(QFileInfo::exists(env->settingsFolder + "/quorvane.ini"));
    EXPECT_TRUE(QFileInfo::exists(dbPath));
    EXPECT_EQ(env->ini("Database", "Database Path"), dbPath);
    EXPECT_EQ(env->ini("Database", "Version"), "1.9.7");
    EXPECT_EQ(env->ini("Call Grid", "Maximum number of calls displayed"), "1000");
    EXPECT_EQ(f.Combo2->currentText(), "Admin");
    EXPECT_FALSE(f.mnufile->isEnabled());
    EXPECT_FALSE(f.mnuprint->isEnabled());
    EXPECT_FALSE(f.Picture1->isVisibleTo(&f));
    EXPECT_EQ(f.statuses.first(), "Open");
    EXPECT_EQ(f.statustable[1][0], "Urgent");
    EXPECT_TRUE(env->dialogs.messages.empty());
}

TEST_F(MainWindow, StartUpAppliesTheGridFontAndRowHeightAndTakesTheStoredMaximum) {
    IniFile settings(env->settingsFolder + "/quorvane.ini");
    settings.write("Grid Fonts", "Name", "Courier New");
    settings.write("Grid Fonts", "Bold", "True");
    settings.write("Grid Fonts", "Size", "12");
    settings.write("Grid Fonts", "Colour", "255"); // pure red
    settings.write("Call Grid", "Grid Row Height", "600");
    settings.write("Call Grid", "Maximum number of calls displayed", "150");
    Form1& f = start(QString());
    EXPECT_EQ(f.maxcalls, 150);
    for (QAbstractItemView* grid :
         {static_cast<QAbstractItemView*>(f.datagrid2), static_cast<QAbstractItemView*>(f.Datagrid1)}) {
        EXPECT_EQ(grid->font().family(), "Courier New");
        EXPECT_TRUE(grid->font().bold());
        EXPECT_EQ(grid->font().pointSize(), 12);
        EXPECT_EQ(grid->palette().color(QPalette::Text), QColor(255, 0, 0));
    }
    EXPECT_EQ(f.Datagrid1->verticalHeader()->defaultSectionSize(), 40);

    // A number the options do not offer is read as the nearest they do; what is no whole number, as the default.
    const std::pair<const char*, int> stored[] = {{"abc", 1000}, {"7.5", 1000}, {"0", 100}, {"32768", 5000}};
    for (const auto& [text, used] : stored) {
        closeMain();
        settings.write("Call Grid", "Maximum number of calls displayed", text);
        EXPECT_EQ(start(QString()).maxcalls, used) << text;
    }
}

TEST_F(MainWindow, FirstStartWritesTheGridFontDefaults) {
    Form1& f = start(QString());
    EXPECT_EQ(env->ini("Grid Fonts", "Name"), "Arial");
    EXPECT_EQ(env->ini("Grid Fonts", "Bold"), "False");
    EXPECT_EQ(env->ini("Grid Fonts", "Size"), "10");
    EXPECT_EQ(env->ini("Grid Fonts", "Colour"), "0");
    EXPECT_EQ(env->ini("Call Grid", "Grid Row Height"), "300");
    EXPECT_EQ(f.Datagrid1->font().pointSize(), 10);
    EXPECT_EQ(f.datagrid2->palette().color(QPalette::Text), QColor(0, 0, 0));
}

TEST_F(MainWindow, RowsAnotherToolLeftWithNullsAndTextInNumbersAreListedAndOpened) {
    prepareDatabase();
    exec("INSERT INTO Calls (Username) VALUES (NULL)"); // no status, assignee, category or dates at all
    exec("INSERT INTO Calls (Username, Status, [User], sp3, [Date Opened], [Time Opened], [Date Closed]) VALUES "
         "('ann', 'Open', 'Admin', NULL, 'yesterday', 'noon', '')");
    exec("INSERT INTO Notes ([Call], Note, [Note-date]) VALUES ('two', NULL, 'soon')");
    exec("INSERT INTO Customers (Name, Username, Notes) VALUES (NULL, 'ann', NULL)");
    exec("INSERT INTO Customers (Name, Username) VALUES ('No Reference', NULL)");
    Form1& f = start();
    f.Command12->click();
    EXPECT_EQ(f.datagrid2->rows(), 3); // the heading and both calls
    for (int nom : {1, 2}) {
        f.opencall(nom);
        EXPECT_EQ(f.upperStack->currentWidget(), f.Picture8) << nom;
        f.cancelcall();
    }
    f.stats();
    EXPECT_EQ(count("SELECT * from Calls"), 2);
    EXPECT_FALSE(f.ended());
}

// A shared file out of reach at one start: the local one serves that run only, and the settings keep naming the
// shared one (at start and at close), so the next start is back on it. A path longer than 255 characters too.
TEST_F(MainWindow, AMissingSharedDatabaseIsUsedAgainAtTheNextStartAndTheLocalOneOnlyForThatRun) {
    const QString shared = env->path("share/" + QString(130, 'a') + "/" + QString(130, 'b') + "/desk.qvdb");
    ASSERT_GT(shared.size(), 255);
    IniFile(env->settingsFolder + "/quorvane.ini").write("Database", "Database Path", shared);
    start(QString());
    ASSERT_EQ(env->dialogs.messages.size(), 1u);
    EXPECT_TRUE(env->dialogs.lastMessage().contains(shared));
    EXPECT_TRUE(env->dialogs.lastMessage().contains("next start"));
    EXPECT_EQ(main->dbpath, dbPath);
    EXPECT_TRUE(QFileInfo::exists(dbPath));
    EXPECT_EQ(env->ini("Database", "Database Path"), shared);
    main->applyOptions(); // the options' Okay stores the main window's settings
    closeMain();
    EXPECT_EQ(env->ini("Database", "Database Path"), shared);

    ASSERT_TRUE(QDir().mkpath(QFileInfo(shared).absolutePath()));
    ASSERT_TRUE(QFile::copy(dbPath, shared));
    env->dialogs.clear();
    start(QString());
    EXPECT_TRUE(env->dialogs.messages.empty());
    EXPECT_EQ(main->dbpath, shared);
}

TEST_F(MainWindow, AFileThatIsNotADatabaseEndsTheProgramUnchanged) {
    const QString junk = env->path("junk.qvdb");
    QFile f(junk);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("this is no database at all, just some text that happens to sit here");
    f.close();
    const qint64 size = QFileInfo(junk).size();
    IniFile(env->settingsFolder + "/quorvane.ini").write("Database", "Database Path", junk);
    main = new Form1(env->appDataFolder);
    EXPECT_TRUE(main->ended());
    EXPECT_TRUE(env->dialogs.lastMessage().contains(junk));
    EXPECT_EQ(QFileInfo(junk).size(), size);
    EXPECT_EQ(env->ini("Database", "Database Path"), junk);
}

TEST_F(MainWindow, AScreenBelowTheMinimumEndsAndASmallOneIsCompact) {
    env->screen.size = QSize(640, 480);
    main = new Form1(env->appDataFolder);
    EXPECT_TRUE(main->ended());
    EXPECT_TRUE(env->dialogs.lastMessage().contains("800 x 600"));
    closeMain();
    env->screen.size = QSize(800, 600);
    Form1& f = start(QString());
    EXPECT_TRUE(f.lowres);
}

TEST_F(MainWindow, LoginAsksForAPasswordOnlyWhenOneIsSetAndIgnoresCase) {
    prepareDatabase();
    addStaff("amy", "secret", "3");
    addStaff("bob", "None", "1");
    Form1& f = start(QString());
    // Wrong password: a message and nothing else.
    env->dialogs.type("nope");
    f.Combo2->setCurrentText("amy");
    f.Command1->click();
    EXPECT_EQ(env->dialogs.lastMessage(), "Incorrect Password!");
    EXPECT_TRUE(f.currentanalyst.isEmpty());
    EXPECT_FALSE(f.mnufile->isEnabled());
    env->dialogs.type("SeCrEt");
    f.Command1->click();
    EXPECT_EQ(f.currentanalyst, "amy");
    EXPECT_EQ(f.StatusBar1->panel(1), "amy");
    EXPECT_EQ(f.StatusBar1->panel(2), "Standard");
    EXPECT_EQ(f.StatusBar1->panel(3), "14/03/2025");
    EXPECT_EQ(f.StatusBar1->panel(4), "09:30");
    EXPECT_TRUE(f.StatusBar1->panel(5).startsWith("My Workload.  Records: "));
    EXPECT_TRUE(f.mnufile->isEnabled());
    EXPECT_EQ(f.upperStack->currentWidget(), f.Picture10);
    EXPECT_EQ(env->dialogs.inputs.size(), 2u);
    closeMain();
    start("bob"); // "None" means no password
    EXPECT_EQ(env->dialogs.inputs.size(), 2u);
    EXPECT_EQ(main->StatusBar1->panel(2), "Basic");
}

TEST_F(MainWindow, ALongListCaptionIsCutWithAnEllipsisWhileItsRecordCountStaysInView) {
    env->screen.size = QSize(1024, 768);
    DesktopFont font("DejaVu Sans", 11);
    Form1& f = start();
    f.show();
    processEvents();
    auto* panel = f.StatusBar1->findChild<ui::ElidedLabel*>("Panel5");
    ASSERT_TRUE(panel);
    const QString keyword = QString("k").repeated(300);
    f.listByKeyword(keyword);
    processEvents();
    EXPECT_EQ(f.StatusBar1->panel(5), "Keyword: " + keyword + ".  Records: 0"); // the text stays whole
    EXPECT_LE(f.frameGeometry().width(), 1024);
    EXPECT_TRUE(f.rect().contains(QRect(panel->mapTo(&f, QPoint(0, 0)), panel->size())));
    const QString shown = panel->shownText();
    EXPECT_TRUE(shown.startsWith("Keyword: kkk")) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith(QString(QChar(0x2026)) + ".  Records: 0")) << shown.toStdString();
    EXPECT_LE(panel->fontMetrics().horizontalAdvance(shown), panel->contentsRect().width());
    QHelpEvent hover(QEvent::ToolTip, QPoint(5, 5), panel->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(panel, &hover);
    EXPECT_EQ(QToolTip::text(), Qt::convertFromPlainText(f.StatusBar1->panel(5)));

    f.listByKeyword("printer");
    EXPECT_EQ(panel->shownText(), "Keyword: printer.  Records: 0");
    // The short panels show their whole texts ("Administrator" is not cut by a rounded measure).
    for (const char* name : {"Panel1", "Panel2", "Panel3", "Panel4"}) {
        auto* label = f.StatusBar1->findChild<ui::ElidedLabel*>(name);
        EXPECT_EQ(label->shownText(), label->text()) << name;
    }
}

TEST_F(MainWindow, LoginFindsTheMemberByTheExactName) {
    prepareDatabase();
    addStaff("bob", "lower", "1");
    addStaff("Bob", "upper", "5");
    Form1& f = start(QString());
    env->dialogs.type("upper");
    f.Combo2->setCurrentText("Bob");
    f.Command1->click();
    EXPECT_EQ(f.currentanalyst, "Bob");
    EXPECT_EQ(f.StatusBar1->panel(2), "Administrator");
}

TEST_F(MainWindow, EachAccessLevelLosesItsMenuItems) {
    prepareDatabase();
    addStaff("basic", "", "1");
    addStaff("standard", "", "3");
    auto disabled = [this] {
        QStringList off;
        for (QAction* a : main->findChildren<QAction*>())
            if (!a->isEnabled() && !a->objectName().isEmpty() && a->objectName() != "mnuprint")
                off << a->objectName();
        off.sort();
        return off;
    };
    start("basic");
    EXPECT_EQ(disabled(),
              (QStringList{"mnucallsheet", "mnucustdel", "mnueditcust", "mnumonitor", "mnusupportstaff", "mnuwiz"}));
    closeMain();
    start("standard");
    EXPECT_EQ(disabled(), (QStringList{"mnucustdel", "mnueditcust", "mnusupportstaff"}));
    closeMain();
    start("Admin");
    EXPECT_TRUE(disabled().isEmpty());
}

TEST_F(MainWindow, WhatSaverStoresComesBackAtTheNextStart) {
    Form1& f = start();
    f.backcolour = "255";
    f.sortorder = "DESC";
    f.sheetheader = "Sheet";
    f.statusstyle = "vardont";
    f.saver();
    closeMain();
    Form1& again = start();
    EXPECT_EQ(again.backcolour, "255");
    EXPECT_EQ(again.sortorder, "DESC");
    EXPECT_EQ(again.sheetheader, "Sheet");
    EXPECT_EQ(again.statusstyle, "vardont");
}

TEST_F(MainWindow, SavePassWritesAnOwnerOnlyReminderFile) {
    Form1& f = start();
    f.SavePass("amy", "MixedCase");
    const QString path = desktop::programFolder() + "/Password-for-amy.txt";
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "The current password for amy is: mixedcase\r\n");
    EXPECT_EQ(file.permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther), QFileDevice::Permissions());
    EXPECT_EQ(env->dialogs.lastMessage(), "In case you should forget it, a text file containing your password has "
                                          "been saved to the application's directory");
    f.SavePass("../escape", "x"); // a name cannot put the file outside the program folder
    EXPECT_TRUE(QFileInfo::exists(desktop::programFolder() + "/Password-for-.._escape.txt"));
}

TEST_F(MainWindow, TimersTickAsTheSettingsSay) {
    IniFile settings(env->settingsFolder + "/quorvane.ini");
    settings.write("Monitor", "Monitor Enabled", "True");
    settings.write("Call Grid", "Auto-Refresh", "True");
    settings.write("Call Grid", "Refresh Interval", "3");
    prepareDatabase();
    Form1& f = start();
    EXPECT_TRUE(f.Timer2->isActive());
    EXPECT_TRUE(f.Timer3->isActive());
    // The refresh re-runs the current list after the interval, while the home panel shows.
    addCall("c1", "Open", "Admin");
    f.Timer3_Timer();
    f.Timer3_Timer();
    EXPECT_TRUE(f.StatusBar1->panel(5).startsWith("My Workload"));
    f.Timer3_Timer();
    EXPECT_EQ(f.StatusBar1->panel(5), "(Auto-Refreshed) .  Records: 1");
    env->clock.set(QDateTime(QDate(2025, 3, 15), QTime(8, 5)));
    f.Timer1_Timer();
    EXPECT_EQ(f.StatusBar1->panel(3), "15/03/2025");
    EXPECT_EQ(f.StatusBar1->panel(4), "08:05");
}

TEST_F(MainWindow, ClosingWritesColumnWidthsAndUnloadsTheRest) {
    Form1& f = start();
    f.datagrid2->setColWidth(7, 4321);
    closeMain();
    EXPECT_EQ(env->ini("Call Grid", "Column Width 7"), "4321");
    Form1& again = start();
    EXPECT_EQ(again.datagrid2->colWidth(7), 4321);
}

} // namespace

#include "mainwindow/entry.h"
#include "platform/widgets/forms.h"


namespace {

TEST(Program, StartsInProcessWithTheQuotedFolderArgument) {
    TestEnv env;
    const QByteArray folder = ("\"" + env.path("base") + "\"").toLocal8Bit();
    QByteArray name("quorvane");
    char* argv[] = {name.data(), const_cast<char*>(folder.constData()), nullptr};
    QString seenIni;
    QTimer::singleShot(0, [&] {
        Form1& f = ui::form<Form1>();
        seenIni = f.inipath;
        f.close();
    });
    EXPECT_EQ(quorvaneMain(2, argv), 0);
    EXPECT_EQ(seenIni, env.path("base") + "/Quorvane/quorvane.ini");
    EXPECT_TRUE(QFileInfo::exists(env.path("base") + "/Quorvane/desk.qvdb"));
    processEvents();
}

} // namespace

#include "mainwindow/form1.h"
#include "platform/desktop.h"
#include "platform/widgets/forms.h"
#include "reports/frmabout.h"
#include "shared/shared.h"
#include "support/fontfit.h"
#include "support/mainwindowfixture.h"
#include "support/pageparse.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace {

class MonitorPages : public MainWindowTest {
protected:
    QString folder() { return env->path("wall"); }
    QString page(const QString& name) {
        QFile f(folder() + "/" + name);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QStringLiteral("<no page>");
    }
    // Opened at the given day and time of the fixed clock.
    int callOn(const QDate& day, const QString& status, const QString& reference = "ann") {
        env->clock.set(QDateTime(day, QTime(8, 0)));
        return addCall(reference, status, "Admin");
    }
    void activate(Form1& w, const QString& path) {
        w.mnumonitor->trigger();
        frmAbout& m = ui::form<frmAbout>();
        m.Text1->setText(path);
        m.cmdOK->click();
        processEvents();
    }
    // One second of the main window's monitor timer, as the timer gives it.
    static void tick(Form1& w) {
        QTimer* timer = w.findChild<QTimer*>("Timer2");
        ASSERT_NE(timer, nullptr);
        ASSERT_TRUE(timer->isActive());
        QMetaObject::invokeMethod(timer, "timeout");
    }
    const QDate today{2025, 3, 14};
};

QString lines(const QStringList& l) {
    return l.join("\r\n") + "\r\n";
}

TEST_F(MonitorPages, CountsPageCarriesTheFiveFiguresLineForLine) {
    prepareDatabase();
    callOn(today, "Pending");
    callOn(today.addDays(-2), "Urgent");
    callOn(today, "Urgent");
    exec("UPDATE Calls SET Status = 'Closed' WHERE Nom = " + QString::number(callOn(today, "Open")));
    exec("UPDATE Calls SET Status = 'Closed' WHERE Nom = " + QString::number(callOn(today.addDays(-5), "Open")));
    Form1& w = start();
    env->clock.set(QDateTime(today, QTime(23, 59, 59)));
    QDir().mkpath(folder());
    activate(w, folder());

    const QString f = R"(Arial,Helvetica,Monaco)";
    const QString fig33 = R"(</TD><TD WIDTH="33%" VALIGN=TOP><P ALIGN=CENTER><FONT FACE=")" + f +
                          R"("><FONT COLOR="WHITE"><span style="font-size:108pt">)";
    const QString fig50 = R"(</TD><TD WIDTH="50%" VALIGN=TOP><P ALIGN=CENTER><FONT FACE=")" + f +
                          R"("><FONT COLOR="WHITE"><span style="font-size:108pt">)";
    const QString head =
        R"(<TD WIDTH="33%" VALIGN=TOP><P ALIGN=CENTER><FONT FACE=")" + f + R"("><FONT SIZE="6"><FONT COLOR=")";
    const QString expected = lines({
        R"(<HEAD><meta http-equiv="refresh" content="300"></HEAD>)",
        R"(<BODY BGCOLOR="BLACK"><P>&nbsp;</P><P ALIGN=CENTER><TABLE WIDTH="80%" CELLPADDING="2" CELLSPACING="0" BORDER="1" bordercolor=#C0C0C0>)",
        R"(<TR><TD align=center colspan=3><P ALIGN=CENTER><FONT FACE=")" + f +
            R"("><FONT SIZE="6"><FONT COLOR="WHITE">Open Calls:</TD></TR>)",
        "<TR>" + head + R"(GREEN">All Calls</FONT></FONT></FONT></TD>)",
        head + R"(YELLOW">Pending</FONT></FONT></FONT></TD>)",
        head + R"(RED">Urgent</FONT></FONT></FONT></TD>)",
        "</TR><TR>" + fig33.mid(5),
        "3" + fig33,
        "1" + fig33,
        "2</TD></TR>",
        R"(</TABLE></P></CENTER><P ALIGN=CENTER>&nbsp;</P><CENTER><P ALIGN=CENTER>)",
        R"(<TABLE WIDTH="60%" CELLPADDING="2" CELLSPACING="0" BORDER="1" bordercolor=#C0C0C0><TR><TD WIDTH="50%" VALIGN=TOP><P ALIGN=CENTER>)",
        R"(<FONT SIZE="6"><FONT FACE=")" + f +
            R"("><FONT COLOR="WHITE">Active - Older than today</FONT></FONT></FONT></TD>)",
        R"(<TD WIDTH="50%" VALIGN=TOP><P ALIGN=CENTER><FONT SIZE="6"><FONT FACE=")" + f +
            R"("><FONT COLOR="WHITE">All Calls Logged Today</FONT></FONT></FONT></TD>)",
        "</TR><TR> " + fig50.mid(5),
        "1" + fig50,
        "3</TD></TR></TABLE></BODY>",
    });
    EXPECT_EQ(page("monitor.htm"), expected);

    // The third-bar status is quoted into its count; "Urgent" there gives the red figure twice.
    exec("UPDATE Calls SET Status = 'Customer''s reply' WHERE Status = 'Pending'");
    w.stats3status = "Customer's reply";
    w.writemonitor();
    EXPECT_TRUE(page("monitor.htm").contains("YELLOW\">Customer's reply</FONT>"));
    EXPECT_TRUE(page("monitor.htm").contains("\r\n3" + fig33 + "\r\n1" + fig33 + "\r\n2</TD></TR>"));
    w.stats3status = "Urgent";
    w.writemonitor();
    EXPECT_TRUE(page("monitor.htm").contains("\r\n2" + fig33 + "\r\n2</TD></TR>"));
    EXPECT_TRUE(env->dialogs.messages.empty());
}

TEST_F(MonitorPages, OpenCallsPageListsOpenCallsWithTheirNotes) {
    prepareDatabase();
    addCustomer("Ann Smith", "ann");
    const int first = callOn(today.addDays(-1), "Pending");
    exec("UPDATE Calls SET Query = '" + QString(160, 'q') +
         "', sp3 = 'Printers' WHERE Nom = " + QString::number(first));
    exec("INSERT INTO Notes (Call, Note, Analyst, [Note-date], [Note-time]) VALUES (" + QString::number(first) +
         ", 'Rang back', Null, #2025/03/13#, #10:15:00#)");
    exec("INSERT INTO Notes (Call, Note, Analyst) VALUES (" + QString::number(first) + ", 'Fixed <b>', 'Admin')");
    const int second = callOn(today, "Urgent", "nobody");
    exec("UPDATE Calls SET Status = 'Closed' WHERE Nom = " + QString::number(callOn(today, "Open")));
    Form1& w = start();
    env->clock.set(QDateTime(today, QTime(9, 5, 30)));
    QDir().mkpath(folder());
    w.monitorpath = folder() + "/";
    w.writemonitor();

    const QString prog = desktop::programFolder();
    const QString table = "<TABLE bgcolor=#ffFFFF bordercolor= #010080 BORDER=0><TR><TD width = 100 valign=top>";
    const QString grey = "<TD width = 100 valign=top><font color = #COCOCO><i>";
    const QString note = "<TABLE><TR><TD width = 100 valign=top>&nbsp;</TD><TD width = 100 valign=top><font color = "
                         "#COCOCO><i>Note:</TD><TD width = 400><font color = #COCOCO><i>";
    const QString expected = lines({
        "<head><LINK REL=StyleSheet HREF=\"" + prog + "/report1.css\" TYPE=\"Text/css\" MEDIA=screen>",
        "</head><BODY class=body>",
        "<TABLE class=logo><TR><TD WIDTH=100% VALIGN=TOP><P><IMG SRC=\"" + prog +
            "/Media/logo.gif\"HSPACE=0 BORDER=0></TD></TR></TABLE><HR><BR>",
        "<P><font size = 5> All Active Calls as of: 14-March-2025, 09-05. </P>",
        table,
        "Assigned: </TD><TD width = 300 valign=top> Call:  </TD><TD width = 200 valign=top>Customer: </TD><TD width "
        "= 150 valign=top>Category: </TD>",
        "<TD width = 100 valign=top> Date Opened: </TD><TD width = 100 valign=top> Ref: </TD><TD width = 100 "
        "valign=top>Status: </TD>",
        "</TR></TABLE><BR>",
        // Urgent sorts before Pending (status descending).
        "<HR>",
        table,
        "Admin</TD><TD width = 300 valign=top></TD><TD width = 200 valign=top>User Not Found </TD><TD width = 150 "
        "valign=top>Hardware </TD>",
        "<TD width = 100 valign=top>14/03/2025</TD><TD width = 100 valign=top>" + QString::number(second) +
            "</TD><TD width = 100 valign=top>Urgent</TD>",
        "</TR></TABLE>",
        "<HR>",
        table,
        "Admin</TD><TD width = 300 valign=top>" + QString(150, 'q') +
            "</TD><TD width = 200 valign=top>Ann Smith </TD><TD width = 150 valign=top>Printers </TD>",
        "<TD width = 100 valign=top>13/03/2025</TD><TD width = 100 valign=top>" + QString::number(first) +
            "</TD><TD width = 100 valign=top>Pending</TD>",
        "</TR></TABLE>",
        note + "Rang back</TD>",
        grey + grey + "13/03/2025" + grey + "10:15:00",
        "</TR></TABLE>",
        note + "Fixed &lt;b&gt;</TD>",
        grey + "Admin" + grey + grey,
        "</TR></TABLE>",
    });
    EXPECT_EQ(page("monitor-open.htm"), expected);
}

TEST_F(MonitorPages, BothPagesShowStoredMarkupAsText) {
    using namespace hostile;
    prepareDatabase();
    addCustomer(Category, Item);
    const int n = callOn(today, Quoted, Item);
    exec("UPDATE Calls SET Query = '" + SQLQuote(Script) + "', sp3 = '" + SQLQuote(Category) + "', [User] = '" +
         SQLQuote(Item) + "' WHERE Nom = " + QString::number(n));
    exec("INSERT INTO Notes (Call, Note, Analyst) VALUES (" + QString::number(n) + ", '" + SQLQuote(Script) + "', '" +
         SQLQuote(Quoted) + "')");
    Form1& w = start();
    w.stats3status = Category;
    QDir().mkpath(folder());
    w.monitorpath = folder();
    w.writemonitor();
    EXPECT_TRUE(soundPage(folder() + "/monitor.htm", {Category}));
    EXPECT_TRUE(soundPage(folder() + "/monitor-open.htm", {Item, Script, Category, Quoted}));
}

TEST_F(MonitorPages, AThousandOpenCallsAreListedWhileTheCountsCountThemAll) {
    prepareDatabase();
    env->clock.set(QDateTime(today, QTime(8, 0)));
    exec("INSERT INTO Calls (Username, Status, [User], sp3, [Date Opened]) VALUES ('ann', 'Open', 'Admin', 'x', "
         "#2025/03/10#)");
    for (int i = 0; i < 10; ++i)
        exec("INSERT INTO Calls (Username, Status, [User], sp3, [Date Opened]) SELECT Username, Status, [User], sp3, "
             "[Date Opened] FROM Calls");
    Form1& w = start();
    QDir().mkpath(folder());
    w.monitorpath = folder();
    w.writemonitor();
    EXPECT_EQ(page("monitor-open.htm").count("<HR>\r\n"), 1000);
    EXPECT_TRUE(page("monitor-open.htm").contains(">1000</TD><TD width = 100 valign=top>Open</TD>"));
    EXPECT_FALSE(page("monitor-open.htm").contains(">1001</TD>"));
    EXPECT_TRUE(page("monitor.htm").contains("\r\n1024</TD><TD"));
}

TEST_F(MonitorPages, AMissingFolderGetsNoPagesAndAMissingDatabaseNoFigures) {
    prepareDatabase();
    Form1& w = start();
    w.monitorpath = folder();
    w.writemonitor();
    EXPECT_FALSE(QDir(folder()).exists());
    QFile file(folder());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)); // a file where the folder should be
    file.close();
    w.writemonitor();
    EXPECT_FALSE(QFile::exists(folder() + "/monitor.htm"));

    // Without a database the figures stay empty and an open-calls page already there is kept.
    QFile::remove(folder());
    QDir().mkpath(folder());
    w.writemonitor();
    w.dbpath = env->path("gone.qvdb");
    env->clock.advanceSecs(600);
    w.writemonitor();
    EXPECT_TRUE(page("monitor.htm").contains("\r\n</TD><TD WIDTH=\"33%\""));
    EXPECT_TRUE(page("monitor-open.htm").contains("as of: 14-March-2025, 09-30. </P>"));
    EXPECT_TRUE(env->dialogs.messages.empty());
}

TEST_F(MonitorPages, ActivateAndDeactivateSwitchTheTimerAndSettings) {
    prepareDatabase();
    Form1& w = start();
    QDir().mkpath(folder());
    // The menu item opens the window and leaves its mark alone.
    w.mnumonitor->trigger();
    EXPECT_FALSE(w.mnumonitor->isChecked());
    frmAbout& m = ui::form<frmAbout>();
    EXPECT_EQ(m.windowTitle(), "Monitor Page");
    EXPECT_EQ(m.parentWidget(), &w);
    EXPECT_EQ(m.Text1->text(), w.monitorpath);
    env->dialogs.chooseFolderNext(ui::FolderChoice::cancelled()).chooseFolderNext(ui::FolderChoice::noPath());
    m.Text1->setText("/typed");
    m.Command1->click();
    EXPECT_EQ(m.Text1->text(), "/typed");
    m.Command1->click();
    EXPECT_EQ(m.Text1->text(), desktop::programFolder());
    m.close(); // the close box changes nothing
    processEvents();
    EXPECT_FALSE(w.mnumonitor->isChecked());
    EXPECT_EQ(ReadINI("Monitor", "Monitor Enabled", "?"), "False");

    activate(w, folder());
    EXPECT_FALSE(ui::isLoaded<frmAbout>());
    EXPECT_TRUE(w.mnumonitor->isChecked());
    EXPECT_TRUE(w.Timer2->isActive());
    // The test's ticks stand for the seconds: the clock's own are put out of reach.
    EXPECT_EQ(w.Timer2->interval(), 1000);
    w.Timer2->setInterval(24 * 3600 * 1000);
    EXPECT_EQ(ReadINI("Monitor", "Monitor Enabled", "?"), "True");
    EXPECT_EQ(ReadINI("Monitor", "Monitor Path", "?"), folder());
    EXPECT_TRUE(QFile::exists(folder() + "/monitor.htm"));
    EXPECT_TRUE(QFile::exists(folder() + "/monitor-open.htm"));

    // The timer writes the pages at every 600th tick and not before.
    const auto writtenAfter = [&](int ticks) {
        QFile::remove(folder() + "/monitor.htm");
        for (int i = 0; i < ticks - 1; ++i)
            tick(w);
        EXPECT_FALSE(QFile::exists(folder() + "/monitor.htm")) << ticks;
        tick(w);
        EXPECT_TRUE(QFile::exists(folder() + "/monitor.htm")) << ticks;
    };
    writtenAfter(600);
    // Activate again does not start the count again: 300 ticks on, the next timed write comes 300 later.
    for (int i = 0; i < 300; ++i)
        tick(w);
    activate(w, folder());
    writtenAfter(300);
    writtenAfter(600);

    QFile::remove(folder() + "/monitor.htm");
    w.mnumonitor->trigger();
    EXPECT_TRUE(w.mnumonitor->isChecked());
    ui::form<frmAbout>().cmdSysInfo->click();
    processEvents();
    EXPECT_FALSE(w.mnumonitor->isChecked());
    EXPECT_FALSE(w.Timer2->isActive());
    EXPECT_EQ(ReadINI("Monitor", "Monitor Enabled", "?"), "False");
    EXPECT_EQ(w.monitorpath, folder());
    EXPECT_FALSE(QFile::exists(folder() + "/monitor.htm"));
    EXPECT_TRUE(QFile::exists(folder() + "/monitor-open.htm"));
}

TEST_F(MonitorPages, TheWindowShowsItsWholeTextAtALargeDesktopFont) {
    prepareDatabase();
    Form1& w = start();
    env->screen.size = QSize(1024, 768);
    for (const QString& family : fitFamilies()) {
        DesktopFont desktop(family, 11);
        w.mnumonitor->trigger();
        frmAbout& m = ui::form<frmAbout>();
        processEvents();
        const std::string when = family.toStdString();
        QLabel* label = m.Label1;
        EXPECT_EQ(label->font().pointSize(), 11) << when;
        EXPECT_TRUE(label->text().endsWith("the number of waiting calls etc..")) << when;
        const QRect room = label->contentsRect();
        const QRect text = label->fontMetrics().boundingRect(QRect(0, 0, room.width(), 10000),
                                                             int(label->alignment()) | Qt::TextWordWrap, label->text());
        EXPECT_LE(text.height(), room.height()) << when;
        EXPECT_LE(text.width(), room.width()) << when;
        EXPECT_TRUE(showsStart(m.Text1)) << when;
        expectFits(m, env->screen.size, when, {label, m.Text1});
        ui::unload<frmAbout>();
        processEvents();
    }
}

} // namespace

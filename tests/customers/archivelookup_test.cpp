#include "support/mainwindowfixture.h"
#include "support/pageparse.h"

#include "customers/about.h"
#include "mainwindow/form1.h"
#include "platform/db/database.h"
#include "platform/db/recordset.h"
#include "platform/widgets/forms.h"
#include "reports/archivelookup.h"
#include "shared/schema.h"

#include <QAction>
#include <QFile>
#include <QLabel>

namespace {

const QString TableStart = "<TABLE bgcolor=#ffFFFF bordercolor= #010080 BORDER=0><TR><TD width = 100>";

class ArchiveLookups : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        prepareDatabase();
        addCustomer("Pat O'Brien", "o'brien", "555", "1 Main St", "pat@example.com");
        exec("UPDATE Customers SET Notes = 'Prefers mornings' WHERE Name = 'Pat O''Brien'");
        addItem("Printer", "P-1", "o'brien");
        addItem("Laptop", "L-9", "someone else");
    }

    void makeArchive() { schema::createDatabase(archivePath()); }
    QString archivePath() const { return env->settingsFolder + "/Quorvane-Archive.qvdb"; }

    static void add(const QString& file, const QString& table, const QVariantMap& fields) {
        auto rs = db::Database::open(file).openRecordset("SELECT * from " + table);
        rs->addNew();
        for (auto it = fields.begin(); it != fields.end(); ++it)
            rs->setField(it.key(), it.value());
        rs->update();
    }
    void addItem(const QString& type, const QString& number, const QString& owner) {
        add(dbPath, "Inventory",
            {{"Type", type},
             {"Details", type + " model"},
             {"Number", number},
             {"Notes", "leased"},
             {"Details2", owner}});
    }
    void archiveCall(int nom, const QString& reference, const QVariant& query, const QVariant& category) {
        add(archivePath(), "Calls",
            {{"Nom", nom},
             {"Username", reference},
             {"User", "Admin"},
             {"Status", "Closed"},
             {"Query", query},
             {"sp3", category},
             {"Date Opened", QDate(2025, 3, 1)},
             {"Time Opened", QTime(8, 5, 0)}});
    }
    void archiveNote(int call, const QString& note, const QVariant& analyst) {
        add(archivePath(), "Notes",
            {{"Call", call},
             {"Note", note},
             {"Analyst", analyst},
             {"Note-date", QDate(2025, 3, 2)},
             {"Note-time", QTime(10, 15, 0)}});
    }

    frmAbout1& about() {
        main->mnuabout->trigger();
        return ui::form<frmAbout1>();
    }
    QStringList frame() const {
        const QString folder = env->programFolder;
        return {"<head><LINK REL=StyleSheet HREF=\"" + folder + "/report1.css\" TYPE=\"Text/css\" MEDIA=screen>",
                "</head><BODY class=body>",
                "<TABLE class=logo><TR><TD WIDTH=100% VALIGN=TOP><P><IMG SRC=\"" + folder +
                    "/Media/logo.gif\"HSPACE=0 BORDER=0></TD></TR></TABLE><HR><BR>"};
    }
    QString callPage() const { return env->documentsFolder + "/report-call.htm"; }
    QString customerPage() const { return env->documentsFolder + "/archive-calls-for-customer.htm"; }
};

TEST_F(ArchiveLookups, WithoutAnArchiveBothItemsSaySoAndAskNothing) {
    start();
    about().mnuarchref->trigger();
    about().mnuuser->trigger();
    EXPECT_EQ(env->dialogs.messageTexts(), QStringList({"No archives found", "No archives found"}));
    EXPECT_TRUE(env->dialogs.inputs.empty());
    EXPECT_FALSE(QFile::exists(archivePath()));
    EXPECT_TRUE(env->shell.opened.empty());
}

TEST_F(ArchiveLookups, CallPageTakesTheCallFromTheArchiveAndTheCustomerFromTheMainDatabase) {
    makeArchive();
    archiveCall(12, "o'brien", "<b>Printer</b> jams", "Printing");
    {
        auto rs = db::Database::open(archivePath()).openRecordset("SELECT * from Calls where Nom = 12");
        rs->setField("Spare", "desk 4");
        rs->setField("Time Spent", "2 hrs");
        rs->setField("Resolution", "Replaced the drum");
        rs->setField("Date Closed", QDate(2025, 3, 3));
        rs->setField("Time Closed", QTime(16, 0, 0));
        rs->update();
    }
    archiveNote(12, "Ordered a drum", "Admin");
    archiveNote(13, "another call", "Admin");
    archiveNote(12, "Fitted", QVariant());
    start();

    env->dialogs.type("12.7");
    about().mnuarchref->trigger();
    ASSERT_EQ(env->dialogs.inputs.size(), 1u);
    EXPECT_EQ(env->dialogs.inputs[0].prompt, "Enter Call Reference");
    EXPECT_EQ(env->dialogs.inputs[0].title, "Quorvane");

    const QString grey = "<TD width = 100 valign=top><font color = #COCOCO><i>";
    const QString noteStart = "<TABLE><TR><TD width = 100 valign=top>&nbsp;</TD><TD width = 100 valign=top><font "
                              "color = #COCOCO><i>Note:</TD><TD width = 400 valign=top><font color = #COCOCO><i>";
    QStringList want = frame();
    want << "<P><font size = 5>Archive report for call: 12. </P>"
         << "<HR>"
         << "<P><font size = 3>Customer: Pat O'Brien  (Ref: o'brien)</P>"
         << "<P><font size = 3>Address: 1 Main St</P>"
         << "<P>Tel: 555</P>"
         << "<P><font size = 3>Email: pat@example.com</P>"
         << "<P>Notes: Prefers mornings</P><HR><BR>"
         << "<P><font size = 3>Call logged on: 01/03/2025   at: 08:05:00</P>"
         << "<P><font size = 3>Category: Printing</P>"
         << "<P><font size = 3>" + main->Label36->text() + ": desk 4</P>"
         << "<P><font size = 3>Resource: 2 hrs</P>"
         << "<P><font size = 3>Assigned: Admin</P>"
         << "<P>Status: Closed</P><BR><HR><BR>"
         << "<P>Call: &lt;b&gt;Printer&lt;/b&gt; jams</P>" << noteStart + "Ordered a drum</TD>"
         << grey + "Admin</TD>" + grey + "02/03/2025</TD>" + grey + "10:15:00"
         << "</TD></TR></TABLE>" << noteStart + "Fitted</TD>"
         << grey + "---</TD>" + grey + "02/03/2025</TD>" + grey + "10:15:00"
         << "</TD></TR></TABLE>"
         << "<P>Resolution: Replaced the drum</P>"
         << "<P><font size = 3>Call closed on: 03/03/2025</P>"
         << "<P><font size = 3>Call closed at: 16:00:00<BR><HR>"
         << "<BR><P><font size = 3><font color = #COCOCO><B>Inventory item: </B>Printer.    <B>Details:</B> Printer "
            "model</P>"
         << "<P><font size = 3><font color = #COCOCO><B>Number: </B>P-1.   <B>Notes: </B>leased</P>"
         << "<HR><P><font color = \"black\"><font size = 3>End Report</P>";
    EXPECT_EQ(crlfLines(callPage()), want);
    ASSERT_EQ(env->shell.opened.size(), 1u);
    EXPECT_EQ(env->shell.opened[0].target, callPage());
    EXPECT_EQ(env->shell.opened[0].showMode, 3);
}

TEST_F(ArchiveLookups, UnknownCallGivesItsLineAndAnythingButANumberDoesNothing) {
    makeArchive();
    archiveCall(5, "o'brien", "q", "Printing");
    start();
    env->dialogs.type("99");
    about().mnuarchref->trigger();
    EXPECT_EQ(crlfLines(callPage()), frame() << "<P><font size = 5>Call not in Archive: 99. </P>");
    EXPECT_EQ(env->shell.opened.size(), 1u);

    for (const char* answer : {"abc", "5 or 1=1", ""}) {
        env->dialogs.type(answer);
        about().mnuarchref->trigger();
    }
    EXPECT_EQ(env->dialogs.inputs.size(), 4u);
    EXPECT_EQ(env->shell.opened.size(), 1u);
    EXPECT_EQ(crlfLines(callPage()).last(), "<P><font size = 5>Call not in Archive: 99. </P>");
}

TEST_F(ArchiveLookups, CustomerPageListsTheTwentyNewestCallsOfAQuotedReference) {
    makeArchive();
    for (int nom = 1; nom <= 21; ++nom)
        archiveCall(nom, "o'brien", nom == 21 ? QVariant() : QVariant(QString(200, QChar('x'))),
                    nom == 21 ? QVariant() : QVariant("Printing"));
    archiveCall(30, "someone else", "not theirs", "Printing");
    start();

    env->dialogs.type("o'brien");
    about().mnuuser->trigger();
    EXPECT_EQ(env->dialogs.inputs.at(0).prompt, "Enter Customer Reference");
    const QStringList lines = crlfLines(customerPage());
    const QStringList head = frame() << "<P><font size = 5>Calls from Archive for: Pat O'Brien  [o'brien]</P>"
                                     << TableStart << "Assigned: </TD><TD width = 300> Call:  </TD>"
                                     << "<TD width = 100> Date Opened: </TD><TD width = 100> Ref: </TD><TD width = "
                                        "100>Status: </TD><TD width = 150>Category: </TD>"
                                     << "</TR></TABLE><BR>";
    ASSERT_EQ(lines.size(), head.size() + 20 * 4);
    EXPECT_EQ(lines.mid(0, head.size()), head);
    EXPECT_EQ(
        lines.mid(head.size(), 8),
        QStringList({TableStart, "Admin</TD><TD width = 300>---</TD>",
                     "<TD width = 100>01/03/2025</TD><TD width = 100>21</TD><TD width = 100>Closed</TD><TD "
                     "width = 150>--- </TD>",
                     "</TR></TABLE>", TableStart, "Admin</TD><TD width = 300>" + QString(150, QChar('x')) + "</TD>",
                     "<TD width = 100>01/03/2025</TD><TD width = 100>20</TD><TD width = 100>Closed</TD><TD "
                     "width = 150>Printing </TD>",
                     "</TR></TABLE>"}));
    EXPECT_TRUE(lines.last(2).first().contains("<TD width = 100>2</TD>"));
    EXPECT_EQ(env->shell.lastOpened(), customerPage());

    // A reference nobody has: the heading and column heads only.
    env->dialogs.type("nobody");
    about().mnuuser->trigger();
    EXPECT_EQ(crlfLines(customerPage()),
              QStringList(head).replaceInStrings("Pat O'Brien  [o'brien]", "User Not Found  [nobody]"));
    env->dialogs.type("");
    about().mnuuser->trigger();
    EXPECT_EQ(env->shell.opened.size(), 2u);
}

TEST_F(ArchiveLookups, BothPagesShowStoredAndTypedMarkupAsText) {
    using namespace hostile;
    makeArchive();
    addCustomer(Category, Item, Quoted, Script, Quoted);
    add(dbPath, "Inventory",
        {{"Type", Item}, {"Details", Script}, {"Number", Quoted}, {"Notes", Category}, {"Details2", Item}});
    archiveCall(40, Item, Script, Category);
    {
        auto rs = db::Database::open(archivePath()).openRecordset("SELECT * from Calls where Nom = 40");
        rs->setField("Spare", Quoted);
        rs->setField("Status", Item);
        rs->setField("Resolution", Script);
        rs->update();
    }
    archiveNote(40, Script, Category);
    start();
    main->Label36->setText(Item);

    env->dialogs.type("40");
    about().mnuarchref->trigger();
    EXPECT_TRUE(soundPage(callPage(),
                          {"Customer: " + Category + "  (Ref: " + Item + ")", "Address: " + Script, "Tel: " + Quoted,
                           "Category: " + Category, Item + ": " + Quoted, "Status: " + Item, "Call: " + Script,
                           "Resolution: " + Script, Item + ".    ", " " + Script, Quoted + ".   ", Category}));
    env->dialogs.type(Item);
    about().mnuuser->trigger();
    EXPECT_TRUE(soundPage(customerPage(),
                          {"Calls from Archive for: " + Category + "  [" + Item + "]", Script, Item, Category}));
}

TEST(ArchiveCallNumber, DecimalAnswersGoDownToAWholeNumberAndNothingElseIsOne) {
    const std::pair<const char*, std::optional<qint64>> cases[] = {{" 12.7 ", 12},
                                                                   {"-0.5", -1},
                                                                   {".9", 0},
                                                                   {"abc", std::nullopt},
                                                                   {"1.2.3", std::nullopt},
                                                                   {"99999999999999999999", std::nullopt}};
    for (const auto& [answer, want] : cases)
        EXPECT_EQ(archive::callNumberOf(answer), want) << answer;
    EXPECT_EQ(archive::archivePath("/srv/desk/desk.qvdb"), "/srv/desk/Quorvane-Archive.qvdb");
}

} // namespace

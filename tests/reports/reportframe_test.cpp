#include "support/pageparse.h"

#include "platform/db/database.h"
#include "platform/db/values.h"
#include "platform/desktop.h"
#include "platform/ini.h"
#include "reports/pagefile.h"
#include "reports/reportframe.h"
#include "shared/shared.h"
#include "shared/textout.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class ReportFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        qv::inipath() = dir.filePath("quorvane.ini");
        qv::dbpath() = dir.filePath("desk.qvdb");
        desktop::setProgramFolder("/opt/quorvane");
        db::Database database = db::Database::create(qv::dbpath());
        database.execute("CREATE TABLE Customers (Name TEXT, Username TEXT, Extension TEXT, Location TEXT)");
        database.execute("CREATE TABLE Notes (ID COUNTER, Call INTEGER, Note MEMO, "
                         "Analyst TEXT, [Note-date] DATETIME, [Note-time] DATETIME)");
    }
    void TearDown() override {
        db::pool::closeAll();
        desktop::setProgramFolder(QString());
        qv::inipath().clear();
        qv::dbpath().clear();
        notescall().clear();
    }

    // Writes a page with the given writer and gives back its lines.
    template <typename Writer> QStringList page(Writer writer) {
        const QString path = dir.filePath("page.htm");
        PageFile file;
        EXPECT_TRUE(file.open(path));
        writer(file);
        EXPECT_TRUE(file.commit());
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        QStringList lines = QString::fromUtf8(f.readAll()).split("\r\n");
        EXPECT_EQ(lines.takeLast(), ""); // every line ends with CR LF
        return lines;
    }

    void execute(const QString& sql) { db::Database::open(qv::dbpath()).execute(sql); }

    QTemporaryDir dir;
};

TEST_F(ReportFrameTest, HeaderWritesMissingLogoSettingBackAndReadsItAnewEachTime) {
    const QStringList lines = page([](PageFile& f) { reportheader(f); });
    EXPECT_EQ(
        lines,
        (QStringList{"<head><LINK REL=StyleSheet HREF=\"/opt/quorvane/report1.css\" TYPE=\"Text/css\" MEDIA=screen>",
                     "</head><BODY class=body>",
                     "<TABLE class=logo><TR><TD WIDTH=100% VALIGN=TOP><P><IMG SRC=\"/opt/quorvane/Media/logo.gif\""
                     "HSPACE=0 BORDER=0></TD></TR></TABLE><HR><BR>"}));
    EXPECT_EQ(IniFile(qv::inipath()).read("Reports", "Logo Image"), QString("/opt/quorvane/Media/logo.gif"));

    ASSERT_TRUE(WriteINI("Reports", "Logo Image", "http://intranet/logo.png"));
    EXPECT_TRUE(page([](PageFile& f) { reportheader(f); }).at(2).contains("SRC=\"http://intranet/logo.png\"HSPACE"));

    // A path holding quotes and markup stays one attribute of one image.
    const QString logo = "/logos/\"best\" <logo> & co.gif";
    ASSERT_TRUE(WriteINI("Reports", "Logo Image", logo));
    const HtmlScan scan = scanHtml(page([](PageFile& f) { reportheader(f); }).join("\r\n"));
    EXPECT_EQ(scan.attributes("img", "src"), QStringList{logo});
    EXPECT_EQ(scan.attributes("img", "hspace"), QStringList{"0"});
    EXPECT_TRUE(scan.unknownTags().isEmpty()) << scan.unknownTags().join(",").toStdString();
}

TEST_F(ReportFrameTest, HtmlBreaksEscapesThenBreaksAtCrLfAndLoneLf) {
    EXPECT_EQ(htmlbreaks(QString("one\r\ntwo\r\n")), "one<BR />two<BR />");
    EXPECT_EQ(htmlbreaks(QString("one\ntwo\rthree")), "one<BR />two\rthree");
    EXPECT_EQ(htmlbreaks(QString("a\n\r\r\nb")), "a<BR />\r<BR />b");
    EXPECT_EQ(htmlbreaks(QString("<b>x</b> & y\nz"), u"<BR>"), "&lt;b&gt;x&lt;/b&gt; &amp; y<BR>z");
    EXPECT_EQ(htmlbreaks(QVariant()), "");
    EXPECT_EQ(htmlText("Say \"hi\" <b> & bye"), "Say \"hi\" &lt;b&gt; &amp; bye");
    EXPECT_EQ(htmlAttribute("a \"b\" <c> & d"), "a &quot;b&quot; &lt;c&gt; &amp; d");
    EXPECT_EQ(htmlText("Zoë's plain text"), "Zoë's plain text");
}

TEST_F(ReportFrameTest, CustnameFindsQuotedReferencesAndReportsTheRest) {
    execute("INSERT INTO Customers (Name, Username) VALUES ('Pat O''Neil', 'o''neil')");
    execute("INSERT INTO Customers (Name, Username) VALUES (NULL, 'noname')");
    EXPECT_EQ(custname("o'neil"), QVariant(QString("Pat O'Neil")));
    EXPECT_TRUE(db::isNull(custname("noname")));
    EXPECT_EQ(custname("nobody"), QVariant(QString("User Not Found")));
    EXPECT_EQ(custname(""), QVariant(QString("User Not Found")));
    execute("INSERT INTO Customers (Name, Username) VALUES ('Blank Ref', '')");
    EXPECT_EQ(custname(""), QVariant(QString("Blank Ref")));

    qv::dbpath() = dir.filePath("missing.qvdb");
    EXPECT_EQ(custname("o'neil"), QVariant(QString("User Not Found")));
}

TEST_F(ReportFrameTest, PrintNotesWritesThreeLinesPerNoteOfTheCallInTableOrder) {
    execute("INSERT INTO Notes (Call, Note, Analyst, [Note-date], [Note-time]) "
            "VALUES (7, 'first <b>as typed</b>', 'ann', #3/5/2024#, #10:15:00#)");
    execute("INSERT INTO Notes (Call, Note, Analyst) VALUES (8, 'other call', 'bob')");
    execute("INSERT INTO Notes (Call, Note, Analyst, [Note-date], [Note-time]) "
            "VALUES (7, 'second', NULL, #3/6/2024#, #9:00:00#)");
    execute("INSERT INTO Notes (Call, Note, Analyst) VALUES (7, 'line\r\nbreak', 'cy')");

    notescall() = "7";
    const QStringList lines = page([](PageFile& f) { printnotes(f); });
    const QString open = "<TABLE Class=Notes><TR><TD Class=TDNarrow valign=top>&nbsp;</TD><TD Class=TDNarrow "
                         "valign=top><i>Note:</TD><TD class=TDLarge valign=top><i>";
    const QString cell = "</TD><TD Class=TDNarrow valign=top><i>";
    const auto stamp = [&](const QString& who, const QString& date, const QString& time) {
        return "<TD Class=TDNarrow valign=top><i>" + who + cell + date + cell + time;
    };
    const QString day1 = db::displayText(QDate(2024, 3, 5));
    const QString day2 = db::displayText(QDate(2024, 3, 6));
    EXPECT_EQ(lines, (QStringList{open + "first &lt;b&gt;as typed&lt;/b&gt;</TD>", stamp("ann", day1, "10:15:00"),
                                  "</TD></TR></TABLE>", open + "second</TD>", stamp("---", day2, "09:00:00"),
                                  "</TD></TR></TABLE>", open + "line", "break</TD>", stamp("cy", "---", "---"),
                                  "</TD></TR></TABLE>"}));

    notescall() = "9";
    EXPECT_TRUE(page([](PageFile& f) { printnotes(f); }).isEmpty());
}

} // namespace

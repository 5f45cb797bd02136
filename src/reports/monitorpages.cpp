#include "reports/monitorpages.h"

#include "platform/db/database.h"
#include "platform/db/dberror.h"
#include "platform/db/values.h"
#include "platform/db/vbformat.h"
#include "reports/pagefile.h"
#include "reports/reportframe.h"
#include "shared/shared.h"
#include "shared/textout.h"

#include <QFileInfo>
#include <QLocale>
#include <optional>

namespace monitorpages {
namespace {

const QString Font = QStringLiteral("Arial,Helvetica,Monaco");

QString dq(const QString& text) {
    return QLatin1Char('"') + text + QLatin1Char('"');
}

// The cell that opens each large figure.
QString figureCell(const QString& width) {
    return "<TD WIDTH=" + dq(width) + " VALIGN=TOP><P ALIGN=CENTER><FONT FACE=" + dq(Font) +
           "><FONT COLOR=" + dq("WHITE") + "><span style=" + dq("font-size:108pt") + ">";
}

QString headingCell(const QString& colour, const QString& text) {
    return "<TD WIDTH=" + dq("33%") + " VALIGN=TOP><P ALIGN=CENTER><FONT FACE=" + dq(Font) + "><FONT SIZE=" + dq("6") +
           "><FONT COLOR=" + dq(colour) + ">" + text + "</FONT></FONT></FONT></TD>";
}

QString pagePath(const QString& folder, const QString& name) {
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

std::array<QString, 5> readCounts(const Input& in, db::Database* database) {
    std::array<QString, 5> counts;
    if (!database)
        return counts;
    const std::array<QString, 5> sql = countQueries(in);
    for (size_t i = 0; i < sql.size(); ++i) {
        try {
            const auto rs = database->openRecordset(sql[i]);
            if (!rs->eof())
                counts[i] = db::displayText(rs->field(0));
        } catch (const db::DbError&) {
            // the place stays empty
        }
    }
    return counts;
}

bool writeCountsPage(const Input& in, const std::array<QString, 5>& counts) {
    PageFile page;
    if (!page.open(pagePath(in.folder, QStringLiteral("monitor.htm")), PageFile::Sync::Skip))
        return false;
    for (const QString& line : countsPage(counts, in.stats3status))
        page.writeLine(line);
    return page.commit();
}

void writeCall(PageFile& page, db::Database& database, const db::Recordset& calls, int row) {
    const QString cell = QStringLiteral("<TABLE bgcolor=#ffFFFF bordercolor= #010080 BORDER=0><TR><TD width = 100 "
                                        "valign=top>");
    const QString nom = db::displayText(calls.value(row, 6));
    page.writeLine(QStringLiteral("<HR>"));
    page.writeLine(cell);
    const auto text = [&](int column) { return htmlText(db::displayText(calls.value(row, column))); };
    page.writeLine(text(2) + "</TD><TD width = 300 valign=top>" +
                   htmlText(qv::leftWhole(db::displayText(calls.value(row, 4)), 150)) +
                   "</TD><TD width = 200 valign=top>" +
                   htmlText(db::displayText(custname(db::displayText(calls.value(row, 0)), database))) +
                   " </TD><TD width = 150 valign=top>" + text(5) + " </TD>");
    page.writeLine("<TD width = 100 valign=top>" + text(1) + "</TD><TD width = 100 valign=top>" + htmlText(nom) +
                   "</TD><TD width = 100 valign=top>" + text(3) + "</TD>");
    page.writeLine(QStringLiteral("</TR></TABLE>"));
    bool number = false;
    nom.toLongLong(&number);
    if (!number)
        return;
    try {
        const auto notes = database.openRecordset(QStringLiteral("Select * from Notes where Call = ") + nom);
        const int note = notes->fieldIndex(QStringLiteral("Note"));
        const int analyst = notes->fieldIndex(QStringLiteral("Analyst"));
        const int date = notes->fieldIndex(QStringLiteral("Note-date"));
        const int time = notes->fieldIndex(QStringLiteral("Note-time"));
        const QString grey = QStringLiteral("<TD width = 100 valign=top><font color = #COCOCO><i>");
        for (int r = 0; r < notes->rowCount(); ++r) {
            page.writeLine("<TABLE><TR><TD width = 100 valign=top>&nbsp;</TD><TD width = 100 valign=top><font color "
                           "= #COCOCO><i>Note:</TD><TD width = 400><font color = #COCOCO><i>" +
                           htmlText(db::displayText(notes->value(r, note))) + "</TD>");
            page.writeLine(grey + htmlText(db::displayText(notes->value(r, analyst))) + grey +
                           htmlText(db::displayText(notes->value(r, date))) + grey +
                           htmlText(db::displayText(notes->value(r, time))));
            page.writeLine(QStringLiteral("</TR></TABLE>"));
        }
    } catch (const db::DbError&) {
        // the call stays listed without its notes
    }
}

bool writeOpenCallsPage(const Input& in, db::Database* database) {
    if (!database)
        return false;
    std::unique_ptr<db::Recordset> calls;
    try {
        calls = database->openRecordset(QStringLiteral("Select Username, [Date Opened], User, Status, Query, SP3, "
                                                       "Nom from Calls where Status <> 'Closed' order by  Status "
                                                       "DESC, Nom"));
    } catch (const db::DbError&) {
        return false; // an empty list would read as no open calls: the older page stays
    }
    PageFile page;
    if (!page.open(pagePath(in.folder, QStringLiteral("monitor-open.htm")), PageFile::Sync::Skip))
        return false;
    reportheader(page);
    page.writeLine("<P><font size = 5> All Active Calls as of: " +
                   QLocale().toString(in.now, QStringLiteral("dd-MMMM-yyyy, hh-mm")) + ". </P>");
    page.writeLine(QStringLiteral("<TABLE bgcolor=#ffFFFF bordercolor= #010080 BORDER=0><TR><TD width = 100 "
                                  "valign=top>"));
    page.writeLine(QStringLiteral("Assigned: </TD><TD width = 300 valign=top> Call:  </TD><TD width = 200 "
                                  "valign=top>Customer: </TD><TD width = 150 valign=top>Category: </TD>"));
    page.writeLine(QStringLiteral("<TD width = 100 valign=top> Date Opened: </TD><TD width = 100 valign=top> Ref: "
                                  "</TD><TD width = 100 valign=top>Status: </TD>"));
    page.writeLine(QStringLiteral("</TR></TABLE><BR>"));
    const int listed = std::min(calls->rowCount(), MaxListed);
    for (int r = 0; r < listed; ++r)
        writeCall(page, *database, *calls, r);
    return page.commit();
}

} // namespace

std::array<QString, 5> countQueries(const Input& in) {
    const QString today = QLatin1Char('#') + db::vbFormat(in.now.date(), in.sqldateformat) + QLatin1Char('#');
    return {
        QStringLiteral("SELECT count(Nom) as count1 from Calls where Status <> 'Closed'"),
        "SELECT count(Nom) as count2 from Calls where Status = '" + SQLQuote(in.stats3status) + "'",
        QStringLiteral("SELECT count(Nom) as count3 from Calls where Status = 'Urgent'"),
        "Select count(Nom) as count4 from Calls where [Date Opened] = " + today,
        "Select count(Nom) as count5 from Calls where [Date Opened] < " + today + " and Status <> 'Closed'",
    };
}

QStringList countsPage(const std::array<QString, 5>& c, const QString& stats3status) {
    const QString figure33 = figureCell(QStringLiteral("33%"));
    const QString figure50 = figureCell(QStringLiteral("50%"));
    const QString table =
        " CELLPADDING=" + dq("2") + " CELLSPACING=" + dq("0") + " BORDER=" + dq("1") + " bordercolor=#C0C0C0>";
    const QString heading50 =
        "<P ALIGN=CENTER><FONT SIZE=" + dq("6") + "><FONT FACE=" + dq(Font) + "><FONT COLOR=" + dq("WHITE") + ">";
    return {
        "<HEAD><meta http-equiv=" + dq("refresh") + " content=" + dq("300") + "></HEAD>",
        "<BODY BGCOLOR=" + dq("BLACK") + "><P>&nbsp;</P><P ALIGN=CENTER><TABLE WIDTH=" + dq("80%") + table,
        "<TR><TD align=center colspan=3><P ALIGN=CENTER><FONT FACE=" + dq(Font) + "><FONT SIZE=" + dq("6") +
            "><FONT COLOR=" + dq("WHITE") + ">Open Calls:</TD></TR>",
        "<TR>" + headingCell(QStringLiteral("GREEN"), QStringLiteral("All Calls")),
        headingCell(QStringLiteral("YELLOW"), htmlText(stats3status)),
        headingCell(QStringLiteral("RED"), QStringLiteral("Urgent")),
        "</TR><TR>" + figure33,
        c[0] + "</TD>" + figure33,
        c[1] + "</TD>" + figure33,
        c[2] + "</TD></TR>",
        QStringLiteral("</TABLE></P></CENTER><P ALIGN=CENTER>&nbsp;</P><CENTER><P ALIGN=CENTER>"),
        "<TABLE WIDTH=" + dq("60%") + table + "<TR><TD WIDTH=" + dq("50%") + " VALIGN=TOP><P ALIGN=CENTER>",
        "<FONT SIZE=" + dq("6") + "><FONT FACE=" + dq(Font) + "><FONT COLOR=" + dq("WHITE") +
            ">Active - Older than today</FONT></FONT></FONT></TD>",
        "<TD WIDTH=" + dq("50%") + " VALIGN=TOP>" + heading50 + "All Calls Logged Today</FONT></FONT></FONT></TD>",
        "</TR><TR> " + figure50,
        c[4] + "</TD>" + figure50,
        c[3] + "</TD></TR></TABLE></BODY>",
    };
}

QString unwritablePage(const QString& folder) {
    const QFileInfo info(folder);
    if (!folder.isEmpty() && info.isDir() && info.isWritable())
        return {};
    return pagePath(folder, QStringLiteral("monitor.htm"));
}

bool write(const Input& in) {
    if (!unwritablePage(in.folder).isEmpty())
        return false; // no pages and no message; the folder is not made here
    std::optional<db::Database> database;
    try {
        database = db::Database::open(in.dbpath);
    } catch (const db::DbError&) {
        // the counts stay empty
    }
    // Both pages show the same moment of the database.
    db::ReadSnapshot snapshot(database ? &database->connection() : nullptr);
    const bool counts = writeCountsPage(in, readCounts(in, database ? &*database : nullptr));
    const bool open = writeOpenCallsPage(in, database ? &*database : nullptr);
    return counts && open;
}

} // namespace monitorpages

#include "reports/archivelookup.h"

#include "platform/db/database.h"
#include "platform/db/dberror.h"
#include "platform/db/recordset.h"
#include "platform/db/values.h"
#include "reports/pagefile.h"
#include "reports/reportframe.h"
#include "shared/shared.h"
#include "shared/textout.h"

#include <QDir>
#include <QRegularExpression>
#include <limits>

namespace archive {
namespace {

QString text(const db::Recordset& rs, const QString& field) {
    return db::displayText(rs.field(field));
}

// The field as page text.
QString html(const db::Recordset& rs, const QString& field) {
    return htmlText(text(rs, field));
}

// The field as page text, "---" for Null.
QString dashed(const db::Recordset& rs, const QString& field) {
    return htmlText(nulldashText(rs.field(field)));
}

// The main database's lines for the customer: address, telephone, e-mail and notes when the customer is there.
void customerLines(PageFile& page, db::Database& main, const QString& reference) {
    const auto rs =
        main.openRecordset("SELECT * from Customers where Username = '" + SQLQuote(reference) + QLatin1Char('\''));
    if (rs->eof())
        return;
    page.writeLine("<P><font size = 3>Address: " + html(*rs, "Location") + "</P>");
    page.writeLine("<P>Tel: " + html(*rs, "Extension") + "</P>");
    page.writeLine("<P><font size = 3>Email: " + html(*rs, "Building") + "</P>");
    page.writeLine("<P>Notes: " + html(*rs, "Notes") + "</P><HR><BR>");
}

void noteLines(PageFile& page, db::Database& archiveDb, qint64 call) {
    const QString grey = QStringLiteral("<TD width = 100 valign=top><font color = #COCOCO><i>");
    const auto rs = archiveDb.openRecordset("Select * from Notes where Call = " + QString::number(call));
    for (; !rs->eof(); rs->moveNext()) {
        page.writeLine("<TABLE><TR><TD width = 100 valign=top>&nbsp;</TD><TD width = 100 valign=top><font color = "
                       "#COCOCO><i>Note:</TD><TD width = 400 valign=top><font color = #COCOCO><i>" +
                       html(*rs, "Note") + "</TD>");
        page.writeLine(grey + dashed(*rs, "Analyst") + "</TD>" + grey + dashed(*rs, "Note-date") + "</TD>" + grey +
                       dashed(*rs, "Note-time"));
        page.writeLine(QStringLiteral("</TD></TR></TABLE>"));
    }
}

void inventoryLines(PageFile& page, db::Database& main, const QString& reference) {
    const auto rs =
        main.openRecordset("SELECT * from Inventory where Details2 = '" + SQLQuote(reference) + QLatin1Char('\''));
    for (; !rs->eof(); rs->moveNext()) {
        page.writeLine("<BR><P><font size = 3><font color = #COCOCO><B>Inventory item: </B>" + html(*rs, "Type") +
                       ".    <B>Details:</B> " + html(*rs, "Details") + "</P>");
        page.writeLine("<P><font size = 3><font color = #COCOCO><B>Number: </B>" + html(*rs, "Number") + ".   " +
                       "<B>Notes: </B>" + html(*rs, "Notes") + "</P>");
    }
}

// The body of the call page after the frame; failures of the main database only drop its own lines.
void callBody(PageFile& page, db::Database& archiveDb, qint64 call, const QString& spareCaption) {
    const QString n = QString::number(call);
    const auto rs = archiveDb.openRecordset(
        "Select Username, [Date Opened], [Time Opened], [Date Closed], [Time Closed], [Time Spent], Resolution, User, "
        "Spare, Status, Query, SP3, Nom from Calls where Nom = " +
        n);
    if (rs->eof()) {
        page.writeLine("<P><font size = 5>Call not in Archive: " + n + ". </P>");
        return;
    }
    const QString reference = text(*rs, "Username");
    page.writeLine("<P><font size = 5>Archive report for call: " + n + ". </P>");
    page.writeLine(QStringLiteral("<HR>"));
    page.writeLine("<P><font size = 3>Customer: " + htmlText(db::displayText(custname(reference))) +
                   "  (Ref: " + htmlText(reference) + ")</P>");
    std::optional<db::Database> main;
    try {
        main = db::Database::open(qv::dbpath());
        // A call without a reference has no customer or items of its own.
        if (!reference.isEmpty())
            customerLines(page, *main, reference);
    } catch (const db::DbError&) {
    }
    page.writeLine("<P><font size = 3>Call logged on: " + html(*rs, "Date Opened") +
                   "   at: " + html(*rs, "Time Opened") + "</P>");
    page.writeLine("<P><font size = 3>Category: " + html(*rs, "sp3") + "</P>");
    page.writeLine("<P><font size = 3>" + htmlText(spareCaption) + ": " + html(*rs, "Spare") + "</P>");
    page.writeLine("<P><font size = 3>Resource: " + html(*rs, "Time Spent") + "</P>");
    page.writeLine("<P><font size = 3>Assigned: " + html(*rs, "User") + "</P>");
    page.writeLine("<P>Status: " + html(*rs, "Status") + "</P><BR><HR><BR>");
    page.writeLine("<P>Call: " + html(*rs, "Query") + "</P>");
    try {
        noteLines(page, archiveDb, call);
    } catch (const db::DbError&) {
    }
    page.writeLine("<P>Resolution: " + html(*rs, "Resolution") + "</P>");
    page.writeLine("<P><font size = 3>Call closed on: " + html(*rs, "Date Closed") + "</P>");
    page.writeLine("<P><font size = 3>Call closed at: " + html(*rs, "Time Closed") + "<BR><HR>");
    try {
        if (main && !reference.isEmpty())
            inventoryLines(page, *main, reference);
    } catch (const db::DbError&) {
    }
    page.writeLine(QStringLiteral("<HR><P><font color = \"black\"><font size = 3>End Report</P>"));
}

const QString TableStart = QStringLiteral("<TABLE bgcolor=#ffFFFF bordercolor= #010080 BORDER=0><TR><TD width = 100>");

void customerCallRows(PageFile& page, db::Database& archiveDb, const QString& reference) {
    const auto rs = archiveDb.openRecordset(
        "SELECT Username, [Date Opened], User, Status, Query, Sp3, Nom from Calls Where Username = '" +
        SQLQuote(reference) + "' order by Nom DESC");
    for (int n = 0; n < CustomerPageCalls && !rs->eof(); ++n, rs->moveNext()) {
        page.writeLine(TableStart);
        page.writeLine(html(*rs, "User") + "</TD><TD width = 300>" +
                       htmlText(qv::leftWhole(nulldashText(rs->field("Query")), 150)) + "</TD>");
        page.writeLine("<TD width = 100>" + html(*rs, "Date Opened") + "</TD><TD width = 100>" + html(*rs, "Nom") +
                       "</TD><TD width = 100>" + html(*rs, "Status") + "</TD><TD width = 150>" + dashed(*rs, "Sp3") +
                       " </TD>");
        page.writeLine(QStringLiteral("</TR></TABLE>"));
    }
}

// Writes the page whole, then opens it; body failures leave what was written before them.
template <typename Body> QString writePage(const QString& fileName, Body body) {
    const QString path = reportPath(fileName);
    PageFile page;
    if (!page.open(path))
        return cannotWriteText(path);
    reportheader(page);
    try {
        body(page);
    } catch (const db::DbError&) {
    }
    if (!page.commit())
        return cannotWriteText(path);
    openPage(path);
    return {};
}

} // namespace

QString archivePath(const QString& databasePath) {
    return QDir::cleanPath(pathonly(databasePath) + QStringLiteral("Quorvane-Archive.qvdb"));
}

std::optional<qint64> callNumberOf(const QString& answer) {
    static const QRegularExpression number(QStringLiteral("^([+-]?)(\\d*)(?:\\.(\\d*))?$"));
    const QRegularExpressionMatch m = number.match(answer.trimmed());
    if (!m.hasMatch() || (m.captured(2).isEmpty() && m.captured(3).isEmpty()))
        return std::nullopt;
    const QString whole = m.captured(2).isEmpty() ? QStringLiteral("0") : m.captured(2);
    bool ok = false;
    qint64 n = whole.toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    if (m.captured(1) == QLatin1String("-")) {
        n = -n;
        // Below zero a fraction takes the number one further down.
        const bool fraction = m.captured(3).contains(QRegularExpression(QStringLiteral("[1-9]")));
        if (fraction) {
            if (n == std::numeric_limits<qint64>::min())
                return std::nullopt;
            --n;
        }
    }
    return n;
}

QString archivedCallPage(const QString& archive, qint64 call, const QString& spareCaption) {
    return writePage(QStringLiteral("report-call.htm"), [&](PageFile& page) {
        db::Database archiveDb = db::Database::open(archive);
        callBody(page, archiveDb, call, spareCaption);
    });
}

QString archivedCallsForCustomer(const QString& archive, const QString& reference) {
    return writePage(QStringLiteral("archive-calls-for-customer.htm"), [&](PageFile& page) {
        page.writeLine("<P><font size = 5>Calls from Archive for: " + htmlText(db::displayText(custname(reference))) +
                       "  [" + htmlText(reference) + "]</P>");
        page.writeLine(TableStart);
        page.writeLine(QStringLiteral("Assigned: </TD><TD width = 300> Call:  </TD>"));
        page.writeLine(QStringLiteral("<TD width = 100> Date Opened: </TD><TD width = 100> Ref: </TD><TD width = "
                                      "100>Status: </TD><TD width = 150>Category: </TD>"));
        page.writeLine(QStringLiteral("</TR></TABLE><BR>"));
        db::Database archiveDb = db::Database::open(archive);
        customerCallRows(page, archiveDb, reference);
    });
}

} // namespace archive

#include "reports/quicklists.h"

#include "platform/db/database.h"
#include "platform/db/values.h"
#include "platform/db/vbformat.h"
#include "reports/pagefile.h"
#include "reports/reportframe.h"
#include "reports/reportsource.h"
#include "reports/wizardquery.h"
#include "shared/schema.h"
#include "shared/shared.h"
#include "shared/textout.h"

#include <vector>

namespace quicklists {
namespace {

using schema::calls::DateOpened;
using schema::calls::Nom;
using schema::calls::Sp2;
using schema::calls::Sp3;
using schema::calls::Status;
using schema::calls::TimeOpened;
using schema::calls::User;
using schema::calls::Username;

void lines(PageFile& page, const QStringList& texts) {
    for (const QString& t : texts)
        page.writeLine(t);
}

// The frame's opening, the list's heading and its caption row.
void startPage(PageFile& page, const QString& heading, const QStringList& captions) {
    reportheader(page);
    page.writeLine(heading);
    lines(page, captions);
}

// Each call's lines (callLines reads the current row), followed by its notes when asked.
template <class CallLines>
void eachCall(PageFile& page, ReportSource& source, ReportRows& row, bool notes, CallLines callLines) {
    while (row.next()) {
        lines(page, callLines());
        if (notes)
            source.notes(page, row.field(Nom));
        source.rowWritten();
    }
}

// The opening moment of a call, or an invalid one when either part is missing.
QDateTime opened(const ReportRows& row) {
    const QVariant d = row.field(DateOpened);
    const QVariant t = row.field(TimeOpened);
    if (db::isNull(d) || db::isNull(t))
        return {};
    const QDate date = d.typeId() == QMetaType::QDateTime ? d.toDateTime().date() : d.toDate();
    const QTime time = t.typeId() == QMetaType::QDateTime ? t.toDateTime().time() : t.toTime();
    if (!date.isValid() || !time.isValid())
        return {};
    return QDateTime(date, time);
}

const QStringList StatusCaptions = {
    QStringLiteral("<TABLE class=captions><TR><TD Class=TDNarrow>"),
    QStringLiteral("Assigned: </TD><TD Class=TDMed> Call:  </TD><TD Class=TDMed>Customer: </TD><TD "
                   "Class=TDSmall>Category: </TD>"),
    QStringLiteral("<TD Class=TDNarrow> Date Opened: </TD><TD Class=TDNarrow> Ref: </TD>"),
    QStringLiteral("</TR></TABLE><BR>"),
};

// The status report's captions with one for the seventh cell, the item.
const QStringList ItemCallsCaptions = {
    StatusCaptions[0],
    StatusCaptions[1],
    QStringLiteral(
        "<TD Class=TDNarrow> Date Opened: </TD><TD Class=TDNarrow> Ref: </TD><TD Class=TDNarrow> Item: </TD>"),
    StatusCaptions[3],
};

const QStringList CustomerCaptions = {
    QStringLiteral("<TABLE class=captions><TR><TD Class=TDNarrow>"),
    QStringLiteral("Assigned: </TD><TD Class=TDMed> Call:  </TD>"),
    QStringLiteral("<TD Class=TDNarrow> Date Opened: </TD><TD Class=TDNarrow> Ref: </TD><TD Class=TDNarrow>Status: "
                   "</TD><TD Class=TDSmall>Category: </TD>"),
    QStringLiteral("</TR></TABLE><BR>"),
};

} // namespace

QString stamp(const QDateTime& now) {
    return db::vbFormat(now, QStringLiteral("dd-mmmm-yyyy, hh-mm"));
}

void day(PageFile& page, ReportSource& source, const QDate& day, const QString& sqlDate, const QString& display,
         bool notes) {
    const QString sql = "Select Username, [Date Opened], User, Status, Query, Sp2, Sp3, Nom from Calls where[Date "
                        "Opened] = #" +
                        db::vbFormat(day, sqlDate) + "# order by  Nom";
    ReportRows row = source.rows(sql, DayLimit);
    const QString shown = display.isEmpty() ? db::displayText(day) : db::vbFormat(day, display);
    startPage(page, "<P><H3> Calls logged  - " + htmlText(shown) + ": </H3></P>",
              {QStringLiteral("<TABLE class=captions><TR>"), QStringLiteral("<TD Class=TDSmall>Assigned:</TD>"),
               QStringLiteral("<TD class=TDLarge>Call:</TD>"), QStringLiteral("<TD Class=TDMed>Customer:</TD>"),
               QStringLiteral("<TD Class=TDSmall>Category:</TD>"), QStringLiteral("<TD Class=TDNarrow>Ref:</TD>"),
               QStringLiteral("<TD Class=TDNarrow>Status:</TD>"), QStringLiteral("</TR></TABLE><BR>")});
    eachCall(page, source, row, notes, [&]() -> QStringList {
        return {QStringLiteral("<TABLE class=textbody><TR>"),
                "<TD Class=TDSmall>" + htmlText(row.dashed(User)) + "</TD>",
                "<TD class=TDLarge>" + htmlText(q150(row)) + "</TD>",
                "<TD Class=TDMed>" + htmlText(row.dashed(Sp2)) + "&nbsp;</TD>",
                "<TD Class=TDSmall>" + htmlText(row.dashed(Sp3)) + " &nbsp;</TD>",
                "<TD Class=TDNarrow>" + htmlText(row.text(Nom)) + "&nbsp;</TD>",
                "<TD Class=TDNarrow>" + htmlText(row.text(Status)) + "&nbsp;</TD>",
                QStringLiteral("</TR></TABLE>")};
    });
    page.writeLine(QStringLiteral("</TABLE>"));
}

void open(PageFile& page, ReportSource& source, const QDateTime& now, bool notes) {
    ReportRows row =
        source.rows(QStringLiteral("Select Username, [Date Opened],[Time Opened], User, Status, Query, "
                                   "SP3, Nom from Calls where Status <> 'Closed' order by  Status DESC, Nom"),
                    OpenLimit);
    startPage(
        page, "<P><h3> All Active Calls as of: " + stamp(now) + ". </H3></P>",
        {QStringLiteral("<TABLE class=captions><TR><TD Class=TDNarrow valign=top>"),
         QStringLiteral("Assigned: </TD><TD Class=TDMed valign=top> Call:  </TD><TD class=TDMed valign=top>Customer: "
                        "</TD><TD Class=TDSmall valign=top>Category: </TD>"),
         QStringLiteral(
             "<TD Class=TDNarrow valign=top> Date Opened: </TD><TD Class=TDNarrow valign=top> Ref: "
             "</TD><TD Class=TDNarrow valign=top>Status: </TD><TD Class=TDNarrow valign=top>Open For: </TD>"),
         QStringLiteral("</TR></TABLE><BR>")});
    const QString cell = QStringLiteral("</TD><TD Class=TDNarrow valign=top>");
    // A call without an opening moment keeps its row, with no duration.
    eachCall(page, source, row, notes, [&]() -> QStringList {
        return {QStringLiteral("<TABLE class=textbody><TR><TD Class=TDNarrow valign=top>"),
                htmlText(row.dashed(User)) + "</TD><TD Class=TDMed valign=top>" + htmlText(q150(row)) +
                    "</TD><TD class=TDMed valign=top>" + htmlText(source.customerName(row.dashed(Username))) +
                    " </TD><TD Class=TDSmall valign=top>" + htmlText(row.dashed(Sp3)) + " </TD>",
                "<TD Class=TDNarrow valign=top>" + htmlText(row.dashed(DateOpened)),
                cell + htmlText(row.dashed(Nom)),
                cell + htmlText(row.dashed(Status)),
                cell + FormatDuration(opened(row), now) + "</TD>",
                QStringLiteral("</TR></TABLE>")};
    });
}

void status(PageFile& page, ReportSource& source, const QString& status, bool notes) {
    ReportRows row = source.rows("Select Username, [Date Opened], User, Status, Query, Sp3, Nom from Calls where "
                                 "status = '" +
                                     SQLQuote(status) + "' order by [Date opened] DESC, [Time opened] DESC",
                                 StatusLimit);
    startPage(page, "<P><H3>" + htmlText(status) + " calls: </H3></P>", StatusCaptions);
    eachCall(page, source, row, notes, [&]() -> QStringList {
        const QVariant ref = row.field(Username);
        const QString name = source.customerName(db::isNull(ref) ? QStringLiteral("Unknown") : db::displayText(ref));
        return {QStringLiteral("<TABLE class=textbody><TR><TD Class=TDNarrow>"),
                htmlText(row.dashed(User)) + "</TD><TD Class=TDMed>" + htmlText(q150(row)) + "</TD><TD Class=TDMed>" +
                    htmlText(name) + " </TD><TD Class=TDSmall>" + htmlText(row.dashed(Sp3)) + " </TD>",
                "<TD Class=TDNarrow>" + htmlText(row.text(DateOpened)) + "</TD><TD Class=TDNarrow>" +
                    htmlText(row.text(Nom)) + "</TD>",
                QStringLiteral("</TR></TABLE>")};
    });
}

void customer(PageFile& page, ReportSource& source, const QString& reference, bool notes) {
    ReportRows row = source.rows("SELECT Username, [Date Opened], User, Status, Query, Sp3, Nom from Calls Where "
                                 "Username = '" +
                                     SQLQuote(reference) + "' order by Nom DESC",
                                 CustomerLimit);
    startPage(page,
              "<P><H3>Last 20 calls for customer: " + htmlText(source.customerName(reference)) + "  [" +
                  htmlText(reference) + "]</H3></P>",
              CustomerCaptions);
    eachCall(page, source, row, notes, [&]() -> QStringList {
        return {QStringLiteral("<TABLE class=textbody><TR><TD Class=TDNarrow>"),
                htmlText(row.text(User)) + "</TD><TD Class=TDMed><P>" + htmlText(q150(row)) + "</P></TD>",
                "<TD Class=TDNarrow>" + htmlText(row.text(DateOpened)) + "</TD><TD Class=TDNarrow>" +
                    htmlText(row.text(Nom)) + "</TD><TD Class=TDNarrow>" + htmlText(row.text(Status)) +
                    "</TD><TD Class=TDSmall>" + htmlText(row.text(Sp3)) + " </TD>",
                QStringLiteral("</TR></TABLE>")};
    });
}

void customerDates(PageFile& page, ReportSource& source, const QString& reference, const QDate& start, const QDate& end,
                   const QString& startTyped, const QString& endTyped, const QString& sqlDate, bool notes) {
    ReportRows row =
        source.rows("Select Username, [Date Opened], User, Status, Query, Nom, Sp3 from Calls where "
                    "Username = '" +
                        SQLQuote(reference) + "' AND [Date Opened] BETWEEN #" + db::vbFormat(start, sqlDate) +
                        "# AND #" + db::vbFormat(end, sqlDate) + "# order by Nom DESC",
                    CustomerDatesLimit);
    startPage(page,
              "<P><H3>Calls logged between (format = mm/dd/yyyy): " + htmlText(startTyped) + " and " +
                  htmlText(endTyped) + " for customer: " + htmlText(source.customerName(reference)) + "  [" +
                  htmlText(reference) + "]</H3></P>",
              CustomerCaptions);
    eachCall(page, source, row, notes, [&]() -> QStringList {
        return {QStringLiteral("<TABLE class=textbody><TR><TD Class=TDNarrow>"),
                htmlText(row.text(User)) + "</TD><TD Class=TDMed>" + htmlText(q150(row)) + "</TD>",
                "<TD Class=TDNarrow>" + htmlText(row.text(DateOpened)) + "</TD><TD Class=TDNarrow>" +
                    htmlText(row.text(Nom)) + "</TD><TD Class=TDNarrow>" + htmlText(row.text(Status)) +
                    "</TD><TD Class=TDSmall>" + htmlText(row.dashed(Sp3)) + " </TD>",
                QStringLiteral("</TR></TABLE>")};
    });
}

void staff(PageFile& page, ReportSource& source, const QString& analyst, bool notes) {
    ReportRows row = source.rows("Select Username, [Date Opened], User, Status, Query, sp2, Sp3, Nom from Calls "
                                 "where User = '" +
                                     SQLQuote(analyst) + "' order by Nom DESC",
                                 StaffLimit);
    startPage(page, "<P><H3>Last 50 calls for Support Staff member: " + htmlText(analyst) + "</H3>",
              {QStringLiteral("<TABLE bgcolor=#ffFFFF bordercolor= #010080 BORDER=0 class=Captions><TR><TD "
                              "class=TDNarrow>"),
               QStringLiteral("Customer: </TD><TD class=TDMed>Call: </TD>"),
               QStringLiteral("<TD class=TDNarrow> Date Opened: </TD><TD class=TDNarrow>Ref: </TD><TD "
                              "class=TDNarrow>Status: </TD><TD class=TDSmall>Category: </TD>"),
               QStringLiteral("</TR></TABLE><BR>")});
    eachCall(page, source, row, notes, [&]() -> QStringList {
        return {QStringLiteral("<TABLE bgcolor=#ffFFFF bordercolor= #010080 BORDER=0 class=textbody><TR><TD "
                               "class=TDNarrow>"),
                htmlText(row.dashed(Sp2)) + "</TD><TD class=TDMed>" + htmlText(q150(row)) + "</TD>",
                "<TD class=TDNarrow>" + htmlText(row.text(DateOpened)) + "</TD><TD class=TDNarrow>" +
                    htmlText(row.text(Nom)) + "</TD><TD class=TDNarrow>" + htmlText(row.text(Status)) +
                    "</TD><TD class=TDSmall>" + htmlText(row.dashed(Sp3)) + " </TD>",
                QStringLiteral("</TR></TABLE>")};
    });
}

void category(PageFile& page, ReportSource& source, const QString& category, bool separator, bool notes) {
    ReportRows row = source.rows("Select Username, [Date Opened], User, Status, Query,  Nom from Calls where sp3 = '" +
                                     SQLQuote(category) + "' order by [Date opened] DESC, [Time opened] DESC",
                                 CategoryLimit);
    startPage(page, "<P><H3>Last 50 calls by Category: " + htmlText(category) + "</H3></P>",
              {QStringLiteral("<TABLE class=captions><TR><TD Class=TDNarrow>"),
               QStringLiteral("Assigned: </TD><TD class=TDLarge> Call:  </TD><TD Class=TDSmall>Customer: </TD>"),
               QStringLiteral("<TD Class=TDNarrow> Date Opened: </TD><TD Class=TDNarrow> Ref: </TD>"),
               QStringLiteral("</TR></TABLE><BR>")});
    eachCall(page, source, row, notes, [&] {
        QStringList out;
        if (separator)
            out << QStringLiteral("<HR>");
        out << QStringLiteral("<BR><TABLE class=textbody><TR><TD Class=TDNarrow>")
            << htmlText(row.dashed(User)) + "</TD><TD class=TDLarge valign=top>" + htmlText(q150(row)) +
                   "</TD><TD Class=TDSmall valign=top>" + htmlText(source.customerName(row.dashed(Username))) + " </TD>"
            << "<TD Class=TDNarrow valign=top>" + htmlText(row.text(DateOpened)) +
                   "</TD><TD Class=TDNarrow valign=top>" + htmlText(row.text(Nom)) + "</TD>"
            << QStringLiteral("</TR></TABLE>");
        return out;
    });
}

void itemCalls(PageFile& page, ReportSource& source, const QString& answer) {
    ReportRows row = source.rows(wizard::itemCallsQuery(answer), ItemCallsLimit);
    startPage(page, "<P><H3>" + htmlText(answer) + " calls: </H3></P>", ItemCallsCaptions);
    eachCall(page, source, row, false, [&]() -> QStringList {
        const QVariant customer = row.field(Sp2);
        return {QStringLiteral("<TABLE class=textbody><TR><TD Class=TDNarrow>"),
                htmlText(row.dashed(User)) + "</TD><TD Class=TDMed>" + htmlText(q150(row)) + "</TD><TD Class=TDMed>" +
                    (db::isNull(customer) ? QStringLiteral("Unknown") : htmlText(row.text(Sp2))) +
                    " </TD><TD Class=TDSmall>" + htmlText(row.dashed(Sp3)) + " </TD>",
                "<TD Class=TDNarrow>" + htmlText(row.text(DateOpened)) + "</TD><TD Class=TDNarrow>" +
                    htmlText(row.text(Nom)) + "</TD><TD Class=TDNarrow>" + htmlText(row.text(QStringLiteral("Sp1"))) +
                    "</TD>",
                QStringLiteral("</TR></TABLE>")};
    });
}

void inventory(PageFile& page, ReportSource& source, const QDateTime& now, bool separator) {
    startPage(page, "<P><h3> Customers with Inventory: " + stamp(now) + ". </h3></P>",
              {QStringLiteral("<TABLE class=captions><TR><TD Class=TDSmall valign=top>"),
               QStringLiteral("Customer: </TD><TD Class=TDSmall valign=top>Username: </TD>"),
               QStringLiteral("<TD Class=TDMed valign=top> Extension: </TD><TD Class=TDMed valign=top> Location: "
                              "</TD>"),
               QStringLiteral("</TR></TABLE><BR>")});
    const QString prefix = QStringLiteral("<TD Class=TDNarrow valign=top><font color = #7C7C7C><i>");
    ReportRows customer = source.rows(QStringLiteral("Select Name, Username, Extension, Location from Customers"));
    if (!source.database())
        return;
    // One item query per customer, prepared once.
    ReportRows item = ReportRows::prepared(source.database()->shared(),
                                           QStringLiteral("Select Type, details, Number, Notes, Number2, Notes2 from "
                                                          "Inventory where details2 = ?1"),
                                           source.tolerant());
    while (customer.next()) {
        const QVariant ref = customer.field(Username);
        if (db::isNull(ref))
            continue; // no reference owns no items (an empty owner is not "no owner")
        struct Item {
            QString type, rest;
        };
        std::vector<Item> items;
        item.rerun(db::displayText(ref));
        while (item.next()) {
            QString rest;
            for (const char* f : {"Details", "Number", "Notes", "Number2", "Notes2"})
                rest += prefix + htmlText(item.text(QLatin1String(f))) + "</TD>";
            items.push_back({htmlText(item.text(QStringLiteral("Type"))), rest});
        }
        if (items.empty())
            continue;
        if (separator)
            page.writeLine(QStringLiteral("<HR>"));
        lines(page,
              {QStringLiteral("<TABLE class=textbody><TR><TD Class=TDSmall valign=top>"),
               htmlText(customer.text(QStringLiteral("Name"))) + " </TD><TD Class=TDSmall valign=top>" +
                   htmlText(db::displayText(ref)) + " </TD>",
               "<TD Class=TDMed valign=top>" + htmlText(customer.text(QStringLiteral("Extension"))) +
                   "</TD><TD Class=TDMed valign=top>" + htmlText(customer.text(QStringLiteral("Location"))) + "</TD>",
               QStringLiteral("</TR></TABLE>")});
        for (const Item& i : items)
            lines(page, {QStringLiteral("<TABLE class=inventory><TR><TD Class=TDNarrow valign=top>&nbsp;</TD><TD "
                                        "Class=TDNarrow valign=top><font color = #7C7C7C><i>Item:</TD>"),
                         prefix + i.type + "</TD>", i.rest, QStringLiteral("</TR></TABLE>")});
    }
}

} // namespace quicklists

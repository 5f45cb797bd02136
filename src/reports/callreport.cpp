#include "reports/callreport.h"

#include "reports/callnotespage.h"
#include "reports/pagefile.h"
#include "reports/reportframe.h"
#include "reports/reportsource.h"
#include "shared/shared.h"
#include "shared/textout.h"

#include <optional>

void writeCallReport(PageFile& page, ReportSource& source, const QString& call, const QString& spareCaption) {
    const std::optional<qint64> number = callnumber(call);
    const QString nom = number ? QString::number(*number) : QString();

    // Only a whole number becomes SQL; any other text reads nothing.
    ReportRows row;
    if (number)
        row = source.rows("Select Username, [Date Opened], [Time Opened], [Date Closed], [Time Closed], [Time "
                          "Spent], Resolution, User, Spare, Status, Query, SP3, Nom from Calls where Nom = " +
                              nom,
                          1);
    const bool isCall = row.next();
    const QString reference = row.text(QStringLiteral("Username"));
    // The notes below are this call's, never those of the call reported before.
    notescall() = nom;

    reportheader(page);
    page.writeLine("<P><H4>Full report for call: " + htmlText(call) + ". </H3></P>");
    page.writeLine(QStringLiteral("<HR>"));
    const QString name = isCall ? source.customerName(reference) : QString();
    page.writeLine("<P><H5>Customer: " + htmlText(name) + "  (Ref: " + htmlText(reference) + ")</P>");

    ReportRows customer;
    if (isCall && !reference.isEmpty())
        customer = source.rows("SELECT * from Customers where Username = '" + SQLQuote(reference) + "'", 1);
    customer.next();
    page.writeLine("<P><H5>Address: " + htmlText(customer.text(QStringLiteral("Location"))) + "</P>");
    page.writeLine("<P><H5>Tel: " + htmlText(customer.text(QStringLiteral("Extension"))) + "</P>");
    page.writeLine("<P><H5>Email: " + htmlText(customer.text(QStringLiteral("Building"))) + "</P>");
    page.writeLine("<P><H5>Notes: " + htmlText(customer.text(QStringLiteral("Notes"))) + "</P><HR><BR>");

    page.writeLine("<P><H5>Call logged on: " + htmlText(row.text(QStringLiteral("Date Opened"))) +
                   "   at: " + htmlText(row.text(QStringLiteral("Time Opened"))) + "</P>");
    page.writeLine("<P><H5>Category: " + htmlText(row.text(QStringLiteral("sp3"))) + "</P>");
    page.writeLine("<P><H5>" + htmlText(spareCaption) + ": " + htmlText(row.text(QStringLiteral("Spare"))) + "</P>");
    page.writeLine("<P><H5>Resource: " + htmlText(row.text(QStringLiteral("Time Spent"))) + "</P>");
    page.writeLine("<P><H5>Assigned: " + htmlText(row.text(QStringLiteral("User"))) + "</P>");
    page.writeLine("<P><H5>Status: " + htmlText(row.text(QStringLiteral("Status"))) + "</P><BR><HR><BR>");
    page.writeLine("<P><H5><B>Call Details: <BR><BR></B>" + htmlbreaks(row.field(QStringLiteral("Query"))) + "</P>");
    if (number)
        source.notes(page, *number);
    page.writeLine("<P><H5><B>Resolution: <BR><BR></B>" + htmlbreaks(row.field(QStringLiteral("Resolution"))) + "</P>");
    page.writeLine("<P><H5><BR><BR>Call closed on: " + htmlText(row.text(QStringLiteral("Date Closed"))) + "</P>");
    page.writeLine("<P><H5>Call closed at: " + htmlText(row.text(QStringLiteral("Time Closed"))) + "<BR><HR>");

    if (isCall && !reference.isEmpty()) {
        ReportRows item = source.rows("SELECT * from Inventory where Details2 = '" + SQLQuote(reference) + "'");
        while (item.next()) {
            page.writeLine(QStringLiteral("<BR><P><H5><font color = #7C7C7C><B>Inventory: </B></P>"));
            page.writeLine("<P><H5><font color = #7C7C7C><B>" + htmlText(item.text(QStringLiteral("Type"))) +
                           ". &nbsp;&nbsp;      " + htmlText(item.text(QStringLiteral("Details"))) +
                           ".&nbsp;&nbsp;       " + htmlText(item.text(QStringLiteral("Number"))) +
                           ".  &nbsp;&nbsp;    " + htmlText(item.text(QStringLiteral("Notes"))) + "</B></P>");
        }
    }
    page.writeLine(QStringLiteral("<HR>"));

    ReportRows audit;
    if (number)
        audit = source.rows("SELECT Audit from Calls where Nom = " + nom, 1);
    audit.next();
    page.writeLine(QStringLiteral("<BR><P><H5><font color = #7C7C7C><B>Audit Trail: </B><BR>"));
    page.writeLine("<P>" + htmlbreaks(audit.field(QStringLiteral("Audit"))) + "</P>");
    page.writeLine(QStringLiteral("<HR><P><font color = \"black\"><H5>End Report</P>"));
}

#include "reports/inventorytype.h"

#include "reports/pagefile.h"
#include "reports/quicklists.h"
#include "reports/reportsource.h"
#include "shared/shared.h"
#include "shared/textout.h"

namespace inventorytype {

void head(PageFile& page) {
    page.writeLine(QStringLiteral("<head><style type=\"text/css\">"));
    page.writeLine(QStringLiteral("<!-- body {font-family: Arial, Helvetica, sans-serif;color: black;}-->"));
    page.writeLine(QStringLiteral("</style></head> "));
    page.writeLine(QStringLiteral("<BODY bgcolor = white>"));
    page.writeLine(QStringLiteral("<TABLE WIDTH=398 CELLPADDING=2 CELLSPACING=0 BORDER=0><TR><TD WIDTH=100% "
                                  "VALIGN=TOP><P><IMG SRC=\"logo.png\"  HSPACE=0 BORDER=0></TD></TR></TABLE><HR><BR>"));
}

void write(PageFile& page, ReportSource& source, const QString& t, const QDateTime& now) {
    head(page);
    page.writeLine("<P><font size = 5> Inventory Report for type: " + htmlText(t) + ".   " + quicklists::stamp(now) +
                   ". </P>");
    page.writeLine(QStringLiteral("<BR>"));
    ReportRows row = source.rows("Select number, details, details2, Notes, Notes2  from Inventory where Type = '" +
                                 SQLQuote(t) + "'");
    const auto cell = [](int width, const QString& value) {
        return "<TD width = " + QString::number(width) + " valign=top><font color = #COCOCO><i>" + htmlText(value) +
               "</TD>";
    };
    while (row.next()) {
        const QString owner = row.text(QStringLiteral("Details2"));
        const bool noOwner = row.field(QStringLiteral("Details2")).isNull();
        page.writeLine(QStringLiteral("<TABLE><TR>"));
        page.writeLine(cell(200, noOwner ? QStringLiteral("User Not Found") : source.customerName(owner)) +
                       cell(100, owner) + cell(300, row.text(QStringLiteral("Details"))) +
                       cell(150, row.text(QStringLiteral("Number"))) + cell(300, row.text(QStringLiteral("Notes"))) +
                       cell(300, row.text(QStringLiteral("Notes2"))));
        page.writeLine(QStringLiteral("</TR></TABLE>"));
    }
}

QStringList types(ReportSource& source) {
    QStringList out;
    ReportRows row = source.rows(QStringLiteral("SELECT distinct Type from Inventory"));
    while (row.next()) {
        const QVariant t = row.field(QStringLiteral("Type"));
        if (!t.isNull() && t.isValid())
            out << row.text(QStringLiteral("Type"));
    }
    return out;
}

} // namespace inventorytype

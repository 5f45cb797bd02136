#include "reports/callsheet.h"

namespace {

QString crlf(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return text;
}

} // namespace

QString callsheetText(const QString& heading, bool letterhead, const CallSheetFields& f) {
    const QString rule(95, QLatin1Char('_'));
    const QString nl = QStringLiteral("\r\n");
    QString text = nl.repeated(letterhead ? 14 : 4) + heading;
    const auto line = [&](const QString& l) { text += nl + l; };
    line(rule);
    line({});
    line("Customer Details: " + f.customerName + "   (" + f.reference + ").");
    line({});
    line("Address: " + f.address);
    line("Phone No: " + f.phone + ".    Email: " + f.email);
    line({});
    line({});
    line("Call Reference: " + f.call + ".   Call Status: " + f.status + ".  " + "Assigned to: " + f.assignee + ".");
    line("Logged: " + f.dateOpened + "   " + f.timeOpened + ".    Closed:" + f.dateClosed + "   " + f.timeClosed + " ");
    line({});
    line(rule);
    line({});
    line(crlf(f.description));
    line({});
    line(rule);
    line({});
    line(crlf(f.resolution));
    line({});
    line(rule);
    line({});
    line(QStringLiteral("Comment:"));
    line({});
    line({});
    line(rule);
    line({});
    line({});
    line({});
    line(" Signed:" + QString(60, QLatin1Char('_')) + "Date:" + QString(24, QLatin1Char('_')));
    return text;
}

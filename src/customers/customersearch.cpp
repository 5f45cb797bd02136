#include "customers/customersearch.h"

#include "callentry/callrules.h"
#include "shared/shared.h"

namespace customers {

QString cleanSearchText(const QString& text) {
    QString clean = SQLQuote(text);
    clean.remove(QLatin1Char('*'));
    return clean.toLower();
}

QString nameSearchSql(const QString& text) {
    return QStringLiteral("SELECT Name, Username, Location from Customers where Name LIKE '*") + cleanSearchText(text) +
           QStringLiteral("*'");
}

QString callsForCustomerSql(const QString& reference, const QString& datesetting, const QString& sortorder,
                            bool exact) {
    return QStringLiteral("Select Nom, sp3,  sp1, sp4,  Query, User, Username, sp2, Status, Logged, Contact, "
                          "[Time Opened],[Time Spent], Spare, Format$([Date Closed],'") +
           datesetting + QStringLiteral("')as [Date Closed], Format$([Date Opened],'") + datesetting +
           QStringLiteral("')as [Date Opened]  from Calls where ") +
           callrules::referenceMatchText(QStringLiteral("Username"), reference, exact) +
           QStringLiteral(" ORDER by Status DESC, Nom ") + sortorder;
}

QString listSql(const QString& order) {
    const QString column =
        order.compare(QLatin1String("Username"), Qt::CaseInsensitive) == 0 ? order : QStringLiteral("Name");
    return QStringLiteral("Select * from Customers ORDER by ") + column;
}

QString pickerByNameSql() {
    return QStringLiteral("SELECT Name, Username from Customers ORDER by Name");
}

QString pickerByReferenceSql() {
    return QStringLiteral("SELECT Username from Customers ORDER by Username");
}

QString byNameSql() {
    return QStringLiteral("Select * from Customers ORDER by name");
}

QString allSql() {
    return QStringLiteral("Select * from Customers");
}

QString noCustomerSql() {
    return QStringLiteral("SELECT * from Customers where Username = ''");
}

} // namespace customers

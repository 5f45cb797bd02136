#include "customers/customersearch.h"

#include "callentry/callrules.h"
#include "platform/db/jetsql.h"
#include "platform/db/recordset.h"
#include "shared/shared.h"

namespace customers {

QString nameSearchSql(const QString& text) {
    return QStringLiteral("SELECT Name, Username, Location from Customers where Name LIKE '*") +
           db::jet::likeLiteral(SQLQuote(text), db::LikeDialect::Dao) + QStringLiteral("*'");
}

int findByName(const db::Recordset& customers, const QString& text, int from) {
    const int name = customers.fieldIndex(QStringLiteral("Name"));
    if (name < 0)
        return -1;
    const QString exact = QLatin1Char('%') + db::jet::likeLiteral(text, db::LikeDialect::Ado) + QLatin1Char('%');
    // Find reads every "*" as "%", in brackets too: a star is looked for as any one character, and each row
    // found is checked against the text itself.
    QString near = exact;
    near.replace(QLatin1Char('*'), QLatin1Char('_'));
    const QString criterion = QStringLiteral("Name LIKE '") + SQLQuote(near) + QLatin1Char('\'');
    for (int row = customers.locate(criterion, from); row >= 0; row = customers.locate(criterion, row + 1))
        if (db::jet::likeMatch(customers.text(row, name), exact, db::LikeDialect::Ado))
            return row;
    return -1;
}

QString callsForCustomerSql(const QString& reference, const QString& datesetting, const QString& sortorder,
                            bool exact) {
    return QStringLiteral("Select Nom, sp3,  sp1, sp4,  Query, User, Username, sp2, Status, Logged, Contact, "
                          "[Time Opened],[Time Spent], Spare, Format$([Date Closed],'") +
           SQLQuote(datesetting) + QStringLiteral("')as [Date Closed], Format$([Date Opened],'") +
           SQLQuote(datesetting) + QStringLiteral("')as [Date Opened]  from Calls where ") +
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

QString noCustomerSql() {
    return QStringLiteral("SELECT * from Customers where Username = ''");
}

} // namespace customers

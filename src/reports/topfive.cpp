#include "reports/topfive.h"

#include "platform/db/database.h"
#include "platform/db/values.h"
#include "platform/db/vbformat.h"
#include "shared/shared.h"

namespace topfive {
namespace {

QString dateLiteral(const QDate& day, const QString& sqldateformat) {
    return QLatin1Char('#') + db::vbFormat(day, sqldateformat) + QLatin1Char('#');
}

// A Null category would take one of the five places and then be left out, hiding a fifth category.
QString topSql(const QString& where, const QString& beforeGroup) {
    return "SELECT top 5 Sp3, count(1) as cntr from Calls " + where + " AND sp3 Is Not Null" + beforeGroup +
           "group by sp3 order by count(1) desc";
}

} // namespace

Scope activeCalls() {
    const QString where = QStringLiteral("where Status <> 'Closed'");
    return {QStringLiteral("Top 5 categories - active calls"), where, topSql(where, QStringLiteral("  "))};
}

Scope loggedToday(const QDate& today, const QString& sqldateformat) {
    const QString where = "where [Date Opened] = " + dateLiteral(today, sqldateformat);
    return {QStringLiteral("Top 5 categories - calls logged today"), where, topSql(where, QStringLiteral("  "))};
}

Scope loggedBetween(const QDate& from, const QDate& to, const QString& sqldateformat) {
    const QString pattern = db::shortDatePattern();
    const QString where =
        "where [Date Opened] between " + dateLiteral(from, sqldateformat) + " and " + dateLiteral(to, sqldateformat);
    return {"Top 5 categories - calls logged between " + from.toString(pattern) + " and " + to.toString(pattern) + ".",
            where, topSql(where, QStringLiteral(" "))};
}

std::vector<Row> run(const QString& dbpath, const QString& sql) {
    db::Database database = db::Database::open(dbpath);
    const auto rs = database.openRecordset(sql);
    std::vector<Row> rows;
    for (int r = 0; r < rs->rowCount(); ++r) {
        const QVariant category = rs->value(r, 0);
        if (db::isNull(category))
            continue;
        rows.push_back({db::displayText(category), rs->value(r, 1).toInt()});
    }
    return rows;
}

QString totalText(int total) {
    return "  [Total Records found = " + QString::number(total) + "].";
}

float barWidth(int count, int largest) {
    if (largest <= 0)
        return 0.0f;
    return FullScale * static_cast<float>(count) / static_cast<float>(largest);
}

QString lookupSql(const QString& where, const QString& category, const QString& datesetting, const QString& sortorder) {
    return "Select Nom, sp3,  sp1, sp4,  Query, User, Username, sp2, Status, [Time Opened],[Time Spent], Spare, "
           "Format$([Date Closed],'" +
           SQLQuote(datesetting) + "') as [Date Closed], Format$([Date Opened],'" + SQLQuote(datesetting) +
           "')as [Date Opened]  from Calls " + where + " AND Sp3 = '" + SQLQuote(category) +
           "'  ORDER by Status DESC, Nom " + sortorder;
}

} // namespace topfive

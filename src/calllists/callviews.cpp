#include "calllists/callviews.h"

#include "callentry/callrules.h"
#include "platform/db/database.h"
#include "platform/db/jetsql.h"
#include "platform/db/recordset.h"
#include "platform/db/values.h"
#include "platform/db/vbformat.h"
#include "shared/shared.h"

#include <algorithm>

namespace callviews {
namespace {

const char* const kFields[ColumnCount] = {"",           "sp4",         "Nom",         "User",        "sp3",   "sp2",
                                          "Username",   "Query",       "Contact",     "Status",      "sp1",   "Spare",
                                          "Time Spent", "Date Opened", "Time Opened", "Date Closed", "Logged"};

QString quoted(const QString& text) {
    return QStringLiteral("'") + SQLQuote(text) + QStringLiteral("'");
}

QString dateLiteral(const ListOptions& o, const QDate& day) {
    return QStringLiteral("#") + db::vbFormat(day, o.sqldateformat) + QStringLiteral("#");
}

QString view(const ListOptions& o, const QString& where) {
    return selectFrom(o) + (where.isEmpty() ? QString() : QStringLiteral(" where ") + where) + orderBy(o);
}

int countOf(db::Database& database, const QString& sql) {
    auto rs = database.openRecordset(sql);
    return rs->eof() ? 0 : rs->field(0).toInt();
}

} // namespace

QString fieldOfColumn(int col) {
    return col >= 0 && col < ColumnCount ? QString::fromLatin1(kFields[col]) : QString();
}

QString captionOfColumn(int col, const QString& spareCaption) {
    static const QStringList captions = {
        "",       "",     "Ref", "Assigned", "Category",    "Customer Name", "Customer Ref", "Query",    "Contact",
        "Status", "Item", "",    "Resource", "Date Opened", "Time",          "Date Closed",  "Logged By"};
    if (col == 11)
        return spareCaption;
    return col >= 0 && col < captions.size() ? captions[col] : QString();
}

int defaultWidth(int col) {
    static const int widths[ColumnCount] = {200,  0, 800, 1500, 1500, 1800, 0,    3500, 0,
                                            1500, 0, 0,   0,    1200, 900,  1500, 0};
    return col >= 0 && col < ColumnCount ? widths[col] : 0;
}

QString selectFrom(const ListOptions& o) {
    const QString ds = SQLQuote(o.datesetting);
    return QStringLiteral("Select Nom, sp3, sp1, sp4, Query, User, Username, sp2, Status, Logged, Contact, "
                          "[Time Opened], [Time Spent], Spare, Format$([Date Closed],'") +
           ds + QStringLiteral("') as [Date Closed], Format$([Date Opened],'") + ds +
           QStringLiteral("') as [Date Opened] from Calls");
}

QString orderBy(const ListOptions& o) {
    // Both go into SQL as they stand, so only the known values pass.
    const QString col = QStringList{"Nom", "Status", "sp3"}.contains(o.sortcolumn) ? o.sortcolumn : "Nom";
    const QString dir = o.sortorder == QLatin1String("DESC") ? QStringLiteral("DESC") : QStringLiteral("ASC");
    return QStringLiteral(" ORDER by ") + col + QLatin1Char(' ') + dir +
           (col == QLatin1String("Nom") ? QString() : QStringLiteral(", Nom ") + dir);
}

QString allCalls(const ListOptions& o) {
    return view(o, {});
}

QString workload(const ListOptions& o, const QString& analyst, bool includeUnassigned) {
    QString who = QStringLiteral("User = ") + quoted(analyst);
    if (includeUnassigned)
        who = QStringLiteral("(") + who + QStringLiteral(" OR User = '---')");
    return view(o, who + QStringLiteral(" AND Status <> 'Closed'"));
}

QString openCalls(const ListOptions& o) {
    return view(o, QStringLiteral("Status <> 'Closed'"));
}

QString unassignedCalls(const ListOptions& o) {
    return view(o, QStringLiteral("User = '---' AND Status <> 'Closed'"));
}

QString closedOn(const ListOptions& o, const QDate& day) {
    return view(o, QStringLiteral("Status = 'Closed' AND [Date Closed] = ") + dateLiteral(o, day));
}

QString byStatus(const ListOptions& o, const QString& status) {
    return view(o, "Status = " + quoted(status));
}
QString byAnalyst(const ListOptions& o, const QString& analyst) {
    return view(o, "User = " + quoted(analyst));
}
QString byCategory(const ListOptions& o, const QString& category) {
    return view(o, "sp3 = " + quoted(category));
}
QString byCustomer(const ListOptions& o, const QString& reference, bool exact) {
    return view(o, callrules::referenceMatchText(QStringLiteral("Username"), reference, exact));
}
QString openedOn(const ListOptions& o, const QDate& day) {
    return view(o, QStringLiteral("[Date Opened] = ") + dateLiteral(o, day));
}

QString byKeyword(const ListOptions& o, const QString& keyword) {
    // The word is a plain text to look for. The list runs through a data control, so its wildcards are % and _.
    const QString word = db::jet::likeLiteral(keyword, db::LikeDialect::Ado);
    const QString pattern = quoted(QStringLiteral("%") + word + QStringLiteral("%"));
    return view(o, QStringLiteral("(Query LIKE ") + pattern + QStringLiteral(" OR Resolution LIKE ") + pattern +
                       QStringLiteral(" OR sp2 LIKE ") + pattern + QStringLiteral(")"));
}

QString mostRecentSql(const QString& jetSql, int max) {
    const std::optional<db::jet::PlainSelect> p = db::jet::splitPlainSelect(jetSql);
    if (!p || p->table.compare(QLatin1String("Calls"), Qt::CaseInsensitive) != 0 || max < 0)
        return {};
    // The newest calls come straight from the call number (the row id, also the tail of every index), so
    // only the rows shown are read, and formatting in the select list runs for them alone. A query without
    // an order shows them oldest first, as the table reads.
    return QStringLiteral("SELECT ") + p->list + QStringLiteral(" FROM (SELECT * FROM Calls") +
           (p->where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + p->where) +
           QStringLiteral(" ORDER BY Nom DESC LIMIT ") + QString::number(max) + QStringLiteral(") AS Calls ORDER BY ") +
           (p->orderBy.isEmpty() ? QStringLiteral("Calls.Nom") : p->orderBy);
}

std::vector<int> mostRecentRows(const std::vector<qint64>& noms, int max) {
    std::vector<int> rows;
    const int n = static_cast<int>(noms.size());
    if (n <= max) {
        for (int i = 0; i < n; ++i)
            rows.push_back(i);
        return rows;
    }
    if (max <= 0)
        return rows;
    std::vector<qint64> sorted = noms;
    std::nth_element(sorted.begin(), sorted.begin() + (max - 1), sorted.end(), std::greater<>());
    const qint64 threshold = sorted[max - 1];
    for (int i = 0; i < n && static_cast<int>(rows.size()) < max; ++i)
        if (noms[i] >= threshold)
            rows.push_back(i);
    return rows;
}

StatsSql statsSql(const QDate& today, const QString& analyst, bool mine, const QString& thirdStatus,
                  const QString& pieMode, const QString& sqldateformat) {
    StatsSql q;
    // +User (same collation) so the open calls' ranges of the status index serve the counts, not the
    // assignee's index with a look-up of every call they ever had.
    const QString me = mine ? QStringLiteral(" AND +User = ") + quoted(analyst) : QString();
    const QString day = QStringLiteral("#") + db::vbFormat(today, sqldateformat) + QStringLiteral("#");
    // "Not closed" as two ranges of the status index, so only the few open calls are read rather than
    // every call; the same rows as Status <> 'Closed' (Null in neither).
    const QString notClosed = QStringLiteral("(Status < 'Closed' OR Status > 'Closed')");
    q.counts = {"Select count(Nom) as count4 from Calls where [Date Opened] = " + day + me,
                "SELECT count(Nom) as count1 from Calls where " + notClosed + me,
                "SELECT count(Nom) as count2 from Calls where Status = " + quoted(thirdStatus) + me,
                "SELECT count(Nom) as count3 from Calls where Status = 'Urgent'" + me,
                "SELECT count(Nom) from Calls where +User = '---' AND " + notClosed};
    // Grouping by +column (same collation) keeps SQLite from walking the whole column index for the groups.
    if (pieMode == QLatin1String("sp3") || pieMode == QLatin1String("User"))
        q.pie = "SELECT top 3 " + pieMode + ", count(1) as cntr from Calls where " + notClosed + me + " group by +" +
                pieMode + " order by count(1) desc";
    return q;
}

Stats computeStats(const QString& dbpath, const QDate& today, const QString& analyst, bool mine,
                   const QString& thirdStatus, const QString& pieMode, const QString& sqldateformat) {
    Stats s;
    auto database = db::Database::open(dbpath);
    const StatsSql q = statsSql(today, analyst, mine, thirdStatus, pieMode, sqldateformat);
    s.loggedToday = countOf(database, q.counts[0]);
    s.open = countOf(database, q.counts[1]);
    s.third = countOf(database, q.counts[2]);
    s.urgent = countOf(database, q.counts[3]);
    s.unassigned = countOf(database, q.counts[4]);
    if (!q.pie.isEmpty()) {
        auto rs = database.openRecordset(q.pie);
        for (; !rs->eof(); rs->moveNext())
            s.pie.append({db::displayText(rs->field(0)), rs->field(1).toInt()});
    }
    return s;
}

QString noCalls() {
    return QStringLiteral("SELECT * from Calls where Nom = 0");
}

QString openCount() {
    return QStringLiteral("SELECT count(Nom) as count1 from Calls where Status <> 'Closed'");
}

} // namespace callviews

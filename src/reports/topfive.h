#pragma once

#include <QDate>
#include <QString>
#include <vector>

// The top-five categories chart: its three scopes, the query that counts calls by category and the list query
// of one category's calls.
namespace topfive {

// A scope as the window shows and queries it.
struct Scope {
    QString title; // the title before the total is added
    QString where; // the filter clause, beginning with "where "; the category list query reuses it
    QString sql;   // the top-five query
};

Scope activeCalls();
Scope loggedToday(const QDate& today, const QString& sqldateformat);
// The title shows both dates in the short date form; the SQL carries them in sqldateformat.
Scope loggedBetween(const QDate& from, const QDate& to, const QString& sqldateformat);

struct Row {
    QString category;
    int count = 0;
};
// Runs a top-five query: one row per category in the query's order, ties at fifth place included. Calls
// without a category are not counted. db::DbError when it cannot be read.
std::vector<Row> run(const QString& dbpath, const QString& sql);

// "  [Total Records found = n]." for the title.
QString totalText(int total);

// The width in twips of a bar for count against the largest count.
inline constexpr float FullScale = 8025.0f;
float barWidth(int count, int largest);

// The call list's query for one category of a scope.
QString lookupSql(const QString& where, const QString& category, const QString& datesetting, const QString& sortorder);

} // namespace topfive

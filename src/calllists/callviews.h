#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <vector>

// The call-list views, their SQL and the fixed column layout of the call list.
namespace callviews {

// What every view reads from the main window.
struct ListOptions {
    QString datesetting;   // display date pattern
    QString sortcolumn;    // "Nom", "Status" or "sp3"
    QString sortorder;     // "ASC" or "DESC"
    QString sqldateformat; // pattern for dates between "#"
};

// The call list's columns: 1 sp4 (hidden), 2 Nom, 3 User, 4 sp3, 5 sp2, 6 Username, 7 Query, 8 Contact,
// 9 Status, 10 sp1, 11 Spare, 12 Time Spent, 13 Date Opened, 14 Time Opened, 15 Date Closed, 16 Logged.
// Column 0 is the fixed narrow column. Columns are filled by field name, whatever order a query selects.
inline constexpr int ColumnCount = 17;
inline constexpr int RefColumn = 2;
inline constexpr int StatusColumn = 9;
QString fieldOfColumn(int col); // "" for column 0
QString captionOfColumn(int col, const QString& spareCaption);
int defaultWidth(int col); // twips

// The select list every view shares (dates formatted with the display pattern).
QString selectFrom(const ListOptions& o);
QString orderBy(const ListOptions& o);

QString allCalls(const ListOptions& o);
QString workload(const ListOptions& o, const QString& analyst, bool includeUnassigned);
QString openCalls(const ListOptions& o);
QString unassignedCalls(const ListOptions& o);
QString closedOn(const ListOptions& o, const QDate& day);
QString byStatus(const ListOptions& o, const QString& status);
QString byAnalyst(const ListOptions& o, const QString& analyst);
QString byCategory(const ListOptions& o, const QString& category);
// References compare as callrules::sameReference does; `exact` where a case twin exists.
QString byCustomer(const ListOptions& o, const QString& reference, bool exact = false);
QString openedOn(const ListOptions& o, const QDate& day);
QString byKeyword(const ListOptions& o, const QString& keyword);

// The list's data control before a view runs: the Calls columns and no row.
QString noCalls();
// The number of calls not closed, as the column "count1".
QString openCount();

// The query that reads only what the call list shows of a view: of its rows the max most recent (highest
// call numbers), in the view's order. "" when the view is not a plain query on Calls (the list then reads
// it whole and keeps the same rows with mostRecentRows).
QString mostRecentSql(const QString& jetSql, int max);

// Of more rows than fit, the list keeps the max most recent calls (highest numbers), in query order.
// noms holds each row's call number; rows without one count as oldest. Returns the row indexes to show.
std::vector<int> mostRecentRows(const std::vector<qint64>& noms, int max);

// The home statistics.
struct Stats {
    int loggedToday = 0;
    int open = 0;
    int third = 0; // calls in the third bar's status
    int urgent = 0;
    int unassigned = 0;
    QList<QPair<QString, int>> pie; // top three of the pie mode, largest first
};
// The dashboard's queries: the five counts (today, open, third status, urgent, unassigned) and the pie's
// top three ("" when the pie is off).
struct StatsSql {
    QStringList counts;
    QString pie;
};
StatsSql statsSql(const QDate& today, const QString& analyst, bool mine, const QString& thirdStatus,
                  const QString& pieMode, const QString& sqldateformat);
// mine: only the analyst's calls (homestats exactly "me"); pieMode "sp3", "User" or "None".
Stats computeStats(const QString& dbpath, const QDate& today, const QString& analyst, bool mine,
                   const QString& thirdStatus, const QString& pieMode, const QString& sqldateformat);

} // namespace callviews

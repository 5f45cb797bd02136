#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

class PageFile;
class ReportSource;

// The quick list pages, line for line. Each writes the whole page (frame included) into an open page file
// and reads through the report's source; the source decides whether a failing read is skipped or ends the
// report (db::DbError).
namespace quicklists {

// "dd-mmmm-yyyy, hh-mm": the moment a page was made, in its heading.
QString stamp(const QDateTime& now);

// Row caps of the lists.
inline constexpr int DayLimit = 1000;
inline constexpr int OpenLimit = 1000;
inline constexpr int StatusLimit = 1000;
inline constexpr int CustomerLimit = 20;
inline constexpr int CustomerDatesLimit = 1000;
inline constexpr int StaffLimit = 50;
inline constexpr int CategoryLimit = 50;
inline constexpr int ItemCallsLimit = 1000;

// Page file names (in the report folder).
inline const QString DayPage = QStringLiteral("report-calls.htm");
inline const QString OpenPage = QStringLiteral("report-calls-open.htm");
inline const QString StatusPage = QStringLiteral("report-calls-for-status.htm");
inline const QString CustomerPage = QStringLiteral("report-calls-for-customer.htm");
inline const QString StaffPage = QStringLiteral("report-calls-for-support.htm");
inline const QString CategoryPage = QStringLiteral("report-calls-for-cat.htm");
inline const QString InventoryPage = QStringLiteral("report-calls-inv.htm");

// Calls logged on one day, by call number. sqlDate and display are the two date patterns.
void day(PageFile& page, ReportSource& source, const QDate& day, const QString& sqlDate, const QString& display,
         bool notes);
// Every call not "Closed", with how long it has been open at `now`.
void open(PageFile& page, ReportSource& source, const QDateTime& now, bool notes);
// Calls of one status, newest first.
void status(PageFile& page, ReportSource& source, const QString& status, bool notes);
// The 20 latest calls of one customer.
void customer(PageFile& page, ReportSource& source, const QString& reference, bool notes);
// A customer's calls opened between two days (both included); the headings show the dates as typed.
void customerDates(PageFile& page, ReportSource& source, const QString& reference, const QDate& start, const QDate& end,
                   const QString& startTyped, const QString& endTyped, const QString& sqlDate, bool notes);
// The 50 latest calls assigned to one member of staff.
void staff(PageFile& page, ReportSource& source, const QString& analyst, bool notes);
// The 50 newest calls of one category; separator puts a rule before each call.
void category(PageFile& page, ReportSource& source, const QString& category, bool separator, bool notes);
// Calls whose item text holds the answer, newest first.
void itemCalls(PageFile& page, ReportSource& source, const QString& answer);
// Every customer that has inventory, with its items.
void inventory(PageFile& page, ReportSource& source, const QDateTime& now, bool separator);

} // namespace quicklists

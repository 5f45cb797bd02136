#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <array>

// The two wall-screen pages: "monitor.htm" with five large counts, reloading itself every 300 seconds, and
// "monitor-open.htm" listing the open calls with their notes.
namespace monitorpages {

struct Input {
    QString folder;        // the monitor folder; it must exist already
    QString dbpath;        // the database read
    QString stats3status;  // the status the second figure counts
    QString sqldateformat; // pattern for dates between "#"
    QDateTime now;         // taken once, so "today" is one day for every count
};

inline constexpr int MaxListed = 1000; // calls listed on the open-calls page

// The five count queries in page order of their values: open, stats3status, "Urgent", opened today, open and
// opened before today.
std::array<QString, 5> countQueries(const Input& in);

// The seventeen lines of the counts page; a count that could not be read is "".
QStringList countsPage(const std::array<QString, 5>& counts, const QString& stats3status);

// The counts page's path when the folder is missing or cannot be written (no page goes there); "" otherwise.
QString unwritablePage(const QString& folder);

// Writes both pages into the folder, each whole or not at all, and shows nothing. A folder that does not exist
// or cannot be written gets no pages; a count that cannot be read leaves its place empty; when the open calls
// cannot be read the older open-calls page stays. True when both pages were written.
bool write(const Input& in);

} // namespace monitorpages

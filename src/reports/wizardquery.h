#pragma once

#include "reports/progress.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <optional>
#include <vector>

namespace db {
class Recordset;
}

// The report wizard's side that needs no window: its query clauses, the query texts, the grid's column set
// and the CSV and HTML writers over the grid's rows.
namespace wizard {

// What the wizard keeps for the whole run, also while its window is closed and opened again.
struct State {
    QString statusclause, filterclause, dateclause, orderclause;
    QString sortdir;
    QString pagecolour, tablecolour, logopath, htmlwidth, titlesize;
};
State& state();

// The list texts and values "Run Report" reads.
struct Choices {
    QString filter;       // Combo1
    QString filterValue;  // Text1
    QString dateMode;     // Combo5
    QDate from, to;       // d1, d2
    QString status;       // Combo3
    QString direction;    // Combo2
    QString sortColumn;   // Combo4
    QString spareCaption; // the spare-field menu item's caption
};

// Sets the four clauses and the direction from the choices; a list text that matches none of its entries
// leaves its clause as the last run left it.
void runClauses(State& s, const Choices& c);
// The text the query box shows.
QString shownQuery(const State& s);
// What the query box holds before the user builds a query.
inline const QString StartingText = QStringLiteral("SELECT * FROM Calls WHERE");
// The grid's query over the same clauses; dates shown with datesetting, date sorts on the stored dates.
QString gridQuery(const State& s, const QString& datesetting);
// The grid's query when the window becomes active: every call that is not closed.
QString openCallsQuery(const QString& datesetting);

// The grid's twenty columns as the window defines them.
struct ColumnDef {
    const char* caption;
    const char* field;
    double width; // twips
};
inline constexpr int ColumnCount = 20;
inline constexpr int OpenForColumn = 18;
inline constexpr int SpareColumn = 19;
const ColumnDef& columnDef(int i);

// "#RRGGBB" of a colour number (red in the low byte); only the low six hex digits count.
QString ColorToHTML(qint64 colour);
// The number of a colour text as the settings store it: decimal or "&H..."; nullopt for anything else.
std::optional<qint64> colourNumber(const QString& text);
// A width in twips as the page writes it: tenths, single precision, "." as separator (2085.166 -> 208.5166).
QString htmlWidth(double twips);
// A Boolean setting: "True"/"False" in any case or a number; nullopt for anything else.
std::optional<bool> iniBool(const QString& text);

// One grid column as the writers see it.
struct OutputColumn {
    QString caption;
    QString field;
    double width = 0; // twips
    bool visible = true;
};

// What the page needs besides the rows.
struct PageLayout {
    QString programFolder;
    QString pagecolour, tablecolour, logopath, title;
    bool truncate = false, notes = false, separator = false;
};

// Both writers take every row of rs in order (none when rs is null) and leave it past its last row. They write the file
// whole or not at all; false when it could not be written or progress answered false (the older file stays).
bool writeCsv(const QString& path, const std::vector<OutputColumn>& columns, db::Recordset* rs, bool truncate,
              const Progress& progress = {});
bool writeHtml(const QString& path, const std::vector<OutputColumn>& columns, db::Recordset* rs,
               const PageLayout& layout, const QString& dbpath, const QDateTime& now, const Progress& progress = {});

// "Calls for an Inventory Item": the query for the answer (matched literally, anywhere in the item text).
QString itemCallsQuery(const QString& answer);
// Writes the page of those calls; "" when done, else what went wrong.
QString writeItemCalls(const QString& path, const QString& answer, const QString& dbpath);

} // namespace wizard

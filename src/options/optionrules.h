#pragma once

#include <QString>
#include <optional>

// How the options window reads the answers typed into its input boxes.
namespace optionrules {

// The answer is the number 2 (" 2", "2.0"), which the input boxes have always taken as a cancel.
bool meansCancel(const QString& answer);

// The answer as a whole number (halves to the even neighbour), kept within [low, high]; nullopt when it is not a
// number. Options store this number's decimal text, so that the next start reads back the same value.
std::optional<int> wholeNumber(const QString& answer, int low, int high);

// Every option back to its default: the settings file goes (one already gone counts as gone). The main window
// writes the database path back before it closes, so the next start still finds the database in use.
bool resetSettings(const QString& iniPath);

// The numbers the options window offers: its prompts take these and no more, and a stored number is read within
// them, so that a hand-edited or damaged file cannot break a window.
struct Range {
    int low;
    int high;
    int standard; // the default, for a text that is no whole number
};
inline constexpr Range MaxCallsRange{100, 5000, 1000};      // "Maximum number of calls displayed"
inline constexpr Range RowHeightRange{285, 700, 300};       // "Grid Row Height", twips
inline constexpr Range DropDownWidthRange{200, 500, 200};   // "Customer Drop-Down Width", pixels
inline constexpr Range GridFontSizeRange{6, 72, 10};        // [Grid Fonts] "Size": the font dialog's list of sizes
inline constexpr Range RefreshIntervalRange{1, 86400, 300}; // "Refresh Interval", seconds (no prompt offers one)

// A stored number as the windows use it: a whole number outside the range is the nearest one offered; a text
// that is no whole number is the default.
int withinRange(const QString& stored, Range range);

// Stored settings as every window that reads them uses them; a text that is not a valid value falls back.
bool isTrue(const QString& stored);         // exactly "True"
QString sortOrder(const QString& stored);   // "ASC" or "DESC" (it goes into SQL as it stands), else "ASC"
QString sortColumn(const QString& stored);  // "Nom", "Status" or "sp3", else "Nom"
QString pieMode(const QString& stored);     // "sp3", "User" or "None", else "sp3"
int maxCalls(const QString& stored);        // MaxCallsRange
int refreshInterval(const QString& stored); // RefreshIntervalRange
int rowHeight(const QString& stored);       // RowHeightRange
int dropDownWidth(const QString& stored);   // DropDownWidthRange
int gridFontSize(const QString& stored);    // within GridFontSizeRange, else its default
// [Call Grid] "Date Setting", the pattern the lists show dates in (it goes into their SQL): the pattern the program
// writes (the desktop's short date, in small letters) or one of days, months and years ("d", "m", "y") between
// spaces or the signs / - . , :, else that default.
QString dateSetting(const QString& stored);

} // namespace optionrules

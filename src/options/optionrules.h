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

} // namespace optionrules

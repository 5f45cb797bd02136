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

// Stored settings as the main window uses them at start; a text that is not a valid value falls back.
bool isTrue(const QString& stored);                  // exactly "True"
QString sortOrder(const QString& stored);            // "ASC" or "DESC" (it goes into SQL as it stands), else "ASC"
QString sortColumn(const QString& stored);           // "Nom", "Status" or "sp3", else "Nom"
int maxCalls(const QString& stored);                 // a whole number from 1 to 32767, else 1000
int refreshInterval(const QString& stored);          // seconds, at least 1 (text that is no number counts as 0)
std::optional<int> rowHeight(const QString& stored); // twips from 1 to 32767; nullopt leaves the grid's own

} // namespace optionrules

#pragma once

#include <QString>

class QAbstractItemView;
class QComboBox;
class QLineEdit;

namespace ui {

// Puts a text into a box as the program fills it: the start in view (the cursor at 0), as desktop boxes show it.
void setTextFromStart(QLineEdit* box, const QString& text);

// The box takes at most `size` characters, counted as the database counts a column's size (db::textLength):
// typing or pasting past it keeps only what fits of the new text, cut between whole characters, so the box never
// holds more than its field stores. Set again, the new size holds; 0 takes the limit away.
void limitLength(QLineEdit* box, int size);

// Once the box (an input box's, a cell editor) has selected its whole text as it opens, the selection is turned
// round: all of it still selected, so typing replaces it, but the cursor at the start, so its start shows.
void selectAllFromStartWhenShown(QLineEdit* box);

// An editable combo box shows the start of the entry chosen from its list or set by the program; typed text keeps
// its cursor.
void showChoiceFromStart(QComboBox* box);

// The box's whole text as its tool tip while the box is too narrow to show it all (an explicit tool tip wins);
// otherwise, when given, a tip of its own.
void tipWhenCut(QLineEdit* box, const QString& otherwise = QString());

// A cell's or a column heading's whole text as a tool tip where the grid shows it cut (with an ellipsis).
void tipCutCells(QAbstractItemView* view);

} // namespace ui

#pragma once

#include <QString>

class QWidget;

namespace db {
class DataControl;
}

namespace ui {

// Binds a text box (QLineEdit, QPlainTextEdit, QTextEdit), a label (QLabel) or the edit text of a combo box
// (QComboBox) to a field of a data control, as a bound control: it shows the current row's field ("" at
// BOF/EOF or when the query lacks the field) through every move and refresh, and what the user types goes
// into the current row as a pending edit (stored when the row is left or updated). Binding again replaces the
// earlier binding. A value the binding shows reads from its start; what the user types stays as typed, cursor and
// all, while it goes into the row. A text box or editable combo box takes no more characters than the field's
// column (ui::limitLength), typed or pasted.
void bindField(QWidget* w, db::DataControl* dc, const QString& field);
void unbindField(QWidget* w);

} // namespace ui

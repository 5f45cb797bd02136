#pragma once

#include "callentry/callrules.h"

#include <QString>

class Form1;
class QLineEdit;

namespace db {
class Recordset;
}

// Helpers shared by the call panel's files of the main window.
namespace callpanel {

// The Calls row on the panel (Adodc4) and the customer row (Adodc1); nullptr when there is no current row.
db::Recordset* callRow(Form1& f);
db::Recordset* customerRow(Form1& f);
// The customer row is a new customer not stored yet.
bool newCustomer(Form1& f);
// The reference of the panel's customer: the customer row's, else the call's own.
QString currentReference(Form1& f);

// Shows the fields that the bound controls cannot: the timestamps, the audit text, list choices that the
// lists lack; enables the close and re-open buttons by the status.
void sync(Form1& f);
// Fills the customer pickers from the database, unless they hold the customer list since its last change.
void fillCustomerPickers(Form1& f);
void setPickers(Form1& f, const QString& name, const QString& reference);
// Takes the texts typed into the timestamp boxes; false (after a message) when one is not a date or time.
bool commitTimestamp(Form1& f, QLineEdit* box);
bool commitTimestamps(Form1& f);
// The panel shown for a call or customer being edited, and put away again.
void showPanel(Form1& f);
void endEdit(Form1& f);
// The status, assignee, category and item as they stand now become the audited ones.
void snapshot(Form1& f);
// The reference box takes typing only for a new customer and in the customer commands.
void guardReference(Form1& f);
// Moves the customer list to the customer with this reference (no message); false when there is none.
bool locateCustomer(Form1& f, const QString& reference);
// Reads the customer list again in place (DataControl::refreshInPlace); a call on the panel whose customer the
// list did not hold stands on them when the list now does. Throws db::DbError.
void rereadCustomers(Form1& f);
// The field's value on the row as text ("" without a row or field).
using callrules::fieldText;

// Stores a new Calls row at once (so the database numbers it) and shows it on the panel, with a new customer
// row when asked; false (after a message) when the row could not be stored.
bool startCall(Form1& f, bool withNewCustomer);

// Puts an opened call away before the customer list moves; false (after a message) when what was typed could
// not be stored, and the call stays.
bool putAwayOpenedCall(Form1& f);

// The customer modes: "&Save" while adding a customer, and "Cancel" in either mode.
void saveAddedCustomer(Form1& f);
void cancelCustomerModes(Form1& f);

} // namespace callpanel

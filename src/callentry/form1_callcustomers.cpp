#include "mainwindow/form1.h"

#include "callentry/callpanel.h"
#include "callentry/callrules.h"
#include "callentry/callstore.h"
#include "calllists/calllist.h"
#include "customers/customersearch.h"
#include "platform/db/database.h"
#include "platform/db/datacontrol.h"
#include "platform/db/dberror.h"
#include "platform/db/jetsql.h"
#include "platform/db/recordset.h"
#include "platform/db/values.h"
#include "platform/widgets/dialogs.h"
#include "shared/shared.h"

#include <QLabel>
#include <QPushButton>

using callpanel::callRow;
using callpanel::customerRow;
using callpanel::endEdit;
using callpanel::fieldText;
using ui::MsgBox;

namespace {

const QString NeedReference = QStringLiteral("A Customer Reference must be entered!");

// Re-reads the customer list (so a new or renamed customer takes its place in the order) and stays on it.
void rereadQuietly(Form1& f) {
    try {
        callpanel::rereadCustomers(f);
    } catch (const db::DbError&) {
    }
}

// The placeholder call row that the customer commands add is never stored.
void dropPlaceholder(Form1& f) {
    db::Recordset* call = f.Adodc4->recordset();
    if (call && call->editMode() == db::Recordset::EditMode::Add)
        call->cancelUpdate();
}

void endCustomerMode(Form1& f) {
    f.addcustmode = false;
    f.editcustmode = false;
    f.leavecall();
    callpanel::endEdit(f);
}

} // namespace

void callpanel::saveAddedCustomer(Form1& f) {
    db::Recordset* customer = customerRow(f);
    if (!customer) {
        cancelCustomerModes(f);
        return;
    }
    const QString reference = fieldText(customer, QStringLiteral("Username"));
    if (reference.trimmed().isEmpty()) {
        MsgBox(NeedReference);
        return;
    }
    try {
        // A reference another customer has is refused there, in the storing transaction.
        f.callStore().saveCustomer(QString(), false);
    } catch (const db::DbError& e) {
        MsgBox(QStringLiteral("The customer could not be saved:\n") + e.message());
        return;
    }
    dropPlaceholder(f);
    endCustomerMode(f);
    rereadQuietly(f);
}

void callpanel::cancelCustomerModes(Form1& f) {
    try {
        db::Recordset* customer = f.Adodc1->recordset();
        if (customer && customer->editMode() != db::Recordset::EditMode::None)
            customer->cancelUpdate();
        dropPlaceholder(f);
    } catch (const db::DbError& e) {
        MsgBox(e.message());
    }
    endCustomerMode(f);
}

void Form1::saveEditedCustomer() {
    if (!editcustmode)
        return;
    db::Recordset* customer = customerRow(*this);
    if (!customer) {
        callpanel::cancelCustomerModes(*this);
        return;
    }
    const QString oldRef = Label40->text();
    const QString newRef = fieldText(customer, QStringLiteral("Username"));
    if (newRef.trimmed().isEmpty()) {
        MsgBox(NeedReference);
        return;
    }
    try {
        // Asked before the calls are announced; the save asks again in its transaction.
        if (callStore().referenceTaken(oldRef)) {
            MsgBox(callrules::referenceTakenMessage(newRef));
            return;
        }
    } catch (const db::DbError&) {
        // the save below tells what the database says
    }
    const bool carry = !oldRef.isEmpty();
    if (carry)
        MsgBox(QStringLiteral("Quorvane will now update this information for all calls/inventory associated with "
                              "this user"));
    // The customer, their calls and their items change together or not at all.
    callrules::Carried carried;
    try {
        carried = callStore().saveCustomer(oldRef, carry);
    } catch (const db::DbError& e) {
        MsgBox(QStringLiteral("The customer could not be saved; nothing was changed.\n") + e.message());
        return;
    }
    if (carry)
        MsgBox(QStringLiteral("Done editing."));
    dropPlaceholder(*this);
    endCustomerMode(*this);
    rereadQuietly(*this);
    // The call list shows the calls' new name and reference.
    if (carried.calls > 0)
        callList().rerun();
}

void callpanel::rereadCustomers(Form1& f) {
    f.Adodc1->refreshInPlace();
    // A call whose customer the list did not hold stands on them once they are read (and on nobody else).
    db::Recordset* call = callRow(f);
    if (call && !customerRow(f) && !f.addcustmode && !f.editcustmode)
        locateCustomer(f, fieldText(call, QStringLiteral("Username")));
}

void Form1::pickCustomer(const QString& reference) {
    if (addcustmode || editcustmode || reference.isEmpty() || !callpanel::callRow(*this))
        return;
    db::Recordset* customers = Adodc1->recordset();
    if (!customers)
        return;
    try {
        // An existing customer replaces the new one being typed.
        if (customers->editMode() == db::Recordset::EditMode::Add)
            customers->cancelUpdate();
        // The pickers read the file: a customer another copy added is read into the list first.
        bool found = callpanel::locateCustomer(*this, reference);
        if (!found) {
            callpanel::rereadCustomers(*this);
            found = callpanel::locateCustomer(*this, reference);
        }
        if (!found) {
            if (newcall)
                Adodc1->recordset()->addNew();
            return;
        }
    } catch (const db::DbError& e) {
        MsgBox(e.message());
        return;
    }
    db::Recordset* customer = customerRow(*this);
    callpanel::setPickers(*this, fieldText(customer, QStringLiteral("Name")),
                          fieldText(customer, QStringLiteral("Username")));
    opencallgrid();
}

void Form1::lognewcallcust() {
    if (addcustmode || editcustmode)
        return;
    db::Recordset* customer = customerRow(*this);
    const bool existing = customer && !callpanel::newCustomer(*this);
    if (newcall) {
        // A call is being logged already: it takes this customer.
        if (existing)
            pickCustomer(fieldText(customer, QStringLiteral("Username")));
        return;
    }
    // The new call replaces an opened one, which is stored first as Save stores it.
    if (!callpanel::putAwayOpenedCall(*this))
        return;
    menusoff();
    if (!callpanel::startCall(*this, !existing))
        return;
    if (existing) {
        customer = customerRow(*this);
        callpanel::setPickers(*this, fieldText(customer, QStringLiteral("Name")),
                              fieldText(customer, QStringLiteral("Username")));
        opencallgrid();
    }
}

namespace {

// The row of the customer list holding the reference as the file holds it now: the list is read again in place
// first (another copy may have added or deleted the customer since). -1 after telling the user when there is no
// such customer; a new customer being typed is passed over.
int customerInFile(Form1& f, const QString& reference, const QString& notFound) {
    int row = -1;
    try {
        callpanel::rereadCustomers(f);
        if (db::Recordset* customers = f.Adodc1->recordset()) {
            const bool skipNew = customers->editMode() == db::Recordset::EditMode::Add;
            row = callrules::findCustomer(*customers, reference, skipNew ? customers->absolutePosition() : -1);
        }
    } catch (const db::DbError& e) {
        MsgBox(e.message());
        return -1;
    }
    if (row < 0)
        MsgBox(notFound);
    return row;
}

QString referenceAt(Form1& f, int row) {
    const db::Recordset* customers = f.Adodc1->recordset();
    return customers ? customers->text(row, customers->fieldIndex(QStringLiteral("Username"))) : QString();
}

// Puts an opened call away and moves the list to the customer; false when either could not be done (told).
bool moveToCustomer(Form1& f, const QString& reference) {
    if (!callpanel::putAwayOpenedCall(f))
        return false;
    try {
        // Found again: storing the call may have changed the list's rows.
        const int row = callrules::findCustomer(*f.Adodc1->recordset(), reference);
        if (row < 0)
            return false;
        f.Adodc1->recordset()->moveTo(row);
    } catch (const db::DbError& e) {
        MsgBox(e.message());
        return false;
    }
    return true;
}

} // namespace

void Form1::logusercall(const QString& reference) {
    if (addcustmode || editcustmode || !Adodc1->recordset())
        return;
    const int row = customerInFile(*this, reference, QStringLiteral("Customer reference not found"));
    if (row < 0)
        return;
    const QString found = referenceAt(*this, row);
    if (newcall) {
        pickCustomer(found);
        return;
    }
    if (moveToCustomer(*this, found))
        lognewcallcust();
}

// An opened call is put away (what was typed stored as Save stores it) before the list moves: the panel shows the
// list's customer, and the call would go to whoever the list stood on. A refused store is told and the call stays
// open with what was typed.
bool callpanel::putAwayOpenedCall(Form1& f) {
    if (f.newcall || f.addcustmode || f.editcustmode || !callRow(f))
        return true;
    if (!commitTimestamps(f))
        return false;
    try {
        f.callStore().leave();
    } catch (const db::DbError& e) {
        MsgBox(QStringLiteral("The call could not be saved; nothing was stored.\n") + e.message());
        return false;
    }
    f.leavecall();
    endEdit(f);
    return true;
}

void Form1::FindCust(const QString& reference) {
    db::Recordset* customers = Adodc1->recordset();
    // A customer being entered holds the list until it is saved or cancelled.
    if (!customers || addcustmode || editcustmode || customers->editMode() == db::Recordset::EditMode::Add)
        return;
    const int row = customerInFile(*this, reference, QStringLiteral("No Records Found"));
    if (row < 0)
        return;
    if (newcall) {
        // The call being logged takes this customer, as a click on the list gives it.
        pickCustomer(referenceAt(*this, row));
        return;
    }
    moveToCustomer(*this, referenceAt(*this, row));
}

void Form1::findCustomerByName() {
    if (newcall || addcustmode || editcustmode)
        return; // re-reading the list would store the customer being entered
    try {
        callpanel::rereadCustomers(*this);
    } catch (const db::DbError& e) {
        MsgBox(e.message());
        return;
    }
    const QString name = ui::InputBox(QStringLiteral("Enter Customer Name"));
    if (name.isEmpty())
        return;
    if (!callpanel::putAwayOpenedCall(*this))
        return;
    // The first customer whose name holds the text as typed; none found leaves the list past its end.
    db::Recordset* list = Adodc1->recordset();
    if (!list || list->recordCount() == 0) {
        MsgBox(QStringLiteral("No Records Found"));
        return;
    }
    try {
        const int row = customers::findByName(*list, name);
        list->moveTo(row < 0 ? list->recordCount() : row);
        if (row >= 0)
            return;
    } catch (const db::DbError& e) {
        MsgBox(e.message()); // a list that cannot be read is not an empty result
        return;
    }
    MsgBox(QStringLiteral("No Records Found"));
}

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
void rereadCustomers(Form1& f) {
    try {
        f.Adodc1->refreshInPlace();
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
    rereadCustomers(f);
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
    rereadCustomers(*this);
    // The call list shows the calls' new name and reference.
    if (carried.calls > 0)
        callList().rerun();
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
        if (!callpanel::locateCustomer(*this, reference)) {
            if (newcall)
                customers->addNew();
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

void Form1::logusercall(const QString& reference) {
    if (addcustmode || editcustmode)
        return;
    db::Recordset* customers = Adodc1->recordset();
    // Looked for without moving, so a new customer being typed is not stored by the search.
    int row = -1;
    if (customers) {
        const bool skipNew = customers->editMode() == db::Recordset::EditMode::Add;
        try {
            row = callrules::findCustomer(*customers, QStringLiteral("LIKE"), reference,
                                          skipNew ? customers->absolutePosition() : -1);
        } catch (const db::DbError&) {
            row = -1;
        }
    }
    if (row < 0) {
        MsgBox(QStringLiteral("Customer reference not found"));
        return;
    }
    const QString found = db::displayText(customers->value(row, customers->fieldIndex(QStringLiteral("Username"))));
    if (newcall) {
        pickCustomer(found);
        return;
    }
    try {
        customers->moveTo(row);
    } catch (const db::DbError& e) {
        MsgBox(e.message());
        return;
    }
    lognewcallcust();
}

// An opened call is put away (what was typed kept, as on moving to another call) before the list moves: the
// panel shows the list's customer, and the call would go to whoever the list stood on. A refused store is told and
// the call stays open with what was typed.
bool callpanel::putAwayOpenedCall(Form1& f) {
    if (f.newcall || f.addcustmode || f.editcustmode || !callRow(f))
        return true;
    try {
        db::Recordset* customer = customerRow(f);
        if (customer && customer->editMode() == db::Recordset::EditMode::Edit)
            customer->update();
        f.callStore().leave();
    } catch (const db::DbError& e) {
        MsgBox(e.message());
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
    int row = -1;
    try {
        row = callrules::findCustomer(*customers, QStringLiteral("LIKE"), reference);
    } catch (const db::DbError&) {
    }
    if (row < 0) {
        MsgBox(QStringLiteral("No Records Found"));
        return;
    }
    if (newcall) {
        // The call being logged takes this customer, as a click on the list gives it.
        pickCustomer(db::displayText(customers->value(row, customers->fieldIndex(QStringLiteral("Username")))));
        return;
    }
    if (!callpanel::putAwayOpenedCall(*this))
        return;
    try {
        customers->moveTo(row);
    } catch (const db::DbError& e) {
        MsgBox(e.message());
    }
}

void Form1::findCustomerByName() {
    if (newcall || addcustmode || editcustmode)
        return; // re-reading the list would store the customer being entered
    try {
        Adodc1->refreshInPlace();
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
    } catch (const db::DbError&) {
    }
    MsgBox(QStringLiteral("No Records Found"));
}

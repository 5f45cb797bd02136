#include "mainwindow/form1.h"

#include "callentry/callpanel.h"
#include "callentry/callstore.h"
#include "customers/customerexport.h"
#include "customers/customersearch.h"
#include "customers/search.h"
#include "platform/db/datacontrol.h"
#include "platform/db/dberror.h"
#include "platform/db/recordset.h"
#include "platform/widgets/busy.h"
#include "platform/widgets/cuttext.h"
#include "platform/widgets/datagrid.h"
#include "platform/widgets/dialogs.h"
#include "platform/widgets/flexgrid.h"
#include "platform/widgets/forms.h"
#include "shared/shared.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStackedWidget>

using ui::Answer;
using ui::Buttons;
using ui::MsgBox;

namespace {

// Read anew (other copies' customers appear), standing on the same customer: a call or customer on the entry
// panel keeps its own.
void refreshCustomers(Form1& f) {
    try {
        callpanel::rereadCustomers(f);
    } catch (const db::DbError& e) {
        MsgBox(e.message());
    }
}

// The customer list in the order chosen; the choice is kept for the next start.
void orderCustomers(Form1& f, const QString& column) {
    const ui::SettingsCommand storing;
    WriteINI(QStringLiteral("Call Grid"), QStringLiteral("Sort by Name or Username"), column);
    f.Adodc1->setRecordSource(customers::listSql(column));
    refreshCustomers(f);
}

} // namespace

void Form1::connectCustomerList() {
    // The panel's customer boxes show the list's row: an opened call goes before the user moves the list.
    Datagrid1->setMoveGuard([this] { return callpanel::putAwayOpenedCall(*this); });
    connect(Datagrid1, &ui::DataGrid::clicked, this, &Form1::Datagrid1_Click);
    connect(Datagrid1, &ui::DataGrid::mouseUp, this, &Form1::Datagrid1_MouseUp);
    connect(MNUNEWCALLCUST2, &QAction::triggered, this, &Form1::lognewcallcust);
    connect(mnulistcust, &QAction::triggered, this, [this] { listByCustomer(Datagrid1->columnText(1)); });
    connect(mnuemailcust, &QAction::triggered, this, &Form1::mnuemailcust_Click);
    connect(mnuordername, &QAction::triggered, this, [this] { orderCustomers(*this, QStringLiteral("Name")); });
    connect(mnuorderref, &QAction::triggered, this, [this] { orderCustomers(*this, QStringLiteral("Username")); });
    connect(mnureflyist, &QAction::triggered, this, [this] { refreshCustomers(*this); });
    connect(mnucustexp, &QAction::triggered, this, &Form1::mnucustexp_Click);
    connect(mnucustdel, &QAction::triggered, this, &Form1::mnucustdel_Click);
    connect(mnueditcust, &QAction::triggered, this, &Form1::mnueditcust_Click);
    connect(mnuaddcust, &QAction::triggered, this, &Form1::mnuaddcust_Click);
    connect(mnusearchname, &QAction::triggered, this, &Form1::mnusearchname_Click);
}

void Form1::Datagrid1_Click() {
    lognewcallcust();
}

void Form1::Datagrid1_MouseUp(Qt::MouseButton button, const QPoint& globalPos) {
    const db::Recordset* rs = Adodc1->recordset();
    if (!rs || rs->recordCount() < 1) {
        MsgBox(QStringLiteral(" Please use the New Call button until there is at least one entry in this customer "
                              "list - other functions will become available then."));
        return;
    }
    if (button == Qt::RightButton)
        mnucust->popup(globalPos);
}

namespace {

// Both customer commands put the entry panel up with the call details hidden and both lists locked.
void showCustomerEntry(Form1& f) {
    f.datagrid2->show();
    f.Picture4->setEnabled(true);
    f.hidefields(false);
    f.upperStack->setCurrentWidget(f.Picture8);
    f.Datagrid1->setEnabled(false);
    f.datagrid2->setEnabled(false);
}

} // namespace

void Form1::mnuaddcust_Click() {
    Combo6->clear();
    Combo11->clear();
    cancelpressed = false;
    showCustomerEntry(*this);
    try {
        if (db::Recordset* rs = Adodc1->recordset())
            rs->addNew();
        if (db::Recordset* rs = Adodc4->recordset())
            rs->addNew();
    } catch (const db::DbError& e) {
        MsgBox(e.message());
    }
    Command10->setEnabled(true);
    Command9->setEnabled(true);
    addcustmode = true;
    Command8->setEnabled(false);
    menusoff();
}

void Form1::mnueditcust_Click() {
    // Every step runs even when one before it failed.
    Combo6->clear();
    Combo11->clear();
    Label40->setText(Text11->text());
    Command20->show();
    Command10->hide();
    showCustomerEntry(*this);
    try {
        if (db::Recordset* rs = Adodc1->recordset())
            rs->update();
    } catch (const db::DbError&) {
    }
    try {
        if (db::Recordset* rs = Adodc4->recordset())
            rs->addNew();
    } catch (const db::DbError&) {
    }
    Command10->setEnabled(true);
    Command9->setEnabled(true);
    Command8->setEnabled(false);
    editcustmode = true;
    ui::setTextFromStart(Combo6->lineEdit(), Text10->text());
    menusoff();
}

void Form1::mnucustdel_Click() {
    if (Datagrid1->approxCount() < 2) {
        MsgBox(QStringLiteral("There must be at least one customer in the customer list - please delete this entry "
                              "later if required."));
        return;
    }
    if (MsgBox(QStringLiteral("Are you sure you want to delete this record?."), Buttons::OkCancel) != Answer::Ok)
        return;
    // Deletion is allowed for this one record only: left on, the Delete key would remove customers without
    // asking, the last one included.
    const bool allowed = Datagrid1->allowDelete();
    Datagrid1->setAllowDelete(true);
    try {
        if (db::Recordset* rs = Adodc1->recordset()) {
            rs->deleteCurrent();
            // An opened call keeps its own customer texts rather than taking the next customer's.
            if (callStore().call())
                rs->moveTo(rs->recordCount());
        }
    } catch (const db::DbError& e) {
        MsgBox(e.message());
    }
    Datagrid1->setAllowDelete(allowed);
}

void Form1::mnucustexp_Click() {
    // The file is written whole or not at all, so a failed export never leaves a part that looks complete.
    const db::Recordset* rs = Adodc1->recordset();
    const QString path = customers::custgridPath();
    bool written = false;
    {
        ui::WaitCursor wait; // 20,000 customers take a moment
        written = rs && customers::writeCustomerList(*rs, customers::ListFields, path);
    }
    if (!written) {
        MsgBox(customers::cannotWriteMessage(path));
        return;
    }
    ShellOpen(path, 3);
}

void Form1::mnuemailcust_Click() {
    ShellOpen(QStringLiteral("mailto:") + Datagrid1->columnText(customers::EmailColumn) + QStringLiteral("?Subject="),
              1);
}

void Form1::mnusearchname_Click() {
    try {
        callpanel::rereadCustomers(*this);
    } catch (const db::DbError&) {
        // The search reads the database itself; a stale list does not stop it.
    }
    ui::showOwned(&ui::form<Search>(), this);
}

bool Form1::putAwayOpenedCall() {
    return callpanel::putAwayOpenedCall(*this);
}

void Form1::rereadCustomers() {
    callpanel::rereadCustomers(*this);
}

#include "callentry/callpanel.h"
#include "callentry/callstore.h"
#include "customers/form2.h"
#include "customers/inventory.h"
#include "mainwindow/form1.h"
#include "mainwindow/statusbar.h"
#include "platform/db/dberror.h"
#include "platform/db/recordset.h"
#include "platform/widgets/datagrid.h"
#include "platform/widgets/dialogs.h"
#include "platform/widgets/forms.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

void Form1::connectInventory() {
    connect(mnuinvserach, &QAction::triggered, this, &Form1::mnuinvserach_Click);
    connect(mnuinv, &QAction::triggered, this, &Form1::mnuinv_Click);
    connect(Command23, &QPushButton::clicked, this, &Form1::Command23_Click);
}

void Form1::mnuinvserach_Click() {
    Inventory& w = ui::form<Inventory>();
    ui::showOwned(&w, this);
    if (backimagepath != QLatin1String("None"))
        w.showBackground(backimagepath);
}

void Form1::mnuinv_Click() {
    openCustomerInventory(Datagrid1->columnText(1), Datagrid1->columnText(0));
}

void Form1::Command23_Click() {
    openCustomerInventory(Text11->text(), Combo6->currentText());
}

// One hand-over for both openers. Without a customer there is nothing to list, and items added then would
// belong to nobody.
void Form1::openCustomerInventory(const QString& reference, const QString& name) {
    if (reference.isEmpty()) {
        ui::MsgBox(QStringLiteral("No User Selected!"));
        return;
    }
    const bool open = ui::isLoaded<Form2>();
    // An item the window holds that cannot be stored keeps it on its customer (the user was told).
    if (open && !ui::form<Form2>().storePending())
        return;
    StatusBar1->setPanel(5, QStringLiteral("Inventory screen"));
    Label33->setText(reference);
    Label34->setText(dbpath);
    Form2& w = ui::form<Form2>();
    if (open)
        w.Form_Load();
    w.setWindowTitle(QStringLiteral("Inventory for ") + name);
    w.show();
    w.raise();
    w.activateWindow();
    if (backimagepath != QLatin1String("None"))
        w.showBackground(backimagepath);
}

void Form1::inventoryItemRemoved(const QString& reference, const QString& item) {
    db::Recordset* call = callpanel::callRow(*this);
    if (!call || addcustmode || editcustmode || callpanel::fieldText(call, QStringLiteral("sp1")) != item ||
        callpanel::currentReference(*this) != reference)
        return;
    try {
        // Another item of the same type and number still serves.
        if (callStore().info(reference).items.contains(item)) {
            opencallgrid();
            return;
        }
        call->setField(QStringLiteral("sp1"), QString());
    } catch (const db::DbError& e) {
        ui::MsgBox(e.message());
        return;
    }
    shownItem.clear();
    auditer(QStringLiteral("Item ") + item + QStringLiteral(" was removed from the inventory by ") + currentanalyst);
    opencallgrid();
    ui::MsgBox(QStringLiteral("The item ") + item + QStringLiteral(" has been removed from the inventory, so call ") +
               callStore().currentCallText() +
               QStringLiteral(" no longer names it as its Item. Save the call to store this."));
}

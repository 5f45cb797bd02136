#include "customers/search.h"

#include "callentry/callrules.h"
#include "customers/customersearch.h"
#include "mainwindow/form1.h"
#include "platform/db/database.h"
#include "platform/db/dberror.h"
#include "platform/db/recordset.h"
#include "platform/db/values.h"
#include "platform/widgets/colour.h"
#include "platform/widgets/flexgrid.h"
#include "platform/widgets/forms.h"
#include "platform/widgets/menus.h"

#include <QAction>
#include <QFrame>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

Search::Search(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Search"));
    setWindowTitle(QStringLiteral("Customer Search"));
    resize(560, 360);

    Text1 = ui::named(new QLineEdit(this), "Text1");
    Text1->setFont(QFont(QStringLiteral("Arial Narrow")));
    Command1 = ui::named(new QPushButton(QStringLiteral("Search"), this), "Command1");
    MSHFlexGrid1 = ui::named(new ui::FlexGrid(this), "MSHFlexGrid1");
    MSHFlexGrid1->setToolTip(QStringLiteral("Right-click for more options..  or click to log call.."));

    popup1 = ui::named(new QMenu(QStringLiteral("popupmenu"), this), "popup1");
    mnulnc = ui::menuItem(popup1, "mnulnc", QStringLiteral("Log New Call"));
    mnulocate = ui::menuItem(popup1, "mnulocate", QStringLiteral("Locate on Main Customer List"));
    mnusel = ui::menuItem(popup1, "mnusel", QStringLiteral("List Calls for Selected Customer"));

    auto* top = new QHBoxLayout;
    top->addWidget(Text1, 1);
    top->addWidget(Command1);
    auto* box = new QVBoxLayout(this);
    box->addLayout(top);
    box->addWidget(MSHFlexGrid1, 1);

    connect(Command1, &QPushButton::clicked, this, &Search::Command1_Click);
    connect(Text1, &QLineEdit::returnPressed, Command1, &QPushButton::click);
    connect(MSHFlexGrid1, &ui::FlexGrid::doubleClicked, this, &Search::mnulnc_Click);
    connect(MSHFlexGrid1, &ui::FlexGrid::keyPressed, this, [this](int key) {
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            mnulnc_Click();
    });
    connect(MSHFlexGrid1, &ui::FlexGrid::mouseDown, this, [this](Qt::MouseButton button, QPoint pos) {
        if (MSHFlexGrid1->rows() >= 1 && button == Qt::RightButton)
            popup1->popup(pos);
    });
    connect(mnulnc, &QAction::triggered, this, &Search::mnulnc_Click);
    connect(mnulocate, &QAction::triggered, this, &Search::mnulocate_Click);
    connect(mnusel, &QAction::triggered, this, &Search::mnusel_Click);

    Form_Load();
}

void Search::Form_Load() {
    const int widths[] = {200, 0, 2200, 1400, 2800};
    MSHFlexGrid1->setCols(5);
    for (int c = 0; c < 5; ++c)
        MSHFlexGrid1->setColWidth(c, widths[c]);
    MSHFlexGrid1->setRows(4);

    const Form1& main = ui::form<Form1>();
    const QColor form = ui::vbColour(main.formcolour);
    ui::fillBackground(this, form);
    const QColor panel = ui::vbColour(main.panelcolour);
    if (panel.isValid())
        MSHFlexGrid1->setBackColorFixed(panel);
}

void Search::Command1_Click() {
    MSHFlexGrid1->clear();
    if (Text1->text().isEmpty())
        return;
    try {
        auto database = db::Database::open(ui::form<Form1>().dbpath);
        auto rs = database.openRecordset(customers::nameSearchSql(Text1->text()));
        MSHFlexGrid1->setRedraw(false);
        MSHFlexGrid1->setRows(rs->recordCount() + 1);
        const int name = rs->fieldIndex(QStringLiteral("Name"));
        const int ref = rs->fieldIndex(QStringLiteral("Username"));
        const int address = rs->fieldIndex(QStringLiteral("Location"));
        for (int r = 0; r < rs->recordCount(); ++r) {
            if (db::isNull(rs->value(r, name)))
                continue; // a customer without a name keeps an empty row
            MSHFlexGrid1->setTextMatrix(r + 1, NameCol, db::displayText(rs->value(r, name)));
            MSHFlexGrid1->setTextMatrix(r + 1, RefCol, db::displayText(rs->value(r, ref)));
            MSHFlexGrid1->setTextMatrix(r + 1, AddressCol, db::displayText(rs->value(r, address)));
        }
    } catch (const db::DbError&) {
        // A search that fails lists nothing.
    }
    MSHFlexGrid1->setRedraw(true);
    MSHFlexGrid1->setFocus();
    if (MSHFlexGrid1->rows() >= 1) {
        MSHFlexGrid1->setCol(0);
        MSHFlexGrid1->setColSel(MSHFlexGrid1->cols() - 1);
    }
}

QString Search::selectedReference() const {
    return MSHFlexGrid1->textMatrix(MSHFlexGrid1->rowSel(), RefCol);
}

void Search::mnulnc_Click() {
    if (MSHFlexGrid1->rows() < 1)
        return;
    ui::form<Form1>().logusercall(selectedReference());
    ui::unload<Search>();
}

void Search::mnulocate_Click() {
    ui::form<Form1>().FindCust(selectedReference());
    ui::unload<Search>();
}

void Search::mnusel_Click() {
    Form1& main = ui::form<Form1>();
    const QString reference = selectedReference();
    bool exact = false;
    try {
        exact = callrules::caseTwin(*db::pool::acquire(main.dbpath), reference);
    } catch (const db::DbError&) {
        // the list below says what the database says
    }
    main.Picture4->setEnabled(true);
    main.DataFill(customers::callsForCustomerSql(reference, main.datesetting, main.sortorder, exact),
                  QStringLiteral("Query"));
    ui::unload<Search>();
}

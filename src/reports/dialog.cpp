#include "reports/dialog.h"

#include "mainwindow/form1.h"
#include "platform/db/database.h"
#include "platform/db/dberror.h"
#include "platform/db/values.h"
#include "platform/desktop.h"
#include "platform/widgets/busy.h"
#include "platform/widgets/colour.h"
#include "platform/widgets/cuttext.h"
#include "platform/widgets/dialogs.h"
#include "platform/widgets/forms.h"
#include "reports/inventorytype.h"
#include "reports/pagefile.h"
#include "reports/reportframe.h"
#include "reports/reportsource.h"
#include "shared/shared.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

Dialog::Dialog(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Dialog"));
    setWindowTitle(QStringLiteral("Quorvane"));
    setWindowFlag(Qt::Window);
    resize(460, 110);

    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setTextFormat(Qt::PlainText);
    Combo2 = new QComboBox(this);
    Combo2->setObjectName(QStringLiteral("Combo2"));
    Combo2->setEditable(true);
    Combo2->setInsertPolicy(QComboBox::NoInsert);
    Combo2->setMinimumWidth(200);
    // An inventory type of any length must not widen the window: the box keeps its width, shows the start of a
    // chosen type and the whole of it in its tooltip.
    Combo2->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    Combo2->setMinimumContentsLength(20);
    ui::tipWhenCut(Combo2->lineEdit());
    ui::showChoiceFromStart(Combo2);
    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));

    auto* grid = new QGridLayout(this);
    grid->addWidget(Label2, 0, 0);
    grid->addWidget(Combo2, 0, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);
    grid->addLayout(buttons, 1, 0, 1, 2);

    connect(OKButton, &QPushButton::clicked, this, &Dialog::OKButton_Click);
    connect(CancelButton, &QPushButton::clicked, this, &Dialog::CancelButton_Click);
    Form_Load();
}

void Dialog::Form_Load() {
    ui::fillBackground(this, ui::vbColour(ui::form<Form1>().panelcolour));
}

Dialog& Dialog::openFrom(QWidget* owner) {
    Dialog& d = ui::form<Dialog>();
    d.Label2->setText(QStringLiteral("Report where Inventory type = "));
    d.Combo2->clear();
    try {
        ReportSource source(qv::dbpath(), true);
        d.Combo2->addItems(inventorytype::types(source));
    } catch (const db::DbError&) {
        // an unreadable database leaves the list empty
    }
    // Filling a list selects its first entry; the box shows "Select" until the user picks or types.
    d.Combo2->setCurrentIndex(-1);
    d.Combo2->setEditText(QStringLiteral("Select"));
    ui::showOwned(&d, owner);
    return d;
}

void Dialog::htmlhead(PageFile& page) {
    inventorytype::head(page);
}

QString Dialog::getcustomer(const QString& reference) {
    return db::displayText(custname(reference));
}

QString Dialog::pagePath() {
    return desktop::programFolder() + QLatin1Char('/') + inventorytype::PageName;
}

void Dialog::OKButton_Click() {
    const QString path = pagePath();
    PageFile page;
    if (!page.open(path, PageFile::Sync::Skip)) {
        ui::MsgBox(cannotWriteText(path));
        return;
    }
    try {
        ui::WaitCursor wait;
        ReportSource source(qv::dbpath(), false);
        inventorytype::write(page, source, Combo2->currentText(), desktop::clock().now());
    } catch (const db::DbError&) {
        ui::MsgBox(QStringLiteral("Can't read the database ") + qv::dbpath());
        return;
    }
    if (!page.commit()) {
        ui::MsgBox(cannotWriteText(path));
        return;
    }
    openPage(path);
}

void Dialog::CancelButton_Click() {
    ui::unload<Dialog>();
}

#include "mainwindow/form1.h"

#include "calllists/calllist.h"
#include "mainwindow/statusbar.h"
#include "options/appearance.h"
#include "options/themes.h"
#include "platform/widgets/datagrid.h"
#include "platform/widgets/dialogs.h"
#include "platform/widgets/flexgrid.h"
#include "platform/widgets/forms.h"
#include "platform/widgets/screen.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>

void Form1::connectOptions() {
    connect(mnuthemes, &QAction::triggered, this, &Form1::openOptions);
    mnueditcatstat = new QAction(QStringLiteral("Edit Category and Status values"), mnuOptions);
    mnueditcatstat->setObjectName(QStringLiteral("mnueditcatstat"));
    mnuOptions->insertAction(mnucallsht->menuAction(), mnueditcatstat);
    connect(mnueditcatstat, &QAction::triggered, this, [this] {
        ui::MsgBox(QStringLiteral("Statuses and categories are edited from the Main Options Window: choose Options, "
                                  "then Edit Categories. The options window will open now."));
        openOptions();
    });
}

void Form1::openOptions() {
    StatusBar1->setPanel(5, QStringLiteral("Themes and Settings"));
    ui::showOwned(&ui::form<themes>(), this);
}

void Form1::lockOptionsEditing() {
    ui::form<themes>().mnueditcat->setEnabled(false);
}

void Form1::refill() {
    m_callList->rerun();
}

void Form1::applyRowHeight(int twips) {
    // The chosen height is a minimum: a large grid font keeps rows tall enough for its text.
    appearance::fitRows(Datagrid1, ui::twipsToPixels(twips), Datagrid1->font());
    datagrid2->setRowHeightMin(twips);
    appearance::fitRows(datagrid2, datagrid2->verticalHeader()->defaultSectionSize(), datagrid2->font());
    datagrid2->setWordWrap(twips > 490);
}

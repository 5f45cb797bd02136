#include "callentry/callstore.h"
#include "calllists/callviews.h"
#include "mainwindow/form1.h"
#include "platform/desktop.h"
#include "platform/widgets/dialogs.h"
#include "platform/widgets/flexgrid.h"
#include "platform/widgets/menus.h"
#include "platform/widgets/printer.h"
#include "reports/callsheet.h"
#include "reports/dialog.h"
#include "reports/quickreports.h"
#include "shared/shared.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextEdit>

void Form1::connectReports() {
    mnucallrep2 = ui::menuItem(mnucallpopup, "mnucallrep2", QStringLiteral("Full Call Report"));

    connect(mncaltod, &QAction::triggered, this, [] { dayreport(desktop::clock().today()); });
    connect(mnuyest, &QAction::triggered, this, [] { dayreport(desktop::clock().today().addDays(-1)); });
    connect(mnuopencall, &QAction::triggered, this, [] { openreport(); });
    connect(repurg, &QAction::triggered, this, [] { statusreport(); });
    connect(mnuuserrep, &QAction::triggered, this, [] { custreport(); });
    connect(callsdat, &QAction::triggered, this, [] { custdatesreport(); });
    connect(mnu20sup, &QAction::triggered, this, [] { staffreport(); });
    connect(mnuinvrep, &QAction::triggered, this, [this] { Dialog::openFrom(this); });
    connect(mnufull, &QAction::triggered, this, [] {
        const QString call = ui::InputBox(QStringLiteral("Enter Call ID"));
        if (!call.isEmpty())
            callreport(call);
    });
    connect(mnufcr, &QAction::triggered, this,
            [this] { callreport(datagrid2->textMatrix(datagrid2->row(), callviews::RefColumn)); });
    connect(mnucallrep2, &QAction::triggered, this, [this] { callreport(callStore().currentCallText()); });

    // The File menu's item and the call panel's pop-up item print alike, also while the File item is disabled.
    connect(mnuprint, &QAction::triggered, this, &Form1::mnuprint_Click);
    connect(mnuprint2, &QAction::triggered, this, &Form1::mnuprint_Click);
    connect(mnucallsheet, &QAction::triggered, this, &Form1::mnucallsheet_Click);
}

void Form1::mnuprint_Click() {
    pc1->clear();
    CallSheetFields f;
    f.customerName = Combo6->currentText();
    f.reference = Text11->text();
    f.address = Text14->text();
    f.phone = Text12->text();
    f.email = Text13->text();
    f.call = callStore().currentCallText();
    f.status = Combo1->currentText();
    f.assignee = Combo5->currentText();
    f.dateOpened = Text3->text();
    f.timeOpened = Text4->text();
    f.dateClosed = Text5->text();
    f.timeClosed = Text6->text();
    f.description = Text16->toPlainText();
    f.resolution = Text17->toPlainText();
    const QString sheet = callsheetText(sheetheader, mnultrhead->isChecked(), f);
    pc1->setPlainText(sheet);
    // The buffer's own text would lose the CR LF line ends; the printer gets the sheet as built.
    const bool printed = ui::printer().printText(sheet, pc1->font());
    pc1->clear();
    ui::MsgBox(printed ? QStringLiteral("Call sent to Printer")
                       : QStringLiteral("The call sheet was not printed: no printer is installed, or the printer "
                                        "refused the page."));
}

void Form1::mnucallsheet_Click() {
    const QString heading =
        ReadINI(QStringLiteral("Printing"), QStringLiteral("Call Sheet Header"), QStringLiteral("Quorvane Call Sheet"));
    const QString letterhead =
        ReadINI(QStringLiteral("Printing"), QStringLiteral("Letterhead Space"), QStringLiteral("False"));
    const QString answer = ui::InputBox(
        "Type in a title for the Call Sheet (print out of call) - e.g. 'Acme Ltd - Call Sheet'.  (Allow extra space "
        "for letterhead setting = " +
            letterhead + ".)",
        QStringLiteral("Quorvane Call Sheet"), heading);
    if (answer.isEmpty())
        return;
    sheetheader = answer;
    const ui::SettingsCommand storing;
    m_held.write(QStringLiteral("Printing"), QStringLiteral("Call Sheet Header"), answer);
}

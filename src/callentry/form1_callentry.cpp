#include "mainwindow/form1.h"

#include "callentry/callpanel.h"
#include "callentry/callrules.h"
#include "callentry/callstore.h"
#include "mainwindow/statusbar.h"
#include "platform/db/datacontrol.h"
#include "platform/db/dberror.h"
#include "platform/db/recordset.h"
#include "platform/db/values.h"
#include "platform/desktop.h"
#include "platform/widgets/datagrid.h"
#include "platform/widgets/dialogs.h"
#include "platform/widgets/flexgrid.h"
#include "shared/shared.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

using callpanel::callRow;
using callpanel::customerRow;
using callpanel::fieldText;
using ui::MsgBox;

namespace {

QString attachMessage(callrules::Attached::Result result, const QString& folder) {
    switch (result) {
    case callrules::Attached::Result::FolderMissing:
        return QStringLiteral("The attachments folder cannot be found:\n") + folder +
               QStringLiteral("\n\nPlease choose one with \"Set Attachments Location\" in the options.");
    case callrules::Attached::Result::FolderReadOnly:
        return QStringLiteral("The attachments folder cannot be written to:\n") + folder;
    case callrules::Attached::Result::CopyFailed:
        return QStringLiteral("The file could not be copied into the attachments folder:\n") + folder;
    case callrules::Attached::Result::Copied:
        break;
    }
    return {};
}

void closeSteps(Form1& f) {
    try {
        f.callStore().close(desktop::clock().now());
    } catch (const db::DbError& e) {
        MsgBox(e.message());
        return;
    }
    f.shownStatus = callrules::Closed;
    f.auditer(QStringLiteral("Call was Closed by ") + f.currentanalyst);
    f.opencallgrid();
    const QString mail = CallStore::closeMail(f.Text13->text(), f.callStore().currentCall().value_or(0));
    if (!mail.isEmpty())
        ShellOpen(mail, 1);
}

} // namespace

bool callpanel::startCall(Form1& f, bool withNewCustomer) {
    // An opened call goes first; when it cannot be stored it stays, and no new call starts.
    if (!putAwayOpenedCall(f)) {
        f.menuson();
        return false;
    }
    f.cancelpressed = false;
    NewCallDefaults defaults;
    defaults.analyst = f.currentanalyst;
    defaults.unassigned = f.unassigneddefault == QLatin1String("True");
    defaults.categories = f.categories;
    defaults.statuses = f.statuses;
    defaults.audit = f.auditon;
    defaults.datePattern = f.datesetting;
    qint64 nom = 0;
    try {
        nom = f.callStore().create(defaults, desktop::clock().now(), withNewCustomer);
    } catch (const db::DbError& e) {
        MsgBox(QStringLiteral("The new call could not be stored:\n") + e.message());
        f.leavecall();
        callpanel::endEdit(f);
        return false;
    }
    f.newcall = true;
    f.StatusBar1->setPanel(5, QStringLiteral("New call: ") + QString::number(nom));
    callpanel::fillCustomerPickers(f);
    callpanel::setPickers(f, QString(), QString());
    callpanel::snapshot(f);
    callpanel::showPanel(f);
    f.Command8->setEnabled(false);
    // The lists stay still until the call is saved or cancelled.
    f.Datagrid1->setEnabled(false);
    f.datagrid2->setEnabled(false);
    f.mnuprint->setEnabled(false);
    f.opencallgrid();
    return true;
}

void Form1::lognewcall() {
    if (newcall || addcustmode || editcustmode)
        return; // one call or customer on the panel at a time
    callpanel::startCall(*this, true);
}

void Form1::callsaver() {
    if (editcustmode) {
        saveEditedCustomer();
        return;
    }
    if (addcustmode) {
        callpanel::saveAddedCustomer(*this);
        return;
    }
    db::Recordset* call = callRow(*this);
    if (!call || !callpanel::commitTimestamps(*this))
        return;
    db::Recordset* customer = customerRow(*this);
    // Without a customer row (the customer has since been deleted) the call keeps its own customer texts.
    const QString reference = fieldText(customer ? customer : call, QStringLiteral("Username"));
    if (reference.trimmed().isEmpty()) {
        MsgBox(QStringLiteral("A Customer Reference must be entered!"));
        return;
    }
    const bool storesCustomer = callpanel::newCustomer(*this);
    // The customer, the call and its audit text are stored together or not at all.
    try {
        callStore().save(reference);
    } catch (const db::DbError& e) {
        MsgBox(QStringLiteral("The call could not be saved; nothing was stored.\n") + e.message());
        return;
    }
    const QString nom = fieldText(call, QStringLiteral("Nom"));
    newcall = false;
    leavecall();
    callpanel::endEdit(*this);
    if (storesCustomer) {
        // The new customer takes its place in the list's order.
        try {
            Adodc1->refreshInPlace();
        } catch (const db::DbError&) {
        }
    }
    stats();
    if (!currentsql().isEmpty())
        DataFill(currentsql(), QStringLiteral("Call ") + nom + QStringLiteral(" saved"));
}

void Form1::cancelcall() {
    if (addcustmode || editcustmode) {
        callpanel::cancelCustomerModes(*this);
        return;
    }
    try {
        callStore().cancel(newcall, attachpath);
    } catch (const db::DbError& e) {
        MsgBox(e.message());
        // Cancel always puts the call away: what was typed goes, the row the database kept stays.
        try {
            callStore().cancel(false, attachpath);
        } catch (const db::DbError&) {
        }
    }
    newcall = false;
    leavecall();
    callpanel::endEdit(*this);
}

void Form1::opencall(int callNumber) {
    if (newcall || addcustmode || editcustmode)
        return; // the panel holds an unsaved call or customer
    if (!callpanel::putAwayOpenedCall(*this))
        return;
    try {
        callStore().open(callNumber);
    } catch (const db::DbError& e) {
        MsgBox(e.message());
        return;
    }
    db::Recordset* call = callRow(*this);
    if (!call) {
        MsgBox(QStringLiteral("No Records Found"));
        leavecall();
        return;
    }
    const QString reference = fieldText(call, QStringLiteral("Username"));
    QString name = fieldText(call, QStringLiteral("sp2"));
    // A customer this copy's list does not hold, or shows as read before another copy gave them this reference,
    // is read in (the look-up reads the file, the rows shown may be older).
    bool located = callpanel::locateCustomer(*this, reference);
    if (!reference.isEmpty() &&
        (!located || !callrules::sameReference(fieldText(customerRow(*this), QStringLiteral("Username")), reference))) {
        try {
            Adodc1->refreshInPlace();
        } catch (const db::DbError&) {
        }
        located = callpanel::locateCustomer(*this, reference);
    }
    if (located) {
        name = fieldText(customerRow(*this), QStringLiteral("Name"));
    } else if (db::Recordset* customers = Adodc1->recordset()) {
        // No customer row: the boxes must not show some other customer, whom a save would give the call to.
        customers->moveTo(customers->recordCount());
    }
    callpanel::fillCustomerPickers(*this);
    callpanel::setPickers(*this, name, reference);
    callpanel::snapshot(*this);
    callpanel::showPanel(*this);
    Command8->setEnabled(true);
    opencallgrid();
    mnuprint->setEnabled(true);
}

void Form1::leavecall() {
    mnuprint->setEnabled(false);
    try {
        callStore().leave();
    } catch (const db::DbError& e) {
        MsgBox(QStringLiteral("The call could not be saved; nothing was stored.\n") + e.message());
    }
    callpanel::snapshot(*this);
    opencallgrid();
}

void Form1::opencallgrid() {
    static const QStringList labels = {QStringLiteral("Call Ref:"), QStringLiteral("Attachments:"),
                                       QStringLiteral("Logged:"),   QStringLiteral("Closed:"),
                                       QStringLiteral("Notes:"),    QStringLiteral("Items:")};
    ui::FlexGrid& g = *cg1;
    g.setRedraw(false);
    g.setRows(static_cast<int>(labels.size()));
    g.clear();
    for (int r = 0; r < labels.size(); ++r)
        g.setTextMatrix(r, 1, labels[r]);
    QStringList items;
    db::Recordset* call = callRow(*this);
    const QString nomText = fieldText(call, QStringLiteral("Nom"));
    if (call && !nomText.isEmpty()) {
        const qint64 nom = nomText.toLongLong();
        g.setTextMatrix(0, 2, nomText);
        const qsizetype files = CallStore::attachments(attachpath, nom).size();
        g.setTextMatrix(1, 2, files == 0 ? QStringLiteral("None") : QString::number(files));
        auto when = [call](const char* date, const char* time) {
            const QDateTime t = callrules::moment(call->field(QLatin1String(date)), call->field(QLatin1String(time)));
            return t.isValid() ? db::displayText(t.date()) + QLatin1Char(' ') + t.toString(QStringLiteral("hh:mm"))
                               : QStringLiteral("---");
        };
        QString logged = when("Date Opened", "Time Opened");
        const QString by = fieldText(call, QStringLiteral("Logged"));
        if (!by.isEmpty())
            logged += QStringLiteral(" by ") + by;
        g.setTextMatrix(2, 2, logged);
        g.setTextMatrix(3, 2, when("Date Closed", "Time Closed"));
        const QString reference = callpanel::currentReference(*this);
        try {
            const CallStore::Info info = callStore().info(reference);
            g.setTextMatrix(4, 2, QString::number(info.notes));
            items = info.items;
        } catch (const db::DbError&) {
            // The grid shows what could be read.
        }
        g.setTextMatrix(5, 2, QString::number(items.size()));
    }
    g.setRedraw(true);
    {
        const QSignalBlocker block(Combo3);
        Combo3->clear();
        Combo3->addItems(items);
    }
    callpanel::sync(*this);
}

void Form1::auditer(const QString& text) {
    if (!auditon)
        return;
    db::Recordset* call = callRow(*this);
    if (!call)
        return;
    try {
        callStore().audit(desktop::clock().now(), datesetting, text);
    } catch (const db::DbError& e) {
        MsgBox(e.message());
    }
    callpanel::sync(*this);
}

void Form1::statuschange(const QString& status) {
    db::Recordset* call = callRow(*this);
    if (!call || addcustmode || editcustmode || status == shownStatus)
        return;
    if (status == callrules::Closed) {
        closeSteps(*this);
        return;
    }
    const bool wasClosed = shownStatus == callrules::Closed;
    try {
        // Out of "Closed" the call is open again: no closing moment, no duration.
        if (wasClosed)
            callStore().reopen(status);
        else
            call->setField(QStringLiteral("Status"), status);
    } catch (const db::DbError& e) {
        MsgBox(e.message());
        return;
    }
    shownStatus = status;
    auditer(QStringLiteral("Status changed to ") + status + QStringLiteral(" by ") + currentanalyst);
    if (wasClosed)
        opencallgrid();
}

void Form1::closecall() {
    db::Recordset* call = callRow(*this);
    if (!call || addcustmode || editcustmode || fieldText(call, QStringLiteral("Status")) == callrules::Closed)
        return;
    closeSteps(*this);
}

void Form1::reopencall() {
    db::Recordset* call = callRow(*this);
    if (!call || addcustmode || editcustmode || fieldText(call, QStringLiteral("Status")) != callrules::Closed)
        return;
    try {
        callStore().reopen(callrules::Reopened);
    } catch (const db::DbError& e) {
        MsgBox(e.message());
        return;
    }
    shownStatus = callrules::Reopened;
    auditer(QStringLiteral("Call was Re-opened by ") + currentanalyst);
    opencallgrid();
}

void Form1::attachfile() {
    db::Recordset* call = callRow(*this);
    const QString nomText = fieldText(call, QStringLiteral("Nom"));
    if (!call || nomText.isEmpty() || addcustmode || editcustmode)
        return;
    // Asked before the file is chosen, so nobody picks a file that cannot be kept.
    if (const auto problem = callrules::attachFolderProblem(attachpath)) {
        MsgBox(attachMessage(*problem, attachpath));
        return;
    }
    const QString source = ui::dialogs().openFile(QStringLiteral("All Files (*.*)|*.*"),
                                                  QStringLiteral("Attach a File to Call ") + nomText, QString());
    if (source.isEmpty())
        return;
    const callrules::Attached done = callrules::attachFile(attachpath, nomText.toLongLong(), source);
    if (done.result != callrules::Attached::Result::Copied) {
        MsgBox(attachMessage(done.result, attachpath));
        return;
    }
    opencallgrid();
}

void Form1::mnusearchcall_Click() {
    if (newcall || addcustmode || editcustmode)
        return;
    const QString text = ui::InputBox(QStringLiteral("Enter the Call Number")).trimmed();
    if (text.isEmpty())
        return;
    bool ok = false;
    const int nom = text.toInt(&ok);
    if (!ok || nom < 1) {
        MsgBox(QStringLiteral("That is not a call number."));
        return;
    }
    opencall(nom);
}

bool Form1::shutdownCallPanel() {
    if (addcustmode || editcustmode) {
        callpanel::cancelCustomerModes(*this);
        return true;
    }
    if (newcall && callpanel::currentReference(*this).trimmed().isEmpty()) {
        try {
            callStore().cancel(true, attachpath);
        } catch (const db::DbError& e) {
            MsgBox(e.message() + QStringLiteral("\n\nQuorvane stays open so that the call can be saved or cancelled."));
            return false;
        }
        newcall = false;
        leavecall();
        callpanel::endEdit(*this);
        return true;
    }
    // A call opened from the list keeps what was typed into it, as it would on moving to another call.
    db::Recordset* call = callRow(*this);
    db::Recordset* customer = customerRow(*this);
    const auto pending = [](db::Recordset* rs) { return rs && rs->editMode() != db::Recordset::EditMode::None; };
    if (!newcall && !pending(call) && !pending(customer))
        return true;
    // Saved, the call leaves the panel; refused, it stays there as it was, the user told.
    callsaver();
    return !callRow(*this);
}

#include "options/analysts.h"

#include "mainwindow/form1.h"
#include "options/staffrules.h"
#include "platform/db/connection.h"
#include "platform/db/datacontrol.h"
#include "platform/db/dberror.h"
#include "platform/db/recordset.h"
#include "platform/widgets/binding.h"
#include "platform/widgets/datagrid.h"
#include "platform/widgets/dialogs.h"
#include "platform/widgets/forms.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

using ui::MsgBox;
using ui::named;

analysts::analysts(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("analysts"));
    setWindowTitle(QStringLiteral("Quorvane Support Staff"));

    Adodc3 = named(new db::DataControl(this), "Adodc3");
    DataGrid3 = named(new ui::DataGrid(this), "DataGrid3");
    DataGrid3->setCaption(QStringLiteral("Quorvane Support Staff Admin"));
    Text9 = named(new QLineEdit(this), "Text9");
    Text9->setEnabled(false);
    Text30 = named(new QLineEdit(this), "Text30");
    Text30->hide();
    Text31 = named(new QLineEdit(this), "Text31");
    Text31->hide();
    Combo12 = named(new QComboBox(this), "Combo12");
    Check1 = named(new QCheckBox(QStringLiteral("Uses a Password?"), this), "Check1");
    // The box reports the row; ticking it by hand would set nothing.
    Check1->setAttribute(Qt::WA_TransparentForMouseEvents);
    Check1->setFocusPolicy(Qt::NoFocus);
    Label48 = named(new QLabel(this), "Label48");
    Label48->setTextFormat(Qt::PlainText);
    Label48->hide();
    Label46 = named(new QLabel(QStringLiteral("Access Level:"), this), "Label46");
    Command3 = named(new QPushButton(QStringLiteral("Add New Staff"), this), "Command3");
    Command4 = named(new QPushButton(QStringLiteral("Delete Selected"), this), "Command4");
    Command15 = named(new QPushButton(QStringLiteral("Change Password"), this), "Command15");
    Command24 = named(new QPushButton(QStringLiteral("Do not use Password"), this), "Command24");
    Command2 = named(new QPushButton(QStringLiteral("Okay"), this), "Command2");

    auto* details = new QGridLayout;
    details->addWidget(Text9, 0, 0, 1, 2);
    details->addWidget(Label46, 1, 0);
    details->addWidget(Combo12, 1, 1);
    details->addWidget(Check1, 2, 0, 1, 2);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {Command3, Command4, Command15, Command24})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(Command2);
    auto* side = new QVBoxLayout;
    side->addLayout(details);
    side->addLayout(buttons);
    auto* outer = new QHBoxLayout(this);
    outer->addWidget(DataGrid3, 1);
    outer->addLayout(side);
    resize(560, 360);

    ui::bindField(Text9, Adodc3, QStringLiteral("ID"));
    ui::bindField(Text30, Adodc3, QStringLiteral("Spare2"));
    ui::bindField(Text31, Adodc3, QStringLiteral("Spare1"));
    connect(Text30, &QLineEdit::textChanged, this, &analysts::syncLevel);
    connect(Text31, &QLineEdit::textChanged, this,
            [this](const QString& text) { Check1->setChecked(staffrules::hasPassword(text)); });
    // Only the user's choice stores a level; following the row does not.
    connect(Combo12, &QComboBox::activated, this, &analysts::Combo12_Click);
    connect(Command3, &QPushButton::clicked, this, &analysts::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &analysts::Command4_Click);
    connect(Command15, &QPushButton::clicked, this, [] { changepassword(); });
    connect(Command24, &QPushButton::clicked, this, &analysts::Command24_Click);
    connect(Command2, &QPushButton::clicked, this, &analysts::Command2_Click);

    Form_Load();
}

analysts::~analysts() {
    // The data control goes first and blanks the bound boxes; the rest of the window may be gone by then.
    disconnect(Text30, nullptr, this, nullptr);
    disconnect(Text31, nullptr, this, nullptr);
}

void analysts::Form_Load() {
    DataGrid3->setDataSource(Adodc3);
    Adodc3->setConnectionString(db::DataControl::connectionStringFor(ui::form<Form1>().dbpath));
    Adodc3->setRecordSource(staffrules::tableSql());
    // Loaded hidden too (a member's own password): the user hears of a list that could not be read when the window
    // shows or a command needs it.
    readList();
    gridColumns();
    Combo12->addItems({QStringLiteral("Basic"), QStringLiteral("Standard"), QStringLiteral("Administrator")});
    syncLevel();
}

bool analysts::readList() {
    try {
        Adodc3->refresh();
    } catch (const db::DbError& e) {
        m_readError = e.message();
        return false;
    }
    m_listed = true;
    return true;
}

bool analysts::listed() {
    if (m_listed)
        return true;
    MsgBox(QStringLiteral("The support staff could not be read, so nothing has changed:\n") + m_readError);
    return false;
}

void analysts::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!m_listed)
        QTimer::singleShot(0, this, &analysts::offerToReadAgain);
}

void analysts::offerToReadAgain() {
    if (m_listed)
        return;
    do {
        if (MsgBox(QStringLiteral("The support staff could not be read:\n") + m_readError +
                       QStringLiteral("\n\nTry again?"),
                   ui::Buttons::YesNo) != ui::Answer::Yes) {
            // A list that was not read is not shown, so nothing can be changed from it.
            close();
            return;
        }
    } while (!readList());
    gridColumns();
    syncLevel();
}

void analysts::gridColumns() {
    DataGrid3->setColumnVisible(0, true);
    DataGrid3->setColumnVisible(1, false);
    DataGrid3->setColumnVisible(2, true);
    DataGrid3->setColumnCaption(0, QStringLiteral("Name:"));
    DataGrid3->setColumnCaption(2, QStringLiteral("Access Level:"));
}

void analysts::syncLevel() {
    // A code without a name (such as "0") leaves the combo as it was.
    const QString name = staffrules::levelName(Text30->text());
    if (!name.isEmpty())
        Combo12->setCurrentText(name);
}

void analysts::refused(const QString& what, const db::DbError& e) {
    if (db::Recordset* rs = Adodc3->recordset(); rs && rs->editMode() != db::Recordset::EditMode::None)
        rs->cancelUpdate();
    MsgBox(what + QStringLiteral("\n") + e.message());
    showStored();
}

// The rows as stored, on the same member where they still have them.
void analysts::showStored() {
    const QString id = Text9->text();
    try {
        Adodc3->refresh();
    } catch (const db::DbError&) {
        // the list stays as it was read last
    }
    gridColumns();
    if (db::Recordset* rs = Adodc3->recordset()) {
        const int col = rs->fieldIndex(QStringLiteral("ID"));
        for (int r = 0; r < rs->rowCount(); ++r)
            if (rs->value(r, col).toString() == id) {
                rs->moveTo(r);
                break;
            }
    }
    syncLevel();
}

int analysts::fieldSize(const QString& field) const {
    const db::Recordset* rs = Adodc3->recordset();
    return rs ? rs->fieldSize(rs->fieldIndex(field)) : 0;
}

void analysts::turnedDown(const QString& message) {
    MsgBox(message);
    showStored();
}

void analysts::Combo12_Click() {
    if (!listed()) {
        syncLevel();
        return;
    }
    Form1& main = ui::form<Form1>();
    const QString chosen = Combo12->currentText();
    if (chosen != QLatin1String("Administrator") && Text9->text() == main.currentanalyst) {
        MsgBox(QStringLiteral("Cannot downgrade yourself from administrator!"));
        Combo12->setCurrentText(QStringLiteral("Administrator"));
        return;
    }
    try {
        const QString code = staffrules::levelCode(chosen);
        if (!code.isEmpty()) {
            const QString refusal = staffrules::storeLevel(main.dbpath, Text9->text(), code);
            if (!refusal.isEmpty())
                MsgBox(refusal);
        }
    } catch (const db::DbError& e) {
        MsgBox(QStringLiteral("The access level could not be stored, so it has not changed:\n") + e.message());
    }
    // Stored or not, the list stays on the member, so the next command is not aimed at another.
    showStored();
    DataGrid3->setFocus();
}

void analysts::Command3_Click() {
    if (!listed())
        return;
    const QString name =
        ui::InputBox(QStringLiteral("Enter Support Staff user name"), QStringLiteral("Add new Support Staff"),
                     QString(), fieldSize(QStringLiteral("ID")));
    if (name.isEmpty())
        return;
    db::Recordset* rs = Adodc3->recordset();
    if (!rs)
        return;
    try {
        // Login and every lookup find a member by name, so two members may not share one: checked in the storing
        // transaction, so that another copy adding the same name meanwhile is seen.
        bool taken = false;
        {
            db::Transaction tx(*rs->connection());
            taken = staffrules::nameTaken(ui::form<Form1>().dbpath, name);
            if (!taken) {
                rs->addNew();
                rs->setField(QStringLiteral("ID"), name);
                rs->setField(QStringLiteral("Spare2"), QStringLiteral("3"));
                rs->update();
                tx.commit();
            }
        } // no box while the file is held
        if (taken) {
            MsgBox(QStringLiteral("There is already a member of staff called ") + name +
                   QStringLiteral(". Please choose a different name."));
            return;
        }
        rs->moveLast();
    } catch (const db::DbError& e) {
        refused(QStringLiteral("The new member of staff could not be stored:"), e);
    }
}

void analysts::Command4_Click() {
    if (!listed())
        return;
    db::Recordset* rs = Adodc3->recordset();
    if (!rs)
        return;
    Form1& main = ui::form<Form1>();
    if (DataGrid3->approxCount() == 1) {
        // Said to be Administrator only once it is stored.
        QString refusal;
        try {
            rs->moveFirst();
            refusal = staffrules::storeLevel(main.dbpath, Text9->text(), QStringLiteral("5"));
        } catch (const db::DbError& e) {
            refused(QStringLiteral("Cannot delete all staff! The last member of staff could not be made "
                                   "Administrator:"),
                    e);
            return;
        }
        if (!refusal.isEmpty()) {
            turnedDown(refusal);
            return;
        }
        showStored();
        MsgBox(QStringLiteral("Cannot delete all staff!  If not already the last user has been set to Administrator"));
        return;
    }
    const QString id = Text9->text();
    try {
        const QString refusal = staffrules::deleteRefusal(main.dbpath, id, main.currentanalyst);
        if (!refusal.isEmpty()) {
            MsgBox(refusal);
            return;
        }
    } catch (const db::DbError& e) {
        refused(QStringLiteral("The support staff could not be read, so nobody was deleted:"), e);
        return;
    }
    if (MsgBox(QStringLiteral("Are you sure you want to delete support staff: ") + id + QStringLiteral("?"),
               ui::Buttons::OkCancel) != ui::Answer::Ok)
        return;
    // Deleted here only, never by the grid's Delete key: that would get round the checks. They are made again in
    // the deleting transaction, as another copy may have changed levels, or the member, while the question was up.
    QString refusal;
    try {
        refusal = staffrules::deleteMember(main.dbpath, id, main.currentanalyst);
    } catch (const db::DbError& e) {
        refused(QStringLiteral("The member of staff could not be deleted:"), e);
        return;
    }
    if (!refusal.isEmpty()) {
        turnedDown(refusal);
        return;
    }
    showStored();
}

void analysts::Command24_Click() {
    if (!listed())
        return;
    db::Recordset* rs = Adodc3->recordset();
    if (!rs || rs->bof() || rs->eof())
        return;
    const QString id = Text9->text();
    if (MsgBox(QStringLiteral("Do you want ") + id +
                   QStringLiteral(" to be able to login without having to enter a password?"),
               ui::Buttons::YesNo) != ui::Answer::Yes)
        return;
    QString refusal;
    try {
        refusal = staffrules::clearPassword(ui::form<Form1>().dbpath, id);
    } catch (const db::DbError& e) {
        refused(QStringLiteral("The password could not be cleared, so it has not changed:"), e);
        return;
    }
    if (!refusal.isEmpty()) {
        turnedDown(refusal);
        return;
    }
    // The box shows "None" once the list holds it.
    showStored();
    MsgBox(QStringLiteral("Password has been cleared"));
}

void analysts::Command2_Click() {
    MsgBox(QStringLiteral("Changes take effect from next time Support Staff log in."));
    Combo12->clear();
    close();
}

void analysts::setPasswordFor(const QString& id) {
    Label48->clear();
    const int size = fieldSize(QStringLiteral("Spare1"));
    const QString first = ui::dialogs().password(QStringLiteral("Enter New Password"), ui::DefaultTitle, size);
    if (first.isEmpty()) {
        Label48->clear();
        return;
    }
    Label48->setText(first);
    const QString second =
        ui::dialogs().password(QStringLiteral("Please Re-enter New Password"), ui::DefaultTitle, size);
    if (second.isEmpty()) {
        Label48->clear();
        return;
    }
    if (Label48->text() != second) {
        MsgBox(QStringLiteral("Passwords do not match! Please start again."));
        Label48->clear();
        return;
    }
    const QString password = second.toLower();
    Form1& main = ui::form<Form1>();
    try {
        if (!staffrules::storePassword(main.dbpath, id, password)) {
            MsgBox(staffrules::goneText());
            return;
        }
    } catch (const db::DbError& e) {
        refused(QStringLiteral("The password could not be stored, so it has not changed:"), e);
        return;
    }
    // The list shows the stored row again, which ticks "Uses a Password?".
    try {
        if (db::Recordset* rs = Adodc3->recordset())
            rs->requery();
    } catch (const db::DbError&) {
    }
    MsgBox(QStringLiteral("Passwords changed to: ") + password);
    main.SavePass(id, password);
}

void changepassword() {
    analysts& w = ui::form<analysts>();
    w.setPasswordFor(w.Text9->text());
}

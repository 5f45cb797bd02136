#include "customers/form2.h"

#include "callentry/callrules.h"
#include "customers/customerexport.h"
#include "customers/inventoryrules.h"
#include "customers/inventorytitles.h"
#include "mainwindow/form1.h"
#include "mainwindow/statusbar.h"
#include "platform/db/database.h"
#include "platform/db/datacontrol.h"
#include "platform/db/dberror.h"
#include "platform/db/recordset.h"
#include "platform/db/values.h"
#include "platform/desktop.h"
#include "platform/widgets/cuttext.h"
#include "platform/widgets/datagrid.h"
#include "platform/widgets/dialogs.h"
#include "platform/widgets/forms.h"
#include "platform/widgets/menus.h"
#include "platform/widgets/screen.h"
#include "reports/pagefile.h"
#include "shared/shared.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

using ui::MsgBox;

namespace {

using ui::named;

const QStringList DesignCaptions = {QStringLiteral("Type"),    QStringLiteral("Details"), QStringLiteral("Number"),
                                    QStringLiteral("Notes"),   QStringLiteral("Type2"),   QStringLiteral("details2"),
                                    QStringLiteral("Number2"), QStringLiteral("More")};
constexpr int OwnerColumn = 5;
const QString RetryText = QStringLiteral("Save tries again, Cancel lets it go.");
constexpr int ShownColumns[] = {0, 1, 2, 3, 6, 7};
constexpr int Widths[] = {1500, 2400, 1500, 2400, 0, 0, 1500, 2000}; // twips

} // namespace

Form2::Form2(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Inventory"));

    Image1 = named(new QLabel(this), "Image1");
    Image1->setScaledContents(true);
    Adodc1 = named(new db::DataControl(this), "Adodc1");
    Datagrid1 = named(new ui::DataGrid(this), "Datagrid1");
    Datagrid1->setColumnFields(inventorytitles::Columns);
    Datagrid1->horizontalHeader()->setStretchLastSection(true);
    ui::tipCutCells(Datagrid1); // field titles and item texts of any length
    for (int c = 0; c < inventorytitles::Count; ++c) {
        Datagrid1->setColumnWidth(c, Widths[c]);
        Datagrid1->setColumnVisible(c, c != 4 && c != OwnerColumn);
    }
    Command4 = named(new QPushButton(QStringLiteral("Cancel"), this), "Command4");
    Command4->setEnabled(false);
    Command3 = named(new QPushButton(QStringLiteral("Add New"), this), "Command3");
    Command5 = named(new QPushButton(QStringLiteral("Edit Selected"), this), "Command5");
    Command2 = named(new QPushButton(QStringLiteral("Remove Selected"), this), "Command2");
    Command1 = named(new QPushButton(QStringLiteral("Save"), this), "Command1");
    mnupopup = named(new QMenu(this), "mnupopup");
    mnuexp = ui::menuItem(mnupopup, "mnuexp", QStringLiteral("Export List"));
    mnufnd = ui::menuItem(mnupopup, "mnufnd", QStringLiteral("Find Calls for this Item"));

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {Command4, Command3, Command5, Command2, Command1})
        buttons->addWidget(b);
    auto* box = new QVBoxLayout(this);
    box->addWidget(Datagrid1, 1);
    box->addLayout(buttons);
    resize(ui::twipsToPixels(12300), ui::twipsToPixels(6300));
    Image1->lower();

    connect(Command3, &QPushButton::clicked, this, &Form2::Command3_Click);
    connect(Command5, &QPushButton::clicked, this, &Form2::Command5_Click);
    connect(Command2, &QPushButton::clicked, this, &Form2::Command2_Click);
    connect(Command4, &QPushButton::clicked, this, &Form2::Command4_Click);
    connect(Command1, &QPushButton::clicked, this, &Form2::Command1_Click);
    connect(mnuexp, &QAction::triggered, this, &Form2::mnuexp_Click);
    connect(mnufnd, &QAction::triggered, this, &Form2::mnufnd_Click);
    connect(Datagrid1, &ui::DataGrid::mouseUp, this, [this](Qt::MouseButton button, QPoint pos) {
        if (button == Qt::RightButton)
            mnupopup->popup(pos);
    });
    connect(Adodc1, &db::DataControl::recordsetChanged, this, &Form2::followRecordset);
    Datagrid1->setDataSource(Adodc1);

    Form_Load();
}

Form2::~Form2() = default;

// Keeps track of the row "Add New" started while other rows come and go before it.
void Form2::followRecordset(db::Recordset* rs) {
    m_added = -1;
    if (!rs)
        return;
    connect(rs, &db::Recordset::rowRemoved, this, [this](int row) {
        if (row == m_added)
            m_added = -1;
        else if (row < m_added)
            --m_added;
    });
    connect(rs, &db::Recordset::reset, this, [this] { m_added = -1; });
}

int Form2::listed() const {
    const db::Recordset* rs = Adodc1->recordset();
    return rs ? rs->recordCount() : 0;
}

void Form2::Form_Load() {
    m_main = &ui::form<Form1>();
    Adodc1->setConnectionString(db::DataControl::connectionStringFor(m_main->Label34->text()));
    retriever();
    const bool any = listed() > 0;
    Command2->setEnabled(any);
    Command5->setEnabled(any);
    captions();
}

void Form2::retriever() {
    const QString reference = m_main ? m_main->Label33->text() : QString();
    bool exact = false;
    try {
        exact = m_main && callrules::caseTwin(*db::pool::acquire(m_main->dbpath), reference);
    } catch (const db::DbError&) {
        // the list below says what the database says
    }
    Adodc1->setRecordSource(inventoryrules::customerItems(reference, exact));
    try {
        Adodc1->refresh();
    } catch (const db::DbError&) {
        // an unreadable database leaves the list as it was
    }
    Datagrid1->setAllowUpdate(false);
}

void Form2::captions() {
    for (int c = 0; c < DesignCaptions.size(); ++c)
        Datagrid1->setColumnCaption(c, DesignCaptions.at(c));
    QVariant stored;
    try {
        stored = inventorytitles::read(m_main ? m_main->dbpath : QString());
    } catch (const db::DbError&) {
        return;
    }
    // A short text leaves the columns it does not reach at their design captions.
    const QStringList titles =
        inventorytitles::split(db::isNull(stored) ? inventorytitles::defaults() : stored.toString());
    for (int c : ShownColumns)
        if (c < titles.size())
            Datagrid1->setColumnCaption(c, titles.at(c));
}

void Form2::showBackground(const QString& path) {
    QPixmap picture(path);
    if (picture.isNull())
        picture = QPixmap(desktop::programFolder() + QStringLiteral("/default.jpg"));
    Image1->setPixmap(picture);
}

void Form2::Command3_Click() {
    db::Recordset* rs = Adodc1->recordset();
    if (!rs || !m_main)
        return;
    Datagrid1->setAllowUpdate(true);
    try {
        rs->addNew();
    } catch (const db::DbError& e) {
        MsgBox(e.message());
        return;
    }
    try {
        rs->setField(OwnerColumn, m_main->Label33->text());
    } catch (const db::DbError& e) {
        // An item nobody owns is never started.
        rs->cancelUpdate();
        MsgBox(e.message());
        return;
    }
    m_added = rs->absolutePosition();
    Command4->setEnabled(true);
    Datagrid1->setFocus();
}

void Form2::Command5_Click() {
    if (listed() > 0)
        Datagrid1->setAllowUpdate(true);
}

void Form2::Command2_Click() {
    db::Recordset* rs = Adodc1->recordset();
    if (!rs || listed() < 1)
        return;
    QString item;
    QString owner;
    try {
        item = callrules::itemText(db::displayText(rs->field(QStringLiteral("Type"))),
                                   db::displayText(rs->field(QStringLiteral("Number"))));
        owner = db::displayText(rs->field(QStringLiteral("Details2")));
        rs->deleteCurrent();
    } catch (const db::DbError& e) {
        MsgBox(e.message());
        if (!e.isConflict())
            return;
        readAgain(); // another copy removed it first
    }
    if (m_main)
        m_main->inventoryItemRemoved(owner, item);
}

// The list as the file holds it now, still knowing the row "Add New" stored.
void Form2::readAgain() {
    db::Recordset* rs = Adodc1->recordset();
    const qint64 added = m_added >= 0 && m_added < rs->rowCount() ? rs->rowId(m_added) : 0;
    try {
        rs->requery();
    } catch (const db::DbError& e) {
        MsgBox(e.message());
    }
    m_added = added ? rs->rowWithId(added) : -1;
}

// Drops an edit the database would not store (the item removed or changed by another copy meanwhile), the list
// then read as the file holds it; else only the row "Add New" started: still being typed, it is forgotten; stored
// already, exactly that row is deleted, wherever the user has moved since.
void Form2::Command4_Click() {
    db::Recordset* rs = Adodc1->recordset();
    if (rs && rs->editMode() == db::Recordset::EditMode::Edit) {
        rs->cancelUpdate();
        readAgain();
        Datagrid1->setAllowUpdate(false);
        Command4->setEnabled(m_added >= 0);
        return;
    }
    if (rs && m_added >= 0 && m_added < rs->rowCount()) {
        try {
            if (rs->absolutePosition() == m_added && rs->editMode() != db::Recordset::EditMode::None)
                rs->cancelUpdate();
            if (m_added >= 0)
                rs->removeRow(m_added);
        } catch (const db::DbError& e) {
            MsgBox(e.message());
        }
    }
    m_added = -1;
    Datagrid1->setAllowUpdate(false);
    Command4->setEnabled(false);
}

void Form2::Command1_Click() {
    db::Recordset* rs = Adodc1->recordset();
    if (rs && listed() > 0 && rs->editMode() != db::Recordset::EditMode::None) {
        try {
            rs->update();
        } catch (const db::DbError& e) {
            // Not stored: the window stays with the item, so nothing typed is lost.
            MsgBox(QStringLiteral("The item could not be saved: ") + e.message() +
                   QStringLiteral("\nWhat you typed stays in the window: ") + RetryText);
            Command4->setEnabled(true);
            return;
        }
    }
    try {
        Adodc1->refresh();
    } catch (const db::DbError&) {
    }
    // The call panel's item list is read again; the call keeps the Item it names.
    if (m_main)
        m_main->opencallgrid();
    close();
}

void Form2::mnuexp_Click() {
    const QString path = inventoryrules::invlistPath();
    PageFile file;
    bool ok = file.open(path);
    if (ok) {
        MsgBox(QStringLiteral("Saving to ") + path);
        if (const db::Recordset* rs = Adodc1->recordset())
            for (const QString& line : inventoryrules::itemListLines(*rs))
                ok = ok && file.writeLine(line);
        ok = ok && file.commit();
    }
    if (!ok) {
        MsgBox(customers::cannotWriteMessage(path));
        return;
    }
    ShellOpen(path, 3);
}

void Form2::mnufnd_Click() {
    // A customer without items has no current row: nothing to look for.
    const db::Recordset* rs = Datagrid1->recordset();
    if (!rs || rs->bof() || rs->eof())
        return;
    const QString item = callrules::itemText(Datagrid1->columnText(0), Datagrid1->columnText(2));
    MsgBox(QStringLiteral("Retrieveing calls for: ") + item);
    if (!m_main)
        return;
    m_main->DataFill(inventoryrules::callsForItem(m_main->datesetting, item), mnufnd->text());
}

// Closing stores an item typed but not stored yet (the database refused it, or the grid was left mid-row); refused,
// the user is told and the window stays with it. A new row nothing was typed into goes.
bool Form2::storePending() {
    db::Recordset* rs = Adodc1->recordset();
    if (!rs || rs->editMode() == db::Recordset::EditMode::None)
        return true;
    bool typed = rs->editMode() == db::Recordset::EditMode::Edit;
    for (const auto& [i, value] : rs->pendingFields())
        typed = typed || (i != OwnerColumn && !db::displayText(value).isEmpty());
    try {
        if (typed)
            rs->update();
        else
            rs->cancelUpdate();
    } catch (const db::DbError& e) {
        MsgBox(QStringLiteral("The item could not be saved; it stays in the window.\n") + e.message() +
               QLatin1Char('\n') + RetryText);
        Command4->setEnabled(true);
        return false;
    }
    return true;
}

void Form2::closeEvent(QCloseEvent* event) {
    if (!storePending()) {
        event->ignore();
        return;
    }
    if (m_main)
        m_main->showActivity(QStringLiteral("Working"));
    Datagrid1->setDataSource(nullptr);
    Adodc1->clear();
    event->accept();
}

void Form2::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Image1->setGeometry(rect());
}

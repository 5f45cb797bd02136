#include "customers/inventory.h"

#include "callentry/callrules.h"
#include "customers/customerexport.h"
#include "customers/inventoryrules.h"
#include "customers/inventorytitles.h"
#include "mainwindow/form1.h"
#include "mainwindow/statusbar.h"
#include "options/appearance.h"
#include "options/optionrules.h"
#include "platform/db/database.h"
#include "platform/db/datacontrol.h"
#include "platform/db/dberror.h"
#include "platform/db/recordset.h"
#include "platform/db/values.h"
#include "platform/desktop.h"
#include "platform/widgets/busy.h"
#include "platform/widgets/colour.h"
#include "platform/widgets/cuttext.h"
#include "platform/widgets/dialogs.h"
#include "platform/widgets/elidedlabel.h"
#include "platform/widgets/flexgrid.h"
#include "platform/widgets/forms.h"
#include "platform/widgets/menus.h"
#include "platform/widgets/screen.h"
#include "shared/gridformat.h"
#include "shared/shared.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

using ui::MsgBox;

namespace {

using ui::named;

const QString WarningText = QStringLiteral("WARNING!  There must be 8 values separated by a comma and a space (except "
                                           "for the last value).  The values Spare and Username must NOT be changed");
const QString ErrorText = QStringLiteral("ERROR!  There must be 8 values separated by a comma and a space (except for "
                                         "the last value).  The values Spare and Username must NOT be changed");

// Grid columns 2 to 8 show titles 0, 1, 2, 3, 5, 6 and 7 (title 4, the spare column, is never shown).
constexpr int ShownTitles[] = {0, 1, 2, 3, 5, 6, 7};

} // namespace

Inventory::Inventory(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Inventory"));
    setWindowTitle(QStringLiteral("Inventory - Right click an item to list calls..."));

    Image1 = named(new QLabel(this), "Image1");
    Image1->setScaledContents(true);
    Adodc1 = named(new db::DataControl(this), "Adodc1");
    Datagrid1 = named(new ui::FlexGrid(this), "Datagrid1");
    Datagrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ui::tipCutCells(Datagrid1); // long field titles and item texts

    lblInformation = named(new QLabel(QStringLiteral("Filter:"), this), "lblInformation");
    Combo1 = named(new QComboBox(this), "Combo1");
    Combo1->setEditable(true);
    // The pickers keep their width whatever the stored field titles; their lists show the whole titles.
    Combo1->setMinimumContentsLength(14);
    Combo1->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    Combo2 = named(new QComboBox(this), "Combo2");
    Combo2->setEditable(true);
    Combo2->setMinimumContentsLength(10);
    Combo2->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    ui::showChoiceFromStart(Combo1);
    ui::showChoiceFromStart(Combo2);
    ui::tipWhenCut(Combo1->lineEdit());
    Text1 = named(new QLineEdit(this), "Text1");
    cmdCommand1 = named(new QPushButton(QStringLiteral("Apply"), this), "cmdCommand1");
    cmdGo = named(new QPushButton(QStringLiteral("Retrieve All"), this), "cmdGo");
    cmdCommand2 = named(new QPushButton(QStringLiteral("Export to CSV"), this), "cmdCommand2");
    // The information line may hold a whole query or a long address: cut to the window's width, never widening it.
    Label1 = named(new ui::ElidedLabel(QStringLiteral("[Information]"), this), "Label1");
    Label1->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    Label1->setAutoFillBackground(true);
    cmdCommand3 = named(new QPushButton(QStringLiteral("Rename Fields"), this), "cmdCommand3");
    Text2 = named(new QLineEdit(this), "Text2");
    ui::tipWhenCut(Text2);
    Save = named(new QPushButton(QStringLiteral("Save"), this), "Save");
    Command1 = named(new QPushButton(QStringLiteral("Reset to Defaults"), this), "Command1");
    Cancel = named(new QPushButton(QStringLiteral("Cancel"), this), "Cancel");
    showRenamePanel(false);

    mnupop = named(new QMenu(this), "mnupop");
    mnushow = ui::menuItem(mnupop, "mnushow", QStringLiteral("Show calls for inventory item"));

    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(lblInformation);
    filterRow->addWidget(Combo1);
    filterRow->addWidget(Combo2);
    filterRow->addWidget(Text1, 1);
    auto* commandRow = new QHBoxLayout;
    commandRow->addWidget(cmdCommand1);
    commandRow->addWidget(cmdGo);
    commandRow->addSpacing(ui::twipsToPixels(240));
    commandRow->addStretch();
    commandRow->addWidget(cmdCommand2);
    m_top = new QBoxLayout(QBoxLayout::LeftToRight);
    m_top->addLayout(filterRow, 1);
    m_top->addLayout(commandRow);
    auto* renameRow = new QHBoxLayout;
    renameRow->addWidget(cmdCommand3);
    renameRow->addWidget(Text2, 1);
    renameRow->addWidget(Save);
    renameRow->addWidget(Command1);
    renameRow->addWidget(Cancel);
    renameRow->addStretch();
    auto* box = new QVBoxLayout(this);
    box->addLayout(m_top);
    box->addWidget(Datagrid1, 1);
    box->addWidget(Label1);
    box->addLayout(renameRow);
    resize(ui::twipsToPixels(14100), ui::twipsToPixels(8400));
    Image1->lower();

    connect(cmdCommand1, &QPushButton::clicked, this, &Inventory::cmdCommand1_Click);
    connect(cmdGo, &QPushButton::clicked, this, &Inventory::cmdGo_Click);
    connect(cmdCommand2, &QPushButton::clicked, this, &Inventory::cmdCommand2_Click);
    connect(cmdCommand3, &QPushButton::clicked, this, &Inventory::cmdCommand3_Click);
    connect(Save, &QPushButton::clicked, this, &Inventory::Save_Click);
    connect(Command1, &QPushButton::clicked, this, &Inventory::Command1_Click);
    connect(Cancel, &QPushButton::clicked, this, &Inventory::Cancel_Click);
    connect(mnushow, &QAction::triggered, this, &Inventory::mnushow_Click);
    connect(Datagrid1, &ui::FlexGrid::clicked, this, [this](int row, int) { Datagrid1_Click(row); });
    connect(Datagrid1, &ui::FlexGrid::mouseUp, this, [this](Qt::MouseButton, QPoint) {
        if (Datagrid1->mouseRow() == 0)
            sortgrid(Datagrid1->mouseCol());
    });
    connect(Datagrid1, &ui::FlexGrid::mouseDown, this, [this](Qt::MouseButton button, QPoint pos) {
        if (button == Qt::RightButton)
            mnupop->popup(pos);
    });

    Load();
}

Inventory::~Inventory() = default;

void Inventory::Load() {
    const qv::SettingsBatch settings;
    m_main = &ui::form<Form1>();
    Form1& f = *m_main;
    // Every step runs even when one before it failed.
    Adodc1->setConnectionString(db::DataControl::connectionStringFor(f.dbpath));
    Adodc1->setRecordSource(inventoryrules::fullList(f.maxcalls));
    try {
        Adodc1->refresh();
    } catch (const db::DbError&) {
    }
    Datagrid1->bind(Adodc1);

    const appearance::GridFont gridFont = appearance::GridFont::stored();
    const QFont font = gridFont.font();
    setFont(font);
    // The filter value keeps room for a dozen characters of the chosen font.
    Text1->setMinimumWidth(QFontMetrics(font).averageCharWidth() * 12);
    fitCommands();
    const QColor colour = ui::vbColour(gridFont.colour);
    if (colour.isValid()) {
        QPalette p = palette();
        p.setColor(QPalette::WindowText, colour);
        p.setColor(QPalette::Text, colour);
        setPalette(p);
    }
    Datagrid1->setRowHeightMin(optionrules::rowHeight(
        ReadINI(QStringLiteral("Call Grid"), QStringLiteral("Grid Row Height"), QStringLiteral("300"))));

    cmdCommand3->setEnabled(f.isAdministrator());
    titler();
    fillFieldList(titles());
    Combo2->clear();
    Combo2->addItems(inventoryrules::Matches);
    Combo2->setCurrentIndex(0);
    Combo1->setCurrentIndex(0);

    Datagrid1->setColWidth(0, 200);
    Datagrid1->setColWidth(1, 0);
    Datagrid1->setColWidth(2, 1850);
    Datagrid1->setColWidth(3, 2150);
    for (int c = 4; c <= 8; ++c)
        Datagrid1->setColWidth(c, 1850);
    if (f.alternaterows == QLatin1String("True"))
        StripeGrid(*Datagrid1, f.gridcolour);
}

// The stored titles text; a missing or short one is replaced by the defaults in the database too, for every window
// that reads it. Throws db::DbError when the text cannot be read.
QString Inventory::titlesText() {
    const QString path = m_main ? m_main->dbpath : QString();
    const QVariant stored = inventorytitles::read(path);
    if (!db::isNull(stored) && inventorytitles::split(stored.toString()).size() >= inventorytitles::Count)
        return stored.toString();
    try {
        inventorytitles::write(path, inventorytitles::defaults());
    } catch (const db::DbError&) {
    }
    return inventorytitles::defaults();
}

QStringList Inventory::titles() {
    try {
        return inventorytitles::split(titlesText());
    } catch (const db::DbError&) {
        return inventorytitles::split(inventorytitles::defaults());
    }
}

void Inventory::fillFieldList(const QStringList& t) {
    Combo1->clear();
    for (int k : ShownTitles)
        Combo1->addItem(t.value(k));
}

void Inventory::titler() {
    const QStringList t = titles();
    for (int i = 0; i < 7; ++i)
        Datagrid1->setTextMatrix(0, 2 + i, t.value(ShownTitles[i]));
}

void Inventory::titler2() {
    fillFieldList(titles());
    Combo1->setCurrentIndex(-1);
    Combo1->setEditText(QString());
    titler();
}

void Inventory::dbclear() {
    Datagrid1->unbind();
    Datagrid1->setRows(Datagrid1->fixedRows() + 1);
    for (int c = 0; c < Datagrid1->cols(); ++c) {
        Datagrid1->setTextMatrix(1, c, QString());
        Datagrid1->setCellBackColor(1, c, QColor());
    }
}

void Inventory::showBackground(const QString& path) {
    QPixmap picture(path);
    if (picture.isNull())
        picture = QPixmap(desktop::programFolder() + QStringLiteral("/default.jpg"));
    Image1->setPixmap(picture);
}

// After a list is read: the count in the information line, the headings, the stripes.
void Inventory::listed(const QString& countText) {
    Label1->setText(countText);
    titler();
    if (m_main && m_main->alternaterows == QLatin1String("True"))
        StripeGrid(*Datagrid1, m_main->gridcolour);
}

void Inventory::cmdCommand1_Click() {
    if (Text1->text().isEmpty()) {
        MsgBox(QStringLiteral("No value entered!"));
        return;
    }
    if (Combo1->currentText().isEmpty()) {
        MsgBox(QStringLiteral("No field entered!"));
        return;
    }
    // A typed field or match counts only when it is one of the listed ones.
    const int field = Combo1->findText(Combo1->currentText(), Qt::MatchExactly);
    const int match = Combo2->findText(Combo2->currentText(), Qt::MatchExactly);
    if (field < 0) {
        MsgBox(QStringLiteral("Please choose a field from the list."));
        return;
    }
    if (match < 0) {
        MsgBox(QStringLiteral("Please choose Equals, Begins with or Contains."));
        return;
    }
    dbclear();
    const QString sql = inventoryrules::filter(field, match, Text1->text());
    Adodc1->setRecordSource(sql);
    try {
        Adodc1->refresh();
    } catch (const db::DbError& e) {
        MsgBox(e.message());
        return;
    }
    const int found = Adodc1->recordset()->recordCount();
    if (found == 0) {
        Label1->setText(sql + QStringLiteral("  NO RECORDS MATCHED."));
        dbclear();
        return;
    }
    Datagrid1->bind(Adodc1);
    listed(QString::number(found) + QStringLiteral(" RECORDS MATCHED."));
}

void Inventory::cmdGo_Click() {
    dbclear();
    Adodc1->setRecordSource(inventoryrules::fullList(m_main ? m_main->maxcalls : 1000));
    try {
        Adodc1->refresh();
    } catch (const db::DbError& e) {
        MsgBox(e.message());
        return;
    }
    Datagrid1->bind(Adodc1);
    listed(QString::number(Adodc1->recordset()->recordCount()) + QStringLiteral(" records returned."));
}

void Inventory::cmdCommand2_Click() {
    // Written whole or not at all, so a failed export never leaves a part that looks complete.
    const QString path = inventoryrules::invPath();
    // The headings and the items listed: the grid's blank row of an empty list is none.
    const db::Recordset* listed = Adodc1->recordset();
    const int rows = std::min(Datagrid1->rows(), Datagrid1->fixedRows() + (listed ? listed->recordCount() : 0));
    bool written = false;
    {
        ui::WaitCursor wait; // the list may hold many thousands
        written = inventoryrules::writeGridExport(path, rows, Datagrid1->cols(),
                                                  [this](int r, int c) { return Datagrid1->textMatrix(r, c); });
    }
    if (!written) {
        MsgBox(customers::cannotWriteMessage(path));
        return;
    }
    ShellOpen(path, 3);
}

void Inventory::Datagrid1_Click(int row) {
    if (row < Datagrid1->fixedRows() || Datagrid1->row() < Datagrid1->fixedRows() || !m_main)
        return;
    const QString reference = Datagrid1->textMatrix(Datagrid1->row(), OwnerCol);
    try {
        auto database = db::Database::open(m_main->dbpath);
        auto rs = database.openRecordset(inventoryrules::ownerQuery(reference));
        // Of customers whose references differ only in case (older files), the one the item names exactly.
        const int owner = callrules::findCustomer(*rs, reference);
        if (owner < 0)
            Label1->setText(QStringLiteral("Customer details Not Found!"));
        else
            Label1->setText(QStringLiteral("Customer:  ") + rs->text(owner, 0) + QStringLiteral("  -  ") +
                            rs->text(owner, 1));
    } catch (const db::DbError& e) {
        MsgBox(e.message());
    }
}

void Inventory::sortgrid(int col) {
    if (col < 0 || col >= Datagrid1->cols())
        return;
    Datagrid1->setRedraw(false);
    Datagrid1->setCol(col);
    Datagrid1->setRow(0);
    const int order = (col == m_sortCol && m_sortOrder == ui::FlexGrid::SortGenericAscending)
                          ? ui::FlexGrid::SortGenericDescending
                          : ui::FlexGrid::SortGenericAscending;
    Datagrid1->sort(col, order);
    m_sortCol = col;
    m_sortOrder = order;
    StripeGrid(*Datagrid1, m_main ? m_main->gridcolour : QString());
    Datagrid1->setRedraw(true);
}

void Inventory::mnushow_Click() {
    const int row = Datagrid1->row();
    const QString item =
        callrules::itemText(Datagrid1->textMatrix(row, TypeCol), Datagrid1->textMatrix(row, NumberCol));
    MsgBox(QStringLiteral("Retrieveing calls for: ") + item);
    if (!m_main)
        return;
    m_main->DataFill(inventoryrules::callsForItem(m_main->datesetting, item), mnushow->text());
}

void Inventory::showRenamePanel(bool show) {
    for (QWidget* w : std::initializer_list<QWidget*>{Text2, Save, Command1, Cancel})
        w->setVisible(show);
}

void Inventory::cmdCommand3_Click() {
    try {
        m_titlesAsRead = titlesText();
        ui::setTextFromStart(Text2, m_titlesAsRead);
    } catch (const db::DbError& e) {
        MsgBox(e.message());
        return;
    }
    MsgBox(WarningText);
    showRenamePanel(true);
    cmdCommand3->setEnabled(false);
}

// Stores the titles renamed from those the panel started with onto the titles as stored now; a text the database
// refuses, or renames another copy made to the same titles, keep the panel open and say why.
bool Inventory::storeTitles(const QString& text) {
    inventorytitles::Renamed renamed;
    try {
        renamed = inventorytitles::storeRenamed(m_main ? m_main->dbpath : QString(), m_titlesAsRead, text);
    } catch (const db::DbError& e) {
        MsgBox(QStringLiteral("The field titles could not be stored: ") + e.message());
        return false;
    }
    if (!renamed.stored) {
        // The box keeps this copy's names, on the titles as they are stored now.
        m_titlesAsRead = renamed.inFile;
        ui::setTextFromStart(Text2, renamed.text);
        MsgBox(QStringLiteral("Another copy of Quorvane has renamed the same field titles, so nothing has been "
                              "stored. They are now:\n") +
               renamed.inFile + QStringLiteral("\n\nThe box shows your names on them: press Save to store those."));
        return false;
    }
    showRenamePanel(false);
    cmdCommand3->setEnabled(true);
    titler2();
    return true;
}

void Inventory::Save_Click() {
    if (!inventorytitles::wellFormed(Text2->text())) {
        MsgBox(ErrorText);
        return;
    }
    storeTitles(Text2->text());
}

void Inventory::Command1_Click() {
    storeTitles(inventorytitles::defaults());
}

void Inventory::Cancel_Click() {
    showRenamePanel(false);
    cmdCommand3->setEnabled(true);
}

// The commands stay beside the filter while the line fits the screen at the window's font, else they get a line of
// their own below it.
void Inventory::fitCommands() {
    ui::stackWhenTooWide(m_top, layout()->contentsMargins());
}

void Inventory::closeEvent(QCloseEvent* event) {
    Datagrid1->unbind();
    Adodc1->clear();
    event->accept();
}

void Inventory::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Image1->setGeometry(rect());
}

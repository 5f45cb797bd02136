#include "reports/form3.h"

#include "customers/customerexport.h"
#include "mainwindow/form1.h"
#include "mainwindow/statusbar.h"
#include "options/statusrules.h"
#include "platform/db/database.h"
#include "platform/db/datacontrol.h"
#include "platform/db/dberror.h"
#include "platform/db/recordset.h"
#include "platform/db/values.h"
#include "platform/desktop.h"
#include "platform/widgets/busy.h"
#include "platform/widgets/colour.h"
#include "platform/widgets/cuttext.h"
#include "platform/widgets/datagrid.h"
#include "platform/widgets/dialogs.h"
#include "platform/widgets/forms.h"
#include "platform/widgets/menumark.h"
#include "platform/widgets/menus.h"
#include "platform/widgets/screen.h"
#include "reports/dialog.h"
#include "reports/pagefile.h"
#include "reports/quickreports.h"
#include "reports/reportframe.h"
#include "reports/windowactivation.h"
#include "reports/wizardquery.h"
#include "shared/shared.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

using ui::named;

namespace {

const QString Section = QStringLiteral("Reports");

// Enter in a list's box neither adds an entry nor picks the one its text matches: only a pick is a click.
class SwallowEnter : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() != QEvent::KeyPress && e->type() != QEvent::KeyRelease)
            return false;
        const int key = static_cast<QKeyEvent*>(e)->key();
        return key == Qt::Key_Return || key == Qt::Key_Enter;
    }
};

QComboBox* combo(QWidget* parent, const char* name) {
    auto* c = named(new QComboBox(parent), name);
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->setCompleter(nullptr);
    c->lineEdit()->installEventFilter(new SwallowEnter(c));
    // A stored entry (the spare field's name, a status) must not widen the window: the box keeps a width of its
    // own, shows the start of a picked entry and the whole entry in its tooltip.
    c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    c->setMinimumContentsLength(12);
    ui::tipWhenCut(c->lineEdit());
    ui::showChoiceFromStart(c);
    return c;
}

// Each entry's whole text is its tooltip in the open list, which cuts what is wider than the screen.
void tipEntries(QComboBox* box) {
    for (int i = 0; i < box->count(); ++i)
        box->setItemData(i, box->itemText(i), Qt::ToolTipRole);
}

// A box's background is its Base colour (a window's or frame's is its Window colour: ui::fillBackground).
void setBoxBackground(QWidget* w, const QColor& colour) {
    if (!colour.isValid())
        return;
    QPalette p = w->palette();
    p.setColor(QPalette::Base, colour);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

// Empties a list and its text, fills it and leaves no entry chosen.
void refill(QComboBox* box, const QStringList& entries) {
    box->clear();
    box->addItems(entries);
    box->setCurrentIndex(-1);
    box->setEditText(QString());
}

// Each Show Fields switch: its column and its settings key and default ("" for none).
struct Switch {
    QAction* Form3::*item;
    int column;
    const char* key;
    const char* def;
};

const Switch kSwitches[] = {
    {&Form3::mnuwizid, 0, "Show Ref", "True"},
    {&Form3::mnuwizst, 4, "Show Status", "True"},
    {&Form3::mnucn, 5, "Show Name", "True"},
    {&Form3::mnucat, 8, "Show Category", "True"},
    {&Form3::mnuwizss, 3, "Show Analyst", "False"},
    {&Form3::mnuwizcdet, 6, "Show Details", "True"},
    {&Form3::mnuwizcr, 10, "Show Resolution", "False"},
    {&Form3::mnnuresource, 11, "Show Resource", "False"},
    {&Form3::mnuwizot, 2, "Show TO", "False"},
    {&Form3::mnuwizod, 1, "Show DO", "True"},
    {&Form3::mnuwizct, 15, "Show CT", "False"},
    {&Form3::mnuwizcd, 16, "Show CD", "False"},
    {&Form3::mnuwizsf, 19, "Show Notes", "False"},
    {&Form3::mnusi, 14, "Show Item", "True"},
    {&Form3::mnulb, 9, "Show Logged", "False"},
    {&Form3::mnucf, 7, "Show Contact", "True"},
    {&Form3::mnucof, 18, "Show Call Open For", "False"},
};

} // namespace

Form3::Form3(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Report Wizard"));
    m_main = &ui::form<Form1>();
    WindowActivation::instance();
    buildControls();
    buildMenus();
    Form_Load();
    Form_Activate();
}

Form3::~Form3() = default;

void Form3::buildControls() {
    auto* central = named(new QWidget(this), "central");
    setCentralWidget(central);
    auto* outer = new QVBoxLayout(central);

    Frame1 = named(new QGroupBox(central), "Frame1");
    auto* grid = new QGridLayout(Frame1);
    Label1 = named(new QLabel(QStringLiteral("Show Calls for:"), Frame1), "Label1");
    Combo1 = combo(Frame1, "Combo1");
    Text1 = named(new QLineEdit(Frame1), "Text1");
    Text1->setEnabled(false);
    Label2 = named(new QLabel(QStringLiteral("Call status"), Frame1), "Label2");
    Combo3 = combo(Frame1, "Combo3");
    Label3 = named(new QLabel(QStringLiteral("Between dates"), Frame1), "Label3");
    Combo5 = combo(Frame1, "Combo5");
    d1 = named(new QDateEdit(Frame1), "d1");
    d2 = named(new QDateEdit(Frame1), "d2");
    for (QDateEdit* d : {d1, d2}) {
        d->setCalendarPopup(true);
        d->setDisplayFormat(db::shortDatePattern());
    }
    Label4 = named(new QLabel(QStringLiteral("Sort by"), Frame1), "Label4");
    Combo4 = combo(Frame1, "Combo4");
    Combo2 = combo(Frame1, "Combo2");
    Command1 = named(new QPushButton(QStringLiteral("Run Report"), Frame1), "Command1");
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(Combo1, 0, 1);
    grid->addWidget(Text1, 0, 2, 1, 2);
    grid->addWidget(Label2, 1, 0);
    grid->addWidget(Combo3, 1, 1);
    grid->addWidget(Label3, 2, 0);
    grid->addWidget(Combo5, 2, 1);
    grid->addWidget(d1, 2, 2);
    grid->addWidget(d2, 2, 3);
    grid->addWidget(Label4, 3, 0);
    grid->addWidget(Combo4, 3, 1);
    grid->addWidget(Combo2, 3, 2);
    grid->addWidget(Command1, 3, 3);
    grid->setColumnStretch(1, 2);
    grid->setColumnStretch(2, 1);
    grid->setColumnStretch(3, 1);

    auto* right = new QVBoxLayout;
    sqltxtbox = named(new QPlainTextEdit(wizard::StartingText, central), "sqltxtbox");
    sqltxtbox->setEnabled(false);
    sqltxtbox->setMaximumHeight(ui::twipsToPixels(1100));
    Text2 = named(new QLineEdit(central), "Text2");
    ui::tipWhenCut(Text2, QStringLiteral("Report title"));
    Text3 = named(new QLineEdit(central), "Text3");
    Text4 = named(new QLineEdit(central), "Text4");
    auto* swatches = new QHBoxLayout;
    for (QLineEdit* t : {Text3, Text4}) {
        t->setEnabled(false);
        t->setAlignment(Qt::AlignCenter);
        swatches->addWidget(t);
    }
    Text3->setToolTip(QStringLiteral("Webpage background colour"));
    Text4->setToolTip(QStringLiteral("Webpage table colour"));
    right->addWidget(sqltxtbox);
    right->addWidget(Text2);
    right->addLayout(swatches);

    auto* top = new QHBoxLayout;
    top->addWidget(Frame1, 3);
    top->addLayout(right, 2);
    outer->addLayout(top);

    Adodc1 = named(new db::DataControl(this), "Adodc1");
    // A report over a million calls shows its first rows at once and holds only those the grid shows.
    Adodc1->setOnDemand(true);
    DataGrid1 = named(new ui::DataGrid(central), "DataGrid1");
    outer->addWidget(DataGrid1, 1);

    auto* buttons = new QHBoxLayout;
    Command2 = named(new QPushButton(QStringLiteral("Export to CSV"), central), "Command2");
    Command3 = named(new QPushButton(QStringLiteral("Open in Browser"), central), "Command3");
    Command4 = named(new QPushButton(QStringLiteral("Save Layout"), central), "Command4");
    Command2->setEnabled(false);
    Command3->setEnabled(false);
    buttons->addWidget(Command4);
    buttons->addStretch(1);
    buttons->addWidget(Command2);
    buttons->addWidget(Command3);
    outer->addLayout(buttons);

    // The grid's twenty columns, bound by name.
    QStringList fields;
    for (int i = 0; i < wizard::ColumnCount; ++i)
        fields << QLatin1String(wizard::columnDef(i).field);
    DataGrid1->setDataSource(Adodc1);
    DataGrid1->setColumnFields(fields);
    m_placingColumns = true;
    for (int i = 0; i < wizard::ColumnCount; ++i) {
        const wizard::ColumnDef& def = wizard::columnDef(i);
        m_widths.push_back(def.width);
        DataGrid1->setColumnCaption(i, QLatin1String(def.caption));
        DataGrid1->setColumnWidth(i, qRound(def.width));
    }
    m_placingColumns = false;
    for (int c : {12, 13, 17})
        DataGrid1->setColumnVisible(c, false);
    connect(DataGrid1->horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int column, int, int newSize) { columnResized(column, newSize); });

    connect(Combo1, &QComboBox::activated, this, &Form3::Combo1_Click);
    connect(Combo4, &QComboBox::activated, this, &Form3::Combo4_Click);
    connect(Combo5, &QComboBox::activated, this, &Form3::Combo5_Click);
    connect(Command1, &QPushButton::clicked, this, &Form3::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form3::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Form3::Command3_Click);

    resize(ui::twipsToPixels(14400), ui::twipsToPixels(9600));
}

void Form3::buildMenus() {
    mnfields = ui::topMenu(menuBar(), "mnfields", QStringLiteral("Show Fields"));
    mnuwizid = ui::menuItem(mnfields, "mnuwizid", QStringLiteral("Call ID"));
    mnuwizst = ui::menuItem(mnfields, "mnuwizst", QStringLiteral("Status"));
    mnuwizcu = ui::menuItem(mnfields, "mnuwizcu", QStringLiteral("Customer Ref"));
    mnucn = ui::menuItem(mnfields, "mnucn", QStringLiteral("Customer Name"));
    mnucat = ui::menuItem(mnfields, "mnucat", QStringLiteral("Category"));
    mnuwizss = ui::menuItem(mnfields, "mnuwizss", QStringLiteral("Support staff"));
    mnuwizcdet = ui::menuItem(mnfields, "mnuwizcdet", QStringLiteral("Call Details"));
    mnuwizcr = ui::menuItem(mnfields, "mnuwizcr", QStringLiteral("Call Resolution"));
    mnnuresource = ui::menuItem(mnfields, "mnnuresource", QStringLiteral("Resource"));
    mnuwizot = ui::menuItem(mnfields, "mnuwizot", QStringLiteral("Open Time"));
    mnuwizod = ui::menuItem(mnfields, "mnuwizod", QStringLiteral("Open Date"));
    mnuwizct = ui::menuItem(mnfields, "mnuwizct", QStringLiteral("Close Time"));
    mnuwizcd = ui::menuItem(mnfields, "mnuwizcd", QStringLiteral("Close Date"));
    mnuwizsf = ui::menuItem(mnfields, "mnuwizsf", QStringLiteral("Spare Field"));
    mnusi = ui::menuItem(mnfields, "mnusi", QStringLiteral("Item Field"));
    mnulb = ui::menuItem(mnfields, "mnulb", QStringLiteral("Logged By Field"));
    mnucf = ui::menuItem(mnfields, "mnucf", QStringLiteral("Contact Field"));
    mnucof = ui::menuItem(mnfields, "mnucof", QStringLiteral("Call Open For"));

    mnuopt = ui::topMenu(menuBar(), "mnuopt", QStringLiteral("Options"));
    mnutrunc = ui::menuItem(mnuopt, "mnutrunc", QStringLiteral("Truncate Long fields for reports"));
    mnuwidth = ui::menuItem(mnuopt, "mnuwidth", QStringLiteral("HTML Report Width"));
    mnucalnot1 = ui::menuItem(mnuopt, "mnucalnot1", QStringLiteral("Include Call Notes"));
    mnusep = ui::menuItem(mnuopt, "mnusep", QStringLiteral("Include Line Separator"));
    mnuFullnames = ui::menuItem(mnuopt, "mnuFullnames", QStringLiteral("Show Customer Fullname"));
    mnulogo = ui::menuItem(mnuopt, "mnulogo", QStringLiteral("Logo"));
    mnubakc = ui::menuItem(mnuopt, "mnubakc", QStringLiteral("Webpage Background Colour"));
    mnufont = ui::menuItem(mnuopt, "mnufont", QStringLiteral("Title Font Size"));
    mnutable = ui::menuItem(mnuopt, "mnutable", QStringLiteral("Webpage Table Back Colour"));

    mnumore = ui::topMenu(menuBar(), "mnumore", QStringLiteral("More Quick Reports"));
    mnuci = ui::menuItem(mnumore, "mnuci", QStringLiteral("All Customer Inventory"));
    mnuivrep = ui::menuItem(mnumore, "mnuivrep", QStringLiteral("Inventory Report by Type"));
    mnuinvcalls = ui::menuItem(mnumore, "mnuinvcalls", QStringLiteral("Calls for an Inventory Item"));
    mnu50cat = ui::menuItem(mnumore, "mnu50cat", QStringLiteral("Last 50 calls for Category"));

    // The switches flip their own marks (keepMark undoes Qt's flip first).
    for (QAction* a : mnfields->actions())
        ui::keepMark(a);
    for (QAction* a : {mnutrunc, mnucalnot1, mnusep})
        ui::keepMark(a);
    for (const Switch& s : kSwitches) {
        QAction* a = this->*s.item;
        const QString key = QLatin1String(s.key);
        connect(a, &QAction::triggered, this, [this, a, key] { columnSwitch(a, key); });
    }
    connect(mnuwizcu, &QAction::triggered, this, [this] {
        ui::flipMark(mnuwizcu);
        datavisible();
    });
    connect(mnutrunc, &QAction::triggered, this, [this] { optionSwitch(mnutrunc, QStringLiteral("Truncate")); });
    connect(mnucalnot1, &QAction::triggered, this,
            [this] { optionSwitch(mnucalnot1, QStringLiteral("Call Note for Wizard")); });
    connect(mnusep, &QAction::triggered, this, [this] { optionSwitch(mnusep, QStringLiteral("Separator")); });
    connect(mnuwidth, &QAction::triggered, this, &Form3::mnuwidth_Click);
    connect(mnulogo, &QAction::triggered, this, &Form3::mnulogo_Click);
    connect(mnubakc, &QAction::triggered, this, &Form3::mnubakc_Click);
    connect(mnutable, &QAction::triggered, this, &Form3::mnutable_Click);
    connect(mnufont, &QAction::triggered, this, &Form3::mnufont_Click);
    connect(mnuci, &QAction::triggered, this, &Form3::mnuci_Click);
    connect(mnuivrep, &QAction::triggered, this, &Form3::mnuivrep_Click);
    connect(mnuinvcalls, &QAction::triggered, this, &Form3::mnuinvcalls_Click);
    connect(mnu50cat, &QAction::triggered, this, &Form3::mnu50cat_Click);
}

void Form3::Form_Load() {
    const qv::SettingsBatch settings;
    wizard::State& s = wizard::state();
    s.htmlwidth = ReadINI(Section, QStringLiteral("HTML Width"), QStringLiteral("1000"));
    if (const auto b = wizard::iniBool(ReadINI(Section, QStringLiteral("Separator"), QStringLiteral("False"))))
        mnusep->setChecked(*b);
    if (const auto b =
            wizard::iniBool(ReadINI(Section, QStringLiteral("Call Note for Wizard"), QStringLiteral("False"))))
        mnucalnot1->setChecked(*b);
    if (m_main) {
        ui::fillBackground(centralWidget(), ui::vbColour(m_main->backcolour));
        ui::fillBackground(Frame1, ui::vbColour(m_main->panelcolour));
        setBoxBackground(sqltxtbox, ui::vbColour(m_main->panelcolour));
    }
}

void Form3::Form_Activate() {
    m_activateSerial = WindowActivation::instance().serial();
    wizard::State& s = wizard::state();
    const QString spare = m_main ? m_main->Label36->text() : QString();

    for (const Switch& sw : kSwitches)
        if (const auto b = wizard::iniBool(ReadINI(Section, QLatin1String(sw.key), QLatin1String(sw.def))))
            (this->*sw.item)->setChecked(*b);
    datavisible();

    m_titlePrefix = QStringLiteral("Report dated: ") + db::displayText(desktop::clock().today()) + QStringLiteral(". ");
    const QString title = ReadINI(Section, QStringLiteral("Text2"), QString());
    m_held.remember(Section, QStringLiteral("Text2"), title);
    ui::setTextFromStart(Text2, m_titlePrefix + title);

    if (const auto b = wizard::iniBool(ReadINI(Section, QStringLiteral("Truncate"), QStringLiteral("False"))))
        mnutrunc->setChecked(*b);
    s.tablecolour = ReadINI(Section, QStringLiteral("TableColour"), QStringLiteral("&HFFFFFF"));
    s.pagecolour = ReadINI(Section, QStringLiteral("BackColour"), QStringLiteral("&HFFFFFF"));
    m_spareCaption = spare;
    ui::setStoredCaption(mnfields, mnuwizsf, QString(), spare);
    s.logopath = ReadINIPath(Section, QStringLiteral("Logo Image"),
                             desktop::programFolder() + QStringLiteral("/Media/logo.gif"));

    for (QComboBox* box : {Combo3, Combo1, Combo2, Combo5, Combo4})
        refill(box, {});
    QStringList statuses;
    try {
        statuses = statusrules::read(m_main ? m_main->dbpath : qv::dbpath()).statuses;
    } catch (const db::DbError&) {
        // the list keeps "All Calls" only
    }
    Combo3->addItems(statuses);
    Combo3->addItem(QStringLiteral("All Calls"));
    if (statuses.isEmpty()) {
        Combo3->setCurrentIndex(-1);
        Combo3->setEditText(QString());
    } else {
        Combo3->setCurrentIndex(0);
    }
    refill(Combo1, {QStringLiteral("All Customers"), QStringLiteral("Customer = "), QStringLiteral("Support Staff = "),
                    QStringLiteral("All Support Staff"), QStringLiteral("Category = "), spare + QStringLiteral(" = ")});
    tipEntries(Combo1);
    tipEntries(Combo3);
    refill(Combo5, {QStringLiteral("Ignore Dates"), QStringLiteral("Between Dates")});
    refill(Combo2, {QStringLiteral("Ascending"), QStringLiteral("Descending")});
    refill(Combo4, {QStringLiteral("Don't Sort"), QStringLiteral("[Date Opened]"), QStringLiteral("[Date Closed]"),
                    QStringLiteral("Customer"), QStringLiteral("Support Staff"), QStringLiteral("Status"),
                    QStringLiteral("Call ID"), QStringLiteral("Category")});

    if (m_main) {
        Adodc1->setConnectionString(db::DataControl::connectionStringFor(m_main->dbpath));
        Adodc1->setRecordSource(wizard::openCallsQuery(m_main->datesetting));
        try {
            Adodc1->refresh();
        } catch (const db::DbError&) {
            // the grid keeps what it showed
        }
    }
    d1->setDate(desktop::clock().today());
    d2->setDate(desktop::clock().today());
    datavisible();
    setSwatch(Text3, s.pagecolour, true);
    setSwatch(Text2, s.tablecolour, false);
    setSwatch(Text4, s.tablecolour, true);
}

void Form3::setSwatch(QLineEdit* box, const QString& colour, bool withText) {
    const auto number = wizard::colourNumber(colour);
    if (!number)
        return;
    setBoxBackground(box, ui::vbColour(*number));
    if (withText)
        box->setText(wizard::ColorToHTML(*number));
}

void Form3::datavisible() {
    for (const Switch& s : kSwitches)
        DataGrid1->setColumnVisible(s.column, (this->*s.item)->isChecked());
    DataGrid1->setColumnCaption(wizard::SpareColumn, m_main ? m_main->Label36->text() : QString());
    DataGrid1->setColumnCaption(14, QStringLiteral("Item"));
    DataGrid1->setColumnCaption(wizard::OpenForColumn, QStringLiteral("Open For"));
}

bool Form3::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate && WindowActivation::instance().cameFromOtherWindow(this, m_activateSerial))
        Form_Activate();
    return QMainWindow::event(e);
}

void Form3::closeEvent(QCloseEvent* e) {
    const ui::SettingsCommand storing;
    // The user's part, stored only when this copy changed it: another copy's title stands.
    m_held.store(Section, QStringLiteral("Text2"), Text2->text().mid(m_titlePrefix.size()));
    if (m_main)
        m_main->showActivity(QStringLiteral("Waiting"));
    QMainWindow::closeEvent(e);
}

void Form3::columnResized(int column, int newPixels) {
    if (m_placingColumns || column < 0 || column >= wizard::ColumnCount || newPixels <= 0)
        return;
    const size_t i = static_cast<size_t>(column);
    // The grid places its columns from whole twips; only a width the user dragged to is news.
    if (ui::twipsToPixels(qRound(m_widths[i])) == newPixels)
        return;
    m_widths[i] = ui::pixelsToTwips(newPixels);
    m_placingColumns = true;
    DataGrid1->setColumnWidth(column, qRound(m_widths[i]));
    m_placingColumns = false;
}

void Form3::Combo1_Click() {
    if (Combo1->currentText().endsWith(QLatin1String("= "))) {
        Text1->setEnabled(true);
    } else {
        Text1->clear();
        Text1->setEnabled(false);
    }
}

void Form3::Combo5_Click() {
    const bool between = Combo5->currentText() == QLatin1String("Between Dates");
    d1->setEnabled(between);
    d2->setEnabled(between);
}

void Form3::Combo4_Click() {
    Combo2->setEnabled(Combo4->currentText() != QLatin1String("Don't Sort"));
}

void Form3::Command1_Click() {
    datavisible();
    wizard::State& s = wizard::state();
    wizard::Choices c;
    c.filter = Combo1->currentText();
    c.filterValue = Text1->text();
    c.dateMode = Combo5->currentText();
    c.from = d1->date();
    c.to = d2->date();
    c.status = Combo3->currentText();
    c.direction = Combo2->currentText();
    c.sortColumn = Combo4->currentText();
    c.spareCaption = m_spareCaption;
    wizard::runClauses(s, c);
    sqltxtbox->setPlainText(wizard::shownQuery(s));
    Adodc1->setRecordSource(wizard::gridQuery(s, m_main ? m_main->datesetting : QString()));
    ui::WaitCursor wait;
    try {
        Adodc1->refresh();
    } catch (const db::DbError& e) {
        wait.release();
        ui::MsgBox(QStringLiteral("The report could not be run: ") + e.message());
        return;
    }
    if (db::Recordset* rs = Adodc1->recordset(); rs && rs->recordCount() > 0)
        rs->moveFirst();
    Command2->setEnabled(true);
    Command3->setEnabled(true);
}

namespace {

std::vector<wizard::OutputColumn> outputColumns(const Form3& w) {
    std::vector<wizard::OutputColumn> out;
    for (int i = 0; i < wizard::ColumnCount; ++i)
        out.push_back({w.DataGrid1->columnCaption(i), QLatin1String(wizard::columnDef(i).field), w.columnWidth(i),
                       w.DataGrid1->columnVisible(i)});
    return out;
}

} // namespace

void Form3::Command2_Click() {
    const QString path = reportPath(QStringLiteral("report.csv"));
    const bool written = writeWithProgress(path, [&](const Progress& progress) {
        return wizard::writeCsv(path, outputColumns(*this), Adodc1->recordset(), mnutrunc->isChecked(), progress)
                   ? QString()
                   : customers::cannotWriteMessage(path);
    });
    if (!written)
        return;
    ShellOpen(path, 3);
    Command2->setEnabled(false);
    Command3->setEnabled(false);
}

void Form3::Command3_Click() {
    const wizard::State& s = wizard::state();
    wizard::PageLayout layout;
    layout.programFolder = desktop::programFolder();
    layout.pagecolour = s.pagecolour;
    layout.tablecolour = s.tablecolour;
    layout.logopath = s.logopath;
    layout.title = Text2->text();
    layout.truncate = mnutrunc->isChecked();
    layout.notes = mnucalnot1->isChecked();
    layout.separator = mnusep->isChecked();
    const QString path = reportPath(QStringLiteral("report.htm"));
    const bool written = writeWithProgress(path, [&](const Progress& progress) {
        return wizard::writeHtml(path, outputColumns(*this), Adodc1->recordset(), layout,
                                 m_main ? m_main->dbpath : qv::dbpath(), desktop::clock().now(), progress)
                   ? QString()
                   : cannotWriteText(path);
    });
    if (!written)
        return;
    ShellOpen(path, 3);
    Command2->setEnabled(false);
    Command3->setEnabled(false);
}

void Form3::columnSwitch(QAction* item, const QString& key) {
    const ui::SettingsCommand storing;
    WriteINI(Section, key, ui::markText(ui::flipMark(item)));
    datavisible();
}

void Form3::optionSwitch(QAction* item, const QString& key) {
    const ui::SettingsCommand storing;
    WriteINI(Section, key, ui::markText(ui::flipMark(item)));
}

void Form3::mnuwidth_Click() {
    const ui::SettingsCommand storing;
    const QString answer = ui::InputBox(QStringLiteral("Enter a Value between 300 and 900"),
                                        QStringLiteral("HTML Query field Width"), QString());
    wizard::state().htmlwidth = answer;
    if (!answer.isEmpty())
        WriteINI(Section, QStringLiteral("HTML Width"), answer);
}

void Form3::mnulogo_Click() {
    const ui::SettingsCommand storing;
    const QString path =
        ui::dialogs().openFile(QStringLiteral("All image files (*.bmp,*.jpg,*.pcx)|*.BMP;*.JPG;*.PCX|"),
                               QStringLiteral("Logo"), desktop::programFolder());
    if (path.isEmpty())
        return;
    wizard::state().logopath = path;
    WriteINI(Section, QStringLiteral("Logo Image"), path);
}

namespace {
// The colour dialog starts from the colour the setting holds now (white when it holds none).
QColor startColour(const QString& setting) {
    const QColor c = ui::vbColour(setting);
    return c.isValid() ? c : QColor(Qt::white);
}
} // namespace

void Form3::mnubakc_Click() {
    const ui::SettingsCommand storing;
    const auto colour = ui::dialogs().chooseColour(startColour(wizard::state().pagecolour));
    if (!colour || !colour->isValid())
        return;
    const QString text = ui::vbColourText(*colour);
    wizard::state().pagecolour = text;
    setSwatch(Text3, text, true);
    WriteINI(Section, QStringLiteral("BackColour"), text);
}

void Form3::mnutable_Click() {
    const ui::SettingsCommand storing;
    const auto colour = ui::dialogs().chooseColour(startColour(wizard::state().tablecolour));
    if (!colour || !colour->isValid())
        return;
    const QString text = ui::vbColourText(*colour);
    wizard::state().tablecolour = text;
    setSwatch(Text2, text, false);
    setSwatch(Text4, text, false);
    WriteINI(Section, QStringLiteral("TableColour"), text);
    setSwatch(Text4, text, true);
}

void Form3::mnufont_Click() {
    QFont initial(QStringLiteral("Arial"), 8);
    initial.setBold(true);
    const auto font = ui::dialogs().chooseFont(initial);
    if (!font)
        return;
    const float size = static_cast<float>(font->pointSizeF());
    wizard::state().titlesize = QString::number(size, 'g', 7);
    QFont title = Text2->font();
    title.setPointSizeF(size);
    Text2->setFont(title);
}

void Form3::mnuci_Click() {
    invreport(mnusep->isChecked());
}

void Form3::mnuivrep_Click() {
    Dialog::openFrom(this);
}

void Form3::mnu50cat_Click() {
    catreport(mnusep->isChecked(), mnucalnot1->isChecked());
}

void Form3::mnuinvcalls_Click() {
    const QString answer = ui::InputBox(
        QStringLiteral("Enter Inventory Number (you can also easily list calls from either Inventory screen by right "
                       "clicking on the item and then exporting the results to CSV)"),
        QStringLiteral("Quorvane"), QString());
    if (answer.isEmpty())
        return;
    const QString path = reportPath(QStringLiteral("report-calls-for-status.htm"));
    const QString failure = wizard::writeItemCalls(path, answer, m_main ? m_main->dbpath : qv::dbpath());
    if (!failure.isEmpty()) {
        ui::MsgBox(failure);
        return;
    }
    ShellOpen(path, 3);
}

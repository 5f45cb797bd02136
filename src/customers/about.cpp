#include "customers/about.h"

#include "customers/customerexport.h"
#include "customers/customersearch.h"
#include "mainwindow/form1.h"
#include "mainwindow/statusbar.h"
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
#include "platform/widgets/flexgrid.h"
#include "platform/widgets/forms.h"
#include "platform/widgets/menus.h"
#include "platform/widgets/screen.h"
#include "platform/widgets/shell.h"
#include "reports/archivelookup.h"
#include "reports/pagefile.h"
#include "shared/schema.h"
#include "shared/shared.h"
#include "shared/textout.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>
#include <QVBoxLayout>

using ui::MsgBox;

namespace {

const QString Version = QStringLiteral("v1.9.7g3");
constexpr int DeleteModeHeight = 9195; // twips

// The archive beside the database; "" after telling the user there is none.
QString existingArchive(const QString& dbpath) {
    const QString path = archive::archivePath(dbpath);
    if (QFileInfo::exists(path))
        return path;
    MsgBox(QStringLiteral("No archives found"));
    return {};
}

QString sortField(const QString& column) {
    if (column == QLatin1String("Nom"))
        return QStringLiteral("Logged (Call Ref)");
    if (column == QLatin1String("sp3"))
        return QStringLiteral("Category");
    return column;
}

} // namespace

frmAbout1::frmAbout1(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmAbout1"));
    setWindowTitle(QStringLiteral("About Quorvane"));

    info = ui::named(new ui::FlexGrid(this), "info");
    info->setFixedRows(0);
    info->setEditTriggers(QAbstractItemView::NoEditTriggers);
    info->verticalHeader()->setDefaultSectionSize(info->fontMetrics().height() + 8);
    ui::tipCutCells(info); // folders and settings of any length
    cust1 = ui::named(new ui::FlexGrid(this), "cust1");
    cust1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    cust1->hide(); // below the window's normal height until the delete mode
    ui::tipCutCells(cust1);
    Adodc1 = ui::named(new db::DataControl(this), "Adodc1");
    Picture1 = ui::named(new QLabel(this), "Picture1");
    Picture1->setPixmap(QPixmap(desktop::programFolder() + QStringLiteral("/delete.png")));
    Picture1->hide();

    Command1 = ui::named(new QPushButton(QStringLiteral("Export this List"), this), "Command1");
    Command2 = ui::named(new QPushButton(QStringLiteral("View Call from Archive"), this), "Command2");
    Command3 = ui::named(new QPushButton(QStringLiteral("Delete Customers"), this), "Command3");
    Command4 = ui::named(new QPushButton(QStringLiteral("View Change Log"), this), "Command4");
    cmdSystemInfo = ui::named(new QPushButton(QStringLiteral("Open Settings File"), this), "cmdSystemInfo");
    cmdSysInfo = ui::named(new QPushButton(QStringLiteral("&System Info..."), this), "cmdSysInfo");
    cmdOK = ui::named(new QPushButton(QStringLiteral("OK"), this), "cmdOK");
    cmdOK->setDefault(true);

    popmenu = ui::named(new QMenu(this), "popmenu");
    mnuuser = ui::menuItem(popmenu, "mnuuser", QStringLiteral("Archived calls for Username"));
    mnuarchref = ui::menuItem(popmenu, "mnuarchref", QStringLiteral("Archived Call Report by Call Reference"));

    // The list commands and the others side by side while they fit the screen, else one line above the other.
    auto* listCommands = new QHBoxLayout;
    for (QPushButton* b : {Command1, Command2, Command3})
        listCommands->addWidget(b);
    listCommands->addStretch(1);
    auto* otherCommands = new QHBoxLayout;
    for (QPushButton* b : {Command4, cmdSystemInfo, cmdSysInfo})
        otherCommands->addWidget(b);
    otherCommands->addStretch(1);
    otherCommands->addWidget(cmdOK);
    auto* buttons = new QBoxLayout(QBoxLayout::LeftToRight);
    buttons->addLayout(listCommands);
    buttons->addLayout(otherCommands, 1);
    auto* box = new QVBoxLayout(this);
    box->addWidget(info, 1);
    box->addLayout(buttons);
    box->addWidget(cust1, 2);
    ui::stackWhenTooWide(buttons, box->contentsMargins());

    connect(Command1, &QPushButton::clicked, this, &frmAbout1::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmAbout1::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &frmAbout1::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &frmAbout1::Command4_Click);
    connect(cmdSystemInfo, &QPushButton::clicked, this, &frmAbout1::cmdSystemInfo_Click);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout1::cmdSysInfo_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout1::cmdOK_Click);
    connect(cust1, &ui::FlexGrid::clicked, this, &frmAbout1::cust1_Click);
    connect(mnuuser, &QAction::triggered, this, &frmAbout1::mnuuser_Click);
    connect(mnuarchref, &QAction::triggered, this, &frmAbout1::mnuarchref_Click);
    // OK answers both Enter and Esc.
    for (const QKeySequence& key :
         {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter), QKeySequence(Qt::Key_Escape)}) {
        auto* shortcut = new QShortcut(key, this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, cmdOK, &QPushButton::click);
    }

    resize(ui::twipsToPixels(13200), ui::twipsToPixels(7300));
    Form_Load();
    // Every information row in view, as far as the screen allows, whatever the font.
    const int rows = info->rows() * info->verticalHeader()->defaultSectionSize() + 2 * info->frameWidth();
    const int wanted = box->sizeHint().height() - info->sizeHint().height() + rows;
    resize(width(), std::max(height(), std::min(wanted, ui::windowRoom().height())));
}

frmAbout1::~frmAbout1() = default;

void frmAbout1::Form_Load() {
    const qv::SettingsBatch settings;
    Form1& main = ui::form<Form1>();
    Command3->setEnabled(main.isAdministrator());

    QString calls;
    QString customers;
    try {
        auto database = db::Database::open(main.dbpath);
        calls = QStringLiteral("Calls: ") + schema::rowCountText(database, QStringLiteral("Calls"));
        customers = QStringLiteral("Customers: ") + schema::rowCountText(database, QStringLiteral("Customers"));
    } catch (const db::DbError&) {
        // a count that cannot be read leaves its value empty
    }
    const QString dash = QStringLiteral(" - ");
    const auto value = [&dash](const QString& text) { return text.isEmpty() ? text : dash + text; };
    const QList<QStringList> rows = {
        {"Date:", dash + db::displayText(desktop::clock().today())},
        {"Product:", dash + "Quorvane Helpdesk"},
        {"Version:", dash + Version},
        {"Database:", dash + main.dbpath},
        {"Last archived from:", dash + ReadINI("Database", "Last Archived on", "Never Archived")},
        {"Last locally Backed Up:", dash + ReadINI("Database", "Last Backup", "Never Backed Up")},
        {"Total Records in Database:", value(calls)},
        {" \" ", value(customers)},
        {"Attachment Folder:", dash + main.attachpath},
        {"Category & Status path:", dash + "[Contained within Database]"},
        {"Maximum Calls displayed:", dash + QString::number(optionrules::maxCalls(
                                                ReadINI("Call Grid", "Maximum number of calls displayed", "1000")))},
        {"Date Format:",
         dash + optionrules::dateSetting(ReadINI("Call Grid", "Date Setting", db::shortDatePattern().toLower()))},
        {"Workload includes unassigned calls?",
         dash + ReadINI("Program", "Include Unassigned Calls in Workload", "False")},
        {"Calls unassigned by default?", dash + ReadINI("Program", "Unassigned by default", "False")},
        {"Key Status value:", dash + ReadINI("Program", "Stats 3", "Pending")},
        {"Default List Sort Field:",
         dash + sortField(optionrules::sortColumn(ReadINI("Call Grid", "Sort Column", "Nom")))},
        {"Default List Sort Order:",
         dash + optionrules::sortOrder(ReadINI("Call Grid", "Sort Order", "ASC")) + "ENDING"},
        {"Call Grid refresh Interval)",
         dash + QString::number(optionrules::refreshInterval(ReadINI("Call Grid", "Refresh Interval", "300"))) + "sec"},
    };
    info->setCols(3);
    info->setRows(static_cast<int>(rows.size()));
    info->setColWidth(2, 8300);
    info->setColWidth(1, 4200);
    info->setColWidth(0, 0);
    // The values take the width the captions leave, so the rows need no sideways scrolling; a value cut short
    // shows whole in its tooltip.
    info->horizontalHeader()->setSectionResizeMode(2 - info->fixedCols(), QHeaderView::Stretch);
    const QColor blue = ui::vbColour(0xFF0000);
    for (int r = 0; r < rows.size(); ++r) {
        info->setTextMatrix(r, 1, rows[r][0]);
        info->setTextMatrix(r, 2, rows[r][1]);
        info->setCellForeColor(r, 2, blue);
    }
}

void frmAbout1::Command1_Click() {
    const QString path = GetSpecialFolder(5) + QStringLiteral("/Quorvane-Info.csv");
    PageFile file;
    bool written = file.open(path);
    for (int r = 0; written && r < info->rows(); ++r)
        written = file.writeLine(csvLine({info->textMatrix(r, 1), info->textMatrix(r, 2)}));
    if (!written || !file.commit()) {
        MsgBox(customers::cannotWriteMessage(path));
        return;
    }
    ShellOpen(path, 3);
}

void frmAbout1::Command2_Click() {
    popmenu->popup(QCursor::pos());
}

void frmAbout1::Command3_Click() {
    const Form1& main = ui::form<Form1>();
    ui::WaitCursor wait;
    setListCommandsEnabled(false);
    Adodc1->setConnectionString(db::DataControl::connectionStringFor(main.dbpath));
    Adodc1->setRecordSource(customers::byNameSql());
    Adodc1->setOnDemand(true); // the grid reads only the customers it shows
    try {
        Adodc1->refresh();
    } catch (const db::DbError& e) {
        wait.release();
        setListCommandsEnabled(true);
        MsgBox(e.message());
        return;
    }
    if (Adodc1->recordset() && Adodc1->recordset()->recordCount() > 0) {
        cust1->setRedraw(false);
        cust1->bind(Adodc1);
        // Laid out as designed first; the address column gives way below once the window has its width.
        if (AddressCol - cust1->fixedCols() < cust1->horizontalHeader()->count())
            cust1->horizontalHeader()->setSectionResizeMode(AddressCol - cust1->fixedCols(), QHeaderView::Interactive);
        const std::pair<int, int> widths[] = {{0, 240}, {1, 2000}, {2, 2000}, {3, 2000}, {4, 3600},
                                              {5, 0},   {6, 1300}, {7, 0},    {8, 0}};
        for (const auto& [col, twips] : widths)
            cust1->setColWidth(col, twips);
        cust1->setTextMatrix(0, OptionCol, QStringLiteral("Option"));
    }
    cust1->setColPicture(OptionCol, Picture1->pixmap()); // the column shows the picture only
    warnondelete = true;
    cust1->setRedraw(true);
    cust1->setRowHeightMin(300);
    m_deleteMode = true;
    cust1->show();
    // Every column in view without sideways scrolling: the columns grow with the grid's font, so the window widens
    // for them as far as the screen allows, and the address column takes the width that is left.
    QHeaderView* heads = cust1->horizontalHeader();
    const QHeaderView* rowHeads = cust1->verticalHeader(); // the fixed column, of the width it was given
    const QMargins margins = layout()->contentsMargins();
    const int columns = heads->length() + 2 * cust1->frameWidth() +
                        (rowHeads->isHidden() ? 0 : std::max(rowHeads->sizeHint().width(), rowHeads->minimumWidth())) +
                        style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, cust1);
    const int wide = std::min(std::max(width(), margins.left() + columns + margins.right()), ui::windowRoom().width());
    if (AddressCol - cust1->fixedCols() < heads->count())
        heads->setSectionResizeMode(AddressCol - cust1->fixedCols(), QHeaderView::Stretch);
    resize(wide, std::max(ui::twipsToPixels(DeleteModeHeight), height()));
}

void frmAbout1::Command4_Click() {
    ui::openInTextEditor(desktop::programFolder() + QStringLiteral("/changelog.txt"));
}

void frmAbout1::cmdSystemInfo_Click() {
    ui::openInTextEditor(ui::form<Form1>().inipath);
}

void frmAbout1::cmdSysInfo_Click() {
    if (!ui::systemInformation())
        MsgBox(QStringLiteral("System Information Is Unavailable At This Time"));
}

void frmAbout1::cust1_Click(int row, int col) {
    if (cust1->rows() < 3) {
        MsgBox(QStringLiteral("At least 1 record must be in the database!"));
        return;
    }
    Form1& main = ui::form<Form1>();
    // Only a data row's own delete cell deletes, and exactly that row's customer.
    db::Recordset* rs = Adodc1->recordset();
    if (col == OptionCol && row >= 1 && row < cust1->rows() && rs && row - 1 < rs->rowCount()) {
        const QString reference = cust1->textMatrix(row, RefCol);
        if (warnondelete && MsgBox(QStringLiteral("Record/s will be PERMANENTLY deleted! (This warning will only "
                                                  "appear once)."),
                                   ui::Buttons::OkCancel) == ui::Answer::Cancel)
            return;
        warnondelete = false;
        const int ref = rs->fieldIndex(QStringLiteral("Username"));
        if (ref < 0 || db::displayText(rs->value(row - 1, ref)) != reference)
            return; // the grid no longer matches the rows read
        try {
            ui::WaitCursor wait;
            rs->removeRow(row - 1);
        } catch (const db::DbError& e) {
            MsgBox(e.message());
            return;
        }
        cust1->removeItem(row);
    }
    main.mnureflyist->setEnabled(true);
}

// Export, archive look-ups and delete stay off for as long as the delete mode lasts.
void frmAbout1::setListCommandsEnabled(bool enabled) {
    for (QPushButton* b : {Command1, Command2, Command3})
        b->setEnabled(enabled);
}

bool frmAbout1::leaveDeleteMode() {
    if (!m_deleteMode)
        return true;
    // The main list is read again and may have lost the opened call's customer: the call is stored first.
    if (!ui::form<Form1>().putAwayOpenedCall())
        return false;
    m_deleteMode = false;
    setListCommandsEnabled(true);
    cust1->unbind();
    cust1->setRows(0);
    Adodc1->clear();
    Adodc1->setConnectionString(QString());
    Form1& main = ui::form<Form1>();
    // Read anew in the order it is shown in, standing on the customer it stood on: a call or customer on the main
    // window's panel keeps its own, and a new or edited customer stays as typed.
    try {
        main.rereadCustomers();
    } catch (const db::DbError&) {
        // the list keeps the rows it showed
    }
    return true;
}

void frmAbout1::cmdOK_Click() {
    if (leaveDeleteMode())
        close();
}

void frmAbout1::closeEvent(QCloseEvent* event) {
    // Closed by its close box after deletions, the main list must not keep showing deleted customers; with an
    // opened call that cannot be stored the window stays, so nothing moves under the call.
    if (leaveDeleteMode())
        event->accept();
    else
        event->ignore();
}

void frmAbout1::mnuarchref_Click() {
    const Form1& main = ui::form<Form1>();
    const QString path = existingArchive(main.dbpath);
    if (path.isEmpty())
        return;
    const std::optional<qint64> call = archive::callNumberOf(ui::InputBox(QStringLiteral("Enter Call Reference")));
    if (!call)
        return;
    const QString failure = archive::archivedCallPage(path, *call, main.Label36->text());
    if (!failure.isEmpty())
        MsgBox(failure);
}

void frmAbout1::mnuuser_Click() {
    const Form1& main = ui::form<Form1>();
    const QString path = existingArchive(main.dbpath);
    if (path.isEmpty())
        return;
    const QString reference = ui::InputBox(QStringLiteral("Enter Customer Reference"));
    if (reference.isEmpty())
        return;
    const QString failure = archive::archivedCallsForCustomer(path, reference);
    if (!failure.isEmpty())
        MsgBox(failure);
}

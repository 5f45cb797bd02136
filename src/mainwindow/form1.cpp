#include "mainwindow/form1.h"

#include "callentry/callstore.h"
#include "calllists/calllist.h"
#include "calllists/callviews.h"
#include "customers/customersearch.h"
#include "mainwindow/settingsdefaults.h"
#include "mainwindow/statusbar.h"
#include "options/appearance.h"
#include "options/optionrules.h"
#include "options/staffrules.h"
#include "options/statusrules.h"
#include "platform/db/database.h"
#include "platform/db/datacontrol.h"
#include "platform/db/dberror.h"
#include "platform/db/recordset.h"
#include "platform/db/values.h"
#include "platform/desktop.h"
#include "platform/widgets/colour.h"
#include "platform/widgets/datagrid.h"
#include "platform/widgets/dialogs.h"
#include "platform/widgets/flexgrid.h"
#include "platform/widgets/forms.h"
#include "platform/widgets/menumark.h"
#include "platform/widgets/screen.h"
#include "shared/clsstyle.h"
#include "shared/schema.h"
#include "shared/shared.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSplitter>
#include <QStackedWidget>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>

using ui::Answer;
using ui::Buttons;
using ui::MsgBox;

namespace {

// [Grid Fonts] on both grids, and the customer grid's row height (twips), as the appearance options apply them.
void applyGridFonts(Form1& f) {
    const appearance::GridFont font = appearance::GridFont::stored();
    f.Datagrid1->verticalHeader()->setDefaultSectionSize(ui::twipsToPixels(optionrules::rowHeight(
        ReadINI(QStringLiteral("Call Grid"), QStringLiteral("Grid Row Height"), QStringLiteral("300")))));
    f.showStoredGridFont(font);
}

} // namespace

Form1::Form1(const QString& settingsBase, QWidget* parent)
    : QMainWindow(parent), m_callList(std::make_unique<CallList>(*this)) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Quorvane"));
    buildMenus();
    buildPanels();
    Load(settingsBase);
}

Form1::~Form1() = default;

void Form1::Initialize() {
    // The window's border and buttons follow the resizing setting; without it the window keeps the size the
    // layout gives it.
    style = std::make_unique<clsStyle>();
    style->setResizable(this, ReadINI(QStringLiteral("Program"), QStringLiteral("Allow Resizing for larger screens"),
                                      QStringLiteral("False")) == QLatin1String("True"));
}

void Form1::endProgram(const QString& message) {
    if (!message.isEmpty())
        MsgBox(message);
    m_ended = true;
}

void Form1::Load(const QString& settingsBase) {
    // A first start fills in some ninety defaults: one rewrite of the settings file, not one each.
    const qv::SettingsBatch settings;
    menusoff();

    QString base = settingsBase;
    base.remove(QLatin1Char('"'));
    if (base.isEmpty())
        base = GetSpecialFolder(28);
    // Made whole from the working folder, so that every path stored or told (settings file, database) names the
    // file wherever the program is started from next.
    const QString folder = QDir(base).absolutePath() + QStringLiteral("/Quorvane");
    QDir().mkpath(folder);
    inipath = folder + QStringLiteral("/quorvane.ini");
    qv::inipath() = inipath;
    Initialize();

    if (!openDatabase())
        return;
    readSettings();
    try {
        auto database = db::Database::open(dbpath);
        // A file of an earlier build is converted whatever version this user's settings name.
        if (ReadINI(QStringLiteral("Database"), QStringLiteral("Version"), QString()) != QLatin1String("1.9.7") ||
            schema::needsUpgrade(database)) {
            schema::upgrade(database);
            WriteINI(QStringLiteral("Database"), QStringLiteral("Version"), QStringLiteral("1.9.7"));
        }
    } catch (const db::DbError& e) {
        endProgram(QStringLiteral("The database could not be brought up to date:\n") + e.message());
        return;
    }
    try {
        openDataControls();
        fillLists();
        readColumnWidths();
    } catch (const db::DbError& e) {
        endProgram(QStringLiteral("The database could not be read:\n") + e.message());
        return;
    }
    layoutForScreen();
    if (m_ended)
        return;
    applyGridFonts(*this);
    applyColours();
    if (Combo2->count() > 0)
        Combo2->setCurrentIndex(0);
    StatusBar1->setPanel(5, QStringLiteral("Waiting"));
}

bool Form1::openDatabase() {
    const QString folder = QFileInfo(inipath).absolutePath();
    const QString defaultPath = folder + QStringLiteral("/desk.qvdb");
    QString path = ReadINIPath(QStringLiteral("Database"), QStringLiteral("Database Path"), QString());
    // A shared file briefly out of reach must not re-point this copy for good: the stored path stays.
    m_storedDbPath = path;
    if (!path.isEmpty() && !QFileInfo::exists(path)) {
        MsgBox(QStringLiteral("The database could not be found at:\n") + path +
               QStringLiteral("\n\nQuorvane will use the local database for this run:\n") + defaultPath +
               QStringLiteral("\n\nThe settings still name the database above, so the next start looks for it "
                              "there again."));
        path.clear();
    }
    if (path.isEmpty()) {
        path = defaultPath;
        if (!QFileInfo::exists(path)) {
            try {
                schema::createDatabase(path);
            } catch (const db::DbError& e) {
                // Refused only because another copy starting at the same time put its whole file there first.
                if (!QFileInfo::exists(path)) {
                    endProgram(QStringLiteral("A new database could not be created at ") + path +
                               QStringLiteral(":\n") + e.message());
                    return false;
                }
            }
        }
        if (m_storedDbPath.isEmpty()) {
            WriteINI(QStringLiteral("Database"), QStringLiteral("Database Path"), path);
            m_storedDbPath = path;
        }
    }
    try {
        auto database = db::Database::open(path);
        schema::probe(database);
    } catch (const db::DbError& e) {
        endProgram(QStringLiteral("Quorvane cannot open the database ") + path + QStringLiteral(":\n") + e.message() +
                   QStringLiteral("\n\nQuorvane will now close."));
        return false;
    }
    dbpath = path;
    return true;
}

void Form1::readSettings() {
    const QString prog = desktop::programFolder();
    backimagepath = ReadINIPath("Images", "BackImage", prog + QStringLiteral("/default.jpg"));
    backcolour = ReadINI("Customisation", "Back-Colour", "12632256");
    gridcolour = ReadINI("Call Grid", "Grid Colour", "15921906");
    monitorpath = ReadINIPath("Monitor", "Monitor Path", prog);
    piemode = optionrules::pieMode(ReadINI("Program", "Piechart", "sp3"));
    homestats = ReadINI("Program", "Home Stats Format", "Me");
    includeunassigned = ReadINI("Program", "Include Unassigned Calls in Workload", "False");
    unassigneddefault = ReadINI("Program", "Unassigned by default", "False");
    panelcolour = ReadINI("Customisation", "Panel-Colour", "15724527");
    sortorder = optionrules::sortOrder(ReadINI("Call Grid", "Sort Order", "ASC"));
    formcolour = ReadINI("Customisation", "Form-Colour", "15724527");
    alternaterows = ReadINI("Call Grid", "Alternate Rows", "True");
    mbcolour = ReadINI("Customisation", "MB-Colour", "15724527");
    attachpath = ReadINIPath("Program", "Attachments Path", QFileInfo(inipath).absolutePath() + "/Attachments");
    if (!attachpath.isEmpty())
        QDir().mkpath(attachpath); // the default folder does not exist on a first start
    stats3status = ReadINI("Program", "Stats 3", "Pending");
    statusstyle = ReadINI("Call Grid", "Status Style", "varcolours");
    notesautonew = ReadINI("Program", "Call Notes Auto-New", "0").toInt();
    maxcalls = optionrules::maxCalls(ReadINI("Call Grid", "Maximum number of calls displayed", "1000"));
    sortcolumn = optionrules::sortColumn(ReadINI("Call Grid", "Sort Column", "Nom"));
    auditon = optionrules::isTrue(ReadINI("Program", "Record Audit Information", "True"));
    lowres = optionrules::isTrue(ReadINI("Program", "Force Low Res", "False"));
    datesetting = optionrules::dateSetting(ReadINI("Call Grid", "Date Setting", db::shortDatePattern().toLower()));
    sheetheader = ReadINI("Printing", "Call Sheet Header", "Quorvane Call Sheet");
    refreshinterval = optionrules::refreshInterval(ReadINI("Call Grid", "Refresh Interval", "300"));

    mnumonitor->setChecked(optionrules::isTrue(ReadINI("Monitor", "Monitor Enabled", "False")));
    mnucalnot->setChecked(optionrules::isTrue(ReadINI("Reports", "Call Notes", "True")));
    mnultrhead->setChecked(optionrules::isTrue(ReadINI("Printing", "Letterhead Space", "False")));
    Timer2->stop();
    if (mnumonitor->isChecked())
        Timer2->start();
    if (optionrules::isTrue(ReadINI("Call Grid", "Auto-Refresh", "False")))
        Timer3->start();
    Label36->setText(ReadINI("Program", "Spare Field Name", "Notes:"));
    SetDropDownWidth(Combo6, optionrules::dropDownWidth(ReadINI("Program", "Customer Drop-Down Width", "200")));
    // Read so the file carries them; they apply at the next start.
    ReadINI("Call Grid", "Sort by Name or Username", "Name");
    ReadINI("Database", "Limited Refresh Customer Pull Down", "False");
    ReadINI("Email-Settings", "Default Message", "");
    ReadINI("Email-Settings", "Close Message", "False");
    ReadINI("Email-Settings", "Close Message Text", "Your call # has been closed");

    // What saver stores, as this copy holds it now: only what changes from here on is written back.
    for (const auto& [section, key, value] : saverSettings())
        m_held.remember(section, key, value);
}

std::vector<Form1::HeldSetting> Form1::saverSettings() const {
    return {{"Images", "BackImage", backimagepath},
            {"Monitor", "Monitor Path", monitorpath},
            {"Monitor", "Monitor Enabled", ui::markText(mnumonitor->isChecked())},
            {"Customisation", "Back-Colour", backcolour},
            {"Customisation", "Panel-Colour", panelcolour},
            {"Customisation", "MB-Colour", mbcolour},
            {"Customisation", "Form-Colour", formcolour},
            {"Call Grid", "Grid Colour", gridcolour},
            {"Call Grid", "Status Style", statusstyle},
            {"Printing", "Call Sheet Header", sheetheader},
            {"Call Grid", "Sort Order", sortorder}};
}

void Form1::openDataControls() {
    const QString conn = db::DataControl::connectionStringFor(dbpath);
    for (db::DataControl* dc : {Adodc1, Adodc2, Adodc4, Adodc5, Adodc7})
        dc->setConnectionString(conn);
    Adodc1->setRecordSource(customers::listSql(ReadINI("Call Grid", "Sort by Name or Username", "Name")));
    // The whole table, read as the grid shows it.
    Adodc1->setOnDemand(true);
    Adodc1->refresh();
    const QStringList captions = {"Full Name", "Reference", "Phone", "Address", "Spare1", "Spare2", "Email", "Notes"};
    // Customers is stored Name, Username, Extension, Location, Spare1, Spare2, Notes, Building; the grid
    // shows the e-mail address (Building) at 6 and the notes at 7.
    Datagrid1->setDataSource(Adodc1);
    Datagrid1->setColumnFields({"Name", "Username", "Extension", "Location", "Spare1", "Spare2", "Building", "Notes"});
    for (int i = 0; i < captions.size(); ++i)
        Datagrid1->setColumnCaption(i, captions[i]);
    Datagrid1->setColumnVisible(4, false);
    Datagrid1->setColumnVisible(5, false);
    Adodc2->setRecordSource(callviews::openCount());
    Adodc4->setRecordSource(CallStore::noCallSql());
    Adodc4->refresh();
    Adodc5->setRecordSource(customers::noCustomerSql());
    Adodc7->setRecordSource(callviews::noCalls());
}

void Form1::fillLists() {
    statuses.clear();
    categories.clear();
    for (auto& row : statustable)
        row = {QString(), QString()};
    const statusrules::Lists lists = statusrules::read(dbpath);
    statuses = lists.statuses;
    categories = lists.categories;
    for (int n = 0; n < lists.statuses.size() && n < static_cast<int>(statustable.size()); ++n)
        statustable[n] = {lists.statuses[n], lists.colours[n]};
    staff = staffrules::ids(dbpath);

    Combo2->clear();
    Combo2->addItems(staff);
    Combo1->clear();
    Combo1->addItems(statuses);
    Combo13->clear();
    Combo13->addItems(categories);
    Combo5->clear();
    Combo5->addItem(QStringLiteral("---"));
    Combo5->addItems(staff);

    // "Select Calls" views built from the lists.
    mnuselect->clear();
    mnuselect->addAction(QStringLiteral("Open Calls"), this, &Form1::listOpenCalls);
    mnuselect->addAction(QStringLiteral("Unassigned Calls"), this, &Form1::listUnassignedCalls);
    mnuselect->addAction(QStringLiteral("Closed Today"), this, &Form1::listClosedToday);
    QMenu* byStatus = mnuselect->addMenu(QStringLiteral("By Status"));
    for (const QString& s : statuses)
        byStatus->addAction(s, this, [this, s] { listByStatus(s); });
    QMenu* byAnalyst = mnuselect->addMenu(QStringLiteral("By Support Staff"));
    for (const QString& s : staff)
        byAnalyst->addAction(s, this, [this, s] { listByAnalyst(s); });
    QMenu* byCategory = mnuselect->addMenu(QStringLiteral("By Category"));
    for (const QString& s : categories)
        byCategory->addAction(s, this, [this, s] { listByCategory(s); });
    mnuselect->addSeparator();
    mnuselect->addAction(QStringLiteral("By Customer Reference..."), this, [this] {
        const QString ref = ui::InputBox(QStringLiteral("Enter Customer Reference"));
        if (!ref.isEmpty())
            listByCustomer(ref);
    });
    mnuselect->addAction(QStringLiteral("By Date Opened..."), this, [this] {
        const QString text = ui::InputBox(QStringLiteral("Enter the date the calls were logged"), ui::DefaultTitle,
                                          desktop::clock().today().toString(db::shortDatePattern()));
        if (text.isEmpty())
            return;
        const QVariant d = db::parseDateValue(text);
        if (d.typeId() != QMetaType::QDate) {
            MsgBox(QStringLiteral("That is not a date."));
            return;
        }
        listByDate(d.toDate());
    });
    mnuselect->addAction(QStringLiteral("By Keyword..."), this, [this] {
        const QString word = ui::InputBox(QStringLiteral("Enter a word to look for in the calls"));
        if (!word.isEmpty())
            listByKeyword(word);
    });
}

void Form1::layoutForScreen() {
    const QSize screen = ui::screen().sizePixels();
    if (screen.width() < MinimumScreenWidth || screen.height() < MinimumScreenHeight) {
        endProgram(QStringLiteral("Quorvane needs a screen of at least %1 x %2 pixels; this one is %3 x %4.")
                       .arg(MinimumScreenWidth)
                       .arg(MinimumScreenHeight)
                       .arg(screen.width())
                       .arg(screen.height()));
        return;
    }
    if (screen.width() < CompactBelowWidth || screen.height() < CompactBelowHeight)
        lowres = true;
    // The compact layout drops the logo tile and narrows the customer list (see CustomerListRoom).
    Picture12->setVisible(!lowres && screen.width() >= 1280);
    // The dropped tile's column takes no share of the room the other tiles spread into.
    if (auto* tiles = qobject_cast<QGridLayout*>(Picture10->layout()))
        tiles->setColumnStretch(3, Picture12->isVisibleTo(Picture10) ? 2 : 0);
    const QSize want(screen.width() - (lowres ? 0 : 40), screen.height() - (lowres ? 40 : 80));
    resize(want);
    if (!property("allowResizing").toBool())
        setFixedSize(want);
}

void Form1::applyColours() {
    const QColor back = ui::vbColour(backcolour);
    const QColor form = ui::vbColour(formcolour);
    const QColor mb = ui::vbColour(mbcolour);
    const QColor panel = ui::vbColour(panelcolour);
    ui::fillBackground(Picture1, back);
    ui::fillBackground(Picture2, back);
    ui::fillBackground(Picture3, back);
    ui::fillBackground(Picture6, form);
    ui::fillBackground(Picture4, mb);
    ui::fillBackground(Picture5, mb);
    ui::fillBackground(Picture10, panel);
    ui::fillBackground(centralWidget(), form);
    buttoncolours();
    if (backimagepath != QLatin1String("None")) {
        QPixmap pic(backimagepath);
        if (pic.isNull())
            pic.load(desktop::programFolder() + QStringLiteral("/default.jpg"));
        backimage->setPixmap(pic);
        // The background picture shows behind the home panel's tiles.
        if (!pic.isNull()) {
            QPalette p = Picture10->palette();
            p.setBrush(QPalette::Window, QBrush(pic));
            Picture10->setPalette(p);
            Picture10->setAutoFillBackground(true);
        }
    }
    // The rest as the options window's Okay leaves it, so a restart looks the same.
    applyAppearance();
}

void Form1::buttoncolours() {
    const QColor mb = ui::vbColour(mbcolour);
    if (!mb.isValid())
        return;
    // Dark buttons (the "Dark" look's menu bar) need light text to stay readable.
    const bool dark = qGray(mb.rgb()) < 128;
    const QColor text = dark ? QColor(Qt::white) : QApplication::palette().color(QPalette::ButtonText);
    for (QPushButton* b : findChildren<QPushButton*>()) {
        QPalette p = b->palette();
        p.setColor(QPalette::Button, mb);
        p.setColor(QPalette::ButtonText, text);
        b->setPalette(p);
    }
}

void Form1::SetDropDownWidth(QComboBox* combo, int widthPixels) {
    if (combo && widthPixels >= 201 && combo->view())
        combo->view()->setMinimumWidth(widthPixels);
}

QString Form1::accessLevel() const {
    return StatusBar1->panel(2);
}

void Form1::loginClicked() {
    const QString name = Combo2->currentText();
    if (name.isEmpty())
        return;
    std::optional<staffrules::Member> member;
    try {
        member = staffrules::findMember(dbpath, name);
    } catch (const db::DbError& e) {
        MsgBox(e.message());
        return;
    }
    if (!member) {
        MsgBox(QStringLiteral("That member of staff is no longer in the staff list."));
        return;
    }
    if (staffrules::hasPassword(member->password)) {
        const QString typed = ui::dialogs().password(QStringLiteral("Enter Password for ") + name, ui::DefaultTitle);
        if (!staffrules::passwordAccepted(member->password, typed)) {
            MsgBox(QStringLiteral("Incorrect Password!"));
            return;
        }
    }
    currentanalyst = name;
    StatusBar1->setPanel(2, staffrules::loginLevel(member->level));
    login();
}

void Form1::login() {
    const qv::SettingsBatch settings;
    Picture6->hide();
    Picture1->show();
    Picture2->show();
    upperStack->show();
    upperStack->setCurrentWidget(Picture10);
    emit upperStack->currentChanged(upperStack->currentIndex());
    StatusBar1->setPanel(1, currentanalyst);
    Timer1_Timer();
    StatusBar1->setPanel(5, QStringLiteral("Waiting"));
    stats();
    menuson();
    applyuserlevel();
    Command11_Click();
}

void Form1::applyuserlevel() {
    const QString level = accessLevel();
    if (level == QLatin1String("Basic")) {
        for (QAction* a : {mnucustdel, mnueditcust, mnumonitor, mnuwiz, mnusupportstaff, mnucallsheet})
            a->setEnabled(false);
        lockOptionsEditing();
    } else if (level == QLatin1String("Standard")) {
        for (QAction* a : {mnucustdel, mnueditcust, mnusupportstaff})
            a->setEnabled(false);
        lockOptionsEditing();
    }
}

void Form1::saver() {
    const ui::SettingsCommand storing;
    // Values this copy did not change are left as the file holds them: another copy may have chosen them since.
    for (const auto& [section, key, value] : saverSettings())
        m_held.store(section, key, value);
    // The rest of the list only has to be there: reading writes a missing one's default.
    ReadINI("Email-Settings", "Default Message", "");
    ReadINI("Email-Settings", "Close Message", "False");
    ReadINI("Email-Settings", "Close Message Text", "Your call # has been closed");
    if (ReadINI("Program", "Start Picture", "False") != QLatin1String("False"))
        WriteINI("Program", "Start Picture", "False");
    ReadINI("Call Grid", "Sort by Name or Username", "Name");
    ReadINI("Database", "Limited Refresh Customer Pull Down", "False");
}

void Form1::SavePass(const QString& staffId, const QString& password) {
    // Said only of a file that was written.
    if (!staffrules::writePasswordFile(desktop::programFolder(), staffId, password)) {
        MsgBox(QStringLiteral("The text file containing your password could not be saved to the application's "
                              "directory (") +
               desktop::programFolder() + QStringLiteral(")."));
        return;
    }
    MsgBox(QStringLiteral("In case you should forget it, a text file containing your password has been saved to "
                          "the application's directory"));
}

void Form1::Timer1_Timer() {
    const QDateTime now = desktop::clock().now();
    StatusBar1->setPanel(3, now.date().toString(db::shortDatePattern()));
    StatusBar1->setPanel(4, now.time().toString(QStringLiteral("hh:mm")));
}

void Form1::Timer2_Timer() {
    monitorticks = static_cast<qint16>(monitorticks + 1);
    if (monitorticks >= 600) {
        writemonitor();
        monitorticks = 0;
    }
}

void Form1::Timer3_Timer() {
    ++refreshticks;
    if (refreshticks < refreshinterval)
        return;
    refreshticks = 0;
    if (upperStack->isVisibleTo(this) && upperStack->currentWidget() == Picture10 && !currentsql().isEmpty())
        DataFill(currentsql(), QStringLiteral("(Auto-Refreshed) "));
}

void Form1::closeEvent(QCloseEvent* event) {
    if (!m_ended) {
        // A window holding what cannot be stored (a note) stays open with it, and so does the program; nothing
        // else is put away before every window has let go.
        if (!ui::unloadAll(this)) {
            event->ignore();
            return;
        }
        // A call that cannot be stored keeps the program open, so that it can be saved again or cancelled.
        if (!shutdownCallPanel()) {
            event->ignore();
            return;
        }
        const ui::SettingsCommand storing;
        writeColumnWidths();
        // A settings file deleted by "Reset ALL values" must still lead the next start to the database the
        // settings named (reading writes the path only where the key is gone); a path another copy stored stays.
        ReadINIPath(QStringLiteral("Database"), QStringLiteral("Database Path"),
                    m_storedDbPath.isEmpty() ? dbpath : m_storedDbPath);
    }
    Timer1->stop();
    Timer2->stop();
    Timer3->stop();
    ui::unloadAll(this);
    event->accept();
}

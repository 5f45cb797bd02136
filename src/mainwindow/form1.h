#pragma once

#include "shared/shared.h"

#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <array>
#include <memory>
#include <vector>

class QAction;
class QCalendarWidget;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;
class QTextEdit;
class QTimer;
class PanelStatusBar;
class clsStyle;
class CallStore;
class PieChart;
class CallList;

namespace appearance {
struct GridFont;
}
namespace db {
class DataControl;
}
namespace ui {
class DataGrid;
class FlexGrid;
} // namespace ui

// The main window: the hub that owns the data controls on the one database, the customer list, the call
// list, the call panel and the home dashboard, and from whose menus every other window opens. Other windows
// read and write its public members directly, as they do in the design this program follows.
//
// The class is split by subsystem: the shell (start-up, login, menus, settings, timers, shutdown) lives in
// mainwindow/, the call panel in callentry/, the call list and dashboard in calllists/, the customer list
// commands in customers/.
class Form1 : public QMainWindow {
    Q_OBJECT
public:
    // Builds the window and runs Initialize and Load. settingsBase is the one command-line argument ("" for
    // none). When Load decides the program cannot run (screen too small, database unusable) ended() is true.
    explicit Form1(const QString& settingsBase = QString(), QWidget* parent = nullptr);
    ~Form1() override;
    bool ended() const { return m_ended; }

    // ---- Public variables (loaded at start-up from the settings file) ----
    QString backimagepath;
    QString backcolour;
    QString gridcolour;
    QString monitorpath;
    QString piemode;
    QString homestats;
    QString includeunassigned;
    QString unassigneddefault;
    QString panelcolour;
    QString sortorder;
    QString formcolour;
    QString alternaterows;
    QString mbcolour;
    QString& dbpath = qv::dbpath(); // the one database path, shared with the core
    QString currentanalyst;
    QString attachpath;
    QString stats3status;
    QString statusstyle;
    int notesautonew = 0;
    int maxcalls = 1000;
    QString sortcolumn;
    QString inipath;
    bool auditon = true;
    bool lowres = false;
    QString datesetting;
    const QString sqldateformat = QStringLiteral("yyyy\\/mm\\/dd");
    int monitorticks = 0;
    QString sheetheader;
    int refreshticks = 0;
    int refreshinterval = 300;
    // Status-colour table: 31 rows of (status, colour text).
    std::array<std::array<QString, 2>, 31> statustable;
    QStringList statuses;   // Settings.Status in row order
    QStringList categories; // Settings.Category in row order
    QStringList staff;      // Analysts.ID in ID order
    // Customer editing modes (set by the customer commands, ended by the call panel's save and cancel).
    bool addcustmode = false;
    bool editcustmode = false;
    bool cancelpressed = false;
    bool newcall = false; // the call on the panel was started by lognewcall and not yet saved

    // ---- Controls ----
    PanelStatusBar* StatusBar1 = nullptr;
    db::DataControl* Adodc1 = nullptr; // customers
    db::DataControl* Adodc2 = nullptr; // statistics
    db::DataControl* Adodc4 = nullptr; // the call on the call panel
    db::DataControl* Adodc5 = nullptr; // customer-reference lookups
    db::DataControl* Adodc7 = nullptr; // the call list
    ui::DataGrid* Datagrid1 = nullptr;
    ui::FlexGrid* datagrid2 = nullptr;
    QLabel* backimage = nullptr;
    QTimer* Timer1 = nullptr; // clock, 60 s
    QTimer* Timer2 = nullptr; // monitor pages, 1 s ticks
    QTimer* Timer3 = nullptr; // auto-refresh, 1 s ticks
    QTextEdit* pc1 = nullptr;
    QLabel* Label33 = nullptr;
    QLabel* Label34 = nullptr;
    QLabel* Label40 = nullptr;
    // Panels
    QFrame* Picture1 = nullptr;           // customer list
    QFrame* Picture2 = nullptr;           // call list
    QFrame* Picture3 = nullptr;           // audit text
    QFrame* Picture4 = nullptr;           // call-list buttons
    QFrame* Picture5 = nullptr;           // call-panel buttons
    QFrame* Picture6 = nullptr;           // login
    QFrame* Picture7 = nullptr;           // pie tile
    QFrame* Picture8 = nullptr;           // entry panel
    QFrame* Picture10 = nullptr;          // home panel
    QFrame* Picture12 = nullptr;          // logo tile
    QFrame* Picture13 = nullptr;          // label tile
    QFrame* Picture17 = nullptr;          // bars tile
    QStackedWidget* upperStack = nullptr; // home panel or entry panel
    // Login panel
    QComboBox* Combo2 = nullptr;     // staff names
    QPushButton* Command1 = nullptr; // "Log In"
    // Call-list buttons
    QPushButton* Command12 = nullptr; // "All Calls"
    QPushButton* Command11 = nullptr; // "My Workload"
    QPushButton* Command13 = nullptr; // "Select Calls"
    QMenu* mnuselect = nullptr;
    // Home dashboard
    // The four statistics bars' pictures.
    QLabel* Image1 = nullptr;
    QLabel* Image2 = nullptr;
    QLabel* Image3 = nullptr;
    QLabel* Image4 = nullptr;
    std::array<QLabel*, 4> barImages() const { return {Image1, Image2, Image3, Image4}; }
    std::array<QLabel*, 4> barCounts{};
    std::array<QLabel*, 4> barCaptions{};
    PieChart* pie = nullptr;
    QLabel* Label31 = nullptr; // non-assigned calls
    QCalendarWidget* MonthView1 = nullptr;
    std::array<int, 4> barValues{};
    QList<QPair<QString, int>> pieValues;
    int nonassigned = 0;

    // Call panel (see callentry/)
    QLineEdit* Text18 = nullptr;      // Nom
    ui::FlexGrid* cg1 = nullptr;      // call information grid
    QPlainTextEdit* Text16 = nullptr; // Query
    QPlainTextEdit* Text17 = nullptr; // Resolution
    QLineEdit* Text3 = nullptr;       // Date Opened
    QLineEdit* Text4 = nullptr;       // Time Opened
    QLineEdit* Text5 = nullptr;       // Date Closed
    QLineEdit* Text6 = nullptr;       // Time Closed
    QLineEdit* Text15 = nullptr;      // Spare
    QLineEdit* Text19 = nullptr;      // Time Spent (resource)
    QPlainTextEdit* Text20 = nullptr; // Audit
    QComboBox* Combo1 = nullptr;      // status
    QComboBox* Combo5 = nullptr;      // assignee
    QComboBox* Combo13 = nullptr;     // category
    QComboBox* Combo3 = nullptr;      // the customer's items
    QComboBox* Combo6 = nullptr;      // customer names
    QComboBox* Combo11 = nullptr;     // customer references
    QLineEdit* Text10 = nullptr;      // Name
    QLineEdit* Text11 = nullptr;      // Username
    QLineEdit* Text12 = nullptr;      // Extension
    QLineEdit* Text13 = nullptr;      // Building (e-mail)
    QLineEdit* Text14 = nullptr;      // Location
    QLabel* Label36 = nullptr;        // spare field caption
    QPushButton* Command8 = nullptr;  // "&New Call"
    QPushButton* Command9 = nullptr;  // "Cancel"
    QPushButton* Command10 = nullptr; // "&Save"
    QPushButton* Command20 = nullptr; // "Save Edit"
    QPushButton* Command22 = nullptr; // notes
    QPushButton* Command23 = nullptr; // inventory
    QPushButton* command16 = nullptr; // "View Attach."
    QGroupBox* Frame2 = nullptr;      // "Edit:" timestamp editor
    QFrame* Shape1 = nullptr;

    // ---- Menus ----
    QMenu* mnufile = nullptr;
    QMenu* mnucust = nullptr;
    QMenu* mnserch = nullptr;
    QMenu* mnurep = nullptr;
    QMenu* mnuOptions = nullptr;
    QMenu* mnuhelp = nullptr;
    QAction* mnulogcall = nullptr;
    QAction* mnuprint = nullptr;
    QAction* mnuexit = nullptr;
    // Customers
    QAction* MNUNEWCALLCUST2 = nullptr;
    QAction* mnulistcust = nullptr;
    QAction* mnuemailcust = nullptr;
    QAction* mnuinv = nullptr;
    QAction* mnuordername = nullptr;
    QAction* mnuorderref = nullptr;
    QAction* mnureflyist = nullptr;
    QAction* mnucustexp = nullptr;
    QMenu* mnuel = nullptr;
    QAction* mnucustdel = nullptr;
    QAction* mnueditcust = nullptr;
    QAction* mnuaddcust = nullptr;
    // Search
    QAction* mnusearchname = nullptr;
    QAction* mnusearchcall = nullptr;
    QAction* mnuinvserach = nullptr;
    // Reports
    QAction* mnumonitor = nullptr;
    QAction* mnucatstat = nullptr;
    QMenu* mnuquickrep = nullptr;
    QAction* mncaltod = nullptr;
    QAction* mnuyest = nullptr;
    QAction* mnuopencall = nullptr;
    QAction* repurg = nullptr;
    QAction* mnufull = nullptr;
    QAction* mnuuserrep = nullptr;
    QAction* callsdat = nullptr;
    QAction* mnu20sup = nullptr;
    QAction* mnuinvrep = nullptr;
    QAction* mnucalnot = nullptr;
    QAction* mnuwiz = nullptr;
    // Options
    QAction* mnuthemes = nullptr;
    QMenu* mnucallsht = nullptr;
    QAction* mnucallsheet = nullptr;
    QAction* mnultrhead = nullptr;
    QAction* mnusupportstaff = nullptr;
    QAction* mnuchangepass = nullptr;
    // Help
    QAction* mnuabout = nullptr;
    // Call list pop-up
    QMenu* mnuclick = nullptr;
    QAction* mnufcr = nullptr;
    QAction* mnuvcn = nullptr;
    // Call panel pop-up
    QMenu* mnucallpopup = nullptr;
    QAction* mnuaudit = nullptr;
    QAction* mnuprint2 = nullptr;

    // ---- What other windows ask of the main window (mainwindow/form1_intents.cpp) ----
    // An option the options window changes: the main window follows it and the setting is stored where the
    // option has one. Values are the settings' texts ("True"/"False", "1"/"0", a number, a column name).
    enum class Option {
        LowRes,
        IncludeUnassigned,
        UnassignedDefault,
        Audit,
        NotesAutoNew,
        PieMode,
        HomeStats,
        Stats3Status,
        AttachPath,
        SpareFieldName,
        DropDownWidth,
        AlternateRows,
        MaxCalls,
        AutoRefresh,
        SortOrder,
        SortColumn,
        StatusStyle,
    };
    void applyOption(Option option, const QString& value);
    // The five appearance colours (VB colour texts), kept until "Okay" applies them; the background picture.
    enum class Colour { Back, Form, Panel, MenuBar, GridAlternate };
    QString colour(Colour which) const;
    void setColour(Colour which, const QString& text);
    void setBackgroundPicture(const QString& path);
    // "Okay" in the options window: the appearance shown, the settings saved, the lists and figures redrawn.
    void applyOptions();
    // A call-list column shown (1500 twips wide) or hidden.
    void showCallColumn(int column, bool shown);
    // The monitor pages written into this folder from now on, or no more; stored at once.
    void monitorOn(const QString& folder);
    void monitorOff();
    // What is being done, in the status bar's panel 5; what the panel's call is, in panel 4 until the clock
    // next writes there.
    void showActivity(const QString& text);
    void showCallState(const QString& text);
    bool isAdministrator() const;
    // Reads "Home Stats Format" from the settings again into homestats (the options window does at load).
    const QString& reloadHomeStats();

    // ---- Shell procedures (mainwindow/) ----
    void saver();
    void SavePass(const QString& staffId, const QString& password);
    void SetDropDownWidth(QComboBox* combo, int widthPixels);
    void buttoncolours();
    void applyuserlevel();
    void login();
    void Timer1_Timer();
    void Timer2_Timer();
    void Timer3_Timer();
    void loginClicked();         // the login panel's button
    void changeOwnPassword();    // own-password command
    QString accessLevel() const; // panel 2: "Basic", "Standard", "Administrator"
    void writemonitor();         // the monitor pages (reports/form1_monitor.cpp)

    // ---- Call list and dashboard (calllists/) ----
    // The call list's query and caption live together in one object; every view shows its query through it.
    CallList& callList() { return *m_callList; }
    const QString& currentsql() const;                         // the query on view, re-run by the auto-refresh
    void DataFill(const QString& sql, const QString& caption); // callList().show(sql, caption)
    // The fill step of DataFill without its status text or message: empties the call list, runs the query
    // and shows its most recent maxcalls rows, reading no more than those where it can. Returns the number of
    // rows read: maxcalls exactly when the query gives at least that many. db::DbError when it cannot be read.
    int fillCallList(const QString& sql);
    void dbclear();
    void stats();
    void gridformat();
    void showAllCalls();
    void Command11_Click(); // "My Workload"
    QString workloadSql() const;
    void listOpenCalls();
    void listUnassignedCalls();
    void listClosedToday();
    void listByStatus(const QString& status);
    void listByAnalyst(const QString& analyst);
    void listByCategory(const QString& category);
    void listByCustomer(const QString& reference);
    void listByDate(const QDate& date);
    void listByKeyword(const QString& keyword);
    void readColumnWidths();
    void writeColumnWidths();

    // ---- Call panel (callentry/) ----
    // The call on the panel and its customer: what other windows ask for the current call number.
    CallStore& callStore() const { return *m_callStore; }
    void menusoff();
    void menuson();
    void hidefields(bool show);
    void lognewcall();
    void callsaver();
    void cancelcall();
    void opencall(int callNumber);
    void leavecall();
    // The information grid and the item list, then the rest of the panel (sync).
    void opencallgrid();
    void logusercall(const QString& reference);
    void lognewcallcust();
    void FindCust(const QString& reference);
    void findCustomerByName();
    void auditer(const QString& text);
    void saveEditedCustomer(); // "Save Edit"
    bool shutdownCallPanel();  // at close: cancel or save the call on the panel; false: it stays, unsaved

    // ---- Customer list commands (customers/) ----
    void Datagrid1_Click();
    void Datagrid1_MouseUp(Qt::MouseButton button, const QPoint& globalPos);
    void mnuaddcust_Click();
    void mnueditcust_Click();
    void mnucustdel_Click();
    void mnucustexp_Click();
    void mnuemailcust_Click();
    void mnusearchname_Click();
    // For other windows that move the customer list: the opened call put away first (false, after a message,
    // when it could not be stored: it stays and nothing may move), and the list read again in place.
    bool putAwayOpenedCall();
    void rereadCustomers(); // throws db::DbError

    // ---- call panel extras ----
    QPushButton* cmdclosecall = nullptr; // "Close this Call"
    QPushButton* cmdreopen = nullptr;    // "Re-open"
    QPushButton* cmdattach = nullptr;    // "Attach File..."
    // Status, assignee, category and item of the call on the panel as last audited.
    QString shownStatus, shownAssignee, shownCategory, shownItem;
    // The customer pickers (Combo6, Combo11) hold the customer list as last read; a change to the customer
    // list (Adodc1 re-read, a customer stored or removed) has them read again when next needed.
    bool customerPickersFilled = false;
    void statuschange(const QString& status);
    void closecall();
    void reopencall();
    void attachfile();
    void pickCustomer(const QString& reference); // a customer chosen in Combo6 / Combo11
    void mnusearchcall_Click();                  // "Call by Number..."

    // ---- Reports (reports/form1_reports.cpp) ----
    QAction* mnucallrep2 = nullptr; // call panel pop-up: "Full Call Report"
    void mnuprint_Click();          // the call sheet, from the File menu and the call panel's pop-up
    void mnucallsheet_Click();      // "Call Sheet Heading"

    // ---- Report wizard (reports/form1_wizard.cpp) ----

    // ---- Top-five window and monitor pages (reports/form1_monitor.cpp) ----

    // ---- Information, audit, attachments, archive (customers/form1_companions.cpp) ----

    // ---- Inventory windows (customers/form1_inventory.cpp) ----
    void mnuinvserach_Click();
    void mnuinv_Click();
    void Command23_Click();
    void openCustomerInventory(const QString& reference, const QString& name);
    // The inventory window removed one of the customer's items: a call on the panel naming it as its Item (and no
    // other item of that text left) loses it, pending its save, and the user is told.
    void inventoryItemRemoved(const QString& reference, const QString& item);

    // ---- Options window and status editor (options/form1_options.cpp) ----
    QAction* mnueditcatstat = nullptr; // "Edit Category and Status values"
    void openOptions();                // shows the options window
    void refill();                     // re-runs the list on view with its caption (nothing when none)
    void lockOptionsEditing();         // login: the options window's editor item off for Basic and Standard
    // The lists' row height in twips: the customer list's rows and the call list's minimum, wrapping the call
    // list's text above 490.
    void applyRowHeight(int twips);

    // ---- Appearance and themes (options/form1_appearance.cpp) ----
    // The four statistics bars from [Images] "Bar1".."Bar4", scaled to the last figures (calllists/).
    void paintBars();
    // The appearance colours and the background picture shown on the panels, tiles, lists and call panel.
    void applyAppearance();
    // A grid font on the call list and the customer list.
    void setGridFont(const QFont& font, const QColor& colour);
    // The grid font as the settings give it at start, on both lists, held as this copy read it.
    void showStoredGridFont(const appearance::GridFont& stored);
    // The grid font the user chose, stored where it differs from what this copy read or stored last.
    void storeGridFont(const appearance::GridFont& chosen);
    // A grid font chosen as a whole (a preset), stored whole.
    void saveGridFont(const appearance::GridFont& font);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Initialize();
    void Load(const QString& settingsBase);
    void buildMenus();
    void buildPanels();
    void buildCallPanel();      // callentry/
    void connectCallPanel();    // callentry/
    void buildHomePanel();      // calllists/
    void connectCallList();     // calllists/
    void connectCustomerList(); // customers/
    void connectNotes();        // customers/form1_notes.cpp
    void connectStaff();        // options/form1_staff.cpp
    void connectReports();      // reports/form1_reports.cpp (quick reports, call report, call sheet)
    void connectWizard();       // reports/form1_wizard.cpp (report wizard)
    void connectMonitor();      // reports/form1_monitor.cpp (top-five window, monitor pages)
    void connectCompanions();   // customers/form1_companions.cpp (information, audit, attachments, archive)
    void connectInventory();    // customers/form1_inventory.cpp (inventory windows)
    void connectOptions();      // options/form1_options.cpp (options window, status editor)
    void connectAppearance();   // options/form1_appearance.cpp (appearance, themes)
    void readSettings();
    bool openDatabase();
    void openDataControls();
    void fillLists();
    void layoutForScreen();
    void applyColours();
    void endProgram(const QString& message);

    // The settings saver stores, and the lists' column widths written at close, with their values now.
    struct HeldSetting {
        QString section;
        QString key;
        QString value;
    };
    std::vector<HeldSetting> saverSettings() const;
    std::vector<HeldSetting> columnWidthSettings() const;

    bool m_ended = false;
    QString m_storedDbPath;  // the database path the settings name, even when this run uses another
    qv::HeldSettings m_held; // what saver and the column widths store, as this copy last read or stored it
    std::unique_ptr<clsStyle> style;
    std::unique_ptr<CallList> m_callList;
    std::unique_ptr<CallStore> m_callStore;
};

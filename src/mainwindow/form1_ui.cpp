#include "mainwindow/form1.h"

#include "callentry/callstore.h"
#include "mainwindow/statusbar.h"
#include "platform/db/datacontrol.h"
#include "platform/desktop.h"
#include "platform/widgets/datagrid.h"
#include "platform/widgets/dialogs.h"
#include "platform/widgets/flexgrid.h"
#include "platform/widgets/menumark.h"
#include "platform/widgets/menus.h"
#include "shared/shared.h"

#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QStackedWidget>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>

namespace {

QFrame* panel(QWidget* parent, const char* name) {
    auto* f = new QFrame(parent);
    f->setObjectName(QLatin1String(name));
    f->setFrameShape(QFrame::StyledPanel);
    return f;
}

// The customer list keeps a comfortable width where the splitter has room for it beside the least width of the
// panels on its right, and gives way down to its own least width where it has not, so that neither side is ever
// pushed past the window's edge. The panels' least widths follow their texts (the statistics captions, the count
// of calls not assigned), so the room is reckoned again whenever the splitter lays out.
class CustomerListRoom : public QObject {
public:
    CustomerListRoom(const Form1* f, QSplitter* split) : QObject(split), m_form(f), m_split(split) {
        split->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::LayoutRequest || e->type() == QEvent::Resize || e->type() == QEvent::Show) {
            QWidget* list = m_split->widget(0);
            const int comfortable = m_form->lowres ? 200 : 260;
            const int spare = m_split->width() - m_split->handleWidth();
            const int need = callPanelWidth();
            const int right = qMax(m_split->widget(1)->minimumSizeHint().width(), need);
            list->setMinimumWidth(spare - right >= comfortable ? comfortable : list->minimumSizeHint().width());
            // An opened call's boxes take the width they need from the list where the list can give it, and the
            // splitter keeps the handle where they have it; on a screen too small for them the user decides.
            m_split->widget(1)->setMinimumWidth(need <= spare - list->minimumWidth() ? need : 0);
        }
        return false;
    }

private:
    // The width the call panel's boxes need without scrolling sideways (they scroll up and down on a short screen,
    // so room for that scroll bar too); 0 while the panel is put away.
    int callPanelWidth() const {
        const QWidget* panel = m_form->Picture8;
        if (m_form->upperStack->currentWidget() != panel)
            return 0;
        const auto* scroll = panel->findChild<QScrollArea*>(QStringLiteral("callScroll"));
        if (!scroll || !scroll->widget())
            return 0;
        return scroll->widget()->minimumSizeHint().width() + scroll->verticalScrollBar()->sizeHint().width() +
               2 * m_form->Picture8->frameWidth();
    }

    const Form1* m_form;
    QSplitter* m_split;
};

} // namespace

void Form1::buildMenus() {
    QMenuBar* bar = menuBar();
    mnufile = ui::topMenu(bar, "mnufile", QStringLiteral("&File"));
    mnulogcall = ui::menuItem(mnufile, "mnulogcall", QStringLiteral("Log New Call"));
    mnufile->addSeparator();
    mnuprint = ui::menuItem(mnufile, "mnuprint", QStringLiteral("Print this Call (Call Sheet)"));
    mnuprint->setEnabled(false);
    mnufile->addSeparator();
    mnuexit = ui::menuItem(mnufile, "mnuexit", QStringLiteral("E&xit"));

    mnucust = ui::topMenu(bar, "mnucust", QStringLiteral("&Customers"));
    MNUNEWCALLCUST2 = ui::menuItem(mnucust, "MNUNEWCALLCUST2", QStringLiteral("Log New Call for Selected Customer"));
    mnulistcust = ui::menuItem(mnucust, "mnulistcust", QStringLiteral("List Calls for selected Customer"));
    mnuemailcust = ui::menuItem(mnucust, "mnuemailcust", QStringLiteral("Email selected Customer"));
    mnuinv = ui::menuItem(mnucust, "mnuinv", QStringLiteral("Inventory for selected Customer"));
    mnucust->addSeparator();
    mnuordername = ui::menuItem(mnucust, "mnuordername", QStringLiteral("Sort by Name"));
    mnuorderref = ui::menuItem(mnucust, "mnuorderref", QStringLiteral("Sort by Reference"));
    mnureflyist = ui::menuItem(mnucust, "mnureflyist", QStringLiteral("Refresh List"));
    mnucustexp = ui::menuItem(mnucust, "mnucustexp", QStringLiteral("Export this List"));
    mnucust->addSeparator();
    mnuel = ui::subMenu(mnucust, "mnuel", QStringLiteral("Edit..."));
    mnucustdel = ui::menuItem(mnuel, "mnucustdel", QStringLiteral("Delete selected Customer"));
    mnueditcust = ui::menuItem(mnuel, "mnueditcust", QStringLiteral("Edit Selected Customer"));
    mnuaddcust = ui::menuItem(mnuel, "mnuaddcust", QStringLiteral("Add New Customer"));

    mnserch = ui::topMenu(bar, "mnserch", QStringLiteral("&Search"));
    mnusearchname = ui::menuItem(mnserch, "mnusearchname", QStringLiteral("Customers (Find by Name)"));
    mnusearchcall = ui::menuItem(mnserch, "mnusearchcall", QStringLiteral("Call by Number..."));
    mnuinvserach = ui::menuItem(mnserch, "mnuinvserach", QStringLiteral("Inventory"));

    mnurep = ui::topMenu(bar, "mnurep", QStringLiteral("&Reports"));
    mnumonitor = ui::menuItem(mnurep, "mnumonitor", QStringLiteral("Auto-Monitor Page"));
    ui::keepMark(mnumonitor); // its mark says whether the pages are on; a click only opens their window
    mnucatstat = ui::menuItem(mnurep, "mnucatstat", QStringLiteral("Category Stats"));
    mnuquickrep = ui::subMenu(mnurep, "mnuquickrep", QStringLiteral("Quick Reports"));
    mncaltod = ui::menuItem(mnuquickrep, "mncaltod", QStringLiteral("Calls logged today"));
    mnuyest = ui::menuItem(mnuquickrep, "mnuyest", QStringLiteral("Calls logged yesterday"));
    mnuopencall = ui::menuItem(mnuquickrep, "mnuopencall", QStringLiteral("All Open calls"));
    repurg = ui::menuItem(mnuquickrep, "repurg", QStringLiteral("Calls for Status..."));
    mnufull = ui::menuItem(mnuquickrep, "mnufull", QStringLiteral("Full Call Report"));
    mnuuserrep = ui::menuItem(mnuquickrep, "mnuuserrep", QStringLiteral("Last 20 calls for a Customer"));
    callsdat = ui::menuItem(mnuquickrep, "callsdat", QStringLiteral("Calls for Customer between..."));
    mnu20sup = ui::menuItem(mnuquickrep, "mnu20sup", QStringLiteral("Last 50 calls for a Support Staff member"));
    mnuinvrep = ui::menuItem(mnuquickrep, "mnuinvrep", QStringLiteral("Inventory Report by Type"));
    mnuquickrep->addSeparator();
    mnucalnot = ui::menuItem(mnuquickrep, "mnucalnot", QStringLiteral("Include Call Notes in Reports"));
    ui::keepMark(mnucalnot);
    mnuwiz = ui::menuItem(mnurep, "mnuwiz", QStringLiteral("Report Wizard"));
    mnuwiz->setShortcut(QKeySequence(QStringLiteral("Ctrl+W")));

    mnuOptions = ui::topMenu(bar, "mnuOptions", QStringLiteral("&Options"));
    mnuthemes = ui::menuItem(mnuOptions, "mnuthemes", QStringLiteral("Main Options Window"));
    mnucallsht = ui::subMenu(mnuOptions, "mnucallsht", QStringLiteral("Call Sheet"));
    mnucallsheet = ui::menuItem(mnucallsht, "mnucallsheet", QStringLiteral("Call Sheet Heading"));
    mnultrhead = ui::menuItem(mnucallsht, "mnultrhead", QStringLiteral("Leave space for Letterhead"));
    ui::keepMark(mnultrhead);
    mnuOptions->addSeparator();
    mnusupportstaff = ui::menuItem(mnuOptions, "mnusupportstaff", QStringLiteral("Support Staff"));
    mnuchangepass = ui::menuItem(mnuOptions, "mnuchangepass", QStringLiteral("Change My Password"));

    mnuhelp = ui::topMenu(bar, "mnuhelp", QStringLiteral("&Help"));
    mnuabout = ui::menuItem(mnuhelp, "mnuabout", QStringLiteral("About"));

    mnuclick = new QMenu(this);
    mnuclick->setObjectName(QStringLiteral("mnuclick"));
    mnufcr = ui::menuItem(mnuclick, "mnufcr", QStringLiteral("Full Call Report for this call"));
    mnuvcn = ui::menuItem(mnuclick, "mnuvcn", QStringLiteral("View Call Notes for this call"));

    mnucallpopup = new QMenu(this);
    mnucallpopup->setObjectName(QStringLiteral("mnucallpopup"));
    mnuaudit = ui::menuItem(mnucallpopup, "mnuaudit", QStringLiteral("Show Audit Trail"));
    mnuprint2 = ui::menuItem(mnucallpopup, "mnuprint2", QStringLiteral("Print this Call (Call Sheet)"));

    connect(mnuexit, &QAction::triggered, this, &Form1::close);
    connect(mnulogcall, &QAction::triggered, this, [this] {
        menusoff();
        lognewcall();
    });
    connect(mnuchangepass, &QAction::triggered, this, &Form1::changeOwnPassword);
    connect(mnucalnot, &QAction::triggered, this, [this] {
        const ui::SettingsCommand storing;
        WriteINI(QStringLiteral("Reports"), QStringLiteral("Call Notes"), ui::markText(ui::flipMark(mnucalnot)));
    });
    connect(mnultrhead, &QAction::triggered, this, [this] {
        const ui::SettingsCommand storing;
        WriteINI(QStringLiteral("Printing"), QStringLiteral("Letterhead Space"),
                 ui::markText(ui::flipMark(mnultrhead)));
    });
}

void Form1::buildPanels() {
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("central"));
    setCentralWidget(central);
    auto* outer = new QVBoxLayout(central);
    outer->setContentsMargins(4, 4, 4, 4);

    // Login panel.
    Picture6 = panel(central, "Picture6");
    {
        auto* column = new QVBoxLayout(Picture6);
        auto* logo = new QLabel(Picture6);
        logo->setPixmap(QPixmap(desktop::programFolder() + QStringLiteral("/Media/logo.gif")));
        logo->setAlignment(Qt::AlignCenter);
        column->addWidget(logo);
        auto* box = new QHBoxLayout;
        column->addLayout(box);
        auto* label = new QLabel(QStringLiteral("Support Staff:"), Picture6);
        Combo2 = new QComboBox(Picture6);
        Combo2->setObjectName(QStringLiteral("Combo2"));
        Combo2->setMinimumWidth(200);
        Command1 = new QPushButton(QStringLiteral("Log In"), Picture6);
        Command1->setObjectName(QStringLiteral("Command1"));
        Command1->setDefault(true);
        box->addStretch();
        box->addWidget(label);
        box->addWidget(Combo2);
        box->addWidget(Command1);
        box->addStretch();
        connect(Command1, &QPushButton::clicked, this, &Form1::loginClicked);
    }
    outer->addWidget(Picture6, 1, Qt::AlignCenter);

    auto* split = new QSplitter(Qt::Horizontal, central);
    split->setObjectName(QStringLiteral("mainSplitter"));
    // A drag stops at a side's smallest width; a side dragged away would come back only at the next start.
    split->setChildrenCollapsible(false);
    new CustomerListRoom(this, split);
    outer->addWidget(split, 1);

    // Customer list.
    Picture1 = panel(split, "Picture1");
    {
        auto* v = new QVBoxLayout(Picture1);
        v->setContentsMargins(4, 4, 4, 4);
        auto* caption = new QLabel(QStringLiteral("<b>Customer List</b>"), Picture1);
        Datagrid1 = new ui::DataGrid(Picture1);
        Datagrid1->setObjectName(QStringLiteral("Datagrid1"));
        Datagrid1->setToolTip(QStringLiteral("Right-click to log a new call or for other options."));
        v->addWidget(caption);
        v->addWidget(Datagrid1, 1);
    }
    split->addWidget(Picture1);

    auto* right = new QSplitter(Qt::Vertical, split);
    right->setObjectName(QStringLiteral("rightSplitter"));
    right->setChildrenCollapsible(false);
    split->addWidget(right);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 3);

    upperStack = new QStackedWidget(right);
    upperStack->setObjectName(QStringLiteral("upperStack"));
    Picture10 = panel(upperStack, "Picture10");
    Picture8 = panel(upperStack, "Picture8");
    upperStack->addWidget(Picture10);
    upperStack->addWidget(Picture8);
    right->addWidget(upperStack);

    // Call list.
    Picture2 = panel(right, "Picture2");
    {
        auto* v = new QVBoxLayout(Picture2);
        v->setContentsMargins(4, 4, 4, 4);
        Picture4 = panel(Picture2, "Picture4");
        auto* h = new QHBoxLayout(Picture4);
        h->setContentsMargins(2, 2, 2, 2);
        Command12 = new QPushButton(QStringLiteral("All Calls"), Picture4);
        Command12->setObjectName(QStringLiteral("Command12"));
        Command11 = new QPushButton(QStringLiteral("My Workload"), Picture4);
        Command11->setObjectName(QStringLiteral("Command11"));
        Command13 = new QPushButton(QStringLiteral("Select Calls"), Picture4);
        Command13->setObjectName(QStringLiteral("Command13"));
        mnuselect = new QMenu(Command13);
        mnuselect->setObjectName(QStringLiteral("mnuselect"));
        Command13->setMenu(mnuselect);
        h->addWidget(Command12);
        h->addWidget(Command11);
        h->addWidget(Command13);
        h->addStretch();
        datagrid2 = new ui::FlexGrid(Picture2);
        datagrid2->setObjectName(QStringLiteral("datagrid2"));
        v->addWidget(Picture4);
        v->addWidget(datagrid2, 1);
    }
    right->addWidget(Picture2);
    right->setStretchFactor(0, 2);
    right->setStretchFactor(1, 3);

    // Hidden helpers.
    backimage = new QLabel(this);
    backimage->setObjectName(QStringLiteral("backimage"));
    backimage->hide();
    pc1 = new QTextEdit(this);
    pc1->setObjectName(QStringLiteral("pc1"));
    pc1->setFont(QFont(QStringLiteral("Arial"), 10));
    pc1->hide();
    Label33 = new QLabel(this);
    Label33->setObjectName(QStringLiteral("Label33"));
    Label33->setTextFormat(Qt::PlainText);
    Label33->hide();
    Label34 = new QLabel(this);
    Label34->setObjectName(QStringLiteral("Label34"));
    Label34->setTextFormat(Qt::PlainText);
    Label34->hide();
    Label40 = new QLabel(this);
    Label40->setObjectName(QStringLiteral("Label40"));
    Label40->setTextFormat(Qt::PlainText);
    Label40->hide();

    StatusBar1 = new PanelStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    setStatusBar(StatusBar1);

    auto control = [this](const char* name) {
        auto* dc = new db::DataControl(this);
        dc->setObjectName(QLatin1String(name));
        return dc;
    };
    Adodc1 = control("Adodc1");
    Adodc2 = control("Adodc2");
    Adodc4 = control("Adodc4");
    Adodc5 = control("Adodc5");
    Adodc7 = control("Adodc7");
    m_callStore = std::make_unique<CallStore>(*Adodc4, *Adodc1);

    auto timer = [this](const char* name, int ms) {
        auto* t = new QTimer(this);
        t->setObjectName(QLatin1String(name));
        t->setInterval(ms);
        return t;
    };
    Timer1 = timer("Timer1", 60000);
    Timer2 = timer("Timer2", 1000);
    Timer3 = timer("Timer3", 1000);
    connect(Timer1, &QTimer::timeout, this, &Form1::Timer1_Timer);
    connect(Timer2, &QTimer::timeout, this, &Form1::Timer2_Timer);
    connect(Timer3, &QTimer::timeout, this, &Form1::Timer3_Timer);
    Timer1->start();

    buildHomePanel();
    buildCallPanel();
    connectCallList();
    connectCallPanel();
    connectCustomerList();
    connectNotes();
    connectStaff();
    connectReports();
    connectWizard();
    connectMonitor();
    connectCompanions();
    connectInventory();
    connectOptions();
    connectAppearance();

    // Until someone logs in only the login panel shows.
    Picture1->hide();
    Picture2->hide();
    upperStack->hide();
}

#include "options/themes.h"

#include "mainwindow/form1.h"
#include "mainwindow/statusbar.h"
#include "options/analysts.h"
#include "options/appearance.h"
#include "options/statuses.h"
#include "platform/widgets/colour.h"
#include "platform/widgets/datagrid.h"
#include "platform/widgets/flexgrid.h"
#include "platform/widgets/forms.h"
#include "platform/widgets/menumark.h"
#include "platform/widgets/menus.h"
#include "platform/widgets/screen.h"
#include "shared/gridformat.h"
#include "shared/shared.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QAction* markItem(QMenu* menu, const char* name, const QString& caption) {
    QAction* a = ui::menuItem(menu, name, caption);
    ui::keepMark(a);
    return a;
}

// "True"/"False" as a Boolean without regard to case; anything else leaves the mark alone.
void markFrom(QAction* a, const QString& text) {
    if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        a->setChecked(true);
    else if (text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        a->setChecked(false);
}

QFrame* preview(QWidget* parent, const char* name) {
    auto* f = new QFrame(parent);
    f->setObjectName(QLatin1String(name));
    f->setFrameShape(QFrame::Box);
    f->setMinimumSize(90, 40);
    return f;
}

} // namespace

themes::themes(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("themes"));
    setWindowTitle(QStringLiteral("Quorvane Options"));
    buildMenus();
    buildBody();
    connectProgramOptions();
    connectListOptions();
    connectAppearance();
    connect(Command1, &QPushButton::clicked, this, &themes::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &themes::Command2_Click);
    Form_Load();
}

void themes::buildMenus() {
    QMenuBar* bar = menuBar();
    mnuMisc = ui::topMenu(bar, "mnuMisc", QStringLiteral("Misc"));
    mnupch = ui::subMenu(mnuMisc, "mnupch", QStringLiteral("Pie Chart"));
    mnipiecat = markItem(mnupch, "mnipiecat", QStringLiteral("Show Pie Chart - Categories"));
    mnipieassign = markItem(mnupch, "mnipieassign", QStringLiteral("Show Pie Chart - Assignments"));
    mnipieno = markItem(mnupch, "mnipieno", QStringLiteral("Don't Show Pie Chart"));
    mnuflr = markItem(mnuMisc, "mnuflr", QStringLiteral("Force Low Resolution"));
    mnuMisc->addSeparator();
    mnureset = ui::menuItem(mnuMisc, "mnureset", QStringLiteral("Reset ALL values to Default"));

    mnuimages = ui::topMenu(bar, "mnuimages", QStringLiteral("Appearance"));
    mnuresize = markItem(mnuimages, "mnuresize", QStringLiteral("Allow Resizing"));
    mnuimages->addSeparator();
    mnubackimage = ui::menuItem(mnuimages, "mnubackimage", QStringLiteral("Background Image"));
    mnucols = ui::subMenu(mnuimages, "mnucols", QStringLiteral("Colours"));
    mnubackcolor = ui::menuItem(mnucols, "mnubackcolor", QStringLiteral("Background Colour"));
    mnufc = ui::menuItem(mnucols, "mnufc", QStringLiteral("Form Colour"));
    mnupc = ui::menuItem(mnucols, "mnupc", QStringLiteral("Panel Colour"));
    mnumc = ui::menuItem(mnucols, "mnumc", QStringLiteral("Menu Bar Colour"));
    mnugac = ui::menuItem(mnucols, "mnugac", QStringLiteral("Grid Alternate Colour"));
    mnusb = ui::subMenu(mnuimages, "mnusb", QStringLiteral("Stats Bars"));
    mnuwarn = ui::menuItem(mnusb, "mnuwarn", QStringLiteral("Warning Pattern"));
    mnublue = ui::menuItem(mnusb, "mnublue", QStringLiteral("Blue"));
    mnuyell = ui::menuItem(mnusb, "mnuyell", QStringLiteral("Yellow"));
    mnugrey = ui::menuItem(mnusb, "mnugrey", QStringLiteral("Grey"));
    mnublack = ui::menuItem(mnusb, "mnublack", QStringLiteral("Black"));
    mnuorange = ui::menuItem(mnusb, "mnuorange", QStringLiteral("Orange"));
    mnupurpl = ui::menuItem(mnusb, "mnupurpl", QStringLiteral("Pink"));
    mnugreen = ui::menuItem(mnusb, "mnugreen", QStringLiteral("Green"));
    mnugridfont = ui::menuItem(mnuimages, "mnugridfont", QStringLiteral("Grid Font"));

    mnucgo = ui::topMenu(bar, "mnucgo", QStringLiteral("Options"));
    mnuinclude = markItem(mnucgo, "mnuinclude", QStringLiteral("Include Unassigned Calls in My calls"));
    mnundef = markItem(mnucgo, "mnundef", QStringLiteral("Calls are Unassigned by Default"));
    mnuAduti = markItem(mnucgo, "mnuAduti", QStringLiteral("Record Audit Information"));
    mnucgo->addSeparator();
    mnueditcat = ui::menuItem(mnucgo, "mnueditcat", QStringLiteral("Edit Categories"));
    mnustatus = ui::menuItem(mnucgo, "mnustatus", QStringLiteral("Edit Status && Category  fields"));
    mnu3rd = ui::menuItem(mnucgo, "mnu3rd", QStringLiteral("Edit Status for 3rd Stats Bar etc"));
    mnuattpath = ui::menuItem(mnucgo, "mnuattpath", QStringLiteral("Set Attachments Location"));
    mnucalnot = markItem(mnucgo, "mnucalnot", QStringLiteral("Always open new note when clicking on Call Notes"));
    mnuhomstats = ui::subMenu(mnucgo, "mnuhomstats", QStringLiteral("Home Statistics"));
    mnustatsme = markItem(mnuhomstats, "mnustatsme", QStringLiteral("Stats for My Calls Only"));
    mnustatsall = markItem(mnuhomstats, "mnustatsall", QStringLiteral("Stats for all Calls"));
    mnusparename = ui::menuItem(mnucgo, "mnusparename", QStringLiteral("Rename \"Notes\" field"));
    mnudropwidth = ui::menuItem(mnucgo, "mnudropwidth", QStringLiteral("Customer Drop-Down width"));

    mnulists = ui::topMenu(bar, "mnulists", QStringLiteral("Call and Customer Lists"));
    mnugrh = ui::menuItem(mnulists, "mnugrh", QStringLiteral("List Row Height"));
    mnurefcalls = markItem(mnulists, "mnurefcalls", QStringLiteral("Auto Refresh Call list every 5 mins"));
    mnualt = markItem(mnulists, "mnualt", QStringLiteral("Call List displays Alternate Colours"));
    mnucgdisplay = ui::subMenu(mnulists, "mnucgdisplay", QStringLiteral("Call List displays..."));
    mnucfn = markItem(mnucgdisplay, "mnucfn", QStringLiteral("Customer Full Names"));
    mnucr = markItem(mnucgdisplay, "mnucr", QStringLiteral("Customer References"));
    mnuconf = markItem(mnucgdisplay, "mnuconf", QStringLiteral("Contact Field"));
    mnudn = markItem(mnucgdisplay, "mnudn", QStringLiteral("\"Notes\" field"));
    mnudr = markItem(mnucgdisplay, "mnudr", QStringLiteral("Resource Field"));
    mnuds = markItem(mnucgdisplay, "mnuds", QStringLiteral("Status Field"));
    mnudc = markItem(mnucgdisplay, "mnudc", QStringLiteral("Category Field"));
    mnuitem = markItem(mnucgdisplay, "mnuitem", QStringLiteral("Item Field"));
    mnudq = markItem(mnucgdisplay, "mnudq", QStringLiteral("Query Field"));
    mnuddc = markItem(mnucgdisplay, "mnuddc", QStringLiteral("Date Closed"));
    mnuda = markItem(mnucgdisplay, "mnuda", QStringLiteral("Assigned Field"));
    mnulogged = markItem(mnucgdisplay, "mnulogged", QStringLiteral("Logged By Field"));
    columnSwitches = {{mnucfn, 5}, {mnucr, 6},    {mnuconf, 8}, {mnudn, 11},  {mnudr, 12}, {mnuds, 9},
                      {mnudc, 4},  {mnuitem, 10}, {mnudq, 7},   {mnuddc, 15}, {mnuda, 3},  {mnulogged, 16}};
    mnucallmax = ui::menuItem(mnulists, "mnucallmax", QStringLiteral("Call List maximum number of calls displayed"));
    mnuso = ui::subMenu(mnulists, "mnuso", QStringLiteral("Call List Sort Order"));
    mnuasc = markItem(mnuso, "mnuasc", QStringLiteral("Ascending"));
    mnudesc = markItem(mnuso, "mnudesc", QStringLiteral("Descending"));
    mnucalsort = ui::subMenu(mnulists, "mnucalsort", QStringLiteral("Call List is Sorted By"));
    mnusonom = markItem(mnucalsort, "mnusonom", QStringLiteral("Call Number"));
    mnusostat = markItem(mnucalsort, "mnusostat", QStringLiteral("Status"));
    mnusocat = markItem(mnucalsort, "mnusocat", QStringLiteral("Category"));
    mnumarkcalls = markItem(mnulists, "mnumarkcalls", QStringLiteral("Call List Mark Calls with Colours"));

    mnuthemes = ui::topMenu(bar, "mnuthemes", QStringLiteral("Themes"));
    mnuthemepw = ui::menuItem(mnuthemes, "mnuthemepw", QStringLiteral("Pale White"));
    mnthemetoned = ui::menuItem(mnuthemes, "mnthemetoned", QStringLiteral("Toned"));
    mnuthemems = ui::menuItem(mnuthemes, "mnuthemems", QStringLiteral("MS 2007"));
    mnuthemenat = ui::menuItem(mnuthemes, "mnuthemenat", QStringLiteral("Natural"));
    mnunirv = ui::menuItem(mnuthemes, "mnunirv", QStringLiteral("Nirvana"));
    mnudark = ui::menuItem(mnuthemes, "mnudark", QStringLiteral("Dark"));
    mnuthemed = ui::menuItem(mnuthemes, "mnuthemed", QStringLiteral("Default"));
}

void themes::buildBody() {
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("central"));
    setCentralWidget(central);

    Picture2 = preview(central, "Picture2");
    Picture3 = preview(central, "Picture3");
    Picture5 = preview(central, "Picture5");
    Picture4 = preview(central, "Picture4");
    auto* colours = new QGroupBox(QStringLiteral("Colours"), central);
    auto* colourGrid = new QGridLayout(colours);
    const std::pair<QFrame*, const char*> boxes[] = {
        {Picture2, "Background"}, {Picture3, "Form"}, {Picture5, "Panel"}, {Picture4, "Menu Bar"}};
    int i = 0;
    for (const auto& [box, caption] : boxes) {
        colourGrid->addWidget(new QLabel(QLatin1String(caption), colours), 0, i, Qt::AlignHCenter);
        colourGrid->addWidget(box, 1, i);
        ++i;
    }

    Grid1 = new ui::FlexGrid(central);
    Grid1->setObjectName(QStringLiteral("Grid1"));
    Grid1->setMinimumHeight(110);
    // A preview: nothing to pick in it.
    Grid1->setSelectionMode(QAbstractItemView::NoSelection);
    Grid1->setFocusPolicy(Qt::NoFocus);
    Image1 = new QLabel(central);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setScaledContents(true);
    Image1->setFixedSize(200, 150);
    Image1->setFrameShape(QFrame::Box);

    Picture1 = new QFrame(central);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Label1 = new QLabel(QStringLiteral("E.g."), Picture1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Text1 = new QLineEdit(Picture1);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setReadOnly(true);
    Text1->setFocusPolicy(Qt::NoFocus);
    Text1->setText(QStringLiteral("Choose options from the menus above."));
    Command3 = new QPushButton(QStringLiteral("E.g."), Picture1);
    Command3->setObjectName(QStringLiteral("Command3"));
    auto* sample = new QHBoxLayout(Picture1);
    sample->setContentsMargins(0, 0, 0, 0);
    sample->addWidget(Label1);
    sample->addWidget(Text1, 1);
    sample->addWidget(Command3);

    Command1 = new QPushButton(QStringLiteral("Okay"), central);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);
    Command2 = new QPushButton(QStringLiteral("Cancel"), central);
    Command2->setObjectName(QStringLiteral("Command2"));

    auto* left = new QVBoxLayout;
    left->addWidget(colours);
    left->addWidget(new QLabel(QStringLiteral("Call list:"), central));
    left->addWidget(Grid1, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(new QLabel(QStringLiteral("Background picture:"), central));
    right->addWidget(Image1);
    right->addStretch();
    auto* top = new QHBoxLayout;
    top->addLayout(left, 1);
    top->addLayout(right);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Picture1, 1);
    buttons->addSpacing(20);
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    auto* outer = new QVBoxLayout(central);
    outer->addLayout(top, 1);
    outer->addLayout(buttons);
    resize(700, 400);
}

void themes::markColumns() {
    const Form1& main = ui::form<Form1>();
    for (const auto& [action, column] : columnSwitches)
        action->setChecked(main.datagrid2->colWidth(column) != 0);
}

void themes::Form_Load() {
    const qv::SettingsBatch settings;
    Form1& main = ui::form<Form1>();
    Grid1->setRows(3);
    Grid1->setCols(5);
    Grid1->setFixedRows(1);
    Grid1->setFixedCols(1);
    Grid1->setTextMatrix(1, 1, QStringLiteral("Sample"));
    Grid1->setTextMatrix(2, 1, QStringLiteral("Sample"));
    StripeGrid(*Grid1, main.gridcolour);
    // The sample in the lists' font and text colour as they stand, not the default font.
    appearance::applyGridFont(Grid1, main.datagrid2->font(), main.datagrid2->palette().color(QPalette::Text));
    Grid1->setRow(0); // no highlighted cell over the stripes
    Grid1->setCol(0);
    showPreviews();

    markFrom(mnualt, main.alternaterows);
    if (main.sortorder == QLatin1String("ASC"))
        mnuasc->setChecked(true);
    else
        mnudesc->setChecked(true);

    // The editor and the items that change shared things are for administrators.
    const QString level = main.accessLevel();
    if (level == QLatin1String("Basic") || level == QLatin1String("Standard")) {
        for (QAction* a : {mnusparename, mnustatus, mnuattpath, mnueditcat})
            a->setEnabled(false);
    }
    // The pie chart does not fit a narrow screen.
    if (ui::screen().sizePixels().width() < 890)
        mnupch->menuAction()->setEnabled(false);

    if (main.reloadHomeStats() == QLatin1String("me"))
        mnustatsme->setChecked(true);
    else
        mnustatsall->setChecked(true);

    mnipieno->setChecked(main.piemode == QLatin1String("None"));
    mnipieassign->setChecked(main.piemode == QLatin1String("User"));
    mnipiecat->setChecked(main.piemode == QLatin1String("sp3"));
    mnusonom->setChecked(main.sortcolumn == QLatin1String("Nom"));
    mnusocat->setChecked(main.sortcolumn == QLatin1String("sp3"));
    mnusostat->setChecked(main.sortcolumn == QLatin1String("Status"));
    mnuAduti->setChecked(main.auditon);
    markFrom(mnuinclude, main.includeunassigned);

    markFrom(mnundef,
             ReadINI(QStringLiteral("Program"), QStringLiteral("Unassigned by default"), QStringLiteral("False")));
    mnucalnot->setChecked(ReadINI(QStringLiteral("Program"), QStringLiteral("Call Notes Auto-New"),
                                  QStringLiteral("0")) == QLatin1String("1"));
    markFrom(mnurefcalls,
             ReadINI(QStringLiteral("Call Grid"), QStringLiteral("Auto-Refresh"), QStringLiteral("False")));

    const QString spare =
        ReadINI(QStringLiteral("Program"), QStringLiteral("Spare Field Name"), QStringLiteral("Notes"));
    ui::setStoredCaption(mnucgdisplay, mnudn, QString(), spare);
    ui::setStoredCaption(mnucgo, mnusparename, QStringLiteral("Rename "), spare, QStringLiteral(" field"));

    markFrom(mnuresize, ReadINI(QStringLiteral("Program"), QStringLiteral("Allow Resizing for larger screens"),
                                QStringLiteral("False")));
    markFrom(mnuflr, ReadINI(QStringLiteral("Program"), QStringLiteral("Force Low Res"), QStringLiteral("False")));
    mnumarkcalls->setChecked(main.statusstyle == QLatin1String("varcolours"));
    markColumns();
}

void themes::showEvent(QShowEvent* event) {
    // Loaded hidden at login, the window may first show after the user has resized the call list's columns.
    markColumns();
    QMainWindow::showEvent(event);
}

void themes::Command1_Click() {
    Form1& main = ui::form<Form1>();
    main.applyOptions();
    appearance::paint(ui::form<analysts>().Check1, ui::vbColour(main.formcolour));
    ui::unload<themes>();
}

void themes::Command2_Click() {
    ui::unload<themes>();
}

void themes::closeEvent(QCloseEvent* event) {
    if (!ui::isLoaded<Form1>()) {
        event->accept();
        return;
    }
    Form1& main = ui::form<Form1>();
    // An open status editor would go with this window and lose its changes; the main window keeps it instead.
    if (ui::isLoaded<Statuses>()) {
        Statuses& editor = ui::form<Statuses>();
        if (editor.parentWidget() == this && editor.isVisible())
            ui::showOwned(&editor, &main);
    }
    main.showActivity(QStringLiteral("Waiting"));
    event->accept();
}

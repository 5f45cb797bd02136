#pragma once

#include <QMainWindow>
#include <utility>
#include <vector>

class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

namespace ui {
class FlexGrid;
}

// The options window. Its menus hold every user option; each command acts at once on the main window's
// variables, the settings file or the main window's controls. The body previews the appearance; "Okay"
// applies the appearance to the main window and saves it, "Cancel" closes without applying it.
class themes : public QMainWindow {
    Q_OBJECT
public:
    explicit themes(QWidget* parent = nullptr);

    // ---- Body ----
    QFrame* Picture2 = nullptr;    // background colour preview
    QFrame* Picture3 = nullptr;    // form colour
    QFrame* Picture5 = nullptr;    // panel colour
    QFrame* Picture4 = nullptr;    // menu-bar colour
    ui::FlexGrid* Grid1 = nullptr; // the call list's look
    QLabel* Image1 = nullptr;      // background picture
    QFrame* Picture1 = nullptr;
    QLineEdit* Text1 = nullptr;
    QLabel* Label1 = nullptr;        // "E.g."
    QPushButton* Command1 = nullptr; // "Okay"
    QPushButton* Command2 = nullptr; // "Cancel"
    QPushButton* Command3 = nullptr; // "E.g."

    // ---- Misc ----
    QMenu* mnuMisc = nullptr;
    QMenu* mnupch = nullptr; // "Pie Chart"
    QAction* mnipiecat = nullptr;
    QAction* mnipieassign = nullptr;
    QAction* mnipieno = nullptr;
    QAction* mnuflr = nullptr;
    QAction* mnureset = nullptr;
    // ---- Appearance ----
    QMenu* mnuimages = nullptr;
    QAction* mnuresize = nullptr;
    QAction* mnubackimage = nullptr;
    QMenu* mnucols = nullptr;
    QAction* mnubackcolor = nullptr;
    QAction* mnufc = nullptr;
    QAction* mnupc = nullptr;
    QAction* mnumc = nullptr;
    QAction* mnugac = nullptr;
    QMenu* mnusb = nullptr;
    QAction* mnuwarn = nullptr;
    QAction* mnublue = nullptr;
    QAction* mnuyell = nullptr;
    QAction* mnugrey = nullptr;
    QAction* mnublack = nullptr;
    QAction* mnuorange = nullptr;
    QAction* mnupurpl = nullptr;
    QAction* mnugreen = nullptr;
    QAction* mnugridfont = nullptr;
    // ---- Options ----
    QMenu* mnucgo = nullptr;
    QAction* mnuinclude = nullptr;
    QAction* mnundef = nullptr;
    QAction* mnuAduti = nullptr;
    QAction* mnueditcat = nullptr;
    QAction* mnustatus = nullptr;
    QAction* mnu3rd = nullptr;
    QAction* mnuattpath = nullptr;
    QAction* mnucalnot = nullptr; // "Always open new note..." (not the main window's item of that name)
    QMenu* mnuhomstats = nullptr;
    QAction* mnustatsme = nullptr;
    QAction* mnustatsall = nullptr;
    QAction* mnusparename = nullptr;
    QAction* mnudropwidth = nullptr;
    // ---- Call and Customer Lists ----
    QMenu* mnulists = nullptr;
    QAction* mnugrh = nullptr;
    QAction* mnurefcalls = nullptr;
    QAction* mnualt = nullptr;
    QMenu* mnucgdisplay = nullptr;
    QAction* mnucfn = nullptr;
    QAction* mnucr = nullptr;
    QAction* mnuconf = nullptr;
    QAction* mnudn = nullptr;
    QAction* mnudr = nullptr;
    QAction* mnuds = nullptr;
    QAction* mnudc = nullptr;
    QAction* mnuitem = nullptr;
    QAction* mnudq = nullptr;
    QAction* mnuddc = nullptr;
    QAction* mnuda = nullptr;
    QAction* mnulogged = nullptr;
    QAction* mnucallmax = nullptr;
    QMenu* mnuso = nullptr;
    QAction* mnuasc = nullptr;
    QAction* mnudesc = nullptr;
    QMenu* mnucalsort = nullptr;
    QAction* mnusonom = nullptr;
    QAction* mnusostat = nullptr;
    QAction* mnusocat = nullptr;
    QAction* mnumarkcalls = nullptr;
    // ---- Themes ----
    QMenu* mnuthemes = nullptr;
    QAction* mnuthemepw = nullptr;
    QAction* mnthemetoned = nullptr;
    QAction* mnuthemems = nullptr;
    QAction* mnuthemenat = nullptr;
    QAction* mnunirv = nullptr;
    QAction* mnudark = nullptr;
    QAction* mnuthemed = nullptr;

    // The twelve column switches with their call-list columns.
    std::vector<std::pair<QAction*, int>> columnSwitches;

    // The previews of the body from the main window's appearance variables (a colour that is not a number
    // leaves its preview as it was).
    void showPreviews();
    // The column switches' marks from the call list's column widths.
    void markColumns();

    void Command1_Click(); // "Okay"
    void Command2_Click(); // "Cancel"

    // The four statistics bars show the picture file of the Media folder, at once and in the settings.
    void barcolour(const QString& file);
    void mnuwarn_Click();   // "Warning Pattern": blue, green, yellow and orange bars
    void mnuthemed_Click(); // the "Default" look

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void buildBody();
    void Form_Load();
    void connectProgramOptions(); // themes_program.cpp
    void connectListOptions();    // themes_lists.cpp
    void connectAppearance();     // the appearance and theme commands
};

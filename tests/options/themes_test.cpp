#include "mainwindow/form1.h"
#include "mainwindow/statusbar.h"
#include "options/analysts.h"
#include "options/themes.h"
#include "platform/ini.h"
#include "platform/widgets/colour.h"
#include "platform/widgets/datagrid.h"
#include "platform/widgets/flexgrid.h"
#include "platform/widgets/forms.h"
#include "platform/widgets/screen.h"
#include "shared/shared.h"
#include "support/fontfit.h"
#include "support/mainwindowfixture.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

namespace {

using ui::Answer;

class OptionsWindow : public MainWindowTest {
protected:
    QString iniPath() const { return env->settingsFolder + "/quorvane.ini"; }
    void setIni(const QString& section, const QString& key, const QString& value) {
        IniFile(iniPath()).write(section, key, value);
    }
    themes& open() {
        main->mnuthemes->trigger();
        return ui::form<themes>();
    }
    void close(themes& t) {
        t.Command2->click();
        processEvents();
    }
    // Answers the next input box and runs the item.
    void answer(QAction* item, const QString& typed) {
        env->dialogs.type(typed);
        item->trigger();
    }
};

TEST_F(OptionsWindow, OpensFromBothMainMenuItemsAndCancelOnlyCloses) {
    start();
    themes& t = open();
    EXPECT_EQ(main->StatusBar1->panel(5), "Themes and Settings");
    EXPECT_EQ(t.parentWidget(), main);
    EXPECT_TRUE(t.isVisible());
    EXPECT_EQ(t.windowTitle(), "Quorvane Options");
    EXPECT_EQ(t.mnustatus->text(), "Edit Status && Category  fields");
    close(t);
    EXPECT_FALSE(ui::isLoaded<themes>());
    EXPECT_EQ(main->StatusBar1->panel(5), "Waiting");

    ASSERT_EQ(main->mnueditcatstat->parent(), main->mnuOptions);
    EXPECT_TRUE(main->mnuOptions->actions().contains(main->mnueditcatstat));
    main->mnueditcatstat->trigger();
    EXPECT_TRUE(env->dialogs.lastMessage().contains("Edit Categories"));
    ASSERT_TRUE(ui::isLoaded<themes>());
    EXPECT_TRUE(ui::form<themes>().isVisible());
}

TEST_F(OptionsWindow, LoadShowsTheMarksOfTheSettingsAndTheMainWindow) {
    setIni("Program", "Home Stats Format", "me");
    setIni("Program", "Call Notes Auto-New", "1");
    setIni("Program", "Spare Field Name", "Costcode");
    setIni("Program", "Piechart", "User");
    setIni("Call Grid", "Sort Order", "DESC");
    setIni("Call Grid", "Sort Column", "Status");
    setIni("Call Grid", "Column Width 6", "1500");
    setIni("Call Grid", "Column Width 5", "0");
    setIni("Call Grid", "Column Width 12", "733");
    start();
    themes& t = open();
    EXPECT_TRUE(t.mnustatsme->isChecked());
    EXPECT_FALSE(t.mnustatsall->isChecked());
    EXPECT_TRUE(t.mnucalnot->isChecked());
    EXPECT_EQ(t.mnudn->text(), "Costcode");
    EXPECT_EQ(t.mnusparename->text(), "Rename Costcode field");
    EXPECT_TRUE(t.mnudesc->isChecked());
    EXPECT_FALSE(t.mnuasc->isChecked());
    EXPECT_TRUE(t.mnusostat->isChecked());
    EXPECT_FALSE(t.mnusonom->isChecked());
    EXPECT_TRUE(t.mnipieassign->isChecked());
    EXPECT_FALSE(t.mnipiecat->isChecked());
    EXPECT_TRUE(t.mnucr->isChecked());
    EXPECT_FALSE(t.mnucfn->isChecked());
    EXPECT_TRUE(t.mnudr->isChecked()); // any width but 0 shows the column
    EXPECT_TRUE(t.mnuAduti->isChecked());
    EXPECT_TRUE(t.mnualt->isChecked());
    EXPECT_TRUE(t.mnumarkcalls->isChecked());
    EXPECT_EQ(t.Grid1->textMatrix(2, 1), "Sample");
    EXPECT_TRUE(t.mnupch->menuAction()->isEnabled());
    close(t);

    // The scope is "me" only in exactly that spelling; the default "Me" counts all calls.
    setIni("Program", "Home Stats Format", "ME");
    env->screen.size = {889, 700};
    themes& again = open();
    EXPECT_FALSE(again.mnustatsme->isChecked());
    EXPECT_TRUE(again.mnustatsall->isChecked());
    EXPECT_EQ(main->homestats, "ME");
    EXPECT_FALSE(again.mnupch->menuAction()->isEnabled());
    close(again);
    env->screen.size = {890, 700};
    EXPECT_TRUE(open().mnupch->menuAction()->isEnabled());
}

TEST_F(OptionsWindow, StandardStaffCannotReachTheEditorOrTheSharedSettings) {
    prepareDatabase();
    addStaff("sam", "", "3");
    start("sam");
    // Login loads the window hidden to switch its editor item off.
    ASSERT_TRUE(ui::isLoaded<themes>());
    EXPECT_FALSE(ui::form<themes>().isVisible());
    EXPECT_FALSE(ui::form<themes>().mnueditcat->isEnabled());
    for (int time = 0; time < 2; ++time) {
        themes& t = open();
        for (QAction* a : {t.mnusparename, t.mnustatus, t.mnuattpath, t.mnueditcat})
            EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString() << " time " << time;
        close(t);
    }
    main->StatusBar1->setPanel(2, "standard"); // only the exact name counts
    themes& t = open();
    EXPECT_TRUE(t.mnustatus->isEnabled());
}

TEST_F(OptionsWindow, CheckMarkOptionsFlipOnceWriteTheirKeyAndSetTheMainWindow) {
    start();
    themes& t = open();
    struct Switch {
        QAction* item;
        const char* section;
        const char* key;
        const char* on;
        const char* off;
    };
    const Switch switches[] = {
        {t.mnuinclude, "Program", "Include Unassigned Calls in Workload", "True", "False"},
        {t.mnundef, "Program", "Unassigned by default", "True", "False"},
        {t.mnuAduti, "Program", "Record Audit Information", "True", "False"},
        {t.mnucalnot, "Program", "Call Notes Auto-New", "1", "0"},
        {t.mnuflr, "Program", "Force Low Res", "True", "False"},
        {t.mnurefcalls, "Call Grid", "Auto-Refresh", "True", "False"},
    };
    for (const Switch& s : switches) {
        const bool before = s.item->isChecked();
        s.item->trigger();
        EXPECT_EQ(s.item->isChecked(), !before) << s.key;
        EXPECT_EQ(env->ini(s.section, s.key), QLatin1String(before ? s.off : s.on)) << s.key;
        s.item->trigger();
        EXPECT_EQ(s.item->isChecked(), before) << s.key;
        EXPECT_EQ(env->ini(s.section, s.key), QLatin1String(before ? s.on : s.off)) << s.key;
    }
    EXPECT_EQ(main->includeunassigned, "False");
    EXPECT_TRUE(main->auditon);
    EXPECT_EQ(main->notesautonew, 0);
    EXPECT_FALSE(main->lowres);
    EXPECT_FALSE(main->Timer3->isActive());
    EXPECT_EQ(env->dialogs.messageTexts().count("You must restart Quorvane before this takes effect"), 2);
    t.mnuAduti->trigger();
    EXPECT_FALSE(main->auditon);
    t.mnurefcalls->trigger();
    EXPECT_TRUE(main->Timer3->isActive());

    // Marking calls with colours is kept by the main window until Okay saves it.
    t.mnumarkcalls->trigger();
    EXPECT_EQ(main->statusstyle, "vardont");
    EXPECT_EQ(env->ini("Call Grid", "Status Style"), "varcolours");

    // The pie and statistics pairs: the chosen item is checked, also when it already was.
    t.mnipieassign->trigger();
    EXPECT_TRUE(t.mnipieassign->isChecked());
    EXPECT_FALSE(t.mnipiecat->isChecked());
    EXPECT_EQ(main->piemode, "User");
    EXPECT_EQ(env->ini("Program", "Piechart"), "User");
    EXPECT_FALSE(main->Picture7->isHidden());
    t.mnipieno->trigger();
    EXPECT_FALSE(t.mnipieno->isChecked());
    EXPECT_EQ(env->dialogs.lastMessage(), " This functionality is now altered via right-clicking on the home screen "
                                          "and choosing to Enter Edit Mode");
    t.mnustatsall->trigger();
    t.mnustatsall->trigger();
    EXPECT_TRUE(t.mnustatsall->isChecked());
    EXPECT_FALSE(t.mnustatsme->isChecked());
    EXPECT_EQ(env->ini("Program", "Home Stats Format"), "all");
    t.mnustatsme->trigger();
    EXPECT_EQ(main->homestats, "me");

    // The main window's own switches keep to the same rule.
    const bool notes = main->mnucalnot->isChecked();
    main->mnucalnot->trigger();
    EXPECT_EQ(main->mnucalnot->isChecked(), !notes);
    EXPECT_EQ(env->ini("Reports", "Call Notes"), notes ? "False" : "True");
    main->mnultrhead->trigger();
    EXPECT_TRUE(main->mnultrhead->isChecked());
    EXPECT_EQ(env->ini("Printing", "Letterhead Space"), "True");
}

TEST_F(OptionsWindow, InputBoxOptionsTakeTwoAsCancelAndStoreWholeNumbers) {
    start();
    themes& t = open();
    answer(t.mnu3rd, "2");
    EXPECT_EQ(env->dialogs.inputs.back().prompt,
              "The first stats bar shows All Calls Logged Today.  The 2nd and 4th show open and urgent calls "
              "respectively.By default the 3rd bar shows Pending but you can chage that here. This also affects which "
              "status is flagged/coloured in the call list. Type in the status to be shown by the 3rd stats bar:");
    EXPECT_EQ(env->dialogs.inputs.back().defaultText, "Pending");
    EXPECT_EQ(main->stats3status, "Pending");
    answer(t.mnu3rd, "Awaiting Customer");
    EXPECT_EQ(env->ini("Program", "Stats 3"), "Awaiting Customer");
    answer(t.mnu3rd, ""); // Cancel keeps it
    EXPECT_EQ(main->stats3status, "Awaiting Customer");

    answer(t.mnusparename, " 2.0");
    EXPECT_EQ(main->Label36->text(), "Notes:");
    answer(t.mnusparename, "Costcode");
    EXPECT_EQ(main->Label36->text(), "Costcode");
    EXPECT_EQ(main->datagrid2->textMatrix(0, 11), "Costcode");
    EXPECT_EQ(main->datagrid2->textMatrix(0, 9), "Status");
    EXPECT_EQ(env->ini("Program", "Spare Field Name"), "Costcode");

    // Each prompt takes the numbers it names and no more: the nearest of them.
    const int standardWidth = main->Combo6->view()->minimumWidth();
    answer(t.mnudropwidth, "150");
    EXPECT_EQ(env->ini("Program", "Customer Drop-Down Width"), "200");
    EXPECT_EQ(main->Combo6->view()->minimumWidth(), standardWidth);
    answer(t.mnudropwidth, "abc");
    EXPECT_EQ(env->ini("Program", "Customer Drop-Down Width"), "200");
    answer(t.mnudropwidth, " 800");
    EXPECT_EQ(env->ini("Program", "Customer Drop-Down Width"), "500");
    EXPECT_EQ(main->Combo6->view()->minimumWidth(), 500);

    const std::pair<const char*, const char*> maxima[] = {{"5", "100"},  {"20000", "5000"}, {"5000", "5000"},
                                                          {"2", "5000"}, {"abc", "5000"},   {"150.5", "150"}};
    for (const auto& [typed, stored] : maxima) {
        answer(t.mnucallmax, typed);
        EXPECT_EQ(env->ini("Call Grid", "Maximum number of calls displayed"), stored) << typed;
    }
    EXPECT_EQ(main->maxcalls, 150);

    answer(t.mnugrh, "100");
    EXPECT_EQ(env->ini("Call Grid", "Grid Row Height"), "285");
    answer(t.mnugrh, "491");
    EXPECT_TRUE(main->datagrid2->wordWrap());
    const int tall = main->datagrid2->verticalHeader()->defaultSectionSize();
    answer(t.mnugrh, "490");
    EXPECT_FALSE(main->datagrid2->wordWrap());
    EXPECT_EQ(main->datagrid2->rowHeightMin(), 490);
    EXPECT_EQ(main->Datagrid1->verticalHeader()->defaultSectionSize(), ui::twipsToPixels(490));
    answer(t.mnugrh, "8000");
    EXPECT_EQ(env->ini("Call Grid", "Grid Row Height"), "700");
    answer(t.mnugrh, "286"); // lower again: the rows shrink back
    EXPECT_LT(main->datagrid2->verticalHeader()->defaultSectionSize(), tall);
    EXPECT_EQ(env->dialogs.unusedScripts(), 0);
}

TEST_F(OptionsWindow, FolderResizeAndResetAskFirstAndResetKeepsTheDatabaseInUse) {
    const QString shared = env->makeDatabase("shared.qvdb");
    setIni("Database", "Database Path", shared);
    start();
    themes& t = open();

    env->dialogs.answer(Answer::Cancel);
    t.mnuattpath->trigger();
    EXPECT_EQ(env->dialogs.folderDialogs, 0);
    const QString before = main->attachpath;
    env->dialogs.answer(Answer::Ok).chooseFolderNext(ui::FolderChoice::noPath());
    t.mnuattpath->trigger();
    EXPECT_EQ(main->attachpath, before);
    EXPECT_EQ(env->ini("Program", "Attachments Path"), before);
    env->dialogs.answer(Answer::Ok).chooseFolderNext(ui::FolderChoice::folder(env->path("files")));
    t.mnuattpath->trigger();
    EXPECT_EQ(main->attachpath, env->path("files"));
    EXPECT_EQ(env->ini("Program", "Attachments Path"), env->path("files"));
    EXPECT_EQ(env->dialogs.lastMessage(), "You must now restart before this change will take effect!");

    env->screen.size = {1024, 768};
    setIni("Program", "Allow Resizing for larger screens", "True");
    t.mnuresize->trigger();
    EXPECT_EQ(env->dialogs.lastMessage(), "Screen is too small to allow resizing");
    EXPECT_EQ(env->ini("Program", "Allow Resizing for larger screens"), "False");
    EXPECT_FALSE(t.mnuresize->isChecked());
    env->screen.size = {1025, 768};
    t.mnuresize->trigger();
    EXPECT_TRUE(t.mnuresize->isChecked());
    EXPECT_EQ(env->ini("Program", "Allow Resizing for larger screens"), "True");
    EXPECT_EQ(env->dialogs.lastMessage(), "A restart is required when changing this oprion");

    env->dialogs.answer(Answer::Cancel);
    t.mnureset->trigger();
    EXPECT_TRUE(QFileInfo::exists(iniPath()));
    env->dialogs.answer(Answer::Ok);
    t.mnureset->trigger();
    EXPECT_FALSE(QFileInfo::exists(iniPath()));
    EXPECT_EQ(env->dialogs.lastMessage(), "You must now restart Quorvane");
    close(t);
    closeMain();
    EXPECT_EQ(env->ini("Database", "Database Path"), shared);
    env->dialogs.clear();
    start();
    EXPECT_EQ(main->dbpath, shared);
    EXPECT_TRUE(env->dialogs.messages.empty());
}

TEST_F(OptionsWindow, ListOptionsRerunTheListsAtOnce) {
    prepareDatabase();
    addCall("c1", "Pending", "Admin", "Software");
    addCall("c2", "Open", "Admin", "Hardware"); // the striped row has no status colour
    addCall("c3", "Urgent", "bob", "Network");
    start();
    main->showAllCalls();
    themes& t = open();

    // Striping off shows at once, on the same list with its caption.
    EXPECT_EQ(main->datagrid2->cellBackColor(2, 3), ui::vbColour(main->gridcolour));
    t.mnualt->trigger();
    EXPECT_EQ(env->ini("Call Grid", "Alternate Rows"), "False");
    EXPECT_EQ(main->datagrid2->cellBackColor(2, 3), main->datagrid2->backColor());
    EXPECT_EQ(main->StatusBar1->panel(5), "All Calls.  Records: 3");

    // Sorting re-runs "My Workload", whatever list was on view.
    t.mnusocat->trigger();
    EXPECT_EQ(main->sortcolumn, "sp3");
    EXPECT_EQ(env->ini("Call Grid", "Sort Column"), "sp3");
    EXPECT_TRUE(t.mnusocat->isChecked());
    EXPECT_FALSE(t.mnusonom->isChecked());
    EXPECT_EQ(main->StatusBar1->panel(5), "My Workload.  Records: 2");
    EXPECT_EQ(main->datagrid2->textMatrix(1, 4), "Hardware");
    main->showAllCalls();
    t.mnuasc->trigger(); // already checked: stays so, and the list runs again
    EXPECT_TRUE(t.mnuasc->isChecked());
    EXPECT_EQ(main->StatusBar1->panel(5), "My Workload.  Records: 2");
    t.mnudesc->trigger();
    EXPECT_FALSE(t.mnuasc->isChecked());
    EXPECT_EQ(main->sortorder, "DESC");
    EXPECT_EQ(main->datagrid2->textMatrix(1, 4), "Software");
    EXPECT_EQ(env->ini("Call Grid", "Sort Order"), "ASC"); // written by Okay

    // A column shown again gets 1500 twips, not its old width.
    t.mnucr->trigger();
    EXPECT_EQ(main->datagrid2->colWidth(6), 1500);
    main->datagrid2->setColWidth(6, 900);
    t.mnucr->trigger();
    EXPECT_EQ(main->datagrid2->colWidth(6), 0);
    t.mnucr->trigger();
    EXPECT_EQ(main->datagrid2->colWidth(6), 1500);
    EXPECT_TRUE(t.mnucr->isChecked());
}

TEST_F(OptionsWindow, OkayAppliesAndSavesTheAppearanceWhileCancelLeavesTheMainWindowAlone) {
    start();
    const QColor oldBack = main->Picture1->palette().color(QPalette::Window);
    themes& t = open();
    main->backcolour = "255"; // as a colour command leaves it
    t.mnumarkcalls->trigger();
    close(t);
    EXPECT_EQ(main->Picture1->palette().color(QPalette::Window), oldBack);
    EXPECT_EQ(env->ini("Customisation", "Back-Colour"), "12632256");

    themes& again = open();
    main->formcolour = "not a colour"; // that step is skipped, the rest still runs
    main->mbcolour = "65280";
    again.Command1->click();
    processEvents();
    EXPECT_FALSE(ui::isLoaded<themes>());
    EXPECT_EQ(main->StatusBar1->panel(5), "Waiting");
    EXPECT_EQ(main->Picture1->palette().color(QPalette::Window), QColor(255, 0, 0));
    EXPECT_EQ(main->Picture4->palette().color(QPalette::Window), QColor(0, 255, 0));
    EXPECT_EQ(env->ini("Customisation", "Back-Colour"), "255");
    EXPECT_EQ(env->ini("Customisation", "Form-Colour"), "not a colour");
    EXPECT_EQ(env->ini("Call Grid", "Status Style"), "vardont");
    EXPECT_TRUE(ui::isLoaded<analysts>()); // its box takes the form colour, so it loads hidden
    EXPECT_FALSE(ui::form<analysts>().isVisible());
}

} // namespace

namespace {

class OptionsFit : public OptionsWindow, public ::testing::WithParamInterface<QString> {};

} // namespace

TEST_P(OptionsFit, KeepsWithinTheScreenWithALongSpareNameAndLargeFonts) {
    const QString family = GetParam();
    const LargeFonts fonts(*env, family);
    for (const int length : {192, 300}) {
        QString name = "Cost & centre";
        while (name.size() < length)
            name += " and more words";
        name.truncate(length);
        setIni("Program", "Spare Field Name", name);
        if (!main)
            start();
        themes& t = open();
        name = ReadINI("Program", "Spare Field Name", ""); // as the settings file keeps it
        // The preview takes the large list font as Grid Font sets it.
        QFont big(family, 14);
        big.setBold(true);
        env->dialogs.chooseFontNext(big);
        t.mnugridfont->trigger();
        processEvents();
        const std::string when = family.toStdString() + ", a name of " + std::to_string(length);
        expectFits(t, env->screen.size, when, {t.Grid1, t.Image1, t.Picture1});

        // The menu entries naming the field are cut, whole in their tooltips, and keep the ampersand.
        EXPECT_TRUE(t.mnudn->text().startsWith("Cost && centre")) << t.mnudn->text().toStdString();
        EXPECT_TRUE(t.mnudn->text().endsWith(QChar(0x2026))) << when;
        EXPECT_EQ(t.mnudn->toolTip(), name);
        EXPECT_TRUE(t.mnusparename->text().endsWith(QString(QChar(0x2026)) + " field")) << when;
        EXPECT_EQ(t.mnusparename->toolTip(), "Rename " + name + " field");
        for (QMenu* menu : {t.mnucgo, t.mnucgdisplay}) {
            EXPECT_TRUE(menu->toolTipsVisible());
            EXPECT_LE(menu->sizeHint().width(), env->screen.size.width() / 2) << when;
        }
        close(t);
    }
}

INSTANTIATE_TEST_SUITE_P(Families, OptionsFit, ::testing::ValuesIn(fitFamilies()));

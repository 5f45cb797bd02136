#include "customers/about.h"
#include "customers/inventory.h"
#include "customers/search.h"
#include "mainwindow/form1.h"
#include "options/themes.h"
#include "platform/db/values.h"
#include "platform/ini.h"
#include "platform/widgets/datagrid.h"
#include "platform/widgets/dialogs.h"
#include "platform/widgets/flexgrid.h"
#include "platform/widgets/forms.h"
#include "shared/shared.h"
#include "support/mainwindowfixture.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <memory>

namespace {

class StoredSettings : public MainWindowTest {
protected:
    QString iniPath() const { return env->settingsFolder + "/quorvane.ini"; }
    void setIni(const QString& section, const QString& key, const QString& value) {
        ASSERT_TRUE(IniFile(iniPath()).write(section, key, value));
    }
    themes& options() {
        main->mnuthemes->trigger();
        return ui::form<themes>();
    }
};

// Two copies of one user on one settings file: each stores only what it changed, so the other's newer choice
// stands, and a value both changed ends as the last one stored.
TEST_F(StoredSettings, TwoCopiesKeepEachOthersChoices) {
    start(QString());
    auto other = std::make_unique<Form1>(env->appDataFolder);
    other->setColour(Form1::Colour::Back, "255");
    other->sortorder = "DESC";
    env->dialogs.type("Their call sheet");
    other->mnucallsheet_Click();
    other->saver(); // the options' Okay
    other->datagrid2->setUserColWidth(3, 2222);

    main->monitorOff(); // this copy stores its options
    EXPECT_EQ(env->ini("Customisation", "Back-Colour"), "255");
    EXPECT_EQ(env->ini("Call Grid", "Sort Order"), "DESC");
    EXPECT_EQ(env->ini("Printing", "Call Sheet Header"), "Their call sheet");
    EXPECT_EQ(env->ini("Monitor", "Monitor Enabled"), "False");

    main->setColour(Form1::Colour::Back, "65280");
    main->applyOptions();
    main->showCallColumn(8, true);
    closeMain();
    EXPECT_EQ(env->ini("Customisation", "Back-Colour"), "65280");
    EXPECT_EQ(env->ini("Call Grid", "Column Width 8"), "1500");

    other->close();
    other.reset();
    EXPECT_EQ(env->ini("Call Grid", "Column Width 3"), "2222");
    EXPECT_EQ(env->ini("Call Grid", "Column Width 8"), "1500");
    EXPECT_EQ(env->ini("Customisation", "Back-Colour"), "65280");
}

// Hand-edited values outside what the options offer: every window that reads them takes the default or the
// nearest offered value, and its lists stay usable.
TEST_F(StoredSettings, DamagedValuesAreReadWithinWhatTheOptionsOffer) {
    setIni("Grid Fonts", "Size", "999");
    setIni("Program", "Piechart", "pies please");
    setIni("Call Grid", "Grid Row Height", "99999999");
    setIni("Program", "Customer Drop-Down Width", "99999999999");
    setIni("Call Grid", "Sort Order", "sideways");
    setIni("Call Grid", "Sort Column", "Nowhere");
    setIni("Call Grid", "Date Setting", "dd'mm'yyyy");
    setIni("Call Grid", "Refresh Interval", "soon");
    prepareDatabase();
    addCustomer("Ann", "ann");
    addCall("ann", "Open", "Admin");
    addCall("bob", "Open", "Admin", "Software");
    start();

    EXPECT_EQ(main->piemode, "sp3");
    EXPECT_FALSE(main->pieValues.isEmpty());
    EXPECT_EQ(main->Combo6->view()->minimumWidth(), 500);
    for (QTableView* grid : {static_cast<QTableView*>(main->datagrid2), static_cast<QTableView*>(main->Datagrid1)}) {
        EXPECT_EQ(grid->font().pointSize(), 10) << grid->objectName().toStdString();
        EXPECT_LT(grid->verticalHeader()->defaultSectionSize(), 200) << grid->objectName().toStdString();
    }
    main->mnuinvserach->trigger();
    Inventory& inventory = ui::form<Inventory>();
    EXPECT_EQ(inventory.Datagrid1->font().pointSize(), 10);
    EXPECT_EQ(inventory.Datagrid1->rowHeightMin(), 700);
    // A date pattern the program never writes is the desktop's: the customer's calls list without a word.
    EXPECT_EQ(main->datesetting, db::shortDatePattern().toLower());
    main->mnusearchname->trigger();
    ui::form<Search>().Text1->setText("ann");
    ui::form<Search>().Command1->click();
    ui::form<Search>().mnusel->trigger();
    EXPECT_TRUE(env->dialogs.messages.empty()) << env->dialogs.lastMessage().toStdString();
    EXPECT_EQ(main->datagrid2->rows(), 2);
    // The information window tells what the lists use.
    main->mnuabout->trigger();
    const ui::FlexGrid& info = *ui::form<frmAbout1>().info;
    QStringList shown;
    for (int r = 0; r < info.rows(); ++r)
        shown << info.textMatrix(r, 2);
    EXPECT_TRUE(shown.contains(" - ASCENDING")) << shown.join("|").toStdString();
    EXPECT_TRUE(shown.contains(" - Logged (Call Ref)"));
    EXPECT_TRUE(shown.contains(" - " + main->datesetting));
    EXPECT_TRUE(shown.contains(" - 300sec"));
    // Read, not rewritten: the file keeps what it held.
    EXPECT_EQ(env->ini("Grid Fonts", "Size"), "999");
}

// The settings folder cannot be written: each command that stores a setting says so once, naming the file, however
// many keys it writes; reading (and the defaults it writes back) says nothing.
TEST_F(StoredSettings, ASettingThatCannotBeStoredIsToldOncePerCommand) {
    ASSERT_TRUE(QDir().mkpath(env->path("data")));
    const QString shared = env->makeDatabase("data/desk.qvdb");
    setIni("Database", "Database Path", shared);
    start();
    themes& w = options();
    ASSERT_TRUE(QDir(env->appDataFolder).rename("Quorvane", "Quorvane.away"));
    QFile blocker(env->settingsFolder);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    auto toldOnce = [&](const char* command) {
        EXPECT_EQ(env->dialogs.messageTexts(), QStringList{qv::cannotStoreSettingsText(iniPath())}) << command;
        env->dialogs.clear();
    };
    env->dialogs.clear();

    QFont bigger("Arial", 12, QFont::Bold);
    env->dialogs.chooseFontNext(bigger);
    w.mnugridfont->trigger();
    toldOnce("grid font: name, size and weight");
    env->dialogs.chooseColourNext(QColor(255, 0, 0));
    w.mnubackcolor->trigger();
    w.Command1->click();
    toldOnce("options' Okay");
    main->showCallColumn(8, true);
    closeMain();
    toldOnce("close");
}

// A value holding a line break cannot be kept by any settings file: that is what the user is told, not a fault of the
// folder, the disk or another copy.
TEST_F(StoredSettings, AValueWithALineBreakIsToldAsTheCause) {
    start();
    env->dialogs.clear();
    env->dialogs.type("Acme Ltd\nCall Sheet");
    main->mnucallsheet_Click();
    EXPECT_EQ(env->dialogs.messageTexts(), QStringList{qv::settingHasLineBreakText(iniPath())});
    EXPECT_EQ(env->ini("Printing", "Call Sheet Header"), "Quorvane Call Sheet");
}

// "Reset ALL values" that cannot remove the settings file says so, naming it, and asks for no restart.
TEST_F(StoredSettings, AResetThatCannotRemoveTheSettingsFileIsToldAsNotDone) {
    start();
    themes& w = options();
    // A folder in the file's place cannot be removed as a file.
    ASSERT_TRUE(QFile::remove(iniPath()));
    ASSERT_TRUE(QDir().mkpath(iniPath() + "/held"));
    env->dialogs.clear();
    env->dialogs.answer(ui::Answer::Ok);
    w.mnureset->trigger();
    EXPECT_EQ(env->dialogs.messageTexts().size(), 2);
    EXPECT_TRUE(env->dialogs.lastMessage().contains(iniPath()));
    EXPECT_FALSE(env->dialogs.shown("You must now restart Quorvane"));
    ASSERT_TRUE(QDir(iniPath()).removeRecursively());
}

// Started with a settings folder named from the working folder: the settings file and the database are named
// whole, in the file and in what the user is told, so they lead there wherever the next start runs from.
TEST_F(StoredSettings, ASettingsFolderGivenFromTheWorkingFolderIsNamedWhole) {
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(QFileInfo(env->appDataFolder).absolutePath()));
    main = new Form1(QFileInfo(env->appDataFolder).fileName());
    QDir::setCurrent(before);
    ui::detail::registerForm(typeid(Form1), main);
    ASSERT_FALSE(main->ended());
    EXPECT_EQ(qv::inipath(), iniPath());
    EXPECT_EQ(env->ini("Database", "Database Path"), env->settingsFolder + "/desk.qvdb");
}

// The font dialog names the family the machine resolved "Arial" to; changing only the size keeps the stored name
// (another family picked is stored as picked: see the appearance tests).
TEST_F(StoredSettings, TheGridFontsFamilyChangesOnlyWhenAnotherIsPicked) {
    start();
    themes& w = options();
    QFont resolved(QFontInfo(QFont("Arial")).family());
    ASSERT_NE(resolved.family(), "Arial");
    resolved.setPointSize(12);
    env->dialogs.chooseFontNext(resolved);
    w.mnugridfont->trigger();
    EXPECT_EQ(env->ini("Grid Fonts", "Name"), "Arial");
    EXPECT_EQ(env->ini("Grid Fonts", "Size"), "12");
    EXPECT_EQ(main->datagrid2->font().family(), "Arial");
}

} // namespace

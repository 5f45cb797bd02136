#include "support/fontfit.h"
#include "support/mainwindowfixture.h"
#include "support/pageparse.h"

#include "customers/about.h"
#include "customers/customerexport.h"
#include "mainwindow/form1.h"
#include "platform/db/database.h"
#include "platform/db/datacontrol.h"
#include "platform/db/recordset.h"
#include "platform/ini.h"
#include "platform/widgets/colour.h"
#include "platform/widgets/flexgrid.h"
#include "platform/widgets/forms.h"
#include "shared/shared.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTextDocument>

namespace {

class AboutWindow : public MainWindowTest {
protected:
    frmAbout1* open() {
        main->mnuabout->trigger();
        return ui::isLoaded<frmAbout1>() ? &ui::form<frmAbout1>() : nullptr;
    }
    QStringList names(frmAbout1* about) const {
        QStringList out;
        for (int r = 1; r < about->cust1->rows(); ++r)
            out << about->cust1->textMatrix(r, 1);
        return out;
    }
    // The row of the customer with this name in the delete grid, -1 when absent.
    int rowOf(frmAbout1* about, const QString& name) const {
        for (int r = 1; r < about->cust1->rows(); ++r)
            if (about->cust1->textMatrix(r, 1) == name)
                return r;
        return -1;
    }
    QStringList storedNames() {
        QStringList out;
        auto rs = db::Database::open(dbPath).openRecordset("SELECT Name from Customers ORDER by Name");
        for (; !rs->eof(); rs->moveNext())
            out << rs->field(0).toString();
        return out;
    }
};

TEST_F(AboutWindow, InfoGridShowsTheInstallationAndExportsItLineForLine) {
    prepareDatabase();
    addCustomer("Ann", "ann");
    addCustomer("Bob", "bob");
    for (int i = 0; i < 3; ++i)
        addCall("ann", "Open", "Admin");
    start();
    WriteINI("Call Grid", "Sort Column", "Status");
    WriteINI("Call Grid", "Sort Order", "DESC");
    WriteINI("Call Grid", "Refresh Interval", ""); // an empty value counts as missing
    WriteINI("Program", "Stats 3", hostile::Quoted);

    frmAbout1* about = open();
    ASSERT_TRUE(about);
    EXPECT_EQ(about->windowTitle(), "About Quorvane");
    EXPECT_EQ(about->parentWidget(), main);
    const QList<QStringList> want = {
        {"Date:", " - 14/03/2025"},
        {"Product:", " - Quorvane Helpdesk"},
        {"Version:", " - v1.9.7g3"},
        {"Database:", " - " + dbPath},
        {"Last archived from:", " - Never Archived"},
        {"Last locally Backed Up:", " - Never Backed Up"},
        {"Total Records in Database:", " - Calls: 3"},
        {" \" ", " - Customers: 2"},
        {"Attachment Folder:", " - " + main->attachpath},
        {"Category & Status path:", " - [Contained within Database]"},
        {"Maximum Calls displayed:", " - 1000"},
        {"Date Format:", " - " + ReadINI("Call Grid", "Date Setting", "")},
        {"Workload includes unassigned calls?", " - False"},
        {"Calls unassigned by default?", " - False"},
        {"Key Status value:", " - " + hostile::Quoted},
        {"Default List Sort Field:", " - Status"},
        {"Default List Sort Order:", " - DESCENDING"},
        {"Call Grid refresh Interval)", " - 300sec"},
    };
    ASSERT_EQ(about->info->rows(), want.size());
    QList<QStringList> csv;
    for (int r = 0; r < want.size(); ++r) {
        EXPECT_EQ(about->info->textMatrix(r, 1), want[r][0]) << r;
        EXPECT_EQ(about->info->textMatrix(r, 2), want[r][1]) << r;
        EXPECT_EQ(about->info->cellForeColor(r, 2), ui::vbColour(0xFF0000)) << r;
        csv << (want[r] + QStringList{""}); // a comma ends each line
    }
    EXPECT_EQ(about->info->colWidth(0), 0);
    // A missing key is written back with the window's own defaults.
    EXPECT_EQ(IniFile(main->inipath).read("Call Grid", "Refresh Interval").value_or(""), "300");
    EXPECT_EQ(IniFile(main->inipath).read("Database", "Last Archived on").value_or(""), "Never Archived");

    about->Command1->click();
    const QString path = env->documentsFolder + "/Quorvane-Info.csv";
    EXPECT_EQ(readCsvFile(path), csv);
    EXPECT_EQ(crlfLines(path).at(7), "\" \"\" \",\" - Customers: 2\","); // the ditto mark doubled
    ASSERT_EQ(env->shell.opened.size(), 1u);
    EXPECT_EQ(env->shell.opened[0].target, path);
    EXPECT_EQ(env->shell.opened[0].showMode, 3);
}

TEST_F(AboutWindow, ExportThatCannotWriteSaysSoAndOpensNothing) {
    start();
    QDir().mkpath(env->documentsFolder + "/Quorvane-Info.csv"); // a folder where the file should go
    open()->Command1->click();
    EXPECT_EQ(env->dialogs.lastMessage(), customers::cannotWriteMessage(env->documentsFolder + "/Quorvane-Info.csv"));
    EXPECT_TRUE(env->shell.opened.empty());
}

TEST_F(AboutWindow, ChangeLogAndSettingsFileOpenInTheTextEditor) {
    start();
    frmAbout1* about = open();
    about->Command4->click();
    about->cmdSystemInfo->click();
    ASSERT_EQ(env->shell.opened.size(), 2u);
    EXPECT_EQ(env->shell.opened[0].target, env->programFolder + "/changelog.txt");
    EXPECT_TRUE(QFile::exists(env->shell.opened[0].target)); // shipped with the program
    EXPECT_EQ(env->shell.opened[1].target, main->inipath);
}

TEST_F(AboutWindow, DeleteModeWarnsOnceAndDeletesExactlyTheRowClicked) {
    prepareDatabase();
    addCustomer("Ann", "dup");
    addCustomer("Bob", "dup");
    addCustomer("Pat O'Brien", "o'brien");
    addCustomer("Zed", "zed");
    const int call = addCall("o'brien", "Open", "Admin");
    start();
    frmAbout1* about = open();
    about->Command3->click();
    ASSERT_TRUE(about->deleteMode());
    EXPECT_FALSE(about->cust1->isHidden());
    EXPECT_FALSE(about->Command1->isEnabled());
    EXPECT_FALSE(about->Command2->isEnabled());
    EXPECT_FALSE(about->Command3->isEnabled());
    EXPECT_EQ(names(about), QStringList({"Ann", "Bob", "Pat O'Brien", "Zed"}));
    EXPECT_EQ(about->cust1->textMatrix(0, frmAbout1::OptionCol), "Option");
    EXPECT_FALSE(about->cust1->cellPicture(1, frmAbout1::OptionCol).isNull());
    main->mnureflyist->setEnabled(false);

    // The heading and other columns delete nothing, even once the warning is spent.
    about->cust1_Click(0, frmAbout1::OptionCol);
    about->cust1_Click(rowOf(about, "Zed"), 1);
    EXPECT_TRUE(env->dialogs.messages.empty());
    EXPECT_TRUE(main->mnureflyist->isEnabled());

    env->dialogs.answer(ui::Answer::Cancel);
    about->cust1_Click(rowOf(about, "Pat O'Brien"), frmAbout1::OptionCol);
    EXPECT_EQ(storedNames().size(), 4);
    EXPECT_TRUE(about->warnondelete);

    env->dialogs.answer(ui::Answer::Ok);
    about->cust1_Click(rowOf(about, "Pat O'Brien"), frmAbout1::OptionCol);
    EXPECT_EQ(env->dialogs.messages.size(), 2u);
    EXPECT_EQ(env->dialogs.lastMessage(),
              "Record/s will be PERMANENTLY deleted! (This warning will only appear once).");
    EXPECT_EQ(storedNames(), QStringList({"Ann", "Bob", "Zed"}));
    EXPECT_EQ(count("SELECT * from Calls where Nom = " + QString::number(call)), 1); // calls stay

    // No more warnings; the second of two customers sharing a reference goes, not the first.
    about->cust1_Click(rowOf(about, "Bob"), frmAbout1::OptionCol);
    EXPECT_EQ(env->dialogs.messages.size(), 2u);
    EXPECT_EQ(storedNames(), QStringList({"Ann", "Zed"}));
    EXPECT_EQ(names(about), QStringList({"Ann", "Zed"}));
    EXPECT_FALSE(about->cust1->cellPicture(2, frmAbout1::OptionCol).isNull());

    about->cust1_Click(rowOf(about, "Zed"), frmAbout1::OptionCol);
    about->cust1_Click(rowOf(about, "Ann"), frmAbout1::OptionCol);
    EXPECT_EQ(env->dialogs.lastMessage(), "At least 1 record must be in the database!");
    EXPECT_EQ(storedNames(), QStringList({"Ann"}));
}

TEST_F(AboutWindow, DeleteModeOverSeveralHundredCustomersKeepsTheOrderAndDeletesTheRowClicked) {
    prepareDatabase();
    QStringList want;
    for (int i = 300; i >= 1; --i) { // stored in the reverse of the grid's order
        const QString n = QString::number(i).rightJustified(3, '0');
        addCustomer("Cust " + n, "ref" + n, "tel" + n);
        want.prepend("Cust " + n);
    }
    start();
    frmAbout1* about = open();
    about->show();
    about->Command3->click();
    ASSERT_TRUE(about->Adodc1->recordset());
    EXPECT_TRUE(about->Adodc1->recordset()->isOnDemand());
    EXPECT_EQ(names(about), want);
    EXPECT_EQ(about->cust1->textMatrix(290, frmAbout1::RefCol), "ref290");
    EXPECT_EQ(about->cust1->textMatrix(0, frmAbout1::RefCol), about->Adodc1->recordset()->fieldName(1));
    EXPECT_EQ(about->cust1->textMatrix(0, frmAbout1::OptionCol), "Option");
    EXPECT_EQ(about->cust1->colWidth(4), 3600);
    EXPECT_EQ(about->cust1->colWidth(5), 0);
    EXPECT_EQ(about->cust1->textMatrix(300, frmAbout1::OptionCol), "");
    EXPECT_FALSE(about->cust1->cellPicture(300, frmAbout1::OptionCol).isNull());
    EXPECT_TRUE(about->cust1->cellPicture(300, 1).isNull());

    // Far down the list, on the first page and the very last row: each time that customer and no other.
    env->dialogs.answer(ui::Answer::Ok);
    for (const QString& name : {QStringLiteral("Cust 250"), QStringLiteral("Cust 002"), QStringLiteral("Cust 300")}) {
        const int row = rowOf(about, name);
        ASSERT_GT(row, 0) << name.toStdString();
        about->cust1_Click(row, frmAbout1::OptionCol);
        want.removeOne(name);
        EXPECT_EQ(storedNames(), want) << name.toStdString();
        EXPECT_EQ(names(about), want) << name.toStdString();
        EXPECT_EQ(about->cust1->textMatrix(row - 1, frmAbout1::RefCol), "ref" + want[row - 2].mid(5));
        EXPECT_FALSE(about->cust1->cellPicture(about->cust1->rows() - 1, frmAbout1::OptionCol).isNull());
    }
    EXPECT_EQ(about->cust1->rows(), 298);
    EXPECT_EQ(about->cust1->textMatrix(250, 1), "Cust 252");
}

TEST_F(AboutWindow, AFailedDeleteKeepsTheRowAndSaysWhy) {
    prepareDatabase();
    addCustomer("Ann", "ann");
    addCustomer("Bob", "bob");
    start();
    frmAbout1* about = open();
    about->Command3->click();
    EXPECT_EQ(names(about), QStringList({"Ann", "Bob"})); // as the grid showed them
    exec("ALTER TABLE Customers RENAME TO Gone");
    about->cust1_Click(2, frmAbout1::OptionCol);
    EXPECT_EQ(names(about), QStringList({"Ann", "Bob"}));
    EXPECT_EQ(count("SELECT * from Gone"), 2);
    EXPECT_TRUE(env->dialogs.lastMessage().contains("Customers")) << env->dialogs.lastMessage().toStdString();
}

TEST_F(AboutWindow, OkAfterDeleteModeRereadsTheMainListInItsOrderUnlessACallIsBeingLogged) {
    prepareDatabase();
    addCustomer("Zed", "a-zed");
    addCustomer("Ann", "d-ann");
    addCustomer("Bob", "c-bob");
    addCustomer("Cat", "b-cat");
    start();
    main->mnuorderref->trigger(); // the order in use is not the stored default
    const QString ordered = main->Adodc1->recordSource();

    open()->cmdOK->click();
    processEvents();
    EXPECT_FALSE(ui::isLoaded<frmAbout1>());
    EXPECT_EQ(main->Adodc1->recordSource(), ordered);

    frmAbout1* about = open();
    about->Command3->click();
    about->cust1_Click(1, frmAbout1::OptionCol); // Ann
    about->cmdOK->click();
    processEvents();
    EXPECT_EQ(main->Adodc1->recordSource(), ordered);
    const db::Recordset* rs = main->Adodc1->recordset();
    ASSERT_TRUE(rs && rs->recordCount() == 3);
    EXPECT_EQ(QStringList({rs->text(0, 0), rs->text(1, 0), rs->text(2, 0)}), QStringList({"Zed", "Cat", "Bob"}));

    // A new call on the panel keeps its pending customer row.
    main->lognewcall();
    ASSERT_TRUE(main->newcall);
    about = open();
    about->Command3->click();
    about->close(); // the close box does what OK does
    processEvents();
    ASSERT_TRUE(main->Adodc1->recordset());
    EXPECT_EQ(main->Adodc1->recordset()->editMode(), db::Recordset::EditMode::Add);
}

class AboutFits : public AboutWindow, public ::testing::WithParamInterface<QString> {};

TEST_P(AboutFits, LongSettingsAndNamesKeepTheWindowAndItsButtonsOnA1024x768ScreenAndShowWholeInTips) {
    const LargeFonts fonts(*env, GetParam());
    prepareDatabase();
    const QString name = QString("Worthington-Fairweather Holdings ").repeated(4).left(100);
    addCustomer(name, "wf", "555", QString("Flat 12, The Old Mill, ").repeated(12).left(255));
    addCustomer("Ann", "ann");
    for (int i = 0; i < 40; ++i) // more than the grid shows at once
        addCustomer(QString("Zed %1").arg(i), QString("z%1").arg(i));
    start();
    const QString archived = QString("\\\\archive-server\\helpdesk\\quarterly\\").repeated(8).left(300);
    WriteINI("Database", "Last Archived on", archived);
    WriteINI("Program", "Stats 3", QString("Waiting for parts ").repeated(17).left(300));
    frmAbout1* about = open();
    ASSERT_TRUE(about);
    about->show();
    processEvents();
    expectFits(*about, env->screen.size, "opened", {about->info});
    // Row 4 is "Last archived from:": its value cut, whole in the tool tip.
    QTableView* info = about->info;
    const QRect value = info->visualRect(info->model()->index(4, 1));
    const QString shown = about->info->textMatrix(4, 2);
    EXPECT_TRUE(shown.startsWith(" - " + archived.left(200))) << shown.toStdString();
    EXPECT_EQ(toolTipAt(info->viewport(), value.topLeft() + QPoint(5, 5)), Qt::convertFromPlainText(shown));
    EXPECT_EQ(toolTipAt(info->viewport(), info->visualRect(info->model()->index(2, 1)).center()), ""); // version

    about->Command3->click();
    processEvents();
    expectFits(*about, env->screen.size, "deleting", {about->info, about->cust1});
    EXPECT_FALSE(about->cust1->horizontalScrollBar()->isVisible()); // every column in view
    QTableView* customers = about->cust1;
    const QRect cell = customers->visualRect(customers->model()->index(1, 0)); // names in order: Ann, then the long one
    EXPECT_EQ(toolTipAt(customers->viewport(), cell.topLeft() + QPoint(5, 5)), Qt::convertFromPlainText(name));
}

INSTANTIATE_TEST_SUITE_P(Families, AboutFits, ::testing::ValuesIn(fitFamilies()), familyTestName);

} // namespace

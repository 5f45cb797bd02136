#include "support/fontfit.h"
#include "support/input.h"
#include "support/mainwindowfixture.h"
#include "support/pageparse.h"

#include "customers/customerexport.h"
#include "customers/inventory.h"
#include "customers/inventorytitles.h"
#include "mainwindow/form1.h"
#include "mainwindow/statusbar.h"
#include "platform/widgets/elidedlabel.h"
#include "platform/widgets/flexgrid.h"
#include "platform/widgets/forms.h"
#include "shared/shared.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QToolTip>

namespace {

const QString Defaults = "Type, Details, Number, Notes, Spare, Username, Warranty, More";

class InventoryWindow : public MainWindowTest {
protected:
    void addItem(const QString& type, const QString& details, const QString& number, const QString& owner,
                 const QString& notes2 = QString()) {
        exec(QString("INSERT INTO Inventory (Type, Details, Number, Notes, Details2, Number2, Notes2, Type2) VALUES "
                     "('%1', '%2', '%3', 'n', '%4', 'w', '%5', 's')")
                 .arg(SQLQuote(type), SQLQuote(details), SQLQuote(number), SQLQuote(owner), SQLQuote(notes2)));
    }
    // Three items of two customers, and the main window started with that login.
    void startWith(const QString& login = "Admin") {
        prepareDatabase();
        addStaff("standard", "", "3");
        addCustomer("Jo Smith", "jsmith", "555", "1 High St");
        addItem("Laptop", "ABC 15", "123", "jsmith", hostile::Quoted);
        addItem("Printer", "xAB", "", "jsmith");
        addItem("Scanner", "O'Neil model", "50%", "ghost");
        start(login);
    }
    Inventory& open() {
        main->mnuinvserach->trigger();
        return ui::form<Inventory>();
    }
    QStringList column(Inventory& w, int col) {
        QStringList texts;
        for (int r = 1; r < w.Datagrid1->rows(); ++r)
            texts << w.Datagrid1->textMatrix(r, col);
        return texts;
    }
    QStringList headings(Inventory& w) {
        QStringList texts;
        for (int c = 2; c <= 8; ++c)
            texts << w.Datagrid1->textMatrix(0, c);
        return texts;
    }
    void filter(Inventory& w, int field, const QString& match, const QString& value) {
        w.Combo1->setCurrentIndex(field);
        w.Combo2->setCurrentText(match);
        w.Text1->setText(value);
        w.cmdCommand1->click();
    }
    void releaseOnHeading(Inventory& w, int col) {
        QHeaderView* h = w.Datagrid1->horizontalHeader();
        mouseRelease(h->viewport(), QPoint(h->sectionViewportPosition(col - 1) + 3, 3));
    }
};

TEST_F(InventoryWindow, OpensOwnedWithTitledHeadingsListsUpToTheMaximumAndRetrieveAllCountsTheRest) {
    startWith();
    main->maxcalls = 2;
    Inventory& w = open();
    EXPECT_EQ(w.parentWidget(), main);
    EXPECT_EQ(w.Datagrid1->rows(), 3);
    EXPECT_EQ(headings(w), (QStringList{"Type", "Details", "Number", "Notes", "Username", "Warranty", "More"}));
    EXPECT_EQ(w.Datagrid1->textMatrix(0, 9), "Type2");
    EXPECT_EQ(w.Combo1->currentText(), "Type");
    EXPECT_EQ(w.Combo2->currentText(), "Equals");
    EXPECT_TRUE(w.cmdCommand3->isEnabled());

    main->maxcalls = 10;
    w.cmdGo->click();
    EXPECT_EQ(w.Label1->text(), "3 records returned.");
    EXPECT_EQ(column(w, 2), (QStringList{"Laptop", "Printer", "Scanner"}));
}

TEST_F(InventoryWindow, FilterMatchesTypedTextLiterallyAndReportsRefusalsAndMisses) {
    startWith();
    Inventory& w = open();
    filter(w, 1, "Begins with", "AB");
    EXPECT_EQ(w.Label1->text(), "1 RECORDS MATCHED.");
    EXPECT_EQ(column(w, 2), QStringList{"Laptop"});
    EXPECT_EQ(headings(w).first(), "Type");

    filter(w, 1, "Contains", "o'neil");
    EXPECT_EQ(column(w, 2), QStringList{"Scanner"});
    filter(w, 4, "Equals", "jsmith");
    EXPECT_EQ(column(w, 2), (QStringList{"Laptop", "Printer"}));
    // Opening it again only brings it forward: the filtered list stays.
    EXPECT_EQ(&open(), &w);
    EXPECT_EQ(column(w, 2), (QStringList{"Laptop", "Printer"}));
    EXPECT_EQ(w.Label1->text(), "2 RECORDS MATCHED.");

    // "%" and "[" are no wildcards: nothing holds "1%3" or "[".
    filter(w, 2, "Contains", "1%3");
    EXPECT_EQ(w.Label1->text(), "SELECT * from Inventory where Number LIKE '%1[%]3%'  NO RECORDS MATCHED.");
    EXPECT_EQ(w.Datagrid1->rows(), 2);
    EXPECT_EQ(w.Datagrid1->textMatrix(1, 2), "");
    w.cmdCommand2->click(); // the headings alone
    EXPECT_EQ(fileText(env->programFolder + "/inv.csv"),
              "\"Type\",\"Details\",\"Number\",\"Notes\",\"Username\",\"Warranty\",\"More\",\"Type2\",\r\n");
    filter(w, 0, "Contains", "[");
    EXPECT_EQ(w.Datagrid1->textMatrix(1, 2), "");
    EXPECT_TRUE(env->dialogs.messages.empty());

    filter(w, 0, "Equals", "");
    EXPECT_EQ(env->dialogs.lastMessage(), "No value entered!");
    w.Combo1->setCurrentIndex(-1);
    w.Text1->setText("x");
    w.cmdCommand1->click();
    EXPECT_EQ(env->dialogs.lastMessage(), "No field entered!");
    w.Combo1->setEditText("Colour");
    w.cmdCommand1->click();
    EXPECT_EQ(env->dialogs.lastMessage(), "Please choose a field from the list.");
}

TEST_F(InventoryWindow, HeadingReleaseSortsAscendingThenDescendingAndAnotherHeadingAscending) {
    startWith();
    Inventory& w = open();
    releaseOnHeading(w, 2);
    EXPECT_EQ(column(w, 2), (QStringList{"Laptop", "Printer", "Scanner"}));
    releaseOnHeading(w, 2);
    EXPECT_EQ(column(w, 2), (QStringList{"Scanner", "Printer", "Laptop"}));
    releaseOnHeading(w, 2);
    EXPECT_EQ(column(w, 2), (QStringList{"Laptop", "Printer", "Scanner"}));
    releaseOnHeading(w, 2);
    releaseOnHeading(w, 3);
    EXPECT_EQ(column(w, 3), (QStringList{"ABC 15", "O'Neil model", "xAB"}));
    EXPECT_EQ(w.Datagrid1->row(), 1); // striping puts the current cell back on the first data row

    // The export writes what the grid shows, in its order, without the fixed and hidden columns.
    w.cmdCommand2->click();
    const QString path = env->programFolder + "/inv.csv";
    EXPECT_EQ(
        fileText(path),
        "\"Type\",\"Details\",\"Number\",\"Notes\",\"Username\",\"Warranty\",\"More\",\"Type2\",\r\n"
        "\"Laptop\",\"ABC 15\",\"123\",\"n\",\"jsmith\",\"w\",\"Printer says \"\"PC LOAD LETTER\"\", twice\",\"s\",\r\n"
        "\"Scanner\",\"O'Neil model\",\"50%\",\"n\",\"ghost\",\"w\",\"\",\"s\",\r\n"
        "\"Printer\",\"xAB\",\"\",\"n\",\"jsmith\",\"w\",\"\",\"s\",\r\n");
    EXPECT_EQ(readCsvFile(path).at(1),
              (QStringList{"Laptop", "ABC 15", "123", "n", "jsmith", "w", hostile::Quoted, "s", ""}));
    ASSERT_EQ(env->shell.opened.size(), 1u);
    EXPECT_EQ(env->shell.opened[0].target, path);
    EXPECT_EQ(env->shell.opened[0].showMode, 3);

    // A file that cannot be replaced is reported and not handed to the desktop.
    QFile::remove(path);
    QDir().mkpath(path + "/x");
    w.cmdCommand2->click();
    EXPECT_EQ(env->dialogs.lastMessage(), customers::cannotWriteMessage(path));
    EXPECT_EQ(env->shell.opened.size(), 1u);
}

TEST_F(InventoryWindow, ClickShowsTheOwnerAndThePopUpListsTheItemsCallsInTheMainList) {
    startWith();
    const int linked = addCall("jsmith", "Open", "Admin");
    const int other = addCall("jsmith", "Open", "Admin");
    exec(QString("UPDATE Calls SET sp1 = 'Printer   []' WHERE Nom = %1").arg(linked));
    exec(QString("UPDATE Calls SET sp1 = 'Printer   [1]' WHERE Nom = %1").arg(other));
    Inventory& w = open();
    QTableView* view = w.Datagrid1;
    click(view->viewport(), view->visualRect(view->model()->index(1, 1)).center());
    EXPECT_EQ(w.Label1->text(), "Customer:  Jo Smith  -  1 High St");
    click(view->viewport(), view->visualRect(view->model()->index(2, 1)).center());
    EXPECT_EQ(w.Label1->text(), "Customer details Not Found!");
    // Of two customers whose references differ only in case (an older file), the one the item names.
    exec("UPDATE Customers SET Name = 'Jo Twin', Username = 'JSMITH' WHERE Username = 'jsmith'");
    addCustomer("Jo Smith", "jsmith", "", "1 High St");
    click(view->viewport(), view->visualRect(view->model()->index(1, 1)).center());
    EXPECT_EQ(w.Label1->text(), "Customer:  Jo Smith  -  1 High St");

    w.Datagrid1->setRow(2);
    w.mnushow->trigger();
    EXPECT_EQ(env->dialogs.lastMessage(), "Retrieveing calls for: Printer   []");
    EXPECT_EQ(main->currentsql(),
              "Select Nom, sp3,  sp1, sp4,  Query, User,Username, sp2, Status, Logged, Contact,[Time Spent], Spare, "
              "[Time Opened], Format$([Date Closed],'" +
                  main->datesetting + "')as [Date Closed], Format$([Date Opened],'" + main->datesetting +
                  "')as [Date Opened] from Calls where sp1 = 'Printer   []'");
    EXPECT_EQ(main->datagrid2->rows(), 2);
    EXPECT_EQ(main->datagrid2->textMatrix(1, 2), QString::number(linked));
    EXPECT_EQ(main->StatusBar1->panel(5), "Show calls for inventory item.  Records: 1");
    EXPECT_TRUE(w.isVisible());
}

// Runs in each family the program meets: the window's font is the grid font, its frame the desktop font.
class InventoryFits : public InventoryWindow, public ::testing::WithParamInterface<QString> {};

TEST_P(InventoryFits, LongTextsAndALargeFontKeepTheWindowAndItsButtonsOnA1024x768Screen) {
    const LargeFonts fonts(*env, GetParam());
    prepareDatabase();
    const QString address = QString("Flat 12, The Old Mill, ").repeated(11).left(242);
    addCustomer("Jo Smith", "jsmith", "555", address);
    addItem("Laptop", "ABC 15", "123", "jsmith");
    start();
    // The longest first title the file holds (the column takes 100 characters).
    const QString others = ", D, N, No, Spare, Username, W, M";
    const QString title = QString("ClassificationGroupName").repeated(5).left(100 - others.size());
    exec("UPDATE Settings SET Value11 = '" + title + others + "'");
    Inventory& w = open();
    w.show();
    processEvents();
    const QSize before = w.size();
    auto inReach = [&](const std::string& when) {
        processEvents();
        expectFits(w, env->screen.size, when, {w.Datagrid1, w.Combo1, w.Combo2, w.Text1, w.Label1});
        EXPECT_EQ(w.size(), before) << when;
        EXPECT_GE(w.Text1->width(), w.Text1->fontMetrics().averageCharWidth() * 12) << when;
    };
    inReach("opened");
    // The long title is cut in the field box and in its heading, whole in both tool tips.
    EXPECT_EQ(w.Combo1->currentText(), title);
    EXPECT_TRUE(showsStart(w.Combo1));
    EXPECT_EQ(toolTipAt(w.Combo1->lineEdit(), QPoint(5, 5)), Qt::convertFromPlainText(title));
    EXPECT_EQ(toolTipAt(w.Text1, QPoint(5, 5)), "");
    QHeaderView* heading = w.Datagrid1->horizontalHeader();
    EXPECT_EQ(toolTipAt(heading->viewport(), QPoint(heading->sectionViewportPosition(1) + 5, 5)),
              Qt::convertFromPlainText(title));
    EXPECT_EQ(toolTipAt(heading->viewport(), QPoint(heading->sectionViewportPosition(3) + 5, 5)), ""); // "Number" fits
    w.Combo1->setCurrentIndex(1);
    w.Combo1->setCurrentIndex(0);
    EXPECT_TRUE(showsStart(w.Combo1));

    filter(w, 0, "Equals", QString("z").repeated(300));
    inReach("no match");
    EXPECT_TRUE(w.Label1->text().endsWith(QString("z").repeated(300) + "'  NO RECORDS MATCHED."));
    auto* line = static_cast<ui::ElidedLabel*>(w.Label1);
    EXPECT_TRUE(line->shownText().endsWith(QChar(0x2026)));                               // cut, with an ellipsis
    EXPECT_EQ(toolTipAt(line, QPoint(5, 5)), Qt::convertFromPlainText(w.Label1->text())); // the whole text, as text

    w.cmdGo->click();
    inReach("retrieve all");
    QTableView* view = w.Datagrid1;
    click(view->viewport(), view->visualRect(view->model()->index(0, 1)).center());
    EXPECT_EQ(w.Label1->text(), "Customer:  Jo Smith  -  " + address);
    inReach("owner shown");

    // The rename panel's box is filled with the whole titles text, its start in view.
    w.cmdCommand3->click();
    EXPECT_TRUE(w.Text2->text().startsWith(title));
    EXPECT_TRUE(showsStart(w.Text2));
    processEvents();
    expectFits(w, env->screen.size, "renaming", {w.Text2, w.Save, w.Command1, w.Cancel, w.Datagrid1});
}

INSTANTIATE_TEST_SUITE_P(Families, InventoryFits, ::testing::ValuesIn(fitFamilies()), familyTestName);

TEST_F(InventoryWindow, RenamedTitlesAreCheckedStoredAndShownWhileRefusedOnesKeepThePanelOpen) {
    startWith();
    Inventory& w = open();
    w.show();
    w.cmdCommand3->click();
    EXPECT_EQ(env->dialogs.lastMessage().left(9), "WARNING! ");
    EXPECT_EQ(w.Text2->text(), Defaults);
    EXPECT_TRUE(w.Text2->isVisible());
    EXPECT_FALSE(w.cmdCommand3->isEnabled());

    w.Text2->setText("Kind, Model, Serial, Remarks, Spare, Username, Cover,");
    w.Save->click();
    EXPECT_EQ(env->dialogs.lastMessage(),
              "ERROR!  There must be 8 values separated by a comma and a space (except for the last value).  The "
              "values Spare and Username must NOT be changed");
    // Well formed but longer than the column holds: the database's refusal is shown and nothing is lost.
    const QString tooLong = "Kind, Model, Serial, Remarks, Spare, Username, Cover, " + QString(60, 'x');
    w.Text2->setText(tooLong);
    w.Save->click();
    EXPECT_TRUE(env->dialogs.lastMessage().startsWith("The field titles could not be stored: "));
    EXPECT_TRUE(w.Text2->isVisible());
    EXPECT_EQ(w.Text2->text(), tooLong);
    EXPECT_EQ(scalar("SELECT Value11 from Settings").toString(), Defaults);

    w.Text2->setText("Kind, Model, Serial, Remarks, Spare, Username, Cover, ");
    w.Save->click();
    EXPECT_FALSE(w.Text2->isVisible());
    EXPECT_TRUE(w.cmdCommand3->isEnabled());
    EXPECT_EQ(scalar("SELECT Value11 from Settings").toString(),
              "Kind, Model, Serial, Remarks, Spare, Username, Cover, ");
    EXPECT_EQ(headings(w), (QStringList{"Kind", "Model", "Serial", "Remarks", "Username", "Cover", ""}));
    EXPECT_EQ(w.Combo1->itemText(0), "Kind");
    EXPECT_EQ(w.Combo1->currentText(), "");

    w.cmdCommand3->click();
    w.Text2->setText("A, B, C, D, E, F, G, H");
    w.Cancel->click();
    EXPECT_FALSE(w.Save->isVisible());
    EXPECT_EQ(scalar("SELECT Value11 from Settings").toString(),
              "Kind, Model, Serial, Remarks, Spare, Username, Cover, ");
    w.cmdCommand3->click();
    w.Command1->click();
    EXPECT_EQ(scalar("SELECT Value11 from Settings").toString(), Defaults);
    EXPECT_EQ(headings(w).first(), "Type");

    // Another copy's rename of a title this one left alone stays.
    w.cmdCommand3->click();
    exec("UPDATE Settings SET Value11 = 'Type, Details, Number, Notes, Spare, Username, Warranty, Extra'");
    w.Text2->setText("Kind, Details, Number, Notes, Spare, Username, Warranty, More");
    w.Save->click();
    EXPECT_EQ(scalar("SELECT Value11 from Settings").toString(),
              "Kind, Details, Number, Notes, Spare, Username, Warranty, Extra");
}

TEST_F(InventoryWindow, MissingOrShortTitlesAreStoredAsDefaultsAndOnlyAdministratorsRename) {
    prepareDatabase();
    addStaff("standard", "", "3");
    exec("UPDATE Settings SET Value11 = 'A, B, C, D, E, F, G'");
    start("standard");
    Inventory& w = open();
    EXPECT_FALSE(w.cmdCommand3->isEnabled());
    EXPECT_EQ(headings(w), (QStringList{"Type", "Details", "Number", "Notes", "Username", "Warranty", "More"}));
    EXPECT_EQ(scalar("SELECT Value11 from Settings").toString(), Defaults);
    w.cmdGo->click();
    EXPECT_EQ(w.Label1->text(), "0 records returned.");
    EXPECT_FALSE(w.cmdCommand3->isEnabled());
}

} // namespace

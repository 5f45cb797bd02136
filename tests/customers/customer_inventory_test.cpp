#include "support/fontfit.h"
#include "support/mainwindowfixture.h"
#include "support/pageparse.h"
#include "support/plainsqlite.h"
#include "support/refusedwrites.h"

#include "customers/form2.h"
#include "mainwindow/form1.h"
#include "mainwindow/statusbar.h"
#include "platform/db/database.h"
#include "platform/db/datacontrol.h"
#include "platform/db/recordset.h"
#include "platform/widgets/datagrid.h"
#include "platform/widgets/flexgrid.h"
#include "platform/widgets/forms.h"
#include "shared/shared.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextDocument>

namespace {

class CustomerInventory : public MainWindowTest {
protected:
    void addItem(const QString& type, const QString& number, const QString& owner) {
        exec(QString("INSERT INTO Inventory (Type, Details, Number, Notes, Details2, Number2, Notes2) VALUES "
                     "('%1', 'd', '%2', 'n', '%3', 'w', 'm')")
                 .arg(SQLQuote(type), SQLQuote(number), SQLQuote(owner)));
    }
    void startWithItems() {
        prepareDatabase();
        addCustomer("Al Empty", "aempty");
        addCustomer("Jo Smith", "jsmith");
        addCustomer("Pat O'Brien", "o'brien");
        addItem("Laptop", "123", "jsmith");
        addItem("Printer", "", "jsmith");
        addItem("Bob's PC", "", "o'brien");
        addItem("Other", "1", "");
        start();
    }
    // The customer list's row for the reference becomes current, then "Inventory for selected Customer".
    Form2* openFor(const QString& reference) {
        db::Recordset* rs = main->Adodc1->recordset();
        for (int r = 0; r < rs->rowCount(); ++r)
            if (rs->value(r, rs->fieldIndex("Username")).toString() == reference)
                rs->moveTo(r);
        main->mnuinv->trigger();
        return ui::isLoaded<Form2>() ? &ui::form<Form2>() : nullptr;
    }
    void type(Form2& w, int row, int col, const QString& text) {
        auto* model = w.Datagrid1->model();
        model->setData(model->index(row, col), text, Qt::EditRole);
    }
    QStringList stored(const QString& owner) {
        QStringList items;
        auto rs = db::Database::open(dbPath).openRecordset("SELECT Type from Inventory where Details2 = '" +
                                                           SQLQuote(owner) + "'");
        for (; !rs->eof(); rs->moveNext())
            items << rs->field(0).toString();
        return items;
    }
};

TEST_F(CustomerInventory, ListsTheChosenCustomersItemsAndFollowsTheNextChoice) {
    startWithItems();
    Form2* w = openFor("jsmith");
    ASSERT_TRUE(w);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->parentWidget(), nullptr);
    EXPECT_EQ(w->windowTitle(), "Inventory for Jo Smith");
    EXPECT_EQ(main->StatusBar1->panel(5), "Inventory screen");
    EXPECT_EQ(main->Label34->text(), dbPath);
    EXPECT_EQ(w->Datagrid1->approxCount(), 2);
    QStringList captions;
    for (int c = 0; c < 8; ++c)
        captions << w->Datagrid1->columnCaption(c);
    EXPECT_EQ(captions, (QStringList{"Type", "Details", "Number", "Notes", "Type2", "details2", "Warranty", "More"}));
    EXPECT_FALSE(w->Datagrid1->columnVisible(5));
    EXPECT_TRUE(w->Command2->isEnabled());
    EXPECT_FALSE(w->Command4->isEnabled());
    EXPECT_FALSE(w->Datagrid1->allowUpdate());

    // An apostrophe in the reference is matched as typed; the same window follows.
    EXPECT_EQ(openFor("o'brien"), w);
    EXPECT_EQ(w->windowTitle(), "Inventory for Pat O'Brien");
    EXPECT_EQ(w->Datagrid1->columnText(0), "Bob's PC");

    // No items: nothing to edit or remove, and the export is an empty file.
    openFor("aempty");
    EXPECT_EQ(w->Datagrid1->approxCount(), 0);
    EXPECT_FALSE(w->Command2->isEnabled());
    EXPECT_FALSE(w->Command5->isEnabled());
    w->Command5->click();
    EXPECT_FALSE(w->Datagrid1->allowUpdate());
    w->mnuexp->trigger();
    const QString path = env->programFolder + "/invlist.csv";
    EXPECT_EQ(env->dialogs.lastMessage(), "Saving to " + path);
    EXPECT_EQ(fileText(path), "");
    EXPECT_EQ(env->shell.lastOpened(), path);
}

TEST_F(CustomerInventory, WithoutACustomerNothingOpensAndTheCallPanelHandsItsCustomerOver) {
    prepareDatabase();
    start();
    main->mnuinv->trigger();
    EXPECT_EQ(env->dialogs.lastMessage(), "No User Selected!");
    main->Command23->click();
    EXPECT_EQ(env->dialogs.messages.size(), 2u);
    EXPECT_FALSE(ui::isLoaded<Form2>());
    EXPECT_NE(main->StatusBar1->panel(5), "Inventory screen");

    addItem("Laptop", "123", "jsmith");
    main->Text11->setText("jsmith");
    main->Combo6->setEditText("Jo Smith");
    main->Command23->click();
    ASSERT_TRUE(ui::isLoaded<Form2>());
    EXPECT_EQ(ui::form<Form2>().windowTitle(), "Inventory for Jo Smith");
    EXPECT_EQ(ui::form<Form2>().Datagrid1->columnText(0), "Laptop");
}

TEST_F(CustomerInventory, AddedItemIsOwnedSavedIntoTheCallPanelsListAndTheWindowCloses) {
    startWithItems();
    const int call = addCall("jsmith", "Open", "Admin");
    main->opencall(call);
    main->Command23->click();
    Form2& w = ui::form<Form2>();
    w.Command3->click();
    EXPECT_TRUE(w.Datagrid1->allowUpdate());
    EXPECT_TRUE(w.Command4->isEnabled());
    type(w, 2, 0, "Monitor");
    type(w, 2, 2, "77");
    w.Command1->click();
    processEvents();
    EXPECT_FALSE(ui::isLoaded<Form2>());
    EXPECT_EQ(stored("jsmith"), (QStringList{"Laptop", "Printer", "Monitor"}));
    EXPECT_GE(main->Combo3->findText("Monitor   [77]"), 0);
    EXPECT_EQ(main->StatusBar1->panel(5), "Working");
}

TEST_F(CustomerInventory, TheOpenCallKeepsItsItemThroughTheWindowAndLosesItOnlyWhenThatItemIsRemoved) {
    startWithItems();
    const QString item = "Laptop   [123]";
    const int call = addCall("jsmith", "Open", "Admin");
    exec(QString("UPDATE Calls SET sp1 = '%1' WHERE Nom = %2").arg(item).arg(call));
    const QString sp1 = QString("SELECT sp1 from Calls where Nom = %1").arg(call);
    main->opencall(call);
    main->Command23->click();
    ui::form<Form2>().Command1->click(); // nothing changed
    main->Command10->click();
    EXPECT_EQ(scalar(sp1).toString(), item);

    main->opencall(call);
    main->Command23->click();
    ui::form<Form2>().Command2->click(); // the laptop
    EXPECT_TRUE(env->dialogs.lastMessage().contains(QString("so call %1 no longer names it as its Item").arg(call)));
    main->Command10->click();
    EXPECT_EQ(scalar(sp1).toString(), "");
    EXPECT_TRUE(scalar("SELECT Audit from Calls")
                    .toString()
                    .endsWith("Item " + item +
                              " was removed from the "
                              "inventory by Admin"));
}

TEST_F(CustomerInventory, CancelDropsOnlyTheNewItemWhereverTheUserMovedAndRemoveIsImmediate) {
    startWithItems();
    Form2& w = *openFor("jsmith");
    w.Command3->click();
    type(w, 2, 0, "Tablet");
    w.Adodc1->recordset()->moveTo(0); // the user clicks the first item
    w.Command4->click();
    EXPECT_EQ(stored("jsmith"), (QStringList{"Laptop", "Printer"}));
    EXPECT_EQ(w.Datagrid1->approxCount(), 2);
    EXPECT_FALSE(w.Command4->isEnabled());
    EXPECT_FALSE(w.Datagrid1->allowUpdate());

    w.Command3->click();
    w.Command4->click();
    EXPECT_EQ(w.Datagrid1->approxCount(), 2);
    EXPECT_EQ(stored("jsmith"), (QStringList{"Laptop", "Printer"}));

    w.Adodc1->recordset()->moveTo(1);
    w.Command2->click();
    EXPECT_EQ(stored("jsmith"), QStringList{"Laptop"});
    EXPECT_TRUE(env->dialogs.messages.empty());
}

TEST_F(CustomerInventory, ASaveTheDatabaseRefusesKeepsTheWindowAndTheItem) {
    startWithItems();
    db::Database::open(dbPath).connection().exec(
        "CREATE TRIGGER refuse BEFORE INSERT ON Inventory BEGIN SELECT RAISE(ABORT, 'database is locked'); END");
    Form2& w = *openFor("jsmith");
    w.Command3->click();
    w.Command1->click();
    processEvents();
    ASSERT_TRUE(ui::isLoaded<Form2>());
    EXPECT_TRUE(env->dialogs.lastMessage().startsWith("The item could not be saved: "));
    EXPECT_EQ(w.Datagrid1->approxCount(), 3);
    EXPECT_EQ(w.Adodc1->recordset()->editMode(), db::Recordset::EditMode::Add);
}

TEST_F(CustomerInventory, AnItemAnotherCopyRemovedIsToldOnSaveAndRemoveAndWhatWasTypedStaysUntilCancelled) {
    startWithItems();
    Form2& w = *openFor("jsmith");
    PlainSqlite other(dbPath);
    ASSERT_EQ(other.exec("DELETE FROM Inventory WHERE Type = 'Laptop'"), "");
    w.Command5->click();
    type(w, 0, 0, "Laptop Pro");
    w.Command1->click();
    EXPECT_TRUE(env->dialogs.lastMessage().startsWith("The item could not be saved: Another copy"));
    EXPECT_FALSE(w.close());
    w.Command4->click();
    EXPECT_EQ(w.Datagrid1->approxCount(), 1);
    ASSERT_EQ(other.exec("DELETE FROM Inventory WHERE Type = 'Printer'"), "");
    w.Command2->click(); // removed there first: told, and gone from the list
    EXPECT_TRUE(env->dialogs.lastMessage().startsWith("Another copy"));
    EXPECT_EQ(w.Datagrid1->approxCount(), 0);
    EXPECT_TRUE(w.close());
}

TEST_F(CustomerInventory, ClosingWithAnItemTheDatabaseRefusesSaysSoAndKeepsTheWindowTheItemAndTheProgram) {
    startWithItems();
    Form2& w = *openFor("jsmith");
    {
        const RefusedWrites readOnly(dbPath);
        w.Command3->click();
        type(w, 2, 0, "Monitor"); // refused as typed, kept in the row
        EXPECT_FALSE(w.close());
        EXPECT_FALSE(main->close());
        EXPECT_TRUE(env->dialogs.lastMessage().startsWith("The item could not be saved; it stays in the window"));
        EXPECT_EQ(w.Datagrid1->columnText(0), "Monitor");
        // Nor does it go over to another customer's list.
        openFor("o'brien");
        EXPECT_EQ(w.windowTitle(), "Inventory for Jo Smith");
        EXPECT_EQ(w.Datagrid1->columnText(0), "Monitor");
    }
    EXPECT_TRUE(w.close());
    EXPECT_EQ(stored("jsmith"), (QStringList{"Laptop", "Printer", "Monitor"}));
}

TEST_F(CustomerInventory, OfTwoCustomersWhoseReferencesDifferOnlyInCaseEachListsOnlyTheirOwnItems) {
    prepareDatabase();
    addCustomer("Aaa Upper", "ZOB-001");
    addCustomer("Zzz Lower", "zob-001"); // stored before references were kept apart
    addItem("Laptop", "1", "ZOB-001");
    addItem("Printer", "2", "zob-001");
    const int call = addCall("zob-001", "Open", "Admin");
    start();
    EXPECT_EQ(openFor("ZOB-001")->Datagrid1->approxCount(), 1);
    Form2& w = *openFor("zob-001");
    EXPECT_EQ(w.Datagrid1->approxCount(), 1);
    EXPECT_EQ(w.Datagrid1->columnText(0), "Printer");
    main->opencall(call);
    EXPECT_EQ(main->Combo3->count(), 1);
    EXPECT_EQ(main->Combo3->itemText(0), "Printer   [2]");
}

TEST_F(CustomerInventory, CaptionsTakeEachStoredTitleThatExistsElseTheirDesignCaptions) {
    startWithItems();
    auto captions = [](Form2& w) {
        QStringList c;
        for (int i : {0, 1, 2, 3, 6, 7})
            c << w.Datagrid1->columnCaption(i);
        return c;
    };
    exec("UPDATE Settings SET Value11 = 'Kind, Model, Serial, Remarks, Spare, Owner, Cover, Extra'");
    Form2& w = *openFor("jsmith");
    EXPECT_EQ(captions(w), (QStringList{"Kind", "Model", "Serial", "Remarks", "Cover", "Extra"}));
    exec("UPDATE Settings SET Value11 = 'Kind,Model,Serial'");
    openFor("jsmith");
    EXPECT_EQ(captions(w), (QStringList{"Kind,Model,Serial", "Details", "Number", "Notes", "Number2", "More"}));
    exec("UPDATE Settings SET Value11 = ''");
    openFor("jsmith");
    EXPECT_EQ(captions(w), (QStringList{"Type", "Details", "Number", "Notes", "Number2", "More"}));
    EXPECT_EQ(scalar("SELECT Value11 from Settings").toString(), ""); // this window never rewrites them
}

TEST_F(CustomerInventory, FindCallsUsesTheItemTextAndTheExportWritesEveryRowFromTheFirst) {
    startWithItems();
    const int call = addCall("o'brien", "Open", "Admin");
    exec(QString("UPDATE Calls SET sp1 = 'Bob''s PC   []' WHERE Nom = %1").arg(call));
    Form2& w = *openFor("o'brien");
    w.mnufnd->trigger();
    EXPECT_EQ(env->dialogs.lastMessage(), "Retrieveing calls for: Bob's PC   []");
    EXPECT_EQ(main->datagrid2->textMatrix(1, 2), QString::number(call));
    EXPECT_EQ(main->StatusBar1->panel(5), "Find Calls for this Item.  Records: 1");
    // A customer with no items: no current row, nothing looked for.
    const QString sql = main->currentsql();
    const size_t messages = env->dialogs.messages.size();
    ASSERT_EQ(openFor("aempty"), &w);
    const QString panel = main->StatusBar1->panel(5);
    w.mnufnd->trigger();
    EXPECT_EQ(env->dialogs.messages.size(), messages);
    EXPECT_EQ(main->currentsql(), sql);
    EXPECT_EQ(main->datagrid2->textMatrix(1, 2), QString::number(call));
    EXPECT_EQ(main->StatusBar1->panel(5), panel);

    exec("UPDATE Inventory SET Notes = '" + SQLQuote(hostile::Quoted) + "' WHERE Type = 'Printer'");
    openFor("jsmith");
    w.Adodc1->recordset()->moveLast();
    w.mnuexp->trigger();
    EXPECT_EQ(fileText(env->programFolder + "/invlist.csv"),
              "\"Laptop\",\"d\",\"123\",\"n\",\"m\",\r\n"
              "\"Printer\",\"d\",\"\",\"Printer says \"\"PC LOAD LETTER\"\", twice\",\"m\",\r\n");
    EXPECT_EQ(
        readCsvFile(env->programFolder + "/invlist.csv"),
        QList<QStringList>({{"Laptop", "d", "123", "n", "m", ""}, {"Printer", "d", "", hostile::Quoted, "m", ""}}));
    EXPECT_EQ(w.Adodc1->recordset()->absolutePosition(), 1);
}

class CustomerInventoryFits : public CustomerInventory, public ::testing::WithParamInterface<QString> {};

TEST_P(CustomerInventoryFits, LongTitlesNamesAndItemsKeepTheWindowOnA1024x768ScreenAndShowWholeInTips) {
    const LargeFonts fonts(*env, GetParam());
    prepareDatabase();
    const QString name = QString("Worthington-Fairweather Holdings ").repeated(4).left(100);
    addCustomer(name, "wf");
    const QString details = QString("Rack-mounted server, second floor comms room ").repeated(6).left(255);
    exec("INSERT INTO Inventory (Type, Details, Number, Notes, Details2, Number2, Notes2) VALUES ('Server', '" +
         details + "', '1', 'n', 'wf', 'w', 'm')");
    const QString others = ", D, N, No, Spare, Username, W, M";
    const QString title = QString("ClassificationGroupName").repeated(5).left(100 - others.size());
    exec("UPDATE Settings SET Value11 = '" + title + others + "'");
    start();
    Form2* w = openFor("wf");
    ASSERT_TRUE(w);
    processEvents();
    expectFits(*w, env->screen.size, "opened", {w->Datagrid1});

    // The title heading and the details cell are cut, their whole texts in the tool tips; a short one has none.
    QHeaderView* heading = w->Datagrid1->horizontalHeader();
    EXPECT_EQ(toolTipAt(heading->viewport(), QPoint(heading->sectionViewportPosition(0) + 5, 5)),
              Qt::convertFromPlainText(title));
    QTableView* view = w->Datagrid1;
    const QRect cell = view->visualRect(view->model()->index(0, 1));
    EXPECT_EQ(toolTipAt(view->viewport(), cell.topLeft() + QPoint(5, 5)), Qt::convertFromPlainText(details));
    EXPECT_EQ(toolTipAt(view->viewport(), view->visualRect(view->model()->index(0, 2)).center()), "");

    w->Command3->click(); // a new row and Cancel enabled
    processEvents();
    expectFits(*w, env->screen.size, "adding");
}

INSTANTIATE_TEST_SUITE_P(Families, CustomerInventoryFits, ::testing::ValuesIn(fitFamilies()), familyTestName);

} // namespace

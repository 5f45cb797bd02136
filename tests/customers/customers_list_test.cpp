#include "support/fontfit.h"
#include "support/input.h"
#include "support/mainwindowfixture.h"
#include "support/pageparse.h"

#include "customers/customerexport.h"
#include "mainwindow/form1.h"
#include "platform/db/database.h"
#include "platform/db/datacontrol.h"
#include "platform/db/recordset.h"
#include "platform/widgets/datagrid.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStackedWidget>

namespace {

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

class CustomerList : public MainWindowTest {
protected:
    void select(int row) { main->Datagrid1->selectRow(row); } // the recordset follows the grid
    QPoint rowPoint(int row) { return main->Datagrid1->visualRect(main->Datagrid1->model()->index(row, 0)).center(); }
    QString csvPath() const { return env->documentsFolder + QStringLiteral("/custgrid.csv"); }
};

TEST_F(CustomerList, AnEmptyListAnswersEveryButtonWithTheMessageAndOnlyTheRightButtonOpensTheMenu) {
    prepareDatabase();
    start("Admin");
    QWidget* vp = main->Datagrid1->viewport();
    mouseRelease(vp, QPoint(10, 10), Qt::LeftButton);
    mouseRelease(vp, QPoint(10, 10), Qt::RightButton);
    EXPECT_EQ(env->dialogs.messageTexts(),
              QStringList(2, " Please use the New Call button until there is at least one entry in this customer "
                             "list - other functions will become available then."));
    EXPECT_FALSE(main->mnucust->isVisible());

    addCustomer("Alice Archer", "A1");
    main->mnureflyist->trigger();
    env->dialogs.clear();
    mouseRelease(vp, rowPoint(0), Qt::LeftButton);
    EXPECT_FALSE(main->mnucust->isVisible());
    mouseRelease(vp, rowPoint(0), Qt::RightButton);
    EXPECT_TRUE(main->mnucust->isVisible());
    main->mnucust->hide();
    EXPECT_TRUE(env->dialogs.messages.empty());
}

TEST_F(CustomerList, DeleteRefusesTheLastCustomerAndCancelDeletesNothing) {
    prepareDatabase();
    addCustomer("Alice Archer", "A1");
    start("Admin");
    main->mnucustdel->trigger();
    EXPECT_EQ(env->dialogs.lastMessage(), "There must be at least one customer in the customer list - please delete "
                                          "this entry later if required.");
    addCustomer("Bob Baker", "B1");
    main->mnureflyist->trigger();
    env->dialogs.answer(ui::Answer::Cancel);
    main->mnucustdel->trigger();
    EXPECT_EQ(env->dialogs.lastMessage(), "Are you sure you want to delete this record?.");
    EXPECT_EQ(env->dialogs.messages.back().buttons, ui::Buttons::OkCancel);
    EXPECT_EQ(count("SELECT * from Customers"), 2);
}

TEST_F(CustomerList, DeleteRemovesOnlyTheSelectedCustomerAndLeavesTheirCallsAndItems) {
    prepareDatabase();
    addCustomer("Alice Archer", "A1");
    addCustomer("Bob Baker", "B1");
    addCustomer("Cleo Cole", "C1");
    addCall("B1", "Open", "Admin");
    exec("INSERT INTO Inventory (Type, Number, Details2) VALUES ('Laptop', '77', 'B1')");
    start("Admin");
    select(1);
    env->dialogs.answer(ui::Answer::Ok);
    main->mnucustdel->trigger();
    EXPECT_EQ(count("SELECT * from Customers where Username <> 'B1'"), 2);
    EXPECT_EQ(count("SELECT * from Customers"), 2);
    EXPECT_EQ(count("SELECT * from Calls where Username = 'B1'"), 1);
    EXPECT_EQ(count("SELECT * from Inventory where Details2 = 'B1'"), 1);
    // The Delete key does not go on deleting without the question.
    pressKey(main->Datagrid1, Qt::Key_Delete);
    EXPECT_EQ(count("SELECT * from Customers"), 2);
}

// Another copy deletes the last customer and adds one, who is given the deleted one's row id; this copy still shows
// the deleted one.
TEST_F(CustomerList, ACustomerAnotherCopyReplacedUnderTheSameRowIdIsNeitherChangedNorDeleted) {
    prepareDatabase();
    addCustomer("Alice Archer", "A1");
    addCustomer("Bob Baker", "B1");
    start("Admin");
    const auto replace = [this](const QString& gone, const QString& added) {
        const qint64 id = scalar("SELECT rowid from Customers where Username = '" + gone + "'").toLongLong();
        exec("DELETE FROM Customers WHERE Username = '" + gone + "'");
        addCustomer(added, added, "222");
        ASSERT_EQ(scalar("SELECT rowid from Customers where Username = '" + added + "'").toLongLong(), id);
    };
    const QString deleted = "Another copy of the program has deleted this record (Customers)";
    select(1);
    replace("B1", "C1");
    main->mnueditcust_Click();
    typeText(main->Text12, "9");
    main->Command20->click();
    EXPECT_TRUE(env->dialogs.lastMessage().contains(deleted));
    main->Command9->click();
    select(1);
    replace("C1", "D1"); // the list still shows B1
    env->dialogs.answer(ui::Answer::Ok);
    main->mnucustdel->trigger();
    EXPECT_TRUE(env->dialogs.lastMessage().contains(deleted));
    EXPECT_EQ(scalar("SELECT Username || Extension from Customers where rowid = 2").toString(), "D1222");
}

TEST_F(CustomerList, ExportWritesEveryCustomerAsEightCellsThatReadBackExactly) {
    prepareDatabase();
    addCustomer(hostile::Quoted, "S1", "555 1", "1 High St\nLeeds", "jo@example.com");
    addCustomer("Adams", "A1");
    addCustomer("Moss", "M1");
    exec("UPDATE Customers SET Notes = 'likes \"tea\"', Spare1 = 'x' WHERE Username = 'M1'");
    start("Admin");
    select(2);
    main->mnucustexp->trigger();
    // Quote-free cells keep their layout: each cell quoted, a comma after the last.
    EXPECT_TRUE(readFile(csvPath()).startsWith("\"Adams\",\"A1\",\"\",\"\",\"\",\"\",\"\",\"\",\r\n"));
    EXPECT_EQ(readCsvFile(csvPath()), QList<QStringList>({{"Adams", "A1", "", "", "", "", "", "", ""},
                                                          {"Moss", "M1", "", "", "x", "", "", "likes \"tea\"", ""},
                                                          {hostile::Quoted, "S1", "555 1", "1 High St\nLeeds", "", "",
                                                           "jo@example.com", "", ""}}));
    ASSERT_EQ(env->shell.opened.size(), 1u);
    EXPECT_EQ(env->shell.opened[0].target, csvPath());
    EXPECT_EQ(env->shell.opened[0].showMode, 3);
    EXPECT_EQ(main->Datagrid1->columnText(1), "S1"); // later commands still act on the selected customer
}

TEST_F(CustomerList, AnExportThatCannotBeWrittenSaysSoAndLeavesNoNewFile) {
    prepareDatabase();
    start("Admin");
    QFile old(csvPath());
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("\"earlier\",\r\n");
    old.close();
    main->mnucustexp->trigger(); // an empty list
    EXPECT_EQ(env->dialogs.lastMessage(), customers::cannotWriteMessage(csvPath()));
    EXPECT_EQ(readFile(csvPath()), "\"earlier\",\r\n");

    addCustomer("Adams", "A1");
    main->mnureflyist->trigger();
    ASSERT_TRUE(old.remove() && QDir().mkpath(csvPath() + "/held")); // the name is taken
    env->dialogs.clear();
    main->mnucustexp->trigger();
    EXPECT_EQ(env->dialogs.lastMessage(), customers::cannotWriteMessage(csvPath()));
    EXPECT_TRUE(QDir(env->documentsFolder).entryList(QDir::Files).isEmpty());
    EXPECT_TRUE(env->shell.opened.empty());
}

TEST_F(CustomerList, EmailTakesTheEmailColumnWithAnEmptySubject) {
    prepareDatabase();
    addCustomer("Alice Archer", "A1", "555", "1 Road", "alice@example.com");
    addCustomer("Bob Baker", "B1", "556", "2 Road");
    start("Admin");
    main->mnuemailcust->trigger();
    select(1);
    main->mnuemailcust->trigger();
    ASSERT_EQ(env->shell.opened.size(), 2u);
    EXPECT_EQ(env->shell.opened[0].target, "mailto:alice@example.com?Subject=");
    EXPECT_EQ(env->shell.opened[0].showMode, 1);
    EXPECT_EQ(env->shell.opened[1].target, "mailto:?Subject=");
}

TEST_F(CustomerList, AddNewCustomerLeavesAnUnstoredNewCustomerOnTheEntryPanel) {
    prepareDatabase();
    addCustomer("Alice Archer", "A1");
    start("Admin");
    main->cancelpressed = true;
    main->mnuaddcust->trigger();
    EXPECT_TRUE(main->addcustmode);
    EXPECT_FALSE(main->cancelpressed);
    EXPECT_EQ(main->upperStack->currentWidget(), main->Picture8);
    EXPECT_FALSE(main->Datagrid1->isEnabled() || main->Command8->isEnabled() || main->mnucust->isEnabled());
    EXPECT_EQ(main->Adodc1->recordset()->editMode(), db::Recordset::EditMode::Add);
    EXPECT_EQ(main->Adodc4->recordset()->editMode(), db::Recordset::EditMode::Add);
    EXPECT_EQ(count("SELECT * from Customers"), 1);
    EXPECT_EQ(count("SELECT * from Calls"), 0);
}

TEST_F(CustomerList, EditSelectedCustomerKeepsTheReferenceFromBeforeTheEditAndShowsSaveEdit) {
    prepareDatabase();
    addCustomer("Alice Archer", "A1");
    const QString bob = "Bob Baker of the Goods In Department, Building Seven, at the far end of the yard";
    addCustomer(bob, "B1");
    start("Admin");
    select(1);
    main->mnueditcust->trigger();
    main->Text11->setText("B2");
    EXPECT_EQ(main->Label40->text(), "B1");
    EXPECT_TRUE(main->editcustmode);
    EXPECT_TRUE(main->Command20->isVisibleTo(main));
    EXPECT_FALSE(main->Command10->isVisibleTo(main));
    EXPECT_EQ(main->Combo6->currentText(), bob);
    EXPECT_TRUE(showsStart(main->Combo6)); // the name's start, not its end, in the narrow box
    EXPECT_FALSE(main->Datagrid1->isEnabled() || main->Command8->isEnabled() || main->mnucust->isEnabled());
}

TEST_F(CustomerList, ALongListKeepsItsOrderAndFindsAnyCustomerInTheWholeTable) {
    prepareDatabase();
    {
        auto database = db::Database::open(dbPath);
        db::Transaction tx(database.connection());
        for (int i = 0; i < 500; ++i) {
            const int k = (i * 7919) % 500; // references spread over the names
            database.execute(QStringLiteral("INSERT INTO Customers (Name, Username) VALUES ('%1 %2', 'C%3')")
                                 .arg(i % 2 ? QStringLiteral("zed") : QStringLiteral("Ann"))
                                 .arg(i, 3, 10, QLatin1Char('0'))
                                 .arg(k, 3, 10, QLatin1Char('0')));
        }
        tx.commit();
    }
    start("Admin");
    db::Recordset* rs = main->Adodc1->recordset();
    ASSERT_TRUE(rs && rs->isOnDemand());
    ASSERT_EQ(main->Datagrid1->model()->rowCount(), 500);
    EXPECT_EQ(main->Datagrid1->model()->index(0, 0).data().toString(), "Ann 000");
    EXPECT_EQ(main->Datagrid1->model()->index(499, 0).data().toString(), "zed 499");
    // Found far down the list: the grid and the customer boxes show that customer.
    main->FindCust("c437");
    rs = main->Adodc1->recordset(); // read again: the customer is looked up as the file holds it now
    ASSERT_FALSE(rs->eof());
    EXPECT_EQ(rs->field("Username").toString(), "C437");
    main->FindCust("C437");
    EXPECT_EQ(main->Datagrid1->columnText(1), "C437");
    // Ordered by reference, the whole table follows.
    main->mnuorderref->trigger();
    rs = main->Adodc1->recordset();
    ASSERT_EQ(rs->recordCount(), 500);
    for (const int r : {0, 63, 64, 250, 499})
        EXPECT_EQ(rs->text(r, rs->fieldIndex("Username")), QStringLiteral("C%1").arg(r, 3, 10, QLatin1Char('0')));
    EXPECT_EQ(main->Datagrid1->model()->index(499, 1).data().toString(), "C499");
    env->dialogs.clear();
    main->FindCust("nobody");
    EXPECT_EQ(env->dialogs.messageTexts(), QStringList{"No Records Found"});
}

} // namespace

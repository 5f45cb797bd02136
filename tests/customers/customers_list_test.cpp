#include "support/input.h"
#include "support/mainwindowfixture.h"

#include "mainwindow/form1.h"
#include "platform/db/datacontrol.h"
#include "platform/db/recordset.h"
#include "platform/ini.h"
#include "platform/widgets/binding.h"
#include "platform/widgets/datagrid.h"
#include "platform/widgets/flexgrid.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStackedWidget>

namespace {

const QString EmptyListMessage = QStringLiteral(
    " Please use the New Call button until there is at least one entry in this customer list - other functions "
    "will become available then.");
const QString CannotWrite = QStringLiteral(
    "Can't Write to file!  Is it already open.. E.g. in Excel?  If so, please close and run this command again.");

QString readFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QStringLiteral("<unreadable>");
    return QString::fromUtf8(f.readAll());
}

void writeFile(const QString& path, const QByteArray& data) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}

class CustomerList : public MainWindowTest {
protected:
    db::Recordset& customers() { return *main->Adodc1->recordset(); }
    // The customer list's row as the user selects it (the recordset follows the grid).
    void select(int row) { main->Datagrid1->selectRow(row); }
    QPoint rowPoint(int row) { return main->Datagrid1->visualRect(main->Datagrid1->model()->index(row, 0)).center(); }
    QString csvPath() const { return env->documentsFolder + QStringLiteral("/custgrid.csv"); }
};

TEST_F(CustomerList, AnEmptyListAnswersEveryButtonWithTheMessageAndOnlyTheRightButtonOpensTheMenu) {
    prepareDatabase();
    start("Admin");
    QWidget* vp = main->Datagrid1->viewport();
    mouseRelease(vp, QPoint(10, 10), Qt::LeftButton);
    mouseRelease(vp, QPoint(10, 10), Qt::RightButton);
    ASSERT_EQ(env->dialogs.messages.size(), 2u);
    EXPECT_EQ(env->dialogs.messages[0].text, EmptyListMessage);
    EXPECT_EQ(env->dialogs.messages[1].text, EmptyListMessage);
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
    EXPECT_EQ(count("SELECT * from Customers"), 1);
    closeMain();

    addCustomer("Bob Baker", "B1");
    start("Admin");
    env->dialogs.clear();
    env->dialogs.answer(ui::Answer::Cancel);
    main->mnucustdel->trigger();
    ASSERT_EQ(env->dialogs.messages.size(), 1u);
    EXPECT_EQ(env->dialogs.messages[0].text, "Are you sure you want to delete this record?.");
    EXPECT_EQ(env->dialogs.messages[0].buttons, ui::Buttons::OkCancel);
    EXPECT_EQ(count("SELECT * from Customers"), 2);
    EXPECT_EQ(customers().recordCount(), 2);
}

TEST_F(CustomerList, DeleteRemovesOnlyTheSelectedCustomerAndLeavesTheirCallsAndItems) {
    prepareDatabase();
    addCustomer("Alice Archer", "A1");
    addCustomer("Bob Baker", "B1");
    addCustomer("Cleo Cole", "C1");
    addCall("B1", "Open", "Admin");
    addCall("B1", "Closed", "Admin");
    exec("INSERT INTO Inventory (Type, Number, Details2) VALUES ('Laptop', '77', 'B1')");
    start("Admin");
    select(1);
    ASSERT_EQ(main->Datagrid1->columnText(1), "B1");
    env->dialogs.answer(ui::Answer::Ok);
    main->mnucustdel->trigger();
    EXPECT_EQ(count("SELECT * from Customers where Username = 'B1'"), 0);
    EXPECT_EQ(count("SELECT * from Customers"), 2);
    EXPECT_EQ(count("SELECT * from Calls where Username = 'B1'"), 2);
    EXPECT_EQ(count("SELECT * from Inventory where Details2 = 'B1'"), 1);
    EXPECT_EQ(customers().recordCount(), 2);
}

TEST_F(CustomerList, ExportWritesEveryCustomerAsEightUnescapedCellsAndOpensTheFile) {
    prepareDatabase();
    addCustomer("Smith, \"Jo\"", "S1", "555 1", "1 High St", "jo@example.com");
    addCustomer("Adams", "A1");
    addCustomer("Moss", "M1", "", "", "moss@example.com");
    exec("UPDATE Customers SET Notes = 'likes tea', Spare1 = 'x' WHERE Username = 'M1'");
    start("Admin");
    select(2);
    main->mnucustexp->trigger();
    EXPECT_TRUE(env->dialogs.messages.empty()) << env->dialogs.lastMessage().toStdString();
    EXPECT_EQ(readFile(csvPath()), "\"Adams\",\"A1\",\"\",\"\",\"\",\"\",\"\",\"\",\r\n"
                                   "\"Moss\",\"M1\",\"\",\"\",\"x\",\"\",\"moss@example.com\",\"likes tea\",\r\n"
                                   "\"Smith, \"Jo\"\",\"S1\",\"555 1\",\"1 High St\",\"\",\"\",\"jo@example.com\",\"\",\r\n");
    ASSERT_EQ(env->shell.opened.size(), 1u);
    EXPECT_EQ(env->shell.opened[0].target, csvPath());
    EXPECT_EQ(env->shell.opened[0].showMode, 3);
    // The list keeps its selected customer, so the next command still acts on it.
    EXPECT_EQ(main->Datagrid1->columnText(1), "S1");
}

TEST_F(CustomerList, AnExportThatCannotBeWrittenSaysSoAndLeavesTheOldFileAlone) {
    prepareDatabase();
    start("Admin");
    writeFile(csvPath(), "\"earlier\",\r\n");
    main->mnucustexp->trigger();
    EXPECT_EQ(env->dialogs.lastMessage(), CannotWrite);
    EXPECT_EQ(readFile(csvPath()), "\"earlier\",\r\n");
    EXPECT_TRUE(env->shell.opened.empty());
    closeMain();

    // The documents folder cannot take the file: nothing half-written appears and nothing is opened.
    addCustomer("Adams", "A1");
    QFile::remove(csvPath());
    ASSERT_TRUE(QDir().mkpath(csvPath() + "/blocked"));
    start("Admin");
    env->dialogs.clear();
    main->mnucustexp->trigger();
    EXPECT_EQ(env->dialogs.lastMessage(), CannotWrite);
    EXPECT_TRUE(QFileInfo(csvPath()).isDir());
    EXPECT_TRUE(QDir(env->documentsFolder).entryList({"*.csv*"}, QDir::Files).isEmpty());
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

TEST_F(CustomerList, AddNewCustomerStartsAnEmptyCustomerOnTheEntryPanelWithTheListsAndMenusLocked) {
    prepareDatabase();
    addCustomer("Alice Archer", "A1");
    start("Admin");
    main->cancelpressed = true;
    main->Combo6->addItem("stale");
    main->mnuaddcust->trigger();
    EXPECT_TRUE(main->addcustmode);
    EXPECT_FALSE(main->cancelpressed);
    EXPECT_EQ(main->Combo6->count(), 0);
    EXPECT_EQ(main->upperStack->currentWidget(), main->Picture8);
    EXPECT_FALSE(main->Datagrid1->isEnabled());
    EXPECT_FALSE(main->datagrid2->isEnabled());
    EXPECT_EQ(customers().editMode(), db::Recordset::EditMode::Add);
    EXPECT_EQ(main->Adodc4->recordset()->editMode(), db::Recordset::EditMode::Add);
    EXPECT_TRUE(main->Command10->isEnabled());
    EXPECT_TRUE(main->Command9->isEnabled());
    EXPECT_FALSE(main->Command8->isEnabled());
    EXPECT_FALSE(main->mnucust->isEnabled());
    // Nothing is stored until the panel saves.
    EXPECT_EQ(count("SELECT * from Customers"), 1);
    EXPECT_EQ(count("SELECT * from Calls"), 0);
}

TEST_F(CustomerList, EditSelectedCustomerKeepsTheReferenceFromBeforeTheEditAndShowsSaveEdit) {
    prepareDatabase();
    addCustomer("Alice Archer", "A1");
    addCustomer("Bob Baker", "B1");
    start("Admin");
    // The entry panel's customer boxes show the list's current row.
    ui::bindField(main->Text10, main->Adodc1, "Name");
    ui::bindField(main->Text11, main->Adodc1, "Username");
    select(1);
    main->mnueditcust->trigger();
    EXPECT_EQ(main->Label40->text(), "B1");
    main->Text11->setText("B2");
    EXPECT_EQ(main->Label40->text(), "B1");
    EXPECT_TRUE(main->editcustmode);
    EXPECT_TRUE(main->Command20->isVisibleTo(main));
    EXPECT_FALSE(main->Command10->isVisibleTo(main));
    EXPECT_EQ(main->Combo6->currentText(), main->Text10->text());
    EXPECT_FALSE(main->Command8->isEnabled());
    EXPECT_FALSE(main->Datagrid1->isEnabled());
    EXPECT_FALSE(main->mnucust->isEnabled());
}

TEST_F(CustomerList, SortingByReferenceReordersTheListAndIsKeptForTheNextStart) {
    prepareDatabase();
    addCustomer("Zed", "A9");
    addCustomer("Amy", "Z1");
    start("Admin");
    EXPECT_EQ(main->Datagrid1->columnText(0), "Amy");
    main->mnuorderref->trigger();
    customers().moveFirst();
    EXPECT_EQ(main->Datagrid1->columnText(0), "Zed");
    EXPECT_EQ(IniFile(env->settingsFolder + "/quorvane.ini").read("Call Grid", "Sort by Name or Username").value_or(""),
              "Username");
    closeMain();
    start("Admin");
    EXPECT_EQ(main->Datagrid1->columnText(0), "Zed");
}

} // namespace

#include "support/input.h"
#include "support/mainwindowfixture.h"
#include "support/plainsqlite.h"

#include "customers/search.h"
#include "mainwindow/form1.h"
#include "mainwindow/statusbar.h"
#include "platform/db/datacontrol.h"
#include "platform/db/recordset.h"
#include "platform/db/values.h"
#include "platform/widgets/flexgrid.h"
#include "platform/widgets/forms.h"

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

namespace {

class CustomerSearch : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        prepareDatabase();
        addCustomer("Margaret Smith", "MS1", "", "1 Mill Lane");
        addCustomer("MARTIN Jones", "MJ1");
        addCustomer("Omar Khan", "OK1");
        addCustomer("Bob Baker", "BB1");
        addCustomer("Pat O'Brien", "PO'B");
    }
    Search& searchFor(const QString& text) {
        main->mnusearchname->trigger();
        Search& s = ui::form<Search>();
        s.Text1->setText(text);
        s.Command1->click();
        return s;
    }
    static QStringList references(const Search& s) { // sorted, as the order is the database's
        QStringList refs;
        for (int r = 1; r < s.MSHFlexGrid1->rows(); ++r)
            refs << s.MSHFlexGrid1->textMatrix(r, Search::RefCol);
        refs.sort();
        return refs;
    }
    static QPoint cellPoint(const Search& s, int row) {
        return s.MSHFlexGrid1->visualRect(s.MSHFlexGrid1->model()->index(row - 1, Search::NameCol - 1)).center();
    }
    QString currentReference() { // the main customer list's current row
        db::Recordset* rs = main->Adodc1->recordset();
        return rs->eof() || rs->bof() ? QString() : db::displayText(rs->field(QStringLiteral("Username")));
    }
    bool searchLoaded() {
        processEvents();
        return ui::isLoaded<Search>();
    }
};

TEST_F(CustomerSearch, ThreeLettersInAnyCaseFindEveryNameHoldingThem) {
    start("Admin");
    Search& s = searchFor("mAR");
    EXPECT_TRUE(s.isVisible());
    EXPECT_EQ(references(s), (QStringList{"MJ1", "MS1", "OK1"}));
    int row = 1;
    while (row < s.MSHFlexGrid1->rows() && s.MSHFlexGrid1->textMatrix(row, Search::RefCol) != "MS1")
        ++row;
    EXPECT_EQ(s.MSHFlexGrid1->textMatrix(row, Search::NameCol), "Margaret Smith");
    EXPECT_EQ(s.MSHFlexGrid1->textMatrix(row, Search::AddressCol), "1 Mill Lane");
    EXPECT_GT(s.MSHFlexGrid1->colWidth(Search::RefCol), 0); // every hand-over takes it
}

TEST_F(CustomerSearch, ApostrophesAndPatternSignsAreTextAndAnEmptyTextListsNothing) {
    addCustomer("Unit #h2", "H2");
    addCustomer("[bracket] Ltd", "BR");
    addCustomer("50% Off_Shop", "PC");
    addCustomer("Star*Bright", "ST");
    start("Admin");
    Search& s = searchFor("o'brien");
    EXPECT_EQ(references(s), QStringList{"PO'B"});
    const std::pair<const char*, QStringList> asTyped[] = {{"#h", {"H2"}}, {"[bracket]", {"BR"}}, {"?", {}},
                                                           {"0%", {"PC"}}, {"f_s", {"PC"}},       {"r*b", {"ST"}},
                                                           {"ba*ker", {}}, {"*", {"ST"}}};
    for (const auto& [typed, found] : asTyped) {
        s.Text1->setText(typed);
        pressKey(s.Text1, Qt::Key_Return);
        EXPECT_EQ(references(s), found) << typed;
    }
    s.Text1->clear();
    s.Command1->click();
    EXPECT_EQ(s.MSHFlexGrid1->textMatrix(1, Search::RefCol), "");
    EXPECT_TRUE(env->dialogs.messages.empty());

    // The main window's find by name reads the typed name the same way.
    ui::unload<Search>();
    for (const auto& [typed, reference] : {std::pair{"f_S", "PC"}, {"r*b", "ST"}, {"o_b", ""}, {"[!x]", ""}}) {
        env->dialogs.type(typed);
        main->findCustomerByName();
        EXPECT_EQ(currentReference(), reference) << typed;
    }
    EXPECT_EQ(env->dialogs.messageTexts(), QStringList(2, "No Records Found"));
}

TEST_F(CustomerSearch, DoubleClickEnterAndThePopUpMenuHandOverAndCloseTheWindow) {
    start("Admin");
    Search& s = searchFor("omar");
    doubleClick(s.MSHFlexGrid1->viewport(), cellPoint(s, 1));
    EXPECT_FALSE(searchLoaded());
    EXPECT_EQ(currentReference(), "OK1");

    Search& enter = searchFor("smith");
    pressKey(enter.MSHFlexGrid1, Qt::Key_Return);
    EXPECT_FALSE(searchLoaded());

    Search& menu = searchFor("smith");
    mousePress(menu.MSHFlexGrid1->viewport(), cellPoint(menu, 1), Qt::RightButton);
    EXPECT_TRUE(menu.popup1->isVisible());
    menu.mnulocate->trigger();
    EXPECT_FALSE(searchLoaded());
    EXPECT_EQ(currentReference(), "MS1");
}

TEST_F(CustomerSearch, ListCallsFillsTheCallListStatusDescendingThenNumberInTheSortOrder) {
    const int open1 = addCall("PO'B", "Open", "Admin");
    const int urgent = addCall("PO'B", "Urgent", "Admin");
    const int closed = addCall("PO'B", "Closed", "Admin");
    const int open2 = addCall("PO'B", "Open", "Admin");
    addCall("BB1", "Urgent", "Admin");
    start("Admin");
    main->sortorder = "DESC";
    main->Picture4->setEnabled(false);
    searchFor("brien").mnusel->trigger();

    EXPECT_EQ(main->currentsql(),
              "Select Nom, sp3,  sp1, sp4,  Query, User, Username, sp2, Status, Logged, Contact, [Time Opened],"
              "[Time Spent], Spare, Format$([Date Closed],'" +
                  main->datesetting + "')as [Date Closed], Format$([Date Opened],'" + main->datesetting +
                  "')as [Date Opened]  from Calls where Username = 'PO''B' ORDER by Status DESC, Nom DESC");
    QStringList listed;
    for (int r = 1; r < main->datagrid2->rows(); ++r)
        listed << main->datagrid2->textMatrix(r, 2);
    EXPECT_EQ(listed, (QStringList{QString::number(urgent), QString::number(open2), QString::number(open1),
                                   QString::number(closed)}));
    EXPECT_EQ(main->StatusBar1->panel(5), "Query.  Records: 4");
    EXPECT_TRUE(main->Picture4->isEnabled());
    EXPECT_FALSE(searchLoaded());
}

TEST_F(CustomerSearch, AResultsReferenceIsLookedUpExactlyAndOneAnotherCopyDeletedIsTold) {
    addCustomer("Abby Cole", "abc");
    addCustomer("Alan Cox", "a_c");
    start("Admin");
    const int calls = count("SELECT * from Calls");
    for (QAction* Search::*handOver : {&Search::mnulnc, &Search::mnulocate}) {
        main->FindCust("MS1");
        Search& s = searchFor("alan");
        exec("DELETE FROM Customers WHERE Username = 'a_c'"); // by another copy
        (s.*handOver)->trigger();
        EXPECT_EQ(currentReference(), "MS1");
        addCustomer("Alan Cox", "a_c");
    }
    EXPECT_EQ(env->dialogs.messages.size(), 2u);
    EXPECT_EQ(count("SELECT * from Calls"), calls);
}

TEST_F(CustomerSearch, ReferencesDifferingInTheCaseOfAnyLetterAreOneAndOlderTwinsEachSeeTheirOwn) {
    addCustomer("Emile Big", "ÉMILE");
    start("Admin");
    main->mnuaddcust_Click();
    typeText(main->Text10, "Emile Small");
    typeText(main->Text11, "émile");
    main->Command10->click();
    EXPECT_TRUE(env->dialogs.lastMessage().endsWith("Another customer already has the reference \"émile\" "
                                                    "(capitals and small letters count as the same). Please enter "
                                                    "a different reference."));
    EXPECT_EQ(count("SELECT * from Customers"), 6);
    main->Command9->click();

    // Twins another tool stored: each has one call and one item.
    ASSERT_EQ(PlainSqlite(dbPath).exec("INSERT INTO Customers (Name, Username) VALUES ('Big Seven', 'ÉMILE-7'), "
                                       "('Small Seven', 'émile-7'); INSERT INTO Inventory (Type, [Number], Details2) "
                                       "VALUES ('Laptop', 'L1', 'ÉMILE-7'), ('Phone', 'P1', 'émile-7')"),
              "");
    const int big = addCall("ÉMILE-7", "Open", "Admin");
    const int small = addCall("émile-7", "Open", "Admin");
    searchFor("small seven").mnusel->trigger();
    ASSERT_EQ(main->datagrid2->rows(), 2);
    EXPECT_EQ(main->datagrid2->textMatrix(1, 2), QString::number(small));
    main->FindCust("ÉMILE-7"); // and from the main list's pop-up
    main->mnulistcust->trigger();
    ASSERT_EQ(main->datagrid2->rows(), 2);
    EXPECT_EQ(main->datagrid2->textMatrix(1, 2), QString::number(big));
    const int plain = addCall("OK1", "Open", "Admin"); // typed in another case, a reference without a twin
    main->listByCustomer("ok1");
    ASSERT_EQ(main->datagrid2->rows(), 2);
    EXPECT_EQ(main->datagrid2->textMatrix(1, 2), QString::number(plain));
    main->opencall(small);
    EXPECT_EQ(main->Text10->text() + "|" + main->Combo3->itemText(0) + "|" + QString::number(main->Combo3->count()),
              "Small Seven|Phone   [P1]|1");
    main->opencall(big);
    EXPECT_EQ(main->Text10->text() + "|" + main->Combo3->itemText(0), "Big Seven|Laptop   [L1]");
}

} // namespace

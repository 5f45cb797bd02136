#include "support/input.h"
#include "support/mainwindowfixture.h"

#include "customers/search.h"
#include "mainwindow/form1.h"
#include "mainwindow/statusbar.h"
#include "platform/db/datacontrol.h"
#include "platform/widgets/flexgrid.h"
#include "platform/widgets/forms.h"

#include <QAction>
#include <QFrame>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <set>

namespace {

class CustomerSearch : public MainWindowTest {
protected:
    Search& open() {
        main->mnusearchname->trigger();
        return ui::form<Search>();
    }
    Search& searchFor(const QString& text) {
        Search& s = open();
        s.Text1->setText(text);
        s.Command1->click();
        return s;
    }
    // The references listed, in grid order.
    static QStringList references(const Search& s) {
        QStringList refs;
        for (int r = 1; r < s.MSHFlexGrid1->rows(); ++r)
            refs << s.MSHFlexGrid1->textMatrix(r, Search::RefCol);
        return refs;
    }
    static QPoint cellPoint(const Search& s, int row) {
        ui::FlexGrid* g = s.MSHFlexGrid1;
        return g->visualRect(g->model()->index(row - g->fixedRows(), Search::NameCol - g->fixedCols())).center();
    }
    bool searchLoaded() {
        processEvents();
        return ui::isLoaded<Search>();
    }
    void addCustomers() {
        prepareDatabase();
        addCustomer("Margaret Smith", "MS1", "", "1 Mill Lane");
        addCustomer("MARTIN Jones", "MJ1", "", "");
        addCustomer("Omar Khan", "OK1", "", "3 Park Rd");
        addCustomer("Bob Baker", "BB1", "", "4 Baker St");
        addCustomer("Pat O'Brien", "PO'B", "", "5 Quay");
    }
};

TEST_F(CustomerSearch, ThreeLettersInAnyCaseFindEveryNameHoldingThem) {
    addCustomers();
    start("Admin");
    Search& s = searchFor("mAR");
    EXPECT_TRUE(s.isVisible());
    EXPECT_EQ(s.windowTitle(), "Customer Search");
    ASSERT_EQ(s.MSHFlexGrid1->rows(), 4);
    const QStringList refs = references(s);
    EXPECT_EQ(std::set<QString>(refs.begin(), refs.end()), (std::set<QString>{"MS1", "MJ1", "OK1"}));
    for (int r = 1; r < 4; ++r) {
        const QString ref = s.MSHFlexGrid1->textMatrix(r, Search::RefCol);
        if (ref == "MS1") {
            EXPECT_EQ(s.MSHFlexGrid1->textMatrix(r, Search::NameCol), "Margaret Smith");
            EXPECT_EQ(s.MSHFlexGrid1->textMatrix(r, Search::AddressCol), "1 Mill Lane");
        }
        if (ref == "MJ1") {
            EXPECT_EQ(s.MSHFlexGrid1->textMatrix(r, Search::AddressCol), "");
        }
    }
    // The reference column is shown: every hand-over takes it.
    EXPECT_GT(s.MSHFlexGrid1->colWidth(Search::RefCol), 0);
}

TEST_F(CustomerSearch, AnApostropheIsSearchedAsTextAndAStarAloneListsEveryone) {
    addCustomers();
    start("Admin");
    Search& s = searchFor("o'brien");
    EXPECT_EQ(references(s), QStringList{"PO'B"});
    EXPECT_TRUE(env->dialogs.messages.empty());

    s.Text1->setText("*");
    s.Command1->click();
    EXPECT_EQ(references(s).size(), 5);

    s.Text1->setText("ba*ker");
    s.Command1->click();
    EXPECT_EQ(references(s), QStringList{"BB1"});
}

TEST_F(CustomerSearch, AnEmptyTextClearsTheResultsAndEnterInTheBoxSearches) {
    addCustomers();
    start("Admin");
    Search& s = searchFor("baker");
    ASSERT_EQ(references(s), QStringList{"BB1"});
    s.Text1->clear();
    s.Command1->click();
    for (int r = 0; r < s.MSHFlexGrid1->rows(); ++r)
        for (int c = 0; c < s.MSHFlexGrid1->cols(); ++c)
            EXPECT_EQ(s.MSHFlexGrid1->textMatrix(r, c), "");

    s.Text1->setText("smith");
    pressKey(s.Text1, Qt::Key_Return);
    EXPECT_EQ(references(s), QStringList{"MS1"});

    s.Text1->setText("nobody");
    s.Command1->click();
    EXPECT_EQ(s.MSHFlexGrid1->rows(), 1);
}

TEST_F(CustomerSearch, LogNewCallHandsTheReferenceOverAndClosesTheWindow) {
    addCustomers();
    start("Admin");
    Search& s = searchFor("baker");
    doubleClick(s.MSHFlexGrid1->viewport(), cellPoint(s, 1));
    EXPECT_FALSE(searchLoaded());

    Search& again = searchFor("smith");
    again.MSHFlexGrid1->setRow(1);
    pressKey(again.MSHFlexGrid1, Qt::Key_Return);
    EXPECT_FALSE(searchLoaded());
}

TEST_F(CustomerSearch, TheRightButtonOpensTheMenuAndLocateClosesTheWindow) {
    addCustomers();
    start("Admin");
    Search& s = searchFor("smith");
    mousePress(s.MSHFlexGrid1->viewport(), cellPoint(s, 1), Qt::RightButton);
    EXPECT_TRUE(s.popup1->isVisible());
    s.popup1->hide();
    s.mnulocate->trigger();
    EXPECT_FALSE(searchLoaded());
}

TEST_F(CustomerSearch, ListCallsFillsTheCallListStatusDescendingThenNumberInTheSortOrder) {
    prepareDatabase();
    addCustomer("Pat O'Brien", "PO'B");
    addCustomer("Other", "X1");
    const int open1 = addCall("PO'B", "Open", "Admin");
    const int urgent = addCall("PO'B", "Urgent", "Admin");
    const int closed = addCall("PO'B", "Closed", "Admin");
    const int open2 = addCall("PO'B", "Open", "Admin");
    addCall("X1", "Urgent", "Admin");
    start("Admin");
    main->sortorder = "DESC";
    main->Picture4->setEnabled(false);
    Search& s = searchFor("brien");
    s.MSHFlexGrid1->setRow(1);
    s.mnusel->trigger();

    EXPECT_EQ(main->currentsql,
              "Select Nom, sp3,  sp1, sp4,  Query, User, Username, sp2, Status, Logged, Contact, [Time Opened],"
              "[Time Spent], Spare, Format$([Date Closed],'" +
                  main->datesetting + "')as [Date Closed], Format$([Date Opened],'" + main->datesetting +
                  "')as [Date Opened]  from Calls where Username = 'PO''B' ORDER by Status DESC, Nom DESC");
    ui::FlexGrid* list = main->datagrid2;
    ASSERT_EQ(list->rows(), 5);
    const QStringList expected = {QString::number(urgent), QString::number(open2), QString::number(open1),
                                  QString::number(closed)};
    for (int r = 1; r < 5; ++r)
        EXPECT_EQ(list->textMatrix(r, 2), expected[r - 1]) << "row " << r;
    EXPECT_EQ(main->StatusBar1->panel(5), "Query.  Records: 4");
    EXPECT_TRUE(main->Picture4->isEnabled());
    EXPECT_FALSE(searchLoaded());
}

} // namespace

#include "mainwindow/form1.h"
#include "mainwindow/statusbar.h"
#include "options/themes.h"
#include "platform/widgets/elidedlabel.h"
#include "platform/widgets/flexgrid.h"
#include "platform/widgets/forms.h"
#include "reports/form6.h"
#include "support/mainwindowfixture.h"

#include <QAction>
#include <QApplication>
#include <QDateEdit>
#include <QHelpEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QToolTip>

namespace {

class TopFive : public MainWindowTest {
protected:
    void calls(const QString& category, int n, const QString& status = "Open") {
        for (int i = 0; i < n; ++i)
            addCall("ann", status, "Admin", category);
    }
    Form6& open() {
        main->mnucatstat->trigger();
        return ui::form<Form6>();
    }
    QStringList listed() {
        QStringList refs;
        for (int r = main->datagrid2->fixedRows(); r < main->datagrid2->rows(); ++r)
            refs << main->datagrid2->textMatrix(r, 2);
        return refs;
    }
};

TEST_F(TopFive, BarsFollowTheLargestCountAndCallsWithoutACategoryAreLeftOut) {
    prepareDatabase();
    calls("Hardware", 10);
    calls("Network", 5);
    calls("Printers", 1);
    calls("Printers", 4, "Closed");
    exec("UPDATE Calls SET sp3 = Null WHERE Nom <= 3"); // three Hardware calls lose their category
    calls("Hardware", 3);
    Form1& w = start();
    Form6& f = open();
    EXPECT_EQ(w.StatusBar1->panel(5), "Category Stats");
    EXPECT_EQ(f.windowTitle(), "Quorvane - Categories");
    EXPECT_EQ(f.parentWidget(), &w);
    EXPECT_EQ(f.Command1->text(), "All Active Calls");
    EXPECT_EQ(f.Command3->text(), "Retrieve");
    EXPECT_EQ(f.lblLabel14->text(), "Click on any bar to go to those calls...");
    EXPECT_EQ(f.Label6->text(), "Top 5 categories - active calls  [Total Records found = 16].");
    EXPECT_EQ(f.d1->date(), env->clock.today());
    EXPECT_FLOAT_EQ(f.barwidth[0], 8025.0f);
    EXPECT_FLOAT_EQ(f.barwidth[1], 4012.5f);
    EXPECT_FLOAT_EQ(f.barwidth[2], 802.5f);
    EXPECT_EQ(f.Label1->text(), "Hardware");
    EXPECT_EQ(f.Label9->text(), "10");
    EXPECT_EQ(f.Label11->text(), "1");
    EXPECT_EQ(f.Label11->width(), f.Image3->width());
    EXPECT_EQ(f.Image4->width(), 0);
    EXPECT_EQ(f.Label4->text(), "");
    EXPECT_EQ(f.Label12->text(), "");
    EXPECT_TRUE(env->dialogs.messages.empty());
    f.close();
    processEvents();
    EXPECT_EQ(w.StatusBar1->panel(5), "Waiting");
}

TEST_F(TopFive, ACategoryNameTooLongForItsLabelEndsInAnEllipsisAndIsWholeInTheTooltip) {
    prepareDatabase();
    const QString wide = QString("W").repeated(50); // the most a category holds, in its widest letter
    calls(wide, 2);
    calls("Hardware", 1);
    start();
    Form6& f = open();
    auto* name = static_cast<ui::ElidedLabel*>(f.Label1);
    EXPECT_EQ(name->text(), wide);
    EXPECT_TRUE(name->shownText().endsWith(QChar(0x2026))) << name->shownText().toStdString();
    EXPECT_TRUE(name->shownText().contains('\n')); // wrapped over the label's lines first
    QHelpEvent hover(QEvent::ToolTip, QPoint(3, 3), name->mapToGlobal(QPoint(3, 3)));
    QApplication::sendEvent(name, &hover);
    EXPECT_EQ(QToolTip::text(), Qt::convertFromPlainText(wide));
    EXPECT_EQ(static_cast<ui::ElidedLabel*>(f.Label2)->shownText(), "Hardware"); // a short one shows as it is
}

TEST_F(TopFive, ATieAtFifthPlaceIsCountedButOnlyFiveBarsAreDrawn) {
    prepareDatabase();
    calls("A", 6);
    calls("B", 5);
    calls("C", 4);
    calls("D", 3);
    calls("E", 2);
    calls("F", 2);
    calls("G", 1);
    exec("INSERT INTO Calls (Username, Status, [User]) VALUES ('ann', 'Open', 'Admin')");
    exec("INSERT INTO Calls (Username, Status, [User]) SELECT Username, Status, [User] FROM Calls WHERE sp3 Is Null");
    start();
    Form6& f = open();
    EXPECT_EQ(f.List1->count(), 6);
    EXPECT_TRUE(f.Label6->text().endsWith("  [Total Records found = 22]."));
    EXPECT_EQ(f.Label5->text(), "E");
    EXPECT_GT(f.barwidth[4], 0.0f);
}

TEST_F(TopFive, ABarClickListsThatCategoryOfTheScopeQuietly) {
    prepareDatabase();
    env->clock.set(QDateTime(QDate(2025, 3, 13), QTime(9, 0)));
    calls("Won't start", 2);
    env->clock.set(QDateTime(QDate(2025, 3, 14), QTime(9, 0)));
    calls("Won't start", 1);
    calls("Won't start", 1, "Closed");
    calls("Network", 1);
    Form1& w = start();
    Form6& f = open();
    w.StatusBar1->setPanel(5, "before");
    f.barClick(1);
    EXPECT_EQ(listed(), QStringList({"1", "2", "3"}));
    EXPECT_TRUE(
        w.currentsql().contains("where Status <> 'Closed' AND Sp3 = 'Won''t start'  ORDER by Status DESC, Nom "));
    f.Command2->click(); // today: the closed call too, not yesterday's
    f.barClick(1);
    EXPECT_EQ(listed(), QStringList({"3", "4"}));
    f.barClick(3); // no third category: nothing happens
    EXPECT_EQ(listed(), QStringList({"3", "4"}));
    EXPECT_EQ(w.StatusBar1->panel(5), "before");
    EXPECT_TRUE(env->dialogs.messages.empty());
}

TEST_F(TopFive, AListOptionReRunsABarsCallsWithoutAnotherViewsCaption) {
    prepareDatabase();
    calls("Network", 2);
    addCall("ann", "Open", "amy", "Printers");
    Form1& w = start();
    w.showAllCalls();
    EXPECT_EQ(w.StatusBar1->panel(5), "All Calls.  Records: 3");
    Form6& f = open();
    w.StatusBar1->setPanel(5, "before");
    f.barClick(1);
    ASSERT_EQ(listed(), QStringList({"1", "2"}));
    ui::form<themes>().mnualt->trigger(); // re-runs the list on view
    EXPECT_EQ(listed(), QStringList({"1", "2"}));
    EXPECT_EQ(w.StatusBar1->panel(5), "before");
    w.Command11_Click();
    ui::form<themes>().mnualt->trigger();
    EXPECT_EQ(w.StatusBar1->panel(5), "My Workload.  Records: 2");
    EXPECT_EQ(listed(), QStringList({"1", "2"}));
}

TEST_F(TopFive, RetrieveReadsDatesDayFirstInTheTitleAndRightInTheQuery) {
    prepareDatabase();
    for (int day : {3, 5, 14, 15}) {
        env->clock.set(QDateTime(QDate(2025, 3, day), QTime(9, 0)));
        calls("Day " + QString::number(day), 1, "Closed");
    }
    start();
    Form6& f = open();
    EXPECT_EQ(f.Label6->text(), "Top 5 categories - active calls  [Total Records found = 0].");
    EXPECT_EQ(env->dialogs.lastMessage(), "No records found.");
    EXPECT_EQ(f.Image1->width(), 0);
    f.d1->setDate(QDate(2025, 3, 5));
    f.d2->setDate(QDate(2025, 3, 14));
    f.Command3->click();
    EXPECT_EQ(f.Label6->text(),
              "Top 5 categories - calls logged between 05/03/2025 and 14/03/2025.  [Total Records found = 2].");
    f.d1->setDate(QDate(2025, 3, 15));
    f.d2->setDate(QDate(2025, 3, 15));
    f.Command3->click();
    EXPECT_EQ(f.List1->count(), 1);
    EXPECT_EQ(f.Label1->text(), "Day 15");
}

} // namespace

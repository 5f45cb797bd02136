#include "reports/reportfixture.h"
#include "support/pageparse.h"

#include "mainwindow/form1.h"
#include "platform/db/database.h"
#include "platform/db/recordset.h"
#include "platform/widgets/forms.h"
#include "reports/dialog.h"
#include "reports/quickreports.h"
#include "reports/wizardquery.h"
#include "shared/shared.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

// Customers' own words in every field a page writes: each page shows them as text, and only the program's tags.
namespace {

using namespace hostile;

class PageText : public ReportTest {
protected:
    // A customer, an item and a call of today holding markup in every field, with a note.
    int hostileCall() {
        addCustomer(Category, Item, Quoted, Script);
        item(Item, Item, Script, Quoted, Category, Item, Script);
        const int n =
            call(Item, Category, Script, Category, Script + "\n" + Quoted, QDate(2025, 3, 14), QTime(8, 0), Item);
        note(n, Script + "\n" + Quoted, Category);
        return n;
    }
    void setCall(int n, const QVariantMap& fields) {
        auto rs = db::Database::open(dbPath).openRecordset("SELECT * from Calls where Nom = " + QString::number(n));
        for (auto it = fields.begin(); it != fields.end(); ++it)
            rs->setField(it.key(), it.value());
        rs->update();
    }
};

TEST_F(PageText, QuickListsShowStoredAndTypedMarkupAsText) {
    const int n = hostileCall();
    setCall(n, {{"sp1", Item + "   [" + Quoted + "]"}});
    start();
    ASSERT_TRUE(WriteINI("Reports", "Logo Image", Logo));
    const QStringList row = {Category, Script}; // assignee, description, customer's name, category

    main->mncaltod->trigger();
    EXPECT_TRUE(soundPage(documents("report-calls.htm"), row + QStringList{Quoted}));
    EXPECT_EQ(scanHtmlFile(documents("report-calls.htm")).attributes("img", "src"), QStringList{Logo});
    main->mnuopencall->trigger();
    EXPECT_TRUE(soundPage(documents("report-calls-open.htm"), row + QStringList{Quoted}));
    env->dialogs.type(Script);
    main->repurg->trigger();
    EXPECT_TRUE(soundPage(documents("report-calls-for-status.htm"), row + QStringList{Script + " calls: "}));
    env->dialogs.type(Item);
    main->mnuuserrep->trigger();
    const QString heading = "for customer: " + Category + "  [" + Item + "]";
    EXPECT_TRUE(soundPage(documents("report-calls-for-customer.htm"), row + QStringList{heading, Quoted}));
    env->dialogs.type(Item).type("3/1/2025").type("3/31/2025");
    main->callsdat->trigger();
    EXPECT_TRUE(soundPage(documents("report-calls-for-customer.htm"), row + QStringList{"3/31/2025 " + heading}));
    env->dialogs.type(Category);
    main->mnu20sup->trigger();
    EXPECT_TRUE(soundPage(documents("report-calls-for-support.htm"), row + QStringList{"member: " + Category}));
    env->dialogs.type(Category);
    catreport(true, true);
    EXPECT_TRUE(soundPage(documents("report-calls-for-cat.htm"), row + QStringList{"by Category: " + Category}));
    invreport(true);
    EXPECT_TRUE(soundPage(documents("report-calls-inv.htm"), {Category, Item, Quoted, Script}));
    const QString items = documents("report-calls-for-status.htm");
    EXPECT_EQ(wizard::writeItemCalls(items, "<LaserJet>", dbPath), "");
    EXPECT_TRUE(soundPage(items, {"<LaserJet> calls: ", Item, Script, Item + "   [" + Quoted + "]"}));
}

TEST_F(PageText, FullCallReportShowsMarkupAsTextAndBreaksEveryTypedLine) {
    const int n = hostileCall();
    setCall(n, {{"Resolution", "Swapped <the> drum\r\nand " + Quoted},
                {"Audit", "opened & <b>\nclosed"},
                {"Spare", Quoted},
                {"Time Spent", Item}});
    start();
    main->Label36->setText(Category); // the spare field's name

    env->dialogs.type(QString::number(n));
    main->mnufull->trigger();
    const QString page = documents("report-call.htm");
    EXPECT_TRUE(soundPage(page, {"Customer: " + Category + "  (Ref: " + Item + ")", "Tel: " + Quoted,
                                 "Address: " + Script, "Category: " + Category, Category + ": " + Quoted,
                                 "Resource: " + Item, "Assigned: " + Category, "Status: " + Script, Script, Quoted,
                                 "Swapped <the> drum", "opened & <b>", Item + ". "}));
    const QStringList lines = body(page);
    EXPECT_TRUE(lines.contains("<P><H5><B>Call Details: <BR><BR></B>&lt;script&gt;alert(1)&lt;/script&gt; &amp; "
                               "fails<BR />" +
                               Quoted + "</P>"));
    EXPECT_TRUE(
        lines.contains("<P><H5><B>Resolution: <BR><BR></B>Swapped &lt;the&gt; drum<BR />and " + Quoted + "</P>"));
    EXPECT_TRUE(lines.contains("<P>opened &amp; &lt;b&gt;<BR />closed</P>"));

    // A typed answer that names no call is shown as typed.
    env->dialogs.type("<b>" + QString::number(n) + "</b>");
    main->mnufull->trigger();
    EXPECT_TRUE(soundPage(page, {"Full report for call: <b>" + QString::number(n) + "</b>. "}));
}

TEST_F(PageText, InventoryByTypeShowsTypeOwnersAndItemsAsText) {
    hostileCall();
    start();
    main->mnuinvrep->trigger();
    Dialog& d = ui::form<Dialog>();
    d.Combo2->setCurrentText(Item);
    d.OKButton->click();
    EXPECT_TRUE(soundPage(env->programFolder + "/report-calls-inv.htm",
                          {"Inventory Report for type: " + Item + ".   ", Category, Item, Script, Quoted}));
}

} // namespace

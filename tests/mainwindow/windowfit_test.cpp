// The main window and its smaller companions at 1024x768 with the largest fonts a user may pick.
#include "customers/attachments.h"
#include "customers/callaudit.h"
#include "customers/search.h"
#include "mainwindow/form1.h"
#include "platform/widgets/forms.h"
#include "reports/dialog.h"
#include "reports/form6.h"
#include "support/fontfit.h"
#include "support/mainwindowfixture.h"

#include <QAction>
#include <QComboBox>
#include <QPushButton>

namespace {

class WindowFit : public LargeFontsMainWindowTest {
protected:
    void SetUp() override {
        LargeFontsMainWindowTest::SetUp();
        prepareDatabase();
        const QString longName = QString("Barbara Anderson-Whitfield of Goods In ").repeated(5).left(100);
        addCustomer(longName, "ann", "555 0100", QString("Goods In Dept, Building 7, ").repeated(10).left(255),
                    "barbara.anderson@example.com");
        addRow("Inventory", {{"Type", QString("Uninterruptible power supply, rack mounted ").repeated(3).left(100)},
                             {"Number", "UPS-1"},
                             {"Details2", "ann"}});
        for (int i = 0; i < 3; ++i)
            addCall("ann", "Open", "Admin", QString("A category named at length ").repeated(4).left(50));
    }
    void fits(QWidget& w, const char* what) {
        w.show();
        processEvents();
        expectFits(w, env->screen.size, when(what));
    }
};

TEST_P(WindowFit, TheMainWindowWithACallOpenKeepsEveryButtonOnTheScreen) {
    Form1& f = startBig();
    fits(f, "logged in");
    f.opencall(1);
    processEvents();
    fits(f, "call open");
}

TEST_P(WindowFit, SearchAuditAttachmentsTopFiveAndInventoryReportWindowsKeepTheirButtonsOnTheScreen) {
    Form1& f = startBig();
    f.mnusearchname->trigger();
    fits(ui::form<Search>(), "customer search");
    f.opencall(1);
    f.mnuaudit->trigger();
    fits(ui::form<Form5>(), "call audit");
    f.command16->click();
    fits(ui::form<Attachments>(), "attachments");
    f.mnucatstat->trigger();
    fits(ui::form<Form6>(), "top five");
    f.mnuinvrep->trigger();
    Dialog& types = ui::form<Dialog>();
    types.Combo2->setCurrentIndex(0); // the long type chosen
    fits(types, "inventory report by type");
    EXPECT_TRUE(showsStart(types.Combo2));
}

INSTANTIATE_TEST_SUITE_P(Families, WindowFit, ::testing::ValuesIn(fitFamilies()), familyTestName);

} // namespace

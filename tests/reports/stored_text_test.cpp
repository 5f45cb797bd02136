#include "reports/reportfixture.h"

#include "callentry/callrules.h"
#include "customers/about.h"
#include "customers/form2.h"
#include "customers/inventory.h"
#include "mainwindow/form1.h"
#include "platform/db/datacontrol.h"
#include "platform/db/recordset.h"
#include "platform/widgets/datagrid.h"
#include "platform/widgets/flexgrid.h"
#include "platform/widgets/forms.h"
#include "reports/dialog.h"
#include "reports/form3.h"
#include "reports/form6.h"
#include "reports/wizardquery.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

// Texts as users store them: control characters (NUL included) and markup, looked up and shown back.
class StoredText : public ReportTest {
protected:
    void SetUp() override {
        ReportTest::SetUp();
        wizard::state() = {};
    }
    static QString withNul(const char* before, const char* after) {
        return QString::fromUtf8(before) + QChar(0) + QString::fromUtf8(after);
    }
    static void pick(QComboBox* box, const QString& text) {
        const int i = box->findText(text);
        ASSERT_GE(i, 0) << text.toStdString();
        box->setCurrentIndex(i);
        emit box->activated(i);
    }
    QStringList listed() {
        QStringList refs;
        for (int r = main->datagrid2->fixedRows(); r < main->datagrid2->rows(); ++r)
            refs << main->datagrid2->textMatrix(r, 2);
        return refs;
    }
    void expectNoEngineWords() {
        for (const QString& m : env->dialogs.messageTexts())
            EXPECT_FALSE(m.contains("unrecognized token") || m.contains("syntax error")) << m.toStdString();
    }
};

TEST_F(StoredText, TextHoldingNulIsFoundByEveryLookUpThatTakesIt) {
    const QString ref = withNul("ab", "c's");
    const QString category = withNul("Net", "work\x01");
    const QString status = withNul("Wait", "ing");
    const QString type = withNul("Lap", "top");
    const QString number = withNul("SN", "42");
    addCustomer("Nul Customer", ref);
    addCustomer("Plain", "ab");
    const int c = call(ref, "Admin", status, category, "q", QDate(2025, 3, 14));
    call("ab", "Admin", "Open", "Network", "other", QDate(2025, 3, 14));
    exec("UPDATE Calls SET sp1 = 'x' WHERE Nom <> " + QString::number(c));
    addRow("Calls", {{"Nom", 99}, {"Username", "ab"}, {"Status", status}, {"sp1", type + "   [" + number + "]"}});
    item(type, ref, "d", number);
    item("Laptop", "ab", "d", "1");
    start();

    // Category Stats: the bar of the category lists its call.
    main->mnucatstat->trigger();
    Form6& stats = ui::form<Form6>();
    EXPECT_EQ(stats.Label1->text(), category);
    stats.barClick(1);
    EXPECT_EQ(listed(), QStringList{QString::number(c)});
    stats.close();

    // The wizard's "Customer = " and its calls for an item.
    main->mnuwiz->trigger();
    processEvents();
    Form3& w = ui::form<Form3>();
    pick(w.Combo3, "All Calls");
    pick(w.Combo1, "Customer = ");
    w.Text1->setText(ref);
    w.Command1->click();
    ASSERT_TRUE(w.Adodc1->recordset());
    EXPECT_EQ(w.Adodc1->recordset()->rowCount(), 1);
    env->dialogs.type(number);
    w.mnuinvcalls->trigger();
    EXPECT_TRUE(fileText(documents("report-calls-for-status.htm")).contains(">99<"));
    w.close();

    // A quick report by status.
    env->dialogs.type(status);
    main->repurg->trigger();
    EXPECT_TRUE(fileText(documents("report-calls-for-status.htm")).contains(QString(">%1<").arg(c)));

    // The inventory report by type.
    main->mnuinvrep->trigger();
    Dialog& d = ui::form<Dialog>();
    d.Combo2->setCurrentText(type);
    d.OKButton->click();
    const QString typePage = fileText(env->programFolder + "/report-calls-inv.htm");
    EXPECT_TRUE(typePage.contains("Nul Customer")) << typePage.toStdString();
    d.close();

    // The customer's own items.
    db::Recordset* customers = main->Adodc1->recordset();
    for (int r = 0; r < customers->rowCount(); ++r)
        if (customers->value(r, customers->fieldIndex("Username")).toString() == ref)
            customers->moveTo(r);
    main->mnuinv->trigger();
    ASSERT_TRUE(ui::isLoaded<Form2>());
    EXPECT_EQ(ui::form<Form2>().Datagrid1->approxCount(), 1);

    // The customer's item finds its calls in the call list.
    Form2& items = ui::form<Form2>();
    main->datagrid2->setRows(1);
    items.mnufnd->trigger();
    EXPECT_EQ(listed(), QStringList{"99"});
    items.close();

    // The inventory window's filter on the number.
    main->mnuinvserach->trigger();
    Inventory& inventory = ui::form<Inventory>();
    inventory.Combo1->setCurrentIndex(2);
    inventory.Combo2->setCurrentText("Equals");
    inventory.Text1->setText(number);
    inventory.cmdCommand1->click();
    EXPECT_EQ(inventory.Datagrid1->rows(), 2) << "the heading and the one item";
    inventory.close();

    // The monitor page's third bar counts the status.
    main->stats3status = status;
    main->monitorpath = env->documentsFolder;
    main->writemonitor();
    const QString monitor = fileText(env->documentsFolder + "/monitor.htm");
    EXPECT_TRUE(monitor.contains("\r\n2</TD><TD WIDTH=\"33%\"")) << monitor.toStdString(); // two calls wait
    expectNoEngineWords();
}

TEST_F(StoredText, LabelsShowStoredMarkupAsTyped) {
    const QString bold = "<b>bold</b>";
    call("ann", "Admin", "Open", bold, "q", QDate(2025, 3, 14));
    start();
    main->Label36->setText(bold);
    EXPECT_EQ(main->Label36->textFormat(), Qt::PlainText);
    main->mnucatstat->trigger();
    Form6& stats = ui::form<Form6>();
    EXPECT_EQ(stats.Label1->text(), bold);
    EXPECT_EQ(stats.Label1->textFormat(), Qt::PlainText);
    // Every label of the main window, the statistics window and the wizard that shows text not its own.
    main->mnuwiz->trigger();
    processEvents();
    for (QWidget* window :
         {static_cast<QWidget*>(main), static_cast<QWidget*>(&stats), static_cast<QWidget*>(&ui::form<Form3>())})
        for (QLabel* label : window->findChildren<QLabel*>())
            if (label->text().contains(bold)) {
                EXPECT_EQ(label->textFormat(), Qt::PlainText) << label->objectName().toStdString();
            }
}

// A text cut to a length (a description on a page, a call's contact, a setting) never keeps half a character: a
// surrogate pair at the cut goes whole, or stays whole when it fits.
TEST_F(StoredText, ACutAtASurrogatePairKeepsOrDropsTheWholeCharacter) {
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80"); // two UTF-16 units
    const QString cut = QString(149, 'q');
    addCustomer("Ann Lee", "ann");
    call("ann", "Admin", "Open", "Hardware", cut + emoji + "tail", QDate(2025, 3, 14));
    start();

    main->mncaltod->trigger();
    EXPECT_TRUE(body(documents("report-calls.htm")).contains("<TD class=TDLarge>" + cut + "</TD>"));
    ASSERT_TRUE(QDir().mkpath(env->path("wall")));
    main->monitorpath = env->path("wall") + "/";
    main->writemonitor();
    EXPECT_TRUE(fileText(env->path("wall/monitor-open.htm")).contains("valign=top>" + cut + "</TD>"));
    ASSERT_TRUE(QFile::copy(dbPath, env->settingsFolder + "/Quorvane-Archive.qvdb"));
    main->mnuabout->trigger();
    env->dialogs.type("ann");
    ui::form<frmAbout1>().mnuuser->trigger();
    EXPECT_TRUE(fileText(documents("archive-calls-for-customer.htm")).contains("<TD width = 300>" + cut + "</TD>"));

    EXPECT_EQ(callrules::contactText(QString(249, '1'), emoji + "x"), QString(249, '1') + "  -  ");
    EXPECT_EQ(callrules::contactText(QString(248, '1'), emoji + "x"), QString(248, '1') + "  -  " + emoji);
    ASSERT_TRUE(WriteINI("Printing", "Call Sheet Header", QString(254, 'h') + emoji));
    EXPECT_EQ(ReadINI("Printing", "Call Sheet Header", "d"), QString(254, 'h'));
}

} // namespace

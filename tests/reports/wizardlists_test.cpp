#include "reports/reportfixture.h"

#include "mainwindow/form1.h"
#include "platform/db/values.h"
#include "platform/db/vbformat.h"
#include "reports/quickreports.h"

#include <QComboBox>
#include <QFile>
#include <gtest/gtest.h>

namespace {

class WizardLists : public ReportTest {};

const QString CatCaptions[] = {
    "<TABLE class=captions><TR><TD Class=TDNarrow>",
    "Assigned: </TD><TD class=TDLarge> Call:  </TD><TD Class=TDSmall>Customer: </TD>",
    "<TD Class=TDNarrow> Date Opened: </TD><TD Class=TDNarrow> Ref: </TD>",
    "</TR></TABLE><BR>",
};

QStringList catRow(const QString& user, const QString& query, const QString& customer, const QDate& day, int nom) {
    return {"<BR><TABLE class=textbody><TR><TD Class=TDNarrow>",
            user + "</TD><TD class=TDLarge valign=top>" + query + "</TD><TD Class=TDSmall valign=top>" + customer +
                " </TD>",
            "<TD Class=TDNarrow valign=top>" + db::displayText(day) + "</TD><TD Class=TDNarrow valign=top>" +
                QString::number(nom) + "</TD>",
            "</TR></TABLE>"};
}

TEST_F(WizardLists, CategoryListsItsCallsNewestFirstWithTheWizardsSwitches) {
    addCustomer("Pat O'Neil", "o'neil");
    const QString longText = QString(160, 'x');
    const QDate d1(2025, 3, 10), d2(2025, 3, 12);
    const int a = call("o'neil", "ann", "Open", "Won't fix", longText, d1, QTime(9, 0));
    const int b = call(QVariant(), QVariant(), "Open", "Won't fix", QVariant(), d1, QTime(11, 0));
    const int c = call("ghost", "bob", "Closed", "Won't fix", "Lost", d2, QTime(8, 0));
    call("o'neil", "ann", "Open", "Other", "Not this one", d2);
    note(a, "Rang back", QVariant());
    start();
    main->Combo13->setCurrentText("Software");

    env->dialogs.type("Won't fix");
    catreport(true, true);
    ASSERT_EQ(env->dialogs.inputs.size(), 1u);
    EXPECT_EQ(env->dialogs.inputs[0].prompt, "Enter Category");
    EXPECT_EQ(env->dialogs.inputs[0].title, "Quorvane");
    EXPECT_EQ(env->dialogs.inputs[0].defaultText, main->Combo13->currentText());
    const QString path = documents("report-calls-for-cat.htm");
    ASSERT_EQ(env->shell.opened.size(), 1u);
    EXPECT_EQ(env->shell.opened[0].target, path);
    EXPECT_EQ(env->shell.opened[0].showMode, 3);

    QStringList expected{"<P><H3>Last 50 calls by Category: Won't fix</H3></P>"};
    for (const QString& l : CatCaptions)
        expected << l;
    expected << "<HR>" << catRow("bob", "Lost", "User Not Found", d2, c);
    expected << "<HR>" << catRow("---", "---", "User Not Found", d1, b);
    expected << "<HR>" << catRow("ann", QString(150, 'x'), "Pat O'Neil", d1, a)
             << noteLines("Rang back", "---", db::displayText(QDate(2025, 3, 14)), "10:05:00");
    EXPECT_EQ(body(path), expected);

    // Both switches off: no rules and no notes.
    env->dialogs.type("Won't fix");
    catreport(false, false);
    const QStringList plain = body(path);
    EXPECT_FALSE(plain.contains("<HR>"));
    EXPECT_EQ(plain.size(), 1 + 4 + 3 * 4);
}

TEST_F(WizardLists, CategoryCancelledWritesNothingAndFiftyOneCallsListTheFiftyNewest) {
    start();
    catreport(true, true); // Cancel
    EXPECT_TRUE(env->shell.opened.empty());
    EXPECT_FALSE(QFile::exists(documents("report-calls-for-cat.htm")));

    const int oldest = call("r1", "ann", "Open", "Net", "Oldest", QDate(2024, 12, 31), QTime(23, 59));
    manyCalls(50, "r1", "ann", "Open", "Net", QDate(2025, 1, 1));
    env->dialogs.type("Net");
    catreport(false, false);
    const QStringList rows = body(documents("report-calls-for-cat.htm"));
    EXPECT_EQ(rows.size(), 1 + 4 + 50 * 4);
    EXPECT_FALSE(rows.join('\n').contains("Oldest"));
    EXPECT_FALSE(rows.join('\n').contains(">" + QString::number(oldest) + "</TD>"));
}

TEST_F(WizardLists, InventoryListsOnlyCustomersWithItemsEveryItemAndNoNotes) {
    addCustomer("Pat O'Neil", "o'neil", "555-1", "1 Quay St");
    addCustomer("No Items", "empty");
    addCustomer("Jo Bloggs", "jo");
    exec("INSERT INTO Customers (Name) VALUES ('Reference missing')");
    item("PC", "o'neil", "Dell", "A1", "desk", "N2", "spare");
    item("Printer", "o'neil", "HP", "P7");
    item("Phone", "jo", "Nokia", "T3");
    item("Orphan", QString(), "Lost", "Z9"); // owner "" is nobody's
    const int c = call("jo", "ann", "Open", "Net", "q", QDate(2025, 3, 1));
    note(c, "never shown");
    start();
    main->mnucalnot->setChecked(true);

    invreport(true);
    const QString path = documents("report-calls-inv.htm");
    ASSERT_EQ(env->shell.opened.size(), 1u);
    EXPECT_EQ(env->shell.opened[0].target, path);
    EXPECT_TRUE(env->dialogs.inputs.empty());

    const QString pre = "<TD Class=TDNarrow valign=top><font color = #7C7C7C><i>";
    const QString itemHead = "<TABLE class=inventory><TR><TD Class=TDNarrow valign=top>&nbsp;</TD><TD Class=TDNarrow "
                             "valign=top><font color = #7C7C7C><i>Item:</TD>";
    const auto cells = [&](const QStringList& values) {
        QString l;
        for (const QString& v : values)
            l += pre + v + "</TD>";
        return l;
    };
    const QStringList expected{
        "<P><h3> Customers with Inventory: 14-March-2025, 09-30. </h3></P>",
        "<TABLE class=captions><TR><TD Class=TDSmall valign=top>",
        "Customer: </TD><TD Class=TDSmall valign=top>Username: </TD>",
        "<TD Class=TDMed valign=top> Extension: </TD><TD Class=TDMed valign=top> Location: </TD>",
        "</TR></TABLE><BR>",
        "<HR>",
        "<TABLE class=textbody><TR><TD Class=TDSmall valign=top>",
        "Pat O'Neil </TD><TD Class=TDSmall valign=top>o'neil </TD>",
        "<TD Class=TDMed valign=top>555-1</TD><TD Class=TDMed valign=top>1 Quay St</TD>",
        "</TR></TABLE>",
        itemHead,
        pre + "PC</TD>",
        cells({"Dell", "A1", "desk", "N2", "spare"}),
        "</TR></TABLE>",
        itemHead,
        pre + "Printer</TD>",
        cells({"HP", "P7", "", "", ""}),
        "</TR></TABLE>",
        "<HR>",
        "<TABLE class=textbody><TR><TD Class=TDSmall valign=top>",
        "Jo Bloggs </TD><TD Class=TDSmall valign=top>jo </TD>",
        "<TD Class=TDMed valign=top></TD><TD Class=TDMed valign=top></TD>",
        "</TR></TABLE>",
        itemHead,
        pre + "Phone</TD>",
        cells({"Nokia", "T3", "", "", ""}),
        "</TR></TABLE>",
    };
    EXPECT_EQ(body(path), expected);

    invreport(false);
    EXPECT_FALSE(body(path).contains("<HR>"));
}

TEST_F(WizardLists, StampShowsMinutesAfterTheHour) {
    const QDateTime t(QDate(2025, 12, 1), QTime(23, 5));
    EXPECT_EQ(db::vbFormat(t, "dd-mmmm-yyyy, hh-mm"), "01-December-2025, 23-05");
    EXPECT_EQ(db::vbFormat(t, "hh:mm dd/mm/yyyy"), "23:05 01/12/2025");
    EXPECT_EQ(db::vbFormat(t, "hh.mm mmmm"), "23.05 December");
}

} // namespace

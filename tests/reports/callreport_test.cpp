#include "reports/reportfixture.h"

#include "calllists/callviews.h"
#include "mainwindow/form1.h"
#include "platform/db/database.h"
#include "platform/db/recordset.h"
#include "platform/widgets/flexgrid.h"
#include "reports/quickreports.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <gtest/gtest.h>

namespace {

class CallReport : public ReportTest {
protected:
    QString path() const { return documents("report-call.htm"); }
};

TEST_F(CallReport, OneCallAtLengthWithCustomerNotesItemsAndAuditTrail) {
    addCustomer("Pat O'Neil", "o'neil", "555-1", "1 Quay St", "pat@example.com");
    exec("UPDATE Customers SET Notes = 'Prefers mornings' WHERE Username = 'o''neil'");
    item("PC", "o'neil", "Dell", "A1", "desk");
    item("Printer", "o'neil", "HP", "P7");
    item("Phone", "someone", "Nokia", "T3");
    const int nom = call("o'neil", "amy", "Closed", "Hardware", "Screen\r\nflickers", QDate(2025, 3, 12), QTime(8, 15));
    {
        auto database = db::Database::open(dbPath);
        auto rs = database.openRecordset("SELECT * from Calls where Nom = " + QString::number(nom));
        rs->setField("Resolution", "New cable");
        rs->setField("Spare", "S1");
        rs->setField("Time Spent", "2h");
        rs->setField("Audit", "line one\r\nline two");
        rs->setField("Date Closed", QDate(2025, 3, 13));
        rs->setField("Time Closed", QTime(16, 0));
        rs->update();
    }
    note(nom, "Called back");
    start();

    env->dialogs.type(QString::number(nom));
    main->mnufull->trigger();
    ASSERT_EQ(env->dialogs.inputs.size(), 1u);
    EXPECT_EQ(env->dialogs.inputs[0].prompt, "Enter Call ID");
    EXPECT_EQ(env->dialogs.inputs[0].title, "Quorvane");
    ASSERT_EQ(env->shell.lastOpened(), path());
    const QString n = QString::number(nom);
    QStringList expected{"<P><H4>Full report for call: " + n + ". </H3></P>",
                         "<HR>",
                         "<P><H5>Customer: Pat O'Neil  (Ref: o'neil)</P>",
                         "<P><H5>Address: 1 Quay St</P>",
                         "<P><H5>Tel: 555-1</P>",
                         "<P><H5>Email: pat@example.com</P>",
                         "<P><H5>Notes: Prefers mornings</P><HR><BR>",
                         "<P><H5>Call logged on: 12/03/2025   at: 08:15:00</P>",
                         "<P><H5>Category: Hardware</P>",
                         "<P><H5>Notes:: S1</P>",
                         "<P><H5>Resource: 2h</P>",
                         "<P><H5>Assigned: amy</P>",
                         "<P><H5>Status: Closed</P><BR><HR><BR>",
                         "<P><H5><B>Call Details: <BR><BR></B>Screen<BR />flickers</P>"};
    expected << noteLines("Called back", "Admin", "14/03/2025", "10:05:00");
    expected << "<P><H5><B>Resolution: <BR><BR></B>New cable</P>"
             << "<P><H5><BR><BR>Call closed on: 13/03/2025</P>"
             << "<P><H5>Call closed at: 16:00:00<BR><HR>"
             << "<BR><P><H5><font color = #7C7C7C><B>Inventory: </B></P>"
             << "<P><H5><font color = #7C7C7C><B>PC. &nbsp;&nbsp;      Dell.&nbsp;&nbsp;       A1.  &nbsp;&nbsp;    "
                "desk</B></P>"
             << "<BR><P><H5><font color = #7C7C7C><B>Inventory: </B></P>"
             << "<P><H5><font color = #7C7C7C><B>Printer. &nbsp;&nbsp;      HP.&nbsp;&nbsp;       P7.  &nbsp;&nbsp;    "
                "</B></P>"
             << "<HR>"
             << "<BR><P><H5><font color = #7C7C7C><B>Audit Trail: </B><BR>"
             << "<P>line one<BR />line two</P>"
             << "<HR><P><font color = \"black\"><H5>End Report</P>";
    EXPECT_EQ(body(path()), expected);

    // The call list's pop-up reports the row under the marker, the call panel's the call it shows.
    const int other = call("nobody", "bob", "Open", "Net", "Other call", QDate(2025, 3, 13));
    main->datagrid2->setRows(3);
    main->datagrid2->setTextMatrix(2, callviews::RefColumn, QString::number(other));
    main->datagrid2->setRow(2);
    main->mnufcr->trigger();
    EXPECT_EQ(body(path()).value(0), "<P><H4>Full report for call: " + QString::number(other) + ". </H3></P>");
    EXPECT_EQ(body(path()).value(2), "<P><H5>Customer: User Not Found  (Ref: nobody)</P>");

    EXPECT_TRUE(main->mnucallpopup->actions().contains(main->mnucallrep2));
    EXPECT_EQ(main->mnucallrep2->text(), "Full Call Report");
    main->opencall(nom);
    main->mnucallrep2->trigger();
    EXPECT_EQ(body(path()).value(0), "<P><H4>Full report for call: " + n + ". </H3></P>");
}

TEST_F(CallReport, TextThatIsNoCallNumberOrANumberNoCallHasGivesHeadingsOnly) {
    const int first = call("c", "amy", "Open", "Net", "The first call", QDate(2025, 3, 1));
    note(first, "First call's note");
    start();

    main->mnufull->trigger(); // Cancel
    EXPECT_TRUE(env->shell.opened.empty());

    env->dialogs.type(QString::number(first));
    main->mnufull->trigger();
    ASSERT_TRUE(body(path()).join('\n').contains("First call's note"));

    for (const QString& asked : {QStringLiteral("1 or 1=1"), QStringLiteral("999")}) {
        env->shell.opened.clear();
        env->dialogs.type(asked);
        main->mnufull->trigger();
        EXPECT_EQ(env->shell.lastOpened(), path());
        const QStringList page = body(path());
        EXPECT_EQ(page.value(0), "<P><H4>Full report for call: " + asked + ". </H3></P>");
        EXPECT_EQ(page.value(2), "<P><H5>Customer:   (Ref: )</P>");
        EXPECT_EQ(page.value(7), "<P><H5>Call logged on:    at: </P>");
        EXPECT_EQ(page.value(13), "<P><H5><B>Call Details: <BR><BR></B></P>");
        EXPECT_EQ(page.value(14), "<P><H5><B>Resolution: <BR><BR></B></P>"); // no notes, not even the last call's
        EXPECT_EQ(page.size(), 21);
        EXPECT_FALSE(page.join('\n').contains("The first call"));
    }
}

} // namespace

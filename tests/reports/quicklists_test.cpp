#include "reports/reportfixture.h"

#include "mainwindow/form1.h"
#include "platform/db/values.h"
#include "platform/widgets/datagrid.h"
#include "reports/quickreports.h"
#include "shared/shared.h"

#include <QAction>
#include <QFile>
#include <gtest/gtest.h>

namespace {

class QuickLists : public ReportTest {
protected:
    static QString day(const QDate& d) { return db::displayText(d); }
    static QStringList notesOf(const QString& text) { return noteLines(text, "Admin", "14/03/2025", "10:05:00"); }
    // Lines of the body holding a text (to pick rows out of a page).
    static int countContaining(const QStringList& lines, const QString& text) {
        int n = 0;
        for (const QString& l : lines)
            n += l.contains(text) ? 1 : 0;
        return n;
    }
};

TEST_F(QuickLists, TodayListsTheDaysCallsByNumberWithNotesAndLeavesCustomerDeletionOff) {
    const QDate today(2025, 3, 14);
    const int a = call("ann", "amy", "Open", "Hardware", "Screen flickers", today, QTime(9, 0), "Ann Lee");
    call("bob", "amy", "Open", "Hardware", "Yesterday's", today.addDays(-1));
    const int b = call(QVariant(), QVariant(), "Pending", QVariant(), QVariant(), today);
    note(a, "Swapped cable");
    start();
    main->Datagrid1->setAllowDelete(true);

    main->mncaltod->trigger();
    const QString path = documents("report-calls.htm");
    ASSERT_EQ(env->shell.opened.size(), 1u);
    EXPECT_EQ(env->shell.opened[0].target, path);
    EXPECT_EQ(env->shell.opened[0].showMode, 3);
    EXPECT_FALSE(main->Datagrid1->allowDelete());
    const auto row = [](const QString& user, const QString& q, const QString& name, const QString& cat, int nom,
                        const QString& status) {
        return QStringList{"<TABLE class=textbody><TR>",
                           "<TD Class=TDSmall>" + user + "</TD>",
                           "<TD class=TDLarge>" + q + "</TD>",
                           "<TD Class=TDMed>" + name + "&nbsp;</TD>",
                           "<TD Class=TDSmall>" + cat + " &nbsp;</TD>",
                           "<TD Class=TDNarrow>" + QString::number(nom) + "&nbsp;</TD>",
                           "<TD Class=TDNarrow>" + status + "&nbsp;</TD>",
                           "</TR></TABLE>"};
    };
    QStringList expected{"<P><H3> Calls logged  - 14/03/2025: </H3></P>",
                         "<TABLE class=captions><TR>",
                         "<TD Class=TDSmall>Assigned:</TD>",
                         "<TD class=TDLarge>Call:</TD>",
                         "<TD Class=TDMed>Customer:</TD>",
                         "<TD Class=TDSmall>Category:</TD>",
                         "<TD Class=TDNarrow>Ref:</TD>",
                         "<TD Class=TDNarrow>Status:</TD>",
                         "</TR></TABLE><BR>"};
    expected << row("amy", "Screen flickers", "Ann Lee", "Hardware", a, "Open") << notesOf("Swapped cable")
             << row("---", "---", "---", "---", b, "Pending") << "</TABLE>";
    EXPECT_EQ(body(path), expected);

    // With the switch off no notes are written.
    main->mnucalnot->trigger();
    EXPECT_FALSE(main->mnucalnot->isChecked());
    main->mncaltod->trigger();
    EXPECT_EQ(countContaining(body(path), "Class=Notes"), 0);
}

TEST_F(QuickLists, YesterdayOnTheFirstOfAMonthOrYearListsTheDayBefore) {
    const int feb = call("a", "amy", "Open", "Hardware", "Leap-less February", QDate(2025, 2, 28));
    const int dec = call("a", "amy", "Open", "Hardware", "New Year's Eve", QDate(2024, 12, 31));
    call("a", "amy", "Open", "Hardware", "First of March", QDate(2025, 3, 1));
    env->clock.set(QDateTime(QDate(2025, 3, 1), QTime(0, 5)));
    start();
    main->datesetting = "d mmmm yyyy";

    main->mnuyest->trigger();
    QStringList page = body(documents("report-calls.htm"));
    EXPECT_EQ(page.value(0), "<P><H3> Calls logged  - 28 February 2025: </H3></P>");
    EXPECT_EQ(countContaining(page, ">" + QString::number(feb) + "&nbsp;"), 1);
    EXPECT_EQ(countContaining(page, "class=textbody"), 1);

    env->clock.set(QDateTime(QDate(2025, 1, 1), QTime(8, 0)));
    main->mnuyest->trigger();
    page = body(documents("report-calls.htm"));
    EXPECT_EQ(page.value(0), "<P><H3> Calls logged  - 31 December 2024: </H3></P>");
    EXPECT_EQ(countContaining(page, ">" + QString::number(dec) + "&nbsp;"), 1);
    EXPECT_EQ(countContaining(page, "class=textbody"), 1);
}

TEST_F(QuickLists, OpenCallsLeaveOutClosedOnesAndShowHowLongEachHasBeenOpen) {
    addCustomer("Pat O'Neil", "o'neil");
    const int a = call("o'neil", "amy", "Open", "Hardware", "Printer", QDate(2025, 3, 12), QTime(8, 15));
    call("o'neil", "amy", "Closed", "Hardware", "Done", QDate(2025, 3, 12));
    const int b = call(QVariant(), QVariant(), "Urgent", QVariant(), QVariant(), QDate(), QTime()); // no moment
    const int c = call("zz", "bob", "Open", "Net", "Wifi", QDate(2025, 3, 14), QTime(9, 29, 59));
    note(a, "Ordered toner");
    env->clock.set(QDateTime(QDate(2025, 3, 14), QTime(9, 30, 0)));
    start();

    main->mnuopencall->trigger();
    const QString path = documents("report-calls-open.htm");
    ASSERT_EQ(env->shell.lastOpened(), path);
    const QString cell = "</TD><TD Class=TDNarrow valign=top>";
    const auto row = [&](const QString& user, const QString& q, const QString& name, const QString& cat,
                         const QString& date, int nom, const QString& status, const QString& duration) {
        return QStringList{"<TABLE class=textbody><TR><TD Class=TDNarrow valign=top>",
                           user + "</TD><TD Class=TDMed valign=top>" + q + "</TD><TD class=TDMed valign=top>" + name +
                               " </TD><TD Class=TDSmall valign=top>" + cat + " </TD>",
                           "<TD Class=TDNarrow valign=top>" + date,
                           cell + QString::number(nom),
                           cell + status,
                           cell + duration + "</TD>",
                           "</TR></TABLE>"};
    };
    QStringList expected{
        "<P><h3> All Active Calls as of: 14-March-2025, 09-30. </H3></P>",
        "<TABLE class=captions><TR><TD Class=TDNarrow valign=top>",
        "Assigned: </TD><TD Class=TDMed valign=top> Call:  </TD><TD class=TDMed valign=top>Customer: </TD><TD "
        "Class=TDSmall valign=top>Category: </TD>",
        "<TD Class=TDNarrow valign=top> Date Opened: </TD><TD Class=TDNarrow valign=top> Ref: </TD><TD "
        "Class=TDNarrow valign=top>Status: </TD><TD Class=TDNarrow valign=top>Open For: </TD>",
        "</TR></TABLE><BR>"};
    // Status descending, then by number.
    expected << row("---", "---", "User Not Found", "---", "---", b, "Urgent", "")
             << row("amy", "Printer", "Pat O'Neil", "Hardware", "12/03/2025", a, "Open", "2 days, 1 hrs, 15 mins.")
             << notesOf("Ordered toner")
             << row("bob", "Wifi", "User Not Found", "Net", "14/03/2025", c, "Open", "0 days, 0 hrs, 1 mins.");
    EXPECT_EQ(body(path), expected);
}

TEST_F(QuickLists, StatusAsksAndListsNewestFirstWhateverTheApostrophes) {
    addCustomer("Pat O'Neil", "o'neil");
    const int older = call("o'neil", "amy", "Customer's reply", "Hardware", "Old", QDate(2025, 3, 1), QTime(17, 0));
    const int newer =
        call(QVariant(), QVariant(), "Customer's reply", QVariant(), "New", QDate(2025, 3, 2), QTime(8, 0));
    const int sameDayLater = call("o'neil", "amy", "Customer's reply", "Net", "Later", QDate(2025, 3, 2), QTime(9, 0));
    call("o'neil", "amy", "Open", "Hardware", "Other status", QDate(2025, 3, 3));
    start();

    main->repurg->trigger(); // Cancel
    EXPECT_TRUE(env->shell.opened.empty());
    EXPECT_FALSE(QFile::exists(documents("report-calls-for-status.htm")));

    main->mnucalnot->trigger(); // notes off
    env->dialogs.type("Customer's reply");
    main->repurg->trigger();
    ASSERT_EQ(env->dialogs.inputs.size(), 2u);
    EXPECT_EQ(env->dialogs.inputs[1].prompt, "Enter Status");
    EXPECT_EQ(env->dialogs.inputs[1].defaultText, "");
    const auto row = [](const QString& user, const QString& q, const QString& name, const QString& cat,
                        const QString& date, int nom) {
        return QStringList{"<TABLE class=textbody><TR><TD Class=TDNarrow>",
                           user + "</TD><TD Class=TDMed>" + q + "</TD><TD Class=TDMed>" + name +
                               " </TD><TD Class=TDSmall>" + cat + " </TD>",
                           "<TD Class=TDNarrow>" + date + "</TD><TD Class=TDNarrow>" + QString::number(nom) + "</TD>",
                           "</TR></TABLE>"};
    };
    QStringList expected{"<P><H3>Customer's reply calls: </H3></P>", "<TABLE class=captions><TR><TD Class=TDNarrow>",
                         "Assigned: </TD><TD Class=TDMed> Call:  </TD><TD Class=TDMed>Customer: </TD><TD "
                         "Class=TDSmall>Category: </TD>",
                         "<TD Class=TDNarrow> Date Opened: </TD><TD Class=TDNarrow> Ref: </TD>", "</TR></TABLE><BR>"};
    expected << row("amy", "Later", "Pat O'Neil", "Net", "02/03/2025", sameDayLater)
             << row("---", "New", "User Not Found", "---", "02/03/2025", newer)
             << row("amy", "Old", "Pat O'Neil", "Hardware", "01/03/2025", older);
    EXPECT_EQ(body(documents("report-calls-for-status.htm")), expected);
}

TEST_F(QuickLists, CustomerListsTheTwentyHighestNumbersAndTheDateRangeTakesOnlyDates) {
    addCustomer("Pat O'Neil", "o'neil");
    addCustomer("Other One", "other");
    manyCalls(21, "o'neil", "amy", "Open", "Hardware", QDate(2025, 3, 1));
    const int edge = call("o'neil", "amy", "Open", QVariant(), "On the last day", QDate(2025, 3, 31));
    call("o'neil", "amy", "Open", "Hardware", "After", QDate(2025, 4, 1));
    call("other", "amy", "Open", "Hardware", "Someone else's", QDate(2025, 3, 10));
    start();
    main->mnucalnot->trigger(); // notes off

    env->dialogs.type("o'neil");
    main->mnuuserrep->trigger();
    const QString path = documents("report-calls-for-customer.htm");
    QStringList page = body(path);
    EXPECT_EQ(page.value(0), "<P><H3>Last 20 calls for customer: Pat O'Neil  [o'neil]</H3></P>");
    EXPECT_EQ(page.mid(1, 4), (QStringList{"<TABLE class=captions><TR><TD Class=TDNarrow>",
                                           "Assigned: </TD><TD Class=TDMed> Call:  </TD>",
                                           "<TD Class=TDNarrow> Date Opened: </TD><TD Class=TDNarrow> Ref: </TD><TD "
                                           "Class=TDNarrow>Status: </TD><TD Class=TDSmall>Category: </TD>",
                                           "</TR></TABLE><BR>"}));
    EXPECT_EQ(countContaining(page, "class=textbody"), 20);
    EXPECT_EQ(page.mid(5, 4),
              (QStringList{"<TABLE class=textbody><TR><TD Class=TDNarrow>", "amy</TD><TD Class=TDMed><P>After</P></TD>",
                           "<TD Class=TDNarrow>01/04/2025</TD><TD Class=TDNarrow>" + QString::number(edge + 1) +
                               "</TD><TD Class=TDNarrow>Open</TD><TD Class=TDSmall>Hardware </TD>",
                           "</TR></TABLE>"}));
    EXPECT_FALSE(page.join('\n').contains(">1</TD>")); // the lowest number is the 21st

    // A date that is not a date ends the command: no SQL is made of it.
    env->shell.opened.clear();
    env->dialogs.type("o'neil").type("1/1/2000# AND #12/31/2099# OR 1=1 OR #1/1/2000");
    main->callsdat->trigger();
    EXPECT_TRUE(env->shell.opened.empty());
    EXPECT_EQ(env->dialogs.inputs.back().prompt, "Enter Start date: mm/dd/yyyy");

    // Both ends are included, month first; the heading keeps the dates as typed.
    env->dialogs.type("o'neil").type("3/2/2025").type(" 03/31/2025");
    main->callsdat->trigger();
    ASSERT_EQ(env->shell.lastOpened(), path);
    page = body(path);
    EXPECT_EQ(page.value(0), "<P><H3>Calls logged between (format = mm/dd/yyyy): 3/2/2025 and  03/31/2025 for "
                             "customer: Pat O'Neil  [o'neil]</H3></P>");
    EXPECT_EQ(countContaining(page, "class=textbody"), 1);
    EXPECT_EQ(
        page.mid(5, 4),
        (QStringList{"<TABLE class=textbody><TR><TD Class=TDNarrow>", "amy</TD><TD Class=TDMed>On the last day</TD>",
                     "<TD Class=TDNarrow>31/03/2025</TD><TD Class=TDNarrow>" + QString::number(edge) +
                         "</TD><TD Class=TDNarrow>Open</TD><TD Class=TDSmall>--- </TD>",
                     "</TR></TABLE>"}));

    // The first empty answer ends it, with no further question.
    const size_t asked = env->dialogs.inputs.size();
    env->shell.opened.clear();
    main->callsdat->trigger();
    EXPECT_EQ(env->dialogs.inputs.size(), asked + 1);
    EXPECT_TRUE(env->shell.opened.empty());
}

TEST_F(QuickLists, StaffOffersTheLoggedInMemberAndListsTheirFiftyLatest) {
    addStaff("o'hara", "", "3");
    manyCalls(51, "c1", "o'hara", "Open", "Net", QDate(2025, 3, 1));
    const int last = call("c2", "o'hara", "Pending", QVariant(), "Latest", QDate(2025, 3, 2), QTime(9, 0), "Cy Two");
    note(last, "Chased");
    start();

    main->mnu20sup->trigger(); // Cancel
    ASSERT_EQ(env->dialogs.inputs.size(), 1u);
    EXPECT_EQ(env->dialogs.inputs[0].prompt, "Enter Analyst Reference");
    EXPECT_EQ(env->dialogs.inputs[0].defaultText, "Admin");
    EXPECT_TRUE(env->shell.opened.empty());

    env->dialogs.type("o'hara");
    main->mnu20sup->trigger();
    const QStringList page = body(documents("report-calls-for-support.htm"));
    EXPECT_EQ(page.value(0), "<P><H3>Last 50 calls for Support Staff member: o'hara</H3>");
    EXPECT_EQ(page.value(1), "<TABLE bgcolor=#ffFFFF bordercolor= #010080 BORDER=0 class=Captions><TR><TD "
                             "class=TDNarrow>");
    EXPECT_EQ(countContaining(page, "class=textbody"), 50);
    QStringList first{"<TABLE bgcolor=#ffFFFF bordercolor= #010080 BORDER=0 class=textbody><TR><TD class=TDNarrow>",
                      "Cy Two</TD><TD class=TDMed>Latest</TD>",
                      "<TD class=TDNarrow>02/03/2025</TD><TD class=TDNarrow>" + QString::number(last) +
                          "</TD><TD class=TDNarrow>Pending</TD><TD class=TDSmall>--- </TD>",
                      "</TR></TABLE>"};
    first << notesOf("Chased");
    EXPECT_EQ(page.mid(5, 7), first);
    EXPECT_EQ(page.value(12), "<TABLE bgcolor=#ffFFFF bordercolor= #010080 BORDER=0 class=textbody><TR><TD "
                              "class=TDNarrow>");
    EXPECT_EQ(page.value(13), "---</TD><TD class=TDMed>Bulk</TD>");
}

TEST_F(QuickLists, ADayWithMoreThanAThousandCallsListsTheFirstThousand) {
    manyCalls(1001, "c", "amy", "Open", "Net", QDate(2025, 3, 14));
    start();
    main->mnucalnot->trigger();
    main->mncaltod->trigger();
    const QStringList page = body(documents("report-calls.htm"));
    EXPECT_EQ(countContaining(page, "class=textbody"), 1000);
    EXPECT_EQ(page.at(page.size() - 4), "<TD Class=TDNarrow>1000&nbsp;</TD>");
    EXPECT_EQ(page.last(), "</TABLE>");
}

TEST_F(QuickLists, AListThatCannotReadTheDatabaseLeavesTheOlderPageAndOpensNothing) {
    call("c", "amy", "Open", "Net", "q", QDate(2025, 3, 14));
    start();
    main->mncaltod->trigger();
    const QStringList before = crlfLines(documents("report-calls.htm"));
    ASSERT_FALSE(before.isEmpty());
    env->shell.opened.clear();
    exec("DROP TABLE Calls");

    main->mncaltod->trigger();
    EXPECT_TRUE(env->shell.opened.empty());
    EXPECT_EQ(crlfLines(documents("report-calls.htm")), before);

    // A list that skips what it cannot read still shows its headings.
    env->dialogs.type("amy");
    main->mnu20sup->trigger();
    EXPECT_EQ(env->shell.lastOpened(), documents("report-calls-for-support.htm"));
    EXPECT_EQ(body(documents("report-calls-for-support.htm")).size(), 5);
}

} // namespace

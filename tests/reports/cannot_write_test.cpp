#include "reports/reportfixture.h"

#include "customers/about.h"
#include "customers/customerexport.h"
#include "customers/form2.h"
#include "mainwindow/form1.h"
#include "platform/desktop.h"
#include "platform/widgets/flexgrid.h"
#include "platform/widgets/forms.h"
#include "reports/dialog.h"
#include "reports/form3.h"
#include "reports/frmabout.h"
#include "reports/wizardquery.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <functional>
#include <gtest/gtest.h>

namespace {

// Commands that write a page or a file into a folder that cannot take it: one message naming the file, nothing
// opened, and whatever stood there before left alone.
class CannotWrite : public ReportTest {
protected:
    // The documents folder becomes a path below a plain file, so nothing can be made there.
    QString blockDocuments() {
        QFile blocker(env->path("blocker"));
        EXPECT_TRUE(blocker.open(QIODevice::WriteOnly));
        const QString folder = env->path("blocker/documents");
        desktop::setSpecialFolder(5, folder);
        return folder;
    }
    void expectToldOnce(const QString& message, const char* command) {
        EXPECT_EQ(env->dialogs.messageTexts(), QStringList{message}) << command;
        EXPECT_TRUE(env->shell.opened.empty()) << command;
        env->dialogs.clear();
        env->shell.opened.clear();
    }
    // What a Cancel must leave in place.
    static bool writeOlderPage(const QString& path) {
        QFile old(path);
        return old.open(QIODevice::WriteOnly) && old.write("older page") == 10;
    }
};

TEST_F(CannotWrite, EveryReportPageOfTheDocumentsFolderSaysSoNamingItsFile) {
    const int c = call("ann", "Admin", "Open", "Hardware", "Screen", QDate(2025, 3, 14));
    note(c, "Swapped");
    addCustomer("Ann Lee", "ann");
    start();
    ASSERT_TRUE(QFile::copy(dbPath, QFileInfo(dbPath).absolutePath() + "/Quorvane-Archive.qvdb"));
    const QString folder = blockDocuments();
    const auto page = [&](const char* name) { return "Can't write " + folder + "/" + name; };

    main->mnuopencall->trigger();
    expectToldOnce(page("report-calls-open.htm"), "All Open calls");
    env->dialogs.type("Open");
    main->repurg->trigger();
    expectToldOnce(page("report-calls-for-status.htm"), "by status");
    env->dialogs.type(QString::number(c));
    main->mnufull->trigger();
    expectToldOnce(page("report-call.htm"), "Full Call Report");

    main->datagrid2->setRows(2);
    main->datagrid2->setTextMatrix(1, 2, QString::number(c));
    main->datagrid2->setRow(1);
    main->mnuvcn->trigger();
    expectToldOnce(page("callnotes.htm"), "View Call Notes");

    main->mnuabout->trigger();
    frmAbout1& about = ui::form<frmAbout1>();
    env->dialogs.type(QString::number(c));
    about.mnuarchref->trigger();
    expectToldOnce(page("report-call.htm"), "archived call");
    env->dialogs.type("ann");
    about.mnuuser->trigger();
    expectToldOnce(page("archive-calls-for-customer.htm"), "archived calls for a customer");
    about.close();

    main->mnuwiz->trigger();
    processEvents();
    Form3& wizard = ui::form<Form3>();
    env->dialogs.type("PC");
    wizard.mnuinvcalls->trigger();
    expectToldOnce(page("report-calls-for-status.htm"), "Calls for an Inventory Item");
    wizard.Command1->click();
    wizard.Command3->click();
    expectToldOnce(page("report.htm"), "wizard page");
    wizard.Command1->click();
    wizard.Command2->click();
    expectToldOnce(customers::cannotWriteMessage(folder + "/report.csv"), "wizard CSV");
}

TEST_F(CannotWrite, AMissingProgramFolderAndAMonitorFolderThatIsAFileAreTold) {
    item("Laptop", "ann", "d", "1");
    start();
    const QString program = env->programFolder;
    desktop::setProgramFolder(env->path("blocker/program"));
    QFile blocker(env->path("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    main->mnuinvrep->trigger();
    ui::form<Dialog>().OKButton->click();
    desktop::setProgramFolder(program);
    expectToldOnce("Can't write " + env->path("blocker/program/report-calls-inv.htm"), "inventory by type");

    main->mnumonitor->trigger();
    frmAbout& monitor = ui::form<frmAbout>();
    monitor.Text1->setText(env->path("blocker"));
    monitor.cmdOK->click();
    processEvents();
    expectToldOnce("Can't write " + env->path("blocker/monitor.htm"), "monitor pages");
    EXPECT_EQ(fileText(env->path("blocker")), ""); // the file in the folder's place is left as it was
}

TEST_F(CannotWrite, TheCustomersItemListNamesTheFileItCouldNotReplace) {
    addCustomer("Ann Lee", "ann");
    item("Laptop", "ann", "d", "1");
    start();
    main->mnuinv->trigger();
    Form2& w = ui::form<Form2>();
    const QString path = env->programFolder + "/invlist.csv";
    ASSERT_TRUE(QDir().mkpath(path + "/held")); // a folder where the file should go
    w.mnuexp->trigger();
    EXPECT_EQ(env->dialogs.messageTexts(), QStringList{customers::cannotWriteMessage(path)});
    EXPECT_TRUE(env->shell.opened.empty());
}

TEST_F(CannotWrite, TheCallSheetWithoutAPrinterSaysItWasNotPrinted) {
    addCustomer("Ann Lee", "ann");
    const int c = addCall("ann", "Open", "Admin");
    start();
    main->opencall(c);
    env->printer.result = false;
    main->mnuprint->trigger();
    ASSERT_EQ(env->dialogs.messages.size(), 1u);
    EXPECT_TRUE(env->dialogs.lastMessage().startsWith("The call sheet was not printed"))
        << env->dialogs.lastMessage().toStdString();
    env->printer.result = true;
    env->dialogs.clear();
    main->mnuprint->trigger();
    EXPECT_EQ(env->dialogs.messageTexts(), QStringList{"Call sent to Printer"});
}

TEST_F(CannotWrite, ADateThatIsNotMonthFirstEndsTheReportSayingWhichAndHow) {
    call("ann", "Admin", "Open", "Hardware", "Screen", QDate(2026, 1, 31));
    start();
    env->dialogs.type("ann").type("31/01/2026");
    main->callsdat->trigger();
    EXPECT_EQ(env->dialogs.inputs.size(), 2u); // no end date asked for
    EXPECT_EQ(env->dialogs.messageTexts(),
              QStringList{"The start date \"31/01/2026\" could not be read. Type it month first, as mm/dd/yyyy: for "
                          "example 01/31/2026 for 31 January 2026."});
    EXPECT_TRUE(env->shell.opened.empty());

    env->dialogs.clear();
    env->dialogs.type("ann").type("01/31/2026").type("2026-02-30");
    main->callsdat->trigger();
    EXPECT_TRUE(env->dialogs.lastMessage().startsWith("The end date \"2026-02-30\" could not be read."));
    EXPECT_TRUE(env->shell.opened.empty());

    env->dialogs.clear();
    env->dialogs.type("ann").type("01/31/2026").type("1/31/2026");
    main->callsdat->trigger();
    EXPECT_TRUE(env->dialogs.messages.empty());
    EXPECT_EQ(env->shell.lastOpened(), documents("report-calls-for-customer.htm"));
}

TEST_F(CannotWrite, ACancelledWizardPageLeavesTheOlderFileAndNothingIsSaid) {
    manyCalls(600, "ann", "Admin", "Open", "Hardware", QDate(2025, 3, 1));
    start();
    main->mnuwiz->trigger();
    processEvents();
    Form3& w = ui::form<Form3>();
    wizard::state() = {};
    w.Command1->click();
    const QString page = documents("report.htm");
    ASSERT_TRUE(writeOlderPage(page));

    env->dialogs.cancelProgressAfter(2);
    w.Command3->click();
    EXPECT_EQ(env->dialogs.progressLabels, QStringList{"Writing " + page});
    EXPECT_EQ(fileText(page), "older page");
    EXPECT_TRUE(env->dialogs.messages.empty());
    EXPECT_TRUE(env->shell.opened.empty());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr); // the wait cursor went with the command

    w.Command3->click();
    EXPECT_GE(env->dialogs.progressSteps, 2 + 3); // told along the way: 600 rows
    EXPECT_TRUE(fileText(page).contains("</TABLE></TABLE>"));
    EXPECT_EQ(env->shell.lastOpened(), page);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(CannotWrite, ACancelledQuickReportLeavesTheOlderPage) {
    manyCalls(600, "ann", "Admin", "Open", "Hardware", QDate(2025, 3, 1));
    start();
    const QString page = documents("report-calls-open.htm");
    ASSERT_TRUE(writeOlderPage(page));
    env->dialogs.cancelProgressAfter(1);
    main->mnuopencall->trigger();
    EXPECT_EQ(fileText(page), "older page");
    EXPECT_TRUE(env->dialogs.messages.empty());
    EXPECT_TRUE(env->shell.opened.empty());

    main->mnuopencall->trigger();
    EXPECT_EQ(env->dialogs.progressLabels, QStringList({"Writing " + page, "Writing " + page}));
    EXPECT_EQ(env->shell.lastOpened(), page);
    EXPECT_NE(fileText(page), "older page");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

} // namespace

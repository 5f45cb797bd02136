#include "support/fontfit.h"
#include "support/input.h"
#include "support/mainwindowfixture.h"

#include "mainwindow/form1.h"
#include "mainwindow/statusbar.h"
#include "platform/db/database.h"
#include "platform/db/datacontrol.h"
#include "platform/db/recordset.h"
#include "platform/db/values.h"
#include "platform/widgets/datagrid.h"
#include "platform/widgets/elidedlabel.h"
#include "platform/widgets/flexgrid.h"
#include "shared/shared.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFocusEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTextDocument>
#include <QToolTip>

namespace {

class CallPanel : public MainWindowTest {
protected:
    // A choice made in a list box as the user makes it.
    static void choose(QComboBox* combo, const QString& text) {
        const int i = combo->findText(text);
        ASSERT_GE(i, 0) << text.toStdString();
        combo->setCurrentIndex(i);
        emit combo->activated(i);
    }
    static void retype(QLineEdit* box, const QString& text) {
        box->selectAll();
        typeText(box, text);
    }
    QString field(int nom, const QString& column) {
        return db::displayText(scalar(QStringLiteral("SELECT [%1] from Calls where Nom = %2").arg(column).arg(nom)));
    }
    static int openCall(Form1& f) { return f.Text18->text().toInt(); }
    static bool menusOn(Form1& f) {
        for (QMenu* m : {f.mnufile, f.mnucust, f.mnserch, f.mnurep, f.mnuOptions, f.mnuhelp})
            if (!m->isEnabled())
                return false;
        return true;
    }
};

class CallPanelFit : public CallPanel, public ::testing::WithParamInterface<QString> {};

TEST_P(CallPanelFit, OnA1024x768ScreenEveryBoxAndButtonShowsWhateverTheSpareFieldIsCalled) {
    const LargeFonts fonts(*env, GetParam());
    Form1& f = start();
    f.show();
    f.mnulogcall->trigger();
    const auto* scroll = f.Picture8->findChild<QScrollArea*>("callScroll");
    ASSERT_TRUE(scroll);
    const int row = f.cg1->verticalHeader()->defaultSectionSize();
    for (const QString& name :
         {QString("Notes:"), QString("Cost centre or project code"), QString("Q").repeated(300)}) {
        f.Label36->setText(name);
        processEvents();
        const std::string what = name.left(30).toStdString();
        EXPECT_LE(f.frameGeometry().width(), 1024);
        EXPECT_FALSE(scroll->horizontalScrollBar()->isVisible()) << what;
        EXPECT_FALSE(scroll->verticalScrollBar()->isVisible()) << what;
        for (QWidget* w : std::initializer_list<QWidget*>{
                 f.Combo6,       f.Combo11,   f.Text10, f.Text14, f.Combo1,   f.Combo5,    f.Combo13, f.Combo3,
                 f.Text15,       f.Text19,    f.Text16, f.Text17, f.Text3,    f.Text4,     f.Text5,   f.Text6,
                 f.cmdclosecall, f.Command23, f.cg1,    f.Text20, f.Command8, f.Command10, f.Command9}) {
            const QRect r(w->mapTo(f.Picture8, QPoint(0, 0)), w->size());
            EXPECT_TRUE(f.Picture8->rect().contains(r)) << w->objectName().toStdString() << " " << what;
        }
        for (const QWidget* text : {f.Text16, f.Text17}) // description and resolution: twenty characters a line
            EXPECT_GE(text->width(), text->fontMetrics().averageCharWidth() * 20) << what;
        EXPECT_GE(f.Combo1->width(), f.Combo1->fontMetrics().averageCharWidth() * 8) << what;
        EXPECT_GE(f.cg1->height(), 2 * row) << what;
        EXPECT_GE(f.datagrid2->height(), 3 * row) << what; // the call list keeps a few rows
        EXPECT_EQ(f.Label36->text(), name);
    }
    auto* label = static_cast<ui::ElidedLabel*>(f.Label36);
    EXPECT_NE(label->shownText(), f.Label36->text());
    QHelpEvent hover(QEvent::ToolTip, QPoint(3, 3), label->mapToGlobal(QPoint(3, 3)));
    QApplication::sendEvent(label, &hover);
    EXPECT_EQ(QToolTip::text(), Qt::convertFromPlainText(f.Label36->text())); // the whole name, as text
}

INSTANTIATE_TEST_SUITE_P(Families, CallPanelFit, ::testing::ValuesIn(fitFamilies()), familyTestName);

TEST_F(CallPanel, BoxesTheProgramFillsShowTheStartOfTheirTextsWhileTypingStaysWhereTheUserIs) {
    env->screen.size = QSize(1024, 768);
    DesktopFont font("DejaVu Sans", 11);
    prepareDatabase();
    const QString name = "Barbara Anderson of the Northern Accounts Office";
    const QString reference = "BANDERSON-NORTHERN-ACCOUNTS-OFFICE";
    const QString address = "Goods In Dept Building 7, Long Industrial Estate Road";
    addCustomer(name, reference, "555 0101", address, "barbara.anderson.northern.accounts@example.com");
    const int nom = addCall(reference, "Open", "Admin");
    Form1& f = start();
    f.show();
    processEvents();
    const std::initializer_list<QWidget*> boxes{f.Combo6, f.Combo11, f.Text10, f.Text11, f.Text13, f.Text14};
    auto expectStarts = [&](const char* when) {
        for (QWidget* box : boxes) {
            EXPECT_FALSE(showsWhole(box)) << box->objectName().toStdString() << " " << when; // the text is cut
            EXPECT_TRUE(showsStart(box)) << box->objectName().toStdString() << " " << when;
        }
    };
    f.opencall(nom);
    processEvents();
    EXPECT_EQ(f.Combo6->currentText(), name);
    EXPECT_EQ(f.Text14->text(), address);
    expectStarts("call opened");

    f.Command9->click();
    f.Command8->click();
    choose(f.Combo6, name);
    processEvents();
    expectStarts("customer picked");

    // The user's own typing keeps its cursor, though every key goes into the customer's row.
    f.Text14->setCursorPosition(address.size());
    typeText(f.Text14, " North");
    EXPECT_EQ(f.Text14->text(), address + " North");
    EXPECT_EQ(f.Text14->cursorPosition(), f.Text14->text().size());
    f.Text10->setCursorPosition(7);
    typeText(f.Text10, "X");
    EXPECT_EQ(f.Text10->text(), "BarbaraX Anderson of the Northern Accounts Office");
    EXPECT_EQ(f.Text10->cursorPosition(), 8);
    const QString typed = "Zoe Featherstonehaugh-Cholmondeley of Upper Wallop";
    retype(f.Combo6->lineEdit(), typed);
    EXPECT_EQ(f.Combo6->currentText(), typed);
    EXPECT_EQ(f.Combo6->lineEdit()->cursorPosition(), typed.size());
    EXPECT_EQ(f.Text10->text(), typed); // filled from the picker: shown from its start
    EXPECT_TRUE(showsStart(f.Text10));
}

// The opening and closing moments show whole at the largest desktop font, and the panel still fits the screen.
class CallPanelFonts : public CallPanel, public ::testing::WithParamInterface<QString> {};

TEST_P(CallPanelFonts, DateAndTimeBoxesShowAWholeDateAndTimeAtElevenPointsOnA1024x768Screen) {
    env->screen.size = QSize(1024, 768);
    DesktopFont font(GetParam(), 11);
    prepareDatabase();
    addCustomer("Ann Lee", "ann");
    env->clock.set(QDateTime(QDate(2025, 12, 28), QTime(23, 58, 28)));
    const int nom = addCall("ann", "Open", "Admin");
    Form1& f = start();
    f.show();
    f.opencall(nom);
    f.cmdclosecall->click();
    processEvents();
    const auto* scroll = f.Picture8->findChild<QScrollArea*>("callScroll");
    ASSERT_TRUE(scroll);
    EXPECT_LE(f.frameGeometry().width(), 1024);
    EXPECT_FALSE(scroll->horizontalScrollBar()->isVisible());
    for (QLineEdit* box : {f.Text3, f.Text4, f.Text5, f.Text6}) {
        EXPECT_TRUE(box->text().contains("2025") || box->text() == "23:58:28") << box->text().toStdString();
        EXPECT_TRUE(showsWhole(box)) << box->objectName().toStdString() << " " << box->width() << " px";
        EXPECT_TRUE(f.Picture8->rect().contains(QRect(box->mapTo(f.Picture8, QPoint(0, 0)), box->size())))
            << box->objectName().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(DesktopFonts, CallPanelFonts, ::testing::ValuesIn(fitFamilies()), familyTestName);

TEST_F(CallPanel, ACallGoesFromNewCallToClosedAndBackToReopenedWithItsAuditTrail) {
    prepareDatabase();
    addStaff("amy", "", "3");
    addCustomer("Ann Lee", "ann", "555 123", "1 High St", "ann@example.com");
    Form1& f = start();

    f.Command8->click();
    const int nom = openCall(f);
    ASSERT_GT(nom, 0);
    // Stored at once, so the database has numbered it.
    EXPECT_EQ(field(nom, "Status"), "Open");
    EXPECT_EQ(field(nom, "User"), "Admin");
    EXPECT_EQ(field(nom, "sp3"), "Hardware");
    EXPECT_EQ(field(nom, "Field1"), "-----");
    EXPECT_EQ(field(nom, "Logged"), "Admin");
    EXPECT_EQ(field(nom, "Date Opened"), "14/03/2025");
    EXPECT_EQ(f.StatusBar1->panel(5), QStringLiteral("New call: %1").arg(nom));
    EXPECT_FALSE(menusOn(f));
    EXPECT_FALSE(f.Command8->isEnabled());

    choose(f.Combo6, "Ann Lee");
    EXPECT_EQ(f.Text11->text(), "ann");
    f.Text16->setPlainText("Printer jams");
    choose(f.Combo1, "Pending");
    choose(f.Combo5, "amy");
    f.Command10->click();

    EXPECT_EQ(field(nom, "Username"), "ann");
    EXPECT_EQ(field(nom, "sp2"), "Ann Lee");
    EXPECT_EQ(field(nom, "Contact"), "555 123  -  1 High St");
    EXPECT_EQ(field(nom, "Query"), "Printer jams");
    EXPECT_EQ(field(nom, "Status"), "Pending");
    EXPECT_EQ(count("SELECT * from Customers"), 1); // an existing customer is not stored twice
    EXPECT_TRUE(menusOn(f));
    EXPECT_EQ(f.upperStack->currentWidget(), f.Picture10);
    EXPECT_EQ(f.StatusBar1->panel(5), QStringLiteral("Call %1 saved.  Records: 0").arg(nom)); // amy's now

    env->clock.set(QDateTime(QDate(2025, 3, 16), QTime(12, 45, 30)));
    f.opencall(nom);
    EXPECT_TRUE(f.mnuprint->isEnabled());
    EXPECT_EQ(f.Text10->text(), "Ann Lee");
    f.cmdclosecall->click();
    EXPECT_EQ(f.Combo1->currentText(), "Closed");
    EXPECT_EQ(f.Text5->text(), "16/03/2025");
    f.Command10->click();
    EXPECT_FALSE(f.mnuprint->isEnabled());
    EXPECT_EQ(field(nom, "Status"), "Closed");
    EXPECT_EQ(field(nom, "Date Closed"), "16/03/2025");
    EXPECT_EQ(field(nom, "Time Closed"), "12:45:30");
    EXPECT_EQ(field(nom, "Field1"), "2 days, 3 hrs, 15 mins.");

    env->clock.advanceSecs(5 * 60);
    f.opencall(nom);
    EXPECT_FALSE(f.cmdclosecall->isEnabled());
    f.cmdreopen->click();
    EXPECT_EQ(f.Combo1->currentText(), "Re-opened");
    f.Command10->click();
    EXPECT_EQ(field(nom, "Status"), "Re-opened");
    EXPECT_EQ(field(nom, "Date Closed"), "");
    EXPECT_EQ(field(nom, "Time Closed"), "");
    EXPECT_EQ(field(nom, "Field1"), "-----");
    EXPECT_EQ(field(nom, "Audit"), "14/03/2025 (09:30):   Call was Logged by Admin\r\n"
                                   "14/03/2025 (09:30):   Status changed to Pending by Admin\r\n"
                                   "14/03/2025 (09:30):   Call Assigned to amy by Admin\r\n"
                                   "16/03/2025 (12:45):   Call was Closed by Admin\r\n"
                                   "16/03/2025 (12:50):   Call was Re-opened by Admin");
}

TEST_F(CallPanel, ChangesWriteNoAuditLinesWhenAuditingIsOffAndUnassignedCallsStartWithDashes) {
    prepareDatabase();
    addCustomer("Ann Lee", "ann");
    Form1& f = start();
    f.auditon = false;
    f.unassigneddefault = "True";
    f.Command8->click();
    const int nom = openCall(f);
    EXPECT_EQ(field(nom, "User"), "---");
    choose(f.Combo6, "Ann Lee");
    choose(f.Combo13, "Network");
    f.Command10->click();
    EXPECT_EQ(field(nom, "sp3"), "Network");
    EXPECT_EQ(field(nom, "Audit"), "");
}

TEST_F(CallPanel, SaveIsRefusedWithoutAReferenceAndThenStoresTheNewCustomer) {
    prepareDatabase();
    Form1& f = start();
    f.Command8->click();
    const int nom = openCall(f);
    typeText(f.Text10, "Bob Roe");
    typeText(f.Text12, "777");
    // An address longer than the contact column holds must not stop the save.
    const QString address = QString(250, QLatin1Char('x'));
    f.Text14->setText(address);
    emit f.Text14->textEdited(address);
    f.Command10->click();
    EXPECT_EQ(env->dialogs.lastMessage(), "A Customer Reference must be entered!");
    EXPECT_EQ(count("SELECT * from Customers"), 0);
    EXPECT_EQ(field(nom, "Username"), "");
    EXPECT_EQ(f.upperStack->currentWidget(), f.Picture8);
    EXPECT_FALSE(menusOn(f));

    typeText(f.Text11, "bob");
    f.Command10->click();
    EXPECT_EQ(db::displayText(scalar("SELECT Name from Customers where Username = 'bob'")), "Bob Roe");
    EXPECT_EQ(field(nom, "Username"), "bob");
    EXPECT_EQ(field(nom, "sp2"), "Bob Roe");
    EXPECT_EQ(field(nom, "Contact"), ("777  -  " + address).left(255));
    EXPECT_TRUE(menusOn(f));
}

TEST_F(CallPanel, ACallTheDatabaseRefusesStoresNeitherItNorItsNewCustomerAndCanBeSavedAgain) {
    prepareDatabase();
    Form1& f = start();
    f.Command8->click();
    const int nom = openCall(f);
    typeText(f.Text10, "Bob Roe");
    typeText(f.Text11, "bob");
    f.Text16->setPlainText("Screen flickers");
    exec("CREATE TRIGGER refuse BEFORE UPDATE ON Calls BEGIN SELECT RAISE(ABORT, 'refused'); END");
    f.Command10->click();
    ASSERT_EQ(env->dialogs.messages.size(), 1u);
    EXPECT_TRUE(env->dialogs.lastMessage().startsWith("The call could not be saved; nothing was stored."));
    EXPECT_EQ(count("SELECT * from Customers"), 0);
    EXPECT_EQ(field(nom, "Username"), "");
    EXPECT_EQ(f.upperStack->currentWidget(), f.Picture8);
    EXPECT_FALSE(menusOn(f));

    exec("DROP TRIGGER refuse");
    f.Command10->click();
    EXPECT_EQ(env->dialogs.messages.size(), 1u);
    EXPECT_EQ(count("SELECT * from Customers where Username = 'bob' and Name = 'Bob Roe'"), 1);
    EXPECT_EQ(field(nom, "Username"), "bob");
    EXPECT_EQ(field(nom, "Query"), "Screen flickers");
    EXPECT_TRUE(menusOn(f));
}

TEST_F(CallPanel, ANewCallsCustomerIsPickedOrTypedButAStoredReferenceStaysPut) {
    prepareDatabase();
    addCustomer("Ann Lee", "ann");
    const int older = addCall("ann", "Open", "Admin");
    Form1& f = start();
    f.Command8->click();
    const int nom = openCall(f);
    choose(f.Combo6, "Ann Lee");
    // Changing Ann's reference here would cut her other calls off from her.
    retype(f.Text11, "ann2");
    EXPECT_EQ(f.Text11->text(), "ann");

    // Leaving the name box empty is refused, except on the way to Cancel.
    // A name of its own starts a new customer in Ann's place.
    retype(f.Combo6->lineEdit(), "Zoe");
    EXPECT_EQ(f.Text10->text(), "Zoe");
    EXPECT_EQ(f.Text11->text(), "");
    f.Text10->clear();
    emit f.Text10->textEdited(QString());
    QFocusEvent out(QEvent::FocusOut);
    QApplication::sendEvent(f.Text10, &out);
    processEvents();
    EXPECT_EQ(env->dialogs.lastMessage(), "A Name must be entered!");
    env->dialogs.clear();
    f.cancelpressed = true;
    QApplication::sendEvent(f.Text10, &out);
    processEvents();
    EXPECT_TRUE(env->dialogs.messages.empty());

    typeText(f.Text10, "Zoe Day");
    typeText(f.Text11, "zoe");
    f.Command10->click();
    EXPECT_EQ(field(nom, "Username"), "zoe");
    EXPECT_EQ(field(older, "Username"), "ann");
    EXPECT_EQ(count("SELECT * from Customers where Username = 'ann' and Name = 'Ann Lee'"), 1);
    EXPECT_EQ(count("SELECT * from Customers where Username = 'zoe' and Name = 'Zoe Day'"), 1);
}

TEST_F(CallPanel, ACancelledNewCallLeavesNoRowNoteOrFileBehind) {
    prepareDatabase();
    addCustomer("Ann Lee", "ann");
    Form1& f = start();
    f.attachpath = env->path("attach");
    QDir().mkpath(f.attachpath);
    f.Command8->click();
    const int nom = openCall(f);
    choose(f.Combo6, "Ann Lee");
    exec(QStringLiteral("INSERT INTO Notes ([Call], [Note]) VALUES (%1, 'first look')").arg(nom));
    QFile(QDir(f.attachpath).filePath(QStringLiteral("Call-%1-1~log.txt").arg(nom))).open(QIODevice::WriteOnly);
    f.Command9->click();
    EXPECT_EQ(count("SELECT * from Calls"), 0);
    EXPECT_EQ(count("SELECT * from Notes"), 0);
    EXPECT_TRUE(QDir(f.attachpath).isEmpty());
    EXPECT_EQ(count("SELECT * from Customers"), 1);
    EXPECT_TRUE(menusOn(f));
    EXPECT_TRUE(f.Datagrid1->isEnabled());
    EXPECT_EQ(f.upperStack->currentWidget(), f.Picture10);
    EXPECT_EQ(f.StatusBar1->panel(5), "Waiting");
}

TEST_F(CallPanel, CancelAbandonsTheEditsOfAnOpenedCall) {
    prepareDatabase();
    addCustomer("Ann Lee", "ann", "555");
    const int nom = addCall("ann", "Open", "Admin");
    Form1& f = start();
    f.opencall(nom);
    f.Text16->setPlainText("changed");
    retype(f.Text12, "999");
    choose(f.Combo1, "Urgent");
    f.Command9->click();
    EXPECT_EQ(field(nom, "Query"), "");
    EXPECT_EQ(field(nom, "Status"), "Open");
    EXPECT_EQ(field(nom, "Audit"), "");
    EXPECT_EQ(db::displayText(scalar("SELECT Extension from Customers")), "555");
    EXPECT_FALSE(f.mnuprint->isEnabled());
}

TEST_F(CallPanel, TheTimestampEditorRefusesTextThatIsNoDateOrTimeAndKeepsTheDurationInStep) {
    prepareDatabase();
    addCustomer("Ann Lee", "ann");
    const int nom = addCall("ann", "Open", "Admin");
    Form1& f = start();
    env->clock.set(QDateTime(QDate(2025, 3, 14), QTime(11, 0)));
    f.opencall(nom);
    f.cmdclosecall->click();
    f.Command10->click();
    ASSERT_EQ(field(nom, "Field1"), "0 days, 1 hrs, 30 mins.");

    f.opencall(nom);
    f.Frame2->setChecked(true);
    retype(f.Text6, "half past");
    pressKey(f.Text6, Qt::Key_Return);
    EXPECT_EQ(env->dialogs.lastMessage(), "That is not a valid time.");
    EXPECT_EQ(f.Text6->text(), "11:00:00");
    retype(f.Text3, "31/02/2025");
    pressKey(f.Text3, Qt::Key_Return);
    EXPECT_EQ(env->dialogs.lastMessage(), "That is not a valid date.");
    EXPECT_EQ(f.Text3->text(), "14/03/2025");
    f.Command10->click();
    EXPECT_EQ(field(nom, "Date Opened"), "14/03/2025");
    EXPECT_EQ(field(nom, "Time Closed"), "11:00:00");

    f.opencall(nom);
    f.Frame2->setChecked(true);
    retype(f.Text5, "15/03/2025");
    pressKey(f.Text5, Qt::Key_Return);
    retype(f.Text6, "12:15");
    // Saving takes a box that was typed into but not left.
    f.Command10->click();
    EXPECT_EQ(field(nom, "Date Closed"), "15/03/2025");
    EXPECT_EQ(field(nom, "Time Closed"), "12:15:00");
    EXPECT_EQ(field(nom, "Field1"), "1 days, 2 hrs, 45 mins.");

    // Another status chosen in the list opens the call again: no closing moment, no duration.
    f.opencall(nom);
    choose(f.Combo1, "Open");
    EXPECT_TRUE(f.cmdclosecall->isEnabled());
    f.Command10->click();
    EXPECT_EQ(field(nom, "Status"), "Open");
    EXPECT_EQ(field(nom, "Date Closed"), "");
    EXPECT_EQ(field(nom, "Time Closed"), "");
    EXPECT_EQ(field(nom, "Field1"), "-----");
}

TEST_F(CallPanel, ClosingHandsTheCustomerAMailLinkOnlyWhenTheSettingIsOn) {
    prepareDatabase();
    addCustomer("Ann Lee", "ann", "", "", "ann@example.com");
    const int first = addCall("ann", "Open", "Admin");
    const int second = addCall("ann", "Open", "Admin");
    Form1& f = start();
    WriteINI("Email-Settings", "Close Message", "False");
    f.opencall(first);
    f.cmdclosecall->click();
    f.Command10->click();
    EXPECT_TRUE(env->shell.opened.empty());

    WriteINI("Email-Settings", "Close Message", "True");
    WriteINI("Email-Settings", "Close Message Text", "Call # is closed (ref #)");
    f.opencall(second);
    choose(f.Combo1, "Closed");
    ASSERT_EQ(env->shell.opened.size(), 1u);
    EXPECT_EQ(env->shell.lastOpened(),
              QStringLiteral("mailto:ann@example.com?Subject=Call %1 is closed (ref %1)").arg(second));
    EXPECT_EQ(env->shell.opened.back().showMode, 1);
}

TEST_F(CallPanel, AnAttachmentTakesTheFirstFreeNumberAndAMissingFolderIsReported) {
    prepareDatabase();
    addCustomer("Ann Lee", "ann");
    const int nom = addCall("ann", "Open", "Admin");
    Form1& f = start();
    const QString source = env->path("report.txt");
    QFile in(source);
    ASSERT_TRUE(in.open(QIODevice::WriteOnly));
    in.write("the report");
    in.close();

    f.attachpath = env->path("no such folder");
    f.opencall(nom);
    f.cmdattach->click();
    EXPECT_TRUE(env->dialogs.lastMessage().startsWith("The attachments folder cannot be found"));
    EXPECT_TRUE(env->dialogs.fileFilters.isEmpty());

    f.attachpath = env->path("attach");
    QDir dir(f.attachpath);
    dir.mkpath(".");
    const QString n = QString::number(nom);
    // Call n1's files are not call n's.
    for (const QString& name : {"Call-" + n + "-1~report.txt", "Call-" + n + "-2~report.txt",
                                "Call-" + n + "-4~report.txt", "Call-" + n + "1-3~report.txt"})
        QFile(dir.filePath(name)).open(QIODevice::WriteOnly);
    env->dialogs.chooseFileNext(source);
    f.cmdattach->click();
    QFile copied(dir.filePath(QStringLiteral("Call-%1-3~report.txt").arg(nom)));
    ASSERT_TRUE(copied.open(QIODevice::ReadOnly));
    EXPECT_EQ(copied.readAll(), "the report");
    EXPECT_EQ(f.cg1->textMatrix(1, 2), "4");
}

TEST_F(CallPanel, SaveEditCarriesANewReferenceWithAnApostropheToCallsAndItemsInOneStep) {
    prepareDatabase();
    addCustomer("Pat O'Neil", "o'neil");
    addCustomer("Sam Poe", "sam");
    const int a = addCall("o'neil", "Open", "Admin");
    const int b = addCall("o'neil", "Closed", "Admin");
    const int other = addCall("sam", "Open", "Admin");
    exec("INSERT INTO Inventory (Type, [Number], Details2) VALUES ('PC', '42', 'o''neil')");
    exec("INSERT INTO Inventory (Type, [Number], Details2) VALUES ('PC', '43', 'sam')");
    Form1& f = start();
    f.FindCust("o'neil");
    ASSERT_EQ(f.Text11->text(), "o'neil");
    f.mnueditcust_Click();
    retype(f.Text10, "Pat O'Neill");
    retype(f.Text11, "o'neill's");

    // A failure half-way leaves everything as it was, and the edit can be tried again.
    auto database = db::Database::open(dbPath);
    database.connection().exec("CREATE TRIGGER stopitems BEFORE UPDATE ON Inventory BEGIN "
                               "SELECT RAISE(ABORT, 'items are locked'); END");
    f.Command20->click();
    EXPECT_TRUE(env->dialogs.lastMessage().contains("items are locked"));
    EXPECT_EQ(field(a, "Username"), "o'neil");
    EXPECT_EQ(count("SELECT * from Customers where Username = 'o''neil'"), 1);
    EXPECT_TRUE(f.editcustmode);

    database.connection().exec("DROP TRIGGER stopitems");
    env->dialogs.clear();
    f.Command20->click();
    EXPECT_EQ(env->dialogs.messageTexts(),
              (QStringList{"Quorvane will now update this information for all calls/inventory associated with this "
                           "user",
                           "Done editing."}));
    for (int nom : {a, b}) {
        EXPECT_EQ(field(nom, "Username"), "o'neill's");
        EXPECT_EQ(field(nom, "sp2"), "Pat O'Neill");
    }
    EXPECT_EQ(field(other, "Username"), "sam");
    EXPECT_EQ(count("SELECT * from Inventory where Details2 = 'o''neill''s'"), 1);
    EXPECT_EQ(count("SELECT * from Inventory where Details2 = 'sam'"), 1);
    EXPECT_EQ(count("SELECT * from Customers where Username = 'o''neill''s' and Name = 'Pat O''Neill'"), 1);
    EXPECT_EQ(count("SELECT * from Calls"), 3); // the placeholder call row was never stored
    EXPECT_FALSE(f.editcustmode);
    EXPECT_TRUE(f.Command10->isVisibleTo(f.Picture8));
    EXPECT_FALSE(f.Command20->isVisibleTo(f.Picture8));
    EXPECT_TRUE(menusOn(f));
}

TEST_F(CallPanel, CustomerModesEndWithSaveOrCancelAndStoreNoCall) {
    prepareDatabase();
    addCustomer("Ann Lee", "ann", "555");
    Form1& f = start();
    f.mnuaddcust_Click();
    typeText(f.Text10, "Cy Dee");
    f.Command10->click();
    EXPECT_EQ(env->dialogs.lastMessage(), "A Customer Reference must be entered!");
    typeText(f.Text11, "cy");
    f.Command10->click();
    EXPECT_EQ(count("SELECT * from Customers where Username = 'cy' and Name = 'Cy Dee'"), 1);
    EXPECT_EQ(count("SELECT * from Calls"), 0);
    EXPECT_FALSE(f.addcustmode);
    EXPECT_TRUE(menusOn(f));

    f.FindCust("ann");
    f.mnueditcust_Click();
    retype(f.Text12, "000");
    f.Command9->click();
    EXPECT_TRUE(f.cancelpressed);
    EXPECT_FALSE(f.editcustmode);
    EXPECT_EQ(db::displayText(scalar("SELECT Extension from Customers where Username = 'ann'")), "555");
    EXPECT_EQ(f.Text12->text(), "555");
    EXPECT_EQ(count("SELECT * from Calls"), 0);
}

TEST_F(CallPanel, TheInformationGridCountsANoteAddedBehindItsBackAndListsTheCustomersItems) {
    prepareDatabase();
    addCustomer("Ann Lee", "ann");
    const int nom = addCall("ann", "Open", "Admin");
    exec("INSERT INTO Inventory (Type, [Number], Details2) VALUES ('Laptop', 'L-7', 'ann')");
    exec("INSERT INTO Inventory (Type, [Number], Details2) VALUES ('Printer', 'P-2', 'ann')");
    exec(QStringLiteral("UPDATE Calls SET sp1 = 'Scanner   [S-1]' WHERE Nom = %1").arg(nom));
    Form1& f = start();
    f.opencall(nom);
    EXPECT_EQ(f.cg1->textMatrix(0, 2), QString::number(nom));
    EXPECT_EQ(f.cg1->textMatrix(1, 2), "None");
    EXPECT_EQ(f.cg1->textMatrix(2, 2), "14/03/2025 09:30");
    EXPECT_EQ(f.cg1->textMatrix(3, 2), "---");
    EXPECT_EQ(f.cg1->textMatrix(4, 2), "0");
    EXPECT_EQ(f.cg1->textMatrix(5, 2), "2");
    // The linked item shows even though the customer no longer has it.
    EXPECT_EQ(f.Combo3->currentText(), "Scanner   [S-1]");

    exec(QStringLiteral("INSERT INTO Notes ([Call], [Note]) VALUES (%1, 'rang back')").arg(nom));
    f.opencallgrid();
    EXPECT_EQ(f.cg1->textMatrix(4, 2), "1");
    QStringList items;
    for (int i = 0; i < f.Combo3->count(); ++i)
        items << f.Combo3->itemText(i);
    EXPECT_EQ(items, (QStringList{"Laptop   [L-7]", "Printer   [P-2]", "Scanner   [S-1]"}));
    EXPECT_EQ(field(nom, "sp1"), "Scanner   [S-1]"); // refilling the list writes nothing

    choose(f.Combo3, "Printer   [P-2]");
    f.Command10->click();
    EXPECT_EQ(field(nom, "sp1"), "Printer   [P-2]");
    EXPECT_TRUE(field(nom, "Audit").endsWith("Item changed to Printer   [P-2] by Admin"));
}

TEST_F(CallPanel, LookupsByReferenceAndNameReportWhatTheyCannotFind) {
    prepareDatabase();
    addCustomer("Ann Lee", "ann");
    addCustomer("Dan O'Hara", "dan");
    Form1& f = start();
    f.logusercall("nobody");
    EXPECT_EQ(env->dialogs.lastMessage(), "Customer reference not found");
    EXPECT_EQ(count("SELECT * from Calls"), 0);
    f.FindCust("nobody");
    EXPECT_EQ(env->dialogs.lastMessage(), "No Records Found");

    env->dialogs.type("o'har");
    f.findCustomerByName();
    EXPECT_EQ(f.Text11->text(), "dan");
    env->dialogs.type("zed");
    f.findCustomerByName();
    EXPECT_EQ(env->dialogs.lastMessage(), "No Records Found");

    f.logusercall("ann");
    const int nom = openCall(f);
    ASSERT_GT(nom, 0);
    EXPECT_EQ(f.Combo6->currentText(), "Ann Lee");
    EXPECT_EQ(count("SELECT * from Customers"), 2); // no new customer row was started
    f.Command10->click();
    EXPECT_EQ(field(nom, "Username"), "ann");

    env->dialogs.type(QString::number(nom));
    f.mnusearchcall->trigger();
    EXPECT_EQ(openCall(f), nom);
    EXPECT_TRUE(f.mnuprint->isEnabled());
}

TEST_F(CallPanel, ClosingTheWindowSavesANewCallWithAReference) {
    prepareDatabase();
    addCustomer("Ann Lee", "ann");
    Form1& f = start();
    f.Command8->click();
    const int nom = openCall(f);
    choose(f.Combo11, "ann");
    f.Text16->setPlainText("left open at closing time");
    closeMain();
    EXPECT_EQ(field(nom, "Username"), "ann");
    EXPECT_EQ(field(nom, "Query"), "left open at closing time");
}

TEST_F(CallPanel, ClosingTheWindowDropsANewCallWithoutAReference) {
    prepareDatabase();
    Form1& f = start();
    f.Command8->click();
    typeText(f.Text10, "No Ref");
    closeMain();
    EXPECT_EQ(count("SELECT * from Calls"), 0);
    EXPECT_EQ(count("SELECT * from Customers"), 0);
}

TEST_F(CallPanel, TheCustomerPickersOfferCustomersAddedSinceTheyWereFilled) {
    prepareDatabase();
    addCustomer("Ann Lee", "ann");
    const int older = addCall("ann", "Open", "Admin");
    Form1& f = start();
    f.opencall(older);
    EXPECT_GE(f.Combo6->findText("Ann Lee"), 0);

    // A new customer stored with a new call.
    f.Command8->click();
    typeText(f.Text10, "Zoe Day");
    typeText(f.Text11, "zoe");
    f.Command10->click();
    ASSERT_EQ(count("SELECT * from Customers where Username = 'zoe'"), 1);
    f.opencall(older);
    EXPECT_GE(f.Combo6->findText("Zoe Day"), 0);
    EXPECT_GE(f.Combo11->findText("zoe"), 0);
    EXPECT_EQ(f.Combo6->itemData(f.Combo6->findText("Zoe Day")).toString(), "zoe");

    // One stored by another copy shows once the customer list is read again.
    addCustomer("Cy Dee", "cy");
    f.Adodc1->refresh();
    f.opencall(older);
    EXPECT_GE(f.Combo6->findText("Cy Dee"), 0);
    EXPECT_EQ(f.Combo6->count(), 3);
    EXPECT_EQ(f.Combo11->count(), 3);
}

} // namespace

#include "support/input.h"
#include "support/mainwindowfixture.h"

#include "customers/about.h"
#include "customers/search.h"
#include "mainwindow/form1.h"
#include "platform/db/datacontrol.h"
#include "platform/db/recordset.h"
#include "platform/db/values.h"
#include "platform/widgets/datagrid.h"
#include "platform/widgets/flexgrid.h"
#include "platform/widgets/forms.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <functional>

namespace {

class PanelCustomer : public MainWindowTest {
protected:
    QString field(int nom, const char* column) {
        return db::displayText(scalar(QStringLiteral("SELECT [%1] from Calls where Nom = %2").arg(column).arg(nom)));
    }
    static void retype(QLineEdit* box, const QString& text) {
        box->selectAll();
        typeText(box, text);
    }
};

// Every way the main customer list is read again; with the menus off only the information window, opened
// before, can.
class CustomerReread : public PanelCustomer {
protected:
    void rereadEveryWay(Form1& f, bool menus = true) {
        if (menus) {
            f.mnureflyist->trigger();
            f.mnuorderref->trigger();
            f.mnusearchname->trigger();
            ui::form<Search>().close();
            f.mnuordername->trigger();
        }
        f.mnuabout->trigger();
        ui::form<frmAbout1>().Command3->click();
        ui::form<frmAbout1>().cmdOK->click();
        processEvents();
    }
};

TEST_F(CustomerReread, AnOpenedCallAndACustomerBeingAddedOrEditedKeepTheirOwnCustomer) {
    prepareDatabase();
    addCustomer("Ann Lee", "ann");
    addCustomer("Bob Roe", "bob");
    const int nom = addCall("bob", "Open", "Admin");
    Form1& f = start();
    f.opencall(nom);
    addCustomer("Abe Ash", "abe"); // by another copy, first in the list
    rereadEveryWay(f);
    EXPECT_EQ(f.Adodc1->recordset()->recordCount(), 3);
    EXPECT_EQ(f.Text10->text(), "Bob Roe");
    f.Command10->click();
    EXPECT_EQ(field(nom, "Username"), "bob");

    f.mnuaddcust_Click();
    typeText(f.Text11, "zoe");
    rereadEveryWay(f, false);
    EXPECT_EQ(f.Text11->text(), "zoe");
    f.Command10->click();
    EXPECT_EQ(count("SELECT * from Customers where Username = 'zoe'"), 1);

    f.FindCust("ann");
    f.mnueditcust_Click();
    retype(f.Text12, "999");
    rereadEveryWay(f, false);
    EXPECT_EQ(f.Text11->text() + f.Text12->text(), "ann999");
    f.Command20->click();
    EXPECT_EQ(count("SELECT * from Customers where Username = 'ann' and Extension = '999'"), 1);

    // Neither the search window's hand-over nor a deletion moves the list under an opened call.
    f.opencall(nom);
    f.FindCust("abe");
    EXPECT_EQ(f.upperStack->currentWidget(), f.Picture10); // the call was put away first
    f.opencall(nom);
    f.mnucustdel_Click(); // Bob goes; his call stays his
    f.Command10->click();
    EXPECT_EQ(field(nom, "Username"), "bob");
}

TEST_F(PanelCustomer, AReferenceAnotherCustomerHasIsRefusedAndOlderTwinsEachKeepTheirOwn) {
    prepareDatabase();
    addCustomer("Aaa Upper", "ZOB-001");
    addCustomer("Zzz Lower", "zob-001"); // stored before references were kept apart
    const int upper = addCall("ZOB-001", "Open", "Admin");
    const int lower = addCall("zob-001", "Open", "Admin");
    Form1& f = start();
    // A new call's typed customer, and Add New Customer, alike.
    for (const std::function<void()>& begin :
         std::initializer_list<std::function<void()>>{[&] { f.Command8->click(); }, [&] { f.mnuaddcust_Click(); }}) {
        begin();
        typeText(f.Text10, "Zed Other");
        typeText(f.Text11, "Zob-001");
        f.Command10->click();
        EXPECT_TRUE(env->dialogs.lastMessage().endsWith("Another customer already has the reference \"Zob-001\" "
                                                        "(capitals and small letters count as the same). Please "
                                                        "enter a different reference."));
        EXPECT_EQ(count("SELECT * from Customers"), 2);
        EXPECT_EQ(f.Text11->text(), "Zob-001");
        f.Command9->click();
    }

    const std::function<void()> lookups[] = {[&] { f.opencall(lower); }, [&] { f.FindCust("zob-001"); },
                                             [&] { f.logusercall("zob-001"); }};
    for (const auto& lookup : lookups) {
        lookup();
        EXPECT_EQ(f.Text10->text(), "Zzz Lower");
    }
    f.Combo11->setCurrentIndex(f.Combo11->findText("zob-001"));
    emit f.Combo11->activated(f.Combo11->currentIndex());
    EXPECT_EQ(f.Text10->text(), "Zzz Lower");
    f.Command10->click();

    // An edit keeping the twin's reference is stored and reaches only that twin's calls; taking the other's
    // reference is refused before any word of updating calls.
    f.FindCust("zob-001");
    f.mnueditcust_Click();
    retype(f.Text10, "Zzz Lower Ltd");
    f.Command20->click();
    EXPECT_EQ(field(lower, "sp2") + "|" + field(upper, "sp2"), "Zzz Lower Ltd|");
    f.FindCust("zob-001");
    f.mnueditcust_Click();
    retype(f.Text11, "ZOB-001");
    env->dialogs.clear();
    f.Command20->click();
    EXPECT_EQ(env->dialogs.messages.size(), 1u);
    EXPECT_EQ(field(lower, "Username"), "zob-001");
}

TEST_F(PanelCustomer, SaveEditShowsTheCarriedNameInTheCallListAtOnce) {
    prepareDatabase();
    addCustomer("Bob Roe", "bob");
    addCall("bob", "Open", "Admin");
    Form1& f = start();
    ASSERT_FALSE(f.currentsql().isEmpty());
    f.FindCust("bob");
    f.mnueditcust_Click();
    retype(f.Text10, "Bob Roe Ltd");
    f.Command20->click();
    QStringList row;
    for (int c = 0; c < f.datagrid2->cols(); ++c)
        row << f.datagrid2->textMatrix(1, c);
    EXPECT_TRUE(row.contains("Bob Roe Ltd")) << row.join('|').toStdString();
}

// Another copy of the program writes the same file (through its own connection) between this copy's reads.
class OtherCopy : public PanelCustomer {};

TEST_F(OtherCopy, ACustomerAnotherCopyAddedOrGaveANewReferenceIsReadInForTheCall) {
    prepareDatabase();
    addCustomer("Ann Lee", "ann");
    addCustomer("Zoe Bell", "ZOB-1'");
    const int zoe = addCall("ZOB-1'", "Open", "Admin");
    Form1& f = start();
    addCustomer("Abe Ash", "abe");
    for (const auto& [picker, text] : {std::pair{f.Combo11, "abe"}, std::pair{f.Combo6, "Abe Ash"}}) {
        f.Command8->click();
        const int nom = f.Text18->text().toInt();
        picker->setCurrentIndex(picker->findText(text));
        emit picker->activated(picker->currentIndex());
        f.Command10->click();
        EXPECT_EQ(field(nom, "Username") + "|" + field(nom, "sp2"), "abe|Abe Ash");
    }
    EXPECT_EQ(count("SELECT * from Customers"), 3); // chosen, not added again
    // Typed into Find Ref alike.
    f.Command8->click();
    typeText(f.Combo11->lineEdit(), "abe");
    pressKey(f.Combo11->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(f.Text10->text(), "Abe Ash");
    f.Command9->click();

    // The other copy's Save Edit: the call opened here shows and keeps Zoe's new reference.
    exec("UPDATE Customers SET Username = 'ZOB-9' WHERE Name = 'Zoe Bell'");
    exec("UPDATE Calls SET Username = 'ZOB-9'");
    f.opencall(zoe);
    EXPECT_EQ(f.Text11->text() + "|" + f.Text10->text(), "ZOB-9|Zoe Bell");
    f.cmdclosecall->click();
    f.Command10->click();
    EXPECT_EQ(field(zoe, "Username") + "|" + field(zoe, "Status"), "ZOB-9|Closed");
}

TEST_F(OtherCopy, AListReadAgainKeepsTheOpenedCallsCustomerWhateverItHeldBefore) {
    prepareDatabase();
    const int nom = addCall("zed", "Open", "Admin"); // a customer no list holds
    Form1& f = start();
    f.opencall(nom);
    addCustomer("Abe Ash", "abe");
    f.mnureflyist->trigger();
    EXPECT_EQ(f.Text10->text() + "|" + f.Text11->text(), "|");
    f.Command10->click();
    EXPECT_EQ(field(nom, "Username"), "zed");

    // Once the call's own customer is in the file, the list read again stands on them.
    f.opencall(nom);
    addCustomer("Zed Zee", "zed");
    f.mnureflyist->trigger();
    EXPECT_EQ(f.Text10->text() + "|" + f.Text11->text(), "Zed Zee|zed");
}

// The database refuses changes to calls, as a read-only or locked file does.
class RefusingDatabase : public PanelCustomer {
protected:
    void refuse(const char* what) {
        exec(QStringLiteral("CREATE TRIGGER refuse BEFORE %1 ON Calls BEGIN SELECT RAISE(ABORT, 'refused'); END")
                 .arg(QLatin1String(what)));
    }
};

TEST_F(RefusingDatabase, MovingTheCustomerListByKeyPutsAnOpenedCallAwayOrKeepsItWhenItCannotBeStored) {
    prepareDatabase();
    addCustomer("Ann Lee", "ann");
    addCustomer("Bob Roe", "bob");
    addCustomer("Cy Dee", "cy");
    const int nom = addCall("bob", "Open", "Admin");
    Form1& f = start();
    f.opencall(nom);
    f.Text16->setPlainText("refused");
    refuse("UPDATE");
    env->dialogs.clear();
    pressKey(f.Datagrid1, Qt::Key_Down);
    EXPECT_EQ(env->dialogs.messages.size(), 1u);
    EXPECT_EQ(f.Text10->text() + "|" + f.Datagrid1->columnText(1), "Bob Roe|bob"); // neither moved
    EXPECT_EQ(f.Text16->toPlainText(), "refused");
    exec("DROP TRIGGER refuse");
    f.Command10->click();
    EXPECT_EQ(field(nom, "Username") + "|" + field(nom, "Query"), "bob|refused");

    f.opencall(nom);
    f.Text16->setPlainText("typed");
    pressKey(f.Datagrid1, Qt::Key_Down);
    EXPECT_EQ(f.upperStack->currentWidget(), f.Picture10);
    EXPECT_EQ(f.Datagrid1->columnText(1), "cy");
    EXPECT_EQ(field(nom, "Username") + "|" + field(nom, "Query"), "bob|typed");
}

TEST_F(RefusingDatabase, CommandsOfOtherWindowsThatMoveTheListPutTheOpenedCallAwayFirstOrMoveNothing) {
    prepareDatabase();
    addCustomer("Ann Lee", "ann");
    addCustomer("Bob Roe", "bob");
    const int nom = addCall("bob", "Open", "Admin");
    Form1& f = start();
    f.opencall(nom);
    f.Text16->setPlainText("typed");
    refuse("UPDATE");
    const int calls = count("SELECT * from Calls");
    const std::function<void()> moves[] = {[&] { f.logusercall("ann"); }, [&] { f.FindCust("ann"); },
                                           [&] {
                                               f.mnuabout->trigger();
                                               ui::form<frmAbout1>().Command3->click();
                                               ui::form<frmAbout1>().cmdOK->click();
                                           }};
    for (const auto& move : moves) {
        env->dialogs.clear();
        move();
        EXPECT_EQ(env->dialogs.messages.size(), 1u);
        EXPECT_EQ(f.Text16->toPlainText() + "|" + f.Text10->text(), "typed|Bob Roe");
    }
    EXPECT_TRUE(ui::form<frmAbout1>().deleteMode()); // the window waits with its list
    exec("DROP TRIGGER refuse");
    f.logusercall("ann");
    EXPECT_EQ(field(nom, "Query") + "|" + f.Text10->text(), "typed|Ann Lee");
    EXPECT_EQ(count("SELECT * from Calls"), calls + 1);
}

TEST_F(RefusingDatabase, ClosingWithACallThatCannotBeStoredKeepsTheProgramOpenWithTheCall) {
    prepareDatabase();
    addCustomer("Ann Lee", "ann");
    Form1& f = start();
    f.logusercall("ann");
    const int nom = f.Text18->text().toInt();
    f.Text16->setPlainText("typed");
    refuse("UPDATE");
    EXPECT_FALSE(f.close());
    EXPECT_TRUE(env->dialogs.lastMessage().startsWith("The call could not be saved; nothing was stored."));
    EXPECT_EQ(f.Text16->toPlainText(), "typed");
    exec("DROP TRIGGER refuse");
    f.Command10->click();
    EXPECT_EQ(field(nom, "Query"), "typed");

    // A new call without a customer goes at closing; one the database keeps stays on the panel.
    f.Command8->click();
    const int other = f.Text18->text().toInt();
    f.Text16->setPlainText("no customer yet");
    refuse("DELETE");
    EXPECT_FALSE(f.close());
    EXPECT_EQ(f.Text16->toPlainText(), "no customer yet");
    exec("DROP TRIGGER refuse");
    closeMain();
    EXPECT_EQ(count(QStringLiteral("SELECT * from Calls where Nom = %1").arg(other)), 0);
}

TEST_F(RefusingDatabase, PuttingAnOpenedCallAwayStoresItWithItsCustomerInOneGoAsSaveDoes) {
    prepareDatabase();
    addCustomer("Ann Lee", "ann");
    addCustomer("Bob Roe", "bob", "555", "High St");
    addCustomer("Cy Dee", "cy");
    const int nom = addCall("bob", "Open", "Admin");
    const int other = addCall("ann", "Open", "Admin");
    Form1& f = start();
    f.opencall(nom);
    retype(f.Text10, "Bob Roe Ltd");
    f.Text16->setPlainText("typed");
    f.mnureflyist->trigger(); // reading the list again stores nothing
    EXPECT_EQ(field(nom, "Query"), "");

    // Refused: nothing is stored, the user is told, the call stays with what was typed.
    refuse("UPDATE");
    env->dialogs.clear();
    pressKey(f.Datagrid1, Qt::Key_Down);
    f.opencall(other);
    EXPECT_EQ(env->dialogs.messages.size(), 2u);
    EXPECT_EQ(count("SELECT * from Customers where Name = 'Bob Roe Ltd'"), 0);
    EXPECT_EQ(f.Text18->text() + "|" + f.Text10->text() + "|" + f.Text16->toPlainText(),
              QString::number(nom) + "|Bob Roe Ltd|typed");

    exec("DROP TRIGGER refuse");
    pressKey(f.Datagrid1, Qt::Key_Down);
    EXPECT_EQ(field(nom, "sp2") + "|" + field(nom, "Query"), "Bob Roe Ltd|typed");

    // So does Add New Customer.
    f.opencall(nom);
    retype(f.Text12, "556");
    f.mnuaddcust_Click();
    EXPECT_EQ(field(nom, "Contact"), "556  -  High St");
    f.Command9->click();
}

} // namespace

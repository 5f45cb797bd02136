#include "mainwindow/form1.h"
#include "options/analysts.h"
#include "options/staffrules.h"
#include "platform/db/datacontrol.h"
#include "platform/db/recordset.h"
#include "platform/desktop.h"
#include "platform/widgets/datagrid.h"
#include "platform/widgets/forms.h"
#include "shared/shared.h"
#include "support/fontfit.h"
#include "support/input.h"
#include "support/mainwindowfixture.h"
#include "support/plainsqlite.h"
#include "support/refusedwrites.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

using ui::Answer;

class StaffWindow : public MainWindowTest {
protected:
    analysts& open(const QString& select = QString()) {
        main->mnusupportstaff->trigger();
        analysts& w = ui::form<analysts>();
        if (!select.isEmpty())
            row(w, select);
        return w;
    }
    // Makes the member current, as clicking their row does.
    void row(analysts& w, const QString& id) {
        db::Recordset* rs = w.Adodc3->recordset();
        for (int r = 0; r < rs->rowCount(); ++r)
            if (rs->value(r, 0).toString() == id)
                return rs->moveTo(r);
        ADD_FAILURE() << "no row " << id.toStdString();
    }
    void choose(analysts& w, const QString& level) {
        const int i = w.Combo12->findText(level);
        w.Combo12->setCurrentIndex(i);
        emit w.Combo12->activated(i);
    }
    QString stored(const QString& column, const QString& id) {
        return scalar("SELECT " + column + " from Analysts where ID = '" + SQLQuote(id) + "'").toString();
    }
    QString reminder(const QString& id) { return fileText(desktop::programFolder() + "/Password-for-" + id + ".txt"); }
};

TEST_F(StaffWindow, DowngradingOneselfIsRefusedWhileAMemberAtCodeZeroCanBeSet) {
    prepareDatabase();
    addStaff("zed", "", "0");
    start("Admin");
    analysts& w = open();
    EXPECT_EQ(w.parentWidget(), main);
    choose(w, "Standard");
    EXPECT_EQ(env->dialogs.lastMessage(), "Cannot downgrade yourself from administrator!");
    EXPECT_EQ(w.Combo12->currentText(), "Administrator");
    EXPECT_EQ(stored("Spare2", "Admin"), "5");
    row(w, "zed"); // no name for "0": the combo keeps what it showed
    EXPECT_EQ(w.Combo12->currentText(), "Administrator");
    choose(w, "Basic");
    EXPECT_EQ(stored("Spare2", "zed"), "1");
    EXPECT_EQ(env->dialogs.messages.size(), 1u);
}

TEST_F(StaffWindow, NobodyDeletesThemselvesOrTheLastAdministratorAndTheLastMemberStaysAsAdministrator) {
    prepareDatabase();
    addStaff("bob", "", "1");
    addStaff("carol", "", "5");
    start("Admin");
    analysts& w = open();
    w.Command4->click();
    EXPECT_EQ(env->dialogs.messageTexts(),
              QStringList{"Cannot delete yourself! Another Administrator can remove you from the support staff."});
    exec("UPDATE Analysts SET Spare2 = '3' WHERE ID = 'Admin'"); // another copy
    row(w, "carol");
    w.Command4->click();
    EXPECT_EQ(env->dialogs.lastMessage(),
              "Cannot delete the last Administrator! Make another member Administrator first.");
    EXPECT_EQ(count("SELECT * from Analysts"), 3);

    row(w, "bob");
    env->dialogs.answer(Answer::Cancel).answer(Answer::Ok);
    w.Command4->click();
    EXPECT_EQ(env->dialogs.lastMessage(), "Are you sure you want to delete support staff: bob?");
    EXPECT_EQ(count("SELECT * from Analysts"), 3);
    w.Command4->click();
    EXPECT_EQ(count("SELECT * from Analysts"), 2);
    row(w, "Admin"); // nor does the grid's Delete key get round the checks afterwards
    pressKey(w.DataGrid3, Qt::Key_Delete);
    EXPECT_EQ(count("SELECT * from Analysts where ID = 'Admin'"), 1);

    exec("DELETE FROM Analysts WHERE ID = 'carol'");
    w.Adodc3->refresh();
    w.Command4->click();
    EXPECT_EQ(env->dialogs.lastMessage(),
              "Cannot delete all staff!  If not already the last user has been set to Administrator");
    EXPECT_EQ(count("SELECT * from Analysts"), 1);
    EXPECT_EQ(stored("Spare2", "Admin"), "5");
}

TEST_F(StaffWindow, ADeletionIsCheckedAgainstTheLevelsAnotherCopyStoredWhileItWasAsked) {
    prepareDatabase();
    addStaff("carol", "", "5");
    start("Admin");
    analysts& w = open("carol");
    env->dialogs.whileAsking = [this](const QString&) { exec("UPDATE Analysts SET Spare2 = '3' WHERE ID = 'Admin'"); };
    w.Command4->click();
    EXPECT_EQ(env->dialogs.lastMessage(),
              "Cannot delete the last Administrator! Make another member Administrator first.");
    EXPECT_EQ(count("SELECT * from Analysts where ID = 'carol' and Spare2 = '5'"), 1);
    EXPECT_EQ(w.Text9->text(), "carol");
}

// Another copy changes the staff after this copy read its list.
TEST_F(StaffWindow, ChangesAreCheckedAgainstTheStaffAsStoredWhenTheyAreMade) {
    prepareDatabase();
    addStaff("carol", "", "5");
    addStaff("bob", "old", "1");
    start("Admin");
    // carol, in another copy, sets Admin to Standard: Admin's setting her to Standard would leave no Administrator.
    analysts& w = open("carol");
    exec("UPDATE Analysts SET Spare2 = '3' WHERE ID = 'Admin'");
    choose(w, "Standard");
    EXPECT_EQ(env->dialogs.lastMessage(), "Cannot take the Administrator level from the last Administrator! Make "
                                          "another member Administrator first.");
    EXPECT_EQ(stored("Spare2", "carol") + "|" + w.Combo12->currentText(), "5|Administrator");

    // Another copy deletes bob and adds dave, who gets bob's row id.
    row(w, "bob");
    exec("DELETE FROM Analysts WHERE ID = 'bob'");
    addStaff("dave", "secret", "1");
    env->dialogs.answer(Answer::Yes);
    w.Command24->click();
    EXPECT_EQ(env->dialogs.lastMessage(), staffrules::goneText());
    EXPECT_EQ(stored("Spare1", "dave"), "secret");
    row(w, "dave"); // the list as stored now
    env->dialogs.whileAsking = [this](const QString&) {
        exec("DELETE FROM Analysts WHERE ID = 'dave'");
        addStaff("erin", "", "1");
    };
    env->dialogs.answer(Answer::Ok);
    w.Command4->click();
    EXPECT_EQ(env->dialogs.lastMessage(), staffrules::goneText());
    EXPECT_EQ(count("SELECT * from Analysts where ID = 'erin'"), 1);
}

TEST_F(StaffWindow, AListALockKeptFromBeingReadIsReadAgainBeforeTheWindowActsOnIt) {
    prepareDatabase();
    addStaff("bob", "", "1");
    start("Admin");
    PlainSqlite other(dbPath); // another copy holding the file
    ASSERT_EQ(other.exec("BEGIN EXCLUSIVE"), "");
    env->dialogs.whileAsking = [&other](const QString&) { other.exec("COMMIT"); };
    env->dialogs.answer(Answer::Yes);
    analysts& w = open();
    processEvents();
    env->dialogs.whileAsking = nullptr;
    EXPECT_TRUE(env->dialogs.lastMessage().startsWith("The support staff could not be read:\n"));
    ASSERT_TRUE(ui::isLoaded<analysts>());
    row(w, "bob");
    choose(w, "Standard");
    EXPECT_EQ(stored("Spare2", "bob"), "3");
}

TEST_F(StaffWindow, CommandsTheDatabaseRefusesAreToldShowWhatIsStoredAndLeaveNothingForALaterCommand) {
    prepareDatabase();
    addStaff("bob", "old", "1");
    start("Admin");
    analysts& w = open("bob");
    const QString why = "\nThe database '" + dbPath + "' cannot be changed: it is read-only.";
    {
        const RefusedWrites readOnly(dbPath);
        choose(w, "Standard");
        EXPECT_EQ(env->dialogs.lastMessage(), "The access level could not be stored, so it has not changed:" + why);
        EXPECT_EQ(w.Text9->text(), "bob"); // the next command is still aimed at bob
        EXPECT_EQ(w.Combo12->currentText(), "Basic");
        env->dialogs.answer(Answer::Yes);
        w.Command24->click();
        EXPECT_EQ(env->dialogs.lastMessage(), "The password could not be cleared, so it has not changed:" + why);
        EXPECT_EQ(w.Text31->text(), "old");
        EXPECT_TRUE(w.Check1->isChecked());
        env->dialogs.answer(Answer::Ok);
        w.Command4->click();
        EXPECT_EQ(env->dialogs.lastMessage(), "The member of staff could not be deleted:" + why);
        env->dialogs.type("pw").type("pw");
        w.Command15->click();
        EXPECT_EQ(env->dialogs.lastMessage(), "The password could not be stored, so it has not changed:" + why);
        EXPECT_EQ(env->dialogs.inputs.back().maxLength, 50);
    }
    // Writes go through again: a later command stores its own change only, and a name no longer than its column.
    env->dialogs.type(QString("carol").leftJustified(60, 'x'));
    w.Command3->click();
    EXPECT_EQ(count("SELECT * from Analysts where ID = '" + QString("carol").leftJustified(50, 'x') + "'"), 1);
    EXPECT_EQ(stored("Spare1", "bob"), "old");
    EXPECT_EQ(stored("Spare2", "bob"), "1");
    EXPECT_EQ(stored("Spare2", "Admin"), "5");

    // The last member left cannot be made Administrator: told, and no later command writes it.
    exec("DELETE FROM Analysts WHERE ID <> 'bob'"); // another copy
    w.Adodc3->refresh();
    env->dialogs.clear();
    {
        const RefusedWrites readOnly(dbPath);
        w.Command4->click();
    }
    EXPECT_EQ(env->dialogs.messageTexts(),
              QStringList{"Cannot delete all staff! The last member of staff could not be made Administrator:" + why});
    env->dialogs.type("dave");
    w.Command3->click();
    EXPECT_EQ(stored("Spare2", "bob"), "1");
    EXPECT_EQ(count("SELECT * from Analysts"), 2);
}

TEST_F(StaffWindow, ThePasswordFileIsSaidToBeSavedOnlyWhenItWasWritten) {
    prepareDatabase();
    addStaff("bob", "", "1");
    start("Admin");
    analysts& w = open("bob");
    QDir(desktop::programFolder()).mkdir("Password-for-bob.txt"); // the reminder file cannot be written there
    env->dialogs.type("pw").type("pw");
    w.Command15->click();
    EXPECT_EQ(stored("Spare1", "bob"), "pw");
    EXPECT_EQ(env->dialogs.messageTexts(),
              QStringList({"Passwords changed to: pw", "The text file containing your password could not be saved to "
                                                       "the application's directory (" +
                                                           desktop::programFolder() + ")."}));
}

TEST_F(StaffWindow, ANewMemberIsStandardAndLogsInWithoutAPromptButNoNameIsTakenTwice) {
    prepareDatabase();
    addStaff("Bob Smith", "", "1");
    start("Admin");
    analysts& w = open();
    env->dialogs.type("bob SMITH").type("Carol");
    w.Command3->click();
    EXPECT_EQ(env->dialogs.lastMessage(),
              "There is already a member of staff called bob SMITH. Please choose a different name.");
    w.Command3->click();
    EXPECT_EQ(w.Text9->text(), "Carol");
    EXPECT_EQ(w.Combo12->currentText(), "Standard");
    EXPECT_EQ(count("SELECT * from Analysts"), 3);
    closeMain();
    env->dialogs.clear();
    start("Carol");
    EXPECT_TRUE(env->dialogs.inputs.empty());
    EXPECT_EQ(main->accessLevel(), "Standard");
}

TEST_F(StaffWindow, MismatchedOrEmptyEntriesStoreNothing) {
    prepareDatabase();
    addStaff("bob", "old", "1");
    start("Admin");
    analysts& w = open("bob");
    env->dialogs.type("One").type("one").type("").type("new").type("");
    for (int i = 0; i < 3; ++i)
        w.Command15->click();
    EXPECT_EQ(env->dialogs.messageTexts(), QStringList{"Passwords do not match! Please start again."});
    EXPECT_TRUE(w.Label48->text().isEmpty());
    EXPECT_EQ(stored("Spare1", "bob"), "old");
    EXPECT_EQ(reminder("bob"), "<no file>");
}

TEST_F(StaffWindow, APasswordInCapitalsIsStoredShownAndSavedInLowerCaseUntilCleared) {
    prepareDatabase();
    addStaff("bob", "", "1");
    start("Admin");
    analysts& w = open("bob");
    env->dialogs.type("SeCret").type("SeCret");
    w.Command15->click();
    EXPECT_TRUE(env->dialogs.inputs.at(0).password && env->dialogs.inputs.at(1).password);
    EXPECT_EQ(stored("Spare1", "bob"), "secret");
    EXPECT_EQ(env->dialogs.messages.at(0).text, "Passwords changed to: secret");
    EXPECT_EQ(reminder("bob"), "The current password for bob is: secret\r\n");
    EXPECT_TRUE(w.Check1->isChecked());
    env->dialogs.answer(Answer::Yes);
    w.Command24->click();
    EXPECT_EQ(env->dialogs.lastMessage(), "Password has been cleared");
    EXPECT_EQ(stored("Spare1", "bob"), "None");
    EXPECT_FALSE(w.Check1->isChecked());
    EXPECT_EQ(w.Text9->text(), "bob");
}

TEST_F(StaffWindow, ANameAndPasswordWithApostrophesAreStoredAndFoundIntact) {
    prepareDatabase();
    addStaff("O'Brien", "", "1");
    addStaff("a*", "", "1");
    addStaff("ab", "", "1");
    start("Admin");
    analysts& w = open("O'Brien");
    choose(w, "Standard");
    row(w, "O'Brien");
    env->dialogs.type("It's").type("It's");
    w.Command15->click();
    EXPECT_EQ(reminder("O'Brien"), "The current password for O'Brien is: it's\r\n");
    row(w, "a*"); // a pattern character reaches no other row
    choose(w, "Administrator");
    EXPECT_EQ(stored("Spare2", "ab"), "1");
    closeMain();
    env->dialogs.clear();
    env->dialogs.type("IT'S");
    start("O'Brien");
    EXPECT_EQ(main->currentanalyst, "O'Brien");
    EXPECT_EQ(main->accessLevel(), "Standard");
}

TEST_F(StaffWindow, OwnPasswordGoesThroughTheHiddenStaffWindow) {
    prepareDatabase();
    addStaff("amy", "", "3");
    start("amy");
    env->dialogs.type("NewOne").type("NewOne");
    main->mnuchangepass->trigger();
    EXPECT_FALSE(ui::form<analysts>().isVisible());
    EXPECT_EQ(ui::form<analysts>().Label48->text(), "NewOne");
    EXPECT_EQ(stored("Spare1", "amy"), "newone");
    EXPECT_EQ(reminder("amy"), "The current password for amy is: newone\r\n");
    // Deleted meanwhile: not reported as changed.
    exec("DELETE FROM Analysts WHERE ID = 'amy'");
    env->dialogs.clear();
    env->dialogs.type("pw").type("pw");
    main->mnuchangepass->trigger();
    EXPECT_EQ(env->dialogs.messageTexts(), QStringList{"That member of staff is no longer in the staff list."});
}

} // namespace

namespace {

class StaffWindowFit : public StaffWindow, public ::testing::WithParamInterface<QString> {};

} // namespace

TEST_P(StaffWindowFit, KeepsWithinTheScreenWithALongNameAndLargeFonts) {
    const QString family = GetParam();
    const LargeFonts fonts(*env, family);
    prepareDatabase();
    const QString id = QString("MAINTENANCE CONTRACTOR, WEST WING ").repeated(2).left(50); // the most it takes
    addStaff(id, "", "3");
    start();
    analysts& w = open(id);
    processEvents();
    EXPECT_EQ(w.Text9->text(), id);
    EXPECT_TRUE(showsStart(w.Text9));
    expectFits(w, env->screen.size, family.toStdString(), {w.DataGrid3, w.Text9, w.Combo12, w.Check1});
}

INSTANTIATE_TEST_SUITE_P(Families, StaffWindowFit, ::testing::ValuesIn(fitFamilies()));

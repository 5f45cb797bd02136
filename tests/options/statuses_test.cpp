#include "mainwindow/form1.h"
#include "options/statuses.h"
#include "options/statusrules.h"
#include "options/themes.h"
#include "platform/db/database.h"
#include "platform/widgets/forms.h"
#include "support/fontfit.h"
#include "support/input.h"
#include "support/mainwindowfixture.h"
#include "support/plainsqlite.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>

namespace {

QStringList texts(const QListWidget* list) {
    QStringList all;
    for (int i = 0; i < list->count(); ++i)
        all << list->item(i)->text();
    return all;
}

class StatusEditor : public MainWindowTest {
protected:
    Statuses& open() {
        main->mnuthemes->trigger();
        ui::form<themes>().mnustatus->trigger();
        return ui::form<Statuses>();
    }
    void select(Statuses& s, const QString& status) { s.List1->setCurrentRow(texts(s.List1).indexOf(status)); }
    QStringList stored(const QString& column) {
        QStringList all;
        auto rs = db::Database::open(dbPath).openRecordset("SELECT " + column + " from Settings");
        for (; !rs->eof(); rs->moveNext())
            all << rs->field(0).toString();
        return all;
    }
};

TEST_F(StatusEditor, ColoursStayWithTheirStatusesThroughKeyboardMovesAddsAndDeletes) {
    start();
    Statuses& s = open();
    EXPECT_EQ(s.parentWidget(), &ui::form<themes>());
    EXPECT_EQ(texts(s.List1), (QStringList{"Open", "Urgent", "Pending", "Awaiting Customer", "Closed"}));
    EXPECT_EQ(texts(s.List3), (QStringList{"---", "13158655", "13172735", "16769480", "14474460"}));
    EXPECT_EQ(texts(s.List2).size(), 6);

    // Chosen by keyboard, "Urgent" moves down with its colour.
    s.List1->setFocus();
    s.List1->setCurrentRow(0);
    pressKey(s.List1, Qt::Key_Down);
    ASSERT_EQ(s.List1->currentRow(), 1);
    s.Command5->click();
    EXPECT_EQ(texts(s.List1).mid(1, 2), (QStringList{"Pending", "Urgent"}));
    EXPECT_EQ(texts(s.List3).mid(1, 2), (QStringList{"13172735", "13158655"}));
    EXPECT_EQ(s.List1->currentRow(), 2);
    EXPECT_EQ(s.List3->currentRow(), 2);

    // A new status has no colour; the colour commands act on the status list's row even right after adding.
    s.Text1->setText("Tom's");
    s.Command3->click();
    select(s, "Tom's");
    EXPECT_EQ(s.List3->currentRow(), 5);
    env->dialogs.chooseColourNext(QColor(255, 0, 0));
    s.mnusc->trigger();
    EXPECT_EQ(s.List3->item(5)->text(), "255");
    select(s, "Open");
    env->dialogs.chooseColourNext(std::nullopt); // Cancel keeps the colour
    s.mnusc->trigger();
    env->dialogs.chooseColourNext(QColor(0, 0, 0)); // black reads as no choice
    s.mnusc->trigger();
    EXPECT_EQ(s.List3->item(0)->text(), "---");
    select(s, "Pending");
    s.mnucc->trigger();
    EXPECT_EQ(s.List3->item(1)->text(), "---");

    // The first item does not move up; "Closed" and "Urgent" stay; a deleted status takes its colour along.
    select(s, "Open");
    s.Command4->click();
    EXPECT_EQ(texts(s.List1).first(), "Open");
    for (const char* fixed : {"Closed", "Urgent"}) {
        select(s, fixed);
        s.Command1->click();
        EXPECT_EQ(env->dialogs.lastMessage(), QStringLiteral("Cannot remove '%1' status").arg(fixed));
    }
    select(s, "Pending");
    s.Command1->click();
    EXPECT_EQ(texts(s.List1), (QStringList{"Open", "Urgent", "Awaiting Customer", "Closed", "Tom's"}));
    EXPECT_EQ(texts(s.List3), (QStringList{"---", "13158655", "16769480", "14474460", "255"}));
    select(s, "Open");
    s.Command1->click();
    select(s, "Awaiting Customer");
    s.Command1->click();
    EXPECT_EQ(env->dialogs.lastMessage(), "At least 4 levels must exist.");
    EXPECT_EQ(texts(s.List1).size(), 4);

    for (int i = 0; i < 3; ++i) {
        s.List2->setCurrentRow(0);
        s.Command8->click();
    }
    EXPECT_EQ(texts(s.List2), (QStringList{"Printing", "E-mail", "Other"}));
    s.Command8->click();
    EXPECT_EQ(env->dialogs.lastMessage(), "At least 3 Categories must exist.");
    s.List2->setCurrentRow(2);
    s.Command6->click(); // the last does not move down
    EXPECT_EQ(texts(s.List2).last(), "Other");
    s.Command7->click();
    EXPECT_EQ(texts(s.List2), (QStringList{"Printing", "Other", "E-mail"}));
}

TEST_F(StatusEditor, OkayStoresBothListsKeepsTheTitlesAndTheMainWindowTakesThemAtTheNextStart) {
    prepareDatabase();
    exec("UPDATE Settings SET Value11 = 'Kind, Make, Serial, Notes, Spare, Owner, Warranty, More' where Status = "
         "'Open'");
    start();
    Statuses& s = open();
    select(s, "Closed");
    s.Command4->click();
    s.Command4->click();
    s.Command4->click();
    s.Command4->click();
    s.Command9->click();
    EXPECT_EQ(env->dialogs.lastMessage(), "Closed cannot be the first status item!");
    EXPECT_TRUE(ui::isLoaded<Statuses>());
    EXPECT_EQ(stored("Status").first(), "Open");

    select(s, "Urgent");
    s.Command4->click();
    s.Command4->click();
    s.Text2->setText("O'Neill's printers");
    s.Command10->click();
    env->dialogs.clear();
    s.Command9->click();
    EXPECT_EQ(env->dialogs.lastMessage(), "A Restart is required before any changes take effect.");
    processEvents();
    EXPECT_FALSE(ui::isLoaded<Statuses>());
    EXPECT_EQ(stored("Status"), (QStringList{"Urgent", "Closed", "Open", "Pending", "Awaiting Customer", "", ""}));
    EXPECT_EQ(stored("ColourFld").mid(0, 3), (QStringList{"13158655", "14474460", "---"}));
    EXPECT_EQ(stored("Category").last(), "O'Neill's printers");
    EXPECT_EQ(stored("Value11").first(), "Kind, Make, Serial, Notes, Spare, Owner, Warranty, More");
    EXPECT_EQ(main->statuses.first(), "Open"); // the running window keeps its lists

    closeMain();
    start();
    EXPECT_EQ(main->statuses, (QStringList{"Urgent", "Closed", "Open", "Pending", "Awaiting Customer"}));
    EXPECT_EQ(main->statustable[1][0], "Closed");
    EXPECT_EQ(main->statustable[1][1], "14474460");
    EXPECT_EQ(main->Combo13->itemText(main->Combo13->count() - 1), "O'Neill's printers");
}

TEST_F(StatusEditor, AStoreTheDatabaseRefusesKeepsTheWindowTheListsAndTheTable) {
    prepareDatabase();
    {
        auto database = db::Database::open(dbPath);
        database.connection().exec("CREATE TRIGGER refuse BEFORE INSERT ON Settings WHEN NEW.Category = 'Boom' "
                                   "BEGIN SELECT RAISE(ABORT, 'refused'); END");
    }
    start();
    Statuses& s = open();
    // Typing past the column's size is refused as it is typed.
    typeText(s.Text1, QString(51, QLatin1Char('a')));
    EXPECT_EQ(s.Text1->text(), QString(50, QLatin1Char('a')));
    EXPECT_EQ(env->dialogs.lastMessage(), "A status can be at most 50 characters long.");
    s.Text2->setText("Boom");
    s.Command10->click();
    s.Command9->click();
    EXPECT_TRUE(env->dialogs.lastMessage().startsWith("The statuses and categories could not be stored"));
    EXPECT_FALSE(env->dialogs.shown("A Restart is required before any changes take effect."));
    processEvents();
    ASSERT_TRUE(ui::isLoaded<Statuses>());
    EXPECT_EQ(texts(s.List2).last(), "Boom");
    EXPECT_EQ(stored("Category"), (QStringList{"Hardware", "Software", "Network", "Printing", "E-mail", "Other"}));
}

TEST_F(StatusEditor, OkayPutsThisWindowsChangesOntoAnotherCopysAndTellsWhatClashes) {
    start();
    Statuses& s = open();
    s.Text2->setText("Training");
    s.Command10->click();
    select(s, "Pending");
    s.Command1->click();
    // Meanwhile another copy adds a status and removes a category.
    exec("INSERT INTO Settings (Status, ColourFld) VALUES ('Parts Ordered', '65280')");
    exec("UPDATE Settings SET Category = NULL WHERE Category = 'E-mail'");
    s.Command9->click();
    EXPECT_EQ(env->dialogs.lastMessage(), "A Restart is required before any changes take effect.");
    statusrules::Lists now = statusrules::read(dbPath);
    EXPECT_EQ(now.statuses, (QStringList{"Open", "Urgent", "Awaiting Customer", "Closed", "Parts Ordered"}));
    EXPECT_EQ(now.colours, (QStringList{"---", "13158655", "16769480", "14474460", "65280"}));
    EXPECT_EQ(now.categories, (QStringList{"Hardware", "Software", "Network", "Printing", "Other", "Training"}));
    processEvents();

    // Both copies colour one status apart: nothing is stored, and the window shows the lists as stored.
    Statuses& t = open();
    select(t, "Urgent");
    env->dialogs.chooseColourNext(QColor(0, 0, 255));
    t.mnusc->trigger();
    exec("UPDATE Settings SET ColourFld = '65535' WHERE Status = 'Urgent'");
    t.Command9->click();
    EXPECT_TRUE(env->dialogs.lastMessage().startsWith("Another copy of Quorvane has changed the statuses"));
    processEvents();
    ASSERT_TRUE(ui::isLoaded<Statuses>());
    EXPECT_EQ(texts(t.List3), statusrules::read(dbPath).colours);
    EXPECT_EQ(texts(t.List3).at(1), "65535");
}

TEST_F(StatusEditor, ListsALockKeptFromBeingReadAreNeitherShownNorStored) {
    start();
    PlainSqlite other(dbPath); // another copy holding the file
    ASSERT_EQ(other.exec("BEGIN EXCLUSIVE"), "");
    env->dialogs.answer(ui::Answer::No);
    main->mnuthemes->trigger();
    ui::form<themes>().mnustatus->trigger();
    processEvents();
    EXPECT_TRUE(env->dialogs.lastMessage().startsWith("The statuses and categories could not be read:\n"));
    EXPECT_FALSE(ui::isLoaded<Statuses>());
}

TEST_F(StatusEditor, BlankOrAlreadyListedStatusesAndCategoriesAreRefusedAndTheListsStayAsTheyWere) {
    start();
    Statuses& s = open();
    const QStringList statuses = texts(s.List1), colours = texts(s.List3), categories = texts(s.List2);
    for (const char* typed : {"   ", "Open", " awaiting CUSTOMER "}) {
        s.Text1->setText(typed);
        s.Command3->click();
    }
    for (const char* typed : {"printing", "\t"}) {
        s.Text2->setText(typed);
        s.Command10->click();
    }
    EXPECT_EQ(env->dialogs.messageTexts(), QStringList({"A blank status cannot be added. Please type its name.",
                                                        "The status 'Open' is already in the list.",
                                                        "The status 'Awaiting Customer' is already in the list.",
                                                        "The category 'Printing' is already in the list.",
                                                        "A blank category cannot be added. Please type its name."}));
    EXPECT_EQ(texts(s.List1), statuses);
    EXPECT_EQ(texts(s.List3), colours);
    EXPECT_EQ(texts(s.List2), categories);
    s.Text2->setText("Printers");
    s.Command10->click();
    EXPECT_EQ(texts(s.List2), categories + QStringList{"Printers"});
}

TEST_F(StatusEditor, AnOpenEditorOutlivesTheOptionsWindowThatOpenedIt) {
    start();
    Statuses& s = open();
    s.Text1->setText("Parked");
    s.Command3->click();
    ui::form<themes>().Command2->click();
    processEvents();
    EXPECT_FALSE(ui::isLoaded<themes>());
    ASSERT_TRUE(ui::isLoaded<Statuses>());
    EXPECT_EQ(s.parentWidget(), main);
    EXPECT_EQ(texts(s.List1).last(), "Parked");
}

} // namespace

namespace {

class StatusEditorFit : public StatusEditor, public ::testing::WithParamInterface<QString> {};

} // namespace

TEST_P(StatusEditorFit, LongNamesAreCutInTheListsWithTheWholeNameInTheirTooltips) {
    const QString family = GetParam();
    const LargeFonts fonts(*env, family);
    start();
    Statuses& s = open();
    // Fifty capitals, the most a name takes, are wider than the lists.
    const QString status = QString("WAITING FOR THE SUPPLIER TO RING BACK ").repeated(2).left(50);
    const QString category = QString("MAINTENANCE WORKSHOP, WEST WING ").repeated(2).left(50);
    s.Text1->setText(status);
    s.Command3->click();
    s.Text2->setText(category);
    s.Command10->click();
    processEvents();
    expectFits(s, env->screen.size, family.toStdString(), {s.List1, s.List3, s.List2, s.Text1, s.Text2, s.Image1});

    for (QListWidget* list : {s.List1, s.List2}) {
        QListWidgetItem* added = list->item(list->count() - 1);
        EXPECT_EQ(added->toolTip(), added->text());
        const int width = list->visualItemRect(added).width();
        EXPECT_LE(width, list->viewport()->width()) << list->objectName().toStdString();
        EXPECT_LT(width, list->fontMetrics().horizontalAdvance(added->text())) << "the name shows cut";
        EXPECT_FALSE(list->horizontalScrollBar()->isVisible());
    }
    EXPECT_EQ(s.List1->item(0)->toolTip(), "Open");
    // Moved, a cut name keeps its whole text and its colour.
    const int last = s.List1->count() - 1;
    s.List1->setCurrentRow(last);
    s.Command4->click();
    EXPECT_EQ(s.List1->item(last - 1)->toolTip(), status);
    EXPECT_EQ(s.lists().statuses.at(last - 1), status);
    EXPECT_EQ(s.lists().colours.at(last - 1), "---");
}

INSTANTIATE_TEST_SUITE_P(Families, StatusEditorFit, ::testing::ValuesIn(fitFamilies()));

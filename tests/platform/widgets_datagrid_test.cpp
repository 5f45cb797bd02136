#include "support/input.h"
#include "support/testenv.h"

#include "platform/db/database.h"
#include "platform/db/datacontrol.h"
#include "platform/db/recordset.h"
#include "platform/widgets/binding.h"
#include "platform/widgets/datagrid.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <gtest/gtest.h>

using ui::DataGrid;

namespace {

// Three customers on a fresh file, read through a data control as the windows do.
class DataGridTest : public ::testing::Test {
protected:
    void SetUp() override {
        path = env.path("customers.qvdb");
        auto d = db::Database::create(path);
        d.execute("CREATE TABLE Customers (Name text(50), Username text(10), Location text(50))");
        d.execute("INSERT INTO Customers VALUES ('Ann Archer', 'AA1', 'Leeds')");
        d.execute("INSERT INTO Customers VALUES ('Bob Brown', 'BB2', NULL)");
        d.execute("INSERT INTO Customers VALUES ('Cy Cole', 'CC3', 'York')");
        dc.setConnectionString(db::DataControl::connectionStringFor(path));
        dc.setRecordSource("Select * from Customers ORDER by Name");
        dc.refresh();
    }

    QStringList stored(const QString& column) {
        QStringList out;
        auto rs = db::Database::open(path).openRecordset("SELECT " + column + " FROM Customers ORDER BY Name");
        for (; !rs->eof(); rs->moveNext())
            out << rs->field(0).toString();
        return out;
    }

    db::Recordset& rs() { return *dc.recordset(); }

    TestEnv env;
    QString path;
    db::DataControl dc;
};

} // namespace

TEST_F(DataGridTest, CurrentRowFollowsTheRecordsetAndTheUserBothWaysThroughRefreshes) {
    DataGrid grid;
    int changes = 0;
    QObject::connect(&grid, &DataGrid::rowColChange, [&] { ++changes; });
    grid.setDataSource(&dc);
    EXPECT_EQ(grid.currentIndex().row(), 0);
    EXPECT_EQ(grid.columnText(0), "Ann Archer");

    rs().moveTo(2);
    EXPECT_EQ(grid.currentIndex().row(), 2);
    EXPECT_EQ(grid.columnText(1), "CC3");

    grid.setCurrentIndex(grid.model()->index(1, 2));
    EXPECT_EQ(rs().absolutePosition(), 1);
    EXPECT_EQ(grid.columnText(0), "Bob Brown");
    EXPECT_EQ(grid.columnText(2), ""); // Null
    EXPECT_GE(changes, 3);

    rs().moveTo(rs().recordCount()); // EOF
    EXPECT_FALSE(grid.currentIndex().isValid());
    EXPECT_EQ(grid.columnText(0), "");

    dc.setRecordSource("Select * from Customers where Username <> 'AA1' ORDER by Name");
    dc.refresh();
    EXPECT_EQ(grid.approxCount(), 2);
    EXPECT_EQ(grid.currentIndex().row(), rs().absolutePosition());
    grid.setCurrentIndex(grid.model()->index(1, 0));
    EXPECT_EQ(rs().field("Name").toString(), "Cy Cole");
}

TEST_F(DataGridTest, InPlaceEditsAreStoredOnlyWhenUpdatesAreAllowed) {
    DataGrid grid;
    grid.setDataSource(&dc);
    const QModelIndex bob = grid.model()->index(1, 2);
    EXPECT_FALSE(grid.model()->flags(bob) & Qt::ItemIsEditable);
    EXPECT_FALSE(grid.model()->setData(bob, "Hull"));

    grid.setAllowUpdate(true);
    ASSERT_TRUE(grid.model()->flags(bob) & Qt::ItemIsEditable);
    EXPECT_TRUE(grid.model()->setData(bob, "Hull"));
    EXPECT_EQ(stored("Location"), QStringList({"Leeds", "Hull", "York"}));
    EXPECT_EQ(grid.model()->data(bob).toString(), "Hull");

    // A text too long for the column is refused with a message and the stored row stays as it was.
    EXPECT_FALSE(grid.model()->setData(grid.model()->index(0, 1), "MUCH-TOO-LONG-REF"));
    EXPECT_EQ(env.dialogs.messages.size(), 1u);
    EXPECT_EQ(stored("Username"), QStringList({"AA1", "BB2", "CC3"}));
    EXPECT_EQ(rs().editMode(), db::Recordset::EditMode::None);
}

TEST_F(DataGridTest, DeleteKeyRemovesTheCurrentRowOnlyWhenDeletionIsAllowed) {
    DataGrid grid;
    grid.setDataSource(&dc);
    grid.setCurrentIndex(grid.model()->index(1, 0));
    pressKey(&grid, Qt::Key_Delete);
    EXPECT_EQ(stored("Name").size(), 3);
    EXPECT_EQ(grid.approxCount(), 3);

    grid.setAllowDelete(true);
    pressKey(&grid, Qt::Key_Delete);
    EXPECT_EQ(stored("Name"), QStringList({"Ann Archer", "Cy Cole"}));
    EXPECT_EQ(grid.model()->rowCount(), 2);
    // The row after the deleted one is current in both.
    EXPECT_EQ(rs().field("Name").toString(), "Cy Cole");
    EXPECT_EQ(grid.currentIndex().row(), 1);
}

TEST_F(DataGridTest, NamedColumnsKeepTheirLayoutAndShowNothingForAMissingField) {
    DataGrid grid;
    grid.setFont(QFont("Arial", 10)); // the font the widths are laid out for
    grid.setColumnFields({"Username", "Missing", "Name"});
    grid.setDataSource(&dc);
    grid.setColumnCaption(0, "Reference");
    grid.setColumnVisible(1, false);
    grid.setColumnWidth(2, 3000);
    EXPECT_EQ(grid.columnCount(), 3);
    EXPECT_EQ(grid.model()->headerData(0, Qt::Horizontal).toString(), "Reference");
    EXPECT_EQ(grid.columnCaption(2), "Name");
    EXPECT_EQ(grid.columnText(1), "");
    EXPECT_EQ(grid.model()->data(grid.model()->index(0, 2)).toString(), "Ann Archer");

    dc.setRecordSource("Select Name from Customers");
    dc.refresh();
    EXPECT_TRUE(grid.isColumnHidden(1));
    EXPECT_EQ(grid.columnWidth(2), 3000);
    EXPECT_EQ(grid.QTableView::columnWidth(2), 200);
    EXPECT_EQ(grid.columnText(0), "");
    EXPECT_EQ(grid.columnText(2), "Ann Archer");
}

TEST_F(DataGridTest, BoundBoxesFollowEveryMoveAndRefresh) {
    QLineEdit name;
    QLabel ref;
    QPlainTextEdit location;
    ui::bindField(&name, &dc, "Name");
    ui::bindField(&ref, &dc, "username");
    ui::bindField(&location, &dc, "Location");
    EXPECT_EQ(name.text(), "Ann Archer");
    EXPECT_EQ(ref.text(), "AA1");
    EXPECT_EQ(location.toPlainText(), "Leeds");

    rs().moveNext();
    EXPECT_EQ(name.text(), "Bob Brown");
    EXPECT_EQ(location.toPlainText(), ""); // Null
    rs().moveLast();
    rs().moveNext(); // EOF
    EXPECT_EQ(name.text(), "");

    dc.setRecordSource("Select Name from Customers where Username = 'CC3'");
    dc.refresh();
    EXPECT_EQ(name.text(), "Cy Cole");
    EXPECT_EQ(ref.text(), ""); // the query lacks the field

    ui::unbindField(&name);
    dc.setRecordSource("Select * from Customers ORDER by Name");
    dc.refresh();
    EXPECT_EQ(name.text(), "Cy Cole");
    EXPECT_EQ(ref.text(), "AA1");
}

TEST_F(DataGridTest, TypingIntoBoundBoxesEditsTheRowWhichIsStoredOnLeavingIt) {
    DataGrid grid;
    grid.setDataSource(&dc);
    QLineEdit name;
    QPlainTextEdit location;
    QComboBox ref;
    ref.setEditable(true);
    ui::bindField(&name, &dc, "Name");
    ui::bindField(&location, &dc, "Location");
    ui::bindField(&ref, &dc, "Username");

    name.setCursorPosition(name.text().size());
    typeText(&name, "e");
    location.selectAll();
    typeText(&location, "Ripon");
    ref.lineEdit()->selectAll();
    typeText(ref.lineEdit(), "AX9");
    EXPECT_EQ(rs().editMode(), db::Recordset::EditMode::Edit);
    EXPECT_EQ(name.text(), "Ann Archere"); // not overwritten by its own edit
    EXPECT_EQ(stored("Name").first(), "Ann Archer");

    // The user moves to the next row in the grid: the edited row is stored.
    grid.setCurrentIndex(grid.model()->index(1, 0));
    EXPECT_EQ(stored("Name").first(), "Ann Archere");
    EXPECT_EQ(stored("Location").first(), "Ripon");
    EXPECT_EQ(stored("Username").first(), "AX9");
    EXPECT_EQ(name.text(), "Bob Brown");
    EXPECT_EQ(ref.currentText(), "BB2");

    // At EOF typing changes nothing.
    rs().moveTo(rs().recordCount());
    typeText(&name, "x");
    EXPECT_EQ(rs().editMode(), db::Recordset::EditMode::None);
}

TEST_F(DataGridTest, ACellOpenedForEditingShowsTheStartOfALongTextWithAllOfItSelected) {
    const QString town = "Kingston upon Hull, East Riding of Yorkshire";
    rs().moveTo(1);
    rs().setField("Location", town);
    rs().update();
    DataGrid grid;
    grid.setDataSource(&dc);
    grid.setAllowUpdate(true);
    grid.setColumnWidth(2, 900); // far narrower than the text
    grid.show();
    const QModelIndex cell = grid.model()->index(1, 2);
    grid.setCurrentIndex(cell);
    grid.edit(cell);
    processEvents();
    auto* editor = grid.findChild<QLineEdit*>();
    ASSERT_TRUE(editor);
    EXPECT_EQ(editor->text(), town);
    EXPECT_EQ(editor->selectedText(), town); // typing still replaces the whole text
    EXPECT_EQ(editor->cursorPosition(), 0);
}

TEST_F(DataGridTest, ACellEditorTakesNoMoreThanItsFieldSoWhatIsTypedIsStored) {
    DataGrid grid;
    grid.setDataSource(&dc);
    grid.setAllowUpdate(true);
    grid.show();
    const QModelIndex ref = grid.model()->index(0, 1);
    grid.setCurrentIndex(ref);
    grid.edit(ref);
    processEvents();
    auto* editor = grid.findChild<QLineEdit*>();
    ASSERT_TRUE(editor);
    editor->selectAll();
    typeText(editor, "MUCH-TOO-LONG-REF");
    EXPECT_EQ(editor->text(), "MUCH-TOO-L");
    pressKey(editor, Qt::Key_Return);
    processEvents();
    EXPECT_TRUE(env.dialogs.messages.empty());
    EXPECT_EQ(stored("Username").first(), "MUCH-TOO-L");
}

#include "db_fixture.h"

#include "platform/db/connection.h"
#include "platform/db/datacontrol.h"
#include "platform/db/recordsetmodel.h"

#include <QFile>
#include <algorithm>
#include <functional>

class RecordsetTest : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        database.execute("CREATE TABLE Notes ([ID] COUNTER, [Call] Long, [Note] Memo, [Analyst] text(5), "
                         "[Note-date] DateTime)");
        database.execute("INSERT INTO Notes ([Call], [Note], [Analyst]) VALUES (1, 'first', 'amy')");
        database.execute("INSERT INTO Notes ([Call], [Note], [Analyst]) VALUES (1, '', NULL)");
        database.execute("INSERT INTO Notes ([Call], [Note], [Analyst]) VALUES (2, 'other call', 'bob')");
    }
};

TEST_F(RecordsetTest, NavigatesWithExactCountAndKeepsNullApartFromEmpty) {
    auto rs = database.openRecordset("Select * from Notes where Call = 1");
    EXPECT_EQ(rs->recordCount(), 2);
    EXPECT_FALSE(rs->bof());
    EXPECT_EQ(rs->field("note").toString(), "first");
    EXPECT_EQ(rs->field(3).toString(), "amy");
    rs->moveNext();
    EXPECT_TRUE(db::isNull(rs->field("Analyst")));
    EXPECT_FALSE(db::isNull(rs->field("Note")));
    EXPECT_EQ(rs->field("Note").toString(), "");
    rs->moveNext();
    EXPECT_TRUE(rs->eof());
    EXPECT_THROW(rs->field(0), db::DbError);
    EXPECT_THROW(rs->moveNext(), db::DbError);
    rs->movePrevious();
    rs->movePrevious();
    rs->movePrevious();
    EXPECT_TRUE(rs->bof());
    auto empty = database.openRecordset("Select * from Notes where Call = 99");
    EXPECT_TRUE(empty->bof() && empty->eof());
    EXPECT_EQ(empty->recordCount(), 0);
    EXPECT_THROW(empty->moveFirst(), db::DbError);
}

TEST_F(RecordsetTest, AddNewGetsANumberThatIsNeverReused) {
    auto rs = database.openRecordset("SELECT * from Notes where Call = 7");
    rs->addNew();
    rs->setField("Call", 7);
    rs->setField("Note", "new");
    rs->update();
    const int first = rs->field("ID").toInt();
    EXPECT_EQ(first, 4);
    rs->deleteCurrent();
    rs->addNew();
    rs->setField("Call", 7);
    rs->update();
    EXPECT_GT(rs->field("ID").toInt(), first);
    EXPECT_EQ(count("SELECT * from Notes where Call = 7"), 1);
}

TEST_F(RecordsetTest, EditUpdateCancelAndDeleteOnAFilteredQuery) {
    auto rs = database.openRecordset("SELECT Note, Analyst from Notes where Analyst = 'BOB'");
    ASSERT_EQ(rs->recordCount(), 1);
    rs->edit();
    rs->setField("Note", "changed");
    rs->cancelUpdate();
    EXPECT_EQ(rs->field("Note").toString(), "other call");
    rs->edit();
    rs->setField("Note", "it's changed");
    rs->update();
    EXPECT_EQ(column("SELECT Note from Notes where Call = 2"), QStringList{"it's changed"});
    rs->deleteCurrent();
    EXPECT_EQ(count("SELECT * from Notes"), 2);
    // An added row that is cancelled leaves nothing behind.
    rs->addNew();
    rs->setField("Note", "gone");
    rs->cancelUpdate();
    EXPECT_EQ(count("SELECT * from Notes"), 2);
}

TEST_F(RecordsetTest, RefusesWhatJetRefuses) {
    auto grouped = database.openRecordset("SELECT Call, count(1) as n from Notes GROUP BY Call");
    EXPECT_FALSE(grouped->isUpdatable());
    EXPECT_THROW(grouped->edit(), db::DbError);
    auto rs = database.openRecordset("SELECT * from Notes");
    rs->edit();
    // Analyst is text(5): a longer value is refused, on the recordset and through SQL alike.
    EXPECT_THROW(rs->setField("Analyst", "toolong"), db::DbError);
    EXPECT_THROW(database.execute("UPDATE Notes SET Analyst = 'toolong'"), db::DbError);
    EXPECT_THROW(rs->setField("Note-date", "not a date"), db::DbError);
    rs->setField("Note-date", "06/12/2026");
    rs->update();
    EXPECT_EQ(rs->field("Note-date").toDate(), QDate(2026, 12, 6));
}

TEST_F(RecordsetTest, RequeryAndASecondConnectionSeeEachOthersCommits) {
    auto rs = database.openRecordset("SELECT * from Notes");
    // Another running copy has its own handle on the file.
    db::Connection other(path);
    other.exec("INSERT INTO Notes ([Call], [Note]) VALUES (3, 'from elsewhere')");
    EXPECT_EQ(rs->recordCount(), 3);
    rs->requery();
    EXPECT_EQ(rs->recordCount(), 4);
    // A fresh open by path sees it at once, and a write here is visible there while it reads.
    EXPECT_EQ(count("SELECT * from Notes where Call = 3"), 1);
    database.execute("DELETE FROM Notes WHERE Call = 3");
    db::Statement st(other, "SELECT count(*) FROM Notes");
    ASSERT_TRUE(st.step());
    EXPECT_EQ(st.column(0).toInt(), 3);
}

TEST_F(RecordsetTest, ARequeryThatFailsPartWayKeepsEachRowWithItsOwnRecord) {
    auto rs = database.openRecordset("SELECT ID, Note, abs(Call) AS C FROM Notes ORDER BY ID");
    ASSERT_EQ(rs->recordCount(), 3);
    // Another copy deletes the first call and leaves a value the query cannot read on the third.
    db::Connection other(path);
    other.exec("DELETE FROM Notes WHERE ID = 1");
    other.exec("UPDATE Notes SET Call = -9223372036854775808 WHERE ID = 3");
    int resets = 0;
    QObject::connect(rs.get(), &db::Recordset::reset, [&resets] { ++resets; });
    EXPECT_THROW(rs->requery(), db::DbError);
    // Grids showing the recordset learn that its rows changed.
    EXPECT_EQ(resets, 1);
    EXPECT_LT(rs->absolutePosition(), std::max(rs->recordCount(), 1));
    // Whatever rows are left, an edit of one changes the record it shows.
    for (int row = 0; row < rs->recordCount(); ++row) {
        const int id = rs->value(row, 0).toInt();
        rs->setValue(row, 1, QStringLiteral("edited %1").arg(id));
        EXPECT_EQ(column(QStringLiteral("SELECT Note FROM Notes WHERE ID = %1").arg(id)),
                  QStringList{QStringLiteral("edited %1").arg(id)});
    }
    EXPECT_EQ(column("SELECT Note FROM Notes ORDER BY ID"), QStringList({"edited 2", "other call"}));
}

TEST_F(RecordsetTest, TransactionRollsBackUnlessCommitted) {
    {
        db::Transaction tx(database.connection());
        database.execute("DELETE FROM Notes");
    }
    EXPECT_EQ(count("SELECT * from Notes"), 3);
}

TEST_F(RecordsetTest, FilesThatCannotBeUsedGiveErrorsNotCrashes) {
    EXPECT_THROW(db::Database::open(dir.filePath("missing.qvdb")), db::DbError);
    QFile junk(dir.filePath("junk.qvdb"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(4096, 'x'));
    junk.close();
    try {
        db::Database::open(junk.fileName());
        FAIL() << "a file that is not a database opened";
    } catch (const db::DbError& e) {
        EXPECT_TRUE(e.isNotADatabase());
    }
    EXPECT_EQ(QFile(junk.fileName()).size(), 4096); // untouched
}

TEST_F(RecordsetTest, DataControlTakesTheJetConnectionTextAndStoresOnMove) {
    db::DataControl dc;
    dc.setConnectionString(db::DataControl::connectionStringFor(path));
    EXPECT_EQ(dc.databasePath(), path);
    dc.setRecordSource("SELECT * from Notes where Call = 1");
    dc.refresh();
    db::RecordsetModel model(&dc);
    EXPECT_EQ(model.rowCount(), 2);
    db::Recordset* rs = dc.recordset();
    rs->setField("Note", "edited in place");
    rs->moveNext(); // moving off an edited row stores it
    EXPECT_EQ(column("SELECT Note from Notes where ID = 1"), QStringList{"edited in place"});
    // ADO's Find, with apostrophes and wildcards, from the current row on.
    rs->moveFirst();
    EXPECT_TRUE(rs->find("Analyst LIKE 'a%'"));
    EXPECT_EQ(rs->absolutePosition(), 0);
    EXPECT_FALSE(rs->find("Note = 'nothing''s here'"));
    EXPECT_TRUE(rs->eof());
    dc.setRecordSource("SELECT * from Notes");
    dc.refresh();
    EXPECT_EQ(model.rowCount(), 3);
}

// Another copy of the program writes the same file between this copy's read and its write.
class TwoCopiesRecordset : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        database.execute("CREATE TABLE People ([Name] text(50), [Username] text(20), [Extension] text(20))");
        database.execute("INSERT INTO People VALUES ('Ann', 'ann', '1')");
        database.execute("INSERT INTO People VALUES ('Bob', 'bob', '2')");
        db::setKeyColumns("People", {"Username"});
    }
    // What the file holds for a reference, as another tool reads it.
    QString stored(const QString& username, const QString& column) {
        auto rs = database.openRecordset(
            QStringLiteral("SELECT [%1] FROM People WHERE Username = '%2'").arg(column, username));
        return rs->eof() ? QStringLiteral("<gone>") : db::displayText(rs->field(0));
    }
    // What the user is told of a write refused as another copy's; "" when it was stored.
    static QString conflict(const std::function<void()>& write) {
        try {
            write();
        } catch (const db::DbError& e) {
            return e.isConflict() ? e.message() : QStringLiteral("not a conflict: ") + e.message();
        }
        return {};
    }
};

TEST_F(TwoCopiesRecordset, AnEditWritesWhatItChangedAndIsRefusedWhereAnotherCopyChangedTheSame) {
    auto rs = database.openRecordset("SELECT * FROM People ORDER BY Name", db::LikeDialect::Ado);
    database.execute("UPDATE People SET Name = 'Ann Lee' WHERE Username = 'ann'");
    rs->setField("Extension", "11"); // another column: both changes stand
    rs->update();
    EXPECT_EQ(stored("ann", "Name") + "|" + stored("ann", "Extension"), "Ann Lee|11");

    // The same column: refused, the typed value kept and the row read anew; saved again, it goes onto the file's.
    database.execute("UPDATE People SET Extension = '12' WHERE Username = 'ann'");
    rs->setField("Extension", "13");
    EXPECT_TRUE(conflict([&] { rs->update(); }).contains("Another copy of the program has changed"));
    EXPECT_EQ(stored("ann", "Extension"), "12");
    EXPECT_EQ(rs->field("Extension").toString() + "|" + rs->value(0, 0).toString(), "13|Ann Lee");
    rs->update();
    EXPECT_EQ(stored("ann", "Extension"), "13");

    // Written in a transaction that rolled back, the row's next edit is not taken for another copy's change.
    {
        db::Transaction tx(database.connection());
        rs->setField("Extension", "77");
        rs->update();
    }
    rs->setField("Extension", "78");
    rs->update();
    EXPECT_EQ(stored("ann", "Extension"), "78");

    // A column the caller rebuilds from the file is taken as read there.
    database.execute("UPDATE People SET Name = 'Ann Lee Ltd' WHERE Username = 'ann'");
    rs->setField("Name", "x");
    rs->setField("Name", rs->readStored(0).toString() + " (key holder)");
    rs->update();
    EXPECT_EQ(stored("ann", "Name"), "Ann Lee Ltd (key holder)");
}

TEST_F(TwoCopiesRecordset, ARowDeletedOrReplacedUnderItsRowIdIsNeitherWrittenNorDeleted) {
    // Read on demand, with more rows than pages are kept of.
    {
        db::Transaction tx(database.connection());
        for (int i = 0; i < 65 * 64; ++i)
            database.execute(QStringLiteral("INSERT INTO People VALUES ('Zed', 'z%1', '')").arg(i));
        tx.commit();
    }
    db::Recordset rs(database.shared(), "SELECT * FROM People", db::LikeDialect::Ado, db::Recordset::Reading::OnDemand);
    ASSERT_TRUE(rs.isOnDemand());
    rs.moveNext();
    ASSERT_EQ(rs.field("Name").toString(), "Bob");
    // Another copy deletes Bob and adds Cy under Bob's row id; this copy then reads down its whole list.
    database.execute("DELETE FROM People WHERE Username = 'bob'");
    database.execute("INSERT INTO People (rowid, Name, Username, Extension) VALUES (2, 'Cy', 'cy', '3')");
    for (int r = 0; r < rs.recordCount(); r += 64)
        (void)rs.value(r, 0);
    rs.setField("Extension", "99");
    EXPECT_TRUE(conflict([&] { rs.update(); }).contains("deleted"));
    rs.cancelUpdate();
    EXPECT_TRUE(conflict([&] { rs.deleteCurrent(); }).contains("deleted"));
    EXPECT_EQ(stored("cy", "Name") + "|" + stored("cy", "Extension"), "Cy|3");
}

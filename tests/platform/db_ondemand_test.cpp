#include "db_fixture.h"

#include "platform/db/connection.h"
#include "platform/db/datacontrol.h"
#include "platform/db/recordsetmodel.h"

#include <QStringList>
#include <memory>

namespace {

// A customer table of several pages, with ties, case and accent variants, Nulls and empty texts, entered in
// no particular order.
class OnDemandTest : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        database.execute("CREATE TABLE Customers ([Name] text(100), [Username] text(50), [Notes] Memo, "
                         "[Since] DateTime)");
        database.execute("CREATE INDEX idx_Customers_Name ON Customers (Name)");
        database.execute("CREATE INDEX idx_Customers_Username ON Customers (Username)");
        const QStringList names = {"ann lee", "Ann Lee", "Émile Zola", "émile zola", "Bob", "", "zoë", "Zed", "al"};
        db::Transaction tx(database.connection());
        for (int i = 0; i < Rows; ++i) {
            const int k = (i * 7919) % Rows; // a spread of references, not in row order
            const QString name = i % 37 == 0 ? QStringLiteral("NULL") : "'" + names[i % names.size()] + "'";
            database.execute(QStringLiteral("INSERT INTO Customers (Name, Username, Notes, Since) VALUES (%1, "
                                            "'C%2', 'note %3', #2026/01/%4#)")
                                 .arg(name)
                                 .arg(k, 4, 10, QLatin1Char('0'))
                                 .arg(i)
                                 .arg(1 + i % 28));
        }
        tx.commit();
    }
    std::unique_ptr<db::Recordset> open(const QString& sql, db::Recordset::Reading reading) {
        return std::make_unique<db::Recordset>(database.shared(), sql, db::LikeDialect::Ado, reading);
    }
    static QStringList texts(const db::Recordset& rs) {
        QStringList out;
        for (int r = 0; r < rs.rowCount(); ++r) {
            QStringList row;
            for (int c = 0; c < rs.fieldCount(); ++c)
                row << (db::isNull(rs.value(r, c)) ? QStringLiteral("<null>") : rs.text(r, c));
            out << row.join('|');
        }
        return out;
    }
    static constexpr int Rows = 700;
};

TEST_F(OnDemandTest, ReadsTheRowsAndOrderOfAWholeReadOrReadsWhole) {
    using R = db::Recordset::Reading;
    struct Case {
        const char* sql;
        bool onDemand;
    };
    for (const Case& c : {
             Case{"Select * from Customers ORDER by Name", true},
             Case{"Select * from Customers ORDER by Username DESC", true},
             Case{"Select * from Customers ORDER by Name DESC", true},                    // the index backwards
             Case{"Select * from Customers ORDER by Since DESC", true},                   // a sort of the table
             Case{"Select * from Customers where Username > 'C0300' ORDER by Since", false}, // of an index
             Case{"Select * from Customers", true},
             Case{"SELECT Name, Username from Customers ORDER by Name", true},
             Case{"SELECT Username from Customers ORDER by Username", true},
             Case{"Select * from Customers where Name LIKE 'a%' ORDER by [Name], Since DESC", true},
             Case{"Select Notes as Name, Username from Customers ORDER by Name", false}, // the result's Name
             Case{"Select * from Customers where Username > 'C0300'", false},            // the index decides
             Case{"SELECT Username from Customers", false},                              // a covering index
             Case{"Select top 5 * from Customers ORDER by Name", false},
             Case{"Select * from Customers ORDER by 2", false},
         }) {
        auto whole = open(QLatin1String(c.sql), R::Whole);
        auto lazy = open(QLatin1String(c.sql), R::OnDemand);
        EXPECT_EQ(lazy->isOnDemand(), c.onDemand) << c.sql;
        EXPECT_EQ(lazy->recordCount(), whole->recordCount()) << c.sql;
        EXPECT_EQ(texts(*lazy), texts(*whole)) << c.sql;
        // Dates stay dates, and every row once more as an export reads them.
        QStringList streamed;
        lazy->readAll([&](int r) { streamed << lazy->text(r, 0); });
        QStringList first;
        for (int r = 0; r < whole->rowCount(); ++r)
            first << whole->text(r, 0);
        EXPECT_EQ(streamed, first) << c.sql;
    }
    auto whole = open("Select * from Customers ORDER by Name", R::Whole);
    auto lazy = open("Select * from Customers ORDER by Name", R::OnDemand);
    EXPECT_EQ(lazy->value(Rows - 1, 3), whole->value(Rows - 1, 3));
    EXPECT_EQ(lazy->value(Rows - 1, 3).typeId(), whole->value(Rows - 1, 3).typeId());
}

TEST_F(OnDemandTest, FindLooksThroughTheWholeTableInTheListsOrder) {
    using R = db::Recordset::Reading;
    const QString sql = "Select * from Customers ORDER by Name";
    auto whole = open(sql, R::Whole);
    auto lazy = open(sql, R::OnDemand);
    ASSERT_TRUE(lazy->isOnDemand());
    for (const char* criterion :
         {"Username = 'c0699'", "Username LIKE 'C069*'", "[Username] LIKE 'c06_9'", "Name = 'ÉMILE ZOLA'",
          "Name LIKE '%zola'", "Name <> 'ann lee'", "Notes = 'note 5'", "Username = 'nobody'", "Name = ''",
          "Since = '14/01/2026'"}) {
        for (const int from : {0, 1, 350, Rows - 1}) {
            const int expected = whole->locate(QString::fromUtf8(criterion), from);
            EXPECT_EQ(lazy->locate(QString::fromUtf8(criterion), from), expected) << criterion << " from " << from;
            if (expected >= 0) {
                EXPECT_EQ(lazy->locate(QString::fromUtf8(criterion), from, expected),
                          whole->locate(QString::fromUtf8(criterion), from, expected))
                    << criterion << " passing over " << expected;
            }
        }
    }
    // Find moves to the row, on from the current one; no match leaves the recordset at EOF.
    lazy->moveFirst();
    ASSERT_TRUE(lazy->find("Username = 'C0123'"));
    EXPECT_EQ(lazy->field("Username").toString(), "C0123");
    const int at = lazy->absolutePosition();
    lazy->moveTo(at + 1);
    EXPECT_FALSE(lazy->find("Username = 'C0123'"));
    EXPECT_TRUE(lazy->eof());
    EXPECT_THROW(lazy->locate("Username ~ 'x'"), db::DbError);
}

TEST_F(OnDemandTest, EditsAddsAndDeletesKeepEveryRowInItsPlace) {
    auto lazy = open("Select * from Customers ORDER by Username", db::Recordset::Reading::OnDemand);
    ASSERT_TRUE(lazy->isOnDemand());
    ASSERT_EQ(lazy->text(0, 1), "C0000");
    // An edit far down the list is stored and shows at once; the rows around it stay as they were.
    lazy->moveTo(600);
    lazy->setField("Notes", "changed");
    lazy->update();
    EXPECT_EQ(lazy->text(600, 2), "changed");
    EXPECT_EQ(lazy->text(599, 1), "C0599");
    EXPECT_EQ(count("Select * from Customers where Notes = 'changed' AND Username = 'C0600'"), 1);
    // A new row stays at the end until the list is read again, then takes its place in the order.
    lazy->addNew();
    EXPECT_EQ(lazy->recordCount(), Rows + 1);
    lazy->setField("Username", "C0000a");
    lazy->setField("Name", "New One");
    EXPECT_EQ(lazy->locate("Username = 'C0000A'"), Rows); // judged by what it shows before it is stored
    lazy->update();
    EXPECT_EQ(lazy->text(Rows, 1), "C0000a");
    lazy->requery();
    EXPECT_EQ(lazy->text(1, 0), "New One");
    // A deleted row's followers move up a place, also on pages read before.
    EXPECT_EQ(lazy->text(300, 1), "C0299");
    lazy->moveTo(1);
    lazy->deleteCurrent();
    EXPECT_EQ(lazy->recordCount(), Rows);
    EXPECT_EQ(lazy->text(1, 1), "C0001");
    EXPECT_EQ(lazy->text(300, 1), "C0300");
    EXPECT_EQ(lazy->field("Username").toString(), "C0001");
    // An added row cancelled leaves no trace.
    lazy->addNew();
    lazy->setField("Username", "gone");
    lazy->cancelUpdate();
    EXPECT_EQ(lazy->recordCount(), Rows);
    EXPECT_EQ(count("Select * from Customers where Username = 'gone'"), 0);
    // A row another copy removes reads as empty cells until the list is read again; its neighbours stay in place,
    // read one by one (this order) or as a range of row ids (the table's order).
    auto stored = open("Select * from Customers", db::Recordset::Reading::OnDemand);
    ASSERT_TRUE(stored->isOnDemand());
    auto whole = open("Select * from Customers", db::Recordset::Reading::Whole);
    const int at = whole->locate("Username = 'C0650'");
    ASSERT_GT(at, 0);
    const QString before = whole->text(at - 1, 1);
    const QString after = whole->text(at + 1, 1);
    database.execute("DELETE FROM Customers WHERE Username = 'C0650'");
    EXPECT_TRUE(db::isNull(lazy->value(650, 1)));
    EXPECT_EQ(lazy->text(651, 1), "C0651");
    EXPECT_TRUE(db::isNull(stored->value(at, 1)));
    EXPECT_EQ(stored->text(at - 1, 1), before);
    EXPECT_EQ(stored->text(at + 1, 1), after);
    auto again = open("Select * from Customers ORDER by Username", db::Recordset::Reading::OnDemand);
    EXPECT_EQ(again->recordCount(), Rows - 1);
    EXPECT_EQ(again->text(650, 1), "C0651");
}

TEST_F(OnDemandTest, APickerListShowsTheFirstFieldStandsForTheLastAndEmptiesWhole) {
    db::RecordsetListModel list;
    list.setRecordset(open("SELECT Name, Username from Customers ORDER by Name", db::Recordset::Reading::OnDemand));
    ASSERT_EQ(list.rowCount(), Rows);
    auto whole = open("SELECT Name, Username from Customers ORDER by Name", db::Recordset::Reading::Whole);
    for (const int r : {0, 64, 400, Rows - 1}) {
        EXPECT_EQ(list.data(list.index(r), Qt::DisplayRole).toString(), whole->text(r, 0));
        EXPECT_EQ(list.data(list.index(r), Qt::UserRole).toString(), whole->text(r, 1));
    }
    EXPECT_FALSE(list.removeRows(0, 1));
    EXPECT_TRUE(list.removeRows(0, Rows));
    EXPECT_EQ(list.rowCount(), 0);
}

} // namespace

#include "shared/schema.h"

#include "calllists/callviews.h"
#include "platform/db/database.h"
#include "platform/db/dberror.h"
#include "platform/db/jetsql.h"
#include "platform/db/recordset.h"

#include "schema_before_nocase.h"
#include "support/forked.h"
#include "support/plainsqlite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct SchemaTest : ::testing::Test {
    void TearDown() override { db::pool::closeAll(); }
    QTemporaryDir dir;
};

TEST_F(SchemaTest, NewDatabaseHasTheTablesInOrderAndTheDefaultLists) {
    const QString path = dir.filePath("desk.qvdb");
    schema::createDatabase(path);
    auto database = db::Database::open(path);
    EXPECT_EQ(database.columnNames("Customers"),
              (QStringList{"Name", "Username", "Extension", "Location", "Spare1", "Spare2", "Notes", "Building"}));
    EXPECT_EQ(database.columnNames("Calls").at(16), "Date Opened");
    EXPECT_EQ(database.columnNames("Notes").at(5), "Note-time");
    auto settings = database.openRecordset("SELECT * from Settings");
    QStringList statuses;
    for (; !settings->eof(); settings->moveNext())
        if (!settings->field("Status").toString().isEmpty())
            statuses << settings->field("Status").toString();
    EXPECT_GE(statuses.size(), 5);
    EXPECT_NE(statuses.first(), "Closed");
    EXPECT_TRUE(statuses.contains("Urgent") && statuses.contains("Pending") && statuses.contains("Closed"));
    settings->moveFirst();
    EXPECT_EQ(settings->field("Value11").toString(), schema::defaultInventoryTitles());
    auto staff = database.openRecordset("SELECT * from Analysts");
    ASSERT_EQ(staff->recordCount(), 1);
    EXPECT_EQ(staff->field("ID").toString(), "Admin");
    EXPECT_EQ(staff->field("Spare2").toString(), "5");
    EXPECT_FALSE(QFile::exists(path + ".new"));
    EXPECT_THROW(schema::createDatabase(path), db::DbError); // never replaces a database
}

TEST_F(SchemaTest, CopiesStartingAtOnceMakeOneWholeDatabase) {
    for (int round = 0; round < 5; ++round) {
        const QString path = dir.filePath(QStringLiteral("r%1/desk.qvdb").arg(round));
        QDir().mkpath(QFileInfo(path).absolutePath());
        // Each copy creates the file unless it is there, as start-up does, then opens it and reads the lists.
        const auto codes = runForked(4, [&](int) {
            try {
                if (!QFileInfo::exists(path))
                    schema::createDatabase(path);
            } catch (const db::DbError&) {
                if (!QFileInfo::exists(path)) // refused only because another copy's file came first
                    return 3;
            }
            try {
                auto database = db::Database::open(path);
                return database.openRecordset("SELECT * from Analysts")->recordCount() == 1 &&
                               database.openRecordset("SELECT * from Settings")->recordCount() == 6
                           ? 0
                           : 1;
            } catch (const db::DbError&) {
                return 2;
            }
        });
        EXPECT_EQ(codes, (std::vector<int>{0, 0, 0, 0})) << "round " << round;
        EXPECT_EQ(QDir(QFileInfo(path).absolutePath()).entryList(QDir::Files | QDir::Hidden), QStringList{"desk.qvdb"});
    }
}

TEST_F(SchemaTest, UpgradeAddsWhatIsMissingAndKeepsData) {
    const QString path = dir.filePath("old.qvdb");
    {
        auto database = db::Database::create(path);
        database.execute("CREATE TABLE Calls ([Nom] COUNTER, [Username] text(50), [Status] text(50))");
        database.execute("INSERT INTO Calls (Username, Status) VALUES ('o''neil', 'Open')");
    }
    auto database = db::Database::open(path);
    schema::upgrade(database);
    EXPECT_TRUE(database.hasTable("Settings"));
    EXPECT_TRUE(database.hasTable("Notes"));
    EXPECT_TRUE(database.columnNames("Calls").contains("Audit"));
    auto rs = database.openRecordset("SELECT * from Calls");
    ASSERT_EQ(rs->recordCount(), 1);
    EXPECT_EQ(rs->field("Username").toString(), "o'neil");
    rs->setField("Audit", "a line");
    rs->update();
    schema::upgrade(database); // a second run changes nothing
    EXPECT_EQ(database.openRecordset("SELECT Audit from Calls")->field(0).toString(), "a line");
}

TEST_F(SchemaTest, AFileWithoutAnIndexOfThisBuildIsUpgradedToHaveIt) {
    const QString path = dir.filePath("desk.qvdb");
    schema::createDatabase(path);
    auto database = db::Database::open(path);
    EXPECT_FALSE(schema::needsUpgrade(database));
    database.execute("DROP INDEX idx_Calls_DateClosed");
    ASSERT_TRUE(schema::needsUpgrade(database));
    schema::upgrade(database);
    EXPECT_FALSE(schema::needsUpgrade(database));
    EXPECT_EQ(
        database.openRecordset("SELECT name from sqlite_master where name = 'idx_Calls_DateClosed'")->recordCount(), 1);
}

// Every row of every table as text, in row order, one entry per table: what must survive a conversion.
QStringList dump(PlainSqlite& raw) {
    QStringList out;
    for (const char* t : {"Calls", "Notes", "Customers", "Inventory", "Analysts", "Settings"}) {
        QStringList values{QStringLiteral("quote(rowid)")};
        for (const QString& c : raw.column(QStringLiteral("SELECT name FROM pragma_table_info('%1')").arg(t)))
            values << QStringLiteral("quote(\"%1\")").arg(c);
        out << raw.column(QStringLiteral("SELECT %1 FROM \"%2\" ORDER BY rowid").arg(values.join(" || '|' || "), t))
                   .join(QLatin1Char('\n'));
    }
    out << raw.column("SELECT name || '=' || seq FROM sqlite_sequence ORDER BY name").join(QLatin1Char(' '));
    return out;
}

// What another tool does on each table: insert, find by text without case, change, delete.
void editEveryTableAsAnotherTool(PlainSqlite& raw) {
    const std::pair<const char*, const char*> tables[] = {{"Calls", "Username"}, {"Notes", "Analyst"},
                                                          {"Customers", "Name"}, {"Inventory", "Details2"},
                                                          {"Analysts", "ID"},    {"Settings", "Status"}};
    for (const auto& [table, column] : tables) {
        const QString t = QString::fromLatin1(table), c = QString::fromLatin1(column);
        EXPECT_EQ(raw.exec(QStringLiteral("INSERT INTO \"%1\" (\"%2\") VALUES ('Shell Row')").arg(t, c)), "") << table;
        EXPECT_EQ(raw.scalar(QStringLiteral("SELECT count(*) FROM \"%1\" WHERE \"%2\" = 'SHELL row'").arg(t, c)), "1")
            << table;
        EXPECT_EQ(raw.exec(QStringLiteral("UPDATE \"%1\" SET \"%2\" = 'Changed' WHERE \"%2\" = 'shell ROW'").arg(t, c)),
                  "")
            << table;
        EXPECT_EQ(raw.exec(QStringLiteral("DELETE FROM \"%1\" WHERE \"%2\" = 'CHANGED'").arg(t, c)), "") << table;
        EXPECT_EQ(raw.scalar(QStringLiteral("SELECT count(*) FROM \"%1\" WHERE \"%2\" = 'changed'").arg(t, c)), "0")
            << table;
    }
    EXPECT_EQ(raw.integrityCheck(), "ok");
}

TEST_F(SchemaTest, NewFileIsCheckedAndEditedByOtherTools) {
    const QString path = dir.filePath("desk.qvdb");
    schema::createDatabase(path);
    PlainSqlite raw(path);
    ASSERT_TRUE(raw.isOpen());
    EXPECT_EQ(raw.integrityCheck(), "ok");
    EXPECT_EQ(raw.scalar("PRAGMA quick_check"), "ok");
    editEveryTableAsAnotherTool(raw);
    // The program still compares without case what the other tool wrote.
    raw.exec("INSERT INTO Customers (Name, Username) VALUES ('Ann Lee', 'alee')");
    auto database = db::Database::open(path);
    EXPECT_EQ(database.openRecordset("SELECT * from Customers where Username = 'ALEE'")->recordCount(), 1);
}

TEST_F(SchemaTest, FileOfAnEarlierBuildIsConvertedKeepingRowsAndNumbers) {
    const QString path = dir.filePath("old.qvdb");
    {
        auto database = db::Database::create(path);
        db::Transaction tx(database.connection());
        for (const char* sql : kSchemaBeforeNoCase)
            database.connection().exec(QString::fromUtf8(sql));
        tx.commit();
        for (const char* user : {"alee", "\xC3\x89mile", "gone"})
            database.execute(QStringLiteral("INSERT INTO Calls (Username, Status, [Date Opened]) VALUES ('%1', "
                                            "'Open', #2026/01/31#)")
                                 .arg(QString::fromUtf8(user)));
        database.execute("DELETE FROM Calls WHERE Username = 'gone'"); // the next number is still 4
        database.execute("INSERT INTO Notes ([Call], Note, Analyst) VALUES (1, 'first', 'Admin')");
        database.execute("INSERT INTO Customers (Name, Username) VALUES ('\xC3\x89mile Z', '\xC3\x89mile')");
        database.execute("INSERT INTO Customers (Name, Username, Notes) VALUES ('Ann Lee', 'alee', NULL)");
        database.execute("INSERT INTO Inventory (Type, Details2) VALUES ('Printer', 'alee')");
        database.execute("INSERT INTO Analysts (ID, Spare1, Spare2) VALUES ('Admin', '', '5')");
        database.execute("INSERT INTO Settings (Status, Category) VALUES ('Open', 'Hardware')");
    }
    db::pool::closeAll();
    QStringList before;
    {
        PlainSqlite raw(path);
        EXPECT_NE(raw.integrityCheck(), "ok"); // what other tools could not do with such a file
        before = dump(raw);
    }
    ASSERT_TRUE(before[0].contains("'alee'") && before[2].contains("'Ann Lee'|'alee'|NULL"));
    {
        auto database = db::Database::open(path);
        ASSERT_TRUE(schema::needsUpgrade(database));
        schema::upgrade(database);
        EXPECT_FALSE(schema::needsUpgrade(database));
        EXPECT_EQ(database.openRecordset("SELECT name from sqlite_master where type = 'index'")->recordCount(), 12);
        EXPECT_EQ(database.openRecordset("SELECT * from Customers where Username = '\xC3\xA9MILE'")->recordCount(), 1);
    }
    db::pool::closeAll();
    {
        PlainSqlite raw(path);
        EXPECT_EQ(raw.integrityCheck(), "ok");
        EXPECT_EQ(dump(raw), before);
        editEveryTableAsAnotherTool(raw);
    }
    auto database = db::Database::open(path);
    auto calls = database.openRecordset("SELECT * from Calls");
    calls->addNew();
    calls->setField("Username", "alee");
    calls->update();
    EXPECT_EQ(database.openRecordset("SELECT max(Nom) from Calls")->field(0).toInt(), 5); // 4 went to the shell's row
}

TEST_F(SchemaTest, IndexesOfThisBuildAreAddedToAnOlderFileAllOrNoneAndServeTheDashboard) {
    const QString path = dir.filePath("desk.qvdb");
    schema::createDatabase(path);
    {
        // A file of a build before the dashboard's index, with a name in the way of it.
        PlainSqlite raw(path);
        ASSERT_EQ(raw.exec("DROP INDEX idx_Calls_Status_User_sp3; DROP INDEX idx_Calls_Username; "
                           "CREATE TABLE idx_Calls_Status_User_sp3 (x)"),
                  "");
    }
    auto indexes = [&] {
        PlainSqlite raw(path);
        return raw.column("SELECT name FROM sqlite_master WHERE type = 'index' AND name LIKE 'idx_Calls_%' "
                          "ORDER BY name");
    };
    {
        auto database = db::Database::open(path);
        ASSERT_TRUE(schema::needsUpgrade(database));
        EXPECT_THROW(schema::upgrade(database), db::DbError);
    }
    db::pool::closeAll();
    // Nothing of the failed upgrade stays: the index it made before the failure went with it.
    EXPECT_FALSE(indexes().contains("idx_Calls_Username"));
    {
        PlainSqlite raw(path);
        ASSERT_EQ(raw.exec("DROP TABLE idx_Calls_Status_User_sp3"), "");
        raw.exec("INSERT INTO Calls (Username, Status, User, sp3) VALUES ('a', 'Open', 'Admin', 'Hardware')");
    }
    {
        auto database = db::Database::open(path);
        schema::upgrade(database);
        EXPECT_FALSE(schema::needsUpgrade(database));
    }
    db::pool::closeAll();
    EXPECT_TRUE(indexes().contains("idx_Calls_Username"));
    EXPECT_TRUE(indexes().contains("idx_Calls_Status_User_sp3"));
    PlainSqlite raw(path);
    EXPECT_EQ(raw.integrityCheck(), "ok");
    // The open calls' counts and the top three, everyone's or one assignee's, read the index alone.
    db::Connection conn(path);
    for (const bool mine : {false, true})
        for (const char* pie : {"sp3", "User"}) {
            const callviews::StatsSql q =
                callviews::statsSql(QDate(2026, 1, 31), "Admin", mine, "Pending", QLatin1String(pie), "yyyy/mm/dd");
            for (const QString& sql : q.counts.mid(1) + QStringList{q.pie}) {
                db::Statement plan(conn, QStringLiteral("EXPLAIN QUERY PLAN ") + db::jet::translate(sql).sql);
                while (plan.step()) {
                    const QString step = plan.column(3).toString();
                    if (step.contains("Calls")) {
                        EXPECT_TRUE(step.contains("COVERING INDEX")) << qPrintable(sql) << ": " << qPrintable(step);
                    }
                }
            }
        }
}

void addRow(db::Database& database, const char* table, const std::vector<std::pair<const char*, const char*>>& values) {
    auto rs = database.openRecordset(QStringLiteral("SELECT * from %1").arg(QLatin1String(table)));
    rs->addNew();
    for (const auto& [column, value] : values)
        rs->setField(QString::fromLatin1(column), QString::fromUtf8(value));
    rs->update();
}

QStringList rows(db::Database& database, const char* sql) {
    QStringList out;
    for (auto rs = database.openRecordset(QString::fromUtf8(sql)); !rs->eof(); rs->moveNext())
        out << rs->field(0).toString();
    return out;
}

TEST_F(SchemaTest, AccentedTextTheProgramStoresLeavesAFileEveryToolAgreesOn) {
    const QString path = dir.filePath("desk.qvdb");
    schema::createDatabase(path);
    {
        // Every indexed text column gets capitals and small letters outside ASCII.
        auto database = db::Database::open(path);
        for (const char* name : {"\xC3\xA9lodie", "\xC3\x89mile", "\xC3\xA9mile B", "\xC3\x89LODIE A", "Zo\xC3\xAB",
                                 "\xC3\x85ngstr\xC3\xB6m", "\xC3\xA5sa", "Ann"})
            addRow(database, "Customers", {{"Name", name}, {"Username", name}});
        addRow(database, "Calls",
               {{"Username", "\xC3\x89mile"},
                {"Status", "R\xC3\xA9solu"},
                {"User", "Agn\xC3\xA8s"},
                {"sp3", "\xC3\x89lectrique"}});
        addRow(database, "Calls",
               {{"Username", "\xC3\xA9mile B"},
                {"Status", "R\xC3\x89SOLU"},
                {"User", "AGN\xC3\x88S"},
                {"sp3", "\xC3\xA9lectrique"}});
        addRow(database, "Calls", {{"Username", "Ann"}, {"Status", "Open"}, {"User", "Admin"}, {"sp3", "Software"}});
        addRow(database, "Notes", {{"Call", "1"}, {"Note", "Appel\xC3\xA9 \xC3\xA0 9h"}, {"Analyst", "Agn\xC3\xA8s"}});
        addRow(database, "Inventory",
               {{"Type", "\xC3\x89"
                         "cran"},
                {"Details2", "\xC3\xA9mile b"}});
        addRow(database, "Analysts", {{"ID", "Agn\xC3\xA8s"}, {"Spare2", "5"}});
        addRow(database, "Settings", {{"Status", "R\xC3\xA9solu"}, {"Category", "\xC3\x89lectrique"}});
    }
    db::pool::closeAll();
    QStringList shellOrder;
    {
        PlainSqlite raw(path);
        EXPECT_EQ(raw.integrityCheck(), "ok");
        editEveryTableAsAnotherTool(raw);
        ASSERT_EQ(raw.exec("INSERT INTO Customers (Name, Username) VALUES ('\xC3\x89ric', '\xC3\xA9ric')"), "");
        shellOrder = raw.column("SELECT Name FROM Customers ORDER BY Name");
    }
    auto database = db::Database::open(path);
    // Typed values compare without case outside ASCII too, whoever wrote the row.
    EXPECT_EQ(rows(database, "SELECT Name from Customers WHERE Name = '\xC3\xA9mile'"), QStringList{"\xC3\x89mile"});
    EXPECT_EQ(rows(database, "SELECT Name from Customers WHERE Username = '\xC3\x89RIC'"), QStringList{"\xC3\x89ric"});
    EXPECT_EQ(rows(database, "SELECT Nom from Calls WHERE User = 'agn\xC3\xA8s' AND Status = 'r\xC3\xA9solu'").size(),
              2);
    EXPECT_EQ(rows(database, "SELECT Nom from Calls WHERE sp3 IN ('Hardware', '\xC3\x89LECTRIQUE')").size(), 2);
    EXPECT_EQ(rows(database, "SELECT Nom from Calls WHERE Status <> 'R\xC3\xA9SOLU'"), QStringList{"3"});
    EXPECT_EQ(rows(database, "SELECT Details2 from Inventory WHERE Details2 = '\xC3\x89MILE B'").size(), 1);
    // Sorting and grouping fold A-Z only, exactly as the shell does: accented capitals sort apart.
    EXPECT_EQ(rows(database, "SELECT Name from Customers ORDER BY Name"), shellOrder);
    EXPECT_EQ(shellOrder, QString::fromUtf8("Ann|Zo\xC3\xAB|\xC3\x85ngstr\xC3\xB6m|\xC3\x89LODIE A|\xC3\x89mile|"
                                            "\xC3\x89ric|\xC3\xA5sa|\xC3\xA9lodie|\xC3\xA9mile B")
                              .split('|'));
    EXPECT_EQ(rows(database, "SELECT DISTINCT sp3 from Calls WHERE sp3 LIKE '\xC3\xA9*'").size(), 2);
    // The program writes again after the shell; the file stays sound for both.
    auto rs = database.openRecordset("SELECT * from Customers WHERE Name = '\xC3\xA9RIC'");
    ASSERT_EQ(rs->recordCount(), 1);
    rs->setField("Name", QString::fromUtf8("\xC3\xA9ric \xC3\x89"));
    rs->update();
    database.close();
    db::pool::closeAll();
    PlainSqlite raw(path);
    EXPECT_EQ(raw.integrityCheck(), "ok");
}

// Lookups by plain ASCII values are what the lists and the dashboard run all day: they keep their index.
TEST_F(SchemaTest, AsciiLookupsKeepTheirIndexes) {
    const QString path = dir.filePath("desk.qvdb");
    schema::createDatabase(path);
    auto database = db::Database::open(path);
    auto plan = [&](const char* jetSql) {
        db::Statement st(database.connection(),
                         QStringLiteral("EXPLAIN QUERY PLAN ") + db::jet::translate(QString::fromUtf8(jetSql)).sql);
        QStringList steps;
        while (st.step())
            steps << st.column(3).toString();
        return steps.join(QLatin1Char(';'));
    };
    EXPECT_TRUE(plan("SELECT Nom from Calls where Status = 'Closed'").contains("idx_Calls_Status"));
    EXPECT_TRUE(plan("SELECT * from Customers where Username IN ('alee', 'bob')").contains("idx_Customers_Username"));
    EXPECT_TRUE(plan("SELECT * from Calls where User = 'Admin' ORDER BY Nom").contains("idx_Calls_User"));
}

TEST(NoCase, SameOrderAndEqualityAsSqliteOnAsciiText) {
    PlainSqlite raw(":memory:");
    ASSERT_TRUE(raw.isOpen());
    raw.exec("CREATE TABLE t (s TEXT)");
    QRandomGenerator random(20261206);
    QStringList texts;
    for (int i = 0; i < 3000; ++i) {
        QString s;
        const int n = random.bounded(6);
        for (int k = 0; k < n; ++k)
            s += QChar(char16_t(random.bounded(2) ? "aAbBzZ_[`@ 0~"[random.bounded(13)] : 32 + random.bounded(95)));
        texts << s;
        raw.exec(QStringLiteral("INSERT INTO t VALUES ('%1')").arg(QString(s).replace("'", "''")));
    }
    const QStringList sorted = raw.column("SELECT s FROM t ORDER BY s COLLATE NOCASE");
    ASSERT_EQ(sorted.size(), texts.size());
    for (int i = 1; i < sorted.size(); ++i) {
        const QByteArray a = sorted[i - 1].toUtf8(), b = sorted[i].toUtf8();
        const int ours = db::compareNoCase(a.constData(), int(a.size()), b.constData(), int(b.size()));
        const bool equal = raw.scalar(QStringLiteral("SELECT '%1' = '%2' COLLATE NOCASE")
                                          .arg(QString(sorted[i - 1]).replace("'", "''"),
                                               QString(sorted[i]).replace("'", "''"))) == "1";
        ASSERT_LE(ours, 0) << sorted[i - 1].toStdString() << " / " << sorted[i].toStdString();
        ASSERT_EQ(ours == 0, equal) << sorted[i - 1].toStdString() << " / " << sorted[i].toStdString();
    }
}

} // namespace

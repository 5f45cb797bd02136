#include "shared/schema.h"

#include "platform/db/database.h"
#include "platform/db/dberror.h"
#include "platform/db/recordset.h"

#include "support/forked.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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

} // namespace

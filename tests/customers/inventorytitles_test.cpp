#include "customers/inventorytitles.h"

#include "platform/db/database.h"
#include "platform/db/dberror.h"
#include "support/testenv.h"

#include <gtest/gtest.h>

namespace {

TEST(InventoryTitles, StoredTextGoesToTheFirstSettingsRowOnlyAndATooLongOneLeavesItAsItWas) {
    TestEnv env;
    const QString path = env.makeDatabase();
    EXPECT_EQ(inventorytitles::read(path).toString(), inventorytitles::defaults());

    const QString renamed = "Kind, Model, Serial, Remarks, Spare, Username, Cover, Extra";
    inventorytitles::write(path, renamed);
    EXPECT_EQ(inventorytitles::read(path).toString(), renamed);
    auto database = db::Database::open(path);
    auto rows = database.openRecordset("SELECT Value11 from Settings where Value11 is not null");
    EXPECT_EQ(rows->recordCount(), 1);

    // Value11 holds 100 characters; the refusal names the cause and the old text stays.
    EXPECT_THROW(inventorytitles::write(path, QString(101, 'x')), db::DbError);
    EXPECT_EQ(inventorytitles::read(path).toString(), renamed);

    inventorytitles::write(database, QVariant());
    EXPECT_TRUE(inventorytitles::read(database).isNull());
    inventorytitles::write(database, "");
    EXPECT_FALSE(inventorytitles::read(database).isNull());

    database.execute("DELETE FROM Settings");
    EXPECT_TRUE(inventorytitles::read(database).isNull());
    EXPECT_THROW(inventorytitles::write(database, renamed), db::DbError);
    database.close();
    db::pool::closeAll();
}

TEST(InventoryTitles, ARenameIsTurnedDownWhereAnotherCopyRenamedTheSameTitleApart) {
    TestEnv env;
    const QString path = env.makeDatabase();
    const QString asRead = inventorytitles::defaults();
    inventorytitles::write(path, "Kind, Details, Serial, Notes, Spare, Username, Warranty, More"); // another copy
    // Nothing stored; the text offered puts this copy's names onto the titles as stored.
    const inventorytitles::Renamed r =
        inventorytitles::storeRenamed(path, asRead, "Make, Details, Number, Notes, Spare, Username, Warranty, Extra");
    EXPECT_FALSE(r.stored);
    EXPECT_EQ(r.inFile, "Kind, Details, Serial, Notes, Spare, Username, Warranty, More");
    EXPECT_EQ(r.text, "Make, Details, Serial, Notes, Spare, Username, Warranty, Extra");
    EXPECT_EQ(inventorytitles::read(path).toString(), r.inFile);

    // A stored text that is not eight titles is replaced only while it is as read.
    inventorytitles::write(path, "A, B");
    EXPECT_FALSE(inventorytitles::storeRenamed(path, asRead, asRead).stored);
    EXPECT_TRUE(inventorytitles::storeRenamed(path, "A, B", asRead).stored);
    EXPECT_EQ(inventorytitles::read(path).toString(), asRead);
    db::pool::closeAll();
}

TEST(InventoryTitles, SplitAndTheRenameCheckCountCommaBlankPairsOnly) {
    EXPECT_TRUE(inventorytitles::split("").isEmpty());
    EXPECT_EQ(inventorytitles::split("Type,Details,Number"), QStringList{"Type,Details,Number"});

    // Seven pairs and nothing after the last gives an empty eighth title, which is accepted.
    EXPECT_TRUE(inventorytitles::wellFormed("A, B, C, D, E, F, G, "));
    EXPECT_EQ(inventorytitles::split("A, B, C, D, E, F, G, ").last(), "");
    EXPECT_FALSE(inventorytitles::wellFormed("A, B, C, D, E,F, G, H"));
    EXPECT_FALSE(inventorytitles::wellFormed("A, B, C, D, E, F, G, H, I"));
    EXPECT_FALSE(inventorytitles::wellFormed(""));
}

} // namespace

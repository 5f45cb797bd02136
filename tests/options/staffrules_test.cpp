#include "options/staffrules.h"

#include "platform/db/database.h"
#include "platform/db/recordset.h"
#include "support/testenv.h"

#include <gtest/gtest.h>

namespace {

TEST(StaffRules, LookupsChangeOnlyTheRowWithThatVeryId) {
    TestEnv env;
    const QString path = env.makeDatabase();
    {
        auto database = db::Database::open(path);
        // Pattern characters and case would let a "like" lookup, or a case-blind "=", land on a neighbour.
        for (const char* id : {"ab", "a*", "a?", "a1", "a#", "[a]", "a", "Bob", "bob"})
            database.execute(QStringLiteral("INSERT INTO Analysts (ID, Spare1, Spare2) VALUES ('%1', '', '1')")
                                 .arg(QLatin1String(id)));
    }
    for (const char* id : {"a*", "a?", "a#", "[a]", "bob"})
        EXPECT_EQ(staffrules::storeLevel(path, QString::fromLatin1(id), "5"), "") << id;
    EXPECT_TRUE(staffrules::storePassword(path, "Bob", "Upper"));
    EXPECT_EQ(staffrules::storeLevel(path, "BOB", "3"), staffrules::goneText()); // no such row: the caller is told
    QStringList rows;
    auto rs = db::Database::open(path).openRecordset(QStringLiteral("SELECT ID, Spare1, Spare2 from Analysts"));
    for (; !rs->eof(); rs->moveNext())
        rows << rs->field(0).toString() + ":" + rs->field(1).toString() + ":" + rs->field(2).toString();
    rows.sort(Qt::CaseSensitive);
    EXPECT_EQ(rows, (QStringList{"Admin::5", "Bob:upper:1", "[a]::5", "a#::5", "a*::5", "a1::1", "a::1", "a?::5",
                                 "ab::1", "bob::5"}));
    db::pool::closeAll();
}

} // namespace

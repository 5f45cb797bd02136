#include "options/statusrules.h"

#include "platform/db/database.h"
#include "platform/db/dberror.h"
#include "platform/db/recordset.h"
#include "platform/db/values.h"
#include "support/testenv.h"

#include <gtest/gtest.h>

namespace {

// Every Settings row as "Status|ColourFld|Category|Value11", Null as "<null>".
QStringList rows(const QString& path) {
    QStringList all;
    auto rs = db::Database::open(path).openRecordset(QStringLiteral("SELECT * from Settings"));
    auto text = [&](const char* field) {
        const QVariant v = rs->field(QLatin1String(field));
        return db::isNull(v) ? QStringLiteral("<null>") : v.toString();
    };
    for (; !rs->eof(); rs->moveNext())
        all << QStringList{text("Status"), text("ColourFld"), text("Category"), text("Value11")}.join('|');
    return all;
}

class StatusRules : public ::testing::Test {
protected:
    void TearDown() override { db::pool::closeAll(); }
    TestEnv env;
    QString path = env.makeDatabase();
};

TEST_F(StatusRules, RewriteStoresTheListsRowForRowAndKeepsTheInventoryTitles) {
    db::Database::open(path).execute(QStringLiteral("UPDATE Settings SET Value11 = 'Kind, Model, Serial, A, B, C, D, E'"
                                                    " WHERE Status = 'Open'"));
    statusrules::Lists lists;
    lists.statuses = {"New", "Urgent", "Tom's call", "On hold", "Pending", "Closed"};
    lists.colours = {"255", "---", "65280", "---", "---", "14474460"};
    lists.categories = {"Kit", "O'Brien's desk", "Phones", "Other"};
    statusrules::rewrite(path, lists);
    EXPECT_EQ(rows(path),
              (QStringList{"New|255|Kit|Kind, Model, Serial, A, B, C, D, E", "Urgent|---|O'Brien's desk|<null>",
                           "Tom's call|65280|Phones|<null>", "On hold|---|Other|<null>", "Pending|---|<null>|<null>",
                           "Closed|14474460|<null>|<null>"}));
    // Reading gives back what was stored; a row without a status adds no colour.
    const statusrules::Lists back = statusrules::read(path);
    EXPECT_EQ(back.statuses, lists.statuses);
    EXPECT_EQ(back.colours, lists.colours);
    EXPECT_EQ(back.categories, lists.categories);

    // More categories than statuses: the later rows have a Null status and colour.
    lists.statuses = {"Open", "Urgent", "Pending", "Closed"};
    lists.colours = {"---", "---", "---", "---"};
    lists.categories.clear();
    for (int i = 0; i < 100; ++i)
        lists.categories << QStringLiteral("Category %1").arg(i);
    statusrules::rewrite(path, lists);
    const QStringList stored = rows(path);
    ASSERT_EQ(stored.size(), 100);
    EXPECT_EQ(stored.first(), "Open|---|Category 0|Kind, Model, Serial, A, B, C, D, E");
    EXPECT_EQ(stored.last(), "<null>|<null>|Category 99|<null>");
    EXPECT_EQ(statusrules::read(path).statuses, lists.statuses);
}

TEST_F(StatusRules, ARowTheTableRefusesLeavesEveryRowAsItWas) {
    const QStringList before = rows(path);
    statusrules::Lists lists;
    lists.statuses = {"Open", "Urgent", "Pending", QString(51, QLatin1Char('x')), "Closed"};
    lists.colours = {"---", "---", "---", "---", "---"};
    lists.categories = {"A", "B", "C"};
    EXPECT_THROW(statusrules::rewrite(path, lists), db::DbError);
    EXPECT_EQ(rows(path), before);
    lists.statuses[3] = QString(50, QLatin1Char('x')); // the column's size itself is fine
    EXPECT_NO_THROW(statusrules::rewrite(path, lists));
}

TEST(StatusRulesChecks, AMergeKeepsBothCopiesMovesAndAdditionsAndTurnsDownOnlyWhatClashes) {
    statusrules::Lists read;
    read.statuses = {"Open", "Urgent", "Pending", "Closed"};
    read.colours = {"---", "1", "2", "3"};
    read.categories = {"A", "B", "C"};
    // This copy moves Pending up and adds "parts"; another copy adds "Waiting" after Urgent and "Parts".
    statusrules::Lists mine = read, theirs = read;
    mine.statuses = {"Open", "Pending", "Urgent", "Closed", "parts"};
    mine.colours = {"---", "2", "1", "3", "---"};
    theirs.statuses = {"Open", "Urgent", "Waiting", "Pending", "Closed", "Parts"};
    theirs.colours = {"---", "1", "4", "2", "3", "5"};
    std::optional<statusrules::Lists> merged = statusrules::merge(read, mine, theirs);
    ASSERT_TRUE(merged);
    EXPECT_EQ(merged->statuses, (QStringList{"Open", "Pending", "Urgent", "Waiting", "Closed", "Parts"}));
    EXPECT_EQ(merged->colours, (QStringList{"---", "2", "1", "4", "3", "5"}));
    EXPECT_EQ(merged->categories, read.categories);

    // Both move the same entries apart.
    theirs = read;
    theirs.categories = {"C", "A", "B"};
    mine = read;
    mine.categories = {"B", "A", "C"};
    EXPECT_FALSE(statusrules::merge(read, mine, theirs));
    // Removals of both that would leave fewer than four statuses are not stored.
    theirs = read;
    theirs.statuses.removeAt(2);
    theirs.colours.removeAt(2);
    mine = read;
    mine.statuses.removeAt(0);
    mine.colours.removeAt(0);
    EXPECT_FALSE(statusrules::merge(read, mine, theirs));
}

TEST(StatusRulesChecks, OnlyTheExactFixedNamesAreKeptAndEmptyListsAreNotStored) {
    EXPECT_EQ(statusrules::statusDeleteRefusal({"closed", "urgent", "b", "c", "d"}, 0), "");
    EXPECT_EQ(statusrules::statusDeleteRefusal({"closed", "urgent", "b", "c", "d"}, 1), "");
    statusrules::Lists lists;
    EXPECT_FALSE(statusrules::storeRefusal(lists).isEmpty());
    lists.categories = {"A"};
    EXPECT_EQ(statusrules::storeRefusal(lists), "");
}

} // namespace

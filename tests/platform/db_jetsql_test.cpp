#include "db_fixture.h"

#include "platform/db/jetsql.h"

#include <cstdint>

using db::LikeDialect;

class JetSql : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        database.execute("CREATE TABLE Calls ([Nom] COUNTER, [Username] text(50), [Status] text(50), "
                         "[sp3] text(50), [Query] Memo, [Date Opened] DateTime, [Time Opened] DateTime)");
        add("abc", "Open", "Hardware", "2026-01-31", "09:05:00");
        add("ABD", "Urgent", "hardware", "2026-02-01", "23:59:59");
        add("O'Brien", "Closed", "Software", "2025-12-31", "00:00:01");
        add("x*y%z", "open", "Network", "2026-12-06", "12:00:00");
        add("[bracket]#1", "Pending", "HARDWARE", "2026-12-06", "08:00:00");
        add("éclair", "Pending", "Software", "2026-03-01", "10:00:00");
    }
    void add(const char* user, const char* status, const char* cat, const char* date, const char* time) {
        auto rs = database.openRecordset("SELECT * from Calls");
        rs->addNew();
        rs->setField("Username", QString::fromUtf8(user));
        rs->setField("Status", QString::fromUtf8(status));
        rs->setField("sp3", QString::fromUtf8(cat));
        rs->setField("Date Opened", QDate::fromString(date, Qt::ISODate));
        rs->setField("Time Opened", QTime::fromString(time, "hh:mm:ss"));
        rs->update();
    }
};

TEST_F(JetSql, DateLiteralsInEveryFormAcrossMonthAndYearEnds) {
    EXPECT_EQ(column("SELECT Username from Calls where [Date Opened] = #2026/01/31#"), QStringList{"abc"});
    EXPECT_EQ(column("SELECT Username from Calls where [Date Opened] = #2026-02-01#"), QStringList{"ABD"});
    // Month first, as Jet reads slashes: 12/31/2025 is the last day of 2025.
    EXPECT_EQ(column("SELECT Username from Calls where [Date Opened] = #12/31/2025#"), QStringList{"O'Brien"});
    EXPECT_EQ(count("SELECT Nom from Calls where [Date Opened] < #2026/02/01#"), 2);
    EXPECT_EQ(count("SELECT Nom from Calls where [Date Opened] between #1/31/2026# and #3/1/2026#"), 3);
    EXPECT_EQ(count("SELECT Nom from Calls where [Time Opened] > #12:00:00#"), 1);
    EXPECT_EQ(column("SELECT Username from Calls where [Date Opened] >= #2026/12/06 00:00:00# ORDER BY Nom"),
              (QStringList{"x*y%z", "[bracket]#1"}));
    EXPECT_THROW(database.openRecordset("SELECT Nom from Calls where [Date Opened] = #not a date#"), db::DbError);
}

TEST_F(JetSql, DatesReadBackAsDatesAndSortByDate) {
    auto rs = database.openRecordset("SELECT [Date Opened], [Time Opened] from Calls ORDER BY [Date Opened] DESC");
    EXPECT_EQ(rs->field(0).typeId(), QMetaType::QDate);
    EXPECT_EQ(rs->field(0).toDate(), QDate(2026, 12, 6));
    EXPECT_EQ(db::displayText(rs->field(0)), "06/12/2026");
    EXPECT_EQ(db::displayText(rs->field(1)), "12:00:00");
    rs->moveLast();
    EXPECT_EQ(rs->field(0).toDate(), QDate(2025, 12, 31));
}

TEST_F(JetSql, TopWithOrderByKeepsTiesAndWithoutOrderByCuts) {
    // Open calls: Hardware 3 (any case), Network 1, Software 1: the second place is a tie, so three rows.
    auto rs = database.openRecordset(
        "SELECT top 2 Sp3, count(1) as cntr from Calls where Status <> 'Closed'  group by sp3 order by count(1) desc");
    ASSERT_EQ(rs->recordCount(), 3);
    EXPECT_EQ(rs->field("cntr").toInt(), 3);
    EXPECT_EQ(rs->fieldCount(), 2);                                        // the order values read for ties stay hidden
    EXPECT_EQ(count("SELECT TOP 1 Status from Calls ORDER BY Status"), 1); // Closed
    EXPECT_EQ(count("SELECT TOP 1 Status from Calls WHERE Status <> 'Closed' ORDER BY Status"), 2); // open, Open
    EXPECT_EQ(count("SELECT TOP 2 Status from Calls WHERE Status <> 'Closed' ORDER BY Status"), 2);
    EXPECT_EQ(count("SELECT TOP 3 Status from Calls WHERE Status <> 'Closed' ORDER BY Status"), 4); // both Pending
    EXPECT_EQ(count("SELECT TOP 3 Username from Calls"), 3);
    EXPECT_EQ(count("SELECT TOP 3 * from Calls ORDER BY 4"), 3); // by category position: hardware x3 tie
    auto none = database.openRecordset("SELECT TOP 0 * from Calls ORDER BY Nom");
    EXPECT_TRUE(none->eof());
    EXPECT_EQ(none->fieldCount(), 7);
    EXPECT_EQ(count("SELECT TOP 0 Username from Calls"), 0);
}

TEST_F(JetSql, LikeByPathUsesJetWildcards) {
    EXPECT_EQ(count("SELECT Nom from Calls where Username LIKE 'ab*'"), 2);
    EXPECT_EQ(count("SELECT Nom from Calls where Username LIKE 'A?C'"), 1);
    EXPECT_EQ(column("SELECT Username from Calls where Username LIKE '*''b*'"), QStringList{"O'Brien"});
    EXPECT_EQ(column("SELECT Username from Calls where Username LIKE '*[*]*'"), QStringList{"x*y%z"});
    EXPECT_EQ(column("SELECT Username from Calls where Username LIKE '*#'"), QStringList{"[bracket]#1"});
    EXPECT_EQ(column("SELECT Username from Calls where Username LIKE '[[]*'"), QStringList{"[bracket]#1"});
    EXPECT_EQ(count("SELECT Nom from Calls where Username LIKE '[!a]*'"), 4);
    EXPECT_EQ(count("SELECT Nom from Calls where Username LIKE '[a-b]*'"), 2);
    EXPECT_EQ(count("SELECT Nom from Calls where Username LIKE '%'"), 0); // % is a plain character by path
    EXPECT_EQ(column("SELECT Username from Calls where Username LIKE 'ÉCL*'"), QStringList{"éclair"});
}

TEST_F(JetSql, LikeThroughDataControlUsesAnsiWildcards) {
    auto rs = database.openRecordset("SELECT Username from Calls where Username LIKE 'ab%'", LikeDialect::Ado);
    EXPECT_EQ(rs->recordCount(), 2);
    EXPECT_EQ(
        database.openRecordset("SELECT Nom from Calls where Username LIKE 'x*y[%]z'", LikeDialect::Ado)->recordCount(),
        1);
    EXPECT_EQ(
        database.openRecordset("SELECT Nom from Calls where Username LIKE '_bc'", LikeDialect::Ado)->recordCount(), 1);
    EXPECT_EQ(
        database.openRecordset("SELECT Nom from Calls where Username LIKE 'ab*'", LikeDialect::Ado)->recordCount(), 0);
}

TEST_F(JetSql, TextComparesGroupsAndSortsWithoutCase) {
    EXPECT_EQ(count("SELECT Nom from Calls where Status = 'OPEN'"), 2);
    EXPECT_EQ(count("SELECT Nom from Calls where Status <> 'open'"), 4);
    EXPECT_EQ(column("SELECT Username from Calls where Username < 'abd' and Username > 'a'"), QStringList{"abc"});
    EXPECT_EQ(count("SELECT Nom from Calls where Username = 'ÉCLAIR'"), 1);
    EXPECT_EQ(count("SELECT DISTINCT sp3 from Calls"), 3);
    EXPECT_EQ(count("SELECT sp3, count(1) from Calls GROUP BY sp3"), 3);
    EXPECT_EQ(column("SELECT Username from Calls where Username LIKE 'ab*' ORDER BY Username DESC"),
              (QStringList{"ABD", "abc"}));
}

// Built-in NOCASE folds A-Z only; a typed value with other letters still finds its row in any case, in every
// comparison the program writes, and the comparison follows Jet's order (the shell would put "éclair" after
// "ÉCLAIR" as bytes).
TEST_F(JetSql, TypedValuesOutsideAsciiCompareWithoutCase) {
    EXPECT_EQ(count("SELECT Nom from Calls where 'ÉCLAIR' = Username"), 1);
    EXPECT_EQ(count("SELECT Nom from Calls where Username <> 'ÉCLAIR'"), 5);
    EXPECT_EQ(count("SELECT Nom from Calls where Username > 'ÉCLAIR'"), 0);
    EXPECT_EQ(count("SELECT Nom from Calls where Username >= 'ÉCLAIR' AND Username <= 'ÉCLAIR'"), 1);
    EXPECT_EQ(count("SELECT Nom from Calls where Username IN ('(', 'ÉCLAIR', 'ABC')"), 2);
    EXPECT_EQ(count("SELECT Nom from Calls where Username NOT IN ('ÉCLAIR', 'abc')"), 4);
    EXPECT_EQ(count("SELECT Nom from Calls where Username & '' in ('ÉCLAIR', 'x')"), 1);
    EXPECT_EQ(count("SELECT Nom from Calls where Nom IN (SELECT Nom from Calls where Username = 'ÉCLAIR')"), 1);
    // A value stored by the same statement is stored as written.
    database.execute("UPDATE Calls SET Status = 'Réglé' WHERE Username = 'ÉCLAIR'");
    EXPECT_EQ(column("SELECT Status from Calls where Status = 'RÉGLÉ'"), QStringList{"Réglé"});
}

TEST_F(JetSql, LiteralsAndBracketsPassUntouched) {
    // A user's text holding the dialect's own signs must not change the query.
    add("#2026/01/01# & [x] 'q' \"d\"", "Open", "Other", "2026-05-05", "10:00:00");
    EXPECT_EQ(column("SELECT Username from Calls where Username = '#2026/01/01# & [x] ''q'' \"d\"'"),
              QStringList{"#2026/01/01# & [x] 'q' \"d\""});
    EXPECT_EQ(column("SELECT [Username] from [Calls] where [sp3] = \"Other\""),
              QStringList{"#2026/01/01# & [x] 'q' \"d\""});
    EXPECT_EQ(column("SELECT Username & '-' & Status as both from Calls where Nom = 1"), QStringList{"abc-Open"});
    EXPECT_THROW(database.openRecordset("SELECT Nom from Calls where Username = 'unclosed"), db::DbError);
}

TEST_F(JetSql, FormatAndCountsAsTheListsUseThem) {
    EXPECT_EQ(column("Select Format$([Date Opened],'dd/mm/yyyy')as [Date Opened] from Calls where Nom = 1"),
              QStringList{"31/01/2026"});
    EXPECT_EQ(column("Select Format([Date Opened],'yyyy\\/mm\\/dd') from Calls where Nom = 2"),
              QStringList{"2026/02/01"});
    EXPECT_EQ(column("Select Format$([Date Opened],'d mmm yy') from Calls where Nom = 3"), QStringList{"31 Dec 25"});
    EXPECT_EQ(column("Select Format$([Time Opened],'hh:mm') from Calls where Nom = 2"), QStringList{"23:59"});
    EXPECT_EQ(column("select Count (*) as cntr FROM Calls"), QStringList{"6"});
    EXPECT_EQ(column("SELECT count(Nom) as count1 from Calls where Status <> 'Closed'"), QStringList{"5"});
}

TEST(JetLike, MatcherEdgeCases) {
    using db::jet::likeMatch;
    EXPECT_TRUE(likeMatch("", "*", LikeDialect::Dao));
    EXPECT_FALSE(likeMatch("", "?", LikeDialect::Dao));
    EXPECT_TRUE(likeMatch("aXbXc", "*x*x*", LikeDialect::Dao));
    EXPECT_FALSE(likeMatch("abc", "*x*", LikeDialect::Dao));
    EXPECT_TRUE(likeMatch("a[b", "a[b", LikeDialect::Dao)); // an unclosed [ stands for itself
    EXPECT_TRUE(likeMatch(QString(5000, 'a'), "*a*a*a*a*a*a*a*a*b*", LikeDialect::Dao) == false);
}

// The byte matcher serves ASCII text and must answer as the text matcher does; other text goes to the latter.
TEST(JetLike, MatchingOnBytesAgreesWithMatchingOnText) {
    using db::jet::likeMatch;
    using db::jet::likeMatchUtf8;
    const char alphabet[] = "aAbBzZ09#?*%_[]!- ";
    std::uint32_t seed = 12345;
    auto next = [&seed](int n) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 8) % static_cast<std::uint32_t>(n));
    };
    auto randomText = [&](int maxLength) {
        QByteArray s;
        for (int i = next(maxLength + 1); i > 0; --i)
            s += alphabet[next(sizeof(alphabet) - 1)];
        return s;
    };
    for (int i = 0; i < 20000; ++i) {
        const QByteArray text = randomText(8);
        const QByteArray pattern = randomText(6);
        for (LikeDialect d : {LikeDialect::Dao, LikeDialect::Ado})
            ASSERT_EQ(likeMatchUtf8(text.constData(), text.size(), pattern.constData(), pattern.size(), d),
                      likeMatch(QString::fromLatin1(text), QString::fromLatin1(pattern), d))
                << "'" << text.constData() << "' LIKE '" << pattern.constData() << "'";
    }
    const QByteArray eclair = QStringLiteral("ÉCLAIR").toUtf8();
    EXPECT_TRUE(likeMatchUtf8(eclair.constData(), eclair.size(), "é%", 3, LikeDialect::Ado));
}

TEST(JetSplit, OnlyAPlainSelectOnOneTableSplitsAndLiteralsNeverCount) {
    using db::jet::splitPlainSelect;
    const auto p =
        splitPlainSelect("Select Nom, Format$([Date Closed],'dd/mm/yyyy') as [Date Closed] from Calls "
                         "where Query LIKE '%order by%' AND [from] = 'where' ORDER by Status DESC, Nom DESC;");
    ASSERT_TRUE(p.has_value());
    EXPECT_EQ(p->list, "Nom, Format$([Date Closed],'dd/mm/yyyy') as [Date Closed]");
    EXPECT_EQ(p->table, "Calls");
    EXPECT_EQ(p->where, "Query LIKE '%order by%' AND [from] = 'where'");
    EXPECT_EQ(p->orderBy, "Status DESC, Nom DESC");
    const auto bare = splitPlainSelect("SELECT * FROM [Calls] WHERE Nom IN (SELECT Call FROM Notes)");
    ASSERT_TRUE(bare.has_value());
    EXPECT_EQ(bare->table, "Calls");
    EXPECT_EQ(bare->where, "Nom IN (SELECT Call FROM Notes)");
    EXPECT_EQ(bare->orderBy, "");
    for (const char* other :
         {"SELECT TOP 5 * from Calls ORDER by Nom", "SELECT DISTINCT Status from Calls",
          "SELECT Status, count(1) from Calls GROUP by Status", "SELECT * from Calls, Notes where Nom = Call",
          "SELECT * from Calls INNER JOIN Notes ON Nom = Call", "SELECT * from (SELECT * from Calls)",
          "SELECT * from Calls UNION SELECT * from Calls", "DELETE from Calls", "SELECT * from Calls where",
          "SELECT 'unclosed from Calls"})
        EXPECT_FALSE(splitPlainSelect(other).has_value()) << other;
}

TEST_F(JetSql, LiteralsHoldingControlCharactersFindTheirRows) {
    const QString nul = QStringLiteral("a") + QChar(0) + QStringLiteral("b's");
    const QString bell = QString(QChar(7)) + QStringLiteral("é\t") + QChar(0);
    add("plain", "Open", "x", "2026-01-01", "09:00:00");
    for (const QString& text : {nul, bell}) {
        auto rs = database.openRecordset("SELECT * from Calls");
        rs->addNew();
        rs->setField("Username", text);
        rs->setField("sp3", text);
        rs->update();
    }
    const auto quoted = [](const QString& t) { return QString(t).replace("'", "''"); };
    for (const QString& text : {nul, bell}) {
        SCOPED_TRACE(text.toUtf8().toHex().toStdString());
        EXPECT_EQ(column("SELECT Username from Calls where Username = '" + quoted(text) + "'"), QStringList{text});
        EXPECT_EQ(column("SELECT Username from Calls where Username LIKE '*" + quoted(text) + "*'"), QStringList{text});
        EXPECT_EQ(column("SELECT sp3 from Calls where sp3 IN ('" + quoted(text) + "', 'none') AND Status IS NULL"),
                  QStringList{text});
        // Joined with Jet's & and compared the other way round.
        EXPECT_EQ(count("SELECT Nom from Calls where '" + quoted(text) + "' & 'z' = Username & \"z\""), 1);
    }
    EXPECT_EQ(count("SELECT Nom from Calls where Username = 'a'"), 0);
}

#include "db_fixture.h"

#include "platform/db/jetsql.h"
#include "shared/schema.h"

#include <QElapsedTimer>
#include <QRandomGenerator>

namespace {

// Fragments of the Jet dialect and of what users type, put together at random.
const char* const kFragments[] = {
    "SELECT ",
    "select ",
    "DISTINCT ",
    "TOP ",
    "0 ",
    "1 ",
    "3 ",
    "99999999999 ",
    "* ",
    "Nom",
    "Username",
    "Status",
    "sp3",
    "[Date Opened]",
    "[Time Opened]",
    "[Query]",
    "[",
    "]",
    "\"",
    "'",
    "''",
    "#",
    "#2026/01/31#",
    "#12/31/2025 10:00:00#",
    "#31/31/2026#",
    " from ",
    " FROM Calls ",
    " FROM Notes ",
    " FROM Customers ",
    " FROM Nowhere ",
    " where ",
    " WHERE ",
    " and ",
    " or ",
    " not ",
    " = ",
    " <> ",
    " < ",
    " >= ",
    " like ",
    " LIKE ",
    "'*a*'",
    "'[!a-c]*'",
    "'%b_'",
    "'[a'",
    "'#'",
    "'*'",
    " & ",
    " + ",
    "Format$(",
    "Format(",
    "UCase$(",
    "LCase(",
    "count(",
    "count(1)",
    "sum(Nom)",
    "max(Nom)",
    ", ",
    "(",
    ")",
    " ORDER BY ",
    " order by ",
    " DESC",
    " ASC",
    " GROUP BY ",
    " HAVING ",
    " is null",
    " between ",
    " in (",
    "'dd/mm/yyyy'",
    "'hh:mm'",
    "'Open'",
    "'O''Brien'",
    "'\xC3\xA9"
    "clair'",
    "TRUE",
    "False",
    ";",
    " union ",
    " join ",
    " as x",
    "2",
    ".5",
    "-",
    "\n",
};

template <size_t N> QString pick(QRandomGenerator& random, const char* const (&from)[N]) {
    return QString::fromUtf8(from[random.bounded(int(N))]);
}

// A query the call lists and reports could send: SELECT [TOP n] columns FROM Calls [WHERE] [ORDER BY].
QString wellFormedQuery(QRandomGenerator& random) {
    const char* const columns[] = {"*",
                                   "Nom",
                                   "Username",
                                   "Status",
                                   "sp3",
                                   "[Date Opened]",
                                   "[Time Opened]",
                                   "Query",
                                   "Format$([Date Opened], 'dd/mm/yyyy') as d",
                                   "Username & ' ' & Status",
                                   "UCase$(Status)",
                                   "count(1) as n"};
    const char* const conditions[] = {"Status = 'OPEN'",
                                      "Status <> 'Closed'",
                                      "Username like '*a*'",
                                      "Username LIKE '[!a-c]*'",
                                      "Query like '%jam%'",
                                      "[Date Opened] >= #2026/01/01#",
                                      "[Date Opened] between #12/31/2025# and #1/31/2026#",
                                      "Username is null",
                                      "Username = '\xC3\xA9"
                                      "CLAIR'",
                                      "Nom > 1",
                                      "[Time Opened] < #10:00:00#",
                                      "sp3 = 'hardware' or Status = 'open'"};
    const char* const orders[] = {"Nom", "Nom DESC", "Status", "sp3, Nom DESC", "[Date Opened] DESC", "2", "Username"};
    QString q = QStringLiteral("SELECT ");
    if (random.bounded(4) == 0)
        q += QStringLiteral("TOP %1 ").arg(random.bounded(4));
    q += pick(random, columns);
    if (random.bounded(3) == 0)
        q += QStringLiteral(", ") + pick(random, columns);
    q += QStringLiteral(" from Calls");
    if (random.bounded(2))
        q += QStringLiteral(" where ") + pick(random, conditions);
    if (q.contains(QLatin1String("count(")) && random.bounded(2))
        q += QStringLiteral(" GROUP BY Status");
    else if (random.bounded(2))
        q += QStringLiteral(" ORDER BY ") + pick(random, orders);
    return q;
}

QString randomQuery(QRandomGenerator& random) {
    if (random.bounded(2)) {
        QString q = wellFormedQuery(random);
        if (random.bounded(4) == 0) // a typing slip somewhere
            q.remove(random.bounded(q.size()), random.bounded(1, 3));
        return q;
    }
    QString q;
    if (random.bounded(3) != 0) // mostly something that starts like a query
        q = QStringLiteral("SELECT ");
    const int n = random.bounded(1, 14);
    for (int i = 0; i < n; ++i)
        q += QString::fromUtf8(kFragments[random.bounded(int(std::size(kFragments)))]);
    // Now and then a stray character anywhere.
    for (int k = random.bounded(3); k > 0 && !q.isEmpty(); --k)
        q.insert(random.bounded(q.size()), QChar(char16_t(random.bounded(1, 0x250))));
    return q;
}

class Fuzz : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        database.close();
        db::pool::closeAll();
        QFile::remove(path);
        schema::createDatabase(path);
        database = db::Database::open(path);
        // Rows as both the program and other tools leave them: Nulls, empty texts, accents, odd dates.
        const char* const rows[] = {
            "INSERT INTO Calls (Username, Status, sp3, Query, [Date Opened], [Time Opened]) VALUES ('abc', 'Open', "
            "'Hardware', 'printer jams', '2026-01-31', '09:05:00')",
            "INSERT INTO Calls (Username, Status, sp3, Query, [Date Opened]) VALUES ('\xC3\x89"
            "clair', 'open', "
            "'hardware', '', '2025-12-31')",
            "INSERT INTO Calls (Username, Status) VALUES (NULL, NULL)",
            "INSERT INTO Calls (Username, Status, [Date Opened], [Time Opened]) VALUES ('x', 'Closed', 'not a date', "
            "'25:99')",
            "INSERT INTO Notes ([Call], Note) VALUES ('text in a number', NULL)",
            "INSERT INTO Customers (Name, Username) VALUES (NULL, 'abc')",
        };
        for (const char* sql : rows)
            database.connection().exec(QString::fromUtf8(sql));
    }
};

TEST_F(Fuzz, RandomQueriesOnARealFileGiveRowsOrAnErrorNeverACrashOrAHang) {
    QRandomGenerator random(20261206);
    QElapsedTimer clock;
    clock.start();
    int ran = 0, answered = 0;
    for (; ran < 4000 && clock.elapsed() < 8000; ++ran) {
        const QString sql = randomQuery(random);
        const auto dialect = random.bounded(2) ? db::LikeDialect::Dao : db::LikeDialect::Ado;
        try {
            db::jet::translate(sql);
            auto rs = database.openRecordset(sql, dialect);
            for (rs->moveFirst(); !rs->eof(); rs->moveNext())
                for (int i = 0; i < rs->fieldCount(); ++i)
                    db::displayText(rs->field(i));
            if (rs->recordCount() > 0)
                rs->moveLast();
            ++answered;
        } catch (const db::DbError&) {
        }
    }
    EXPECT_GE(ran, 1000) << "too slow: each query should take a millisecond or so";
    EXPECT_GT(answered, ran / 20) << "the generator should make some queries that run";
    EXPECT_EQ(count("SELECT * from Calls"), 4); // queries never change rows
}

// Patterns that would take exponential time with naive backtracking; a slow matcher shows as a ctest timeout.
TEST(JetLikeFuzz, LongPatternsWithManyWildcardsMatchQuickly) {
    QRandomGenerator random(77);
    for (int i = 0; i < 3000; ++i) {
        QString text, pattern;
        for (int k = random.bounded(200); k > 0; --k)
            text += QChar(char16_t("aAb*?#[]!-%_\xe9"[random.bounded(14)]));
        for (int k = random.bounded(40); k > 0; --k)
            pattern += QChar(char16_t("a*?#[]!-%_b"[random.bounded(11)]));
        db::jet::likeMatch(text, pattern, db::LikeDialect::Dao);
        db::jet::likeMatch(text, pattern, db::LikeDialect::Ado);
    }
    EXPECT_TRUE(db::jet::likeMatch(QString(5000, 'a') + "b", "*a*a*a*a*b", db::LikeDialect::Dao));
}

} // namespace

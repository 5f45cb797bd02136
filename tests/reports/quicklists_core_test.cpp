// The quick-list writers straight from a database: which calls each page lists, in which order, and where it stops.
#include "platform/db/database.h"
#include "platform/db/dberror.h"
#include "platform/db/values.h"
#include "reports/pagefile.h"
#include "reports/quicklists.h"
#include "reports/reportsource.h"
#include "shared/shared.h"
#include "support/testenv.h"

#include <QRegularExpression>
#include <functional>
#include <gtest/gtest.h>

namespace {

class QuickListWriters : public ::testing::Test {
protected:
    void SetUp() override {
        qv::inipath() = env.settingsFolder + QStringLiteral("/quorvane.ini");
        dbPath = env.makeDatabase();
    }

    void sql(const QString& text) { db::Database::open(dbPath).connection().exec(text); }

    // n calls numbered on from the last, described "label-1" to "label-n"; each a second later than the one before.
    void calls(int n, const QString& label, const QString& reference, const QString& user, const QString& status,
               const QString& category, const QDate& day, const QString& from = QStringLiteral("08:00:00")) {
        sql(QStringLiteral("WITH RECURSIVE k(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM k WHERE i < %1) "
                           "INSERT INTO Calls (Query, Username, User, Status, sp3, sp1, [Date Opened], [Time Opened]) "
                           "SELECT '%2-' || i, '%3', '%4', '%5', '%6', 'Printer', '%7', time('%8', '+' || (i - 1) || "
                           "' seconds') FROM k")
                .arg(n)
                .arg(label, reference, user, status, category, db::storageDate(day), from));
    }

    // The page a writer gives, after its three frame lines.
    QStringList page(const std::function<void(PageFile&, ReportSource&)>& write, bool tolerant = false) {
        const QString path = env.path(QStringLiteral("page.htm"));
        PageFile file;
        EXPECT_TRUE(file.open(path));
        ReportSource source(dbPath, tolerant);
        write(file, source);
        EXPECT_TRUE(file.commit());
        return crlfLines(path).mid(3);
    }

    // The calls a page lists, by their descriptions, in page order.
    static QStringList listed(const QStringList& lines) {
        static const QRegularExpression description(QStringLiteral("\\b([a-z]+-\\d+)\\b"));
        QStringList out;
        for (const QString& line : lines)
            for (const auto& m : description.globalMatch(line))
                out << m.captured(1);
        return out;
    }

    TestEnv env;
    QString dbPath;
    const QDate day{2025, 3, 14};
    const QString sqlDate = QStringLiteral("yyyy\\/mm\\/dd");
};

using Writer = std::function<void(PageFile&, ReportSource&)>;

TEST_F(QuickListWriters, EachListStopsAtItsCapAtTheEndItShowsFirst) {
    calls(1001, "bulk", "c", "amy", "Open", "Net", day);
    const QDateTime now(day, QTime(18, 0));
    struct Case {
        const char* name;
        Writer write;
        int rows;
        QString first, last;
    };
    const Case cases[] = {
        {"day", [&](PageFile& p, ReportSource& s) { quicklists::day(p, s, day, sqlDate, "", false); }, 1000, "bulk-1",
         "bulk-1000"},
        {"open", [&](PageFile& p, ReportSource& s) { quicklists::open(p, s, now, false); }, 1000, "bulk-1",
         "bulk-1000"},
        {"status", [&](PageFile& p, ReportSource& s) { quicklists::status(p, s, "Open", false); }, 1000, "bulk-1001",
         "bulk-2"},
        {"customer", [&](PageFile& p, ReportSource& s) { quicklists::customer(p, s, "c", false); }, 20, "bulk-1001",
         "bulk-982"},
        {"customer dates",
         [&](PageFile& p, ReportSource& s) {
             quicklists::customerDates(p, s, "c", day, day, "3/14/2025", "3/14/2025", sqlDate, false);
         },
         1000, "bulk-1001", "bulk-2"},
        {"staff", [&](PageFile& p, ReportSource& s) { quicklists::staff(p, s, "amy", false); }, 50, "bulk-1001",
         "bulk-952"},
        {"category", [&](PageFile& p, ReportSource& s) { quicklists::category(p, s, "Net", false, false); }, 50,
         "bulk-1001", "bulk-952"},
        {"item", [&](PageFile& p, ReportSource& s) { quicklists::itemCalls(p, s, "print"); }, 1000, "bulk-1001",
         "bulk-2"},
    };
    for (const Case& c : cases) {
        QStringList calls = listed(page(c.write));
        EXPECT_EQ(calls.size(), c.rows) << c.name;
        EXPECT_EQ(calls.value(0), c.first) << c.name;
        EXPECT_EQ(calls.value(calls.size() - 1), c.last) << c.name;
        EXPECT_EQ(calls.removeDuplicates(), 0) << c.name;
    }
}

TEST_F(QuickListWriters, EachListPicksItsCallsInItsOrderAndAddsNotesOnlyWhenAsked) {
    calls(1, "one", "ann", "amy", "Open", "Hardware", day.addDays(-1), "09:00:00");
    calls(1, "two", "ann", "bob", "Pending", "Net", day, "10:00:00");
    calls(1, "three", "bob", "amy", "Closed", "Hardware", day, "08:00:00");
    calls(1, "four", "ann", "amy", "Pending", "Hardware", day, "07:00:00");
    calls(1, "five", "ann", "amy", "Open", "Hardware", day.addDays(1), "09:00:00");
    sql("UPDATE Calls SET sp1 = 'Scanner' WHERE Query = 'three-1'");
    sql("INSERT INTO Notes (Call, Note, Analyst) SELECT Nom, 'Rang back', 'amy' FROM Calls WHERE Query = 'two-1'");
    const QDateTime now(day, QTime(18, 0));

    const auto dayPage = [&](bool notes) {
        return page([&](PageFile& p, ReportSource& s) { quicklists::day(p, s, day, sqlDate, "", notes); });
    };
    EXPECT_EQ(listed(dayPage(false)), (QStringList{"two-1", "three-1", "four-1"}));
    const QStringList withNotes = dayPage(true);
    EXPECT_EQ(withNotes.filter("Rang back").size(), 1);
    // The notes come right after their call.
    const int callRow = int(withNotes.indexOf(QRegularExpression(".*two-1.*")));
    const int noteRow = int(withNotes.indexOf(QRegularExpression(".*Rang back.*")));
    EXPECT_GT(noteRow, callRow);
    EXPECT_LT(noteRow, int(withNotes.indexOf(QRegularExpression(".*three-1.*"))));
    EXPECT_TRUE(dayPage(false).filter("Rang back").isEmpty());

    const auto shows = [&](const Writer& write) { return listed(page(write)); };
    // Not closed, by status descending, then number.
    EXPECT_EQ(shows([&](PageFile& p, ReportSource& s) { quicklists::open(p, s, now, false); }),
              (QStringList{"two-1", "four-1", "one-1", "five-1"}));
    // Newest first by day and time.
    EXPECT_EQ(shows([&](PageFile& p, ReportSource& s) { quicklists::status(p, s, "Pending", false); }),
              (QStringList{"two-1", "four-1"}));
    EXPECT_EQ(shows([&](PageFile& p, ReportSource& s) { quicklists::category(p, s, "Hardware", true, false); }),
              (QStringList{"five-1", "three-1", "four-1", "one-1"}));
    // Highest numbers first.
    EXPECT_EQ(shows([&](PageFile& p, ReportSource& s) { quicklists::customer(p, s, "ann", false); }),
              (QStringList{"five-1", "four-1", "two-1", "one-1"}));
    EXPECT_EQ(shows([&](PageFile& p, ReportSource& s) {
                  quicklists::customerDates(p, s, "ann", day.addDays(-1), day, "", "", sqlDate, false);
              }),
              (QStringList{"four-1", "two-1", "one-1"}));
    EXPECT_EQ(shows([&](PageFile& p, ReportSource& s) { quicklists::staff(p, s, "amy", false); }),
              (QStringList{"five-1", "four-1", "three-1", "one-1"}));
    EXPECT_EQ(shows([&](PageFile& p, ReportSource& s) { quicklists::itemCalls(p, s, "scan"); }),
              (QStringList{"three-1"}));
}

TEST_F(QuickListWriters, AFailingReadEndsAStrictListWhileATolerantOneKeepsItsHeadings) {
    calls(3, "gone", "c", "amy", "Open", "Net", day);
    sql("DROP TABLE Calls");
    const Writer staff = [](PageFile& p, ReportSource& s) { quicklists::staff(p, s, "amy", false); };
    PageFile file;
    ASSERT_TRUE(file.open(env.path("strict.htm")));
    ReportSource strict(dbPath, false);
    EXPECT_THROW(staff(file, strict), db::DbError);

    const QStringList headings = page(staff, true);
    EXPECT_EQ(headings.size(), 5);
    EXPECT_EQ(headings.value(0), "<P><H3>Last 50 calls for Support Staff member: amy</H3>");
}

} // namespace

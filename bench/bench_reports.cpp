// The quick reports, the full call report and the customers-with-inventory list over the 100,000-call data set,
// against the SQLite C API running the same queries and reading the same rows as text: the list itself up to
// its cap, each distinct customer's name and each listed call's notes. Target: at most 2.
// Run: build/bin/bench_reports [folder to keep the pages in]
#include "bench/benchprogram.h"
#include "bench/benchutil.h"
#include "bench/dataset.h"

#include "platform/db/database.h"
#include "reports/callreport.h"
#include "reports/pagefile.h"
#include "reports/quicklists.h"
#include "reports/reportsource.h"
#include "shared/shared.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSet>
#include <cstdio>
#include <functional>
#include <sqlite3.h>
#include <vector>

namespace {

using bench::readRows;
using bench::Rows;

QByteArray nameSql(const QString& ref) {
    return bench::translated("SELECT Name, Location from Customers Where Username = '" + SQLQuote(ref) + "'");
}
QByteArray notesSql(const QString& nom) {
    return bench::translated("Select * from Notes where Call = " + nom);
}

// The baseline of one list: its query up to the cap, then the per-row queries the page needs.
struct Baseline {
    QByteArray list;
    int limit = -1;
    std::vector<QByteArray> perRow;
    int rows = 0;
};

Baseline listBaseline(const QString& dbPath, const QString& jetSql, int limit, int refCol, int nomCol) {
    Baseline b{bench::translated(jetSql), limit, {}, 0};
    db::Connection conn(dbPath);
    Rows rows;
    b.rows = readRows(conn.handle(), b.list, limit, &rows);
    QSet<QString> names;
    for (const auto& row : rows) {
        if (refCol >= 0) {
            const QString ref = row[refCol].isNull() ? QStringLiteral("---") : QString::fromUtf8(row[refCol]);
            if (!names.contains(ref)) {
                names.insert(ref);
                b.perRow.push_back(nameSql(ref));
            }
        }
        b.perRow.push_back(notesSql(QString::fromUtf8(row[nomCol])));
    }
    return b;
}

double rawTime(const QString& dbPath, const Baseline& b) {
    db::Connection conn(dbPath);
    return bench::medianMs([&] {
        readRows(conn.handle(), b.list, b.limit);
        for (const QByteArray& sql : b.perRow)
            readRows(conn.handle(), sql);
    });
}

// The writer's median time, replacing the page each run (as a report run again does). On ext4 a rename over an
// existing file makes the kernel flush the new file first (auto_da_alloc), some milliseconds whatever the page's
// size; `fresh` (optional) receives the time for a page written where none was.
double programTime(const QString& path, bool tolerant, const std::function<void(PageFile&, ReportSource&)>& write,
                   double* fresh = nullptr) {
    bool ok = true;
    const auto once = [&] {
        PageFile page;
        ok = page.open(path, PageFile::Sync::Skip) && ok;
        ReportSource source(qv::dbpath(), tolerant);
        write(page, source);
        ok = page.commit() && ok;
    };
    once();
    const double ms = bench::medianMs(once);
    if (fresh) {
        std::vector<double> times;
        for (int i = 0; i < bench::Runs; ++i) {
            QFile::remove(path);
            QElapsedTimer t;
            t.start();
            once();
            times.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
        }
        *fresh = bench::median(std::move(times));
    }
    if (!ok)
        std::printf("%s: not written\n", qPrintable(path));
    return ms;
}

} // namespace

int main(int argc, char** argv) {
    ensureApp();
    TestEnv env;
    const QString dbPath = bench::useDataset(env);
    const QString folder = bench::pageFolder(argc, argv, env, QStringLiteral("pages"));
    const QDateTime now(QDate(2025, 3, 14), QTime(9, 30));
    const QString staff = bench::staffName(1);

    // All open calls, capped at 1000, with customer names and notes.
    {
        const Baseline b = listBaseline(dbPath,
                                        QStringLiteral("Select Username, [Date Opened],[Time Opened], User, Status, "
                                                       "Query, SP3, Nom from Calls where Status <> 'Closed' order by  "
                                                       "Status DESC, Nom"),
                                        quicklists::OpenLimit, 0, 7);
        const double r = rawTime(dbPath, b);
        const double p = programTime(folder + "/report-calls-open.htm", true,
                                     [&](PageFile& page, ReportSource& s) { quicklists::open(page, s, now, true); });
        std::printf("all open calls: %d listed\n", b.rows);
        bench::report(QStringLiteral("All open calls (notes on)"), p, r, QStringLiteral("<= 2"));
    }
    // The last 50 calls of one member of staff, with notes.
    {
        const Baseline b = listBaseline(dbPath,
                                        "Select Username, [Date Opened], User, Status, Query, sp2, Sp3, Nom from Calls "
                                        "where User = '" +
                                            SQLQuote(staff) + "' order by Nom DESC",
                                        quicklists::StaffLimit, -1, 7);
        const double r = rawTime(dbPath, b);
        double fresh = 0;
        const double p = programTime(
            folder + "/report-calls-for-support.htm", true,
            [&](PageFile& page, ReportSource& s) { quicklists::staff(page, s, staff, true); }, &fresh);
        bench::report(QStringLiteral("Last 50 calls for a staff member (notes on), page replaced"), p, r,
                      QStringLiteral("<= 2"));
        bench::report(QStringLiteral("Last 50 calls for a staff member (notes on), new page"), fresh, r,
                      QStringLiteral("<= 2"));
    }
    // The 50 newest calls of a category, with customer names and notes.
    {
        const Baseline b = listBaseline(dbPath,
                                        QStringLiteral("Select Username, [Date Opened], User, Status, Query,  Nom from "
                                                       "Calls where sp3 = 'Hardware' order by [Date opened] DESC, "
                                                       "[Time opened] DESC"),
                                        quicklists::CategoryLimit, 0, 5);
        const double r = rawTime(dbPath, b);
        const double p = programTime(folder + "/report-calls-for-cat.htm", true, [&](PageFile& page, ReportSource& s) {
            quicklists::category(page, s, QStringLiteral("Hardware"), true, true);
        });
        bench::report(QStringLiteral("Last 50 calls for a category (notes on)"), p, r, QStringLiteral("<= 2"));
    }
    // Every customer with inventory: one item query per customer.
    {
        Baseline b{
            bench::translated(QStringLiteral("Select Name, Username, Extension, Location from Customers")), -1, {}, 0};
        {
            db::Connection conn(dbPath);
            Rows rows;
            b.rows = readRows(conn.handle(), b.list, -1, &rows);
            for (const auto& row : rows)
                if (!row[1].isNull())
                    b.perRow.push_back(
                        bench::translated("Select Type, details, Number, Notes, Number2, Notes2 from Inventory where "
                                          "details2 = '" +
                                          SQLQuote(QString::fromUtf8(row[1])) + "'"));
        }
        const double r = rawTime(dbPath, b);
        const double p = programTime(folder + "/report-calls-inv.htm", false, [&](PageFile& page, ReportSource& s) {
            quicklists::inventory(page, s, now, true);
        });
        bench::report(QStringLiteral("Customers with inventory"), p, r, QStringLiteral("<= 2"));
    }
    // The full report of the call with 2,000 notes.
    {
        const QString nom = QString::number(bench::busyCall());
        Baseline b{bench::translated(
                       "Select Username, [Date Opened], [Time Opened], [Date Closed], [Time Closed], [Time Spent], "
                       "Resolution, User, Spare, Status, Query, SP3, Nom from Calls where Nom = " +
                       nom),
                   1,
                   {},
                   0};
        {
            db::Connection conn(dbPath);
            Rows rows;
            readRows(conn.handle(), b.list, 1, &rows);
            const QString ref = QString::fromUtf8(rows.at(0).at(0));
            b.perRow = {
                nameSql(ref), bench::translated("SELECT * from Customers where Username = '" + SQLQuote(ref) + "'"),
                notesSql(nom), bench::translated("SELECT * from Inventory where Details2 = '" + SQLQuote(ref) + "'"),
                bench::translated("SELECT Audit from Calls where Nom = " + nom)};
        }
        const double r = rawTime(dbPath, b);
        double fresh = 0;
        const double p = programTime(
            folder + "/report-call.htm", true,
            [&](PageFile& page, ReportSource& s) { writeCallReport(page, s, nom, QStringLiteral("Notes:")); }, &fresh);
        // 6,000 lines written for 2,000 rows read: the page's own size, not the reading, sets this one.
        bench::report(QStringLiteral("Full call report (2,000 notes), page replaced"), p, r);
        bench::report(QStringLiteral("Full call report (2,000 notes), new page"), fresh, r);
    }
    bench::reportPeakRss();
    db::pool::closeAll();
    return 0;
}

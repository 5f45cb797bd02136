// Both monitor pages from the 100,000-call data set against the SQLite C API running the same queries and
// reading the same rows as text: the five counts, the open calls, and the customer name and notes of each
// call listed. Target: at most 2. Run: build/bin/bench_monitor [folder to keep the pages in]
#include "bench/benchprogram.h"
#include "bench/benchutil.h"

#include "platform/db/database.h"
#include "reports/monitorpages.h"
#include "shared/shared.h"

#include <QFile>
#include <cstdio>
#include <sqlite3.h>
#include <vector>

namespace {

const QString OpenCalls = QStringLiteral("Select Username, [Date Opened], User, Status, Query, SP3, Nom from Calls "
                                         "where Status <> 'Closed' order by  Status DESC, Nom");

} // namespace

int main(int argc, char** argv) {
    ensureApp();
    TestEnv env;
    const QString dbPath = bench::useDataset(env);
    const QString folder = bench::pageFolder(argc, argv, env, QStringLiteral("wall"));
    const monitorpages::Input in{folder, dbPath, QStringLiteral("Pending"), QStringLiteral("yyyy\\/mm\\/dd"),
                                 QDateTime(QDate(2025, 3, 14), QTime(9, 30))};

    // The baseline's texts, translated before timing: the program's own translation counts against it.
    std::vector<QByteArray> counts;
    for (const QString& sql : monitorpages::countQueries(in))
        counts.push_back(bench::translated(sql));
    const QByteArray open = bench::translated(OpenCalls);
    std::vector<QByteArray> perCall;
    int openRows = 0;
    {
        db::Connection conn(dbPath);
        bench::Rows rows;
        openRows = bench::readRows(conn.handle(), open, -1, &rows);
        for (size_t r = 0; r < rows.size() && r < monitorpages::MaxListed; ++r) {
            perCall.push_back(bench::translated("SELECT Name, Location from Customers Where Username = '" +
                                                SQLQuote(QString::fromUtf8(rows[r][0])) + "'"));
            perCall.push_back(bench::translated("Select * from Notes where Call = " + QString::fromUtf8(rows[r][6])));
        }
    }

    db::Connection conn(dbPath);
    const double rawMs = bench::medianMs([&] {
        for (const QByteArray& sql : counts)
            bench::readRows(conn.handle(), sql);
        bench::readRows(conn.handle(), open);
        for (const QByteArray& sql : perCall)
            bench::readRows(conn.handle(), sql);
    });
    bool written = true;
    const double programMs = bench::medianMs([&] { written = monitorpages::write(in) && written; });

    std::printf("open calls: %d, listed: %d\n", openRows, static_cast<int>(perCall.size() / 2));
    bench::report(QStringLiteral("monitor pages (both)"), programMs, rawMs, QStringLiteral("<= 2"));
    std::printf("monitor-open.htm: %lld bytes\n", QFile(folder + QStringLiteral("/monitor-open.htm")).size());
    bench::reportPeakRss();
    db::pool::closeAll();
    return written ? 0 : 1;
}

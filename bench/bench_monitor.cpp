// Both monitor pages from the 100,000-call data set against the SQLite C API running the same queries and
// reading the same rows as text: the five counts, the open calls, and the customer name and notes of each
// call listed. Target: at most 2. Run: build/bin/bench_monitor [folder to keep the pages in]
#include "bench/benchutil.h"
#include "bench/dataset.h"
#include "support/testenv.h"

#include "platform/db/database.h"
#include "platform/db/jetsql.h"
#include "reports/monitorpages.h"
#include "shared/shared.h"

#include <QDir>
#include <QFile>
#include <cstdio>
#include <sqlite3.h>
#include <stdexcept>
#include <vector>

namespace {

const QString OpenCalls = QStringLiteral("Select Username, [Date Opened], User, Status, Query, SP3, Nom from Calls "
                                         "where Status <> 'Closed' order by  Status DESC, Nom");

// Every column of every row as text; the rows read.
int readAll(sqlite3* db, const QByteArray& sql, std::vector<std::vector<QByteArray>>* keep = nullptr) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql.constData(), static_cast<int>(sql.size()), &st, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(db));
    int rows = 0;
    const int cols = sqlite3_column_count(st);
    while (sqlite3_step(st) == SQLITE_ROW) {
        std::vector<QByteArray> row;
        for (int c = 0; c < cols; ++c) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(st, c));
            row.emplace_back(text ? QByteArray(text, sqlite3_column_bytes(st, c)) : QByteArray());
        }
        if (keep)
            keep->push_back(std::move(row));
        ++rows;
    }
    sqlite3_finalize(st);
    return rows;
}

QByteArray raw(const QString& jetSql) {
    return db::jet::translate(jetSql).sql.toUtf8();
}

} // namespace

int main(int argc, char** argv) {
    ensureApp();
    TestEnv env;
    const QString dbPath = benchDataset();
    qv::dbpath() = dbPath;
    qv::inipath() = env.settingsFolder + QStringLiteral("/quorvane.ini");
    // An optional folder keeps the pages for a look in a browser.
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : env.path(QStringLiteral("wall"));
    QDir().mkpath(folder);
    const monitorpages::Input in{folder, dbPath, QStringLiteral("Pending"), QStringLiteral("yyyy\\/mm\\/dd"),
                                 QDateTime(QDate(2025, 3, 14), QTime(9, 30))};

    // The baseline's texts, translated before timing: the program's own translation counts against it.
    std::vector<QByteArray> counts;
    for (const QString& sql : monitorpages::countQueries(in))
        counts.push_back(raw(sql));
    const QByteArray open = raw(OpenCalls);
    std::vector<QByteArray> perCall;
    int openRows = 0;
    {
        db::Connection conn(dbPath);
        std::vector<std::vector<QByteArray>> rows;
        openRows = readAll(conn.handle(), open, &rows);
        for (size_t r = 0; r < rows.size() && r < monitorpages::MaxListed; ++r) {
            perCall.push_back(raw("SELECT Name, Location from Customers Where Username = '" +
                                  SQLQuote(QString::fromUtf8(rows[r][0])) + "'"));
            perCall.push_back(raw("Select * from Notes where Call = " + QString::fromUtf8(rows[r][6])));
        }
    }

    db::Connection conn(dbPath);
    const double rawMs = bench::medianMs([&] {
        for (const QByteArray& sql : counts)
            readAll(conn.handle(), sql);
        readAll(conn.handle(), open);
        for (const QByteArray& sql : perCall)
            readAll(conn.handle(), sql);
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

#include "benchutil.h"

#include "platform/db/jetsql.h"

#include <QElapsedTimer>
#include <QFile>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <sqlite3.h>
#include <stdexcept>
#include <vector>

namespace bench {

QByteArray translated(const QString& jetSql) {
    return db::jet::translate(jetSql).sql.toUtf8();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

namespace {

// One prepared raw query: every column of every row read as text.
class RawQuery {
public:
    RawQuery(db::Connection& conn, const QString& jetSql) {
        const QByteArray sql = translated(jetSql);
        if (sqlite3_prepare_v2(conn.handle(), sql.constData(), static_cast<int>(sql.size()), &m_st, nullptr) !=
            SQLITE_OK)
            throw std::runtime_error(std::string("raw query: ") + sqlite3_errmsg(conn.handle()));
    }
    ~RawQuery() { sqlite3_finalize(m_st); }
    RawQuery(const RawQuery&) = delete;
    RawQuery& operator=(const RawQuery&) = delete;
    int run() {
        int count = 0;
        const int cols = sqlite3_column_count(m_st);
        while (sqlite3_step(m_st) == SQLITE_ROW) {
            for (int c = 0; c < cols; ++c) {
                const unsigned char* text = sqlite3_column_text(m_st, c);
                m_bytes += text ? static_cast<std::size_t>(sqlite3_column_bytes(m_st, c)) : 0;
            }
            ++count;
        }
        sqlite3_reset(m_st);
        return count;
    }
    std::size_t bytes() const { return m_bytes; }

private:
    sqlite3_stmt* m_st = nullptr;
    std::size_t m_bytes = 0;
};

} // namespace

double medianMs(const std::function<void()>& run, int runs) {
    // QV_BENCH_RUNS asks for more runs (for profiling). Short steps run until they have taken a quarter of
    // a second (at most 51 runs), so that one slow run on a busy machine does not decide the median.
    runs = std::max({runs, Runs, qEnvironmentVariableIntValue("QV_BENCH_RUNS")});
    std::vector<double> times;
    double spent = 0;
    while (static_cast<int>(times.size()) < runs || (spent < 250 && times.size() < 51)) {
        QElapsedTimer t;
        t.start();
        run();
        times.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
        spent += times.back();
    }
    return median(std::move(times));
}

double rawMs(const QString& dbPath, const QString& jetSql, db::LikeDialect dialect, int runs, int* rows) {
    db::Connection conn(dbPath);
    conn.setLikeDialect(dialect);
    RawQuery query(conn, jetSql);
    int count = 0;
    const double ms = medianMs([&] { count = query.run(); }, runs);
    if (rows)
        *rows = count;
    if (query.bytes() == 0 && count > 0)
        std::puts("(no text read)");
    return ms;
}

int readRows(sqlite3* db, const QByteArray& sql, int limit, Rows* keep) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql.constData(), static_cast<int>(sql.size()), &st, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(db));
    int rows = 0;
    const int cols = sqlite3_column_count(st);
    while ((limit < 0 || rows < limit) && sqlite3_step(st) == SQLITE_ROW) {
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

Comparison compare(const std::function<void()>& program, const QString& dbPath, const std::function<QStringList()>& sql,
                   db::LikeDialect dialect) {
    program();
    db::Connection conn(dbPath);
    conn.setLikeDialect(dialect);
    std::vector<std::unique_ptr<RawQuery>> queries;
    for (const QString& q : sql())
        queries.push_back(std::make_unique<RawQuery>(conn, q));
    const int runs = std::max(Runs, qEnvironmentVariableIntValue("QV_BENCH_RUNS"));
    std::vector<double> programTimes, rawTimes;
    double spent = 0;
    Comparison c;
    while (static_cast<int>(programTimes.size()) < runs || (spent < 250 && programTimes.size() < 51)) {
        QElapsedTimer t;
        t.start();
        program();
        programTimes.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
        t.start();
        c.rawRows = 0;
        for (auto& q : queries)
            c.rawRows += q->run();
        rawTimes.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
        spent += programTimes.back() + rawTimes.back();
    }
    c.programMs = median(programTimes);
    c.rawMs = median(rawTimes);
    return c;
}

void report(const QString& name, double programMs, double rawMs, const QString& target) {
    std::printf("%s: program %.1f ms, raw %.1f ms, ratio %.2f%s\n", qPrintable(name), programMs, rawMs,
                rawMs > 0 ? programMs / rawMs : 0.0, target.isEmpty() ? "" : qPrintable(" (target " + target + ")"));
    std::fflush(stdout);
}

void report(const QString& name, double programMs, const QString& target) {
    std::printf("%s: program %.1f ms%s\n", qPrintable(name), programMs,
                target.isEmpty() ? "" : qPrintable(" (target " + target + ")"));
    std::fflush(stdout);
}

double peakRssMb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return 0;
}

void reportPeakRss(const QString& target) {
    std::printf("peak resident memory: %.1f MB%s\n", peakRssMb(),
                target.isEmpty() ? "" : qPrintable(" (target " + target + ")"));
    std::fflush(stdout);
}

} // namespace bench

#pragma once

#include "platform/db/connection.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

struct sqlite3;

// Timing helpers every benchmark shares. Benchmarks print; they never fail on time.
namespace bench {

inline constexpr int Runs = 5;

// The middle of the times (the mean of the two middle ones for an even count).
double median(std::vector<double> times);

// The median, in milliseconds, of `runs` runs of `run` (at least 5, or QV_BENCH_RUNS when more); a short
// step runs more often, until the runs have taken a quarter of a second (at most 51).
double medianMs(const std::function<void()>& run, int runs = Runs);

// The physical limit for a query: the same Jet text, translated as the program translates it, run through
// the SQLite C API on a handle with the program's collation and functions, every column of every row read
// as text. Median of `runs`, in milliseconds. `rows` (optional) receives the row count.
double rawMs(const QString& dbPath, const QString& jetSql, db::LikeDialect dialect = db::LikeDialect::Ado,
             int runs = Runs, int* rows = nullptr);

// A step of the program against the SQL it ran. The program runs once first (`sql` is asked for after that
// run), then the program and the raw SQL run by turns, so that a busy machine slows both alike. Medians as
// medianMs; rawRows is the number of rows the raw SQL read in one run.
struct Comparison {
    double programMs = 0;
    double rawMs = 0;
    int rawRows = 0;
};
Comparison compare(const std::function<void()>& program, const QString& dbPath, const std::function<QStringList()>& sql,
                   db::LikeDialect dialect = db::LikeDialect::Ado);

// Prints "name: program X ms, raw Y ms, ratio Z" (and the target when one is given).
void report(const QString& name, double programMs, double rawMs, const QString& target = {});
// Prints "name: program X ms" for steps with no single query behind them.
void report(const QString& name, double programMs, const QString& target = {});

// A Jet query as the program translates it, ready for sqlite3_prepare.
QByteArray translated(const QString& jetSql);

// Every column of up to `limit` rows as text (all rows when limit < 0), kept in `keep` when given; the rows read.
using Rows = std::vector<std::vector<QByteArray>>;
int readRows(sqlite3* db, const QByteArray& sql, int limit = -1, Rows* keep = nullptr);

// The most memory this process has held resident so far, in MB; and a line that prints it.
double peakRssMb();
void reportPeakRss(const QString& target = {});

} // namespace bench

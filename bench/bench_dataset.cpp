// Makes the benchmark data set if it is not there yet and prints its path and what it holds.
#include "bench/benchutil.h"
#include "bench/dataset.h"
#include "platform/db/database.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString path = benchDataset();
    std::printf("%s\n", qPrintable(path));
    for (const char* sql :
         {"SELECT count(*) from Calls", "SELECT count(*) from Calls where Status = 'Closed'",
          "SELECT count(*) from Calls where Query LIKE '%printer%'", "SELECT count(*) from Customers",
          "SELECT count(*) from Notes", "SELECT count(*) from Analysts", "SELECT count(*) from Inventory"}) {
        auto rs = db::Database::open(path).openRecordset(QString::fromLatin1(sql), db::LikeDialect::Ado);
        std::printf("%s: %s\n", sql, qPrintable(rs->field(0).toString()));
    }
    bench::reportPeakRss();
    return 0;
}

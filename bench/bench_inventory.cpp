// The inventory window over the 50,000 items of the benchmark data set against the SQLite C API running the same
// queries and reading the same rows as text: the full list ("Retrieve All"), two filters ("Apply") and the export
// of the full list to inv.csv (the baseline writes the same lines straight from its rows).
// Target: at most 2 each. Run: build/bin/bench_inventory
#include "bench/benchprogram.h"
#include "bench/benchutil.h"
#include "bench/dataset.h"

#include "customers/inventory.h"
#include "customers/inventoryrules.h"
#include "mainwindow/form1.h"
#include "platform/db/database.h"
#include "platform/db/jetsql.h"
#include "platform/widgets/flexgrid.h"
#include "platform/widgets/forms.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cstdio>
#include <sqlite3.h>
#include <stdexcept>

namespace {

// The baseline export: every column but the first of every row as text, each line written as the window writes
// it, the file replaced whole.
void rawExport(sqlite3* db, const QByteArray& sql, const QString& out) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql.constData(), static_cast<int>(sql.size()), &st, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(db));
    QByteArray data;
    const int cols = sqlite3_column_count(st);
    for (int c = 1; c < cols; ++c)
        data += '"' + QByteArray(sqlite3_column_name(st, c)) + "\",";
    data += "\r\n";
    while (sqlite3_step(st) == SQLITE_ROW) {
        for (int c = 1; c < cols; ++c) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(st, c));
            data += '"';
            data.append(text, sqlite3_column_bytes(st, c));
            data += "\",";
        }
        data += "\r\n";
    }
    sqlite3_finalize(st);
    QFile file(out);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(data);
}

void apply(Inventory& w, int field, const QString& match, const QString& value) {
    w.Combo1->setCurrentIndex(field);
    w.Combo2->setCurrentText(match);
    w.Text1->setText(value);
    w.cmdCommand1_Click();
}

} // namespace

int main() {
    bench::Program program;
    Form1* main = program.main;
    const QString& dbPath = program.dbPath;
    main->maxcalls = bench::inventoryItems();
    main->mnuinvserach->trigger();
    Inventory& w = ui::form<Inventory>();

    const QString all = inventoryrules::fullList(bench::inventoryItems());
    int rows = 0;
    const double rawList = bench::rawMs(dbPath, all, db::LikeDialect::Ado, bench::Runs, &rows);
    const double list = bench::medianMs([&] { w.cmdGo_Click(); });
    std::printf("items: %d, listed: %d (%s)\n", rows, w.Datagrid1->rows() - 1, qPrintable(w.Label1->text()));
    bench::report(QStringLiteral("inventory list (Retrieve All)"), list, rawList, QStringLiteral("<= 2"));

    struct Filter {
        int field;
        const char* match;
        const char* value;
    };
    for (const Filter& f : {Filter{0, "Equals", "Printer"}, Filter{1, "Contains", "ThinkPad"}}) {
        const QString sql = inventoryrules::filter(f.field, inventoryrules::Matches.indexOf(f.match), f.value);
        const double raw = bench::rawMs(dbPath, sql, db::LikeDialect::Ado, bench::Runs, &rows);
        const double program = bench::medianMs([&] { apply(w, f.field, f.match, f.value); });
        std::printf("%s: %s\n", qPrintable(sql), qPrintable(w.Label1->text()));
        bench::report(QStringLiteral("inventory filter (Apply)"), program, raw, QStringLiteral("<= 2"));
    }

    w.cmdGo_Click();
    const QByteArray allSql = db::jet::translate(all).sql.toUtf8();
    const QString rawPath = program.env.path(QStringLiteral("raw.csv"));
    db::Connection conn(dbPath);
    const double rawOut = bench::medianMs([&] { rawExport(conn.handle(), allSql, rawPath); });
    const double out = bench::medianMs([&] { w.cmdCommand2_Click(); });
    const QString invPath = inventoryrules::invPath();
    std::printf("inv.csv: %lld bytes, baseline file: %lld bytes\n", QFile(invPath).size(), QFile(rawPath).size());
    bench::report(QStringLiteral("inventory export (inv.csv)"), out, rawOut, QStringLiteral("<= 2"));
    bench::reportPeakRss();

    main->close();
    delete main;
    processEvents();
    db::pool::closeAll();
    return 0;
}

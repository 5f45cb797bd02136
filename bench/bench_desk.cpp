// The main window on the benchmark data set, offscreen: every call-list view, the dashboard, opening a call,
// the notes window of a call with 2,000 notes, the customer search and the customer export. Beside each the
// same SQL through the SQLite C API, reading every column of every row as text; then the peak memory.
#include "bench/benchutil.h"
#include "bench/dataset.h"
#include "support/testenv.h"

#include "calllists/callviews.h"
#include "customers/customersearch.h"
#include "customers/notes.h"
#include "customers/search.h"
#include "mainwindow/form1.h"
#include "mainwindow/statusbar.h"
#include "platform/db/database.h"
#include "platform/db/datacontrol.h"
#include "platform/widgets/flexgrid.h"
#include "platform/widgets/forms.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <cstdio>
#include <functional>

namespace {

const QString ListTarget = QStringLiteral("<= 1.5x raw and < 100 ms");

struct View {
    QString name;
    std::function<void(Form1&)> run;
};

} // namespace

int main(int argc, char** argv) {
    // An argument runs only the steps whose name holds it (for profiling one step).
    const QString only = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    auto wanted = [&](const QString& name) { return only.isEmpty() || name.contains(only, Qt::CaseInsensitive); };
    ensureApp();
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    const QString data = benchDataset();
    TestEnv env;
    const QString dbPath = env.settingsFolder + QStringLiteral("/desk.qvdb");
    if (!QFile::copy(data, dbPath)) {
        std::printf("cannot copy the data set to %s\n", qPrintable(dbPath));
        return 1;
    }
    env.clock.set(QDateTime(QDate(2026, 10, 20), QTime(10, 0)));

    QElapsedTimer t;
    t.start();
    auto* main = new Form1(env.appDataFolder);
    ui::detail::registerForm(typeid(Form1), main);
    main->Combo2->setCurrentText(QStringLiteral("Admin"));
    main->Command1->click();
    bench::report(QStringLiteral("start-up and login (once)"), static_cast<double>(t.nsecsElapsed()) / 1e6);
    if (main->ended()) {
        std::printf("the main window did not start: %s\n", qPrintable(env.dialogs.lastMessage()));
        return 1;
    }

    const QString analyst = bench::staffName(3);
    const std::vector<View> views = {
        {"All Calls", [](Form1& f) { f.showAllCalls(); }},
        {"My Workload", [](Form1& f) { f.Command11_Click(); }},
        {"Open Calls", [](Form1& f) { f.listOpenCalls(); }},
        {"Unassigned Calls", [](Form1& f) { f.listUnassignedCalls(); }},
        {"Closed Today", [](Form1& f) { f.listClosedToday(); }},
        {"By Status \"Closed\"", [](Form1& f) { f.listByStatus(QStringLiteral("Closed")); }},
        {"By Status \"Open\"", [](Form1& f) { f.listByStatus(QStringLiteral("Open")); }},
        {"By Keyword \"printer\"", [](Form1& f) { f.listByKeyword(QStringLiteral("printer")); }},
        {"By Category \"Hardware\"", [](Form1& f) { f.listByCategory(QStringLiteral("Hardware")); }},
        {"By Analyst", [&](Form1& f) { f.listByAnalyst(analyst); }},
        {"By Customer", [](Form1& f) { f.listByCustomer(QStringLiteral("U01234")); }},
        {"By Date", [](Form1& f) { f.listByDate(QDate(2025, 6, 2)); }},
    };
    for (const View& v : views) {
        if (!wanted(v.name))
            continue;
        const double ms = bench::medianMs([&] { v.run(*main); });
        // Raw runs the SQL the list ran; the whole view's SQL beside it shows what reading every row costs.
        int rows = 0, viewRows = 0;
        const double raw = bench::rawMs(dbPath, main->Adodc7->recordSource(), db::LikeDialect::Ado, bench::Runs, &rows);
        const double whole = bench::rawMs(dbPath, main->currentsql, db::LikeDialect::Ado, bench::Runs, &viewRows);
        if (qEnvironmentVariableIsSet("QV_RS")) {
            const QString src = main->Adodc7->recordSource();
            bench::report("  recordset only",
                          bench::medianMs([&] { db::Database::open(dbPath).openRecordset(src, db::LikeDialect::Ado); }),
                          raw);
            bench::report("  refresh only", bench::medianMs([&] { main->Adodc7->refresh(); }), raw);
            bench::report("  raw again", bench::rawMs(dbPath, src, db::LikeDialect::Ado), raw);
        }
        bench::report(v.name + QStringLiteral(" [%1 shown, \"%2\"; raw read %3 rows; whole view raw %4 ms, %5 rows]")
                                   .arg(main->datagrid2->rows() - main->datagrid2->fixedRows())
                                   .arg(main->StatusBar1->panel(5))
                                   .arg(rows)
                                   .arg(whole, 0, 'f', 1)
                                   .arg(viewRows),
                      ms, raw, ListTarget);
    }

    if (wanted(QStringLiteral("dashboard"))) {
        const double ms = bench::medianMs([&] { main->stats(); });
        const callviews::StatsSql q =
            callviews::statsSql(env.clock.today(), main->currentanalyst, main->homestats == QLatin1String("me"),
                                main->stats3status, main->piemode, main->sqldateformat);
        double raw = 0;
        for (const QString& sql : q.counts)
            raw += bench::rawMs(dbPath, sql, db::LikeDialect::Dao);
        if (!q.pie.isEmpty())
            raw += bench::rawMs(dbPath, q.pie, db::LikeDialect::Dao);
        bench::report(QStringLiteral("dashboard stats"), ms, raw, QStringLiteral("< 50 ms"));
    }

    if (wanted(QStringLiteral("opencall"))) {
        QElapsedTimer first;
        first.start();
        main->opencall(30000);
        bench::report(QStringLiteral("first call opened after login (fills the customer pickers)"),
                      static_cast<double>(first.nsecsElapsed()) / 1e6);
        int next = 0;
        const double ms = bench::medianMs([&] { main->opencall(40000 + 997 * next++); });
        const double raw = bench::rawMs(dbPath, main->Adodc4->recordSource(), db::LikeDialect::Ado);
        bench::report(QStringLiteral("opening a call (opencall)"), ms, raw, QStringLiteral("< 20 ms"));
    }

    if (wanted(QStringLiteral("notes"))) {
        main->opencall(bench::BusyCall);
        const double ms = bench::medianMs([&] {
            main->Command22->click();
            ui::unload<Notes>();
        });
        const double raw =
            bench::rawMs(dbPath, QStringLiteral("SELECT * from Notes where Call = ") + QString::number(bench::BusyCall),
                         db::LikeDialect::Ado);
        bench::report(QStringLiteral("notes window, 2,000 notes"), ms, raw);
    }

    if (wanted(QStringLiteral("search"))) {
        main->mnusearchname_Click();
        Search& search = ui::form<Search>();
        search.Text1->setText(QStringLiteral("martin"));
        const double ms = bench::medianMs([&] { search.Command1_Click(); });
        int rows = 0;
        const double raw = bench::rawMs(dbPath, customers::nameSearchSql(search.Text1->text()), db::LikeDialect::Dao,
                                        bench::Runs, &rows);
        bench::report(QStringLiteral("customer search \"martin\" [%1 found]").arg(rows), ms, raw);
        ui::unload<Search>();
    }

    if (wanted(QStringLiteral("export"))) {
        const double ms = bench::medianMs([&] { main->mnucustexp_Click(); });
        const double raw = bench::rawMs(dbPath, main->Adodc1->recordSource(), db::LikeDialect::Ado);
        bench::report(QStringLiteral("customer export"), ms, raw);
    }

    bench::reportPeakRss(QStringLiteral("< 150 MB"));
    main->close();
    delete main;
    processEvents();
    db::pool::closeAll();
    return 0;
}

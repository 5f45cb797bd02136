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
    bench::report(QStringLiteral("start-up and login (once) [peak so far %1 MB]").arg(bench::peakRssMb(), 0, 'f', 0),
                  static_cast<double>(t.nsecsElapsed()) / 1e6);
    if (main->ended()) {
        std::printf("the main window did not start: %s\n", qPrintable(env.dialogs.lastMessage()));
        return 1;
    }

    // First every step through the window, so the peak memory is the program's; then the raw baselines.
    struct Step {
        QString name;
        double ms = 0;
        QStringList sql; // what raw runs (summed)
        db::LikeDialect dialect = db::LikeDialect::Ado;
        QString target;
        QString wholeView; // the view's whole SQL, for the list views
    };
    std::vector<Step> steps;

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
        Step s;
        s.ms = bench::medianMs([&] { v.run(*main); });
        s.name = v.name + QStringLiteral(" [%1 shown, \"%2\"]")
                              .arg(main->datagrid2->rows() - main->datagrid2->fixedRows())
                              .arg(main->StatusBar1->panel(5));
        s.sql = QStringList{main->Adodc7->recordSource()};
        s.target = ListTarget;
        s.wholeView = main->currentsql;
        s.name += QStringLiteral(" [peak so far %1 MB]").arg(bench::peakRssMb(), 0, 'f', 0);
        steps.push_back(s);
    }

    if (wanted(QStringLiteral("dashboard"))) {
        Step s;
        s.name = QStringLiteral("dashboard stats");
        s.ms = bench::medianMs([&] { main->stats(); });
        const callviews::StatsSql q =
            callviews::statsSql(env.clock.today(), main->currentanalyst, main->homestats == QLatin1String("me"),
                                main->stats3status, main->piemode, main->sqldateformat);
        s.sql = q.counts;
        if (!q.pie.isEmpty())
            s.sql << q.pie;
        s.dialect = db::LikeDialect::Dao;
        s.target = QStringLiteral("< 50 ms");
        s.name += QStringLiteral(" [peak so far %1 MB]").arg(bench::peakRssMb(), 0, 'f', 0);
        steps.push_back(s);
    }

    if (wanted(QStringLiteral("opencall"))) {
        QElapsedTimer first;
        first.start();
        main->opencall(30000);
        Step filled;
        filled.name = QStringLiteral("first call opened after login (fills the customer pickers)");
        filled.ms = static_cast<double>(first.nsecsElapsed()) / 1e6;
        steps.push_back(filled);
        Step s;
        s.name = QStringLiteral("opening a call (opencall)");
        int next = 0;
        s.ms = bench::medianMs([&] { main->opencall(40000 + 997 * next++); });
        s.sql = QStringList{main->Adodc4->recordSource()};
        s.target = QStringLiteral("< 20 ms");
        s.name += QStringLiteral(" [peak so far %1 MB]").arg(bench::peakRssMb(), 0, 'f', 0);
        steps.push_back(s);
    }

    if (wanted(QStringLiteral("notes"))) {
        main->opencall(bench::BusyCall);
        Step s;
        s.name = QStringLiteral("notes window, 2,000 notes (open and close)");
        s.ms = bench::medianMs([&] {
            main->Command22->click();
            ui::unload<Notes>();
            processEvents(); // the window goes, as it does in the event loop
        });
        s.sql = QStringList{QStringLiteral("SELECT * from Notes where Call = ") + QString::number(bench::BusyCall)};
        s.name += QStringLiteral(" [peak so far %1 MB]").arg(bench::peakRssMb(), 0, 'f', 0);
        steps.push_back(s);
    }

    if (wanted(QStringLiteral("search"))) {
        main->mnusearchname_Click();
        Search& search = ui::form<Search>();
        search.Text1->setText(QStringLiteral("martin"));
        Step s;
        s.name = QStringLiteral("customer search \"martin\"");
        s.ms = bench::medianMs([&] { search.Command1_Click(); });
        s.sql = QStringList{customers::nameSearchSql(search.Text1->text())};
        s.dialect = db::LikeDialect::Dao;
        s.name += QStringLiteral(" [peak so far %1 MB]").arg(bench::peakRssMb(), 0, 'f', 0);
        steps.push_back(s);
        ui::unload<Search>();
    }

    if (wanted(QStringLiteral("export"))) {
        Step s;
        s.name = QStringLiteral("customer export (20,000 customers)");
        s.ms = bench::medianMs([&] { main->mnucustexp_Click(); });
        s.sql = QStringList{main->Adodc1->recordSource()};
        s.name += QStringLiteral(" [peak so far %1 MB]").arg(bench::peakRssMb(), 0, 'f', 0);
        steps.push_back(s);
    }

    bench::reportPeakRss(QStringLiteral("< 150 MB"));
    std::printf("raw = the same SQL through the SQLite C API, every column of every row read as text\n");
    for (const Step& s : steps) {
        if (s.sql.isEmpty()) {
            bench::report(s.name, s.ms);
            continue;
        }
        double raw = 0;
        int rows = 0;
        for (const QString& sql : s.sql) {
            int n = 0;
            raw += bench::rawMs(dbPath, sql, s.dialect, bench::Runs, &n);
            rows += n;
        }
        QString name = s.name + QStringLiteral(" [raw reads %1 rows]").arg(rows);
        if (!s.wholeView.isEmpty()) {
            // What reading the whole view costs, as the list did before it read only what it shows.
            int viewRows = 0;
            const double whole = bench::rawMs(dbPath, s.wholeView, s.dialect, bench::Runs, &viewRows);
            name += QStringLiteral(" [whole view raw %1 ms, %2 rows]").arg(whole, 0, 'f', 1).arg(viewRows);
        }
        bench::report(name, s.ms, raw, s.target);
    }

    main->close();
    delete main;
    processEvents();
    db::pool::closeAll();
    return 0;
}

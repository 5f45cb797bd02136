// The main window on the benchmark data set, offscreen: every call-list view, the dashboard, opening a call,
// the notes window of a call with 2,000 notes, the customer search and the customer export. Beside each the
// same SQL through the SQLite C API, reading every column of every row as text; then the peak memory.
#include "bench/benchutil.h"
#include "bench/dataset.h"
#include "support/testenv.h"

#include "calllists/callviews.h"
#include "customers/about.h"
#include "customers/customersearch.h"
#include "customers/notes.h"
#include "customers/search.h"
#include "mainwindow/form1.h"
#include "mainwindow/statusbar.h"
#include "platform/db/database.h"
#include "platform/db/datacontrol.h"
#include "platform/widgets/flexgrid.h"
#include "platform/widgets/forms.h"

#include <QAction>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <cstdio>
#include <functional>
#include <unistd.h>

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
    // The copy's pages reach the disk first, so the settings file's first writes at start-up do not wait for them.
    ::sync();

    QElapsedTimer t;
    t.start();
    auto* main = new Form1(env.appDataFolder);
    ui::detail::registerForm(typeid(Form1), main);
    const double started = static_cast<double>(t.nsecsElapsed()) / 1e6;
    t.start();
    main->Combo2->setCurrentText(QStringLiteral("Admin"));
    main->Command1->click();
    const double loggedIn = static_cast<double>(t.nsecsElapsed()) / 1e6;
    bench::report(QStringLiteral("start to the login panel (once) [peak so far %1 MB]").arg(bench::peakRssMb(), 0, 'f', 0),
                  started, QStringLiteral("< 300 ms"));
    bench::report(QStringLiteral("login: dashboard and My Workload (once)"), loggedIn, QStringLiteral("< 150 ms"));
    if (main->ended()) {
        std::printf("the main window did not start: %s\n", qPrintable(env.dialogs.lastMessage()));
        return 1;
    }

    // Every step through the window by turns with its raw SQL (the raw reads are small, so the peak memory
    // stays the program's); the whole views' SQL, which reads every row, runs at the end.
    struct Step {
        QString name;
        bench::Comparison c;
        bool hasRaw = true;
        db::LikeDialect dialect = db::LikeDialect::Ado;
        QString target;
        QString wholeView; // the view's whole SQL, for the list views
    };
    std::vector<Step> steps;
    auto measure = [&](const QString& name, const std::function<void()>& program,
                       const std::function<QStringList()>& sql, db::LikeDialect dialect, const QString& target) {
        Step s;
        s.c = bench::compare(program, dbPath, sql, dialect);
        s.name = name + QStringLiteral(" [peak so far %1 MB]").arg(bench::peakRssMb(), 0, 'f', 0);
        s.dialect = dialect;
        s.target = target;
        steps.push_back(s);
        return &steps.back();
    };

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
        Step* s = measure(
            v.name, [&] { v.run(*main); }, [&] { return QStringList{main->Adodc7->recordSource()}; },
            db::LikeDialect::Ado, ListTarget);
        s->name = v.name +
                  QStringLiteral(" [%1 shown, \"%2\"]")
                      .arg(main->datagrid2->rows() - main->datagrid2->fixedRows())
                      .arg(main->StatusBar1->panel(5)) +
                  s->name.mid(v.name.size());
        s->wholeView = main->currentsql();
    }

    if (wanted(QStringLiteral("dashboard"))) {
        const callviews::StatsSql q =
            callviews::statsSql(env.clock.today(), main->currentanalyst, main->homestats == QLatin1String("me"),
                                main->stats3status, main->piemode, main->sqldateformat);
        measure(
            QStringLiteral("dashboard stats"), [&] { main->stats(); },
            [&] { return q.pie.isEmpty() ? q.counts : q.counts + QStringList{q.pie}; }, db::LikeDialect::Dao,
            QStringLiteral("< 50 ms"));
    }

    if (wanted(QStringLiteral("opencall"))) {
        QElapsedTimer first;
        first.start();
        main->opencall(30000);
        Step filled;
        filled.name = QStringLiteral("first call opened after login (fills the customer pickers)");
        filled.c.programMs = static_cast<double>(first.nsecsElapsed()) / 1e6;
        filled.hasRaw = false;
        steps.push_back(filled);
        int next = 0;
        measure(
            QStringLiteral("opening a call (opencall)"), [&] { main->opencall(40000 + 997 * next++); },
            [&] { return QStringList{main->Adodc4->recordSource()}; }, db::LikeDialect::Ado, QStringLiteral("< 20 ms"));
    }

    if (wanted(QStringLiteral("notes"))) {
        main->opencall(bench::busyCall());
        measure(
            QStringLiteral("notes window, 2,000 notes (open and close)"),
            [&] {
                main->Command22->click();
                ui::unload<Notes>();
                processEvents(); // the window goes, as it does in the event loop
            },
            [] {
                return QStringList{QStringLiteral("SELECT * from Notes where Call = ") +
                                   QString::number(bench::busyCall())};
            },
            db::LikeDialect::Ado, {});
    }

    if (wanted(QStringLiteral("search"))) {
        Step opened;
        opened.name = QStringLiteral("opening the customer search window (re-reads the customer list)");
        opened.c.programMs = bench::medianMs([&] {
            main->mnusearchname_Click();
            ui::unload<Search>();
            processEvents();
        });
        opened.hasRaw = false;
        opened.target = QStringLiteral("< 200 ms");
        steps.push_back(opened);
        main->mnusearchname_Click();
        Search& search = ui::form<Search>();
        search.Text1->setText(QStringLiteral("martin"));
        measure(
            QStringLiteral("customer search \"martin\""), [&] { search.Command1_Click(); },
            [&] { return QStringList{customers::nameSearchSql(search.Text1->text())}; }, db::LikeDialect::Dao, {});
        ui::unload<Search>();
        processEvents();
    }

    if (wanted(QStringLiteral("export"))) {
        measure(
            QStringLiteral("customer export (%1 customers)").arg(QLocale().toString(bench::customers())),
            [&] { main->mnucustexp_Click(); },
            [&] { return QStringList{main->Adodc1->recordSource()}; }, db::LikeDialect::Ado, {});
    }

    if (wanted(QStringLiteral("delete mode"))) {
        // The information window's customer grid: open and painted once, then OK. Raw reads what the grid needs
        // for that: the customers' row ids in the grid's order and the first page of rows.
        main->mnuabout->trigger();
        frmAbout1& about = ui::form<frmAbout1>();
        about.setAttribute(Qt::WA_DeleteOnClose, false); // OK hides it between runs
        about.show();
        const double before = bench::peakRssMb();
        std::vector<double> open, ok;
        QElapsedTimer step;
        for (int run = 0; run < bench::Runs; ++run) {
            step.start();
            about.Command3_Click();
            about.cust1->grab();
            open.push_back(static_cast<double>(step.nsecsElapsed()) / 1e6);
            step.start();
            about.cmdOK_Click();
            ok.push_back(static_cast<double>(step.nsecsElapsed()) / 1e6);
            about.show();
        }
        Step opened;
        opened.c.programMs = bench::median(open);
        int idRows = 0;
        opened.c.rawMs = bench::rawMs(dbPath, QStringLiteral("Select rowid from Customers ORDER by name, rowid"),
                                      db::LikeDialect::Ado, bench::Runs, &idRows) +
                         bench::rawMs(dbPath, QStringLiteral("Select * from Customers ORDER by name LIMIT 64"),
                                      db::LikeDialect::Ado, bench::Runs, &opened.c.rawRows);
        opened.name =
            QStringLiteral("information window delete mode, open and paint [%1 row ids] [peak %2 MB, was %3 MB]")
                .arg(idRows)
                .arg(bench::peakRssMb(), 0, 'f', 0)
                .arg(before, 0, 'f', 0);
        opened.wholeView = QStringLiteral("Select * from Customers ORDER by name");
        steps.push_back(opened);
        Step left;
        left.name = QStringLiteral("information window delete mode, OK (the main list read again)");
        left.c.programMs = bench::median(ok);
        left.hasRaw = false;
        steps.push_back(left);
        ui::unload<frmAbout1>();
        processEvents();
    }

    bench::reportPeakRss(QStringLiteral("< 150 MB"));
    std::printf("raw = the same SQL through the SQLite C API, every column of every row read as text\n");
    for (const Step& s : steps) {
        if (!s.hasRaw) {
            bench::report(s.name, s.c.programMs, s.target);
            continue;
        }
        QString name = s.name + QStringLiteral(" [raw reads %1 rows]").arg(s.c.rawRows);
        if (!s.wholeView.isEmpty()) {
            // What reading the whole view costs, as the list did before it read only what it shows.
            int viewRows = 0;
            const double whole = bench::rawMs(dbPath, s.wholeView, s.dialect, bench::Runs, &viewRows);
            name += QStringLiteral(" [whole view raw %1 ms, %2 rows]").arg(whole, 0, 'f', 1).arg(viewRows);
        }
        bench::report(name, s.c.programMs, s.c.rawMs, s.target);
    }

    main->close();
    delete main;
    processEvents();
    db::pool::closeAll();
    return 0;
}

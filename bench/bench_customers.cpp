// Export of the customer list against the plainest writer of the same lines: one query, one file.
// Prints both times and their ratio (target: at most 2), and how long the list takes to (re)load.
#include "support/testenv.h"

#include "customers/customerexport.h"
#include "mainwindow/form1.h"
#include "platform/db/database.h"
#include "platform/db/datacontrol.h"
#include "platform/db/recordset.h"
#include "platform/db/values.h"
#include "platform/widgets/datagrid.h"
#include "platform/widgets/forms.h"
#include "shared/schema.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int Customers = 20000;
constexpr int Runs = 5;

void fill(const QString& path) {
    schema::createDatabase(path);
    auto database = db::Database::open(path);
    db::Transaction tx(database.connection());
    for (int i = 0; i < Customers; ++i)
        database.execute(QStringLiteral("INSERT INTO Customers (Name, Username, Extension, Location, Building, Notes) "
                                        "VALUES ('Customer %1', 'REF%1', '555 %1', '%1 Long Road, Some Town', "
                                        "'c%1@example.com', 'Notes for customer %1')")
                             .arg(i, 5, 10, QLatin1Char('0')));
    tx.commit();
}

// The same lines straight from one query.
void direct(const QString& dbPath, const QString& out) {
    auto database = db::Database::open(dbPath);
    auto rs = database.openRecordset(QStringLiteral("SELECT Name, Username, Extension, Location, Spare1, Spare2, "
                                                    "Building, Notes from Customers ORDER by Name"));
    QFile file(out);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return;
    for (; !rs->eof(); rs->moveNext()) {
        QString line;
        for (int c = 0; c < rs->fieldCount(); ++c)
            line += QLatin1Char('"') + db::displayText(rs->field(c)) + QStringLiteral("\",");
        file.write((line + QStringLiteral("\r\n")).toUtf8());
    }
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

int main() {
    ensureApp();
    TestEnv env;
    const QString dbPath = env.settingsFolder + QStringLiteral("/desk.qvdb");
    fill(dbPath);

    auto* main = new Form1(env.appDataFolder);
    ui::detail::registerForm(typeid(Form1), main);
    main->Combo2->setCurrentText(QStringLiteral("Admin"));
    main->Command1->click();
    if (main->Datagrid1->approxCount() != Customers) {
        std::printf("the list holds %d customers, not %d\n", main->Datagrid1->approxCount(), Customers);
        return 1;
    }

    std::vector<double> load, exportMs, directMs, jump;
    QElapsedTimer t;
    const QString directPath = env.path(QStringLiteral("direct.csv"));
    for (int i = 0; i < Runs; ++i) {
        t.start();
        main->Adodc1->refresh();
        load.push_back(t.nsecsElapsed() / 1e6);

        t.start();
        main->mnucustexp_Click();
        exportMs.push_back(t.nsecsElapsed() / 1e6);

        t.start();
        main->Adodc1->recordset()->moveLast();
        main->Adodc1->recordset()->moveFirst();
        jump.push_back(t.nsecsElapsed() / 1e6);

        t.start();
        direct(dbPath, directPath);
        directMs.push_back(t.nsecsElapsed() / 1e6);
    }
    const bool same = contents(customers::custgridPath()) == contents(directPath);
    const double e = median(exportMs);
    const double d = median(directMs);
    std::printf("customers: %d\n", Customers);
    std::printf("list load (Adodc1 refresh): %.1f ms\n", median(load));
    std::printf("export (Export this List):  %.1f ms\n", e);
    std::printf("one query, lines written:   %.1f ms\n", d);
    std::printf("list to last row and back:  %.1f ms\n", median(jump));
    std::printf("ratio export / direct:      %.2f (target <= 2)%s\n", e / d, same ? "" : "  FILES DIFFER");
    std::printf("ratio (reload + export) / direct: %.2f\n", (median(load) + e) / d);

    main->close();
    delete main;
    processEvents();
    db::pool::closeAll();
    return same ? 0 : 1;
}

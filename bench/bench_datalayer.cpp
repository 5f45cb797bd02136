// Data-layer costs against the engine alone, printed as ratios:
//  1. reading 10,000 call rows through a recordset vs raw sqlite3 calls (target <= 1.5);
//  2. a page of 1,000 calls running custname and printnotes per row, each opening the database by path,
//     vs the same page written over one open connection (target <= 2).
// The database holds 100,000 calls, 20,000 customers and 200,000 notes.
#include "platform/db/database.h"
#include "platform/db/recordset.h"
#include "platform/db/values.h"
#include "reports/pagefile.h"
#include "reports/reportframe.h"
#include "shared/schema.h"
#include "shared/shared.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>
#include <sqlite3.h>

namespace {

double best(const std::function<void()>& run, int times = 5) {
    double fastest = 1e300;
    for (int i = 0; i < times; ++i) {
        QElapsedTimer t;
        t.start();
        run();
        fastest = qMin(fastest, static_cast<double>(t.nsecsElapsed()) / 1e6);
    }
    return fastest;
}

void generate(const QString& path) {
    schema::createDatabase(path);
    auto database = db::Database::open(path);
    db::Transaction tx(database.connection());
    {
        db::Statement st(database.connection(), "INSERT INTO Customers (Name, Username, Extension, Location, Building) "
                                                "VALUES (?, ?, ?, ?, ?)");
        for (int i = 0; i < 20000; ++i) {
            st.bind(1, QStringLiteral("Customer %1").arg(i));
            st.bind(2, QStringLiteral("ref%1").arg(i));
            st.bind(3, QStringLiteral("555-%1").arg(i));
            st.bind(4, QStringLiteral("%1 High Street").arg(i));
            st.bind(5, QStringLiteral("c%1@example.com").arg(i));
            st.step();
            st.reset();
        }
    }
    {
        db::Statement st(database.connection(),
                         "INSERT INTO Calls (Username, sp2, User, Status, sp3, Query, Logged, Contact, Field1, "
                         "Audit, \"Date Opened\", \"Time Opened\") VALUES (?, ?, 'Admin', ?, 'Hardware', ?, "
                         "'Admin', '555  -  High Street', '-----', 'audit line', ?, '09:30:00')");
        for (int i = 0; i < 100000; ++i) {
            st.bind(1, QStringLiteral("ref%1").arg(i % 20000));
            st.bind(2, QStringLiteral("Customer %1").arg(i % 20000));
            st.bind(3, i % 3 ? QStringLiteral("Open") : QStringLiteral("Closed"));
            st.bind(4, QStringLiteral("The printer on floor %1 does not print at all, again.").arg(i % 7));
            st.bind(5, QDate(2024, 1, 1).addDays(i % 700));
            st.step();
            st.reset();
        }
    }
    {
        db::Statement st(database.connection(),
                         "INSERT INTO Notes (Call, Note, Analyst, \"Note-date\", \"Note-time\") VALUES "
                         "(?, 'Spoke to the customer; will call back.', 'Admin', '2025-03-14', '10:00:00')");
        for (int i = 0; i < 200000; ++i) {
            st.bind(1, 1 + i % 100000);
            st.step();
            st.reset();
        }
    }
    tx.commit();
}

double readRecordset(const QString& path) {
    return best([&] {
        auto database = db::Database::open(path);
        auto rs = database.openRecordset("SELECT * from Calls where Nom <= 10000");
        qint64 sum = 0;
        for (; !rs->eof(); rs->moveNext())
            for (int i = 0; i < rs->fieldCount(); ++i)
                sum += rs->field(i).isValid() ? 1 : 0;
        if (sum == 0)
            std::puts("no rows");
    });
}

double readRaw(const QString& path) {
    sqlite3* handle = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &handle, SQLITE_OPEN_READONLY, nullptr);
    const double ms = best([&] {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(handle, "SELECT * FROM Calls WHERE Nom <= 10000", -1, &st, nullptr);
        qint64 sum = 0;
        std::vector<std::vector<QVariant>> rows;
        while (sqlite3_step(st) == SQLITE_ROW) {
            std::vector<QVariant> row;
            const int n = sqlite3_column_count(st);
            for (int i = 0; i < n; ++i) {
                switch (sqlite3_column_type(st, i)) {
                case SQLITE_NULL:
                    row.emplace_back();
                    break;
                case SQLITE_INTEGER:
                    row.emplace_back(static_cast<qlonglong>(sqlite3_column_int64(st, i)));
                    break;
                default:
                    row.emplace_back(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, i)),
                                                       sqlite3_column_bytes(st, i)));
                }
                sum += row.back().isValid() ? 1 : 0;
            }
            rows.push_back(std::move(row));
        }
        sqlite3_finalize(st);
        if (sum == 0)
            std::puts("no rows");
    });
    sqlite3_close(handle);
    return ms;
}

void writeCallRows(PageFile& page, db::Recordset& rs, const std::function<QString(const QString&)>& name,
                   const std::function<void(PageFile&, const QString&)>& notes) {
    for (; !rs.eof(); rs.moveNext()) {
        const QString nom = db::displayText(rs.field("Nom"));
        page.writeLine("<TABLE class=textbody><TR><TD>" + nom + "</TD><TD>" + name(rs.field("Username").toString()) +
                       "</TD><TD>" + rs.field("Query").toString().left(150) + "</TD></TR></TABLE>");
        notes(page, nom);
    }
}

double pageByPath(const QString& path, const QString& out) {
    return best([&] {
        auto database = db::Database::open(path);
        auto rs = database.openRecordset("SELECT * from Calls where Nom <= 1000");
        PageFile page;
        page.open(out);
        reportheader(page);
        writeCallRows(
            page, *rs, [](const QString& ref) { return custname(ref).toString(); },
            [](PageFile& p, const QString& nom) {
                notescall() = nom;
                printnotes(p);
            });
        page.commit();
    });
}

double pageOneConnection(const QString& path, const QString& out) {
    return best([&] {
        auto database = db::Database::open(path);
        auto rs = database.openRecordset("SELECT * from Calls where Nom <= 1000");
        PageFile page;
        page.open(out);
        reportheader(page);
        writeCallRows(
            page, *rs, [&](const QString& ref) { return custname(ref, database).toString(); },
            [&](PageFile& p, const QString& nom) {
                notescall() = nom;
                printnotes(p, database);
            });
        page.commit();
    });
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath("bench.qvdb");
    qv::inipath() = dir.filePath("quorvane.ini");
    qv::dbpath() = path;
    std::printf("generating 100,000 calls, 20,000 customers, 200,000 notes...\n");
    generate(path);
    db::pool::closeAll();

    const double rs = readRecordset(path);
    const double raw = readRaw(path);
    std::printf("read 10,000 calls: recordset %.1f ms, raw sqlite3 %.1f ms, ratio %.2f (target <= 1.5)\n", rs, raw,
                rs / raw);

    const double byPath = pageByPath(path, dir.filePath("a.htm"));
    const double oneConn = pageOneConnection(path, dir.filePath("b.htm"));
    std::printf("page of 1,000 calls: opening by path %.1f ms, one connection %.1f ms, ratio %.2f (target <= 2)\n",
                byPath, oneConn, byPath / oneConn);
    return 0;
}

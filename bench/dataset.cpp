#include "dataset.h"

#include "platform/db/connection.h"
#include "platform/db/database.h"
#include "shared/schema.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QUuid>
#include <array>
#include <cstdint>
#include <cstdio>
#include <sqlite3.h>
#include <stdexcept>

#ifndef QV_BENCH_DATA_DIR
#define QV_BENCH_DATA_DIR "."
#endif
#ifndef QV_BENCH_DATA_STAMP
#define QV_BENCH_DATA_STAMP "0"
#endif

namespace {

// A fixed sequence, the same on every machine and library.
class Rng {
public:
    explicit Rng(std::uint64_t seed) : m_s(seed) {}
    std::uint32_t next() {
        m_s ^= m_s << 13;
        m_s ^= m_s >> 7;
        m_s ^= m_s << 17;
        return static_cast<std::uint32_t>(m_s >> 11);
    }
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint32_t>(n)); }
    bool chance(int percent) { return below(100) < percent; }
    template <typename T, std::size_t N> const T& pick(const std::array<T, N>& a) { return a[below(N)]; }

private:
    std::uint64_t m_s;
};

const std::array<const char*, 10> kStaff = {"Admin",       "Alice Grant",  "Ben Otieno", "Chloe Martin", "Dev Patel",
                                            "Elena Rossi", "Farid Haddad", "Grace Liu",  "Hugo Berg",    "Ines Duarte"};
const std::array<const char*, 20> kFirst = {"James",  "Mary",    "Robert", "Patricia", "John",    "Jennifer", "Michael",
                                            "Linda",  "David",   "Élodie", "William",  "Barbara", "Richard",  "Susan",
                                            "Joseph", "Jessica", "Thomas", "Sarah",    "Zoë",     "Karen"};
const std::array<const char*, 20> kLast = {
    "Smith",     "Johnson", "Williams", "Brown",  "Jones",    "Garcia", "Miller", "Davis", "Rodríguez", "Martinez",
    "Hernández", "Lopez",   "Gonzalez", "Wilson", "Anderson", "Thomas", "Taylor", "Moore", "Jackson",   "Martin"};
const std::array<const char*, 8> kStreets = {"High Street", "Station Road", "Church Lane",  "Mill Road",
                                             "Park Avenue", "King Street",  "Queen's Road", "The Green"};
const std::array<const char*, 6> kDepartments = {"Finance", "Sales", "Warehouse", "Reception", "Legal", "IT"};

struct Category {
    const char* name;
    int weight;
    std::array<const char*, 5> problems;
};
const std::array<Category, 6> kCategories = {{
    {"Hardware",
     30,
     {"The monitor flickers and then goes black", "Laptop will not start after the update",
      "Docking station does not charge the laptop", "Keyboard has several dead keys",
      "The printer in room 2 jams on every second page"}},
    {"Software",
     28,
     {"Spreadsheet crashes when opening the monthly report", "Cannot install the accounts package",
      "Licence for the drawing program has expired", "The PDF viewer shows blank pages",
      "Word processor freezes when saving to the share"}},
    {"Network",
     14,
     {"No connection to the shared drive since this morning", "Wireless drops every few minutes",
      "VPN refuses the password", "Very slow access to the intranet", "Cannot reach the file server"}},
    {"Printing",
     12,
     {"The printer prints only blank pages", "Cannot add the new printer on floor 3",
      "Printer queue stuck with 40 jobs", "Colour printer prints everything in grey",
      "Label printer prints the labels shifted"}},
    {"E-mail",
     11,
     {"Mailbox is full and mail bounces", "Calendar invitations do not arrive",
      "Cannot open attachments from customers", "Out of office reply does not switch off",
      "Shared mailbox disappeared from the list"}},
    {"Other",
     5,
     {"New starter needs an account and a desk phone", "Please move my computer to room 14",
      "Request for a second monitor", "Password reset for the time-sheet site",
      "Projector in the meeting room shows no picture"}},
}};
const std::array<const char*, 6> kResolutions = {"Replaced the cable and tested with the customer.",
                                                 "Reinstalled the driver; working again.",
                                                 "Reset the password and checked the login.",
                                                 "Cleared the queue and restarted the spooler.",
                                                 "Escalated to the supplier; part replaced under warranty.",
                                                 "Talked the customer through the settings."};
const std::array<const char*, 6> kNoteTexts = {"Spoke to the customer; will call back this afternoon.",
                                               "Left a voice message, no answer.",
                                               "Customer confirms the problem is still there.",
                                               "Ordered the replacement part.",
                                               "Remote session: collected the logs.",
                                               "Customer asks for an update on the printer."};

const Category& pickCategory(Rng& r) {
    int total = 0;
    for (const Category& c : kCategories)
        total += c.weight;
    int x = r.below(total);
    for (const Category& c : kCategories) {
        if (x < c.weight)
            return c;
        x -= c.weight;
    }
    return kCategories[0];
}

// The program's own connection, so the file's collation is known; rows go in through plain prepared inserts.
class Db {
public:
    explicit Db(const QString& path) : m_conn(path) {}
    void exec(const char* sql) { m_conn.exec(QString::fromLatin1(sql)); }
    sqlite3* handle() const { return m_conn.handle(); }

private:
    db::Connection m_conn;
};

// One prepared insert; values bound as text (Null for a null QString) or integers.
class Insert {
public:
    Insert(Db& db, const char* sql) : m_db(db) {
        if (sqlite3_prepare_v2(db.handle(), sql, -1, &m_st, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(db.handle()));
    }
    ~Insert() { sqlite3_finalize(m_st); }
    Insert& text(int i, const QString& s) {
        if (s.isNull()) {
            sqlite3_bind_null(m_st, i);
        } else {
            const QByteArray b = s.toUtf8();
            sqlite3_bind_text(m_st, i, b.constData(), static_cast<int>(b.size()), SQLITE_TRANSIENT);
        }
        return *this;
    }
    Insert& number(int i, qint64 v) {
        sqlite3_bind_int64(m_st, i, v);
        return *this;
    }
    void run() {
        if (sqlite3_step(m_st) != SQLITE_DONE)
            throw std::runtime_error(sqlite3_errmsg(m_db.handle()));
        sqlite3_reset(m_st);
        sqlite3_clear_bindings(m_st);
    }

private:
    Db& m_db;
    sqlite3_stmt* m_st = nullptr;
};

QString timeText(int secs) {
    return QTime(0, 0).addSecs(secs).toString(QStringLiteral("hh:mm:ss"));
}
QString ref(int customer) {
    return QStringLiteral("U%1").arg(customer, 5, 10, QLatin1Char('0'));
}

struct Person {
    QString name;
    QString ref;
    QString phone;
    QString address;
};

Person person(int i) {
    Rng r(0x5eed0000u + static_cast<unsigned>(i));
    const QString name =
        QString::fromUtf8(kFirst[r.below(20)]) + QLatin1Char(' ') + QString::fromUtf8(kLast[r.below(20)]);
    return {name, ref(i), QStringLiteral("555-%1").arg(1000 + r.below(9000)),
            QStringLiteral("%1 %2").arg(1 + r.below(200)).arg(QString::fromUtf8(kStreets[r.below(8)]))};
}

void fill(Db& db) {
    Rng r(20261206);
    // A file nobody else sees yet: no journal to keep, and a cache that holds the indexes being filled.
    db.exec("PRAGMA journal_mode=OFF");
    db.exec("PRAGMA synchronous=OFF");
    db.exec("PRAGMA cache_size=-400000");
    db.exec("BEGIN");
    {
        Insert st(db, "INSERT INTO Analysts (ID, Spare1, Spare2) VALUES (?, '', ?)");
        for (int i = 1; i < bench::Staff; ++i)
            st.text(1, bench::staffName(i)).text(2, i < 3 ? QStringLiteral("5") : QStringLiteral("3")).run();
    }
    std::vector<Person> people;
    people.reserve(bench::customers());
    {
        Insert st(db, "INSERT INTO Customers (Name, Username, Extension, Location, Spare1, Spare2, Notes, Building) "
                      "VALUES (?, ?, ?, ?, ?, ?, ?, ?)");
        for (int i = 0; i < bench::customers(); ++i) {
            people.push_back(person(i));
            const Person& p = people.back();
            st.text(1, p.name).text(2, p.ref).text(3, p.phone).text(4, p.address);
            st.text(5, QString::fromUtf8(kDepartments[r.below(6)]))
                .text(6, r.chance(20) ? QStringLiteral("VIP") : QString());
            st.text(7, r.chance(30) ? QStringLiteral("Prefers e-mail; in the office mornings only.") : QString());
            st.text(8, QString(p.name).toLower().replace(QLatin1Char(' '), QLatin1Char('.')) +
                           QStringLiteral("@example.com"))
                .run();
        }
    }
    {
        Insert st(db,
                  "INSERT INTO Calls (Nom, Username, sp2, User, Status, sp3, Query, Resolution, sp1, Spare, "
                  "[Time Spent], Logged, Contact, Field1, Audit, sp4, [Date Opened], [Time Opened], "
                  "[Date Closed], [Time Closed]) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
        const QDate first(2021, 1, 4);
        const std::array<const char*, 4> open = {"Open", "Urgent", "Pending", "Awaiting Customer"};
        for (int nom = 1; nom <= bench::calls(); ++nom) {
            // Newer calls are the ones still open: about 93% of all are closed, nearly all old ones.
            const bool recent = nom > bench::calls() - 9000 * bench::scale();
            const bool closed = recent ? r.chance(27) : r.below(1000) < 995;
            const QString status = closed ? QStringLiteral("Closed") : QString::fromUtf8(open[r.below(4)]);
            const QDate opened = first.addDays(static_cast<qint64>(nom - 1) * 2100 / bench::calls());
            const int openedAt = 8 * 3600 + r.below(9 * 3600);
            const Category& cat = pickCategory(r);
            const Person& p = people[r.below(bench::customers())];
            QString query = QString::fromUtf8(cat.problems[r.below(5)]);
            if (r.chance(8))
                query += QStringLiteral(". Also the printer next to it shows an error.");
            query += QStringLiteral(". Customer rang from extension %1.").arg(p.phone);
            const QString who =
                !closed && r.chance(15) ? QStringLiteral("---") : bench::staffName(r.below(bench::Staff));
            const QString logger = bench::staffName(r.below(bench::Staff));
            st.number(1, nom).text(2, p.ref).text(3, p.name).text(4, who).text(5, status).text(
                6, QString::fromUtf8(cat.name));
            st.text(7, query).text(8, closed ? QString::fromUtf8(kResolutions[r.below(6)]) : QString());
            st.text(9, r.chance(30) ? QStringLiteral("PC-%1").arg(r.below(5000)) : QStringLiteral("-----"));
            st.text(10, QString()).text(11, QStringLiteral("%1 minutes").arg(5 + r.below(120))).text(12, logger);
            st.text(13, p.phone + QStringLiteral("  -  ") + p.address).text(14, QStringLiteral("-----"));
            QString audit = opened.toString(QStringLiteral("dd/MM/yyyy")) + QLatin1Char(' ') + timeText(openedAt) +
                            QStringLiteral(" Call logged by ") + logger;
            st.text(16, QString());
            st.text(17, opened.toString(Qt::ISODate)).text(18, timeText(openedAt));
            if (closed) {
                const QDate done = opened.addDays(r.below(10));
                const int at = 8 * 3600 + r.below(9 * 3600);
                audit += QStringLiteral("\r\n") + done.toString(QStringLiteral("dd/MM/yyyy")) + QLatin1Char(' ') +
                         timeText(at) + QStringLiteral(" Status changed to Closed by ") + who;
                st.text(19, done.toString(Qt::ISODate)).text(20, timeText(at));
            }
            st.text(15, audit).run();
        }
    }
    {
        Insert st(db, "INSERT INTO Notes (Call, Note, Analyst, [Note-date], [Note-time]) VALUES (?, ?, ?, ?, ?)");
        const QDate first(2021, 1, 4);
        for (int i = 0; i < bench::notes(); ++i) {
            const int call = i < bench::BusyCallNotes ? bench::busyCall() : 1 + r.below(bench::calls());
            const QDate day = first.addDays(static_cast<qint64>(call - 1) * 2100 / bench::calls() + r.below(5));
            st.number(1, call).text(2, QString::fromUtf8(kNoteTexts[r.below(6)]) + QStringLiteral(" (%1)").arg(i));
            st.text(3, bench::staffName(r.below(bench::Staff))).text(4, day.toString(Qt::ISODate));
            st.text(5, timeText(8 * 3600 + r.below(9 * 3600))).run();
        }
    }
    {
        Insert st(db, "INSERT INTO Inventory (Type, Details, Number, Notes, Details2, Number2, Notes2, Type2) "
                      "VALUES (?, ?, ?, ?, ?, ?, ?, ?)");
        const std::array<const char*, 6> types = {"Desktop PC", "Laptop", "Monitor", "Printer", "Phone", "Scanner"};
        const std::array<const char*, 6> makes = {"Dell OptiPlex 7090", "Lenovo ThinkPad T14", "HP E24 G5",
                                                  "Brother HL-L5100",   "Cisco 8845",          "Canon DR-C225"};
        for (int i = 0; i < bench::inventoryItems(); ++i) {
            const int k = r.below(6);
            st.text(1, QString::fromUtf8(types[k])).text(2, QString::fromUtf8(makes[k]));
            st.text(3, QStringLiteral("SN%1").arg(100000 + i))
                .text(4, r.chance(20) ? QStringLiteral("Spare unit") : QString());
            st.text(5, ref(r.below(bench::customers()))).text(6, QStringLiteral("A%1").arg(r.below(90000)));
            st.text(7, QDate(2024, 1, 1).addDays(r.below(1000)).toString(QStringLiteral("dd/MM/yyyy")));
            st.text(8, QString()).run();
        }
    }
    db.exec("COMMIT");
}

} // namespace

namespace bench {
int scale() {
    static const int s = qEnvironmentVariableIntValue("QV_BENCH_SCALE") == 10 ? 10 : 1;
    return s;
}

QString staffName(int i) {
    return QString::fromUtf8(kStaff[static_cast<std::size_t>(i) % kStaff.size()]);
}
} // namespace bench

QString benchDataset() {
    const QString folder = QStringLiteral(QV_BENCH_DATA_DIR);
    // Each scale keeps its own file; x1 and x10 stay side by side.
    const QString prefix = QStringLiteral("dataset-x%1-").arg(bench::scale());
    const QString path = folder + QLatin1Char('/') + prefix + QStringLiteral(QV_BENCH_DATA_STAMP ".qvdb");
    if (QFileInfo::exists(path))
        return path;
    QDir().mkpath(folder);
    std::printf("making the benchmark data set %s (once)...\n", qPrintable(path));
    std::fflush(stdout);
    // Made under a name of its own and renamed into place, so a second benchmark never sees a half-made file.
    const QString temp = path + QLatin1Char('.') + QUuid::createUuid().toString(QUuid::Id128);
    schema::createDatabase(temp);
    db::pool::closeAll();
    {
        Db db(temp);
        fill(db);
    }
    if (!QFile::rename(temp, path))
        QFile::remove(temp); // another benchmark finished first
    // Files of earlier generators at this scale (or from before scales) are of no further use.
    const QStringList old = QDir(folder).entryList({QStringLiteral("dataset-*.qvdb")}, QDir::Files);
    for (const QString& name : old)
        if (folder + QLatin1Char('/') + name != path &&
            (name.startsWith(prefix) || !name.startsWith(QLatin1String("dataset-x"))))
            QFile::remove(folder + QLatin1Char('/') + name);
    return path;
}

#include "shared/schema.h"

#include "platform/db/database.h"
#include "platform/db/dberror.h"
#include "platform/db/recordset.h"
#include "platform/db/values.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

namespace schema {
namespace {

struct Column {
    const char* name;
    const char* type; // Jet DDL type
};

struct Table {
    const char* name;
    std::vector<Column> columns;
};

// Column orders matter: grids and pages read several tables by position.
const std::vector<Table>& tables() {
    static const std::vector<Table> all = {
        {"Calls", {{"Nom", "COUNTER"},          {"Username", "text(50)"},    {"sp2", "text(100)"},
                   {"User", "text(50)"},        {"Status", "text(50)"},      {"sp3", "text(50)"},
                   {"Query", "Memo"},           {"Resolution", "Memo"},      {"sp1", "text(255)"},
                   {"Spare", "text(255)"},      {"Time Spent", "text(255)"}, {"Logged", "text(50)"},
                   {"Contact", "text(255)"},    {"Field1", "text(100)"},     {"Audit", "Memo"},
                   {"sp4", "text(255)"},        {"Date Opened", "DateTime"}, {"Time Opened", "DateTime"},
                   {"Date Closed", "DateTime"}, {"Time Closed", "DateTime"}}},
        {"Notes",
         {{"ID", "COUNTER"},
          {"Call", "Long"},
          {"Note", "Memo"},
          {"Analyst", "text(50)"},
          {"Note-date", "DateTime"},
          {"Note-time", "DateTime"}}},
        {"Customers",
         {{"Name", "text(100)"},
          {"Username", "text(50)"},
          {"Extension", "text(50)"},
          {"Location", "text(255)"},
          {"Spare1", "text(100)"},
          {"Spare2", "text(100)"},
          {"Notes", "Memo"},
          {"Building", "text(100)"}}},
        {"Inventory",
         {{"ID", "COUNTER"},
          {"Type", "text(100)"},
          {"Details", "text(255)"},
          {"Number", "text(100)"},
          {"Notes", "Memo"},
          {"Details2", "text(50)"},
          {"Number2", "text(100)"},
          {"Notes2", "Memo"},
          {"Type2", "text(100)"}}},
        {"Analysts", {{"ID", "text(50)"}, {"Spare1", "text(50)"}, {"Spare2", "text(50)"}}},
        {"Settings",
         {{"Status", "text(50)"},
          {"ColourFld", "text(50)"},
          {"Category", "text(50)"},
          {"SettingFld", "text(50)"},
          {"ValueFld", "text(50)"},
          {"Value11", "text(100)"}}},
    };
    return all;
}

struct Index {
    const char* table;
    std::vector<const char*> columns;
};

const std::vector<Index>& indexes() {
    // Where rows are looked up, so that large call and note tables stay quick. The dashboard counts and
    // groups the open calls (everyone's or one assignee's) from the last index alone.
    static const std::vector<Index> all = {
        {"Calls", {"Username"}},    {"Calls", {"Status"}},       {"Calls", {"User"}},
        {"Calls", {"Date Opened"}}, {"Calls", {"sp3"}},          {"Calls", {"Date Closed"}},
        {"Notes", {"Call"}},        {"Inventory", {"Details2"}}, {"Customers", {"Username"}},
        {"Customers", {"Name"}},    {"Analysts", {"ID"}},        {"Calls", {"Status", "User", "sp3"}},
    };
    return all;
}

// Customers and staff have no autonumber: a row id another copy freed may be given to a new row, which the
// reference or the staff name tells apart from the one read.
const bool keysRegistered = [] {
    db::setKeyColumns(QStringLiteral("Customers"), {QStringLiteral("Username")});
    db::setKeyColumns(QStringLiteral("Analysts"), {QStringLiteral("ID")});
    return true;
}();

QString columnDdl(const Column& c) {
    return QStringLiteral("[%1] %2").arg(QLatin1String(c.name), QLatin1String(c.type));
}

void createTable(db::Database& database, const Table& t) {
    QStringList cols;
    for (const Column& c : t.columns)
        cols << columnDdl(c);
    database.execute(
        QStringLiteral("CREATE TABLE [%1] (%2)").arg(QLatin1String(t.name), cols.join(QStringLiteral(", "))));
}

QString indexName(const Index& index) {
    QString name = QStringLiteral("idx_") + QLatin1String(index.table);
    for (const char* column : index.columns)
        name += QLatin1Char('_') + QString::fromLatin1(column).remove(' ');
    return name;
}

void createIndexes(db::Database& database) {
    for (const Index& index : indexes()) {
        QStringList columns;
        for (const char* column : index.columns)
            columns << db::quoteIdent(QLatin1String(column));
        database.connection().exec(QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 (%3)")
                                       .arg(db::quoteIdent(indexName(index)),
                                            db::quoteIdent(QLatin1String(index.table)),
                                            columns.join(QStringLiteral(", "))));
    }
}

void fillDefaults(db::Database& database) {
    struct Row {
        const char* status;
        const char* colour;
        const char* category;
    };
    // Colours are decimal BBGGRR texts; "---" means none.
    const Row rows[] = {
        {"Open", "---", "Hardware"},        {"Urgent", "13158655", "Software"},
        {"Pending", "13172735", "Network"}, {"Awaiting Customer", "16769480", "Printing"},
        {"Closed", "14474460", "E-mail"},   {"", "", "Other"},
    };
    bool first = true;
    for (const Row& r : rows) {
        auto rs = database.openRecordset(QStringLiteral("SELECT * from Settings"));
        rs->addNew();
        rs->setField(QStringLiteral("Status"), QString::fromLatin1(r.status));
        rs->setField(QStringLiteral("ColourFld"), QString::fromLatin1(r.colour));
        rs->setField(QStringLiteral("Category"), QString::fromLatin1(r.category));
        if (first)
            rs->setField(QStringLiteral("Value11"), defaultInventoryTitles());
        rs->update();
        first = false;
    }
    database.execute(QStringLiteral("INSERT INTO Analysts (ID, Spare1, Spare2) VALUES ('Admin', '', '5')"));
}

// Moves temp to path unless path exists; 0 when moved, EEXIST when another file was there first, else the
// error. Where the file system cannot refuse to replace, a hard link does the same; as a last resort the
// check and the move are two steps.
int publishIfAbsent(const QString& temp, const QString& path) {
    const QByteArray from = QFile::encodeName(temp);
    const QByteArray to = QFile::encodeName(path);
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno == EEXIST)
        return EEXIST;
    if (::link(from.constData(), to.constData()) == 0)
        return 0;
    if (errno == EEXIST)
        return EEXIST;
    if (QFileInfo::exists(path))
        return EEXIST;
    return ::rename(from.constData(), to.constData()) == 0 ? 0 : errno;
}

const QString kOldCollation = QStringLiteral("JETNOCASE");

QString withNoCase(QString sql) {
    return sql.replace(kOldCollation, QStringLiteral("NOCASE"), Qt::CaseInsensitive);
}

std::optional<qint64> sequenceOf(db::Connection& conn, const QString& table) {
    {
        db::Statement has(conn, QStringLiteral("SELECT 1 FROM sqlite_master WHERE name = 'sqlite_sequence'"));
        if (!has.step())
            return std::nullopt;
    }
    db::Statement st(conn, QStringLiteral("SELECT seq FROM sqlite_sequence WHERE name = ?"));
    st.bind(1, table);
    if (!st.step())
        return std::nullopt;
    return st.column(0).toLongLong();
}

// Rebuilds a table of an earlier build, whose text columns name a collation only this program knows, with
// the same columns declared NOCASE: every row with its row id, the autonumber counter and the indexes kept.
void convertTable(db::Connection& conn, const QString& name, const QString& createSql) {
    QStringList indexSql;
    {
        db::Statement st(conn, QStringLiteral("SELECT sql FROM sqlite_master WHERE type='index' AND tbl_name = ? "
                                              "AND sql IS NOT NULL"));
        st.bind(1, name);
        while (st.step())
            indexSql << st.column(0).toString();
    }
    const QString old = name + QStringLiteral("__before_nocase");
    conn.exec(QStringLiteral("ALTER TABLE %1 RENAME TO %2").arg(db::quoteIdent(name), db::quoteIdent(old)));
    conn.exec(withNoCase(createSql));
    conn.exec(QStringLiteral("INSERT INTO %1 SELECT * FROM %2").arg(db::quoteIdent(name), db::quoteIdent(old)));
    // Numbers once given are never given again, also those of rows deleted since.
    if (const auto seq = sequenceOf(conn, old)) {
        const qint64 now = sequenceOf(conn, name).value_or(0);
        conn.exec(
            QStringLiteral("DELETE FROM sqlite_sequence WHERE name = '%1'").arg(QString(name).replace('\'', "''")));
        conn.exec(QStringLiteral("INSERT INTO sqlite_sequence (name, seq) VALUES ('%1', %2)")
                      .arg(QString(name).replace('\'', "''"))
                      .arg(std::max(*seq, now)));
    }
    conn.exec(QStringLiteral("DROP TABLE %1").arg(db::quoteIdent(old)));
    for (const QString& sql : indexSql)
        conn.exec(withNoCase(sql));
}

// Tables (name, CREATE text) that still declare the earlier collation.
std::vector<std::pair<QString, QString>> oldTables(db::Connection& conn) {
    std::vector<std::pair<QString, QString>> out;
    db::Statement st(conn, QStringLiteral("SELECT name, sql FROM sqlite_master WHERE type='table' AND "
                                          "instr(upper(sql), 'JETNOCASE') > 0"));
    while (st.step())
        out.emplace_back(st.column(0).toString(), st.column(1).toString());
    return out;
}

} // namespace

bool needsUpgrade(db::Database& database) {
    if (!oldTables(database.connection()).empty())
        return true;
    // An index this build adds is missing (a file of an earlier build).
    for (const Index& index : indexes()) {
        db::Statement st(database.connection(),
                         QStringLiteral("SELECT 1 FROM sqlite_master WHERE type='index' AND name = ?"));
        st.bind(1, indexName(index));
        if (!st.step() && database.hasTable(QLatin1String(index.table)))
            return true;
    }
    return false;
}

QString defaultInventoryTitles() {
    return QStringLiteral("Type, Details, Number, Notes, Spare, Username, Warranty, More");
}

void makesettings(db::Database& database, const QString& tableName) {
    for (const Table& t : tables())
        if (tableName.compare(QLatin1String(t.name), Qt::CaseInsensitive) == 0 ||
            QLatin1String(t.name) == QLatin1String("Settings")) {
            QStringList cols;
            for (const Column& c : t.columns)
                cols << columnDdl(c);
            database.execute(QStringLiteral("CREATE TABLE [%1] (%2)").arg(tableName, cols.join(QStringLiteral(", "))));
            return;
        }
}

void createDatabase(const QString& path) {
    if (QFileInfo::exists(path))
        throw db::DbError(QStringLiteral("Database '%1' already exists.").arg(path), 14, 14);
    // Built under a name of this copy's own and moved into place only when no file is there yet, so copies
    // starting at once never touch one another's half-made file and nobody opens one.
    const QString temp = QStringLiteral("%1.new-%2-%3")
                             .arg(path)
                             .arg(QCoreApplication::applicationPid())
                             .arg(QRandomGenerator::global()->generate64(), 0, 36);
    try {
        db::Database database = db::Database::create(temp);
        db::Transaction tx(database.connection());
        for (const Table& t : tables())
            createTable(database, t);
        createIndexes(database);
        fillDefaults(database);
        tx.commit();
        database.close();
        db::pool::closeAll();
    } catch (...) {
        db::pool::closeAll();
        QFile::remove(temp);
        QFile::remove(temp + QStringLiteral("-journal"));
        throw;
    }
    const int err = publishIfAbsent(temp, path);
    QFile::remove(temp); // still there when another copy's file came first or the move failed
    if (err != 0 && err != EEXIST)
        throw db::DbError(
            QStringLiteral("Could not create the database '%1': %2").arg(path, QString::fromLocal8Bit(strerror(err))),
            14, 14);
}

void upgrade(db::Database& database) {
    db::Transaction tx(database.connection());
    for (const auto& [name, sql] : oldTables(database.connection()))
        convertTable(database.connection(), name, sql);
    for (const Table& t : tables()) {
        const QString name = QLatin1String(t.name);
        if (!database.hasTable(name)) {
            if (name == QLatin1String("Settings"))
                makesettings(database, name);
            else
                createTable(database, t);
            continue;
        }
        const QStringList have = database.columnNames(name);
        for (const Column& c : t.columns) {
            if (have.contains(QLatin1String(c.name), Qt::CaseInsensitive))
                continue;
            QString type = QLatin1String(c.type);
            if (type == QLatin1String("COUNTER"))
                type = QStringLiteral("Long"); // an autonumber cannot be added to a table with rows
            database.execute(
                QStringLiteral("ALTER TABLE [%1] ADD COLUMN [%2] %3").arg(name, QLatin1String(c.name), type));
        }
    }
    createIndexes(database);
    tx.commit();
}

QString rowCountText(db::Database& database, const QString& table) {
    const auto rs = database.openRecordset(QStringLiteral("select Count (*) as cntr FROM ") + table);
    return db::displayText(rs->field(QStringLiteral("cntr")));
}

void probe(db::Database& database) {
    database.openRecordset(QStringLiteral("SELECT count(1) from sqlite_master"));
}

} // namespace schema

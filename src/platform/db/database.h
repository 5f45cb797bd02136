#pragma once

#include "platform/db/connection.h"
#include "platform/db/recordset.h"

#include <QString>
#include <QStringList>
#include <memory>

namespace db {

// A database opened by path for one operation, as DAO's OpenDatabase. Opening is cheap: handles are kept
// per file and reused, and each read still sees what other running copies have committed.
class Database {
public:
    static Database open(const QString& path);   // the file must exist
    static Database create(const QString& path); // a new empty file (refuses to replace one)

    std::unique_ptr<Recordset> openRecordset(const QString& jetSql, LikeDialect dialect = LikeDialect::Dao);
    int execute(const QString& jetSql); // rows affected
    Connection& connection() { return *m_conn; }
    std::shared_ptr<Connection> shared() const { return m_conn; }

    bool hasTable(const QString& table);
    QStringList columnNames(const QString& table); // in table order

    void close() { m_conn.reset(); }

private:
    explicit Database(std::shared_ptr<Connection> conn) : m_conn(std::move(conn)) {}
    std::shared_ptr<Connection> m_conn;
};

// The handles kept per file. Tests and the program drop them when a file is moved or replaced.
namespace pool {
std::shared_ptr<Connection> acquire(const QString& path, bool create = false);
void closeAll();
} // namespace pool

} // namespace db

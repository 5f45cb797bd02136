#pragma once

#include "platform/db/database.h"

#include <QString>
#include <memory>

// While it lives the database file refuses every write as a read-only one does, in the program's own words, and
// reads go on: every handle the program has on the file is the one kept per file, which takes queries only.
class RefusedWrites {
public:
    explicit RefusedWrites(const QString& dbPath) : m_conn(db::pool::acquire(dbPath)) {
        m_conn->exec(QStringLiteral("PRAGMA query_only = 1"));
    }
    ~RefusedWrites() { m_conn->exec(QStringLiteral("PRAGMA query_only = 0")); }
    RefusedWrites(const RefusedWrites&) = delete;
    RefusedWrites& operator=(const RefusedWrites&) = delete;

private:
    std::shared_ptr<db::Connection> m_conn;
};

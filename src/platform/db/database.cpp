#include "platform/db/database.h"

#include "platform/db/dberror.h"
#include "platform/db/jetsql.h"

#include <QFileInfo>
#include <QHash>
#include <sys/stat.h>

namespace db {
namespace pool {
namespace {

struct Entry {
    std::shared_ptr<Connection> conn;
    dev_t dev = 0;
    ino_t ino = 0;
};

QHash<QString, Entry>& entries() {
    static QHash<QString, Entry> map;
    return map;
}

bool identity(const QString& path, dev_t& dev, ino_t& ino) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return false;
    dev = st.st_dev;
    ino = st.st_ino;
    return true;
}

} // namespace

std::shared_ptr<Connection> acquire(const QString& path, bool create) {
    const QString key = QFileInfo(path).absoluteFilePath();
    dev_t dev = 0;
    ino_t ino = 0;
    const bool exists = identity(key, dev, ino);
    auto& map = entries();
    auto it = map.find(key);
    // A kept handle serves only while the file it opened is still the one at that path.
    if (it != map.end()) {
        if (exists && it->dev == dev && it->ino == ino)
            return it->conn;
        map.erase(it);
    }
    if (!exists && !create)
        throw DbError(QStringLiteral("Could not find file '%1'.").arg(path), 14, 14);
    auto conn =
        std::make_shared<Connection>(key, create ? Connection::Mode::CreateIfMissing : Connection::Mode::OpenExisting);
    identity(key, dev, ino);
    map.insert(key, Entry{conn, dev, ino});
    return conn;
}

void closeAll() {
    entries().clear();
}

} // namespace pool

Database Database::open(const QString& path) {
    return Database(pool::acquire(path, false));
}

Database Database::create(const QString& path) {
    if (QFileInfo::exists(path))
        throw DbError(QStringLiteral("Database '%1' already exists.").arg(path), 14, 14);
    return Database(pool::acquire(path, true));
}

std::unique_ptr<Recordset> Database::openRecordset(const QString& jetSql, LikeDialect dialect) {
    if (!m_conn)
        throw DbError(QStringLiteral("Object invalid or no longer set."));
    return std::make_unique<Recordset>(m_conn, jetSql, dialect);
}

int Database::execute(const QString& jetSql) {
    if (!m_conn)
        throw DbError(QStringLiteral("Object invalid or no longer set."));
    const jet::Query q = jet::translate(jetSql);
    m_conn->setLikeDialect(LikeDialect::Dao);
    Statement st(*m_conn, q.sql);
    while (st.step()) {
    }
    return m_conn->changes();
}

bool Database::hasTable(const QString& table) {
    Statement st(*m_conn, QStringLiteral("SELECT 1 FROM sqlite_master WHERE type='table' AND name = ? COLLATE NOCASE"));
    st.bind(1, table);
    return st.step();
}

QStringList Database::columnNames(const QString& table) {
    Statement st(*m_conn, QStringLiteral("PRAGMA table_info(%1)").arg(quoteIdent(table)));
    QStringList names;
    while (st.step())
        names << st.column(1).toString();
    return names;
}

} // namespace db

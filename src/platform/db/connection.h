#pragma once

#include <QString>
#include <QVariant>
#include <memory>
#include <set>

struct sqlite3;
struct sqlite3_stmt;

namespace db {

// Which pattern language LIKE speaks: by path (DAO) * ? # [..] [!..]; through a data control (ADO) % _ [..].
enum class LikeDialect { Dao, Ado };

// Jet's text comparison (the JETNOCASE collation of the program's handles) on UTF-8 bytes: <0, 0, >0.
int compareNoCase(const void* a, int na, const void* b, int nb);

// A table or column name as an SQLite identifier: "name" with inner quotes doubled.
QString quoteIdent(const QString& name);

// One open SQLite handle on a database file, set up as the program expects: rollback journal (the file may
// sit in a folder shared by several machines), a busy timeout, case-insensitive text and the Jet functions.
class Connection {
public:
    enum class Mode { OpenExisting, CreateIfMissing };
    static constexpr int BusyTimeoutMs = 8000;

    explicit Connection(const QString& path, Mode mode = Mode::OpenExisting);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    const QString& path() const { return m_path; }
    sqlite3* handle() const { return m_db; }

    // Runs SQLite SQL (already translated), no rows expected.
    void exec(const QString& sql);
    qint64 lastInsertRowid() const;
    int changes() const;
    bool inTransaction() const;

    // The db::Transaction under way (0: none), and whether a transaction so numbered ended without its commit.
    quint64 currentTransaction() const { return m_openTx; }
    bool rolledBack(quint64 tx) const { return m_rolledBack.count(tx) > 0; }
    LikeDialect likeDialect() const { return m_like; }
    void setLikeDialect(LikeDialect d) { m_like = d; }

    // Throws DbError built from the handle's last error.
    [[noreturn]] void raise(int rc, const QString& sql) const;

private:
    QString m_path;
    sqlite3* m_db = nullptr;
    LikeDialect m_like = LikeDialect::Dao;
    quint64 m_lastTx = 0;
    quint64 m_openTx = 0;
    std::set<quint64> m_rolledBack;
    friend class Transaction;
};

// One prepared statement; finalized when it goes.
class Statement {
public:
    Statement(Connection& conn, const QString& sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    void bind(int index, const QVariant& value); // 1-based, as SQLite counts
    bool step();                                 // true while a row is there
    void reset();

    int columnCount() const;
    QString columnName(int i) const;
    QString columnDeclType(int i) const; // "" for expressions
    QString columnTable(int i) const;    // "" for expressions
    QString columnOrigin(int i) const;   // the table column behind a result column
    QVariant column(int i) const;        // Null stays an invalid QVariant; text stays text
    const QString& sql() const { return m_sql; }
    sqlite3_stmt* handle() const { return m_stmt; }

private:
    Connection& m_conn;
    sqlite3_stmt* m_stmt = nullptr;
    QString m_sql;
};

// One read transaction over many queries: they see one moment of the file, which is locked and checked for
// changes once instead of once per query. Other copies may still read meanwhile. Nothing when conn is null or
// already in a transaction; a snapshot that cannot begin leaves each query to read on its own.
class ReadSnapshot {
public:
    explicit ReadSnapshot(Connection* conn);
    ~ReadSnapshot();
    ReadSnapshot(const ReadSnapshot&) = delete;
    ReadSnapshot& operator=(const ReadSnapshot&) = delete;

private:
    Connection* m_conn = nullptr;
};

// Rolls back unless committed.
class Transaction {
public:
    explicit Transaction(Connection& conn);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

private:
    Connection& m_conn;
    bool m_done = false;
};

} // namespace db

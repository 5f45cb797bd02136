#include "platform/db/connection.h"

#include "platform/db/dberror.h"
#include "platform/db/jetsql.h"
#include "platform/db/values.h"
#include "platform/db/vbformat.h"

#include <QFileInfo>
#include <chrono>
#include <sqlite3.h>
#include <thread>

namespace db {
namespace {

// One code point of UTF-8 text at p[i], i moved past it. A byte that starts no valid sequence stands for
// itself above every code point, so any text compares somehow and never the same way twice.
char32_t nextCodePoint(const unsigned char* p, int n, int& i) {
    const unsigned char c = p[i];
    int len = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
    if (len == 0 || i + len > n) {
        ++i;
        return 0x110000u + c;
    }
    char32_t cp = len == 1 ? c : len == 2 ? (c & 0x1F) : len == 3 ? (c & 0x0F) : (c & 0x07);
    for (int k = 1; k < len; ++k) {
        if ((p[i + k] & 0xC0) != 0x80) {
            ++i;
            return 0x110000u + c;
        }
        cp = (cp << 6) | (p[i + k] & 0x3F);
    }
    i += len;
    return cp;
}

char32_t foldCodePoint(char32_t cp) {
    if (cp < 0x80)
        return cp >= 'A' && cp <= 'Z' ? cp + 32 : cp;
    return cp < 0x110000u ? QChar::toCaseFolded(cp) : cp;
}

} // namespace

// Text compared as Jet compares it: without regard to case, letters outside ASCII included. On ASCII text
// this is exactly SQLite's own NOCASE (A-Z folded, then byte order, then length); outside ASCII each code
// point is case-folded and compared as a number.
int compareNoCase(const void* p1, int n1, const void* p2, int n2) {
    const auto* a = static_cast<const unsigned char*>(p1);
    const auto* b = static_cast<const unsigned char*>(p2);
    int i = 0, j = 0;
    while (i < n1 && j < n2) {
        if (a[i] < 0x80 && b[j] < 0x80) {
            int ca = a[i++], cb = b[j++];
            if (ca >= 'A' && ca <= 'Z')
                ca += 32;
            if (cb >= 'A' && cb <= 'Z')
                cb += 32;
            if (ca != cb)
                return ca - cb;
            continue;
        }
        const char32_t ca = foldCodePoint(nextCodePoint(a, n1, i));
        const char32_t cb = foldCodePoint(nextCodePoint(b, n2, j));
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    if (i < n1)
        return 1;
    return j < n2 ? -1 : 0;
}

namespace {

// Another copy's lock is usually held for a few milliseconds: polled often rather than with SQLite's growing
// sleeps (up to 100 ms each), so that one copy's write waits only about as long as another's takes.
int waitWhileBusy(void*, int tries) {
    using Clock = std::chrono::steady_clock;
    thread_local Clock::time_point since; // a wait runs within one call into SQLite, so one per thread
    if (tries == 0)
        since = Clock::now();
    if (Clock::now() - since >= std::chrono::milliseconds(Connection::BusyTimeoutMs))
        return 0;
    std::this_thread::sleep_for(std::chrono::milliseconds(tries < 100 ? 1 : 5));
    return 1;
}

int noCaseCollation(void*, int n1, const void* p1, int n2, const void* p2) {
    return compareNoCase(p1, n1, p2, n2);
}

QString textArg(sqlite3_value* v) {
    const auto* t = reinterpret_cast<const char*>(sqlite3_value_text(v));
    return QString::fromUtf8(t, sqlite3_value_bytes(v));
}

// X LIKE Y calls like(Y, X): the pattern language follows the connection's current dialect.
void likeFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (argc < 2 || sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const auto* conn = static_cast<const Connection*>(sqlite3_user_data(ctx));
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(argv[1]));
    const int textBytes = sqlite3_value_bytes(argv[1]);
    const auto* pattern = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    const int patternBytes = sqlite3_value_bytes(argv[0]);
    const bool match = jet::likeMatchUtf8(text, textBytes, pattern, patternBytes, conn->likeDialect());
    sqlite3_result_int(ctx, match ? 1 : 0);
}

QVariant valueArg(sqlite3_value* v) {
    switch (sqlite3_value_type(v)) {
    case SQLITE_NULL:
        return {};
    case SQLITE_INTEGER:
        return QVariant(static_cast<qlonglong>(sqlite3_value_int64(v)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_value_double(v));
    default:
        return fromStorage(textArg(v));
    }
}

void formatFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (argc < 1 || sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const QVariant value = valueArg(argv[0]);
    const QString pattern = argc > 1 && sqlite3_value_type(argv[1]) != SQLITE_NULL ? textArg(argv[1]) : QString();
    const QByteArray out = (pattern.isEmpty() ? displayText(value) : vbFormat(value, pattern)).toUtf8();
    sqlite3_result_text(ctx, out.constData(), static_cast<int>(out.size()), SQLITE_TRANSIENT);
}

void caseFunction(sqlite3_context* ctx, int, sqlite3_value** argv, bool upper) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const QString s = textArg(argv[0]);
    const QByteArray out = (upper ? s.toUpper() : s.toLower()).toUtf8();
    sqlite3_result_text(ctx, out.constData(), static_cast<int>(out.size()), SQLITE_TRANSIENT);
}

void ucaseFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    caseFunction(ctx, argc, argv, true);
}
void lcaseFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    caseFunction(ctx, argc, argv, false);
}

} // namespace

namespace {

// The program's own words for what went wrong with the file; the engine's text only where it names a fault in
// the SQL itself.
QString plainMessage(int primary, int ext, const QString& path, const QString& engine) {
    switch (primary) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("The database '%1' is in use by another copy of the program; please try again.")
            .arg(path);
    case SQLITE_READONLY:
        if (ext == SQLITE_READONLY_DBMOVED)
            return QStringLiteral("The database '%1' has been moved or deleted while the program had it open; "
                                  "nothing was stored.")
                .arg(path);
        return QStringLiteral("The database '%1' cannot be changed: it is read-only.").arg(path);
    case SQLITE_PERM:
    case SQLITE_AUTH:
    case SQLITE_CANTOPEN:
        return QStringLiteral("The database '%1' cannot be opened or written: the file or its folder is missing or "
                              "read-only; nothing was stored.")
            .arg(path);
    case SQLITE_IOERR:
        return QStringLiteral("The database '%1' could not be read or written (a disk or network fault); nothing "
                              "was stored.")
            .arg(path);
    case SQLITE_FULL:
        return QStringLiteral("The disk holding the database '%1' is full; nothing was stored.").arg(path);
    case SQLITE_CORRUPT:
        return QStringLiteral("The database '%1' is damaged.").arg(path);
    case SQLITE_NOTADB:
        return QStringLiteral("The file '%1' is not a database.").arg(path);
    case SQLITE_NOMEM:
        return QStringLiteral("Out of memory.");
    case SQLITE_CONSTRAINT:
        if (engine.contains(QLatin1String("CHECK")))
            return QStringLiteral("The field is too small to accept the amount of data you attempted to add.");
        break;
    default:
        break;
    }
    return engine;
}

} // namespace

QString quoteIdent(const QString& name) {
    QString q = name;
    q.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

Connection::Connection(const QString& path, Mode mode) : m_path(path) {
    if (mode == Mode::OpenExisting && !QFileInfo(path).isFile())
        throw DbError(QStringLiteral("Could not find file '%1'.").arg(path), SQLITE_CANTOPEN, SQLITE_CANTOPEN);
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX;
    if (mode == Mode::CreateIfMissing)
        flags |= SQLITE_OPEN_CREATE;
    const QByteArray file = path.toUtf8();
    const int rc = sqlite3_open_v2(file.constData(), &m_db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const int ext = m_db ? sqlite3_extended_errcode(m_db) : rc;
        const QString msg = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QString();
        sqlite3_close(m_db);
        m_db = nullptr;
        throw DbError(
            plainMessage(rc & 0xff, ext, path, QStringLiteral("Could not open the database '%1': %2").arg(path, msg)),
            rc & 0xff, ext);
    }
    sqlite3_extended_result_codes(m_db, 1);
    sqlite3_busy_handler(m_db, waitWhileBusy, nullptr);
    // Columns and indexes use SQLite's own NOCASE, as every other tool does, so indexes stay in one order.
    // JETNOCASE is Jet's comparison for typed values outside ASCII (the translator adds it), and the name
    // files of earlier builds declared until the upgrade converts them.
    sqlite3_create_collation_v2(m_db, "JETNOCASE", SQLITE_UTF8, nullptr, noCaseCollation, nullptr);
    const int fnFlags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_function_v2(m_db, "like", 2, fnFlags, this, likeFunction, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(m_db, "like", 3, fnFlags, this, likeFunction, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(m_db, "jetformat", 1, fnFlags, nullptr, formatFunction, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(m_db, "jetformat", 2, fnFlags, nullptr, formatFunction, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(m_db, "ucase", 1, fnFlags, nullptr, ucaseFunction, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(m_db, "lcase", 1, fnFlags, nullptr, lcaseFunction, nullptr, nullptr, nullptr);
    try {
        // Touching the schema tells a file that is not a database at once; the rollback journal keeps a
        // file shared over a network folder safe where WAL would not be.
        exec(QStringLiteral("PRAGMA journal_mode=DELETE"));
        exec(QStringLiteral("SELECT count(*) FROM sqlite_master"));
    } catch (...) {
        sqlite3_close(m_db);
        m_db = nullptr;
        throw;
    }
}

Connection::~Connection() {
    if (m_db)
        sqlite3_close_v2(m_db);
}

void Connection::exec(const QString& sql) {
    const QByteArray text = sql.toUtf8();
    char* err = nullptr;
    const int rc = sqlite3_exec(m_db, text.constData(), nullptr, nullptr, &err);
    sqlite3_free(err);
    if (rc != SQLITE_OK)
        raise(rc, sql);
}

qint64 Connection::lastInsertRowid() const {
    return sqlite3_last_insert_rowid(m_db);
}
int Connection::changes() const {
    return sqlite3_changes(m_db);
}
bool Connection::inTransaction() const {
    return sqlite3_get_autocommit(m_db) == 0;
}

void Connection::raise(int rc, const QString& sql) const {
    const int ext = sqlite3_extended_errcode(m_db);
    const int primary = rc & 0xff;
    throw DbError(plainMessage(primary, ext, m_path, QString::fromUtf8(sqlite3_errmsg(m_db))), primary, ext, sql);
}

Statement::Statement(Connection& conn, const QString& sql) : m_conn(conn), m_sql(sql) {
    const QByteArray text = sql.toUtf8();
    const int rc = sqlite3_prepare_v2(conn.handle(), text.constData(), static_cast<int>(text.size()), &m_stmt, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
        conn.raise(rc, sql);
    }
}

Statement::~Statement() {
    sqlite3_finalize(m_stmt);
}

void Statement::bind(int index, const QVariant& value) {
    int rc = SQLITE_OK;
    if (isNull(value)) {
        rc = sqlite3_bind_null(m_stmt, index);
    } else {
        switch (value.typeId()) {
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::UInt:
        case QMetaType::Short:
        case QMetaType::Bool:
            rc = sqlite3_bind_int64(m_stmt, index, value.toLongLong());
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            rc = sqlite3_bind_double(m_stmt, index, value.toDouble());
            break;
        case QMetaType::QDate:
        case QMetaType::QTime:
        case QMetaType::QDateTime: {
            const QString s = value.typeId() == QMetaType::QDate   ? storageDate(value.toDate())
                              : value.typeId() == QMetaType::QTime ? storageTime(value.toTime())
                                                                   : storageDateTime(value.toDateTime());
            const QByteArray b = s.toUtf8();
            rc = sqlite3_bind_text(m_stmt, index, b.constData(), static_cast<int>(b.size()), SQLITE_TRANSIENT);
            break;
        }
        default: {
            const QByteArray b = value.toString().toUtf8();
            rc = sqlite3_bind_text(m_stmt, index, b.constData(), static_cast<int>(b.size()), SQLITE_TRANSIENT);
            break;
        }
        }
    }
    if (rc != SQLITE_OK)
        m_conn.raise(rc, m_sql);
}

bool Statement::step() {
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    sqlite3_reset(m_stmt);
    m_conn.raise(rc, m_sql);
}

void Statement::reset() {
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

int Statement::columnCount() const {
    return sqlite3_column_count(m_stmt);
}

QString Statement::columnName(int i) const {
    return QString::fromUtf8(sqlite3_column_name(m_stmt, i));
}

QString Statement::columnDeclType(int i) const {
    const char* t = sqlite3_column_decltype(m_stmt, i);
    return t ? QString::fromUtf8(t) : QString();
}

QString Statement::columnTable(int i) const {
    const char* t = sqlite3_column_table_name(m_stmt, i);
    return t ? QString::fromUtf8(t) : QString();
}

QString Statement::columnOrigin(int i) const {
    const char* t = sqlite3_column_origin_name(m_stmt, i);
    return t ? QString::fromUtf8(t) : QString();
}

QVariant Statement::column(int i) const {
    switch (sqlite3_column_type(m_stmt, i)) {
    case SQLITE_NULL:
        return {};
    case SQLITE_INTEGER:
        return QVariant(static_cast<qlonglong>(sqlite3_column_int64(m_stmt, i)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(m_stmt, i));
    default: {
        const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, i));
        QString text = QString::fromUtf8(t, sqlite3_column_bytes(m_stmt, i));
        return QVariant(std::move(text));
    }
    }
}

ReadSnapshot::ReadSnapshot(Connection* conn) {
    if (!conn || conn->inTransaction())
        return;
    try {
        conn->exec(QStringLiteral("BEGIN DEFERRED"));
        m_conn = conn;
    } catch (const DbError&) {
    }
}

ReadSnapshot::~ReadSnapshot() {
    if (!m_conn)
        return;
    try {
        m_conn->exec(QStringLiteral("COMMIT"));
    } catch (const DbError&) {
        // nothing was written
    }
}

Transaction::Transaction(Connection& conn) : m_conn(conn) {
    m_conn.exec(QStringLiteral("BEGIN IMMEDIATE"));
    m_conn.m_openTx = ++m_conn.m_lastTx;
}

Transaction::~Transaction() {
    if (!m_done) {
        // Recordsets that wrote inside it put back what they hold of the rows (Recordset::reconcile).
        m_conn.m_rolledBack.insert(m_conn.m_openTx);
        try {
            m_conn.exec(QStringLiteral("ROLLBACK"));
        } catch (...) {
        }
    }
    m_conn.m_openTx = 0;
}

void Transaction::commit() {
    m_conn.exec(QStringLiteral("COMMIT"));
    m_done = true;
}

} // namespace db

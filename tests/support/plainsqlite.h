#pragma once

#include <QString>
#include <QStringList>
#include <sqlite3.h>

// The database file as another tool (the sqlite3 shell, a DB browser) sees it: a plain handle with SQLite's
// own collations and functions only.
class PlainSqlite {
public:
    explicit PlainSqlite(const QString& path) {
        if (sqlite3_open_v2(path.toUtf8().constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
            sqlite3_close(m_db);
            m_db = nullptr;
        }
        if (m_db)
            sqlite3_busy_timeout(m_db, 8000);
    }
    ~PlainSqlite() { sqlite3_close(m_db); }
    PlainSqlite(const PlainSqlite&) = delete;
    PlainSqlite& operator=(const PlainSqlite&) = delete;

    bool isOpen() const { return m_db != nullptr; }

    // Runs SQL; "" when it worked, else SQLite's message.
    QString exec(const QString& sql) {
        if (!m_db)
            return QStringLiteral("not open");
        char* err = nullptr;
        const int rc = sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &err);
        QString msg = rc == SQLITE_OK ? QString() : QString::fromUtf8(err ? err : sqlite3_errmsg(m_db));
        sqlite3_free(err);
        return msg;
    }

    // The first column of every row as text (Null as "<null>"); on failure one line "error: ...".
    QStringList column(const QString& sql) {
        QStringList out;
        sqlite3_stmt* st = nullptr;
        if (!m_db || sqlite3_prepare_v2(m_db, sql.toUtf8().constData(), -1, &st, nullptr) != SQLITE_OK)
            return {QStringLiteral("error: ") + (m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QString())};
        int rc;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
            const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
            out << (t ? QString::fromUtf8(t) : QStringLiteral("<null>"));
        }
        if (rc != SQLITE_DONE)
            out = QStringList{QStringLiteral("error: ") + QString::fromUtf8(sqlite3_errmsg(m_db))};
        sqlite3_finalize(st);
        return out;
    }
    QString scalar(const QString& sql) { return column(sql).value(0); }

    // "ok" for a sound file, as the shell prints it.
    QString integrityCheck() { return column(QStringLiteral("PRAGMA integrity_check")).join(QLatin1Char('\n')); }

private:
    sqlite3* m_db = nullptr;
};

#include "platform/db/dberror.h"

#include <sqlite3.h>

namespace db {

DbError::DbError(const QString& message, int code, int extendedCode, const QString& sql)
    : std::runtime_error(message.toStdString()), m_message(message), m_code(code), m_extendedCode(extendedCode),
      m_sql(sql) {}

bool DbError::isBusy() const {
    return m_code == SQLITE_BUSY || m_code == SQLITE_LOCKED;
}
bool DbError::isReadOnly() const {
    return m_code == SQLITE_READONLY;
}
bool DbError::isNotADatabase() const {
    return m_code == SQLITE_NOTADB;
}
bool DbError::isConstraint() const {
    return m_code == SQLITE_CONSTRAINT;
}

DbError DbError::conflict(Conflict what, const QString& table) {
    QString message;
    switch (what) {
    case Conflict::Changed:
        message = QStringLiteral("Another copy of the program has changed this record (%1) since it was read here, so "
                                 "nothing was stored. It has been read again; what was typed is kept.");
        break;
    case Conflict::Replaced: // its key differs: changed, or deleted and its row id given to a new record
        message = QStringLiteral("Another copy of the program has deleted this record (%1) or changed it since it was "
                                 "read here, so nothing was stored.");
        break;
    case Conflict::Deleted:
        message = QStringLiteral("Another copy of the program has deleted this record (%1) since it was read here, so "
                                 "nothing was stored.");
        break;
    }
    return DbError(message.arg(table), ConflictCode, ConflictCode);
}

} // namespace db

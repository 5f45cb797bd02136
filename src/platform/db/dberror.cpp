#include "platform/db/dberror.h"

#include <sqlite3.h>

namespace db {

DbError::DbError(const QString& message, int code, int extendedCode, const QString& sql)
    : std::runtime_error(message.toStdString()), m_message(message), m_code(code), m_extendedCode(extendedCode),
      m_sql(sql) {}

bool DbError::isBusy() const { return m_code == SQLITE_BUSY || m_code == SQLITE_LOCKED; }
bool DbError::isReadOnly() const { return m_code == SQLITE_READONLY; }
bool DbError::isNotADatabase() const { return m_code == SQLITE_NOTADB; }
bool DbError::isConstraint() const { return m_code == SQLITE_CONSTRAINT; }

} // namespace db

#pragma once

#include <QString>
#include <stdexcept>

namespace db {

// The one error type of the data layer: what went wrong, the engine's codes and the SQL that failed.
class DbError : public std::runtime_error {
public:
    explicit DbError(const QString& message, int code = 0, int extendedCode = 0, const QString& sql = {});

    QString message() const { return m_message; }
    int code() const { return m_code; }
    int extendedCode() const { return m_extendedCode; }
    QString sql() const { return m_sql; }

    bool isBusy() const;     // locked by another running copy past the timeout
    bool isReadOnly() const; // file or folder not writable
    bool isNotADatabase() const;
    bool isConstraint() const; // text too long, duplicate key...
    // A row this copy read was changed, replaced or deleted by another copy before this copy's write reached it.
    bool isConflict() const { return m_code == ConflictCode; }

    static constexpr int ConflictCode = 1000; // outside the engine's codes
    enum class Conflict { Changed, Replaced, Deleted };
    static DbError conflict(Conflict what, const QString& table);

private:
    QString m_message;
    int m_code;
    int m_extendedCode;
    QString m_sql;
};

} // namespace db

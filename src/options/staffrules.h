#pragma once

#include <QString>
#include <optional>

// Rules of the staff table: access-level codes and names, and the lookups that change one member's row.
namespace staffrules {

// "1" Basic, "3" Standard, "5" Administrator; any other code has no name ("").
QString levelName(const QString& code);
// The code of a level name; "" for any other text.
QString levelCode(const QString& name);
// A stored password other than "" and "None".
bool hasPassword(const QString& stored);

// A member's stored password and level code.
struct Member {
    QString password;
    QString level;
};
// The member whose ID is exactly id (case and pattern characters count); nullopt when there is none.
// Throws db::DbError.
std::optional<Member> findMember(const QString& dbPath, const QString& id);

// These open the database at dbPath for one operation and change the row whose ID is exactly id (case and
// pattern characters count). False when there is no such row. They throw db::DbError.
bool storeLevel(const QString& dbPath, const QString& id, const QString& code);
bool storePassword(const QString& dbPath, const QString& id, const QString& password); // stored lower case

// True when a member of that name exists, compared as the database compares text (without regard to case).
bool nameTaken(const QString& dbPath, const QString& id);

} // namespace staffrules

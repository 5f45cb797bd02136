#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// Rules of the staff table: access-level codes and names, and the lookups that change one member's row.
namespace db {
class Connection;
}

namespace staffrules {

// "1" Basic, "3" Standard, "5" Administrator; any other code has no name ("").
QString levelName(const QString& code);
// The code of a level name; "" for any other text.
QString levelCode(const QString& name);
// A stored password other than "" and "None".
bool hasPassword(const QString& stored);
// The typed password opens the member's login: no password is kept, or the typed one matches without regard
// to case.
bool passwordAccepted(const QString& stored, const QString& typed);
// The access level a member logs in with: the code's name, "Basic" for a code without one.
QString loginLevel(const QString& code);
// Writes "The current password for <id> is: <password in lower case>" and CR LF into "Password-for-<id>.txt" in
// the folder, readable by its owner only; characters a file name cannot hold become "_". False when it could not
// be written.
bool writePasswordFile(const QString& folder, const QString& id, const QString& password);

// A member's stored password and level code.
struct Member {
    QString password;
    QString level;
};
// The member whose ID is exactly id (case and pattern characters count); nullopt when there is none.
// Throws db::DbError.
std::optional<Member> findMember(const QString& dbPath, const QString& id);

// What the user is told when the member a command was aimed at is no longer stored as this copy read them.
QString goneText();

// These open the database at dbPath and change, in one transaction, the row whose ID is exactly id (case and
// pattern characters count), checked against the rows as the file holds them then: another copy may have
// removed the member, or put another in their place, since this copy read the list. The message to show when
// nothing was changed, "" when the change is stored. They throw db::DbError.
// A level is refused when it would leave no member stored at the Administrator level.
QString storeLevel(const QString& dbPath, const QString& id, const QString& code);
QString clearPassword(const QString& dbPath, const QString& id); // stored as "None"
// Checks deleteRefusal first.
QString deleteMember(const QString& dbPath, const QString& id, const QString& signedIn);
// Stored lower case; false when there is no such row. Throws db::DbError.
bool storePassword(const QString& dbPath, const QString& id, const QString& password);

// Why the signed-in member may not delete the member whose ID is exactly id: the message to show, "" when they
// may. Nobody deletes themselves, and the last member stored at the Administrator level stays, so that someone
// can still open the support-staff window. Throws db::DbError.
QString deleteRefusal(const QString& dbPath, const QString& id, const QString& signedIn);
// The same through a connection, so that the check and the deletion can be one transaction.
QString deleteRefusal(db::Connection& conn, const QString& id, const QString& signedIn);

// The staff table whole, in ID order, as the support-staff window edits it.
QString tableSql();

// Every member's ID in ID order. Throws db::DbError.
QStringList ids(const QString& dbPath);

// True when a member of that name exists, compared as the database compares text (without regard to case).
bool nameTaken(const QString& dbPath, const QString& id);

} // namespace staffrules

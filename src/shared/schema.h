#pragma once

#include <QString>
#include <QStringList>

namespace db {
class Database;
}

// The six tables of the help-desk database, their default content and the upgrade of older files.
namespace schema {

// Creates a new database file with every table and the default lists. The file appears whole or not at
// all, and never replaces one: a file already there is refused (db::DbError); one that another copy puts
// there meanwhile is kept and this copy's is dropped. Throws db::DbError.
void createDatabase(const QString& path);

// In one transaction: converts tables of earlier builds to text columns declared NOCASE (rows, row ids,
// autonumber counters and indexes kept) and adds whatever table or column this program uses and the file
// lacks; data is kept. Throws db::DbError.
void upgrade(db::Database& database);

// True when the file still has tables of an earlier build that upgrade() converts, or lacks an index it adds.
bool needsUpgrade(db::Database& database);

// Creates the Settings table (Value11 a text of 100 characters).
void makesettings(db::Database& database, const QString& tableName = QStringLiteral("Settings"));

// The default inventory field titles, kept in the first Settings row's Value11.
QString defaultInventoryTitles();

// Reads the file's table list once, so that a file that is not a database (or cannot be read) fails here.
// Throws db::DbError.
void probe(db::Database& database);

// The number of rows in one of the tables, as text. Throws db::DbError.
QString rowCountText(db::Database& database, const QString& table);

// Column names of the Calls table that the rules and pages read by name.
namespace calls {
inline const QString Nom = QStringLiteral("Nom");
inline const QString Username = QStringLiteral("Username");
inline const QString Sp2 = QStringLiteral("sp2");
inline const QString User = QStringLiteral("User");
inline const QString Status = QStringLiteral("Status");
inline const QString Sp3 = QStringLiteral("sp3");
inline const QString Field1 = QStringLiteral("Field1");
inline const QString DateOpened = QStringLiteral("Date Opened");
inline const QString TimeOpened = QStringLiteral("Time Opened");
inline const QString DateClosed = QStringLiteral("Date Closed");
inline const QString TimeClosed = QStringLiteral("Time Closed");
} // namespace calls

} // namespace schema

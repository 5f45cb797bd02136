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

} // namespace schema

#pragma once

#include <QString>
#include <QStringList>

namespace db {
class Recordset;
}

namespace customers {

// The customer list's fields by grid column: the e-mail address (Building) at 6, the notes at 7.
inline const QStringList ListFields = {
    QStringLiteral("Name"),   QStringLiteral("Username"), QStringLiteral("Extension"), QStringLiteral("Location"),
    QStringLiteral("Spare1"), QStringLiteral("Spare2"),   QStringLiteral("Building"),  QStringLiteral("Notes")};
inline constexpr int EmailColumn = 6;

// What every CSV export says when its file cannot be written.
inline const QString CannotWriteMessage =
    QStringLiteral("Can't Write to file!  Is it already open.. E.g. in Excel?  If so, please close and run this "
                   "command again.");

// The same, naming the file.
QString cannotWriteMessage(const QString& path);

// One CSV line (csvLine) per row of rs, in row order, the cells being the fields named (a field rs lacks gives
// an empty cell). The recordset does not move.
QStringList csvLines(const db::Recordset& rs, const QStringList& fields);

// The customer list export: the user's documents folder and "custgrid.csv".
QString custgridPath();

// Writes rs's csvLines. The file is written whole or not at all: false when rs has no
// rows or any write fails, and then whatever stood at path before is left as it was.
bool writeCustomerList(const db::Recordset& rs, const QStringList& fields, const QString& path);

} // namespace customers

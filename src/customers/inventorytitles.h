#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

namespace db {
class Database;
}

// The eight inventory field titles, one text in Value11 of the first Settings row: the titles joined by ", ".
// Title k names item column k of Columns; title 4 (the spare column) and title 5 (the owner) keep their meaning
// whatever they are called.
namespace inventorytitles {

inline constexpr int Count = 8;
inline const QStringList Columns = {QStringLiteral("Type"),    QStringLiteral("Details"), QStringLiteral("Number"),
                                    QStringLiteral("Notes"),   QStringLiteral("Type2"),   QStringLiteral("Details2"),
                                    QStringLiteral("Number2"), QStringLiteral("Notes2")};
inline const QString Separator = QStringLiteral(", ");

// "Type, Details, Number, Notes, Spare, Username, Warranty, More".
QString defaults();

// Value11 of the first row "SELECT Value11 from Settings" gives; Null when it is Null or there is no row.
// Throws db::DbError.
QVariant read(db::Database& database);
QVariant read(const QString& dbpath);

// Writes the text (Null allowed) into Value11 of that first row, as it stands. Throws db::DbError: a text longer
// than the column holds, a table without rows, a database that cannot be written.
void write(db::Database& database, const QVariant& text);
void write(const QString& dbpath, const QVariant& text);

// The titles of a stored text, split at every ", " ("" gives none; a text without ", " is one title).
QStringList split(const QString& text);

// What the rename panel accepts: exactly seven ", " and no "," at the end.
bool wellFormed(const QString& text);

} // namespace inventorytitles

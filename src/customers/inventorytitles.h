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

// What became of a rename: stored, or turned down because another copy renamed one of the same titles apart.
struct Renamed {
    bool stored = false;
    // Stored: the text now stored. Turned down: the file's titles with this copy's renames on them (the typed text
    // when either is not the eight titles).
    QString text;
    QString inFile; // the text the file held
};

// Stores, in one transaction, the titles `typed` renames from `asRead` (title by title) onto the titles the file
// holds now; every other title stays as the file holds it. Turned down when another copy gave one of those titles
// another name meanwhile. A text that is not the eight titles (either side) is replaced only when the file still
// holds it as read. Throws db::DbError.
Renamed storeRenamed(const QString& dbpath, const QString& asRead, const QString& typed);

// What the rename panel accepts: exactly seven ", " and no "," at the end.
bool wellFormed(const QString& text);

} // namespace inventorytitles

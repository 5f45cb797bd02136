#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The status and category lists kept in the Settings table, and the rules of their editor.
namespace statusrules {

// The longest status, colour or category the Settings columns take.
inline constexpr int MaxLength = 50;
// A status without a colour.
inline const QString NoColour = QStringLiteral("---");

struct Lists {
    QStringList statuses;
    QStringList colours; // one per status: decimal colour text or "---"
    QStringList categories;

    bool operator==(const Lists&) const = default;
};

// The lists as stored, in row order: rows with an empty or Null status add no status (a Null colour reads
// "---"), rows with an empty or Null category add no category. Throws db::DbError.
Lists read(const QString& dbPath);

// Replaces every Settings row by the lists, row k holding status k with its colour and category k, in one
// transaction: on any failure the table stays as it was and db::DbError is thrown. The first row's inventory
// titles (Value11) and the spare columns of each row are carried over by row index.
void rewrite(const QString& dbPath, const Lists& lists);

// The editor's changes from `asRead` to `edited` (entries added, removed, moved, recoloured) put onto `inFile`, the
// lists as the file holds them now: what another copy added, removed, moved or recoloured meanwhile stays. An entry
// added here that the file already holds (as the program compares names) is taken as the file holds it. nullopt
// when both changed the same thing apart (the colour of one status, or one of them a status the other removed;
// the order of one list), or when the result could not be stored (storeRefusal, fewer than 4 statuses or 3
// categories than the file holds).
std::optional<Lists> merge(const Lists& asRead, const Lists& edited, const Lists& inFile);

// Stores the editor's changes in one transaction: the lists are read as the file holds them, merged, and written
// again when that changes them (rewrite's rules). False when another copy's changes clash with this copy's
// (nothing stored). Throws db::DbError.
bool storeChanges(const QString& dbPath, const Lists& asRead, const Lists& edited);

// Why the entry at index (a valid one) may not be deleted: the message to show, "" when it may go.
QString statusDeleteRefusal(const QStringList& statuses, int index);
QString categoryDeleteRefusal(const QStringList& categories, int index);
// Why a typed entry may not join its list (`what`: "status" or "category"): blank, or already listed without
// regard to case or spaces around it, as the program compares text. The message to show; "" when it may.
QString addRefusal(const QStringList& list, const QString& entry, const QString& what);
// Why the lists may not be stored; "" when they may.
QString storeRefusal(const Lists& lists);

} // namespace statusrules

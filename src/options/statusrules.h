#pragma once

#include <QString>
#include <QStringList>

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
};

// The lists as stored, in row order: rows with an empty or Null status add no status (a Null colour reads
// "---"), rows with an empty or Null category add no category. Throws db::DbError.
Lists read(const QString& dbPath);

// Replaces every Settings row by the lists, row k holding status k with its colour and category k, in one
// transaction: on any failure the table stays as it was and db::DbError is thrown. The first row's inventory
// titles (Value11) and the spare columns of each row are carried over by row index.
void rewrite(const QString& dbPath, const Lists& lists);

// Why the entry at index (a valid one) may not be deleted: the message to show, "" when it may go.
QString statusDeleteRefusal(const QStringList& statuses, int index);
QString categoryDeleteRefusal(const QStringList& categories, int index);
// Why a typed entry may not join its list (`what`: "status" or "category"): blank, or already listed without
// regard to case or spaces around it, as the program compares text. The message to show; "" when it may.
QString addRefusal(const QStringList& list, const QString& entry, const QString& what);
// Why the lists may not be stored; "" when they may.
QString storeRefusal(const Lists& lists);

} // namespace statusrules

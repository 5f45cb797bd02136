#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace db {
class Recordset;
}

// The inventory windows' SQL and export files, apart from the windows.
namespace inventoryrules {

// "SELECT Top n * from Inventory": the inventory window's full list.
QString fullList(int n);

// The seven filter fields by the field list's position: Type, Details, Number, Notes, Details2, Number2, Notes2.
inline const QStringList FilterColumns = {
    QStringLiteral("Type"),     QStringLiteral("Details"), QStringLiteral("Number"), QStringLiteral("Notes"),
    QStringLiteral("Details2"), QStringLiteral("Number2"), QStringLiteral("Notes2")};
inline const QStringList Matches = {QStringLiteral("Equals"), QStringLiteral("Begins with"),
                                    QStringLiteral("Contains")};

// "SELECT * from Inventory where <column><condition>" for a field position (0-6) and a match position (0-2).
// The value is matched as typed: apostrophes doubled and, for the LIKE matches, %, _ and [ taken literally.
// "" for a position out of range.
QString filter(int field, int match, const QString& value);

// The customer inventory window's list: the items whose Details2 holds the reference (callrules::sameReference);
// `exact` where another customer's reference is the same but for case (callrules::caseTwin).
QString customerItems(const QString& reference, bool exact = false);

// The owner of an item, for the information line: Name, Location and Username of every customer the reference
// matches (callrules::findCustomer picks the one).
QString ownerQuery(const QString& reference);

// The main call list's query for the calls linking an item text (Type, "   [", Number, "]").
QString callsForItem(const QString& datesetting, const QString& item);

// The customer inventory export: "invlist.csv" in the program's folder.
QString invlistPath();
// The inventory window's export: "inv.csv" in the program's folder.
QString invPath();

// The customer inventory export's lines: one per row of rs from the first, the cells being Type, Details, Number,
// Notes and Notes2; no heading. The recordset does not move.
QStringList itemListLines(const db::Recordset& rs);

// Writes the inventory window's export to path: one line per grid row from the header row on, the cells being
// the texts of grid columns 2 to the last (not the fixed column or the hidden row id). Whole or not at all;
// false when it cannot be written.
bool writeGridExport(const QString& path, int rows, int cols, const std::function<QString(int row, int col)>& text);

} // namespace inventoryrules

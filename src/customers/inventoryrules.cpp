#include "customers/inventoryrules.h"

#include "callentry/callrules.h"
#include "customers/customerexport.h"
#include "platform/db/jetsql.h"
#include "platform/db/recordset.h"
#include "platform/desktop.h"
#include "reports/pagefile.h"
#include "shared/shared.h"
#include "shared/textout.h"

namespace inventoryrules {
namespace {

// A typed text inside a LIKE pattern stands for itself: the data control's wildcards are % and _.
QString literalPattern(const QString& text) {
    return db::jet::likeLiteral(text, db::LikeDialect::Ado);
}

} // namespace

QString fullList(int n) {
    return QStringLiteral("SELECT Top ") + QString::number(n) + QStringLiteral(" * from Inventory");
}

QString filter(int field, int match, const QString& value) {
    if (field < 0 || field >= FilterColumns.size() || match < 0 || match >= Matches.size())
        return {};
    const QString v = SQLQuote(value);
    QString condition;
    switch (match) {
    case 0:
        condition = QStringLiteral(" = '") + v + QStringLiteral("'");
        break;
    case 1:
        condition = QStringLiteral(" LIKE '") + literalPattern(v) + QStringLiteral("%'");
        break;
    default:
        condition = QStringLiteral(" LIKE '%") + literalPattern(v) + QStringLiteral("%'");
        break;
    }
    return QStringLiteral("SELECT * from Inventory where ") + FilterColumns.at(field) + condition;
}

QString customerItems(const QString& reference, bool exact) {
    // Exactly, case too, where a twin's items would otherwise show.
    return QStringLiteral("SELECT * from Inventory where ") +
           callrules::referenceMatchText(QStringLiteral("Details2"), reference, exact);
}

QString ownerQuery(const QString& reference) {
    return QStringLiteral("SELECT Name, Location, Username from Customers where ") +
           callrules::referenceMatchText(QStringLiteral("Username"), reference);
}

QString callsForItem(const QString& datesetting, const QString& item) {
    const QString ds = SQLQuote(datesetting);
    return QStringLiteral("Select Nom, sp3,  sp1, sp4,  Query, User,Username, sp2, Status, Logged, Contact,[Time "
                          "Spent], Spare, [Time Opened], Format$([Date Closed],'") +
           ds + QStringLiteral("')as [Date Closed], Format$([Date Opened],'") + ds +
           QStringLiteral("')as [Date Opened] from Calls where sp1 = '") + SQLQuote(item) + QStringLiteral("'");
}

QString invlistPath() {
    return desktop::programFolder() + QStringLiteral("/invlist.csv");
}

QString invPath() {
    return desktop::programFolder() + QStringLiteral("/inv.csv");
}

QStringList itemListLines(const db::Recordset& rs) {
    return customers::csvLines(rs, {QStringLiteral("Type"), QStringLiteral("Details"), QStringLiteral("Number"),
                                    QStringLiteral("Notes"), QStringLiteral("Notes2")});
}

bool writeGridExport(const QString& path, int rows, int cols, const std::function<QString(int row, int col)>& text) {
    PageFile file;
    bool ok = file.open(path);
    QString line; // one buffer for every line: the list may hold many thousands
    for (int r = 0; ok && r < rows; ++r) {
        line.resize(0);
        for (int c = 2; c < cols; ++c)
            appendCsvCell(line, text(r, c));
        ok = file.writeLine(line);
    }
    return ok && file.commit();
}

} // namespace inventoryrules

#include "customers/customerexport.h"

#include "platform/db/recordset.h"
#include "platform/db/values.h"
#include "reports/pagefile.h"
#include "shared/shared.h"

#include <vector>

namespace customers {

QString csvLine(const QStringList& cells) {
    QString line;
    for (const QString& cell : cells)
        line += QLatin1Char('"') + cell + QStringLiteral("\",");
    return line;
}

QString custgridPath() {
    return GetSpecialFolder(5) + QStringLiteral("/custgrid.csv");
}

QStringList csvLines(const db::Recordset& rs, const QStringList& fields) {
    std::vector<int> source;
    source.reserve(fields.size());
    for (const QString& f : fields)
        source.push_back(rs.fieldIndex(f));
    QStringList lines;
    QStringList cells;
    for (int r = 0; r < rs.rowCount(); ++r) {
        cells.clear();
        for (int c : source)
            cells << (c >= 0 ? db::displayText(rs.value(r, c)) : QString());
        lines << csvLine(cells);
    }
    return lines;
}

bool writeCustomerList(const db::Recordset& rs, const QStringList& fields, const QString& path) {
    // An empty list has nothing to export; an empty file would only look like one.
    if (rs.rowCount() < 1)
        return false;
    PageFile file;
    if (!file.open(path))
        return false;
    for (const QString& line : csvLines(rs, fields))
        if (!file.writeLine(line))
            return false;
    return file.commit();
}

} // namespace customers

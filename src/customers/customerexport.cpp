#include "customers/customerexport.h"

#include "platform/db/recordset.h"
#include "reports/pagefile.h"
#include "shared/shared.h"
#include "shared/textout.h"

#include <vector>

namespace customers {

QString cannotWriteMessage(const QString& path) {
    return CannotWriteMessage + QStringLiteral("\n\n") + path;
}

QString custgridPath() {
    return GetSpecialFolder(5) + QStringLiteral("/custgrid.csv");
}

QStringList csvLines(const db::Recordset& rs, const QStringList& fields) {
    std::vector<int> source;
    source.reserve(fields.size());
    for (const QString& f : fields)
        source.push_back(rs.fieldIndex(f));
    // Cells go straight from the stored text into the line: no value objects or cell lists per row.
    QStringList lines;
    lines.reserve(rs.rowCount());
    for (int r = 0; r < rs.rowCount(); ++r) {
        QString line;
        for (int c : source)
            appendCsvCell(line, c >= 0 ? rs.text(r, c) : QString());
        lines << line;
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

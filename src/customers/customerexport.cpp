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

namespace {

std::vector<int> sourceColumns(const db::Recordset& rs, const QStringList& fields) {
    std::vector<int> source;
    source.reserve(fields.size());
    for (const QString& f : fields)
        source.push_back(rs.fieldIndex(f));
    return source;
}

// Cells go straight from the stored text into the line: no value objects or cell lists per row.
QString csvRow(const db::Recordset& rs, const std::vector<int>& source, int r) {
    QString line;
    for (int c : source)
        appendCsvCell(line, c >= 0 ? rs.text(r, c) : QString());
    return line;
}

} // namespace

QStringList csvLines(const db::Recordset& rs, const QStringList& fields) {
    const std::vector<int> source = sourceColumns(rs, fields);
    QStringList lines;
    lines.reserve(rs.rowCount());
    rs.readAll([&](int r) { lines << csvRow(rs, source, r); });
    return lines;
}

bool writeCustomerList(const db::Recordset& rs, const QStringList& fields, const QString& path) {
    // An empty list has nothing to export; an empty file would only look like one.
    if (rs.rowCount() < 1)
        return false;
    PageFile file;
    if (!file.open(path))
        return false;
    // Line by line as the rows come, so a list of any length costs one line at a time.
    const std::vector<int> source = sourceColumns(rs, fields);
    bool ok = true;
    rs.readAll([&](int r) { ok = ok && file.writeLine(csvRow(rs, source, r)); });
    return ok && file.commit();
}

} // namespace customers

#pragma once

#include <QString>

namespace db {
class Recordset;
}

namespace customers {

// Customers whose name holds the text anywhere, as typed (its pattern characters are text), without case.
QString nameSearchSql(const QString& text);

// The first row from `from` on whose name holds the text as typed, without regard to case; -1 when none.
// Does not move the list.
int findByName(const db::Recordset& customers, const QString& text, int from = 0);

// Every call of one customer, status descending and then call number in sortorder, dates in datesetting.
// The reference is quoted here and compared as callrules::sameReference does; `exact` where a case twin exists.
QString callsForCustomerSql(const QString& reference, const QString& datesetting, const QString& sortorder,
                            bool exact = false);

// The customer list in the stored order: by Username when the setting says so (in any case), else by Name, so
// that only a column name ever follows ORDER BY.
QString listSql(const QString& order);

// The call panel's customer pickers: name with reference by name, and references alone.
QString pickerByNameSql();
QString pickerByReferenceSql();
// Every customer by name, as the information window lists them for deleting.
QString byNameSql();
// The customer row a window holds before one is chosen (the Customers columns, no row).
QString noCustomerSql();

} // namespace customers

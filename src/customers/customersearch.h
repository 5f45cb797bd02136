#pragma once

#include <QString>

namespace customers {

// The search text as it goes into the name search: apostrophes doubled, every "*" removed, lower case.
QString cleanSearchText(const QString& text);

// Customers whose name holds the text anywhere, by path (Jet's "*" wildcard, compared without case).
QString nameSearchSql(const QString& text);

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
// Every customer in stored order: the main window's list after the delete list is put away.
QString allSql();
// The customer row a window holds before one is chosen (the Customers columns, no row).
QString noCustomerSql();

} // namespace customers

#pragma once

#include <QString>
#include <QVariant>

namespace db {

// VB's Format for dates and times: yyyy yy mmmm mmm mm m dddd ddd dd d hh h nn n ss s, "m" after an hour (past
// any separators) meaning minutes, "/" and ":" the separators, "\x" and "..." literals. Other values come back as text.
QString vbFormat(const QVariant& value, const QString& pattern);

} // namespace db

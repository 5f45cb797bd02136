#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <QVariant>
#include <optional>

// How field values look as text and how dates travel to and from the file.
namespace db {

// The system's short date pattern (Qt syntax), always with a four-digit year.
QString shortDatePattern();
QString timePattern(); // "hh:mm:ss"

// The text a value shows in a box or on a page: Null gives "", a date the short date, a time "hh:mm:ss".
QString displayText(const QVariant& value);

// The length of a text as the database measures it against a column's size: characters, a pair of UTF-16
// halves counting as one, up to the first NUL (nothing after it counts).
int textLength(const QString& text);
// The longest start of text whose textLength is at most n; it never ends in half of a pair.
QString leftChars(const QString& text, int n);

// True for an invalid (Null) QVariant; "" is not Null.
inline bool isNull(const QVariant& v) { return !v.isValid() || v.isNull(); }

// Dates as stored in the file, so that text order is date order.
QString storageDate(const QDate& d);         // yyyy-MM-dd
QString storageTime(const QTime& t);         // hh:mm:ss
QString storageDateTime(const QDateTime& t); // yyyy-MM-dd hh:mm:ss

// Reads a stored or typed date/time: storage forms, the short date, yyyy/mm/dd, m/d/yyyy (month first,
// when month-first is asked for), with an optional time. A time alone gives a QTime.
QVariant parseDateValue(const QString& text, bool monthFirst = false);
// A value read back from a Date/Time column: QDate, QTime or QDateTime; text that is none of them stays text.
QVariant fromStorage(const QString& stored);

} // namespace db

#include "platform/db/vbformat.h"

#include "platform/db/values.h"

#include <QLocale>

namespace db {
namespace {

// Two figures; runs for every date part of every row formatted.
QString pad2(int v) {
    if (v < 0 || v > 99)
        return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0'));
    const QChar figures[2] = {QLatin1Char(static_cast<char>('0' + v / 10)),
                              QLatin1Char(static_cast<char>('0' + v % 10))};
    return QString(figures, 2);
}

int runLength(const QString& p, int i, QChar c) {
    int n = 0;
    while (i + n < p.size() && p.at(i + n).toLower() == c)
        ++n;
    return n;
}

} // namespace

QString vbFormat(const QVariant& value, const QString& pattern) {
    if (isNull(value))
        return {};
    QVariant v = value;
    if (v.typeId() == QMetaType::QString) {
        const QVariant parsed = fromStorage(v.toString());
        v = parsed.typeId() == QMetaType::QString ? parseDateValue(v.toString()) : parsed;
        if (isNull(v))
            return value.toString(); // not a date: VB gives the text back
    }
    QDate date;
    QTime time(0, 0);
    switch (v.typeId()) {
    case QMetaType::QDate:
        date = v.toDate();
        break;
    case QMetaType::QTime:
        date = QDate(1899, 12, 30);
        time = v.toTime();
        break;
    case QMetaType::QDateTime:
        date = v.toDateTime().date();
        time = v.toDateTime().time();
        break;
    default:
        return displayText(value);
    }
    QString out;
    out.reserve(pattern.size() + 8);
    bool afterHour = false; // "m" straight after an hour means minutes, as in VB
    for (int i = 0; i < pattern.size();) {
        const QChar c = pattern.at(i);
        const QChar lc = c.toLower();
        if (c == QLatin1Char('\\')) {
            if (i + 1 < pattern.size())
                out += pattern.at(i + 1);
            i += 2;
            continue;
        }
        if (c == QLatin1Char('"')) {
            const int end = pattern.indexOf(QLatin1Char('"'), i + 1);
            const int stop = end < 0 ? pattern.size() : end;
            out += pattern.mid(i + 1, stop - i - 1);
            i = stop + 1;
            continue;
        }
        if (lc == QLatin1Char('y')) {
            const int n = runLength(pattern, i, QLatin1Char('y'));
            if (n >= 3)
                out += QString::number(date.year());
            else if (n == 2)
                out += pad2(date.year() % 100);
            else
                out += QString::number(date.dayOfYear());
            i += n;
            afterHour = false;
            continue;
        }
        if (lc == QLatin1Char('m')) {
            const int n = runLength(pattern, i, QLatin1Char('m'));
            if (afterHour && n <= 2)
                out += n == 2 ? pad2(time.minute()) : QString::number(time.minute());
            else if (n >= 4)
                out += QLocale().monthName(date.month(), QLocale::LongFormat);
            else if (n == 3)
                out += QLocale().monthName(date.month(), QLocale::ShortFormat);
            else if (n == 2)
                out += pad2(date.month());
            else
                out += QString::number(date.month());
            i += n;
            afterHour = false;
            continue;
        }
        if (lc == QLatin1Char('d')) {
            const int n = runLength(pattern, i, QLatin1Char('d'));
            if (n >= 4)
                out += QLocale().dayName(date.dayOfWeek(), QLocale::LongFormat);
            else if (n == 3)
                out += QLocale().dayName(date.dayOfWeek(), QLocale::ShortFormat);
            else if (n == 2)
                out += pad2(date.day());
            else
                out += QString::number(date.day());
            i += n;
            afterHour = false;
            continue;
        }
        if (lc == QLatin1Char('h')) {
            const int n = runLength(pattern, i, QLatin1Char('h'));
            out += n >= 2 ? pad2(time.hour()) : QString::number(time.hour());
            i += n;
            afterHour = true;
            continue;
        }
        if (lc == QLatin1Char('n')) {
            const int n = runLength(pattern, i, QLatin1Char('n'));
            out += n >= 2 ? pad2(time.minute()) : QString::number(time.minute());
            i += n;
            afterHour = false;
            continue;
        }
        if (lc == QLatin1Char('s')) {
            const int n = runLength(pattern, i, QLatin1Char('s'));
            out += n >= 2 ? pad2(time.second()) : QString::number(time.second());
            i += n;
            afterHour = false;
            continue;
        }
        // Separators keep afterHour alive, so "hh:mm" and "hh-mm" read as minutes.
        out += c;
        if (c.isLetter())
            afterHour = false;
        ++i;
    }
    return out;
}

} // namespace db

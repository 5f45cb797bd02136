#include "platform/db/values.h"

#include <QLocale>
#include <QRegularExpression>

namespace db {

QString shortDatePattern() {
    const QLocale locale;
    // Without a configured locale (the "C" locale) dates read day/month/year in figures.
    if (locale.language() == QLocale::C)
        return QStringLiteral("dd/MM/yyyy");
    // Asked for every date shown: the last answer is kept for as long as the locale's pattern stays.
    thread_local QString lastLocale, lastPattern;
    QString p = locale.dateFormat(QLocale::ShortFormat);
    if (p == lastLocale)
        return lastPattern;
    lastLocale = p;
    // Four-digit years always, whatever the locale says.
    static const QRegularExpression years(QStringLiteral("y+"));
    p.replace(years, QStringLiteral("yyyy"));
    lastPattern = p;
    return p;
}

QString timePattern() {
    return QStringLiteral("hh:mm:ss");
}

namespace {

// hh:mm:ss without the general formatter: every time of every row shown comes through here.
QString timeText(const QTime& t) {
    if (!t.isValid())
        return {};
    const int parts[3] = {t.hour(), t.minute(), t.second()};
    QString out(8, QLatin1Char(':'));
    for (int i = 0; i < 3; ++i) {
        out[i * 3] = QLatin1Char(static_cast<char>('0' + parts[i] / 10));
        out[i * 3 + 1] = QLatin1Char(static_cast<char>('0' + parts[i] % 10));
    }
    return out;
}

} // namespace

int textLength(const QString& text) {
    int n = 0;
    for (qsizetype i = 0; i < text.size() && !text.at(i).isNull(); ++i, ++n)
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
    return n;
}

QString leftChars(const QString& text, int n) {
    n = qMax(n, 0);
    qsizetype i = 0;
    for (int counted = 0; i < text.size() && !text.at(i).isNull(); ++counted) {
        if (counted == n)
            return text.left(i);
        i += text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate() ? 2 : 1;
    }
    return text; // the rest, from a NUL on, does not count
}

QString displayText(const QVariant& value) {
    // Text first and without conversion: most fields of most rows are text.
    if (value.typeId() == QMetaType::QString)
        return *static_cast<const QString*>(value.constData());
    if (isNull(value))
        return {};
    switch (value.typeId()) {
    case QMetaType::QDate:
        return value.toDate().toString(shortDatePattern());
    case QMetaType::QTime:
        return timeText(value.toTime());
    case QMetaType::QDateTime: {
        const QDateTime dt = value.toDateTime();
        if (dt.time() == QTime(0, 0))
            return dt.date().toString(shortDatePattern());
        return dt.date().toString(shortDatePattern()) + QLatin1Char(' ') + timeText(dt.time());
    }
    case QMetaType::Double: {
        const double d = value.toDouble();
        return QString::number(d, 'g', 15);
    }
    default:
        return value.toString();
    }
}

QString storageDate(const QDate& d) {
    return d.toString(QStringLiteral("yyyy-MM-dd"));
}
QString storageTime(const QTime& t) {
    return timeText(t);
}
QString storageDateTime(const QDateTime& t) {
    if (t.time() == QTime(0, 0))
        return storageDate(t.date());
    return t.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

namespace {

QTime parseTime(const QString& s) {
    static const QRegularExpression re(QStringLiteral("^(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?\\s*([AaPp][Mm])?$"));
    const auto m = re.match(s.trimmed());
    if (!m.hasMatch())
        return {};
    int h = m.captured(1).toInt();
    const int mi = m.captured(2).toInt();
    const int se = m.captured(3).isEmpty() ? 0 : m.captured(3).toInt();
    const QString ampm = m.captured(4).toLower();
    if (!ampm.isEmpty()) {
        if (h < 1 || h > 12)
            return {};
        if (ampm == QLatin1String("pm") && h != 12)
            h += 12;
        if (ampm == QLatin1String("am") && h == 12)
            h = 0;
    }
    return QTime(h, mi, se);
}

QDate parseDateOnly(const QString& s, bool monthFirst) {
    const QString t = s.trimmed();
    static const QRegularExpression isoLike(QStringLiteral("^(\\d{4})[-/.](\\d{1,2})[-/.](\\d{1,2})$"));
    if (auto m = isoLike.match(t); m.hasMatch())
        return QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    static const QRegularExpression dmy(QStringLiteral("^(\\d{1,2})[-/.](\\d{1,2})[-/.](\\d{2}|\\d{4})$"));
    if (auto m = dmy.match(t); m.hasMatch()) {
        int a = m.captured(1).toInt(), b = m.captured(2).toInt(), y = m.captured(3).toInt();
        if (m.captured(3).size() == 2)
            y += y < 30 ? 2000 : 1900;
        bool mf = monthFirst;
        if (!monthFirst) {
            // The system's short date decides the order of day and month.
            const QString p = shortDatePattern();
            mf = p.indexOf(QLatin1Char('M')) < p.indexOf(QLatin1Char('d'));
        }
        return mf ? QDate(y, a, b) : QDate(y, b, a);
    }
    // The short date of the system as it stands (it may use other separators).
    const QDate d = QDate::fromString(t, shortDatePattern());
    return d;
}

} // namespace

QVariant parseDateValue(const QString& text, bool monthFirst) {
    const QString t = text.trimmed();
    if (t.isEmpty())
        return {};
    if (const QTime time = parseTime(t); time.isValid())
        return time;
    if (const QDate d = parseDateOnly(t, monthFirst); d.isValid())
        return d;
    // A date and a time separated by a blank (or ISO's T).
    const int split = t.indexOf(QRegularExpression(QStringLiteral("[ T]")));
    if (split > 0) {
        const QDate d = parseDateOnly(t.left(split), monthFirst);
        const QTime tm = parseTime(t.mid(split + 1));
        if (d.isValid() && tm.isValid())
            return QDateTime(d, tm);
    }
    return {};
}

namespace {

// Digits at s[from, from+n) as a number, or -1.
int digits(const QString& s, int from, int n) {
    int v = 0;
    for (int i = from; i < from + n; ++i) {
        const ushort c = s.at(i).unicode();
        if (c < '0' || c > '9')
            return -1;
        v = v * 10 + (c - '0');
    }
    return v;
}

QDate storedDate(const QString& s, int at) {
    if (s.at(at + 4) != QLatin1Char('-') || s.at(at + 7) != QLatin1Char('-'))
        return {};
    return QDate(digits(s, at, 4), digits(s, at + 5, 2), digits(s, at + 8, 2));
}

QTime storedTime(const QString& s, int at) {
    if (s.at(at + 2) != QLatin1Char(':') || s.at(at + 5) != QLatin1Char(':'))
        return {};
    return QTime(digits(s, at, 2), digits(s, at + 3, 2), digits(s, at + 6, 2));
}

} // namespace

QVariant fromStorage(const QString& stored) {
    // Read field by field: this runs for every date of every row read.
    const int n = stored.size();
    if (n == 10) {
        if (const QDate d = storedDate(stored, 0); d.isValid())
            return d;
    } else if (n == 8) {
        if (const QTime t = storedTime(stored, 0); t.isValid())
            return t;
    } else if (n == 19 && stored.at(10) == QLatin1Char(' ')) {
        const QDate d = storedDate(stored, 0);
        const QTime t = storedTime(stored, 11);
        if (d.isValid() && t.isValid())
            return QDateTime(d, t);
    }
    return stored;
}

} // namespace db

#include "options/optionrules.h"

#include "platform/db/values.h"

#include <QFile>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <limits>

namespace optionrules {
namespace {

std::optional<double> number(const QString& answer) {
    bool ok = false;
    const double value = answer.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// A stored whole number, spaces around it aside; none for any other text.
std::optional<qlonglong> storedWhole(const QString& stored) {
    bool whole = false;
    const qlonglong n = stored.trimmed().toLongLong(&whole);
    return whole ? std::optional<qlonglong>(n) : std::nullopt;
}

} // namespace

bool meansCancel(const QString& answer) {
    const std::optional<double> value = number(answer);
    return value && *value == 2.0;
}

std::optional<int> wholeNumber(const QString& answer, int low, int high) {
    const std::optional<double> value = number(answer);
    if (!value)
        return std::nullopt;
    if (*value < low)
        return low;
    if (*value > high)
        return high;
    return static_cast<int>(std::nearbyint(*value));
}

bool resetSettings(const QString& iniPath) {
    return QFile::remove(iniPath) || !QFile::exists(iniPath);
}

bool isTrue(const QString& stored) {
    return stored == QLatin1String("True");
}

QString sortOrder(const QString& stored) {
    return stored == QLatin1String("DESC") ? stored : QStringLiteral("ASC");
}

QString sortColumn(const QString& stored) {
    return QStringList{"Nom", "Status", "sp3"}.contains(stored) ? stored : QStringLiteral("Nom");
}

int withinRange(const QString& stored, Range range) {
    const std::optional<qlonglong> n = storedWhole(stored);
    return n ? static_cast<int>(std::clamp<qlonglong>(*n, range.low, range.high)) : range.standard;
}

QString pieMode(const QString& stored) {
    return QStringList{"sp3", "User", "None"}.contains(stored) ? stored : QStringLiteral("sp3");
}

int maxCalls(const QString& stored) {
    return withinRange(stored, MaxCallsRange);
}

int dropDownWidth(const QString& stored) {
    return withinRange(stored, DropDownWidthRange);
}

int gridFontSize(const QString& stored) {
    // A size the font dialog never gave is a damaged file, not a choice: the default, not the largest size.
    const std::optional<qlonglong> n = storedWhole(stored);
    return n && *n >= GridFontSizeRange.low && *n <= GridFontSizeRange.high ? static_cast<int>(*n)
                                                                            : GridFontSizeRange.standard;
}

int refreshInterval(const QString& stored) {
    // A text that is no number would re-run the list every second on every copy: the default instead.
    return withinRange(stored, RefreshIntervalRange);
}

QString dateSetting(const QString& stored) {
    const QString standard = db::shortDatePattern().toLower();
    if (stored == standard)
        return stored;
    bool fields = false;
    for (const QChar c : stored) {
        const bool field = QStringView(u"dmyDMY").contains(c);
        if (!field && !QStringView(u" /-.,:").contains(c))
            return standard;
        fields = fields || field;
    }
    return fields ? stored : standard;
}

int rowHeight(const QString& stored) {
    return withinRange(stored, RowHeightRange);
}

} // namespace optionrules

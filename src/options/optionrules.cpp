#include "options/optionrules.h"

#include <QFile>
#include <QStringList>

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

int maxCalls(const QString& stored) {
    // Used as stored (a 16-bit whole number); only what is not one from 1 up falls back to the default.
    bool whole = false;
    const int n = stored.toInt(&whole);
    return whole && n >= 1 && n <= 32767 ? n : 1000;
}

int refreshInterval(const QString& stored) {
    return qMax(1, stored.toInt());
}

std::optional<int> rowHeight(const QString& stored) {
    const int n = stored.toInt();
    if (n > 0 && n <= 32767)
        return n;
    return std::nullopt;
}

} // namespace optionrules

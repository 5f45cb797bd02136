#include "options/optionrules.h"

#include <QFile>

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

} // namespace optionrules

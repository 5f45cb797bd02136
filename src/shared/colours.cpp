#include "shared/colours.h"

#include <algorithm>

namespace {
int clampByte(int v) {
    return std::clamp(v, 0, 255);
}
} // namespace

std::optional<qlonglong> colourValueFromVb(const QString& text) {
    QString t = text.trimmed();
    bool ok = false;
    qlonglong value = 0;
    if (t.startsWith(QLatin1String("&H"), Qt::CaseInsensitive)) {
        t = t.mid(2);
        if (t.endsWith(QLatin1Char('&')))
            t.chop(1);
        if (t.isEmpty() || t.size() > 8)
            return std::nullopt;
        value = t.toLongLong(&ok, 16);
    } else {
        value = t.toLongLong(&ok, 10);
    }
    if (!ok)
        return std::nullopt;
    return value;
}

std::optional<Rgb> colourFromVb(const QString& text) {
    const auto value = colourValueFromVb(text);
    if (!value || *value < 0 || *value > 0xFFFFFF)
        return std::nullopt;
    return Rgb{int(*value & 0xFF), int((*value >> 8) & 0xFF), int((*value >> 16) & 0xFF)};
}

QString colourToVb(Rgb colour) {
    const qlonglong value = clampByte(colour.r) | (clampByte(colour.g) << 8) | (clampByte(colour.b) << 16);
    return QString::number(value);
}

QString colourToHtml(Rgb colour) {
    const auto hex = [](int v) { return QStringLiteral("%1").arg(clampByte(v), 2, 16, QLatin1Char('0')).toUpper(); };
    return QLatin1Char('#') + hex(colour.r) + hex(colour.g) + hex(colour.b);
}

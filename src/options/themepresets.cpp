#include "options/themepresets.h"

namespace themepresets {

const std::array<Preset, 7>& presets() {
    static const std::array<Preset, 7> table = {{
        {"mnuthemepw", "Pale White", 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFD5, "/ice.jpg", true, false},
        {"mnthemetoned", "Toned", 0xD4FFD4, 0xFFFFD4, 0xFFFFD4, 0xD4FFD4, 0xFFD4AA, "/ice.jpg", false, false},
        {"mnuthemems", "MS 2007", 0xFFEFE3, 0xFFF2E7, 0xF0DFD0, 0xE3CCB5, 0xF0DFD0, "/ice.jpg", true, false},
        {"mnuthemenat", "Natural", 0xB5E3CC, 0xD6F5E6, 0xD6F5E6, 0xD4F7F7, 0xE3CCB5, "/default.jpg", false, false},
        {"mnunirv", "Nirvana", 0xCCD5D5, 0xF4FFFF, 0xCCD5D5, 0xA3898A, 0xF4FFFF, "/default.jpg", false, false},
        {"mnudark", "Dark", 0xEAEAE4, 0xCEC8C1, 0xE7E8DF, 0x4C4C4C, 0xB3B1B0, "None", false, false},
        {"mnuthemed", "Default", 0xC0C0C0, 0xEFEFEF, 0xEFEFEF, 0xEFEFEF, 0xF2F2F2, "/default.jpg", false, true},
    }};
    return table;
}

QString colourText(unsigned value) {
    return QString::number(value);
}

QString backImagePath(const Preset& preset, const QString& programFolder) {
    const QString picture = QLatin1String(preset.picture);
    return picture == QLatin1String("None") ? picture : programFolder + picture;
}

QStringList warningPattern() {
    return {QStringLiteral("blue.jpg"), QStringLiteral("green.jpg"), QStringLiteral("yellow.jpg"),
            QStringLiteral("orange.jpg")};
}

} // namespace themepresets

#pragma once

#include <QString>
#include <QStringList>
#include <array>

// The ready-made looks of the options window's "Themes" menu and the picture sets of its statistics bars.
namespace themepresets {

struct Preset {
    const char* item;    // menu item's object name
    const char* caption; // menu caption
    // Colour values (hex BBGGRR): background, form, panel, menu bar, grid alternate.
    unsigned back, form, panel, menuBar, gridAlternate;
    const char* picture; // appended to the program's folder, or "None" for no picture
    bool blueBars;       // all four bars blue; otherwise the warning pattern
    bool gridFont;       // also puts the grid font back to Arial 10, black
};

// In menu order.
const std::array<Preset, 7>& presets();

// The decimal text the settings and the main window's colour variables hold.
QString colourText(unsigned value);

// The backimagepath a preset stores: "None", or the program's folder followed by the picture.
QString backImagePath(const Preset& preset, const QString& programFolder);

// Statistics-bar picture files in the Media folder: the warning pattern gives each bar its own.
QStringList warningPattern();

} // namespace themepresets

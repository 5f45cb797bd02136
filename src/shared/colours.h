#pragma once

#include <QString>
#include <optional>

// A colour as the settings store it: one number with red in the lowest byte, then green, then blue.
struct Rgb {
    int r = 0;
    int g = 0;
    int b = 0;
    bool operator==(const Rgb&) const = default;
};

// The number a colour text stands for (decimal, or "&H...&" hex), system colours included; nullopt when the
// text is not a number.
std::optional<qlonglong> colourValueFromVb(const QString& text);
// Decimal text ("12632256" is C0C0C0, light grey) or the hexadecimal form "&HFFFFFF" / "&H00C0C0C0&".
// nullopt for anything else, a number below 0 or above FFFFFF included ("---" and "" mean no colour).
std::optional<Rgb> colourFromVb(const QString& text);

// The decimal text the settings store.
QString colourToVb(Rgb colour);

// "#RRGGBB", upper-case hexadecimal.
QString colourToHtml(Rgb colour);

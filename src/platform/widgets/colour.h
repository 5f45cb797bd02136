#pragma once

#include <QColor>
#include <QString>

class QWidget;

namespace ui {

// Colours are kept as the Windows colour value: red in the lowest byte, then green, then blue
// (hex BBGGRR), written as decimal text in the settings and the database.

// "12632256", "&HC0C0C0", "&HFFFFFF&"; a system colour such as "&H80000005&" (or its negative decimal form)
// takes the application palette's matching colour. Anything else gives an invalid QColor.
QColor vbColour(const QString& text);
QColor vbColour(qint64 value);

// The decimal text of the colour value; "" for an invalid colour.
QString vbColourText(const QColor& colour);
// The colour value itself (0 for an invalid colour).
qint64 vbColourValue(const QColor& colour);

// A window or panel drawn in this colour; an invalid colour (a text that is not a colour) changes nothing.
void fillBackground(QWidget* widget, const QColor& colour);

} // namespace ui

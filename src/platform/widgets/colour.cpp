#include "platform/widgets/colour.h"

#include "shared/colours.h"

#include <QGuiApplication>
#include <QPalette>
#include <QWidget>

namespace ui {
namespace {

constexpr qint64 SystemColourFlag = 0x80000000LL;

// The system colours by their index, as the palette holds them; the classic Windows look when there is no
// application yet.
QColor systemColour(int index) {
    struct Entry {
        int index;
        QPalette::ColorRole role;
        QRgb fallback;
    };
    static const Entry entries[] = {
        {1, QPalette::Window, 0x3A6EA5},     // desktop
        {4, QPalette::Window, 0xD4D0C8},     // menu
        {5, QPalette::Base, 0xFFFFFF},       // window background
        {7, QPalette::WindowText, 0x000000}, // menu text
        {8, QPalette::Text, 0x000000},       // window text
        {12, QPalette::Dark, 0x808080},      // application workspace
        {13, QPalette::Highlight, 0x0A246A}, // highlight
        {14, QPalette::HighlightedText, 0xFFFFFF},
        {15, QPalette::Button, 0xD4D0C8},          // button face
        {16, QPalette::Dark, 0x808080},            // button shadow
        {17, QPalette::PlaceholderText, 0x808080}, // grey text
        {18, QPalette::ButtonText, 0x000000},      // button text
        {20, QPalette::Light, 0xFFFFFF},           // button highlight
        {24, QPalette::ToolTipBase, 0xFFFFE1},     // tool tip background
        {23, QPalette::ToolTipText, 0x000000},
    };
    for (const Entry& e : entries) {
        if (e.index != index)
            continue;
        if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
            return QGuiApplication::palette().color(e.role);
        return QColor::fromRgb(e.fallback);
    }
    return {};
}

} // namespace

QColor vbColour(qint64 value) {
    if (value < 0)
        value += 0x100000000LL; // the signed 32-bit form of a system colour
    if (value < 0 || value > 0xFFFFFFFFLL)
        return {};
    if (value & SystemColourFlag) {
        const qint64 index = value & ~SystemColourFlag;
        return index <= 0xFF ? systemColour(static_cast<int>(index)) : QColor();
    }
    if (value > 0xFFFFFF)
        return {};
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

QColor vbColour(const QString& text) {
    const auto value = colourValueFromVb(text);
    return value ? vbColour(static_cast<qint64>(*value)) : QColor();
}

qint64 vbColourValue(const QColor& colour) {
    if (!colour.isValid())
        return 0;
    const QRgb rgb = colour.rgb();
    return qRed(rgb) | (qGreen(rgb) << 8) | (qBlue(rgb) << 16);
}

QString vbColourText(const QColor& colour) {
    return colour.isValid() ? QString::number(vbColourValue(colour)) : QString();
}

void fillBackground(QWidget* widget, const QColor& colour) {
    if (!widget || !colour.isValid())
        return;
    widget->setAutoFillBackground(true);
    QPalette p = widget->palette();
    p.setColor(QPalette::Window, colour);
    widget->setPalette(p);
}

} // namespace ui

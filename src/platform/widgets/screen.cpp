#include "platform/widgets/screen.h"

#include <QGuiApplication>
#include <QScreen>

namespace ui {
namespace {
QtScreen g_qtScreen;
Screen* g_screen = nullptr;
} // namespace

int twipsToPixels(int twips) {
    return twips >= 0 ? (twips + TwipsPerPixel / 2) / TwipsPerPixel : -((-twips + TwipsPerPixel / 2) / TwipsPerPixel);
}

int pixelsToTwips(int pixels) {
    return pixels * TwipsPerPixel;
}

QSize QtScreen::sizePixels() const {
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->size() : QSize();
}

Screen& screen() {
    return g_screen ? *g_screen : g_qtScreen;
}
void setScreen(Screen* s) {
    g_screen = s;
}

} // namespace ui

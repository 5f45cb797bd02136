#include "platform/widgets/screen.h"

#include <QBoxLayout>
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

QSize windowRoom() {
    const QSize s = screen().sizePixels();
    return s.isEmpty() ? QSize(984, 688) : QSize(qMax(200, s.width() - 40), qMax(150, s.height() - 80));
}

void stackWhenTooWide(QBoxLayout* row, const QMargins& margins) {
    row->setDirection(QBoxLayout::LeftToRight);
    row->invalidate();
    if (row->sizeHint().width() + margins.left() + margins.right() > windowRoom().width())
        row->setDirection(QBoxLayout::TopToBottom);
}

} // namespace ui

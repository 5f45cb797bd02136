#pragma once

#include <QMargins>
#include <QSize>

class QBoxLayout;

namespace ui {

// Window sizes in the program are given in twips: 1440 to the inch, 15 to a pixel at 96 dots per inch.
constexpr int TwipsPerPixel = 15;
int twipsToPixels(int twips);
int pixelsToTwips(int pixels);

// The primary screen, behind an interface so that tests can ask for any size.
class Screen {
public:
    virtual ~Screen() = default;
    virtual QSize sizePixels() const = 0;
};

class QtScreen : public Screen {
public:
    QSize sizePixels() const override;
};

Screen& screen();
void setScreen(Screen* screen); // not owned; nullptr restores the real screen

// The room a window has on the screen: its size less the window frame and a task bar.
QSize windowRoom();
// A row of controls whose contents would be wider than the room (less `margins` around it) goes top to bottom;
// one that fits stays left to right.
void stackWhenTooWide(QBoxLayout* row, const QMargins& margins);

} // namespace ui

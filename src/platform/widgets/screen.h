#pragma once

#include <QSize>

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

} // namespace ui

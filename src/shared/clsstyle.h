#pragma once

class QWidget;

// The window-style object: sets a window's border and title-bar buttons.
class clsStyle {
public:
    // A resizable window gets a sizing border and the maximize button; otherwise the border is fixed.
    void setResizable(QWidget* window, bool resizable) const;
};

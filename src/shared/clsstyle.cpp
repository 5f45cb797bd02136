#include "shared/clsstyle.h"

#include <QWidget>

void clsStyle::setResizable(QWidget* window, bool resizable) const {
    Qt::WindowFlags flags = Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                            Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;
    if (resizable)
        flags |= Qt::WindowMaximizeButtonHint;
    window->setWindowFlags(flags);
    window->setProperty("allowResizing", resizable);
}

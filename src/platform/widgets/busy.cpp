#include "platform/widgets/busy.h"

#include <QApplication>

namespace ui {

WaitCursor::WaitCursor() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

WaitCursor::~WaitCursor() {
    release();
}

void WaitCursor::release() {
    if (!m_on)
        return;
    m_on = false;
    QApplication::restoreOverrideCursor();
}

} // namespace ui

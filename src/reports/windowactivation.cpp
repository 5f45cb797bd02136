#include "reports/windowactivation.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

WindowActivation& WindowActivation::instance() {
    static WindowActivation* watcher = [] {
        auto* w = new WindowActivation;
        qApp->installEventFilter(w);
        return w;
    }();
    return *watcher;
}

bool WindowActivation::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::WindowActivate || !watched->isWidgetType())
        return false;
    const auto* w = static_cast<QWidget*>(watched);
    if (!w->isWindow())
        return false;
    // Boxes and dialogs are modal while they show; pop-ups and tips are not windows of their own.
    const Qt::WindowType type = w->windowType();
    if (w->isModal() || type == Qt::Popup || type == Qt::ToolTip || type == Qt::SplashScreen)
        return false;
    if (m_current.window == w)
        return false; // back to the same window: from a box, a dialog or another program
    m_previous = m_current;
    m_current = {w, ++m_serial};
    return false;
}

bool WindowActivation::cameFromOtherWindow(const QWidget* w, quint64 since) const {
    // Asked while the window is activated: the filter has already made it current.
    const Seen& before = m_current.window == w ? m_previous : m_current;
    return before.window && before.window != w && before.serial > since;
}

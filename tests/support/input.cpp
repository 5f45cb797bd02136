#include "support/input.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

namespace {
void sendMouse(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButton button) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent e(type, QPointF(pos), QPointF(w->mapToGlobal(pos)), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}
} // namespace

void mousePress(QWidget* w, QPoint pos, Qt::MouseButton button) {
    sendMouse(w, QEvent::MouseButtonPress, pos, button);
}

void mouseRelease(QWidget* w, QPoint pos, Qt::MouseButton button) {
    sendMouse(w, QEvent::MouseButtonRelease, pos, button);
}

void mouseDragTo(QWidget* w, QPoint pos) {
    QMouseEvent e(QEvent::MouseMove, QPointF(pos), QPointF(w->mapToGlobal(pos)), Qt::NoButton, Qt::LeftButton,
                  Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

void click(QWidget* w, QPoint pos, Qt::MouseButton button) {
    mousePress(w, pos, button);
    mouseRelease(w, pos, button);
}

void doubleClick(QWidget* w, QPoint pos) {
    click(w, pos);
    sendMouse(w, QEvent::MouseButtonDblClick, pos, Qt::LeftButton);
    mouseRelease(w, pos);
}

void pressKey(QWidget* w, int key, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &release);
}

void typeText(QWidget* w, const QString& text) {
    for (const QChar c : text)
        pressKey(w, c.isLetterOrNumber() ? QChar(c.toUpper()).unicode() : c.unicode(), QString(c));
}

#pragma once

#include <QPoint>
#include <QString>
#include <Qt>

class QWidget;

// The user's mouse and keyboard, sent straight to a widget (no focus or event loop needed).
void mousePress(QWidget* w, QPoint pos, Qt::MouseButton button = Qt::LeftButton);
void mouseRelease(QWidget* w, QPoint pos, Qt::MouseButton button = Qt::LeftButton);
// The mouse moved to pos with the left button held: a drag's step.
void mouseDragTo(QWidget* w, QPoint pos);
void click(QWidget* w, QPoint pos, Qt::MouseButton button = Qt::LeftButton); // press and release
void doubleClick(QWidget* w, QPoint pos);
void pressKey(QWidget* w, int key, const QString& text = QString());
void typeText(QWidget* w, const QString& text); // one key press per character

#pragma once

#include <QStatusBar>
#include <QVector>

namespace ui {
class ElidedLabel;
}

// The main window's status bar with its five numbered panels: 1 the user, 2 the access level, 3 the date,
// 4 the time, 5 what the window is doing.
class PanelStatusBar : public QStatusBar {
    Q_OBJECT
public:
    explicit PanelStatusBar(QWidget* parent = nullptr);
    QString panel(int index) const; // 1-based
    void setPanel(int index, const QString& text);

private:
    QVector<ui::ElidedLabel*> m_panels;
};

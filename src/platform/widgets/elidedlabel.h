#pragma once

#include <QLabel>

namespace ui {

// A one-line label that never asks for more width than it is given: text() keeps the whole text, the label shows
// as much as fits with an ellipsis and the whole text as its tooltip when cut. Line breaks show as spaces.
// With word wrap on it fills the lines its height holds and ends the last one with the ellipsis instead.
class ElidedLabel : public QLabel {
public:
    explicit ElidedLabel(const QString& text = QString(), QWidget* parent = nullptr);

    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;
    // The text as painted at the present width.
    QString shownText() const;
    // The last `count` characters of the text (a total after a caption, say) are shown whole while there is room
    // for them: what comes before them is cut instead. 0, the default, cuts the end.
    void setKeptEnd(int count);

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    QString shown(bool* cut) const;
    QString wrapped(bool* cut) const;

    int m_keptEnd = 0;
};

} // namespace ui

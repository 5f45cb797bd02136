#pragma once

#include <QList>
#include <QPair>
#include <QWidget>

// The home panel's pie of the top three categories or assignees, with a legend.
class PieChart : public QWidget {
    Q_OBJECT
public:
    explicit PieChart(QWidget* parent = nullptr);
    void setValues(const QList<QPair<QString, int>>& values);
    const QList<QPair<QString, int>>& values() const { return m_values; }
    QSize sizeHint() const override { return {260, 150}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QList<QPair<QString, int>> m_values;
};

#include "calllists/piechart.h"

#include <QPainter>

PieChart::PieChart(QWidget* parent) : QWidget(parent) { setMinimumSize(200, 120); }

void PieChart::setValues(const QList<QPair<QString, int>>& values) {
    m_values = values;
    update();
}

void PieChart::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    static const QColor colours[] = {QColor(70, 130, 180), QColor(240, 160, 60), QColor(120, 180, 90),
                                     QColor(200, 90, 90), QColor(150, 110, 190)};
    int total = 0;
    for (const auto& v : m_values)
        total += v.second;
    const int side = qMin(height() - 10, width() / 2 - 10);
    const QRect pieRect(5, (height() - side) / 2, side, side);
    if (total <= 0) {
        p.setPen(palette().color(QPalette::Mid));
        p.drawEllipse(pieRect);
        p.drawText(pieRect, Qt::AlignCenter | Qt::TextWordWrap, tr("No open calls"));
        return;
    }
    int start = 90 * 16; // twelve o'clock, going clockwise
    int used = 0;
    const int legendX = pieRect.right() + 12;
    int legendY = pieRect.top() + 4;
    for (int i = 0; i < m_values.size(); ++i) {
        const QColor c = colours[i % 5];
        const bool last = i == m_values.size() - 1;
        const int span = last ? 5760 - used : qRound(5760.0 * m_values[i].second / total);
        used += span;
        p.setBrush(c);
        p.setPen(Qt::white);
        p.drawPie(pieRect, start, -span);
        start -= span;
        p.fillRect(QRect(legendX, legendY, 12, 12), c);
        p.setPen(palette().color(QPalette::WindowText));
        const QString name = m_values[i].first.isEmpty() ? tr("(none)") : m_values[i].first;
        p.drawText(QRect(legendX + 18, legendY - 2, width() - legendX - 18, 16), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("%1 (%2)").arg(name).arg(m_values[i].second));
        legendY += 20;
    }
}

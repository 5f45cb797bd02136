#include "calllists/piechart.h"

#include <QFontMetrics>
#include <QPainter>

PieChart::PieChart(QWidget* parent) : QWidget(parent) {
    // Narrow enough that the home panel leaves the customer list room on the smallest screen; the legend's names
    // are shortened to fit.
    setMinimumSize(140, 120);
}

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
    // The legend takes the room its lines need; the pie keeps at least a third of the width, and names that
    // still do not fit are shortened, never their counts.
    const QFontMetrics fm = fontMetrics();
    QStringList names;
    QStringList counts;
    int legendWidth = 0;
    for (const auto& v : m_values) {
        names << (v.first.isEmpty() ? tr("(none)") : v.first);
        counts << QStringLiteral(" (%1)").arg(v.second);
        legendWidth = qMax(legendWidth, fm.horizontalAdvance(names.last() + counts.last()));
    }
    const int pieRoom = qMax(width() / 3, width() - 5 - 12 - 18 - legendWidth - 4);
    const int side = qMax(10, qMin(height() - 10, pieRoom - 10));
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
        const int room = width() - legendX - 18 - 2;
        const QString name = fm.elidedText(names[i], Qt::ElideRight, qMax(0, room - fm.horizontalAdvance(counts[i])));
        p.drawText(QRect(legendX + 18, legendY - 2, room, 16), Qt::AlignLeft | Qt::AlignVCenter, name + counts[i]);
        legendY += 20;
    }
}

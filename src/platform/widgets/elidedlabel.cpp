#include "platform/widgets/elidedlabel.h"

#include <QFontMetricsF>
#include <QHelpEvent>
#include <QPainter>
#include <QStyle>
#include <QTextDocument>
#include <QTextLayout>
#include <QToolTip>
#include <QtMath>
#include <algorithm>

namespace ui {
namespace {

QString oneLine(QString text) {
    for (QChar& c : text)
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator)
            c = QLatin1Char(' ');
    return text;
}

} // namespace

ElidedLabel::ElidedLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setTextFormat(Qt::PlainText);
}

QSize ElidedLabel::minimumSizeHint() const {
    const QMargins m = contentsMargins();
    return {fontMetrics().horizontalAdvance(QStringLiteral("...")) + m.left() + m.right(),
            fontMetrics().height() + m.top() + m.bottom()};
}

QSize ElidedLabel::sizeHint() const {
    const QMargins m = contentsMargins();
    // Whole pixels up: a text measured a fraction wider than its rounded width would be cut at that width.
    const int textWidth = qCeil(QFontMetricsF(font()).horizontalAdvance(oneLine(text())));
    return {textWidth + m.left() + m.right() + 2 * margin(),
            fontMetrics().height() + m.top() + m.bottom() + 2 * margin()};
}

QString ElidedLabel::shownText() const {
    return shown(nullptr);
}

QString ElidedLabel::shown(bool* cut) const {
    if (wordWrap())
        return wrapped(cut);
    const QString whole = oneLine(text());
    const QFontMetrics fm = fontMetrics();
    const int room = contentsRect().width() - 2 * margin();
    QString result = fm.elidedText(whole, Qt::ElideRight, room);
    if (m_keptEnd > 0 && m_keptEnd < whole.size() && fm.horizontalAdvance(whole) > room) {
        const QString end = whole.right(m_keptEnd);
        const int headRoom = room - fm.horizontalAdvance(end);
        if (headRoom >= fm.horizontalAdvance(QChar(0x2026)))
            result = fm.elidedText(whole.left(whole.size() - m_keptEnd), Qt::ElideRight, headRoom) + end;
    }
    if (cut)
        *cut = result != whole;
    return result;
}

QString ElidedLabel::wrapped(bool* cut) const {
    const QString whole = oneLine(text());
    const QRect r = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    const QFontMetrics fm = fontMetrics();
    const int lines = std::max(1, r.height() / fm.lineSpacing());
    QTextLayout layout(whole, font());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList shownLines;
    bool wasCut = false;
    layout.beginLayout();
    for (int i = 0; i < lines; ++i) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(r.width());
        if (i == lines - 1) { // the last line the label holds takes the rest, cut
            const QString rest = whole.mid(line.textStart()).trimmed();
            const QString last = fm.elidedText(rest, Qt::ElideRight, r.width());
            wasCut = last != rest;
            shownLines << last;
        } else {
            shownLines << whole.mid(line.textStart(), line.textLength()).trimmed();
        }
    }
    layout.endLayout();
    if (cut)
        *cut = wasCut;
    return shownLines.join(QLatin1Char('\n'));
}

void ElidedLabel::setKeptEnd(int count) {
    m_keptEnd = count;
    update();
}

bool ElidedLabel::event(QEvent* e) {
    if (e->type() == QEvent::ToolTip && toolTip().isEmpty()) {
        // The whole text, only when it is cut.
        bool cut = false;
        shown(&cut);
        if (cut)
            QToolTip::showText(static_cast<QHelpEvent*>(e)->globalPos(), Qt::convertFromPlainText(text()), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QLabel::event(e);
}

void ElidedLabel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    drawFrame(&p);
    const QRect r = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    style()->drawItemText(&p, r, QStyle::visualAlignment(layoutDirection(), alignment()), palette(), isEnabled(),
                          shownText(), foregroundRole());
}

} // namespace ui

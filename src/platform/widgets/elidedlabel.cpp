#include "platform/widgets/elidedlabel.h"

#include <QHelpEvent>
#include <QPainter>
#include <QStyle>
#include <QTextDocument>
#include <QToolTip>

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
    return {fontMetrics().horizontalAdvance(oneLine(text())) + m.left() + m.right() + 2 * margin(),
            fontMetrics().height() + m.top() + m.bottom() + 2 * margin()};
}

QString ElidedLabel::shownText() const {
    return fontMetrics().elidedText(oneLine(text()), Qt::ElideRight, contentsRect().width() - 2 * margin());
}

bool ElidedLabel::event(QEvent* e) {
    if (e->type() == QEvent::ToolTip && toolTip().isEmpty()) {
        // The whole text, only when it is cut.
        if (shownText() != oneLine(text()))
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

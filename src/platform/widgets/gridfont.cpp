#include "platform/widgets/gridfont.h"

#include <QEvent>
#include <QFont>
#include <QFontMetricsF>
#include <QHeaderView>
#include <QStyle>
#include <QStyleOptionHeader>
#include <QTableView>
#include <algorithm>
#include <cmath>

namespace ui {
namespace {

// What the lists show most: call numbers, dates and times, and names and statuses.
const char* const Numbers = "0123456789 31/12/2024 08:59:30";
const char* const Words = "abcdefghijklmnopqrstuvwxyz ABCDEFGHIJKLMNOPQRSTUVWXYZ";

// Arial's advance widths in thousandths of its size (the Helvetica metrics).
int arialAdvance(char c) {
    static const int lower[26] = {556, 556, 500, 556, 556, 278, 556, 556, 222, 222, 500, 222, 833,
                                  556, 556, 556, 556, 333, 500, 278, 556, 500, 722, 500, 500, 500};
    static const int upper[26] = {667, 667, 722, 722, 667, 611, 778, 722, 278, 500, 667, 556, 833,
                                  722, 778, 667, 778, 722, 667, 611, 722, 667, 944, 667, 667, 611};
    if (c >= '0' && c <= '9')
        return 556;
    if (c >= 'a' && c <= 'z')
        return lower[c - 'a'];
    if (c >= 'A' && c <= 'Z')
        return upper[c - 'A'];
    return 278; // space, "/" and ":"
}

// The sample's width in Arial 10 at 96 dots per inch: 10 points are 40/3 pixels.
double designWidth(const char* sample) {
    int thousandths = 0;
    for (const char* c = sample; *c; ++c)
        thousandths += arialAdvance(*c);
    return thousandths * (40.0 / 3.0) / 1000.0;
}

// Whether a mouse button is down on the header: a section resized meanwhile is the user's doing.
class PressWatch : public QObject {
public:
    explicit PressWatch(QObject* parent) : QObject(parent) {}
    bool pressed = false;

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseButtonDblClick)
            pressed = true;
        else if (e->type() == QEvent::MouseButtonRelease)
            pressed = false; // a header resizes nothing on release
        return false;
    }
};

} // namespace

void watchDraggedSections(QHeaderView* header, std::function<void(int section, int pixels)> dragged) {
    auto* watch = new PressWatch(header);
    header->viewport()->installEventFilter(watch);
    QObject::connect(header, &QHeaderView::sectionResized, watch,
                     [watch, dragged = std::move(dragged)](int section, int, int pixels) {
                         if (watch->pressed && pixels > 0)
                             dragged(section, pixels);
                     });
}

// Qt's headers leave the eliding to the style, which cuts the text instead; the caption is elided here, to the room
// the style gives it in the section being painted (sizes from contents are measured on the whole caption).
void ElidingHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    m_painting = rect;
    QHeaderView::paintSection(painter, rect, logicalIndex);
    m_painting = QRect();
}

void ElidingHeader::initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const {
    QHeaderView::initStyleOptionForIndex(option, logicalIndex);
    if (!m_painting.isValid())
        return;
    QStyleOptionHeader probe(*option);
    probe.rect = m_painting;
    const QRect label = style()->subElementRect(QStyle::SE_HeaderLabel, &probe, this);
    option->text = option->fontMetrics.elidedText(option->text, Qt::ElideRight, label.width());
}

double gridFontScale(const QFont& font) {
    const QFontMetricsF metrics(font);
    double scale = 1.0;
    for (const char* sample : {Numbers, Words})
        scale = std::max(scale, metrics.horizontalAdvance(QString::fromLatin1(sample)) / designWidth(sample));
    return scale;
}

int scaledColumnPixels(int designPixels, double scale, int padding) {
    if (designPixels <= 0 || scale <= 1.0)
        return designPixels;
    const int text = std::max(0, designPixels - padding);
    return designPixels - text + static_cast<int>(std::ceil(text * scale));
}

int cellMargins(const QWidget* view) {
    return 2 * (view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1);
}

int cellPadding(const QTableView* view) {
    return cellMargins(view) + (view->showGrid() ? 1 : 0);
}

} // namespace ui

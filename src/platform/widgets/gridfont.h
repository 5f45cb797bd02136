#pragma once

#include <QHeaderView>
#include <QRect>
#include <functional>

class QFont;
class QTableView;
class QWidget;

namespace ui {

// Column widths are laid out for the lists' standard font, Arial 10 regular. A grid in a larger font widens them
// by as much as that font sets numbers, dates, times and words wider (1 for the standard font or a smaller one).
// Measured against Arial's own advance widths, so the result does not hang on the fonts a machine has.
double gridFontScale(const QFont& font);

// The pixels a column laid out `designPixels` wide shows at this scale: the cell's padding stays as it is, the
// room for the text grows.
int scaledColumnPixels(int designPixels, double scale, int padding);

// The margins on both sides of a cell's text in this view.
int cellMargins(const QWidget* view);
// The room a cell of this view leaves beside its text: the margins on both sides and the grid line.
int cellPadding(const QTableView* view);

// A column's width in twips as laid out (-1: the grid's default), and whether the user chose it (dragged it, or
// it was saved so): such a width is shown as it is, the font does not scale it again.
struct ColumnWidth {
    int twips = -1;
    bool user = false;
};

// Calls `dragged(section, pixels)` when the user drags a section of the header to a new width (or double-clicks
// its edge), not when the program or the header itself resizes it.
void watchDraggedSections(QHeaderView* header, std::function<void(int section, int pixels)> dragged);

// Column headings whose captions, when they do not fit their section, end in "…" rather than being cut off.
class ElidingHeader : public QHeaderView {
public:
    using QHeaderView::QHeaderView;

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    void initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const override;

private:
    mutable QRect m_painting; // the section being painted
};

} // namespace ui

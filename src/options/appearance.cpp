#include "options/appearance.h"

#include "shared/shared.h"

#include <QAbstractItemView>
#include <QPalette>

namespace appearance {

QFont GridFont::font() const {
    QFont f(name);
    f.setBold(bold);
    if (size > 0)
        f.setPointSize(size);
    return f;
}

void GridFont::save() const {
    WriteINI(QStringLiteral("Grid Fonts"), QStringLiteral("Name"), name);
    WriteINI(QStringLiteral("Grid Fonts"), QStringLiteral("Bold"),
             bold ? QStringLiteral("True") : QStringLiteral("False"));
    WriteINI(QStringLiteral("Grid Fonts"), QStringLiteral("Size"), QString::number(size));
    WriteINI(QStringLiteral("Grid Fonts"), QStringLiteral("Colour"), colour);
}

void applyGridFont(QAbstractItemView* grid, const QFont& font, const QColor& colour) {
    if (!grid)
        return;
    grid->setFont(font);
    if (colour.isValid()) {
        QPalette p = grid->palette();
        p.setColor(QPalette::Text, colour);
        grid->setPalette(p);
    }
}

} // namespace appearance

#include "options/appearance.h"

#include "options/optionrules.h"
#include "platform/widgets/menumark.h"
#include "shared/shared.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QPalette>
#include <QTableView>
#include <QVariant>
#include <QWidget>
#include <algorithm>

namespace appearance {

QFont GridFont::font() const {
    QFont f(name);
    f.setBold(bold);
    if (size > 0)
        f.setPointSize(size);
    return f;
}

namespace {

const QString Section = QStringLiteral("Grid Fonts");

} // namespace

void GridFont::hold(qv::HeldSettings& held) const {
    held.remember(Section, QStringLiteral("Name"), name);
    held.remember(Section, QStringLiteral("Bold"), ui::markText(bold));
    held.remember(Section, QStringLiteral("Size"), QString::number(size));
    held.remember(Section, QStringLiteral("Colour"), colour);
}

void GridFont::store(qv::HeldSettings& held) const {
    held.store(Section, QStringLiteral("Name"), name);
    held.store(Section, QStringLiteral("Bold"), ui::markText(bold));
    held.store(Section, QStringLiteral("Size"), QString::number(size));
}

void GridFont::save(qv::HeldSettings& held) const {
    held.write(Section, QStringLiteral("Name"), name);
    held.write(Section, QStringLiteral("Bold"), ui::markText(bold));
    held.write(Section, QStringLiteral("Size"), QString::number(size));
    held.write(Section, QStringLiteral("Colour"), colour);
}

GridFont GridFont::stored() {
    GridFont f;
    f.name = ReadINI(QStringLiteral("Grid Fonts"), QStringLiteral("Name"), f.name);
    f.bold =
        ReadINI(QStringLiteral("Grid Fonts"), QStringLiteral("Bold"), QStringLiteral("False")) == QLatin1String("True");
    f.size = optionrules::gridFontSize(
        ReadINI(QStringLiteral("Grid Fonts"), QStringLiteral("Size"), QString::number(f.size)));
    f.colour = ReadINI(QStringLiteral("Grid Fonts"), QStringLiteral("Colour"), f.colour);
    return f;
}

void applyGridFont(QTableView* grid, const QFont& font, const QColor& colour) {
    if (!grid)
        return;
    grid->setFont(font);
    if (colour.isValid()) {
        QPalette p = grid->palette();
        p.setColor(QPalette::Text, colour);
        grid->setPalette(p);
    }
    // Rows set for a smaller font would cut the text. The height the rows had before a font grew them comes back
    // with a smaller font; a height set since then is the one kept.
    int height = grid->verticalHeader()->defaultSectionSize();
    if (height == grid->property("qvFontRows").toInt() && grid->property("qvOwnRows").isValid())
        height = grid->property("qvOwnRows").toInt();
    fitRows(grid, height, font);
}

void fitRows(QTableView* grid, int height, const QFont& font) {
    const int fitted = std::max(height, QFontMetrics(font).height() + 6);
    grid->setProperty("qvOwnRows", height);
    grid->setProperty("qvFontRows", fitted);
    grid->verticalHeader()->setDefaultSectionSize(fitted);
}

void paint(QWidget* w, const QColor& c, QPalette::ColorRole role) {
    if (!w || !c.isValid())
        return;
    w->setAutoFillBackground(true);
    QPalette p = w->palette();
    p.setColor(role, c);
    if (role == QPalette::Window)
        p.setColor(QPalette::Button, c);
    w->setPalette(p);
}

QPixmap backgroundPicture(const QString& backimagepath) {
    if (backimagepath == QLatin1String("None"))
        return {};
    return QPixmap(backimagepath);
}

} // namespace appearance

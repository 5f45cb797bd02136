#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QPixmap>
#include <QString>

class QTableView;
class QWidget;

namespace qv {
class HeldSettings;
}

namespace appearance {

// [Grid Fonts]: the face, bold, whole points and text colour of the lists.
struct GridFont {
    QString name = QStringLiteral("Arial");
    bool bold = false;
    int size = 10;
    QString colour = QStringLiteral("0"); // colour text

    QFont font() const;
    // Holds the four values as this copy read them.
    void hold(qv::HeldSettings& held) const;
    // Stores what the font dialog chooses ("Name", "Bold", "Size"), only the values that differ from those held:
    // another copy's choice of the others stands.
    void store(qv::HeldSettings& held) const;
    // Writes "Name", "Bold", "Size" and "Colour" in this order, chosen again as a whole (a preset), and holds them.
    void save(qv::HeldSettings& held) const;
    // As stored (a missing key's default written back), the size within the sizes the font dialog offers; every
    // window showing the lists' font reads it so.
    static GridFont stored();
};

// A grid's text in this font and colour; rows grow when the font needs more room than they have (an invalid
// colour leaves the text colour as it was).
void applyGridFont(QTableView* grid, const QFont& font, const QColor& colour);
// Rows of this height in pixels, or higher where the font needs more room; the height is kept as the one to come
// back to when the font gets smaller.
void fitRows(QTableView* grid, int height, const QFont& font);

// A panel-like control in a colour (its buttons too); an invalid colour (a text that is not a number) changes
// nothing.
void paint(QWidget* w, const QColor& c, QPalette::ColorRole role = QPalette::Window);

// The picture a backimagepath names; null for "None" or a file that is no picture.
QPixmap backgroundPicture(const QString& backimagepath);

} // namespace appearance

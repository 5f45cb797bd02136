#include "mainwindow/form1.h"

#include "options/appearance.h"
#include "platform/widgets/colour.h"
#include "platform/widgets/datagrid.h"
#include "platform/widgets/flexgrid.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>

// The appearance commands live in the options window; the main window only takes their results.
void Form1::connectAppearance() {}

void Form1::applyAppearance() {
    const QColor back = ui::vbColour(backcolour);
    const QColor form = ui::vbColour(formcolour);
    const QColor panel = ui::vbColour(panelcolour);
    const QColor mb = ui::vbColour(mbcolour);
    const QColor grid = ui::vbColour(gridcolour);
    for (QWidget* w : {Picture1, Picture2, Picture3})
        appearance::paint(w, back);
    for (QWidget* w : std::initializer_list<QWidget*>{Picture17, Picture7, Frame2, Picture6, Shape1})
        appearance::paint(w, form);
    for (QWidget* w : {Text3, Text4, Text5, Text6})
        appearance::paint(w, form, QPalette::Base);
    for (QWidget* w : {Picture8, Picture10, Picture12, Picture13})
        appearance::paint(w, panel);
    if (panel.isValid())
        datagrid2->setBackColorBkg(panel);
    if (const QPixmap picture = backimage->pixmap(); !picture.isNull()) {
        // The background picture shows behind the home panel's tiles.
        QPalette p = Picture10->palette();
        p.setBrush(QPalette::Window, QBrush(picture));
        Picture10->setPalette(p);
    }
    appearance::paint(Picture4, mb);
    appearance::paint(Picture5, mb);
    if (grid.isValid()) {
        datagrid2->setBackColor(grid);
        appearance::paint(Datagrid1, grid, QPalette::Base);
    }
    if (form.isValid())
        cg1->setBackColor(form);
}

void Form1::setGridFont(const QFont& font, const QColor& colour) {
    appearance::applyGridFont(datagrid2, font, colour);
    appearance::applyGridFont(Datagrid1, font, colour);
}

void Form1::showStoredGridFont(const appearance::GridFont& stored) {
    setGridFont(stored.font(), ui::vbColour(stored.colour));
    stored.hold(m_held);
}

void Form1::storeGridFont(const appearance::GridFont& chosen) {
    chosen.store(m_held);
}

void Form1::saveGridFont(const appearance::GridFont& font) {
    font.save(m_held);
}

void Form1::applyOptions() {
    if (const QPixmap picture = appearance::backgroundPicture(backimagepath); !picture.isNull())
        backimage->setPixmap(picture);
    applyAppearance();
    saver();
    buttoncolours();
    gridformat();
    stats();
}

#include "mainwindow/form1.h"

#include "options/appearance.h"
#include "platform/widgets/datagrid.h"
#include "platform/widgets/flexgrid.h"

// The appearance commands live in the options window; the main window only takes their results.
void Form1::connectAppearance() {}

void Form1::setGridFont(const QFont& font, const QColor& colour) {
    appearance::applyGridFont(datagrid2, font, colour);
    appearance::applyGridFont(Datagrid1, font, colour);
}

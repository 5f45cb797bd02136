#include "shared/gridformat.h"

#include "platform/widgets/colour.h"
#include "platform/widgets/flexgrid.h"

void StripeGrid(ui::FlexGrid& grid, const QString& stripeColour) {
    if (grid.rows() < 2)
        return;
    const QColor stripe = ui::vbColour(stripeColour);
    grid.setRedraw(false);
    const int first = grid.fixedRows();
    const QColor white(Qt::white);
    for (int r = first; r < grid.rows(); ++r) {
        const QColor& colour = (r - first) % 2 ? stripe : white;
        for (int c = grid.fixedCols(); c < grid.cols(); ++c)
            grid.setCellBackColor(r, c, colour);
    }
    grid.setRow(first);
    grid.setCol(grid.fixedCols());
    grid.setRedraw(true);
}

void statuscolours(ui::FlexGrid& grid, const QString& mode, const StatusTable& table, int statusCol) {
    if (mode != QLatin1String("varcolours"))
        return;
    grid.setRedraw(false);
    for (int r = grid.fixedRows(); r < grid.rows(); ++r) {
        const QString status = grid.textMatrix(r, statusCol);
        if (status.isEmpty())
            continue;
        for (const auto& entry : table) {
            if (entry[0].isEmpty() || entry[0] != status)
                continue;
            if (entry[1].isEmpty() || entry[1] == QLatin1String("---"))
                break;
            const QColor colour = ui::vbColour(entry[1]);
            if (colour.isValid())
                for (int c = grid.fixedCols(); c < grid.cols(); ++c)
                    grid.setCellBackColor(r, c, colour);
            break;
        }
    }
    grid.setRedraw(true);
}

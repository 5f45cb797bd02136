#pragma once

#include <QString>
#include <array>

namespace ui {
class FlexGrid;
}

// Striping and status colours of flex grids, shared by the call list and the inventory grid.
using StatusTable = std::array<std::array<QString, 2>, 31>;

// Paints the data cells white, then every second data row from the second one in stripeColour (decimal
// colour text). A grid of fewer than 2 rows is left alone.
void StripeGrid(ui::FlexGrid& grid, const QString& stripeColour);

// With "varcolours" every data row whose status cell (statusCol) equals a status of the table takes that
// status's colour; "" and "---" colours are skipped. Any other mode changes nothing.
void statuscolours(ui::FlexGrid& grid, const QString& mode, const StatusTable& table, int statusCol);

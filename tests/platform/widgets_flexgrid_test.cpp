#include "support/input.h"
#include "support/testenv.h"

#include "platform/db/database.h"
#include "platform/db/datacontrol.h"
#include "platform/db/recordset.h"
#include "platform/db/values.h"
#include "platform/widgets/flexgrid.h"

#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <gtest/gtest.h>

using ui::FlexGrid;

namespace {

// A grid of rows x cols with one fixed row and column, each cell holding "r,c".
void fillNumbered(FlexGrid& g, int rows, int cols) {
    g.setRows(rows);
    g.setCols(cols);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            g.setTextMatrix(r, c, QStringLiteral("%1,%2").arg(r).arg(c));
}

QString shown(const FlexGrid& g, int viewRow, int viewCol) {
    return g.model()->data(g.model()->index(viewRow, viewCol)).toString();
}

} // namespace

TEST(FlexGrid, TextMatrixReachesEveryCellAndTheFixedOnesShowAsHeadings) {
    TestEnv env;
    FlexGrid g;
    fillNumbered(g, 4, 5);
    EXPECT_EQ(g.textMatrix(0, 0), "0,0");
    EXPECT_EQ(g.textMatrix(0, 3), "0,3");
    EXPECT_EQ(g.textMatrix(2, 0), "2,0");
    EXPECT_EQ(g.textMatrix(3, 4), "3,4");
    EXPECT_EQ(g.textMatrix(4, 0), "");
    EXPECT_EQ(g.textMatrix(-1, 2), "");
    // Row 0 heads the columns, column 0 the rows; the view's cells are the non-fixed ones.
    EXPECT_EQ(g.model()->headerData(2, Qt::Horizontal).toString(), "0,3");
    EXPECT_EQ(g.model()->headerData(1, Qt::Vertical).toString(), "2,0");
    EXPECT_EQ(shown(g, 2, 3), "3,4");

    // Without fixed cells row 0 is an ordinary row.
    g.setFixedRows(0);
    g.setFixedCols(0);
    EXPECT_EQ(shown(g, 0, 0), "0,0");
    EXPECT_TRUE(g.horizontalHeader()->isHidden());

    // Shrinking keeps the rows left, growing adds empty ones.
    g.setRows(2);
    g.setRows(3);
    EXPECT_EQ(g.textMatrix(1, 4), "1,4");
    EXPECT_EQ(g.textMatrix(2, 4), "");
    g.setCols(2);
    EXPECT_EQ(g.cols(), 2);
    EXPECT_EQ(g.textMatrix(1, 4), "");
}

TEST(FlexGrid, ColumnWidthsAreTwipsAndZeroHidesAColumnThroughLaterChanges) {
    TestEnv env;
    FlexGrid g;
    g.setFont(QFont("Arial", 10)); // the font the widths are laid out for
    fillNumbered(g, 4, 5);
    g.setColWidth(0, 200);
    g.setColWidth(1, 0);
    g.setColWidth(2, 2200);
    EXPECT_TRUE(g.isColumnHidden(0));
    EXPECT_FALSE(g.isColumnHidden(1));
    EXPECT_EQ(g.QTableView::columnWidth(1), 147); // 2200 / 15, rounded
    EXPECT_EQ(g.colWidth(2), 2200);
    EXPECT_EQ(g.colWidth(1), 0);
    EXPECT_EQ(g.verticalHeader()->width(), 13);

    // The hidden column stays hidden when columns are added and when data is refilled.
    g.setCols(7);
    EXPECT_TRUE(g.isColumnHidden(0));
    g.setColWidth(0, 0);
    EXPECT_TRUE(g.verticalHeader()->isHidden());
    g.setColWidth(1, -1);
    EXPECT_FALSE(g.isColumnHidden(0));
}

// Drags the right edge of a header section by dx pixels, as the user does.
void dragEdge(QHeaderView* h, int section, int dx) {
    QWidget* vp = h->viewport();
    const QPoint from(h->sectionViewportPosition(section) + h->sectionSize(section) - 1, h->height() / 2);
    const QPoint to = from + QPoint(dx, 0);
    QMouseEvent press(QEvent::MouseButtonPress, from, vp->mapToGlobal(from), Qt::LeftButton, Qt::LeftButton, {});
    QMouseEvent move(QEvent::MouseMove, to, vp->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, {});
    QMouseEvent release(QEvent::MouseButtonRelease, to, vp->mapToGlobal(to), Qt::LeftButton, Qt::NoButton, {});
    QApplication::sendEvent(vp, &press);
    QApplication::sendEvent(vp, &move);
    QApplication::sendEvent(vp, &release);
}

TEST(FlexGrid, ColumnsGrowWithTheFontButWidthsTheUserChoseShowAsChosen) {
    TestEnv env;
    FlexGrid g;
    fillNumbered(g, 3, 5);
    g.setFont(QFont("Arial", 10));
    g.setColWidth(1, 1500);
    g.setColWidth(2, 1500);
    g.setUserColWidth(3, 1500);
    g.setColWidth(4, 1500);
    int resized = 0;
    QObject::connect(g.horizontalHeader(), &QHeaderView::sectionResized, [&resized] { ++resized; });
    EXPECT_EQ(g.columnWidth(0), 100);
    QFont big("Arial", 14);
    big.setBold(true);
    g.setFont(big);
    EXPECT_GT(g.columnWidth(0), 140);
    EXPECT_EQ(g.columnWidth(2), 100);
    EXPECT_EQ(g.colWidth(1), 1500); // the layout keeps its twips
    EXPECT_EQ(resized, 0);          // windows hear only of widths the user drags

    dragEdge(g.horizontalHeader(), 1, -20);
    ASSERT_EQ(resized, 1);
    const int dragged = g.columnWidth(1);
    EXPECT_EQ(g.colWidth(2), dragged * 15);
    g.setColWidth(2, dragged * 15); // a window following the drag sets what it heard
    g.setFont(QFont("Arial", 12));
    EXPECT_EQ(g.columnWidth(1), dragged);
    g.setColWidth(4, 0);
    g.setColWidth(4, 1500); // shown again at the width laid out, grown with the font
    EXPECT_GT(g.columnWidth(3), 100);
}

TEST(FlexGrid, GenericSortOrdersDataRowsWithTheirColoursAndLeavesTheHeading) {
    TestEnv env;
    FlexGrid g;
    g.setRows(6);
    g.setCols(3);
    g.setTextMatrix(0, 1, "Heading");
    const QStringList keys = {"10", "banana", "9", "Apple", "100"};
    for (int i = 0; i < keys.size(); ++i) {
        g.setTextMatrix(i + 1, 1, keys[i]);
        g.setTextMatrix(i + 1, 2, "row of " + keys[i]);
    }
    g.setCellBackColor(4, 2, Qt::red); // the "Apple" row

    g.sort(1, FlexGrid::SortGenericAscending);
    QStringList order;
    for (int r = 1; r < 6; ++r)
        order << g.textMatrix(r, 1);
    EXPECT_EQ(order, QStringList({"9", "10", "100", "Apple", "banana"}));
    EXPECT_EQ(g.textMatrix(0, 1), "Heading");
    EXPECT_EQ(g.textMatrix(4, 2), "row of Apple");
    EXPECT_EQ(g.cellBackColor(4, 2), QColor(Qt::red));
    EXPECT_EQ(g.cellBackColor(1, 2), g.backColor());

    g.sort(1, FlexGrid::SortGenericDescending);
    order.clear();
    for (int r = 1; r < 6; ++r)
        order << g.textMatrix(r, 1);
    EXPECT_EQ(order, QStringList({"banana", "Apple", "100", "10", "9"}));
    EXPECT_EQ(g.cellBackColor(2, 2), QColor(Qt::red));
}

TEST(FlexGrid, TenThousandRowsFillWithRedrawOffAndShowOnceItIsBackOn) {
    TestEnv env;
    FlexGrid g;
    g.resize(600, 400);
    g.show();
    g.setCols(12);
    g.setRedraw(false);
    g.setRows(10001);
    for (int r = 1; r <= 10000; ++r)
        for (int c = 1; c < 12; ++c)
            g.setTextMatrix(r, c, QString::number(r * 100 + c));
    g.setRedraw(true);
    EXPECT_EQ(g.model()->rowCount(), 10000);
    EXPECT_EQ(shown(g, 9999, 10), "1000011");
    g.sort(1, FlexGrid::SortGenericDescending);
    EXPECT_EQ(g.textMatrix(1, 1), "1000001");
    EXPECT_EQ(g.textMatrix(10000, 11), "111");
}

TEST(FlexGrid, CellColoursFallBackToTheGridColoursAndClearResetsThem) {
    TestEnv env;
    FlexGrid g;
    fillNumbered(g, 3, 3);
    g.setBackColor(QColor(0xF2, 0xF2, 0xF2));
    g.setBackColorFixed(QColor(0xEF, 0xEF, 0xEF));
    g.setBackColorBkg(Qt::darkGray);
    EXPECT_EQ(g.cellBackColor(1, 1), QColor(0xF2, 0xF2, 0xF2));
    EXPECT_EQ(g.cellBackColor(0, 1), QColor(0xEF, 0xEF, 0xEF));
    g.setCellBackColor(2, 2, Qt::yellow);
    g.setCellForeColor(1, 2, Qt::blue);
    EXPECT_EQ(g.model()->data(g.model()->index(1, 1), Qt::BackgroundRole).value<QBrush>().color(), QColor(Qt::yellow));
    EXPECT_EQ(g.model()->data(g.model()->index(0, 0), Qt::BackgroundRole).value<QBrush>().color(),
              QColor(0xF2, 0xF2, 0xF2));
    EXPECT_EQ(g.model()->data(g.model()->index(0, 1), Qt::ForegroundRole).value<QBrush>().color(), QColor(Qt::blue));
    // The area behind the cells has its own colour.
    EXPECT_EQ(g.viewport()->palette().color(QPalette::Base), QColor(Qt::darkGray));

    g.clear();
    EXPECT_EQ(g.rows(), 3);
    EXPECT_EQ(g.textMatrix(2, 2), "");
    EXPECT_EQ(g.textMatrix(0, 1), "");
    EXPECT_EQ(g.cellBackColor(2, 2), QColor(0xF2, 0xF2, 0xF2));
}

TEST(FlexGrid, BoundGridCopiesEveryRefreshAndEmptiesWithTheControl) {
    TestEnv env;
    const QString path = env.path("grid.qvdb");
    {
        auto d = db::Database::create(path);
        d.execute("CREATE TABLE Inventory (ID COUNTER, Type text(50), Number text(50))");
        d.execute("INSERT INTO Inventory (Type, Number) VALUES ('PC', 'A1')");
        d.execute("INSERT INTO Inventory (Type, Number) VALUES ('Printer', NULL)");
    }
    db::DataControl dc;
    dc.setConnectionString(db::DataControl::connectionStringFor(path));
    dc.setRecordSource("SELECT * from Inventory");
    dc.refresh();

    FlexGrid g;
    g.setColWidth(1, 0);
    g.bind(&dc);
    EXPECT_EQ(g.rows(), 3);
    EXPECT_EQ(g.cols(), 4);
    EXPECT_EQ(g.textMatrix(0, 2), "Type");
    EXPECT_EQ(g.textMatrix(1, 2), "PC");
    EXPECT_EQ(g.textMatrix(2, 3), ""); // Null
    EXPECT_EQ(g.textMatrix(1, 0), "");
    EXPECT_EQ(g.fieldCol("number"), 3);
    EXPECT_TRUE(g.isColumnHidden(0));

    dc.setRecordSource("SELECT Number from Inventory where Type = 'nothing'");
    dc.refresh();
    EXPECT_EQ(g.rows(), 2); // heading and one empty row
    EXPECT_EQ(g.textMatrix(0, 1), "Number");
    EXPECT_EQ(g.textMatrix(1, 1), "");

    g.unbind();
    dc.setRecordSource("SELECT * from Inventory");
    dc.refresh();
    EXPECT_EQ(g.rows(), 2);
}

TEST(FlexGrid, CurrentCellFollowsTheUserAndTheWindowAndReportsMouseCells) {
    TestEnv env;
    FlexGrid g;
    fillNumbered(g, 5, 4);
    g.resize(400, 300);
    g.show();
    int changes = 0;
    QObject::connect(&g, &FlexGrid::rowColChanged, [&] { ++changes; });
    QList<QPoint> clicks;
    QObject::connect(&g, &FlexGrid::clicked, [&](int r, int c) { clicks << QPoint(c, r); });
    QList<Qt::MouseButton> ups;
    QObject::connect(&g, &FlexGrid::mouseUp, [&](Qt::MouseButton b, QPoint) { ups << b; });

    // The window selects row 2 across every column, as a search result.
    g.setRow(2);
    g.setCol(0);
    g.setColSel(3);
    EXPECT_EQ(g.row(), 2);
    EXPECT_EQ(g.rowSel(), 2);
    EXPECT_EQ(g.colSel(), 3);
    EXPECT_EQ(g.selectionModel()->selectedIndexes().size(), 3); // the non-fixed cells of the row
    EXPECT_EQ(changes, 2);

    // The user clicks the cell at row 3, column 2.
    const QRect cell = g.visualRect(g.model()->index(2, 1));
    click(g.viewport(), cell.center());
    EXPECT_EQ(g.row(), 3);
    EXPECT_EQ(g.col(), 2);
    EXPECT_EQ(g.rowSel(), 3);
    ASSERT_EQ(clicks.size(), 1);
    EXPECT_EQ(clicks[0], QPoint(2, 3));
    EXPECT_EQ(g.mouseRow(), 3);

    // A right button released over the heading row reports row 0 and the column under the mouse.
    QHeaderView* top = g.horizontalHeader();
    const int x = top->sectionViewportPosition(2) + 5;
    mouseRelease(top->viewport(), QPoint(x, top->height() / 2), Qt::RightButton);
    EXPECT_EQ(g.mouseRow(), 0);
    EXPECT_EQ(g.mouseCol(), 3);
    EXPECT_EQ(ups.value(ups.size() - 1), Qt::RightButton);
}

TEST(FlexGrid, BoundGridKeepsItsRowsWhileTheRecordsetChangesAndItsCellsStaySettable) {
    TestEnv env;
    const QString path = env.path("grid.qvdb");
    {
        auto d = db::Database::create(path);
        d.execute("CREATE TABLE Inventory (ID COUNTER, Type text(50), Number text(50), Bought DATETIME)");
        d.execute("INSERT INTO Inventory (Type, Number, Bought) VALUES ('PC', 'A1', '2024-03-05')");
        d.execute("INSERT INTO Inventory (Type, Number) VALUES ('Printer', '')");
        d.execute("INSERT INTO Inventory (Type, Number) VALUES ('Monitor', 'C3')");
    }
    db::DataControl dc;
    dc.setConnectionString(db::DataControl::connectionStringFor(path));
    dc.setRecordSource("SELECT * from Inventory ORDER BY ID");
    dc.refresh();
    db::Recordset& rs = *dc.recordset();

    FlexGrid g;
    g.bind(&dc);
    const QString bought = db::displayText(rs.field("Bought"));
    EXPECT_EQ(g.textMatrix(1, 4), bought);
    EXPECT_EQ(g.textMatrix(1, 1), "1");

    // Changes through the recordset reach the database and the recordset; the grid keeps what it was given.
    rs.setField("Type", "Laptop");
    rs.update();
    rs.moveNext();
    rs.deleteCurrent();
    rs.addNew();
    rs.setField("Type", "Phone");
    rs.update();
    EXPECT_EQ(g.rows(), 4);
    EXPECT_EQ(g.textMatrix(1, 2), "PC");
    EXPECT_EQ(g.textMatrix(2, 2), "Printer");
    EXPECT_EQ(g.textMatrix(3, 2), "Monitor");
    ASSERT_EQ(rs.recordCount(), 3);
    EXPECT_EQ(rs.value(0, 1).toString(), "Laptop");
    EXPECT_EQ(rs.value(1, 1).toString(), "Monitor");
    EXPECT_EQ(rs.value(2, 1).toString(), "Phone");
    EXPECT_TRUE(db::isNull(rs.value(2, 2)));
    EXPECT_FALSE(db::isNull(rs.value(0, 3)));

    // A cell set on a bound row leaves the row's other cells; sorting and narrowing keep the texts.
    g.setTextMatrix(2, 3, "B2");
    EXPECT_EQ(g.textMatrix(2, 2), "Printer");
    EXPECT_EQ(g.textMatrix(2, 4), "");
    g.sort(2, FlexGrid::SortGenericDescending);
    EXPECT_EQ(g.textMatrix(1, 2), "Printer");
    EXPECT_EQ(g.textMatrix(1, 3), "B2");
    EXPECT_EQ(g.textMatrix(2, 4), bought);
    EXPECT_EQ(g.textMatrix(3, 2), "Monitor");
    g.setCols(4);
    g.setCols(5);
    EXPECT_EQ(g.textMatrix(2, 3), "A1");
    EXPECT_EQ(g.textMatrix(2, 4), "");

    dc.refresh();
    EXPECT_EQ(g.textMatrix(1, 2), "Laptop");
    EXPECT_EQ(g.rows(), 4);

    // Chosen rows in a chosen order, columns by field; the heading stays and a pending edit shows.
    g.unbind();
    g.setTextMatrix(0, 1, "Kind");
    db::Recordset& now = *dc.recordset();
    now.moveTo(0);
    now.setField("Number", "Z9");
    g.showRows(now, {2, 0}, {-1, 1, -1, 2, 99});
    EXPECT_EQ(g.rows(), 3);
    EXPECT_EQ(g.textMatrix(0, 1), "Kind");
    EXPECT_EQ(g.textMatrix(1, 1), "Phone");
    EXPECT_EQ(g.textMatrix(2, 1), "Laptop");
    EXPECT_EQ(g.textMatrix(2, 3), "Z9");
    EXPECT_EQ(g.textMatrix(2, 2), "");
    EXPECT_EQ(g.textMatrix(2, 4), "");
    now.cancelUpdate();
}

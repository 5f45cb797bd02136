#pragma once

#include "platform/db/datacontrol.h"
#include "platform/widgets/gridfont.h"

#include <QColor>
#include <QPixmap>
#include <QPoint>
#include <QPointer>
#include <QStringList>
#include <QTableView>
#include <vector>

namespace db {
class Recordset;
} // namespace db

namespace ui {

class FlexGridModel;

// A grid of texts addressed by row and column, as the hierarchical flex grid: fixed heading row 0 (shown as the
// horizontal header) and fixed column 0 (shown as the vertical header) when FixedRows / FixedCols are 1, widths
// in twips, cell colours and pictures, generic sorting, and a copy of a data control's rows when bound.
// Every cell, fixed ones included, is reached through textMatrix().
class FlexGrid : public QTableView {
    Q_OBJECT
public:
    static constexpr int SortGenericAscending = 1;
    static constexpr int SortGenericDescending = 2;

    explicit FlexGrid(QWidget* parent = nullptr);
    ~FlexGrid() override;

    int rows() const;
    void setRows(int rows); // never fewer than the fixed rows
    // Takes one data row out with its texts, colours and pictures; the rows below move up. Fixed rows stay.
    void removeItem(int row);
    int cols() const;
    void setCols(int cols); // never fewer than the fixed columns
    int fixedRows() const;
    void setFixedRows(int n); // 0 or 1
    int fixedCols() const;
    void setFixedCols(int n); // 0 or 1

    QString textMatrix(int row, int col) const; // "" outside the grid
    void setTextMatrix(int row, int col, const QString& text);
    // Empties every cell's text, picture and colours; keeps rows, columns and widths.
    void clear();

    // Widths in twips as laid out for the standard grid font; a larger font shows them wider (see gridfont.h).
    int colWidth(int col) const;          // twips: as set, or as the user dragged it
    void setColWidth(int col, int twips); // 0 hides the column, -1 the default width
    // A width the user chose before (saved with the layout): shown as it is, whatever the font.
    void setUserColWidth(int col, int twips);
    int rowHeightMin() const; // twips
    void setRowHeightMin(int twips);

    QColor cellBackColor(int row, int col) const;                  // the colour the cell shows
    void setCellBackColor(int row, int col, const QColor& colour); // invalid: back to the grid's colour
    QColor cellForeColor(int row, int col) const;
    void setCellForeColor(int row, int col, const QColor& colour);
    void setCellPicture(int row, int col, const QPixmap& picture);
    QPixmap cellPicture(int row, int col) const;
    // Every data row's cell of col shows the picture and no text (a column of buttons); a null picture ends it.
    void setColPicture(int col, const QPixmap& picture);

    QColor backColor() const;
    void setBackColor(const QColor& colour); // the non-fixed cells
    QColor backColorBkg() const;
    void setBackColorBkg(const QColor& colour); // the area behind the cells
    QColor backColorFixed() const;
    void setBackColorFixed(const QColor& colour); // the fixed cells

    // Sorts the data rows (below the fixed rows) by the text of col, with their colours and pictures:
    // SortGenericAscending (1) or SortGenericDescending (2); numbers compare as numbers, texts without case.
    void sort(int col, int order);

    // With redrawing off, cell changes are not shown until it is turned on again (quick bulk changes).
    bool redraw() const { return m_redraw; }
    void setRedraw(bool on);

    // The current cell (Row, Col) and the other end of the selection (RowSel, ColSel), in grid rows and
    // columns; setting Row or Col also puts RowSel / ColSel on it.
    int row() const { return m_row; }
    int col() const { return m_col; }
    void setRow(int row);
    void setCol(int col);
    int rowSel() const { return m_rowSel; }
    int colSel() const { return m_colSel; }
    void setRowSel(int row);
    void setColSel(int col);
    // The cell under the mouse at the last mouse event (fixed cells included), -1 outside the cells.
    int mouseRow() const { return m_mouseRow; }
    int mouseCol() const { return m_mouseCol; }
    // The grid cell of a point in the grid's own coordinates (headers included); {-1, -1} outside the cells.
    QPoint cellAt(const QPoint& pos) const;

    // Copies the recordset's rows: field names in the heading row when FixedRows is 1, the rows below it, the
    // fields from column FixedCols on. An empty recordset leaves one empty data row. The recordset's position
    // does not change. A recordset read on demand is not copied: each row is read from it when shown, later
    // changes to its rows show, and a row it removes leaves its grid row empty until removeItem().
    void fillFromRecordset(db::Recordset& rs);
    // Data rows (below the fixed rows) showing the recordset's rows `rows` in that order, grid column c the field
    // fieldOf[c] (-1: empty); the fixed rows, the columns and their widths stay. At least one data row stays.
    // The texts are read from the rows as they are now when shown; later changes to the recordset do not show.
    void showRows(const db::Recordset& rs, const std::vector<int>& rows, const std::vector<int>& fieldOf);
    // Binds to a data control: fills now and again after every refresh (empties on a cleared control).
    void bind(db::DataControl* dc);
    void unbind(); // stops following; the cells stay
    db::DataControl* dataSource() const { return m_source; }
    // The grid column of a field of the last fill, -1 when absent (names without regard to case).
    int fieldCol(const QString& field) const;

signals:
    void clicked(int row, int col);
    void doubleClicked(int row, int col);
    void mouseDown(Qt::MouseButton button, QPoint globalPos);
    void mouseUp(Qt::MouseButton button, QPoint globalPos);
    void keyPressed(int key);
    void rowColChanged();

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    void applyWidths();
    void applyFixedLayout();
    void syncViewFromState();
    void onCurrentChanged(const QModelIndex& current);
    void onSelectionChanged();
    void trackMouse(const QPoint& gridPos);
    bool isDataCell(int row, int col) const;

    FlexGridModel* m_model;
    std::vector<ColumnWidth> m_widths; // per grid column
    int m_rowHeightMin = 0;
    int m_naturalRow = -1, m_naturalRowMin = -1, m_naturalHeading = -1; // pixels, before any minimum was set
    bool m_redraw = true;
    bool m_syncing = false;
    int m_row = 0, m_col = 0, m_rowSel = 0, m_colSel = 0;
    int m_mouseRow = -1, m_mouseCol = -1;
    QColor m_backColorBkg;
    QPointer<db::DataControl> m_source;
    QMetaObject::Connection m_sourceConnection;
    QStringList m_fields;
};

} // namespace ui

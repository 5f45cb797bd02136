#pragma once

#include "platform/db/datacontrol.h"
#include "platform/widgets/gridfont.h"

#include <QPoint>
#include <QPointer>
#include <QStringList>
#include <QTableView>
#include <functional>
#include <map>
#include <vector>

namespace db {
class Recordset;
class RecordsetModel;
} // namespace db

namespace ui {

class DataGridColumns;
class CaptionHeader;

// The data grid: the rows of a data control's recordset, one line per row, its current row the recordset's
// current row both ways. Columns are the recordset's fields in query order, or the fields named by
// setColumnFields(); captions, visibility and widths belong to the column index and survive refreshes.
// Cells are edited in place when updates are allowed (stored at once); Delete removes the current row when
// deletions are allowed.
class DataGrid : public QTableView {
    Q_OBJECT
public:
    explicit DataGrid(QWidget* parent = nullptr);
    ~DataGrid() override;

    void setDataSource(db::DataControl* dc); // nullptr unbinds
    db::DataControl* dataSource() const { return m_source; }
    db::Recordset* recordset() const;

    // Binds the columns to these fields by name; a field the query lacks leaves its column empty.
    // An empty list goes back to one column per field.
    void setColumnFields(const QStringList& fields);
    int columnCount() const;
    QString columnCaption(int i) const; // the caption set, else the field name
    void setColumnCaption(int i, const QString& caption);
    bool columnVisible(int i) const;
    void setColumnVisible(int i, bool visible);
    // Widths in twips as laid out for the standard grid font; a larger font shows them wider (see gridfont.h).
    // These hide QTableView's pixel versions.
    static constexpr int DefaultColumnTwips = 1500; // a column given no width
    int columnWidth(int i) const;                   // as set, or as the user dragged it
    void setColumnWidth(int i, int twips);          // 0 shows the column without width
    // A width the user chose before (saved with the layout): shown as it is, whatever the font.
    void setUserColumnWidth(int i, int twips);
    // How a column takes its width: as set, as wide as its texts and caption, or the room the other columns leave.
    enum class Fit { Width, Contents, Rest };
    void setColumnFit(int i, Fit fit);
    // Columns fitted to their contents grow to texts set since they were measured (a row being added shows
    // values the grid is not told of until it is stored).
    void widenFittedColumns();
    // The text of column i on the current row (db::displayText); "" at BOF/EOF or for a column without field.
    QString columnText(int i) const;

    bool allowUpdate() const { return m_allowUpdate; }
    void setAllowUpdate(bool allow);
    bool allowDelete() const { return m_allowDelete; }
    void setAllowDelete(bool allow);
    int approxCount() const; // the rows of the recordset

    QString caption() const;
    void setCaption(const QString& text); // a title line above the column headings; "" removes it

    // Asked before the user's move (keys or mouse) takes the recordset to another row; false keeps the row.
    void setMoveGuard(std::function<bool()> guard) { m_moveGuard = std::move(guard); }

signals:
    void rowColChange();
    void clicked();
    void mouseUp(Qt::MouseButton button, QPoint globalPos);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    void attach(db::Recordset* rs);
    void applyColumns();
    void applyFit(int i, Fit fit);
    void widenFittedColumns(int firstRow, int firstColumn, int lastColumn);
    void followRecordset(int row);
    void onCurrentChanged(const QModelIndex& current, const QModelIndex& previous);
    void deleteCurrentRow();

    QPointer<db::DataControl> m_source;
    db::RecordsetModel* m_recordsetModel = nullptr;
    DataGridColumns* m_columns;
    CaptionHeader* m_header;
    QMetaObject::Connection m_sourceConnection;
    QMetaObject::Connection m_currentConnection;
    std::vector<ColumnWidth> m_widths;
    std::vector<bool> m_hidden;
    std::map<int, Fit> m_fits;
    bool m_allowUpdate = false;
    bool m_allowDelete = false;
    bool m_syncing = false;
    bool m_structural = false; // rows are being inserted, removed or reset
    std::function<bool()> m_moveGuard;
};

} // namespace ui

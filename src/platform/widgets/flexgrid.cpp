#include "platform/widgets/flexgrid.h"

#include "platform/db/datacontrol.h"
#include "platform/db/recordset.h"
#include "platform/db/values.h"
#include "platform/widgets/screen.h"

#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>
#include <functional>
#include <numeric>

namespace ui {

// The cells of a flex grid. The view sees the non-fixed cells; the fixed row and column are its headers.
class FlexGridModel : public QAbstractTableModel {
public:
    struct Row {
        std::vector<QString> text;
        std::vector<QColor> back; // empty until a cell gets a colour
        std::vector<QColor> fore;
        std::vector<QPixmap> pictures;
        int src = -1; // >= 0: the texts are row src of the bound rows (text stays empty until a cell is set)
    };

    explicit FlexGridModel(QObject* parent) : QAbstractTableModel(parent) {}

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(m_rows.size()) - m_fixedRows;
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : m_cols - m_fixedCols;
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid())
            return {};
        return cellData(index.row() + m_fixedRows, index.column() + m_fixedCols, role, m_back);
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation == Qt::Horizontal) {
            if (m_fixedRows == 0)
                return {};
            return cellData(0, section + m_fixedCols, role, m_backFixed);
        }
        if (m_fixedCols == 0)
            return {};
        return cellData(section + m_fixedRows, 0, role, m_backFixed);
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override {
        return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
    }

    bool inside(int row, int col) const { return row >= 0 && col >= 0 && row < gridRows() && col < m_cols; }
    int gridRows() const { return static_cast<int>(m_rows.size()); }
    int gridCols() const { return m_cols; }
    int fixedRows() const { return m_fixedRows; }
    int fixedCols() const { return m_fixedCols; }

    QString text(int row, int col) const {
        if (isPictureCol(row, col))
            return {};
        const Row& r = m_rows[row];
        if (r.src < 0)
            return r.text[col];
        const int f = col < static_cast<int>(m_srcField.size()) ? m_srcField[col] : -1;
        return f >= 0 ? sourceText(r.src, f) : QString();
    }
    void setText(int row, int col, const QString& text) {
        materialize(m_rows[row]);
        m_rows[row].text[col] = text;
        cellChanged(row, col);
    }

    QColor colour(const std::vector<QColor> Row::*which, int row, int col) const {
        const auto& v = m_rows[row].*which;
        return col < static_cast<int>(v.size()) ? v[col] : QColor();
    }
    void setColour(std::vector<QColor> Row::*which, int row, int col, const QColor& c) {
        auto& v = m_rows[row].*which;
        if (v.empty() && !c.isValid())
            return;
        if (static_cast<int>(v.size()) < m_cols)
            v.resize(m_cols);
        v[col] = c;
        cellChanged(row, col);
    }
    QPixmap picture(int row, int col) const {
        const auto& v = m_rows[row].pictures;
        if (col < static_cast<int>(v.size()) && !v[col].isNull())
            return v[col];
        return isPictureCol(row, col) ? m_colPictures[col] : QPixmap();
    }
    void setColPicture(int col, const QPixmap& p) {
        if (static_cast<int>(m_colPictures.size()) <= col)
            m_colPictures.resize(col + 1);
        m_colPictures[col] = p;
        allChanged();
    }

    // Removes one grid row with its texts, colours and pictures.
    void removeRow(int row) {
        beginRemoveRows({}, row - m_fixedRows, row - m_fixedRows);
        m_rows.erase(m_rows.begin() + row);
        endRemoveRows();
    }
    void setPicture(int row, int col, const QPixmap& p) {
        auto& v = m_rows[row].pictures;
        if (static_cast<int>(v.size()) < m_cols)
            v.resize(m_cols);
        v[col] = p;
        cellChanged(row, col);
    }

    QColor back() const { return m_back; }
    void setBack(const QColor& c) {
        m_back = c;
        allChanged();
    }
    QColor backFixed() const { return m_backFixed; }
    void setBackFixed(const QColor& c) {
        m_backFixed = c;
        allChanged();
    }

    void setQuiet(bool quiet) {
        m_quiet = quiet;
        if (!quiet)
            allChanged();
    }

    void setGridRows(int n) {
        n = std::max(n, m_fixedRows);
        const int old = gridRows();
        if (n == old)
            return;
        if (n > old) {
            beginInsertRows({}, old - m_fixedRows, n - m_fixedRows - 1);
            m_rows.resize(n, emptyRow());
            endInsertRows();
        } else {
            beginRemoveRows({}, n - m_fixedRows, old - m_fixedRows - 1);
            m_rows.resize(n);
            if (m_rows.capacity() > 2 * m_rows.size() + 1024)
                m_rows.shrink_to_fit(); // an emptied grid of many rows gives their memory back
            endRemoveRows();
        }
    }

    void setGridCols(int n) {
        n = std::max(n, m_fixedCols);
        if (n == m_cols)
            return;
        if (static_cast<int>(m_colPictures.size()) > n)
            m_colPictures.resize(n);
        const bool grow = n > m_cols;
        if (grow)
            beginInsertColumns({}, m_cols - m_fixedCols, n - m_fixedCols - 1);
        else
            beginRemoveColumns({}, n - m_fixedCols, m_cols - m_fixedCols - 1);
        if (static_cast<int>(m_srcField.size()) > n)
            m_srcField.resize(n);
        for (Row& r : m_rows) {
            if (r.src < 0)
                r.text.resize(n);
            if (static_cast<int>(r.back.size()) > n)
                r.back.resize(n);
            if (static_cast<int>(r.fore.size()) > n)
                r.fore.resize(n);
            if (static_cast<int>(r.pictures.size()) > n)
                r.pictures.resize(n);
        }
        m_cols = n;
        if (grow)
            endInsertColumns();
        else
            endRemoveColumns();
    }

    void setFixed(int fixedRows, int fixedCols) {
        beginResetModel();
        m_fixedRows = fixedRows;
        m_fixedCols = fixedCols;
        if (gridRows() < m_fixedRows)
            m_rows.resize(m_fixedRows, emptyRow());
        if (m_cols < m_fixedCols) {
            m_cols = m_fixedCols;
            for (Row& r : m_rows)
                if (r.src < 0)
                    r.text.resize(m_cols);
        }
        endResetModel();
    }

    // Replaces every row at once (bulk fills). Rows with a src read the texts of grid column c from field
    // sourceField[c] of source (-1: empty) until a cell of theirs is set.
    void resetRows(std::vector<Row> rows, int cols, std::shared_ptr<const db::RowStore> source = {},
                   std::vector<bool> sourceDates = {}, std::vector<int> sourceField = {},
                   db::Recordset* live = nullptr) {
        beginResetModel();
        m_rows = std::move(rows);
        m_cols = cols;
        if (static_cast<int>(m_colPictures.size()) > cols)
            m_colPictures.resize(cols);
        follow(live);
        m_src = std::move(source);
        m_srcDates = std::move(sourceDates);
        m_srcField = std::move(sourceField);
        endResetModel();
    }

    // Data rows showing rows of source; the fixed rows stay as they are.
    void showRows(const std::vector<int>& rows, std::shared_ptr<const db::RowStore> source,
                  std::vector<bool> sourceDates, std::vector<int> sourceField) {
        std::vector<Row> all(m_fixedRows + std::max<std::size_t>(rows.size(), 1));
        for (int r = 0; r < m_fixedRows; ++r) {
            materialize(m_rows[r]);
            all[r] = std::move(m_rows[r]);
        }
        for (std::size_t i = 0; i < rows.size(); ++i)
            all[m_fixedRows + i].src = rows[i];
        if (rows.empty())
            all.back().text.resize(m_cols);
        sourceField.resize(std::min<std::size_t>(sourceField.size(), m_cols));
        resetRows(std::move(all), m_cols, std::move(source), std::move(sourceDates), std::move(sourceField));
    }

    // Rows with a src read the live rows of an on-demand recordset as the view asks for them, and follow its
    // removed rows.
    void resetLiveRows(std::vector<Row> rows, int cols, db::Recordset& source, std::vector<int> sourceField) {
        resetRows(std::move(rows), cols, {}, {}, std::move(sourceField), &source);
    }

    void clearCells() {
        // Bound rows stay bound to nothing: empty without a text vector each.
        follow(nullptr);
        m_colPictures.clear();
        m_src.reset();
        m_srcField.clear();
        for (Row& r : m_rows) {
            std::fill(r.text.begin(), r.text.end(), QString());
            r.back.clear();
            r.fore.clear();
            r.pictures.clear();
        }
        allChanged();
    }

    void sortDataRows(int col, bool descending) {
        if (col < 0 || col >= m_cols || gridRows() - m_fixedRows < 2)
            return;
        struct Key {
            bool number;
            double value;
            QString text;
        };
        const int first = m_fixedRows;
        const int n = gridRows() - first;
        std::vector<Key> keys(n);
        for (int i = 0; i < n; ++i) {
            const QString t = text(first + i, col);
            bool ok = false;
            const double v = t.trimmed().toDouble(&ok);
            keys[i] = {ok, ok ? v : 0.0, t};
        }
        auto less = [&](int a, int b) {
            const Key& x = keys[a];
            const Key& y = keys[b];
            if (x.number != y.number)
                return x.number; // numbers before texts
            if (x.number)
                return x.value < y.value;
            return QString::compare(x.text, y.text, Qt::CaseInsensitive) < 0;
        };
        std::vector<int> order(n);
        std::iota(order.begin(), order.end(), 0);
        if (descending)
            std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return less(b, a); });
        else
            std::stable_sort(order.begin(), order.end(), less);
        emit layoutAboutToBeChanged();
        std::vector<Row> sorted;
        sorted.reserve(n);
        for (int i : order)
            sorted.push_back(std::move(m_rows[first + i]));
        std::move(sorted.begin(), sorted.end(), m_rows.begin() + first);
        emit layoutChanged();
    }

private:
    bool isPictureCol(int row, int col) const {
        return row >= m_fixedRows && col < static_cast<int>(m_colPictures.size()) && !m_colPictures[col].isNull();
    }

    QString sourceText(int src, int field) const {
        if (m_live)
            return src < m_live->rowCount() ? m_live->text(src, field) : QString();
        return m_src ? m_src->text(src, field, m_srcDates[field]) : QString();
    }

    void follow(db::Recordset* rs) {
        disconnect(m_liveRemoved);
        disconnect(m_liveInserted);
        m_live = rs;
        if (!rs)
            return;
        m_liveRemoved = connect(rs, &db::Recordset::rowRemoved, this, &FlexGridModel::sourceRowRemoved);
        m_liveInserted = connect(rs, &db::Recordset::rowInserted, this, &FlexGridModel::sourceRowInserted);
    }

    // The grid row that showed a removed row keeps empty texts until the grid's own user removes it; the rows
    // after it read one row earlier.
    void sourceRowRemoved(int removed) {
        for (Row& r : m_rows) {
            if (r.src == removed) {
                r.src = -1;
                r.text.assign(m_cols, QString());
            } else if (r.src > removed) {
                --r.src;
            }
        }
        allChanged();
    }

    // A row added to the recordset is not shown; the rows after it read one row later.
    void sourceRowInserted(int inserted) {
        for (Row& r : m_rows)
            if (r.src >= inserted)
                ++r.src;
    }

    Row emptyRow() const {
        Row r;
        r.text.resize(m_cols);
        return r;
    }

    QVariant cellData(int row, int col, int role, const QColor& fallbackBack) const {
        if (!inside(row, col))
            return {};
        switch (role) {
        case Qt::DisplayRole:
            return text(row, col);
        case Qt::BackgroundRole: {
            const QColor c = colour(&Row::back, row, col);
            if (c.isValid())
                return QBrush(c);
            return fallbackBack.isValid() ? QVariant(QBrush(fallbackBack)) : QVariant();
        }
        case Qt::ForegroundRole: {
            const QColor c = colour(&Row::fore, row, col);
            return c.isValid() ? QVariant(QBrush(c)) : QVariant();
        }
        case Qt::DecorationRole: {
            const QPixmap p = picture(row, col);
            return p.isNull() ? QVariant() : QVariant(p);
        }
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
        default:
            return {};
        }
    }

    void materialize(Row& r) const {
        if (r.src < 0)
            return;
        r.text.resize(m_cols);
        for (std::size_t c = 0; c < m_srcField.size(); ++c)
            if (m_srcField[c] >= 0)
                r.text[c] = sourceText(r.src, m_srcField[c]);
        r.src = -1;
    }

    void cellChanged(int row, int col) {
        if (m_quiet)
            return;
        if (row < m_fixedRows)
            emit headerDataChanged(Qt::Horizontal, col - m_fixedCols, col - m_fixedCols);
        if (col < m_fixedCols)
            emit headerDataChanged(Qt::Vertical, row - m_fixedRows, row - m_fixedRows);
        if (row >= m_fixedRows && col >= m_fixedCols) {
            const QModelIndex i = index(row - m_fixedRows, col - m_fixedCols);
            emit dataChanged(i, i);
        }
    }

    void allChanged() {
        if (m_quiet)
            return;
        if (rowCount() > 0 && columnCount() > 0)
            emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
        if (columnCount() > 0)
            emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
        if (rowCount() > 0)
            emit headerDataChanged(Qt::Vertical, 0, rowCount() - 1);
    }

    std::vector<Row> m_rows;
    std::shared_ptr<const db::RowStore> m_src;
    QPointer<db::Recordset> m_live; // read on demand instead of m_src
    QMetaObject::Connection m_liveRemoved;
    QMetaObject::Connection m_liveInserted;
    std::vector<QPixmap> m_colPictures; // per grid column: every data row shows it, without text
    std::vector<bool> m_srcDates;
    std::vector<int> m_srcField; // per grid column
    int m_cols = 0;
    int m_fixedRows = 0;
    int m_fixedCols = 0;
    QColor m_back;
    QColor m_backFixed;
    bool m_quiet = false;
};

namespace {

constexpr int DefaultColTwips = 960; // the control's default column width

// A header that reports its mouse presses and releases to the grid, after handling them itself, so that the
// fixed row and column answer the mouse as the other cells do.
class FlexHeader : public ElidingHeader {
public:
    using Report = std::function<void(QHeaderView* self, QMouseEvent*, bool press)>;
    FlexHeader(Qt::Orientation orientation, QWidget* parent, Report report)
        : ElidingHeader(orientation, parent), m_report(std::move(report)) {
        setSectionsClickable(true);
        setHighlightSections(false);
        setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }

protected:
    void mousePressEvent(QMouseEvent* e) override {
        ElidingHeader::mousePressEvent(e);
        m_report(this, e, true);
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        ElidingHeader::mouseReleaseEvent(e);
        m_report(this, e, false);
    }

private:
    Report m_report;
};

} // namespace

FlexGrid::FlexGrid(QWidget* parent) : QTableView(parent), m_model(new FlexGridModel(this)) {
    setModel(m_model);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setCornerButtonEnabled(false);
    setWordWrap(false); // the control's default; windows turn it on
    auto report = [this](QHeaderView* header, QMouseEvent* e, bool press) {
        trackMouse(header->viewport()->mapTo(this, e->position().toPoint()));
        if (press)
            emit mouseDown(e->button(), e->globalPosition().toPoint());
        else
            emit mouseUp(e->button(), e->globalPosition().toPoint());
    };
    setHorizontalHeader(new FlexHeader(Qt::Horizontal, this, report));
    setVerticalHeader(new FlexHeader(Qt::Vertical, this, report));
    horizontalHeader()->setDefaultSectionSize(twipsToPixels(DefaultColTwips));
    watchDraggedSections(horizontalHeader(), [this](int section, int pixels) {
        const std::size_t c = static_cast<std::size_t>(section + fixedCols());
        if (c < m_widths.size())
            m_widths[c] = {pixelsToTwips(pixels), true};
    });
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);

    m_model->setBack(palette().color(QPalette::Base));
    m_model->setBackFixed(palette().color(QPalette::Button));
    m_backColorBkg = palette().color(QPalette::Base);

    // The control starts with two rows and two columns, one of each fixed.
    m_model->setFixed(1, 1);
    m_model->setGridCols(2);
    m_model->setGridRows(2);
    m_row = m_rowSel = 1;
    m_col = m_colSel = 1;
    m_widths.assign(2, {});
    applyFixedLayout();

    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { onCurrentChanged(current); });
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { onSelectionChanged(); });
    connect(this, &QAbstractItemView::clicked, this, [this](const QModelIndex& i) {
        emit clicked(i.row() + m_model->fixedRows(), i.column() + m_model->fixedCols());
    });
    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& i) {
        emit doubleClicked(i.row() + m_model->fixedRows(), i.column() + m_model->fixedCols());
    });
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int section) { emit clicked(0, section + m_model->fixedCols()); });
    connect(verticalHeader(), &QHeaderView::sectionClicked, this,
            [this](int section) { emit clicked(section + m_model->fixedRows(), 0); });
}

FlexGrid::~FlexGrid() = default;

int FlexGrid::rows() const {
    return m_model->gridRows();
}
int FlexGrid::cols() const {
    return m_model->gridCols();
}
int FlexGrid::fixedRows() const {
    return m_model->fixedRows();
}
int FlexGrid::fixedCols() const {
    return m_model->fixedCols();
}

void FlexGrid::setRows(int rows) {
    m_model->setGridRows(rows);
    const int last = m_model->gridRows() - 1;
    if (m_row > last || m_rowSel > last) {
        m_row = std::min(m_row, last);
        m_rowSel = std::min(m_rowSel, last);
        syncViewFromState();
    }
}

void FlexGrid::removeItem(int row) {
    if (row < fixedRows() || row >= rows())
        return;
    m_model->removeRow(row);
    const int last = m_model->gridRows() - 1;
    m_row = std::min(m_row, last);
    m_rowSel = std::min(m_rowSel, last);
    syncViewFromState();
}

void FlexGrid::setCols(int cols) {
    m_model->setGridCols(cols);
    m_widths.resize(m_model->gridCols());
    const int last = m_model->gridCols() - 1;
    if (m_col > last || m_colSel > last) {
        m_col = std::min(m_col, last);
        m_colSel = std::min(m_colSel, last);
        syncViewFromState();
    }
    applyWidths();
}

void FlexGrid::setFixedRows(int n) {
    n = std::clamp(n, 0, 1);
    if (n == fixedRows())
        return;
    m_model->setFixed(n, fixedCols());
    applyFixedLayout();
}

void FlexGrid::setFixedCols(int n) {
    n = std::clamp(n, 0, 1);
    if (n == fixedCols())
        return;
    m_model->setFixed(fixedRows(), n);
    m_widths.resize(m_model->gridCols());
    applyFixedLayout();
}

void FlexGrid::applyFixedLayout() {
    horizontalHeader()->setVisible(fixedRows() > 0);
    applyWidths();
    syncViewFromState();
}

QString FlexGrid::textMatrix(int row, int col) const {
    return m_model->inside(row, col) ? m_model->text(row, col) : QString();
}

void FlexGrid::setTextMatrix(int row, int col, const QString& text) {
    if (m_model->inside(row, col))
        m_model->setText(row, col, text);
}

void FlexGrid::clear() {
    m_model->clearCells();
}

int FlexGrid::colWidth(int col) const {
    if (col < 0 || col >= static_cast<int>(m_widths.size()))
        return 0;
    return m_widths[col].twips >= 0 ? m_widths[col].twips : DefaultColTwips;
}

void FlexGrid::setColWidth(int col, int twips) {
    if (col < 0 || col >= cols())
        return;
    twips = twips < 0 ? -1 : twips;
    // Set again to the width the user chose, the column keeps it as chosen.
    if (!m_widths[col].user || m_widths[col].twips != twips)
        m_widths[col] = {twips, false};
    applyWidths();
}

void FlexGrid::setUserColWidth(int col, int twips) {
    if (col < 0 || col >= cols())
        return;
    m_widths[col] = {twips < 0 ? -1 : twips, twips > 0};
    applyWidths();
}

void FlexGrid::applyWidths() {
    const double scale = gridFontScale(font());
    const int padding = cellPadding(this);
    auto shown = [&](const ColumnWidth& w) {
        const int pixels = twipsToPixels(w.twips > 0 ? w.twips : DefaultColTwips);
        return w.user ? pixels : scaledColumnPixels(pixels, scale, padding);
    };
    // Windows hear of the widths the user drags from the header; the ones set here are not such news.
    const QSignalBlocker quiet(horizontalHeader());
    const int fc = fixedCols();
    if (fc > 0) {
        const ColumnWidth w = m_widths.empty() ? ColumnWidth{} : m_widths[0];
        verticalHeader()->setVisible(w.twips != 0);
        verticalHeader()->setFixedWidth(shown(w));
    } else {
        verticalHeader()->setVisible(false);
    }
    for (int c = fc; c < cols(); ++c) {
        const int v = c - fc;
        const ColumnWidth& w = m_widths[c];
        setColumnHidden(v, w.twips == 0);
        if (w.twips != 0)
            setColumnWidth(v, shown(w));
    }
    updateGeometries();
    viewport()->update();
}

int FlexGrid::rowHeightMin() const {
    return m_rowHeightMin;
}

void FlexGrid::setRowHeightMin(int twips) {
    m_rowHeightMin = std::max(0, twips);
    const int px = twipsToPixels(m_rowHeightMin);
    QHeaderView* v = verticalHeader();
    QHeaderView* h = horizontalHeader();
    // Measured before the first change, so that a lower minimum later gives the rows their own height back.
    if (m_naturalRow < 0) {
        m_naturalRow = v->defaultSectionSize();
        m_naturalRowMin = v->minimumSectionSize();
        m_naturalHeading = h->minimumHeight();
    }
    v->setMinimumSectionSize(m_naturalRowMin);
    v->setDefaultSectionSize(std::max(m_naturalRow, px));
    v->setMinimumSectionSize(std::max(m_naturalRowMin, px));
    h->setMinimumHeight(std::max(m_naturalHeading, px));
}

QColor FlexGrid::cellBackColor(int row, int col) const {
    if (!m_model->inside(row, col))
        return {};
    const QColor c = m_model->colour(&FlexGridModel::Row::back, row, col);
    if (c.isValid())
        return c;
    return (row < fixedRows() || col < fixedCols()) ? m_model->backFixed() : m_model->back();
}

void FlexGrid::setCellBackColor(int row, int col, const QColor& colour) {
    if (m_model->inside(row, col))
        m_model->setColour(&FlexGridModel::Row::back, row, col, colour);
}

QColor FlexGrid::cellForeColor(int row, int col) const {
    if (!m_model->inside(row, col))
        return {};
    const QColor c = m_model->colour(&FlexGridModel::Row::fore, row, col);
    return c.isValid() ? c : palette().color(QPalette::Text);
}

void FlexGrid::setCellForeColor(int row, int col, const QColor& colour) {
    if (m_model->inside(row, col))
        m_model->setColour(&FlexGridModel::Row::fore, row, col, colour);
}

void FlexGrid::setCellPicture(int row, int col, const QPixmap& picture) {
    if (m_model->inside(row, col))
        m_model->setPicture(row, col, picture);
}

void FlexGrid::setColPicture(int col, const QPixmap& picture) {
    if (col >= 0 && col < cols())
        m_model->setColPicture(col, picture);
}

QPixmap FlexGrid::cellPicture(int row, int col) const {
    return m_model->inside(row, col) ? m_model->picture(row, col) : QPixmap();
}

QColor FlexGrid::backColor() const {
    return m_model->back();
}
void FlexGrid::setBackColor(const QColor& colour) {
    m_model->setBack(colour);
}
QColor FlexGrid::backColorBkg() const {
    return m_backColorBkg;
}

void FlexGrid::setBackColorBkg(const QColor& colour) {
    // The view's base shows wherever no cell is; every cell paints its own colour over it.
    m_backColorBkg = colour;
    QPalette p = viewport()->palette();
    p.setColor(QPalette::Base, colour);
    viewport()->setPalette(p);
}

QColor FlexGrid::backColorFixed() const {
    return m_model->backFixed();
}
void FlexGrid::setBackColorFixed(const QColor& colour) {
    m_model->setBackFixed(colour);
}

void FlexGrid::sort(int col, int order) {
    if (order != SortGenericAscending && order != SortGenericDescending)
        return;
    m_model->sortDataRows(col, order == SortGenericDescending);
}

void FlexGrid::setRedraw(bool on) {
    if (on == m_redraw)
        return;
    m_redraw = on;
    m_model->setQuiet(!on);
    setUpdatesEnabled(on);
}

bool FlexGrid::isDataCell(int row, int col) const {
    return row >= fixedRows() && col >= fixedCols() && row < rows() && col < cols();
}

void FlexGrid::setRow(int row) {
    if (row < 0 || row >= rows())
        return;
    const bool changed = row != m_row;
    m_row = m_rowSel = row;
    m_colSel = m_col;
    syncViewFromState();
    if (changed)
        emit rowColChanged();
}

void FlexGrid::setCol(int col) {
    if (col < 0 || col >= cols())
        return;
    const bool changed = col != m_col;
    m_col = m_colSel = col;
    m_rowSel = m_row;
    syncViewFromState();
    if (changed)
        emit rowColChanged();
}

void FlexGrid::setRowSel(int row) {
    if (row < 0 || row >= rows())
        return;
    m_rowSel = row;
    syncViewFromState();
}

void FlexGrid::setColSel(int col) {
    if (col < 0 || col >= cols())
        return;
    m_colSel = col;
    syncViewFromState();
}

// Shows Row/Col/RowSel/ColSel in the view, as far as they fall on non-fixed cells.
void FlexGrid::syncViewFromState() {
    QItemSelectionModel* sm = selectionModel();
    if (!sm)
        return;
    m_syncing = true;
    const int fr = fixedRows();
    const int fc = fixedCols();
    const int lastRow = rows() - 1;
    const int lastCol = cols() - 1;
    if (lastRow < fr || lastCol < fc) {
        sm->clear();
        m_syncing = false;
        return;
    }
    const int r = std::clamp(m_row, fr, lastRow) - fr;
    const int c = std::clamp(m_col, fc, lastCol) - fc;
    const int rs = std::clamp(m_rowSel, fr, lastRow) - fr;
    const int cs = std::clamp(m_colSel, fc, lastCol) - fc;
    const QModelIndex current = m_model->index(r, c);
    if (isDataCell(m_row, m_col))
        sm->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
    if ((m_row < fr && m_rowSel < fr) || (m_col < fc && m_colSel < fc)) {
        sm->clearSelection(); // only fixed cells are selected
        m_syncing = false;
        return;
    }
    const QItemSelection range(m_model->index(std::min(r, rs), std::min(c, cs)),
                               m_model->index(std::max(r, rs), std::max(c, cs)));
    sm->select(range, QItemSelectionModel::ClearAndSelect);
    m_syncing = false;
}

void FlexGrid::onCurrentChanged(const QModelIndex& current) {
    if (m_syncing || !current.isValid())
        return;
    const int r = current.row() + fixedRows();
    const int c = current.column() + fixedCols();
    const bool changed = r != m_row || c != m_col;
    m_row = m_rowSel = r;
    m_col = m_colSel = c;
    if (changed)
        emit rowColChanged();
}

void FlexGrid::onSelectionChanged() {
    if (m_syncing)
        return;
    const QModelIndex current = selectionModel()->currentIndex();
    if (!current.isValid())
        return;
    for (const QItemSelectionRange& range : selectionModel()->selection()) {
        if (!range.contains(current))
            continue;
        const int fr = fixedRows();
        const int fc = fixedCols();
        m_rowSel = (range.top() == current.row() ? range.bottom() : range.top()) + fr;
        m_colSel = (range.left() == current.column() ? range.right() : range.left()) + fc;
        return;
    }
}

QPoint FlexGrid::cellAt(const QPoint& pos) const {
    const QPoint vp = viewport()->mapFrom(this, pos);
    const QHeaderView* h = horizontalHeader();
    const QHeaderView* v = verticalHeader();
    const bool inHeaderRow = h->isVisible() && vp.y() < 0 && vp.y() >= -h->height();
    const bool inHeaderCol = v->isVisible() && vp.x() < 0 && vp.x() >= -v->width();
    int r = -1;
    int c = -1;
    if (inHeaderRow)
        r = 0;
    else if (vp.y() >= 0) {
        const int vr = rowAt(vp.y());
        if (vr >= 0)
            r = vr + fixedRows();
    }
    if (inHeaderCol)
        c = 0;
    else if (vp.x() >= 0) {
        const int vc = columnAt(vp.x());
        if (vc >= 0)
            c = vc + fixedCols();
    }
    if (r < 0 || c < 0)
        return {-1, -1};
    return {c, r};
}

void FlexGrid::trackMouse(const QPoint& gridPos) {
    const QPoint cell = cellAt(gridPos);
    m_mouseRow = cell.y();
    m_mouseCol = cell.x();
}

void FlexGrid::mousePressEvent(QMouseEvent* e) {
    trackMouse(viewport()->mapTo(this, e->position().toPoint()));
    QTableView::mousePressEvent(e);
    emit mouseDown(e->button(), e->globalPosition().toPoint());
}

void FlexGrid::mouseReleaseEvent(QMouseEvent* e) {
    trackMouse(viewport()->mapTo(this, e->position().toPoint()));
    QTableView::mouseReleaseEvent(e);
    emit mouseUp(e->button(), e->globalPosition().toPoint());
}

void FlexGrid::mouseDoubleClickEvent(QMouseEvent* e) {
    trackMouse(viewport()->mapTo(this, e->position().toPoint()));
    QTableView::mouseDoubleClickEvent(e);
}

void FlexGrid::keyPressEvent(QKeyEvent* e) {
    emit keyPressed(e->key());
    QTableView::keyPressEvent(e);
}

void FlexGrid::changeEvent(QEvent* e) {
    QTableView::changeEvent(e);
    if (e->type() == QEvent::FontChange || e->type() == QEvent::StyleChange)
        applyWidths();
}

namespace {

// Which fields' stored texts read as dates, for the rows a grid shows from the store.
std::vector<bool> dateFields(const db::Recordset& rs) {
    std::vector<bool> dates(rs.fieldCount());
    for (int f = 0; f < rs.fieldCount(); ++f)
        dates[f] = rs.isDateField(f);
    return dates;
}

} // namespace

void FlexGrid::fillFromRecordset(db::Recordset& rs) {
    const int fr = fixedRows();
    const int fc = fixedCols();
    const int fields = rs.fieldCount();
    const int records = rs.rowCount();
    const int cols = fc + fields;
    // The data rows read their texts from the recordset's rows when shown; only the heading is copied.
    std::vector<FlexGridModel::Row> rows(fr + std::max(records, 1));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r)
        if (r < fr || r - fr >= records)
            rows[r].text.resize(cols);
        else
            rows[r].src = r - fr;
    m_fields.clear();
    for (int f = 0; f < fields; ++f) {
        m_fields << rs.fieldName(f);
        if (fr > 0)
            rows[0].text[fc + f] = rs.fieldName(f);
    }
    // A row being edited shows its pending values.
    if (rs.editMode() != db::Recordset::EditMode::None && rs.absolutePosition() >= 0 &&
        rs.absolutePosition() < records) {
        auto& row = rows[fr + rs.absolutePosition()];
        row.src = -1;
        row.text.resize(cols);
        for (int f = 0; f < fields; ++f)
            row.text[fc + f] = rs.text(rs.absolutePosition(), f);
    }
    std::vector<int> fieldOf(cols, -1);
    std::iota(fieldOf.begin() + fc, fieldOf.end(), 0);
    // Read on demand, the grid reads each row from the recordset when shown rather than copying every row.
    if (rs.isOnDemand())
        m_model->resetLiveRows(std::move(rows), std::max(cols, fc), rs, std::move(fieldOf));
    else
        m_model->resetRows(std::move(rows), std::max(cols, fc), rs.rows(), dateFields(rs), std::move(fieldOf));
    m_widths.resize(this->cols());
    m_row = m_rowSel = fr;
    m_col = m_colSel = std::min(fc, this->cols() - 1);
    applyWidths();
    syncViewFromState();
}

void FlexGrid::showRows(const db::Recordset& rs, const std::vector<int>& rows, const std::vector<int>& fieldOf) {
    std::vector<int> fields(fieldOf);
    for (int& f : fields)
        if (f >= rs.fieldCount())
            f = -1;
    m_model->showRows(rows, rs.rows(), dateFields(rs), std::move(fields));
    // A row being edited shows its pending values.
    if (rs.editMode() != db::Recordset::EditMode::None)
        for (std::size_t i = 0; i < rows.size(); ++i)
            if (rows[i] == rs.absolutePosition())
                for (int c = 0; c < static_cast<int>(fieldOf.size()) && c < cols(); ++c)
                    if (fieldOf[c] >= 0 && fieldOf[c] < rs.fieldCount())
                        m_model->setText(fixedRows() + static_cast<int>(i), c, rs.text(rows[i], fieldOf[c]));
    const int last = m_model->gridRows() - 1;
    m_row = std::min(m_row, last);
    m_rowSel = std::min(m_rowSel, last);
    syncViewFromState();
}

void FlexGrid::bind(db::DataControl* dc) {
    unbind();
    m_source = dc;
    if (!dc)
        return;
    auto refill = [this](db::Recordset* rs) {
        if (rs) {
            fillFromRecordset(*rs);
        } else {
            m_fields.clear();
            setRows(fixedRows() + 1);
            clear();
        }
    };
    m_sourceConnection = connect(dc, &db::DataControl::recordsetChanged, this, refill);
    refill(dc->recordset());
}

void FlexGrid::unbind() {
    disconnect(m_sourceConnection);
    m_source = nullptr;
}

int FlexGrid::fieldCol(const QString& field) const {
    const int i = m_fields.indexOf(field, 0); // exact first, then without regard to case
    if (i >= 0)
        return i + fixedCols();
    for (int f = 0; f < m_fields.size(); ++f)
        if (m_fields.at(f).compare(field, Qt::CaseInsensitive) == 0)
            return f + fixedCols();
    return -1;
}

} // namespace ui

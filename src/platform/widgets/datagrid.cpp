#include "platform/widgets/datagrid.h"

#include "platform/db/dberror.h"
#include "platform/db/recordset.h"
#include "platform/db/recordsetmodel.h"
#include "platform/db/values.h"
#include "platform/widgets/cuttext.h"
#include "platform/widgets/dialogs.h"
#include "platform/widgets/screen.h"

#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStyledItemDelegate>

namespace ui {

// The grid's columns over the recordset model: one per field, or one per named field.
class DataGridColumns : public QAbstractTableModel {
public:
    explicit DataGridColumns(QObject* parent) : QAbstractTableModel(parent) {}

    void setSource(db::RecordsetModel* src) {
        beginResetModel();
        if (m_src)
            disconnect(m_src, nullptr, this, nullptr);
        m_src = src;
        remap();
        if (m_src) {
            connect(m_src, &QAbstractItemModel::modelAboutToBeReset, this, [this] { beginResetModel(); });
            connect(m_src, &QAbstractItemModel::modelReset, this, [this] {
                remap();
                endResetModel();
            });
            connect(m_src, &QAbstractItemModel::rowsAboutToBeInserted, this,
                    [this](const QModelIndex&, int first, int last) { beginInsertRows({}, first, last); });
            connect(m_src, &QAbstractItemModel::rowsInserted, this, [this] { endInsertRows(); });
            connect(m_src, &QAbstractItemModel::rowsAboutToBeRemoved, this,
                    [this](const QModelIndex&, int first, int last) { beginRemoveRows({}, first, last); });
            connect(m_src, &QAbstractItemModel::rowsRemoved, this, [this] { endRemoveRows(); });
            connect(m_src, &QAbstractItemModel::dataChanged, this,
                    [this](const QModelIndex& tl, const QModelIndex& br) {
                        if (columnCount() > 0)
                            emit dataChanged(index(tl.row(), 0), index(br.row(), columnCount() - 1));
                    });
        }
        endResetModel();
    }

    void setFields(const QStringList& fields) {
        beginResetModel();
        m_fields = fields;
        remap();
        endResetModel();
    }

    db::Recordset* recordset() const { return m_src ? m_src->recordset() : nullptr; }
    db::RecordsetModel* source() const { return m_src; }

    // The recordset field of a column, -1 for none.
    int sourceColumn(int col) const {
        if (col < 0 || col >= static_cast<int>(m_map.size()))
            return -1;
        return m_map[col];
    }

    QString fieldName(int col) const {
        if (!m_fields.isEmpty())
            return col < m_fields.size() ? m_fields.at(col) : QString();
        db::Recordset* rs = recordset();
        return rs && col < rs->fieldCount() ? rs->fieldName(col) : QString();
    }

    QString caption(int col) const {
        if (col < m_captions.size() && !m_captions.at(col).isNull())
            return m_captions.at(col);
        return fieldName(col);
    }
    void setCaption(int col, const QString& caption) {
        if (col < 0)
            return;
        while (m_captions.size() <= col)
            m_captions << QString();
        m_captions[col] = caption;
        if (col < columnCount())
            emit headerDataChanged(Qt::Horizontal, col, col);
    }

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() || !m_src ? 0 : m_src->rowCount();
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(m_map.size());
    }

    QVariant data(const QModelIndex& index, int role) const override {
        const int sc = sourceColumn(index.column());
        if (!m_src || sc < 0)
            return (role == Qt::DisplayRole || role == Qt::EditRole) ? QVariant(QString()) : QVariant();
        return m_src->data(m_src->index(index.row(), sc), role);
    }

    // Stores the cell at once; a value the database refuses is reported, as the control does, not dropped quietly.
    bool setData(const QModelIndex& index, const QVariant& value, int role) override {
        const int sc = sourceColumn(index.column());
        db::Recordset* rs = recordset();
        if (!rs || sc < 0 || role != Qt::EditRole || !m_src->allowUpdate())
            return false;
        const QVariant before = rs->value(index.row(), sc);
        try {
            rs->setValue(index.row(), sc, value);
        } catch (const db::DbError& e) {
            // A value the database refuses goes; a row that could not be stored for any other reason (file
            // missing, read-only, busy) keeps what was typed, so that a later save stores it.
            if (e.isConstraint() && rs->editMode() == db::Recordset::EditMode::Edit)
                rs->cancelUpdate();
            else if (e.isConstraint() && rs->editMode() == db::Recordset::EditMode::Add)
                rs->setField(sc, before);
            MsgBox(e.message());
            emit dataChanged(this->index(index.row(), 0), this->index(index.row(), columnCount() - 1));
            return false;
        }
        emit dataChanged(this->index(index.row(), 0), this->index(index.row(), columnCount() - 1));
        return true;
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override {
        const int sc = sourceColumn(index.column());
        if (!m_src || sc < 0)
            return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
        return m_src->flags(m_src->index(index.row(), sc));
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
            return caption(section);
        return QAbstractTableModel::headerData(section, orientation, role);
    }

private:
    void remap() {
        m_map.clear();
        db::Recordset* rs = recordset();
        if (!m_fields.isEmpty()) {
            for (const QString& f : m_fields)
                m_map.push_back(rs ? rs->fieldIndex(f) : -1);
        } else if (rs) {
            for (int i = 0; i < rs->fieldCount(); ++i)
                m_map.push_back(i);
        }
    }

    QPointer<db::RecordsetModel> m_src;
    QStringList m_fields;
    QStringList m_captions;
    std::vector<int> m_map;
};

// The column headings with the grid's caption as a title line above them.
class CaptionHeader : public ElidingHeader {
public:
    explicit CaptionHeader(QWidget* parent) : ElidingHeader(Qt::Horizontal, parent), m_label(new QLabel(this)) {
        setSectionsClickable(true);
        setHighlightSections(false);
        m_label->setTextFormat(Qt::PlainText);
        m_label->setAlignment(Qt::AlignCenter);
        m_label->setAutoFillBackground(true);
        m_label->hide();
    }

    QString caption() const { return m_label->text(); }
    void setCaption(const QString& text) {
        m_label->setText(text);
        m_label->setVisible(!text.isEmpty());
        setViewportMargins(0, captionHeight(), 0, 0);
        placeLabel();
        updateGeometry();
    }

    QSize sizeHint() const override {
        QSize s = ElidingHeader::sizeHint();
        s.rheight() += captionHeight();
        return s;
    }

protected:
    void resizeEvent(QResizeEvent* e) override {
        ElidingHeader::resizeEvent(e);
        placeLabel();
    }

private:
    int captionHeight() const { return m_label->text().isEmpty() ? 0 : m_label->sizeHint().height() + 4; }
    void placeLabel() { m_label->setGeometry(0, 0, width(), captionHeight()); }

    QLabel* m_label;
};

namespace {

// A cell opened for editing selects its whole text as usual, but with the cursor at the start, so a long text
// shows its beginning rather than its end. Like a bound box it takes no more than its field holds, so what is
// typed or pasted is what is stored, not refused at the end with the typing gone.
class StartShowingDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
            selectAllFromStartWhenShown(edit);
            const auto* columns = dynamic_cast<const DataGridColumns*>(index.model());
            if (const db::Recordset* rs = columns ? columns->recordset() : nullptr)
                limitLength(edit, rs->fieldSize(columns->sourceColumn(index.column())));
        }
        return editor;
    }
};

} // namespace

DataGrid::DataGrid(QWidget* parent)
    : QTableView(parent), m_columns(new DataGridColumns(this)), m_header(new CaptionHeader(this)) {
    // While rows come and go the view moves its current row by itself: the recordset decides instead. Connected
    // before the view takes the model, so that these run ahead of the selection model's own handling.
    auto structuralStart = [this] { m_structural = true; };
    auto structuralEnd = [this] {
        m_structural = false;
        if (db::Recordset* rs = recordset())
            followRecordset(rs->absolutePosition());
    };
    connect(m_columns, &QAbstractItemModel::rowsAboutToBeRemoved, this, structuralStart);
    connect(m_columns, &QAbstractItemModel::rowsAboutToBeInserted, this, structuralStart);
    connect(m_columns, &QAbstractItemModel::modelAboutToBeReset, this, structuralStart);
    connect(m_columns, &QAbstractItemModel::rowsRemoved, this, structuralEnd);
    connect(m_columns, &QAbstractItemModel::rowsInserted, this, structuralEnd);
    // A row stored among the measured ones widens a column fitted to its contents, which was measured without it.
    connect(m_columns, &QAbstractItemModel::dataChanged, this, [this](const QModelIndex& from, const QModelIndex& to) {
        widenFittedColumns(from.row(), from.column(), to.column());
    });
    setHorizontalHeader(m_header);
    m_header->setResizeContentsPrecision(64); // rows measured for a column fitted to its contents
    setModel(m_columns);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setItemDelegate(new StartShowingDelegate(this));
    setWordWrap(false); // the control's default; windows turn it on
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, &DataGrid::onCurrentChanged);
    connect(m_columns, &QAbstractItemModel::modelReset, this, [this] {
        m_structural = false;
        applyColumns();
        if (db::Recordset* rs = recordset())
            followRecordset(rs->absolutePosition());
    });
    // A click that could not move the recordset there (refused) is not a click on the row it stayed on.
    connect(this, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
        if (index.row() == currentIndex().row())
            emit clicked();
    });
    watchDraggedSections(m_header, [this](int section, int pixels) {
        if (section >= static_cast<int>(m_widths.size()))
            m_widths.resize(section + 1);
        m_widths[section] = {pixelsToTwips(pixels), true};
    });
}

DataGrid::~DataGrid() = default;

db::Recordset* DataGrid::recordset() const {
    return m_columns->recordset();
}

void DataGrid::setDataSource(db::DataControl* dc) {
    disconnect(m_sourceConnection);
    disconnect(m_currentConnection);
    db::RecordsetModel* old = m_recordsetModel;
    m_source = dc;
    m_recordsetModel = nullptr;
    if (dc) {
        m_recordsetModel = new db::RecordsetModel(dc, this);
        m_recordsetModel->setAllowUpdate(m_allowUpdate);
        // After the model has taken the new recordset (it connected first).
        m_sourceConnection = connect(dc, &db::DataControl::recordsetChanged, this, &DataGrid::attach);
    }
    m_columns->setSource(m_recordsetModel);
    delete old;
    attach(recordset());
}

void DataGrid::attach(db::Recordset* rs) {
    disconnect(m_currentConnection);
    if (rs)
        m_currentConnection = connect(rs, &db::Recordset::currentChanged, this, &DataGrid::followRecordset);
    followRecordset(rs ? rs->absolutePosition() : -1);
}

// The recordset moved: the grid shows its row as current.
void DataGrid::followRecordset(int row) {
    if (m_syncing)
        return;
    m_syncing = true;
    const QModelIndex current = currentIndex();
    if (row >= 0 && row < m_columns->rowCount()) {
        const int col = current.isValid() ? current.column() : 0;
        const QModelIndex target = m_columns->index(row, std::max(0, col));
        if (target != current) {
            selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            scrollTo(target);
            emit rowColChange();
        }
    } else if (current.isValid()) {
        selectionModel()->clear();
        emit rowColChange();
    }
    m_syncing = false;
}

// The user moved: the recordset follows, storing an edited row as it leaves it.
void DataGrid::onCurrentChanged(const QModelIndex& current, const QModelIndex& previous) {
    if (m_syncing || m_structural)
        return;
    db::Recordset* rs = recordset();
    if (rs && current.isValid() && current.row() != rs->absolutePosition()) {
        m_syncing = true;
        try {
            if (m_moveGuard && !m_moveGuard())
                selectionModel()->setCurrentIndex(previous,
                                                  QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            else
                rs->moveTo(current.row());
        } catch (const db::DbError& e) {
            // The row left behind could not be stored: stay on it.
            MsgBox(e.message());
            selectionModel()->setCurrentIndex(previous,
                                              QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        }
        m_syncing = false;
    }
    emit rowColChange();
}

void DataGrid::setColumnFields(const QStringList& fields) {
    m_columns->setFields(fields);
}

int DataGrid::columnCount() const {
    return m_columns->columnCount();
}

QString DataGrid::columnCaption(int i) const {
    return m_columns->caption(i);
}
void DataGrid::setColumnCaption(int i, const QString& caption) {
    m_columns->setCaption(i, caption);
}

bool DataGrid::columnVisible(int i) const {
    return i < 0 || i >= static_cast<int>(m_hidden.size()) || !m_hidden[i];
}

void DataGrid::setColumnVisible(int i, bool visible) {
    if (i < 0)
        return;
    if (static_cast<int>(m_hidden.size()) <= i)
        m_hidden.resize(i + 1, false);
    m_hidden[i] = !visible;
    if (i < columnCount()) {
        const QSignalBlocker quiet(m_header); // not a width the user dragged to
        setColumnHidden(i, !visible);
        updateGeometries();
        viewport()->update();
    }
}

int DataGrid::columnWidth(int i) const {
    if (i >= 0 && i < static_cast<int>(m_widths.size()) && m_widths[i].twips >= 0)
        return m_widths[i].twips;
    return DefaultColumnTwips;
}

void DataGrid::setColumnWidth(int i, int twips) {
    if (i < 0)
        return;
    if (static_cast<int>(m_widths.size()) <= i)
        m_widths.resize(i + 1);
    twips = std::max(0, twips);
    // Set again to the width the user dragged to (as a window does that follows the drag), it stays as dragged.
    if (!m_widths[i].user || m_widths[i].twips != twips)
        m_widths[i] = {twips, false};
    applyColumns();
}

void DataGrid::setUserColumnWidth(int i, int twips) {
    if (i < 0)
        return;
    if (static_cast<int>(m_widths.size()) <= i)
        m_widths.resize(i + 1);
    m_widths[i] = {std::max(0, twips), twips > 0};
    applyColumns();
}

void DataGrid::setColumnFit(int i, Fit fit) {
    if (i < 0)
        return;
    m_fits[i] = fit;
    const QSignalBlocker quiet(m_header);
    applyFit(i, fit);
}

void DataGrid::applyFit(int i, Fit fit) {
    if (i >= columnCount())
        return; // comes with the columns of a later fill
    m_header->setSectionResizeMode(i, fit == Fit::Rest ? QHeaderView::Stretch : QHeaderView::Interactive);
    // Measured once a fill on the first rows (the header's precision), not at every layout as the header's own
    // contents mode would: a list of thousands of notes would be measured whole, again and again.
    if (fit == Fit::Contents)
        QTableView::setColumnWidth(i, std::max(sizeHintForColumn(i), m_header->sectionSizeHint(i)));
}

void DataGrid::widenFittedColumns(int firstRow, int firstColumn, int lastColumn) {
    if (firstRow >= m_header->resizeContentsPrecision())
        return;
    const QSignalBlocker quiet(m_header);
    for (const auto& [i, fit] : m_fits)
        if (fit == Fit::Contents && i >= firstColumn && i <= lastColumn && i < columnCount() && !isColumnHidden(i))
            QTableView::setColumnWidth(i, std::max(QTableView::columnWidth(i), sizeHintForColumn(i)));
}

void DataGrid::widenFittedColumns() {
    widenFittedColumns(0, 0, columnCount() - 1);
}

void DataGrid::applyColumns() {
    const double scale = gridFontScale(font());
    const int padding = cellPadding(this);
    // Windows hear of the widths the user drags from the header; the ones set here are not such news.
    const QSignalBlocker quiet(m_header);
    for (int i = 0; i < columnCount(); ++i) {
        setColumnHidden(i, !columnVisible(i));
        const ColumnWidth w = i < static_cast<int>(m_widths.size()) ? m_widths[i] : ColumnWidth{};
        const int pixels = twipsToPixels(w.twips >= 0 ? w.twips : DefaultColumnTwips);
        QTableView::setColumnWidth(i, w.user ? pixels : scaledColumnPixels(pixels, scale, padding));
        // Only columns given a fit here; a window's own header modes stay.
        if (const auto fit = m_fits.find(i); fit != m_fits.end())
            applyFit(i, fit->second);
    }
    updateGeometries();
    viewport()->update();
}

QString DataGrid::columnText(int i) const {
    db::Recordset* rs = recordset();
    const int sc = m_columns->sourceColumn(i);
    if (!rs || sc < 0 || rs->bof() || rs->eof())
        return QString();
    return db::displayText(rs->field(sc));
}

void DataGrid::setAllowUpdate(bool allow) {
    m_allowUpdate = allow;
    if (m_recordsetModel)
        m_recordsetModel->setAllowUpdate(allow);
    setEditTriggers(allow ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                QAbstractItemView::AnyKeyPressed
                          : QAbstractItemView::NoEditTriggers);
}

void DataGrid::setAllowDelete(bool allow) {
    m_allowDelete = allow;
}

int DataGrid::approxCount() const {
    db::Recordset* rs = recordset();
    return rs ? rs->recordCount() : 0;
}

QString DataGrid::caption() const {
    return m_header->caption();
}

void DataGrid::setCaption(const QString& text) {
    m_header->setCaption(text);
    updateGeometries();
}

void DataGrid::deleteCurrentRow() {
    db::Recordset* rs = recordset();
    const QModelIndex current = currentIndex();
    if (!rs || !current.isValid() || !rs->isUpdatable())
        return;
    try {
        if (rs->absolutePosition() != current.row())
            rs->moveTo(current.row());
        rs->deleteCurrent();
    } catch (const db::DbError& e) {
        MsgBox(e.message());
    }
}

void DataGrid::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Delete && state() != QAbstractItemView::EditingState) {
        if (m_allowDelete)
            deleteCurrentRow();
        e->accept();
        return;
    }
    QTableView::keyPressEvent(e);
}

void DataGrid::mouseReleaseEvent(QMouseEvent* e) {
    QTableView::mouseReleaseEvent(e);
    emit mouseUp(e->button(), e->globalPosition().toPoint());
}

void DataGrid::changeEvent(QEvent* e) {
    QTableView::changeEvent(e);
    if (e->type() == QEvent::FontChange || e->type() == QEvent::StyleChange)
        applyColumns();
}

} // namespace ui

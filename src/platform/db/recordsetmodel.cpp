#include "platform/db/recordsetmodel.h"

#include "platform/db/datacontrol.h"
#include "platform/db/dberror.h"
#include "platform/db/recordset.h"
#include "platform/db/values.h"

namespace db {

RecordsetModel::RecordsetModel(DataControl* control, QObject* parent)
    : QAbstractTableModel(parent), m_control(control) {
    connect(control, &DataControl::recordsetChanged, this, &RecordsetModel::attach);
    attach(control->recordset());
}

void RecordsetModel::attach(Recordset* rs) {
    beginResetModel();
    if (m_rs)
        disconnect(m_rs, nullptr, this, nullptr);
    m_rs = rs;
    if (m_rs) {
        connect(m_rs, &Recordset::reset, this, [this] {
            beginResetModel();
            endResetModel();
        });
        connect(m_rs, &Recordset::rowInserted, this, [this](int row) {
            beginInsertRows({}, row, row);
            endInsertRows();
        });
        connect(m_rs, &Recordset::rowRemoved, this, [this](int row) {
            beginRemoveRows({}, row, row);
            endRemoveRows();
        });
        connect(m_rs, &Recordset::rowChanged, this,
                [this](int row) { emit dataChanged(index(row, 0), index(row, columnCount() - 1)); });
        connect(m_rs, &QObject::destroyed, this, [this] {
            beginResetModel();
            m_rs = nullptr;
            endResetModel();
        });
    }
    endResetModel();
}

void RecordsetModel::setCaption(int column, const QString& caption) {
    while (m_captions.size() <= column)
        m_captions << QString();
    m_captions[column] = caption;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

int RecordsetModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !m_rs ? 0 : m_rs->rowCount();
}

int RecordsetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() || !m_rs ? 0 : m_rs->fieldCount();
}

QVariant RecordsetModel::data(const QModelIndex& index, int role) const {
    if (!m_rs || !index.isValid())
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return m_rs->text(index.row(), index.column());
    return {};
}

bool RecordsetModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!m_rs || !index.isValid() || role != Qt::EditRole || !m_allowUpdate)
        return false;
    try {
        m_rs->setValue(index.row(), index.column(), value);
    } catch (const DbError&) {
        m_rs->cancelUpdate();
        return false;
    }
    emit dataChanged(index, index);
    return true;
}

QVariant RecordsetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return {};
    if (section < m_captions.size() && !m_captions[section].isNull())
        return m_captions[section];
    if (m_rs && section < m_rs->fieldCount())
        return m_rs->fieldName(section);
    return {};
}

Qt::ItemFlags RecordsetModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (m_allowUpdate && m_rs && m_rs->isUpdatable())
        f |= Qt::ItemIsEditable;
    return f;
}

bool RecordsetModel::removeRows(int row, int count, const QModelIndex& parent) {
    if (!m_rs || parent.isValid())
        return false;
    try {
        for (int i = 0; i < count; ++i)
            m_rs->removeRow(row);
    } catch (const DbError&) {
        return false;
    }
    return true;
}

RecordsetListModel::RecordsetListModel(QObject* parent) : QAbstractListModel(parent) {}
RecordsetListModel::~RecordsetListModel() = default;

void RecordsetListModel::setRecordset(std::unique_ptr<Recordset> rs) {
    beginResetModel();
    m_rs = std::move(rs);
    endResetModel();
}

int RecordsetListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !m_rs ? 0 : m_rs->rowCount();
}

QVariant RecordsetListModel::data(const QModelIndex& index, int role) const {
    if (!m_rs || !index.isValid() || m_rs->fieldCount() == 0)
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return m_rs->text(index.row(), 0);
    if (role == Qt::UserRole)
        return m_rs->text(index.row(), m_rs->fieldCount() - 1);
    return {};
}

bool RecordsetListModel::removeRows(int row, int count, const QModelIndex& parent) {
    // Only the whole list goes, as clear() asks.
    if (parent.isValid() || !m_rs || row != 0 || count != m_rs->rowCount())
        return false;
    setRecordset(nullptr);
    return true;
}

} // namespace db

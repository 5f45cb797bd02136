#pragma once

#include <QAbstractListModel>
#include <QAbstractTableModel>
#include <QPointer>
#include <QStringList>
#include <memory>

namespace db {

class DataControl;
class Recordset;

// A table model over a data control's recordset: a grid shows its rows, and where allowed edits them in
// place. Follows the control through every refresh.
class RecordsetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit RecordsetModel(DataControl* control, QObject* parent = nullptr);

    Recordset* recordset() const { return m_rs; }
    DataControl* control() const { return m_control; }
    void setAllowUpdate(bool allow) { m_allowUpdate = allow; }
    bool allowUpdate() const { return m_allowUpdate; }
    void setCaption(int column, const QString& caption);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool removeRows(int row, int count, const QModelIndex& parent = {}) override;

private:
    void attach(Recordset* rs);
    QPointer<DataControl> m_control;
    Recordset* m_rs = nullptr;
    QStringList m_captions;
    bool m_allowUpdate = false;
};

// A list for a picker over a recordset it owns, read on demand: the first field shown, the last as Qt::UserRole
// (the value the choice stands for). A combo box's clear() empties it.
class RecordsetListModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit RecordsetListModel(QObject* parent = nullptr);
    ~RecordsetListModel() override;

    void setRecordset(std::unique_ptr<Recordset> rs);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool removeRows(int row, int count, const QModelIndex& parent = {}) override;

private:
    std::unique_ptr<Recordset> m_rs;
};

} // namespace db

#pragma once

#include <QObject>
#include <QString>
#include <memory>

namespace db {

class Recordset;

// The data control of a window: a connection text, a record source and the recordset they give.
class DataControl : public QObject {
    Q_OBJECT
public:
    explicit DataControl(QObject* parent = nullptr);
    ~DataControl() override;

    static QString connectionStringFor(const QString& path);
    static QString pathFromConnectionString(const QString& connection); // Data Source=...

    void setConnectionString(const QString& connection) { m_connection = connection; }
    QString connectionString() const { return m_connection; }
    QString databasePath() const { return pathFromConnectionString(m_connection); }
    void setRecordSource(const QString& source) { m_source = source; }
    QString recordSource() const { return m_source; }
    // Reads its rows on demand (see Recordset::Reading) from the next refresh on.
    void setOnDemand(bool onDemand) { m_onDemand = onDemand; }

    // Runs the record source anew (throws DbError; the old recordset stays on failure).
    void refresh();
    // Runs the record source anew as refresh() does, but stands on the row it stood on (after the last one when
    // that row has gone; on none when it stood on none, an empty list too) and keeps a pending edit or added row
    // as it was, unstored. An edited row that has gone is not read anew. The edit still checks the file against
    // what it first read, unless `readEditAnew` (a save told of another copy's change goes onto the row as read now).
    void refreshInPlace(bool readEditAnew = false);
    // Drops the recordset, as unbinding does.
    void clear();
    Recordset* recordset() const { return m_rs.get(); }

signals:
    void recordsetChanged(db::Recordset* rs); // after every refresh or clear

private:
    // The database the connection text names; DbError when it names none.
    QString requiredPath() const;
    // The record source run anew on that database (throws DbError).
    std::unique_ptr<Recordset> readAnew(const QString& path) const;
    QString m_connection;
    QString m_source;
    bool m_onDemand = false;
    std::unique_ptr<Recordset> m_rs;
};

} // namespace db

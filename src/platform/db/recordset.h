#pragma once

#include "platform/db/connection.h"
#include "platform/db/rowstore.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace db {

// A recordset as the windows use it: every row of a query in query order, a current row with BOF/EOF, an
// exact count, fields by name and position (Null distinct from ""), and AddNew/Edit/Update/CancelUpdate/
// Delete when the query reads one table. Rows are read whole when the query runs, so the count is exact.
// Read OnDemand, a plain "SELECT list FROM table [WHERE] [ORDER BY columns]" reads only its row ids in the
// query's order and each row's cells when someone asks for them, a page at a time: count, order, Find and
// editing stay those of a whole read, and a list of 200,000 customers costs its row ids. Any other query, and
// one whose order the engine alone decides (no ORDER BY, an index walk), is read whole.
class Recordset : public QObject {
    Q_OBJECT
public:
    enum class EditMode { None, Edit, Add };
    enum class Reading { Whole, OnDemand };

    Recordset(std::shared_ptr<Connection> conn, const QString& jetSql, LikeDialect dialect,
              Reading reading = Reading::Whole, QObject* parent = nullptr);
    ~Recordset() override;

    const QString& source() const { return m_source; }
    // The connection the rows are read and stored through.
    std::shared_ptr<Connection> connection() const { return m_conn; }
    LikeDialect dialect() const { return m_dialect; }

    // Position. BOF is before the first row, EOF after the last; both hold on an empty recordset.
    bool bof() const { return m_pos < 0 || rowCount() == 0; }
    bool eof() const { return m_pos >= rowCount() || rowCount() == 0; }
    int recordCount() const { return rowCount(); }
    int absolutePosition() const { return m_pos; } // 0-based row, -1 at BOF, recordCount() at EOF
    void moveFirst();
    void moveLast();
    void moveNext();
    void movePrevious();
    void moveTo(int row); // any row, or -1 / recordCount() for BOF / EOF

    // Fields of the current row (throws at BOF/EOF, as ADO and DAO do).
    int fieldCount() const { return static_cast<int>(m_fields.size()); }
    QString fieldName(int i) const;
    int fieldIndex(const QString& name) const; // -1 when absent; names match without regard to case
    QVariant field(const QString& name) const;
    QVariant field(int i) const;
    // Starts an edit when none is under way (as ADO does); the value is kept until update().
    void setField(const QString& name, const QVariant& value);
    void setField(int i, const QVariant& value);

    // Editing. Only a recordset on one table can change rows; others throw DbError.
    bool isUpdatable() const { return !m_table.isEmpty(); }
    const QString& tableName() const { return m_table; }
    EditMode editMode() const { return m_edit; }
    void addNew();
    void edit();
    // Stores the pending row; an added row gets the values the database gave it. An edited row is written only
    // while it is still the row this copy read (its key columns, see setKeyColumns) and each column it changes
    // still holds what this copy read; otherwise DbError::isConflict(), nothing is written, the typed values stay
    // pending and a row that is still there is read anew. Deleting checks the key alike.
    void update();
    void cancelUpdate(); // forgets pending values; an added row disappears
    void deleteCurrent();
    void requery(); // runs the query again; the position stays where it can
    // A row's identity in its table (0 for an added row not stored yet), and the row that has it (-1: none).
    qint64 rowId(int row) const;
    int rowWithId(qint64 id) const;
    // The fields a pending edit or added row has set, with their values (none without an edit).
    std::vector<std::pair<int, QVariant>> pendingFields() const;
    // The current row's column as the file holds it now, taken as the value this copy read (a pending value
    // stays pending): for a column the caller rebuilds from the file (text appended to, a customer's name). Null
    // when the row is gone or not stored yet.
    QVariant readStored(int col);
    // The pending edit checks the file against what `earlier`'s pending edit of the same row read (the row read
    // again in place), so another copy's change made before the re-read is still told.
    void keepReadOf(const Recordset& earlier);

    // ADO's Find: "Field LIKE 'x'", "Field = 'x'" or "Field <> 'x'", from the current row forward.
    // Returns true on a match (now current); false leaves the recordset at EOF.
    bool find(const QString& criterion);
    // The first row from `from` on that meets such a criterion, passing over `skip`; -1 when none. Does not move.
    int locate(const QString& criterion, int from = 0, int skip = -1) const;
    bool isOnDemand() const { return m_onDemand; }
    // Calls `fn` for every row in order, for one pass over them all (an export): read on demand, the query runs
    // once more and streams, so text(row, ...) inside `fn` reads no row on its own.
    void readAll(const std::function<void(int row)>& fn) const;

    // Row access for grids, without moving.
    int rowCount() const { return m_onDemand ? static_cast<int>(m_rowids.size()) : m_store->rowCount(); }
    QVariant value(int row, int col) const;
    QString text(int row, int col) const; // db::displayText(value(row, col)), made straight from the stored text
    bool isDateField(int col) const { return m_fields[col].isDate; }
    // The most characters (db::textLength) the field's column takes, as the file declares it; 0: no limit.
    int fieldSize(int col) const { return col < 0 || col >= fieldCount() ? 0 : m_fields[col].maxLength; }
    // The stored rows as they are now (without a pending edit); later changes to the recordset leave this
    // copy alone. Cells are read with the fields' isDateField(). Read on demand, every row is read for it.
    std::shared_ptr<const RowStore> rows() const;
    void setValue(int row, int col, const QVariant& value); // stores at once
    void removeRow(int row);

signals:
    void reset();
    void rowInserted(int row);
    void rowRemoved(int row);
    void rowChanged(int row);
    void currentChanged(int row);

private:
    struct Field {
        QString name;
        QString origin; // table column, "" for expressions
        bool isDate = false;
        bool isText = false; // declared TEXT
        int maxLength = 0;   // 0: no limit
    };
    void load();
    void checkCurrent() const;
    QVariant storedValue(int row, int col) const; // the row as read, without a pending edit
    std::vector<int> keyFields() const;
    QString byRowId(const QStringList& columns) const; // "SELECT columns FROM table WHERE rowid = ?"
    // Throws a conflict unless the row still holds asRead[c] in each column c of cols (inside a transaction).
    void verifyAsRead(int row, const std::vector<int>& cols, const std::vector<QVariant>& asRead,
                      const std::vector<int>& keys);
    bool readBack(int row); // the row's cells from the file; false when it is gone
    void reconcile();       // rows written in a transaction that was then rolled back take their old cells
    void requireUpdatable() const;
    void storeRow(int row, const std::vector<QVariant>& values, const std::vector<bool>& dirty, bool insert);
    void setPosition(int pos);
    QVariant toStorage(int col, const QVariant& value) const;
    void autoStoreBeforeMove();
    RowStore& writableRows();
    void eraseRow(int row);
    bool loadKeys(const QString& table, const std::vector<Field>& fields, const QString& tail, const QString& list);
    // Read on demand: the page of rows that holds `row`, and the row's place in it.
    const RowStore& pageOf(int row, int& local) const;
    void forgetPages() const { m_pages.clear(); }
    void forgetPage(int row) const { m_pages.erase(row / PageRows); }
    RowStore fetchRows(int first, int count) const;
    void keepPage(int page, RowStore rows) const;

    static constexpr int PageRows = 64;
    static constexpr std::size_t MaxPages = 64;
    struct Page {
        RowStore rows;
        std::uint64_t used = 0;
    };

    std::shared_ptr<Connection> m_conn;
    QString m_source;
    LikeDialect m_dialect;
    QString m_table;
    std::vector<Field> m_fields;
    std::shared_ptr<RowStore> m_store = std::make_shared<RowStore>(0);
    std::vector<qint64> m_rowids;
    int m_pos = -1;
    EditMode m_edit = EditMode::None;
    std::vector<QVariant> m_buffer;
    std::vector<bool> m_dirty;
    std::vector<QVariant> m_read; // the edited row as read when the edit began
    struct Unconfirmed {
        qint64 rowid;
        quint64 tx;
        std::vector<QVariant> before;
    };
    std::vector<Unconfirmed> m_unconfirmed; // rows written inside a transaction not yet ended
    Reading m_reading = Reading::Whole;
    bool m_onDemand = false;
    mutable std::map<int, Page> m_pages;
    mutable std::uint64_t m_pageClock = 0;
    QString m_streamSql;                        // the whole query with the row id in front
    mutable std::unique_ptr<Statement> m_fetch; // one row by row id
    mutable std::unique_ptr<Statement> m_range; // the rows between two row ids
};

// The columns that tell a row from a later one given the same row id, for tables whose row ids the engine may
// give again (no autonumber). Registered once by the schema.
void setKeyColumns(const QString& table, const QStringList& columns);

} // namespace db

#include "platform/db/recordset.h"

#include "platform/db/dberror.h"
#include "platform/db/jetsql.h"
#include "platform/db/values.h"

#include <QHash>
#include <QRegularExpression>
#include <algorithm>
#include <optional>
#include <sqlite3.h>
#include <unordered_set>

namespace db {
namespace {

const QString kRowid = QStringLiteral("__qv_rowid");
const QString kTie = QStringLiteral("__qv_tie");

QString unquoteName(QString s) {
    s = s.trimmed();
    if (s.size() >= 2 && s.startsWith(QLatin1Char('"')) && s.endsWith(QLatin1Char('"')))
        s = s.mid(1, s.size() - 2).replace(QLatin1String("\"\""), QLatin1String("\""));
    return s;
}

DbError noCurrentRecord() {
    return DbError(QStringLiteral("Either BOF or EOF is True, or the current record has been deleted."));
}

DbError noSuchField(const QString& which) {
    return DbError(QStringLiteral("Item cannot be found in the collection: %1").arg(which));
}

DbError noSuchField(int i) {
    return DbError(QStringLiteral("Item cannot be found in the collection (field %1).").arg(i));
}

QHash<QString, QStringList>& keyRegistry() {
    static QHash<QString, QStringList> keys;
    return keys;
}

// A value as stored, exactly: case counts, as does Null against "".
bool sameStored(const QVariant& a, const QVariant& b) {
    if (isNull(a) || isNull(b))
        return isNull(a) && isNull(b);
    if (a.typeId() == QMetaType::QString && b.typeId() == QMetaType::QString)
        return a.toString() == b.toString();
    return a == b;
}

// Jet compares ORDER BY values without regard to case.
bool sameValue(const QVariant& a, const QVariant& b) {
    if (isNull(a) || isNull(b))
        return isNull(a) && isNull(b);
    if (a.typeId() == QMetaType::QString || b.typeId() == QMetaType::QString)
        return a.toString().compare(b.toString(), Qt::CaseInsensitive) == 0;
    return a == b;
}

// For a plain select on one table, what follows the select list in a query of its row ids in the very order
// the whole query gives its rows ("FROM ... ORDER BY ..., rowid"); "" when that order cannot be told from the
// query (then the rows are read whole). `whole` is the translated query with the row id in front.
template <typename Fields>
QString keyQuery(Connection& conn, const QString& jetSql, const jet::Query& q, const QString& whole,
                 const Fields& fields) {
    const auto plain = jet::splitPlainSelect(jetSql);
    if (!plain || plain->table.compare(q.singleTable, Qt::CaseInsensitive) != 0)
        return {};
    static const QRegularExpression name(
        QStringLiteral("^(?:(?:\"(?:[^\"]|\"\")+\"|\\w+)\\.)?(\"(?:[^\"]|\"\")+\"|\\w+)$"));
    for (const QString& term : q.orderBy) {
        // Only order terms that name a table column; a result name of the same text must be that column.
        const auto m = name.match(term.trimmed());
        if (!m.hasMatch() || m.captured(1).front().isDigit())
            return {};
        const QString column = unquoteName(m.captured(1));
        const bool qualified = term.contains(QLatin1Char('.'));
        for (const auto& f : fields)
            if (!qualified && f.name.compare(column, Qt::CaseInsensitive) == 0 &&
                f.origin.compare(column, Qt::CaseInsensitive) != 0)
                return {};
    }
    const QString id = quoteIdent(q.singleTable) + QStringLiteral(".rowid");
    // The engine's plan tells the order rows come in before (or without) a sort.
    QStringList plan;
    {
        Statement explain(conn, QStringLiteral("EXPLAIN QUERY PLAN ") + whole);
        while (explain.step())
            plan << explain.column(3).toString();
    }
    bool tableWalk = false;
    bool fullSort = false;
    for (const QString& step : plan) {
        tableWalk = tableWalk || (step.startsWith(QLatin1String("SCAN ")) && !step.contains(QLatin1String("INDEX")));
        fullSort = fullSort || step == QLatin1String("USE TEMP B-TREE FOR ORDER BY");
    }
    if (q.orderBy.isEmpty()) {
        // Without an order the rows come as the engine walks: only a plain walk of the table is in row id order.
        if (plan.size() != 1 || !tableWalk)
            return {};
        return q.sql.mid(q.fromPos) + QStringLiteral(" ORDER BY ") + id;
    }
    // Rows that tie on the order keep the order they came in (the sort is stable): by row id from a walk of the
    // table, or as the first term's index gives them, walked backwards for a first term that sorts down. Rows
    // that come by another index and are sorted whole tie in that index's order: read whole.
    if (fullSort && !tableWalk)
        return {};
    bool firstDown = false;
    static const QRegularExpression orderBy(QStringLiteral("\\bORDER\\s+BY\\s+"),
                                            QRegularExpression::CaseInsensitiveOption);
    QRegularExpressionMatch last;
    for (auto it = orderBy.globalMatch(q.sql); it.hasNext();)
        last = it.next();
    if (last.hasMatch() && !fullSort) {
        const QString terms = q.sql.mid(last.capturedEnd());
        const QString first = q.orderBy.first().trimmed();
        if (terms.startsWith(first))
            firstDown = terms.mid(first.size()).trimmed().startsWith(QLatin1String("DESC"), Qt::CaseInsensitive);
    }
    return q.sql.mid(q.fromPos) + QStringLiteral(", ") + id + (firstDown ? QStringLiteral(" DESC") : QString());
}

} // namespace

Recordset::Recordset(std::shared_ptr<Connection> conn, const QString& jetSql, LikeDialect dialect, Reading reading,
                     QObject* parent)
    : QObject(parent), m_conn(std::move(conn)), m_source(jetSql), m_dialect(dialect), m_reading(reading) {
    load();
    m_pos = rowCount() == 0 ? -1 : 0;
}

Recordset::~Recordset() = default;

void Recordset::load() {
    const jet::Query q = jet::translate(m_source);
    if (!q.isSelect)
        throw DbError(QStringLiteral("The query does not return rows: %1").arg(m_source), 1, 1, m_source);
    m_conn->setLikeDialect(m_dialect);

    QString sql = q.sql;
    const bool updatable = !q.singleTable.isEmpty();
    int extraFront = 0;
    if (updatable) {
        // The row id tells update and delete which row to change.
        sql.insert(6, QStringLiteral(" %1.rowid AS %2,").arg(quoteIdent(q.singleTable), kRowid));
        extraFront = 1;
    }

    // TOP n with ORDER BY also returns the rows that tie with the n-th: the order values are read along.
    std::vector<int> tieCols; // result columns (after extraFront) holding the ORDER BY values
    if (q.top >= 0 && !q.orderBy.isEmpty()) {
        Statement probe(*m_conn, sql);
        QStringList names;
        for (int i = extraFront; i < probe.columnCount(); ++i)
            names << probe.columnName(i);
        QString hidden;
        int added = 0;
        for (const QString& term : q.orderBy) {
            bool isNumber = false;
            const int pos = term.toInt(&isNumber);
            const QString bare = unquoteName(term);
            int col = -1;
            if (isNumber)
                col = pos - 1;
            else
                for (int i = 0; i < names.size() && col < 0; ++i)
                    if (names[i].compare(bare, Qt::CaseInsensitive) == 0)
                        col = i;
            if (col < 0) {
                hidden += QStringLiteral(", (%1) AS %2%3 ").arg(term, kTie).arg(added);
                col = static_cast<int>(names.size()) + added++;
            }
            tieCols.push_back(col);
        }
        if (!hidden.isEmpty() && q.fromPos > 0)
            sql.insert(q.fromPos + (updatable ? sql.size() - q.sql.size() : 0), hidden);
    }

    Statement st(*m_conn, sql);
    const int total = st.columnCount();
    int visible = total;
    for (int i = 0; i < total; ++i)
        if (st.columnName(i).startsWith(kTie)) {
            visible = i;
            break;
        }
    // Fields, table, rows and row ids change together, so a failure leaves them matching each other.
    const QString table = updatable ? q.singleTable : QString();
    std::vector<Field> fields;
    for (int i = extraFront; i < visible; ++i) {
        Field f;
        f.name = st.columnName(i);
        if (updatable && st.columnTable(i).compare(table, Qt::CaseInsensitive) == 0)
            f.origin = st.columnOrigin(i);
        const QString decl = st.columnDeclType(i).toUpper();
        f.isDate = decl.startsWith(QLatin1String("DATE"));
        f.isText = decl.startsWith(QLatin1String("TEXT"));
        fields.push_back(f);
    }
    if (updatable) {
        // Text sizes as the file declares them, to refuse a long value before the database does (same message
        // either way) and to keep boxes to them.
        Statement info(*m_conn, QStringLiteral("SELECT sql FROM sqlite_master WHERE type='table' AND name=?"));
        info.bind(1, table);
        if (info.step()) {
            const QString ddl = info.column(0).toString();
            static const QRegularExpression re(QStringLiteral("length\\(\"((?:[^\"]|\"\")+)\"\\)\\s*<=\\s*(\\d+)"));
            QHash<QString, int> sizes;
            for (auto it = re.globalMatch(ddl); it.hasNext();) {
                const auto m = it.next();
                sizes.insert(m.captured(1).replace(QLatin1String("\"\""), QLatin1String("\"")).toLower(),
                             m.captured(2).toInt());
            }
            for (Field& f : fields)
                if (!f.origin.isEmpty())
                    f.maxLength = sizes.value(f.origin.toLower(), 0);
        }
    }

    if (m_reading == Reading::OnDemand && updatable && q.top < 0 && q.fromPos > 6) {
        const QString tail = keyQuery(*m_conn, m_source, q, sql, fields);
        if (!tail.isEmpty() && loadKeys(table, fields, tail, q.sql.mid(6, q.fromPos - 6)))
            return;
    }

    std::vector<std::vector<QVariant>> ties;
    const int nf = static_cast<int>(fields.size());
    auto store = std::make_shared<RowStore>(nf);
    std::vector<qint64> rowids;
    auto keep = [&] {
        m_table = table;
        m_fields = std::move(fields);
        m_store = std::move(store);
        m_rowids = std::move(rowids);
        m_onDemand = false;
        m_unconfirmed.clear();
        m_fetch.reset();
        m_range.reset();
        forgetPages();
    };
    if (q.top > 0)
        store->reserveRows(std::min(q.top, 4096));
    // TOP 0 gives the fields and no row, with or without ORDER BY.
    try {
        while (q.top != 0 && st.step()) {
            store->appendFrom(st.handle(), extraFront);
            const int row = store->rowCount() - 1;
            if (!tieCols.empty()) {
                std::vector<QVariant> tv;
                for (int c : tieCols)
                    tv.push_back(c < nf ? store->value(row, c, fields[c].isDate) : st.column(extraFront + c));
                // Past the n-th row only rows that tie with it stay; the rest are never read.
                if (row >= q.top) {
                    const auto& last = ties.back();
                    bool same = true;
                    for (size_t k = 0; k < tv.size() && same; ++k)
                        same = sameValue(tv[k], last[k]);
                    if (!same) {
                        store->eraseRow(row);
                        break;
                    }
                }
                ties.push_back(std::move(tv));
            } else if (q.top >= 0 && row >= q.top) {
                store->eraseRow(row);
                break;
            }
            if (updatable)
                rowids.push_back(sqlite3_column_int64(st.handle(), 0));
        }
    } catch (...) {
        // The rows read so far stay, each with its own row id; the rows from before are gone with theirs.
        keep();
        throw;
    }
    keep();
    m_edit = EditMode::None;
}

bool Recordset::loadKeys(const QString& table, const std::vector<Field>& fields, const QString& tail,
                         const QString& list) {
    const QString from = QStringLiteral(" FROM ") + quoteIdent(table);
    const QString id = quoteIdent(table) + QStringLiteral(".rowid");
    auto fetch = std::make_unique<Statement>(*m_conn, QStringLiteral("SELECT") + list + from +
                                                          QStringLiteral(" WHERE rowid = ?"));
    auto range =
        std::make_unique<Statement>(*m_conn, QStringLiteral("SELECT rowid,") + list + from +
                                                 QStringLiteral(" WHERE rowid BETWEEN ? AND ? ORDER BY rowid"));
    if (fetch->columnCount() != static_cast<int>(fields.size()))
        return false;
    Statement keys(*m_conn, QStringLiteral("SELECT ") + id + QLatin1Char(' ') + tail);
    std::vector<qint64> rowids;
    while (keys.step())
        rowids.push_back(sqlite3_column_int64(keys.handle(), 0));
    m_table = table;
    m_fields = fields;
    m_store = std::make_shared<RowStore>(static_cast<int>(fields.size()));
    m_rowids = std::move(rowids);
    m_onDemand = true;
    m_unconfirmed.clear();
    m_streamSql = QStringLiteral("SELECT ") + id + QLatin1Char(',') + list + tail;
    m_fetch = std::move(fetch);
    m_range = std::move(range);
    forgetPages();
    m_edit = EditMode::None;
    return true;
}

RowStore Recordset::fetchRows(int first, int count) const {
    RowStore rows(fieldCount());
    rows.reserveRows(count);
    // Rows whose ids rise within a short span (the table's own order, or close to it) come in one range read;
    // others one by one. A row not stored yet, or gone since the ids were read, reads as Null.
    qint64 low = 0, high = 0;
    bool rising = true;
    for (int r = first; r < first + count && rising; ++r) {
        const qint64 id = m_rowids[r];
        if (id == 0)
            continue;
        rising = low == 0 || id > high;
        if (low == 0)
            low = id;
        high = id;
    }
    if (rising && low != 0 && high - low < 4 * static_cast<qint64>(count)) {
        m_range->reset();
        sqlite3_bind_int64(m_range->handle(), 1, low);
        sqlite3_bind_int64(m_range->handle(), 2, high);
        bool more = m_range->step();
        for (int r = first; r < first + count; ++r) {
            const qint64 id = m_rowids[r];
            while (more && id != 0 && sqlite3_column_int64(m_range->handle(), 0) < id)
                more = m_range->step();
            if (more && id != 0 && sqlite3_column_int64(m_range->handle(), 0) == id)
                rows.appendFrom(m_range->handle(), 1);
            else
                rows.appendNullRow();
        }
        m_range->reset();
        return rows;
    }
    for (int r = first; r < first + count; ++r) {
        const qint64 id = m_rowids[r];
        bool found = false;
        if (id != 0) {
            m_fetch->reset();
            sqlite3_bind_int64(m_fetch->handle(), 1, id);
            if (m_fetch->step()) {
                rows.appendFrom(m_fetch->handle(), 0);
                found = true;
            }
        }
        if (!found)
            rows.appendNullRow();
    }
    m_fetch->reset();
    return rows;
}

const RowStore& Recordset::pageOf(int row, int& local) const {
    const int page = row / PageRows;
    local = row % PageRows;
    auto it = m_pages.find(page);
    if (it == m_pages.end() || local >= it->second.rows.rowCount()) {
        const int first = page * PageRows;
        try {
            keepPage(page, fetchRows(first, std::min(PageRows, rowCount() - first)));
        } catch (const DbError&) {
            // A file that cannot be read now shows empty cells; the next look tries again.
            static const RowStore none(0);
            m_fetch->reset();
            m_range->reset();
            local = -1;
            return none;
        }
        it = m_pages.find(page);
    }
    it->second.used = ++m_pageClock;
    return it->second.rows;
}

void Recordset::keepPage(int page, RowStore rows) const {
    if (m_pages.size() >= MaxPages && !m_pages.count(page)) {
        // The current row's page stays: read again, it could hold another row under the id, not the one shown.
        const int current = m_pos / PageRows;
        auto oldest = m_pages.end();
        for (auto p = m_pages.begin(); p != m_pages.end(); ++p)
            if (p->first != current && (oldest == m_pages.end() || p->second.used < oldest->second.used))
                oldest = p;
        if (oldest != m_pages.end())
            m_pages.erase(oldest);
    }
    m_pages.insert_or_assign(page, Page{std::move(rows), ++m_pageClock});
}

void Recordset::readAll(const std::function<void(int row)>& fn) const {
    if (!m_onDemand) {
        for (int r = 0; r < rowCount(); ++r)
            fn(r);
        return;
    }
    // The query once more, from the first row to the last, a page at a time; should the table have changed
    // since the ids were read, the rest is read by row id.
    std::optional<Statement> stream;
    stream.emplace(*m_conn, m_streamSql);
    for (int first = 0; first < rowCount(); first += PageRows) {
        const int n = std::min(PageRows, rowCount() - first);
        RowStore page(fieldCount());
        if (stream) {
            for (int i = 0; i < n && stream; ++i) {
                if (stream->step() && sqlite3_column_int64(stream->handle(), 0) == m_rowids[first + i])
                    page.appendFrom(stream->handle(), 1);
                else
                    stream.reset();
            }
        }
        keepPage(first / PageRows, stream ? std::move(page) : fetchRows(first, n));
        for (int r = first; r < first + n; ++r)
            fn(r);
    }
}

std::shared_ptr<const RowStore> Recordset::rows() const {
    if (!m_onDemand)
        return m_store;
    return std::make_shared<RowStore>(fetchRows(0, rowCount()));
}

QString Recordset::fieldName(int i) const {
    if (i < 0 || i >= fieldCount())
        throw noSuchField(i);
    return m_fields[i].name;
}

int Recordset::fieldIndex(const QString& name) const {
    const QString bare = unquoteName(
        name.startsWith(QLatin1Char('[')) && name.endsWith(QLatin1Char(']')) ? name.mid(1, name.size() - 2) : name);
    for (int i = 0; i < fieldCount(); ++i)
        if (m_fields[i].name.compare(bare, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

void Recordset::checkCurrent() const {
    if (bof() || eof())
        throw noCurrentRecord();
}

QVariant Recordset::field(const QString& name) const {
    const int i = fieldIndex(name);
    if (i < 0)
        throw noSuchField(name);
    return field(i);
}

QVariant Recordset::field(int i) const {
    checkCurrent();
    if (i < 0 || i >= fieldCount())
        throw noSuchField(i);
    return value(m_pos, i); // a pending edit's value included
}

void Recordset::setField(const QString& name, const QVariant& value) {
    const int i = fieldIndex(name);
    if (i < 0)
        throw noSuchField(name);
    setField(i, value);
}

void Recordset::setField(int i, const QVariant& value) {
    if (i < 0 || i >= fieldCount())
        throw noSuchField(i);
    if (m_edit == EditMode::None)
        edit();
    if (m_fields[i].origin.isEmpty())
        throw DbError(QStringLiteral("Field '%1' is not updatable.").arg(m_fields[i].name));
    m_buffer[i] = toStorage(i, value);
    m_dirty[i] = true;
}

QVariant Recordset::toStorage(int col, const QVariant& value) const {
    const Field& f = m_fields[col];
    if (isNull(value))
        return {};
    if (f.isDate && value.typeId() == QMetaType::QString) {
        if (value.toString().trimmed().isEmpty())
            return {};
        const QVariant d = parseDateValue(value.toString());
        if (isNull(d))
            throw DbError(QStringLiteral("Data type mismatch: '%1' is not a date or time.").arg(value.toString()));
        return d;
    }
    if (f.maxLength > 0 && value.typeId() == QMetaType::QString && textLength(value.toString()) > f.maxLength)
        throw DbError(QStringLiteral("The field is too small to accept the amount of data you attempted to add."), 19,
                      19);
    return value;
}

void Recordset::requireUpdatable() const {
    if (!isUpdatable())
        throw DbError(QStringLiteral("Cannot update: the query '%1' is not updatable.").arg(m_source));
}

void Recordset::addNew() {
    requireUpdatable();
    autoStoreBeforeMove();
    if (m_onDemand)
        forgetPage(rowCount());
    else
        writableRows().appendNullRow();
    m_rowids.push_back(0);
    m_buffer.assign(m_fields.size(), QVariant());
    m_dirty.assign(m_fields.size(), false);
    m_edit = EditMode::Add;
    const int row = rowCount() - 1;
    emit rowInserted(row);
    setPosition(row);
}

void Recordset::edit() {
    requireUpdatable();
    checkCurrent();
    if (m_edit != EditMode::None)
        return;
    reconcile();
    m_buffer.assign(m_fields.size(), QVariant());
    m_dirty.assign(m_fields.size(), false);
    m_read.assign(m_fields.size(), QVariant());
    for (int i = 0; i < fieldCount(); ++i)
        if (!m_fields[i].origin.isEmpty())
            m_read[i] = storedValue(m_pos, i);
    m_edit = EditMode::Edit;
}

void Recordset::keepReadOf(const Recordset& earlier) {
    if (m_edit != EditMode::Edit || earlier.m_edit != EditMode::Edit)
        return;
    for (int i = 0; i < fieldCount(); ++i) {
        const int j = earlier.fieldIndex(m_fields[i].name);
        if (!m_fields[i].origin.isEmpty() && j >= 0 && j < static_cast<int>(earlier.m_read.size()))
            m_read[i] = earlier.m_read[j];
    }
}

QVariant Recordset::storedValue(int row, int col) const {
    if (m_onDemand) {
        int local = 0;
        const RowStore& page = pageOf(row, local);
        return local < 0 ? QVariant() : page.value(local, col, m_fields[col].isDate);
    }
    return m_store->value(row, col, m_fields[col].isDate);
}

QString Recordset::byRowId(const QStringList& columns) const {
    return QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?").arg(columns.join(','), quoteIdent(m_table));
}

std::vector<int> Recordset::keyFields() const {
    std::vector<int> out;
    const QStringList keys = keyRegistry().value(m_table.toLower());
    for (int i = 0; i < fieldCount(); ++i)
        for (const QString& k : keys)
            if (m_fields[i].origin.compare(k, Qt::CaseInsensitive) == 0)
                out.push_back(i);
    return out;
}

void Recordset::verifyAsRead(int row, const std::vector<int>& cols, const std::vector<QVariant>& asRead,
                             const std::vector<int>& keys) {
    QStringList names;
    for (int c : cols)
        names << quoteIdent(m_fields[c].origin);
    if (names.isEmpty())
        names << QStringLiteral("1");
    Statement st(*m_conn, byRowId(names));
    st.bind(1, m_rowids[row]);
    if (!st.step())
        throw DbError::conflict(DbError::Conflict::Deleted, m_table);
    RowStore now(static_cast<int>(cols.size()));
    now.appendFrom(st.handle(), 0);
    st.reset();
    bool changed = false;
    for (size_t k = 0; k < cols.size(); ++k) {
        const int c = cols[k];
        if (sameStored(now.value(0, static_cast<int>(k), m_fields[c].isDate), asRead[c]))
            continue;
        // Another row under the same row id (the one read was deleted and the id given again) is not this one.
        if (std::find(keys.begin(), keys.end(), c) != keys.end())
            throw DbError::conflict(DbError::Conflict::Replaced, m_table);
        changed = true;
    }
    if (!changed)
        return;
    // Read anew, so that what is shown is the file's and a second save stores onto it.
    readBack(row);
    if (row == m_pos && m_edit == EditMode::Edit)
        for (int i = 0; i < fieldCount(); ++i)
            if (!m_fields[i].origin.isEmpty())
                m_read[i] = storedValue(row, i);
    emit rowChanged(row);
    throw DbError::conflict(DbError::Conflict::Changed, m_table);
}

bool Recordset::readBack(int row) {
    if (m_onDemand) {
        forgetPage(row);
        return true;
    }
    QStringList all;
    for (const Field& f : m_fields)
        all << (f.origin.isEmpty() ? QStringLiteral("NULL") : quoteIdent(f.origin));
    Statement back(*m_conn, byRowId(all));
    back.bind(1, m_rowids[row]);
    if (!back.step())
        return false;
    RowStore& rows = writableRows();
    for (int i = 0; i < fieldCount(); ++i)
        if (!m_fields[i].origin.isEmpty())
            rows.set(row, i, back.column(i));
    return true;
}

void Recordset::reconcile() {
    for (auto it = m_unconfirmed.begin(); it != m_unconfirmed.end();) {
        if (it->tx == m_conn->currentTransaction()) {
            ++it;
            continue;
        }
        const int row = m_conn->rolledBack(it->tx) ? rowWithId(it->rowid) : -1;
        if (row >= 0) {
            if (m_onDemand) {
                forgetPage(row);
            } else {
                RowStore& rows = writableRows();
                for (int i = 0; i < fieldCount(); ++i)
                    if (!m_fields[i].origin.isEmpty())
                        rows.set(row, i, it->before[i]);
            }
            emit rowChanged(row);
        }
        it = m_unconfirmed.erase(it);
    }
}

QVariant Recordset::readStored(int col) {
    checkCurrent();
    requireUpdatable();
    if (col < 0 || col >= fieldCount())
        throw noSuchField(col);
    reconcile();
    if (m_fields[col].origin.isEmpty() || m_rowids[m_pos] == 0)
        return {};
    m_conn->setLikeDialect(m_dialect);
    Statement st(*m_conn, byRowId({quoteIdent(m_fields[col].origin)}));
    st.bind(1, m_rowids[m_pos]);
    if (!st.step())
        return {};
    RowStore now(1);
    now.appendFrom(st.handle(), 0);
    const QVariant v = now.value(0, 0, m_fields[col].isDate);
    if (m_onDemand)
        forgetPage(m_pos);
    else
        writableRows().set(m_pos, col, st.column(0));
    if (m_edit == EditMode::Edit)
        m_read[col] = v;
    return v;
}

void Recordset::storeRow(int row, const std::vector<QVariant>& values, const std::vector<bool>& dirty, bool insert) {
    QStringList cols;
    std::vector<QVariant> binds;
    for (size_t i = 0; i < values.size(); ++i)
        if (dirty[i] && !m_fields[i].origin.isEmpty()) {
            cols << quoteIdent(m_fields[i].origin);
            binds.push_back(values[i]);
        }
    m_conn->setLikeDialect(m_dialect);
    if (insert) {
        const QString sql = cols.isEmpty() ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quoteIdent(m_table))
                                           : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                                 .arg(quoteIdent(m_table), cols.join(QLatin1Char(',')),
                                                      QStringList(cols.size(), QStringLiteral("?")).join(','));
        Statement st(*m_conn, sql);
        for (size_t i = 0; i < binds.size(); ++i)
            st.bind(static_cast<int>(i) + 1, binds[i]);
        st.step();
        m_rowids[row] = m_conn->lastInsertRowid();
    } else {
        // Only while the row is still the one this copy read: its key and each column changed as read.
        const std::vector<int> keys = keyFields();
        std::vector<int> check = keys;
        for (size_t i = 0; i < values.size(); ++i)
            if (dirty[i] && !m_fields[i].origin.isEmpty() &&
                std::find(check.begin(), check.end(), static_cast<int>(i)) == check.end())
                check.push_back(static_cast<int>(i));
        std::optional<Transaction> own;
        if (!m_conn->inTransaction())
            own.emplace(*m_conn);
        verifyAsRead(row, check, m_read, keys);
        if (!cols.isEmpty()) {
            const QString sql =
                QStringLiteral("UPDATE %1 SET %2 = ? WHERE rowid = ?").arg(quoteIdent(m_table), cols.join(" = ?, "));
            Statement st(*m_conn, sql);
            int k = 1;
            for (const QVariant& v : binds)
                st.bind(k++, v);
            st.bind(k, m_rowids[row]);
            st.step();
            if (m_conn->changes() == 0)
                throw DbError::conflict(DbError::Conflict::Deleted, m_table);
        }
        if (own)
            own->commit();
        // Written inside the caller's transaction: the cells as they were, should it roll back (read on demand,
        // the page is read anew instead).
        if (const quint64 tx = m_conn->currentTransaction(); tx != 0) {
            std::vector<QVariant> before(m_onDemand ? 0 : m_fields.size());
            for (size_t i = 0; i < before.size(); ++i)
                before[i] = m_store->value(row, static_cast<int>(i), false);
            m_unconfirmed.push_back({m_rowids[row], tx, std::move(before)});
        }
    }
    // Read on demand, the row's page is read anew when next shown.
    if (m_onDemand) {
        forgetPage(row);
        return;
    }
    // Read the row back: the database gives the autonumber and whatever it stored.
    readBack(row);
}

void Recordset::update() {
    if (m_edit == EditMode::None)
        return;
    reconcile();
    const bool insert = m_edit == EditMode::Add;
    storeRow(m_pos, m_buffer, m_dirty, insert);
    m_edit = EditMode::None;
    emit rowChanged(m_pos);
}

void Recordset::cancelUpdate() {
    if (m_edit == EditMode::Add) {
        const int row = m_pos;
        m_edit = EditMode::None;
        eraseRow(row);
        emit rowRemoved(row);
        setPosition(rowCount() == 0 ? -1 : qMin(row, rowCount() - 1));
        return;
    }
    m_edit = EditMode::None;
    if (!bof() && !eof())
        emit rowChanged(m_pos);
}

void Recordset::deleteCurrent() {
    requireUpdatable();
    checkCurrent();
    if (m_edit == EditMode::Add) {
        cancelUpdate();
        return;
    }
    const EditMode mode = m_edit;
    m_edit = EditMode::None;
    try {
        removeRow(m_pos);
    } catch (const DbError&) {
        m_edit = mode;
        throw;
    }
}

void Recordset::removeRow(int row) {
    requireUpdatable();
    if (row < 0 || row >= rowCount())
        return;
    m_conn->setLikeDialect(m_dialect);
    reconcile();
    {
        // Only the row this copy read: one that is gone, or another under its row id, is told and stays.
        const std::vector<int> keys = keyFields();
        std::vector<QVariant> asRead(m_fields.size());
        for (int k : keys)
            asRead[k] = storedValue(row, k);
        std::optional<Transaction> own;
        if (!m_conn->inTransaction())
            own.emplace(*m_conn);
        verifyAsRead(row, keys, asRead, keys);
        Statement st(*m_conn, QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(quoteIdent(m_table)));
        st.bind(1, m_rowids[row]);
        st.step();
        if (m_conn->changes() == 0)
            throw DbError::conflict(DbError::Conflict::Deleted, m_table);
        if (own)
            own->commit();
    }
    eraseRow(row);
    emit rowRemoved(row);
    // The row after the deleted one becomes current (EOF after the last).
    if (m_pos > row)
        --m_pos;
    setPosition(m_pos);
}

void Recordset::requery() {
    if (m_edit != EditMode::None)
        cancelUpdate();
    const int keep = m_pos;
    // A query that fails part-way still leaves new rows: grids and bound boxes are told either way.
    auto settle = [this, keep] {
        emit reset();
        m_pos = -2; // force the signal
        setPosition(rowCount() == 0 ? -1 : qBound(0, keep, rowCount() - 1));
    };
    try {
        load();
    } catch (...) {
        settle();
        throw;
    }
    settle();
}

void setKeyColumns(const QString& table, const QStringList& columns) {
    keyRegistry().insert(table.toLower(), columns);
}

qint64 Recordset::rowId(int row) const {
    return row >= 0 && row < static_cast<int>(m_rowids.size()) ? m_rowids[row] : 0;
}

int Recordset::rowWithId(qint64 id) const {
    if (id == 0)
        return -1;
    const auto it = std::find(m_rowids.begin(), m_rowids.end(), id);
    return it == m_rowids.end() ? -1 : static_cast<int>(it - m_rowids.begin());
}

std::vector<std::pair<int, QVariant>> Recordset::pendingFields() const {
    std::vector<std::pair<int, QVariant>> out;
    if (m_edit != EditMode::None)
        for (int i = 0; i < fieldCount(); ++i)
            if (m_dirty[i])
                out.emplace_back(i, m_buffer[i]);
    return out;
}

QVariant Recordset::value(int row, int col) const {
    if (row < 0 || row >= rowCount() || col < 0 || col >= fieldCount())
        return {};
    if (row == m_pos && m_edit != EditMode::None && m_dirty[col])
        return m_buffer[col];
    if (m_onDemand) {
        int local = 0;
        const RowStore& page = pageOf(row, local);
        return local < 0 ? QVariant() : page.value(local, col, m_fields[col].isDate);
    }
    return m_store->value(row, col, m_fields[col].isDate);
}

QString Recordset::text(int row, int col) const {
    if (row < 0 || row >= rowCount() || col < 0 || col >= fieldCount())
        return {};
    if (row == m_pos && m_edit != EditMode::None && m_dirty[col])
        return displayText(m_buffer[col]);
    if (m_onDemand) {
        int local = 0;
        const RowStore& page = pageOf(row, local);
        return local < 0 ? QString() : page.text(local, col, m_fields[col].isDate);
    }
    return m_store->text(row, col, m_fields[col].isDate);
}

void Recordset::eraseRow(int row) {
    if (m_onDemand)
        forgetPages(); // the rows after it move up a place
    else
        writableRows().eraseRow(row);
    m_rowids.erase(m_rowids.begin() + row);
}

RowStore& Recordset::writableRows() {
    // A grid may still show the rows as they were: it keeps that copy, this recordset changes its own.
    if (m_store.use_count() > 1)
        m_store = std::make_shared<RowStore>(*m_store);
    return *m_store;
}

void Recordset::setValue(int row, int col, const QVariant& v) {
    requireUpdatable();
    if (row != m_pos)
        moveTo(row);
    setField(col, v);
    update();
}

void Recordset::autoStoreBeforeMove() {
    if (m_edit == EditMode::None)
        return;
    // Through a data control an edited row is stored when the user moves off it; by path it is dropped.
    if (m_dialect == LikeDialect::Ado)
        update();
    else
        cancelUpdate();
}

void Recordset::setPosition(int pos) {
    if (pos == m_pos)
        return;
    m_pos = pos;
    emit currentChanged(pos);
}

void Recordset::moveTo(int row) {
    if (row == m_pos && m_edit == EditMode::None)
        return;
    autoStoreBeforeMove();
    setPosition(qBound(-1, row, rowCount()));
}

void Recordset::moveFirst() {
    if (rowCount() == 0)
        throw noCurrentRecord();
    moveTo(0);
}

void Recordset::moveLast() {
    if (rowCount() == 0)
        throw noCurrentRecord();
    moveTo(rowCount() - 1);
}

void Recordset::moveNext() {
    if (eof())
        throw noCurrentRecord();
    moveTo(m_pos + 1);
}

void Recordset::movePrevious() {
    if (bof())
        throw noCurrentRecord();
    moveTo(m_pos - 1);
}

bool Recordset::find(const QString& criterion) {
    const int row = locate(criterion, qMax(0, m_pos));
    moveTo(row < 0 ? rowCount() : row);
    return row >= 0;
}

int Recordset::locate(const QString& criterion, int from, int skip) const {
    static const QRegularExpression re(QStringLiteral("^\\s*\\[?([^\\]<>=]+?)\\]?\\s*(LIKE|=|<>)\\s*'(.*)'\\s*$"),
                                       QRegularExpression::CaseInsensitiveOption |
                                           QRegularExpression::DotMatchesEverythingOption);
    const auto m = re.match(criterion);
    if (!m.hasMatch())
        throw DbError(QStringLiteral("Invalid criterion for Find: %1").arg(criterion));
    const int col = fieldIndex(m.captured(1).trimmed());
    if (col < 0)
        throw noSuchField(m.captured(1));
    const QString op = m.captured(2).toUpper();
    const QString wanted = m.captured(3).replace(QLatin1String("''"), QLatin1String("'"));
    // ADO's Find takes * as well as % for "any characters".
    QString pattern = wanted;
    pattern.replace(QLatin1Char('*'), QLatin1Char('%'));
    auto hit = [&](const QVariant& v) {
        if (isNull(v))
            return false;
        const QString text = displayText(v);
        if (op == QLatin1String("LIKE"))
            return jet::likeMatch(text, pattern, LikeDialect::Ado);
        if (op == QLatin1String("="))
            return text.compare(wanted, Qt::CaseInsensitive) == 0;
        return text.compare(wanted, Qt::CaseInsensitive) != 0;
    };
    from = qMax(0, from);
    if (!m_onDemand || m_fields[col].origin.isEmpty()) {
        for (int r = from; r < rowCount(); ++r)
            if (r != skip && hit(value(r, col)))
                return r;
        return -1;
    }
    // Read on demand: one pass over the column in the table, then the rows in the list's order. A plain ASCII
    // text asked for whole is looked up through the column's index: NOCASE finds every row that equals it
    // without regard to case, and each is checked as above.
    std::unordered_set<qint64> hits;
    const bool isDate = m_fields[col].isDate;
    const bool like = op == QLatin1String("LIKE");
    static const QRegularExpression wild(QStringLiteral("[%_\\[\\]*?#]"));
    bool ascii = true;
    for (const QChar c : wanted)
        ascii = ascii && c.unicode() < 0x80;
    const bool whole = m_fields[col].isText && ascii && (op == QLatin1String("=") || (like && !wanted.contains(wild)));
    QString scan =
        QStringLiteral("SELECT rowid, %1 FROM %2").arg(quoteIdent(m_fields[col].origin), quoteIdent(m_table));
    if (whole)
        scan += QStringLiteral(" WHERE %1 = ? COLLATE NOCASE").arg(quoteIdent(m_fields[col].origin));
    Statement all(*m_conn, scan);
    if (whole)
        all.bind(1, wanted);
    const QByteArray likePattern = pattern.toUtf8();
    while (all.step()) {
        sqlite3_stmt* st = all.handle();
        const int type = sqlite3_column_type(st, 1);
        bool yes = false;
        if (like && !isDate && type == SQLITE_TEXT) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(st, 1));
            yes = jet::likeMatchUtf8(text, sqlite3_column_bytes(st, 1), likePattern.constData(),
                                     static_cast<int>(likePattern.size()), LikeDialect::Ado);
        } else {
            QVariant v = all.column(1);
            if (isDate && v.typeId() == QMetaType::QString)
                v = fromStorage(v.toString());
            yes = hit(v);
        }
        if (yes)
            hits.insert(sqlite3_column_int64(st, 0));
    }
    for (int r = from; r < rowCount(); ++r) {
        if (r == skip)
            continue;
        // The row being edited or added is judged by what it shows.
        if (r == m_pos && m_edit != EditMode::None) {
            if (hit(value(r, col)))
                return r;
        } else if (m_rowids[r] != 0 && hits.count(m_rowids[r])) {
            return r;
        }
    }
    return -1;
}

} // namespace db

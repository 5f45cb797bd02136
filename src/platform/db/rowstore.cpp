#include "platform/db/rowstore.h"

#include "platform/db/values.h"

#include <limits>
#include <sqlite3.h>

namespace db {

void RowStore::reserveRows(int rows) {
    m_cells.reserve(static_cast<std::size_t>(rows) * m_cols);
    m_tags.reserve(static_cast<std::size_t>(rows) * m_cols);
}

void RowStore::putText(Cell& c, std::uint8_t& tag, const char* data, std::size_t len) {
    constexpr auto limit = std::numeric_limits<std::uint32_t>::max();
    if (m_text.size() + len > limit) {
        putOther(c, tag, QString::fromUtf8(data, static_cast<qsizetype>(len)));
        return;
    }
    c.t.off = static_cast<std::uint32_t>(m_text.size());
    c.t.len = static_cast<std::uint32_t>(len);
    m_text.append(data, len);
    tag = Text;
}

void RowStore::putOther(Cell& c, std::uint8_t& tag, const QVariant& v) {
    c.other = static_cast<std::uint32_t>(m_other.size());
    m_other.push_back(v);
    tag = Other;
}

void RowStore::appendFrom(sqlite3_stmt* st, int first) {
    const std::size_t at = m_cells.size();
    m_cells.resize(at + m_cols);
    m_tags.resize(at + m_cols);
    for (int i = 0; i < m_cols; ++i) {
        Cell& c = m_cells[at + i];
        std::uint8_t& tag = m_tags[at + i];
        // One call per cell that takes the connection's lock; the value is read at once, on this thread.
        sqlite3_value* v = sqlite3_column_value(st, first + i);
        switch (sqlite3_value_type(v)) {
        case SQLITE_NULL:
            tag = Null;
            break;
        case SQLITE_INTEGER:
            c.i = sqlite3_value_int64(v);
            tag = Int;
            break;
        case SQLITE_FLOAT:
            c.d = sqlite3_value_double(v);
            tag = Real;
            break;
        default: {
            const auto* t = reinterpret_cast<const char*>(sqlite3_value_text(v));
            putText(c, tag, t, static_cast<std::size_t>(sqlite3_value_bytes(v)));
        }
        }
    }
    ++m_rows;
}

void RowStore::appendNullRow() {
    m_cells.resize(m_cells.size() + m_cols);
    m_tags.resize(m_tags.size() + m_cols, Null);
    ++m_rows;
}

void RowStore::eraseRow(int row) {
    // The row's texts stay in the buffer unused; the store goes whole with its recordset.
    m_cells.erase(m_cells.begin() + index(row, 0), m_cells.begin() + index(row + 1, 0));
    m_tags.erase(m_tags.begin() + index(row, 0), m_tags.begin() + index(row + 1, 0));
    --m_rows;
}

QVariant RowStore::value(int row, int col, bool isDate) const {
    const std::size_t k = index(row, col);
    const Cell& c = m_cells[k];
    switch (m_tags[k]) {
    case Int:
        return QVariant(static_cast<qlonglong>(c.i));
    case Real:
        return QVariant(c.d);
    case Text: {
        QString s = QString::fromUtf8(m_text.data() + c.t.off, c.t.len);
        return isDate ? fromStorage(s) : QVariant(std::move(s));
    }
    case Other: {
        const QVariant& v = m_other[c.other];
        return isDate && v.typeId() == QMetaType::QString ? fromStorage(v.toString()) : v;
    }
    default:
        return {};
    }
}

QString RowStore::text(int row, int col, bool isDate) const {
    const std::size_t k = index(row, col);
    if (m_tags[k] == Text && !isDate)
        return QString::fromUtf8(m_text.data() + m_cells[k].t.off, m_cells[k].t.len);
    if (m_tags[k] == Null)
        return {};
    return displayText(value(row, col, isDate));
}

void RowStore::set(int row, int col, const QVariant& v) {
    const std::size_t k = index(row, col);
    Cell& c = m_cells[k];
    std::uint8_t& tag = m_tags[k];
    if (db::isNull(v)) {
        tag = Null;
        return;
    }
    switch (v.typeId()) {
    case QMetaType::LongLong:
        c.i = v.toLongLong();
        tag = Int;
        break;
    case QMetaType::Double:
        c.d = v.toDouble();
        tag = Real;
        break;
    case QMetaType::QString: {
        const QByteArray utf8 = static_cast<const QString*>(v.constData())->toUtf8();
        putText(c, tag, utf8.constData(), static_cast<std::size_t>(utf8.size()));
        break;
    }
    default:
        putOther(c, tag, v);
    }
}

} // namespace db

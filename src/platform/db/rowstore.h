#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <cstdint>
#include <string>
#include <vector>

struct sqlite3_stmt;

namespace db {

// The cells of a recordset in a few flat arrays: texts as UTF-8 in one buffer, whole numbers and reals as
// they are, a tag per cell. A result of many thousand rows costs a handful of allocations instead of one per
// row and one per text cell, and QVariants and QStrings are made only for the cells someone reads.
class RowStore {
public:
    explicit RowStore(int cols) : m_cols(cols) {}

    int rowCount() const { return m_rows; }
    int colCount() const { return m_cols; }

    // Appends the statement's current row: result columns first .. first + colCount() - 1.
    void appendFrom(sqlite3_stmt* st, int first);
    void appendNullRow();
    void eraseRow(int row);
    void reserveRows(int rows);

    bool isNull(int row, int col) const { return m_tags[index(row, col)] == Null; }
    // A date column's text turns into a date, as when read from the database.
    QVariant value(int row, int col, bool isDate) const;
    // db::displayText(value(row, col, isDate)), without the QVariant for texts.
    QString text(int row, int col, bool isDate) const;
    void set(int row, int col, const QVariant& v);

private:
    enum Tag : std::uint8_t { Null, Int, Real, Text, Other };
    union Cell {
        qint64 i;
        double d;
        struct {
            std::uint32_t off, len;
        } t;
        std::uint32_t other;
    };
    std::size_t index(int row, int col) const { return static_cast<std::size_t>(row) * m_cols + col; }
    void putText(Cell& c, std::uint8_t& tag, const char* data, std::size_t len);
    void putOther(Cell& c, std::uint8_t& tag, const QVariant& v);

    int m_cols;
    int m_rows = 0;
    std::vector<Cell> m_cells;
    std::vector<std::uint8_t> m_tags;
    std::string m_text;
    std::vector<QVariant> m_other; // texts past 4 GB and values of other types
};

} // namespace db

#pragma once

#include "reports/progress.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <optional>
#include <vector>

class PageFile;
namespace db {
class Connection;
class Database;
class Statement;
} // namespace db

// The rows of one report query, read one at a time up to a limit, so that a capped list never reads more
// than it shows. Date columns come back as dates, as a recordset gives them.
class ReportRows {
public:
    ReportRows(); // no rows
    ReportRows(std::shared_ptr<db::Connection> conn, const QString& jetSql, int limit, bool tolerant);
    // A statement in the engine's own SQL with one parameter (?1), run again for each value by rerun().
    static ReportRows prepared(std::shared_ptr<db::Connection> conn, const QString& sql, bool tolerant);
    void rerun(const QVariant& parameter);
    ~ReportRows();
    ReportRows(ReportRows&&) noexcept;
    ReportRows& operator=(ReportRows&&) noexcept;

    // Moves to the next row; false at the end, at the limit, or (tolerant) when reading fails.
    bool next();
    // A field of the current row by name, without regard to case; Null when there is no such field.
    QVariant field(const QString& name) const;
    // The field as a page shows it ("" for Null) and with "---" for Null.
    QString text(const QString& name) const;
    QString dashed(const QString& name) const;

private:
    void prepare(const QString& sql);
    QString shown(const QVariant& value) const;

    std::shared_ptr<db::Connection> m_conn;
    std::unique_ptr<db::Statement> m_st;
    bool m_done = false;
    QStringList m_names;
    std::vector<bool> m_isDate;
    std::vector<QVariant> m_row;
    QString m_datePattern; // the short date, worked out once per query
    int m_limit = -1;
    int m_read = 0;
    bool m_tolerant = false;
};

// Thrown through a writer whose progress asked it to stop; its page is dropped and the older one stays.
struct ReportCancelled {};

// What one report reads: one open database for the whole report. A tolerant source (the writers that skip a
// failing step) turns every failing read into nothing read; otherwise db::DbError reaches the writer's caller.
class ReportSource {
public:
    ReportSource(const QString& dbPath, bool tolerant);
    ~ReportSource();

    bool tolerant() const { return m_tolerant; }
    db::Database* database() { return m_db.get(); }

    ReportRows rows(const QString& jetSql, int limit = -1);
    // custname, asked once per reference within the report.
    QString customerName(const QString& reference);
    // The notes block of one call (notescall set to the number first).
    void notes(PageFile& page, const QVariant& call);

    // Told after each row a list writes (the total is not known ahead); throws ReportCancelled when it asks
    // to stop.
    void setProgress(Progress progress) { m_progress = std::move(progress); }
    void rowWritten();

private:
    std::unique_ptr<db::Database> m_db;
    bool m_tolerant;
    QHash<QString, QString> m_names;
    // Prepared once per report: a list asks them once for every row.
    std::unique_ptr<ReportRows> m_nameQuery;
    std::unique_ptr<ReportRows> m_notesQuery;
    Progress m_progress;
    qint64 m_rowsWritten = 0;
};

// The three lines of each note of a notes query, in its order.
void writeNoteRows(PageFile& page, ReportRows& notes);

// The first 150 characters of a call's description, or "---" when it has none.
QString q150(const ReportRows& row);

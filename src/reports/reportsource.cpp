#include "reports/reportsource.h"

#include "platform/db/database.h"
#include "platform/db/dberror.h"
#include "platform/db/jetsql.h"
#include "platform/db/values.h"
#include "reports/pagefile.h"
#include "reports/reportframe.h"
#include "shared/shared.h"
#include "shared/textout.h"

ReportRows::ReportRows() = default;

ReportRows::ReportRows(std::shared_ptr<db::Connection> conn, const QString& jetSql, int limit, bool tolerant)
    : m_conn(std::move(conn)), m_datePattern(db::shortDatePattern()), m_limit(limit), m_tolerant(tolerant) {
    try {
        prepare(db::jet::translate(jetSql).sql);
    } catch (const db::DbError&) {
        m_st.reset();
        if (!m_tolerant)
            throw;
    }
}

ReportRows ReportRows::prepared(std::shared_ptr<db::Connection> conn, const QString& sql, bool tolerant) {
    ReportRows rows;
    rows.m_conn = std::move(conn);
    rows.m_datePattern = db::shortDatePattern();
    rows.m_tolerant = tolerant;
    rows.m_done = true; // nothing to read until the first rerun()
    try {
        rows.prepare(sql);
    } catch (const db::DbError&) {
        rows.m_st.reset();
        if (!tolerant)
            throw;
    }
    return rows;
}

void ReportRows::prepare(const QString& sql) {
    m_conn->setLikeDialect(db::LikeDialect::Dao);
    m_st = std::make_unique<db::Statement>(*m_conn, sql);
    for (int i = 0; i < m_st->columnCount(); ++i) {
        m_names << m_st->columnName(i);
        m_isDate.push_back(m_st->columnDeclType(i).toUpper().startsWith(QLatin1String("DATE")));
    }
}

void ReportRows::rerun(const QVariant& parameter) {
    m_row.clear();
    m_read = 0;
    m_done = !m_st;
    if (m_st) {
        m_st->reset();
        m_st->bind(1, parameter);
    }
}

ReportRows::~ReportRows() = default;
ReportRows::ReportRows(ReportRows&&) noexcept = default;
ReportRows& ReportRows::operator=(ReportRows&&) noexcept = default;

bool ReportRows::next() {
    m_row.clear();
    if (!m_st || m_done || (m_limit >= 0 && m_read >= m_limit))
        return false;
    try {
        if (!m_st->step()) {
            m_done = true;
            return false;
        }
    } catch (const db::DbError&) {
        m_done = true;
        if (!m_tolerant)
            throw;
        return false;
    }
    ++m_read;
    m_row.reserve(m_names.size());
    for (int i = 0; i < m_names.size(); ++i) {
        QVariant v = m_st->column(i);
        if (m_isDate[i] && v.typeId() == QMetaType::QString)
            v = db::fromStorage(v.toString());
        m_row.push_back(std::move(v));
    }
    return true;
}

QVariant ReportRows::field(const QString& name) const {
    for (int i = 0; i < m_names.size() && i < static_cast<int>(m_row.size()); ++i)
        if (m_names[i].compare(name, Qt::CaseInsensitive) == 0)
            return m_row[i];
    return {};
}

QString ReportRows::shown(const QVariant& v) const {
    // Dates as displayText shows them, without working the pattern out for every cell.
    if (v.typeId() == QMetaType::QDate && !v.isNull())
        return v.toDate().toString(m_datePattern);
    return db::displayText(v);
}

QString ReportRows::text(const QString& name) const {
    return shown(field(name));
}

QString ReportRows::dashed(const QString& name) const {
    const QVariant v = field(name);
    return db::isNull(v) ? QStringLiteral("---") : shown(v);
}

ReportSource::ReportSource(const QString& dbPath, bool tolerant) : m_tolerant(tolerant) {
    try {
        m_db = std::make_unique<db::Database>(db::Database::open(dbPath));
    } catch (const db::DbError&) {
        if (!m_tolerant)
            throw;
    }
}

ReportSource::~ReportSource() = default;

ReportRows ReportSource::rows(const QString& jetSql, int limit) {
    if (!m_db)
        return {};
    return ReportRows(m_db->shared(), jetSql, limit, m_tolerant);
}

QString ReportSource::customerName(const QString& reference) {
    const auto it = m_names.constFind(reference);
    if (it != m_names.constEnd())
        return *it;
    QString name = QStringLiteral("User Not Found");
    if (m_db) {
        // custname's query, prepared once.
        try {
            if (!m_nameQuery)
                m_nameQuery = std::make_unique<ReportRows>(ReportRows::prepared(
                    m_db->shared(), QStringLiteral("SELECT Name, Location from Customers Where Username = ?1"), true));
            m_nameQuery->rerun(reference);
            if (m_nameQuery->next())
                name = m_nameQuery->text(QStringLiteral("Name"));
        } catch (const db::DbError&) {
            // no customer
        }
    }
    m_names.insert(reference, name);
    return name;
}

void ReportSource::notes(PageFile& page, const QVariant& call) {
    notescall() = db::displayText(call);
    bool number = false;
    const qint64 n = notescall().toLongLong(&number);
    if (!m_db || !number)
        return;
    // printnotes' query, prepared once.
    try {
        if (!m_notesQuery)
            m_notesQuery = std::make_unique<ReportRows>(
                ReportRows::prepared(m_db->shared(), QStringLiteral("Select * from Notes where Call = ?1"), false));
        m_notesQuery->rerun(n);
        writeNoteRows(page, *m_notesQuery);
    } catch (const db::DbError&) {
        if (!m_tolerant)
            throw;
    }
}

void ReportSource::rowWritten() {
    ++m_rowsWritten;
    if (!progressGoesOn(m_progress, m_rowsWritten, 0))
        throw ReportCancelled{};
}

void writeNoteRows(PageFile& page, ReportRows& notes) {
    const QString cell = QStringLiteral("</TD><TD Class=TDNarrow valign=top><i>");
    while (notes.next()) {
        page.writeLine("<TABLE Class=Notes><TR><TD Class=TDNarrow valign=top>&nbsp;</TD><TD Class=TDNarrow "
                       "valign=top><i>Note:</TD><TD class=TDLarge valign=top><i>" +
                       htmlText(notes.text(QStringLiteral("Note"))) + "</TD>");
        page.writeLine("<TD Class=TDNarrow valign=top><i>" + htmlText(notes.dashed(QStringLiteral("Analyst"))) + cell +
                       htmlText(notes.dashed(QStringLiteral("Note-date"))) + cell +
                       htmlText(notes.dashed(QStringLiteral("Note-time"))));
        page.writeLine(QStringLiteral("</TD></TR></TABLE>"));
    }
}

QString q150(const ReportRows& row) {
    const QVariant query = row.field(QStringLiteral("Query"));
    if (db::isNull(query))
        return QStringLiteral("---");
    return qv::leftWhole(db::displayText(query), 150);
}

#include "reports/reportsource.h"

#include "platform/db/database.h"
#include "platform/db/dberror.h"
#include "platform/db/jetsql.h"
#include "platform/db/values.h"
#include "reports/reportframe.h"
#include "shared/shared.h"

ReportRows::ReportRows() = default;

ReportRows::ReportRows(std::shared_ptr<db::Connection> conn, const QString& jetSql, int limit, bool tolerant)
    : m_conn(std::move(conn)), m_limit(limit), m_tolerant(tolerant) {
    try {
        const db::jet::Query q = db::jet::translate(jetSql);
        m_conn->setLikeDialect(db::LikeDialect::Dao);
        m_st = std::make_unique<db::Statement>(*m_conn, q.sql);
        for (int i = 0; i < m_st->columnCount(); ++i) {
            m_names << m_st->columnName(i);
            m_isDate.push_back(m_st->columnDeclType(i).toUpper().startsWith(QLatin1String("DATE")));
        }
    } catch (const db::DbError&) {
        m_st.reset();
        if (!m_tolerant)
            throw;
    }
}

ReportRows::~ReportRows() = default;
ReportRows::ReportRows(ReportRows&&) noexcept = default;
ReportRows& ReportRows::operator=(ReportRows&&) noexcept = default;

bool ReportRows::next() {
    m_row.clear();
    if (!m_st || (m_limit >= 0 && m_read >= m_limit))
        return false;
    try {
        if (!m_st->step()) {
            m_st.reset();
            return false;
        }
    } catch (const db::DbError&) {
        m_st.reset();
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

QString ReportRows::text(const QString& name) const {
    return db::displayText(field(name));
}

QString ReportRows::dashed(const QString& name) const {
    return nulldashText(field(name));
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
    const QString name = m_db ? db::displayText(custname(reference, *m_db)) : QStringLiteral("User Not Found");
    m_names.insert(reference, name);
    return name;
}

void ReportSource::notes(PageFile& page, const QVariant& call) {
    notescall() = db::displayText(call);
    if (!m_db)
        return;
    try {
        printnotes(page, *m_db);
    } catch (const db::DbError&) {
        if (!m_tolerant)
            throw;
    }
}

QString q150(const ReportRows& row) {
    const QVariant query = row.field(QStringLiteral("Query"));
    if (db::isNull(query))
        return QStringLiteral("---");
    return db::displayText(query).left(150);
}

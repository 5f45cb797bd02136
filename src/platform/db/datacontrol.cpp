#include "platform/db/datacontrol.h"

#include "platform/db/database.h"
#include "platform/db/dberror.h"
#include "platform/db/recordset.h"

namespace db {

DataControl::DataControl(QObject* parent) : QObject(parent) {}
DataControl::~DataControl() = default;

QString DataControl::connectionStringFor(const QString& path) {
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + path +
           QStringLiteral(";Persist Security Info=False");
}

QString DataControl::pathFromConnectionString(const QString& connection) {
    for (const QString& part : connection.split(QLatin1Char(';'))) {
        const int eq = part.indexOf(QLatin1Char('='));
        if (eq > 0 && part.left(eq).trimmed().compare(QLatin1String("Data Source"), Qt::CaseInsensitive) == 0)
            return part.mid(eq + 1).trimmed();
    }
    return {};
}

void DataControl::refresh() {
    const QString path = databasePath();
    if (path.isEmpty())
        throw DbError(QStringLiteral("The data control has no database."));
    // A pending edit is stored first, as moving off a row would store it.
    if (m_rs && m_rs->editMode() != Recordset::EditMode::None)
        m_rs->update();
    auto rs = std::make_unique<Recordset>(pool::acquire(path), m_source, LikeDialect::Ado,
                                          m_onDemand ? Recordset::Reading::OnDemand : Recordset::Reading::Whole);
    m_rs = std::move(rs);
    emit recordsetChanged(m_rs.get());
}

void DataControl::clear() {
    m_rs.reset();
    emit recordsetChanged(nullptr);
}

} // namespace db

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

QString DataControl::requiredPath() const {
    const QString path = databasePath();
    if (path.isEmpty())
        throw DbError(QStringLiteral("The data control has no database."));
    return path;
}

std::unique_ptr<Recordset> DataControl::readAnew(const QString& path) const {
    return std::make_unique<Recordset>(pool::acquire(path), m_source, LikeDialect::Ado,
                                       m_onDemand ? Recordset::Reading::OnDemand : Recordset::Reading::Whole);
}

void DataControl::refresh() {
    const QString path = requiredPath();
    // A pending edit is stored first, as moving off a row would store it.
    if (m_rs && m_rs->editMode() != Recordset::EditMode::None)
        m_rs->update();
    m_rs = readAnew(path);
    emit recordsetChanged(m_rs.get());
}

void DataControl::refreshInPlace(bool readEditAnew) {
    if (!m_rs) {
        refresh();
        return;
    }
    const QString path = requiredPath();
    const Recordset& old = *m_rs;
    const Recordset::EditMode mode = old.editMode();
    const bool onRow = !old.bof() && !old.eof();
    const qint64 id = onRow ? old.rowId(old.absolutePosition()) : 0;
    std::vector<std::pair<QString, QVariant>> pending;
    for (const auto& [i, value] : old.pendingFields())
        pending.emplace_back(old.fieldName(i), value);
    // The old rows and their pending edit stay until the new ones stand where they did.
    auto rs = readAnew(path);
    if (mode == Recordset::EditMode::Add) {
        rs->addNew();
    } else if (id != 0) {
        const int row = rs->rowWithId(id);
        if (row < 0 && mode == Recordset::EditMode::Edit)
            return;
        rs->moveTo(row < 0 ? rs->recordCount() : row);
        if (mode == Recordset::EditMode::Edit) {
            rs->edit();
            if (!readEditAnew)
                rs->keepReadOf(old);
        }
    } else if (onRow) { // rows without identity (a query over more than one table) keep their place
        rs->moveTo(qMin(old.absolutePosition(), rs->recordCount() - 1));
    } else {
        // Off the rows it stays off them, an empty list too: a row it never stood on is not taken.
        rs->moveTo(old.bof() ? -1 : rs->recordCount());
    }
    for (const auto& [name, value] : pending)
        rs->setField(name, value);
    m_rs = std::move(rs);
    emit recordsetChanged(m_rs.get());
}

void DataControl::clear() {
    m_rs.reset();
    emit recordsetChanged(nullptr);
}

} // namespace db

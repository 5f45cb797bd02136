#include "callentry/callstore.h"

#include "callentry/callrules.h"
#include "customers/inventoryrules.h"
#include "platform/db/database.h"
#include "platform/db/datacontrol.h"
#include "platform/db/dberror.h"
#include "platform/db/recordset.h"
#include "platform/db/values.h"
#include "shared/shared.h"

#include <QDir>
#include <QFile>
#include <vector>

namespace {

const QString EmptyCall = QStringLiteral("SELECT * from Calls where Nom = 0");

QString callSql(qint64 nom) {
    return QStringLiteral("SELECT * from Calls where Nom = ") + QString::number(nom);
}

} // namespace

QString CallStore::noCallSql() {
    return EmptyCall;
}

using callrules::fieldText;

namespace {

db::Recordset* currentRow(const db::DataControl& control) {
    db::Recordset* rs = control.recordset();
    return rs && !rs->bof() && !rs->eof() ? rs : nullptr;
}

// A row's pending values and edit mode before a save, put back when the transaction that stored them rolls
// back: the recordset then holds the same unsaved row again, and a second save writes only what was typed.
class PendingRow {
public:
    explicit PendingRow(db::Recordset* rs) {
        if (!rs)
            return;
        m_mode = rs->editMode();
        m_values = rs->pendingFields();
    }
    void restore(db::Recordset* rs) const {
        if (!rs || m_mode == db::Recordset::EditMode::None || rs->editMode() != db::Recordset::EditMode::None)
            return; // nothing was pending, or it still is
        if (m_mode == db::Recordset::EditMode::Add)
            rs->addNew();
        else
            rs->edit();
        for (const auto& [i, value] : m_values)
            rs->setField(i, value);
    }

private:
    db::Recordset::EditMode m_mode = db::Recordset::EditMode::None;
    std::vector<std::pair<int, QVariant>> m_values;
};

} // namespace

CallStore::CallStore(db::DataControl& calls, db::DataControl& customers) : m_calls(calls), m_customers(customers) {}

db::Recordset* CallStore::call() const {
    return currentRow(m_calls);
}

db::Recordset* CallStore::customer() const {
    return currentRow(m_customers);
}

std::optional<qint64> CallStore::currentCall() const {
    const QString nom = currentCallText();
    bool ok = false;
    const qint64 n = nom.toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return n;
}

QString CallStore::currentCallText() const {
    return fieldText(call(), QStringLiteral("Nom"));
}

bool CallStore::newCustomer() const {
    db::Recordset* rs = customer();
    return rs && rs->editMode() == db::Recordset::EditMode::Add;
}

std::shared_ptr<db::Connection> CallStore::connection() const {
    if (db::Recordset* rs = m_calls.recordset())
        return rs->connection();
    const QString path = m_calls.databasePath();
    if (path.isEmpty())
        throw db::DbError(QStringLiteral("The data control has no database."));
    return db::pool::acquire(path);
}

qint64 CallStore::create(const NewCallDefaults& defaults, const QDateTime& now, bool withNewCustomer) {
    qint64 nom = 0;
    try {
        // Moving off a call that was open on the panel stores what was typed into it, as the bound boxes do.
        m_calls.setRecordSource(EmptyCall);
        m_calls.refresh();
        db::Recordset* rs = m_calls.recordset();
        rs->addNew();
        rs->setField(QStringLiteral("Date Opened"), now.date());
        rs->setField(QStringLiteral("Time Opened"), now.time());
        rs->setField(QStringLiteral("Logged"), defaults.analyst);
        rs->setField(QStringLiteral("User"), defaults.unassigned ? callrules::Unassigned : defaults.analyst);
        if (!defaults.categories.isEmpty())
            rs->setField(QStringLiteral("sp3"), defaults.categories.first());
        if (!defaults.statuses.isEmpty())
            rs->setField(QStringLiteral("Status"), defaults.statuses.first());
        rs->setField(QStringLiteral("Field1"), callrules::OpenFor);
        if (defaults.audit)
            rs->setField(QStringLiteral("Audit"),
                         callrules::auditLine(now, defaults.datePattern,
                                              QStringLiteral("Call was Logged by ") + defaults.analyst));
        rs->update();
        nom = rs->field(QStringLiteral("Nom")).toLongLong();
        m_calls.setRecordSource(callSql(nom));
        m_calls.refresh();
        if (withNewCustomer)
            if (db::Recordset* customers = m_customers.recordset())
                customers->addNew();
    } catch (const db::DbError&) {
        if (nom > 0) {
            try {
                remove(m_calls.databasePath(), nom, QString());
            } catch (const db::DbError&) {
            }
        }
        throw;
    }
    return nom;
}

bool CallStore::open(qint64 nom) {
    m_calls.setRecordSource(callSql(nom));
    m_calls.refresh();
    return call() != nullptr;
}

void CallStore::leave() {
    m_calls.setRecordSource(EmptyCall);
    m_calls.refresh();
}

void CallStore::save(const QString& reference) {
    db::Recordset* rs = call();
    if (!rs)
        throw db::DbError(QStringLiteral("There is no call to save."));
    db::Recordset* person = customer();
    const bool storesCustomer = newCustomer();
    const PendingRow pendingCustomer(person);
    const PendingRow pendingCall(rs);
    const std::shared_ptr<db::Connection> conn = rs->connection();
    try {
        // Both rows are stored through this one connection, so the transaction holds them both.
        if (person && person->connection() != conn)
            throw db::DbError(QStringLiteral("The customer and the call are not in the same database."));
        db::Transaction tx(*conn);
        if (person) {
            if (storesCustomer && callrules::referenceTaken(*conn, reference))
                throw db::DbError(callrules::referenceTakenMessage(reference));
            // Another copy may have renamed the customer since this one read them: the call takes the texts
            // only where this copy changed them or the call's customer.
            const bool otherCustomer = reference != fieldText(rs, QStringLiteral("Username"));
            bool texts = storesCustomer || otherCustomer;
            for (const auto& [i, value] : person->pendingFields())
                for (const char* name : {"Name", "Extension", "Location"})
                    texts = texts || person->fieldName(i).compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
            person->update();
            if (otherCustomer)
                rs->setField(QStringLiteral("Username"), reference);
            if (texts) {
                // As stored now: the list may have been read before another copy changed the customer.
                QStringList now = {fieldText(person, QStringLiteral("Name")),
                                   fieldText(person, QStringLiteral("Extension")),
                                   fieldText(person, QStringLiteral("Location"))};
                db::Statement st(*conn,
                                 QStringLiteral("SELECT Name, Extension, Location FROM Customers WHERE rowid = ?"));
                st.bind(1, person->rowId(person->absolutePosition()));
                if (st.step())
                    for (int i = 0; i < 3; ++i)
                        now[i] = db::displayText(st.column(i));
                rs->setField(QStringLiteral("sp2"), now[0]);
                rs->setField(QStringLiteral("Contact"), callrules::contactText(now[1], now[2]));
            }
        }
        rs->update();
        tx.commit();
    } catch (const db::DbError&) {
        try {
            // A new customer stored in memory only: read the list again, then add it anew.
            if (storesCustomer && person->editMode() == db::Recordset::EditMode::None)
                m_customers.refresh();
            pendingCustomer.restore(storesCustomer ? m_customers.recordset() : person);
            pendingCall.restore(rs);
        } catch (const db::DbError&) {
        }
        throw;
    }
}

bool CallStore::referenceTaken(const QString& unchangedReference) const {
    db::Recordset* person = customer();
    if (!person)
        return false;
    const bool adding = person->editMode() == db::Recordset::EditMode::Add;
    const QString reference = fieldText(person, QStringLiteral("Username"));
    if (!adding && reference == unchangedReference)
        return false;
    return callrules::referenceTaken(*person->connection(), reference,
                                     adding ? 0 : person->rowId(person->absolutePosition()));
}

callrules::Carried CallStore::saveCustomer(const QString& oldReference, bool carry) {
    db::Recordset* person = customer();
    if (!person)
        throw db::DbError(QStringLiteral("There is no customer to save."));
    const bool adding = person->editMode() == db::Recordset::EditMode::Add;
    const qint64 id = adding ? 0 : person->rowId(person->absolutePosition());
    const auto typed = person->pendingFields();
    const std::shared_ptr<db::Connection> conn = person->connection();
    callrules::Carried carried;
    try {
        db::Transaction tx(*conn);
        if (referenceTaken(oldReference))
            throw db::DbError(callrules::referenceTakenMessage(fieldText(person, QStringLiteral("Username"))));
        if (!adding) {
            db::Statement there(*conn, QStringLiteral("SELECT 1 FROM Customers WHERE rowid = ?"));
            there.bind(1, id);
            if (!there.step())
                throw db::DbError(QStringLiteral("The customer has been deleted meanwhile."));
        }
        if (carry && !adding)
            carried = callrules::carryCustomerChange(*conn, oldReference, fieldText(person, QStringLiteral("Username")),
                                                     fieldText(person, QStringLiteral("Name")), id);
        person->update();
        tx.commit();
        return carried;
    } catch (const db::DbError&) {
        // Stored in memory only: the row is read again and takes what was typed once more.
        if (person->editMode() == db::Recordset::EditMode::None && (adding || !typed.empty())) {
            try {
                m_customers.refreshInPlace();
                db::Recordset* rs = m_customers.recordset();
                if (adding)
                    rs->addNew();
                else if (!rs->bof() && !rs->eof())
                    rs->edit();
                if (rs->editMode() != db::Recordset::EditMode::None)
                    for (const auto& [i, value] : typed)
                        rs->setField(i, value);
            } catch (const db::DbError&) {
            }
        }
        throw;
    }
}

void CallStore::close(const QDateTime& now) {
    if (db::Recordset* rs = call())
        callrules::closeCall(*rs, now);
}

void CallStore::reopen(const QString& status) {
    if (db::Recordset* rs = call())
        callrules::reopenCall(*rs, status);
}

void CallStore::audit(const QDateTime& now, const QString& datePattern, const QString& line) {
    db::Recordset* rs = call();
    if (!rs)
        return;
    rs->setField(QStringLiteral("Audit"), callrules::appendAuditLine(fieldText(rs, QStringLiteral("Audit")),
                                                                     callrules::auditLine(now, datePattern, line)));
}

void CallStore::cancel(bool isNew, const QString& attachFolder) {
    db::Recordset* rs = m_calls.recordset();
    db::Recordset* person = m_customers.recordset();
    if (isNew) {
        // Removed first: a call that cannot be removed keeps what was typed into it.
        try {
            remove(m_calls.databasePath(), currentCall().value_or(0), attachFolder);
        } catch (const db::DbError& e) {
            throw db::DbError(QStringLiteral("The cancelled call could not be removed:\n") + e.message(), e.code(),
                              e.extendedCode(), e.sql());
        }
    }
    if (person && person->editMode() != db::Recordset::EditMode::None)
        person->cancelUpdate();
    if (rs && rs->editMode() != db::Recordset::EditMode::None)
        rs->cancelUpdate();
}

CallStore::Info CallStore::info(const QString& reference) const {
    Info out;
    const std::optional<qint64> nom = currentCall();
    if (!nom)
        return out;
    auto database = db::Database::open(m_calls.databasePath());
    auto notes =
        database.openRecordset(QStringLiteral("SELECT count(*) from Notes where Call = ") + QString::number(*nom));
    out.notes = notes->eof() ? 0 : notes->field(0).toInt();
    if (!reference.isEmpty()) {
        auto inv = database.openRecordset(
            inventoryrules::customerItems(reference, callrules::caseTwin(database.connection(), reference)));
        const int type = inv->fieldIndex(QStringLiteral("Type"));
        const int number = inv->fieldIndex(QStringLiteral("Number"));
        for (; !inv->eof(); inv->moveNext())
            out.items << callrules::itemText(db::displayText(inv->field(type)), db::displayText(inv->field(number)));
    }
    return out;
}

std::optional<QString> CallStore::storedAudit(qint64 nom) const {
    auto database = db::Database::open(m_calls.databasePath());
    const auto rs =
        database.openRecordset(QStringLiteral("SELECT Audit from Calls Where Nom = ") + QString::number(nom));
    if (rs->eof() || db::isNull(rs->field(0)))
        return std::nullopt;
    return db::displayText(rs->field(0));
}

QString CallStore::closeMail(const QString& address, qint64 nom) {
    if (ReadINI(QStringLiteral("Email-Settings"), QStringLiteral("Close Message"), QStringLiteral("False")) !=
        QLatin1String("True"))
        return {};
    const QString subject = ReadINI(QStringLiteral("Email-Settings"), QStringLiteral("Close Message Text"),
                                    QStringLiteral("Your call # has been closed"));
    return callrules::closeMailLink(address, subject, nom);
}

QStringList CallStore::attachments(const QString& folder, qint64 nom) {
    if (folder.isEmpty())
        return {};
    return QDir(folder).entryList({QStringLiteral("Call-%1-*").arg(nom)}, QDir::Files);
}

void CallStore::remove(const QString& databasePath, qint64 nom, const QString& attachFolder) {
    if (nom <= 0)
        return;
    {
        auto database = db::Database::open(databasePath);
        db::Transaction tx(database.connection());
        database.execute(QStringLiteral("DELETE FROM Notes WHERE Call = ") + QString::number(nom));
        database.execute(QStringLiteral("DELETE FROM Calls WHERE Nom = ") + QString::number(nom));
        tx.commit();
    }
    // The files go with the rows; a call that could not be removed keeps them.
    for (const QString& name : attachments(attachFolder, nom))
        QFile::remove(QDir(attachFolder).filePath(name));
}

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

// What was typed into a row before a save: its edit mode, its row id and its pending values. A save that rolled
// back reads the row anew from the file (what it stored in memory went with the transaction) and puts the typed
// values back on it, unstored, so a second save writes what was typed and nothing more.
class PendingRow {
public:
    explicit PendingRow(db::Recordset* rs) {
        if (!rs)
            return;
        m_mode = rs->editMode();
        m_id = rs->bof() || rs->eof() ? 0 : rs->rowId(rs->absolutePosition());
        m_values = rs->pendingFields();
    }
    bool typed() const { return !m_values.empty() || m_mode == db::Recordset::EditMode::Add; }
    bool has(const db::Recordset& rs, const char* column) const {
        for (const auto& [i, value] : m_values)
            if (rs.fieldName(i).compare(QLatin1String(column), Qt::CaseInsensitive) == 0)
                return true;
        return false;
    }
    // `also` is set after the typed values (what the row is to show besides them).
    void restore(db::DataControl& control, const std::vector<std::pair<int, QVariant>>& also = {}) const {
        db::Recordset* rs = control.recordset();
        if (!rs)
            return;
        if (rs->editMode() == db::Recordset::EditMode::Edit)
            rs->cancelUpdate(); // what the save set beside the typed values
        bool back = false;
        if (m_mode == db::Recordset::EditMode::Add) {
            if (rs->editMode() != db::Recordset::EditMode::Add)
                rs->addNew();
            back = true;
        } else if (m_mode == db::Recordset::EditMode::Edit && !rs->bof() && !rs->eof() &&
                   rs->rowId(rs->absolutePosition()) == m_id) {
            rs->edit();
            back = true;
        }
        if (back) {
            for (const auto& [i, value] : m_values)
                rs->setField(i, value);
            for (const auto& [i, value] : also)
                rs->setField(i, value);
        }
        // Read anew: what the save stored in memory went with the transaction; the typed values stay pending.
        control.refreshInPlace(true);
    }

private:
    db::Recordset::EditMode m_mode = db::Recordset::EditMode::None;
    qint64 m_id = 0;
    std::vector<std::pair<int, QVariant>> m_values;
};

bool pending(const db::Recordset* rs) {
    return rs && rs->editMode() != db::Recordset::EditMode::None;
}

// The value of the current row's column as this copy read it (a pending value left aside).
QString readText(const db::Recordset& rs, int col) {
    return rs.rows()->text(rs.absolutePosition(), col, rs.isDateField(col));
}

// A customer row as the file holds it; exists is false when another copy deleted it.
struct StoredCustomer {
    bool exists = false;
    QString reference, name, phone, address;
};

StoredCustomer storedCustomer(db::Connection& conn, qint64 id) {
    StoredCustomer out;
    db::Statement st(conn, QStringLiteral("SELECT Username, Name, Extension, Location FROM Customers WHERE rowid = ?"));
    st.bind(1, id);
    if (!st.step())
        return out;
    out.exists = true;
    out.reference = db::displayText(st.column(0));
    out.name = db::displayText(st.column(1));
    out.phone = db::displayText(st.column(2));
    out.address = db::displayText(st.column(3));
    return out;
}

// The customer a reference names in the file: the one whose reference is the text exactly, else one alike but for
// case; 0 when none.
qint64 customerWithReference(db::Connection& conn, const QString& reference) {
    db::Statement st(conn, QStringLiteral("SELECT rowid FROM Customers WHERE ") +
                               callrules::referenceMatch(QStringLiteral("Username"), reference, QStringLiteral("?1")) +
                               QStringLiteral(" ORDER BY Username = ?1 COLLATE BINARY DESC, rowid LIMIT 1"));
    st.bind(1, reference);
    return st.step() ? st.column(0).toLongLong() : 0;
}

const QString CustomerGone = QStringLiteral("The customer has been deleted by another copy of Quorvane meanwhile.");
const QString CallGone = QStringLiteral("The call has been deleted by another copy of Quorvane meanwhile.");

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
        // A call open on the panel is put away first, as Save stores it; refused, it stays and nothing is added.
        leave();
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
        show(callSql(nom));
        if (withNewCustomer)
            if (db::Recordset* customers = m_customers.recordset())
                customers->addNew();
    } catch (const db::DbError&) {
        // A new row the database refused is not stored later by another move.
        if (db::Recordset* rs = m_calls.recordset(); rs && rs->editMode() == db::Recordset::EditMode::Add)
            rs->cancelUpdate();
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
    storeTyped();
    show(callSql(nom));
    return call() != nullptr;
}

void CallStore::leave() {
    storeTyped();
    show(EmptyCall);
}

void CallStore::storeTyped() {
    // An added call row the database never took (the customer commands' placeholder) is not stored here.
    if (db::Recordset* rs = m_calls.recordset(); rs && rs->editMode() == db::Recordset::EditMode::Add)
        rs->cancelUpdate();
    if (call() && (pending(call()) || pending(customer())))
        save(fieldText(customer(), QStringLiteral("Username")));
}

void CallStore::show(const QString& sql) {
    m_calls.setRecordSource(sql);
    m_calls.refresh();
}

void CallStore::save(const QString& reference) {
    db::Recordset* rs = call();
    if (!rs)
        throw db::DbError(QStringLiteral("There is no call to save."));
    db::Recordset* person = customer();
    const bool storesCustomer = newCustomer();
    const PendingRow typedCustomer(person);
    const PendingRow typedCall(rs);
    const std::shared_ptr<db::Connection> conn = rs->connection();
    const int auditCol = rs->fieldIndex(QStringLiteral("Audit"));
    // The lines this copy added to the audit text it read go onto the one the file holds at the save.
    std::optional<QString> addedAudit;
    if (typedCall.has(*rs, "Audit"))
        addedAudit = callrules::addedAuditLines(readText(*rs, auditCol), fieldText(rs, QStringLiteral("Audit")));
    bool written = false;
    try {
        // Both rows are stored through this one connection, so the transaction holds them both.
        if (person && person->connection() != conn)
            throw db::DbError(QStringLiteral("The customer and the call are not in the same database."));
        db::Transaction tx(*conn);
        db::Statement there(*conn, QStringLiteral("SELECT Username, Audit FROM Calls WHERE Nom = ?"));
        there.bind(1, rs->field(QStringLiteral("Nom")));
        if (!there.step())
            throw db::DbError(CallGone);
        const QString callReference = db::displayText(there.column(0));
        const QString storedAudit = db::displayText(there.column(1));

        // The call's customer changes only when the user chose another one than the file gives the call; the
        // texts follow a chosen customer or what this copy typed into the customer's name, phone or address.
        bool chosen = storesCustomer;
        bool texts = storesCustomer;
        if (person && !storesCustomer) {
            const qint64 id = person->rowId(person->absolutePosition());
            const StoredCustomer now = storedCustomer(*conn, id);
            // A customer another copy deleted was the call's when this copy read both rows so.
            chosen = now.exists ? customerWithReference(*conn, callReference) != id
                                : fieldText(person, QStringLiteral("Username")) !=
                                      readText(*rs, rs->fieldIndex(QStringLiteral("Username")));
            texts = chosen || typedCustomer.has(*person, "Name") || typedCustomer.has(*person, "Extension") ||
                    typedCustomer.has(*person, "Location");
            // Typing for a customer another copy deleted, or choosing them, cannot be stored. What was typed is
            // named in the message and let go, with the customer, so that Save then stores the call on its own.
            if (!now.exists && (chosen || typedCustomer.typed())) {
                QStringList lost;
                for (const auto& [i, value] : person->pendingFields())
                    lost << person->fieldName(i) + QStringLiteral(" \"") + db::displayText(value) + QLatin1Char('"');
                person->cancelUpdate();
                m_customers.refreshInPlace();
                throw db::DbError(CustomerGone +
                                  (lost.isEmpty() ? QString()
                                                  : QStringLiteral(" What was typed for them could not be kept: ") +
                                                        lost.join(QStringLiteral(", ")) + QLatin1Char('.')) +
                                  QStringLiteral(" The call keeps its own customer texts; Save stores it so."));
            }
            if (!now.exists)
                person = nullptr; // the call keeps its own customer texts
        }
        if (person && storesCustomer && callrules::referenceTaken(*conn, reference))
            throw db::DbError(callrules::referenceTakenMessage(reference));

        // The call's columns rebuilt from the file are taken as read from it, so its update checks them against
        // the file and not against this copy's older read.
        written = true;
        if (person) {
            person->update();
            const StoredCustomer now = storedCustomer(*conn, person->rowId(person->absolutePosition()));
            if (chosen) {
                rs->readStored(rs->fieldIndex(QStringLiteral("Username")));
                rs->setField(QStringLiteral("Username"), now.reference);
            }
            if (texts) {
                rs->readStored(rs->fieldIndex(QStringLiteral("sp2")));
                rs->readStored(rs->fieldIndex(QStringLiteral("Contact")));
                rs->setField(QStringLiteral("sp2"), now.name);
                rs->setField(QStringLiteral("Contact"), callrules::contactText(now.phone, now.address));
            }
        }
        if (addedAudit) {
            rs->readStored(auditCol);
            rs->setField(auditCol, callrules::appendAuditLine(storedAudit, *addedAudit));
        }
        rs->update();
        tx.commit();
    } catch (const db::DbError&) {
        // Refused before anything was stored, the rows hold what was typed as they did; after, they are read anew
        // and what was typed is put back on them.
        if (written) {
            try {
                typedCustomer.restore(m_customers);
                // The audit text shows the file's lines and this copy's after them, as a save would store them.
                std::vector<std::pair<int, QVariant>> audit;
                if (addedAudit)
                    if (const std::optional<qint64> nom = currentCall())
                        audit.emplace_back(
                            auditCol, callrules::appendAuditLine(storedAudit(*nom).value_or(QString()), *addedAudit));
                typedCall.restore(m_calls, audit);
            } catch (const db::DbError&) {
            }
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
    const PendingRow typedRow(person);
    const std::shared_ptr<db::Connection> conn = person->connection();
    callrules::Carried carried;
    bool written = false;
    try {
        db::Transaction tx(*conn);
        if (referenceTaken(oldReference))
            throw db::DbError(callrules::referenceTakenMessage(fieldText(person, QStringLiteral("Username"))));
        // The calls and items to carry are found by the reference as the file holds it, which another copy may
        // have changed since this one read the customer.
        StoredCustomer before;
        if (!adding) {
            before = storedCustomer(*conn, id);
            if (!before.exists)
                throw db::DbError(CustomerGone);
        }
        written = true;
        person->update();
        if (carry && !adding) {
            // Only what this copy changed goes over, as the customer row now holds it.
            const StoredCustomer after = storedCustomer(*conn, id);
            auto changed = [&](const char* column, const QString& was, const QString& is) {
                return typedRow.has(*person, column) && was != is ? std::optional<QString>(is) : std::nullopt;
            };
            carried = callrules::carryCustomerChange(*conn, before.reference,
                                                     changed("Username", before.reference, after.reference),
                                                     changed("Name", before.name, after.name), id);
        }
        tx.commit();
        return carried;
    } catch (const db::DbError&) {
        // The row is read anew (another copy may have changed its reference) and takes what was typed once more,
        // so a second Save Edit goes onto the customer as the file holds them.
        if (written) {
            try {
                typedRow.restore(m_customers);
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

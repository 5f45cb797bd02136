#include "options/staffrules.h"

#include "platform/db/database.h"
#include "platform/db/recordset.h"
#include "platform/db/values.h"
#include "shared/shared.h"

#include <QFile>
#include <QRegularExpression>

namespace staffrules {
namespace {

QString byId(const QString& columns, const QString& id) {
    return QStringLiteral("SELECT ") + columns + QStringLiteral(" from Analysts where ID = '") + SQLQuote(id) +
           QStringLiteral("'");
}

// "=" ignores case here, so "bob" also finds "Bob": moves to the row with this very ID, or to EOF.
bool seekExact(db::Recordset& rs, const QString& id) {
    for (; !rs.eof(); rs.moveNext())
        if (rs.field(0).toString() == id)
            return true;
    return false;
}

const QString AdministratorCode = QStringLiteral("5");

// True when the member whose ID is exactly id is stored at the Administrator level and nobody else is.
bool lastAdministrator(db::Connection& conn, const QString& id) {
    bool isAdmin = false;
    int others = 0;
    db::Statement st(conn, QStringLiteral("SELECT ID, Spare2 FROM Analysts"));
    while (st.step()) {
        if (db::displayText(st.column(1)) != AdministratorCode)
            continue;
        if (db::displayText(st.column(0)) == id)
            isAdmin = true;
        else
            ++others;
    }
    return isAdmin && others == 0;
}

// Runs the statement on the rows whose ID is exactly id ("=" alone ignores case); the rows it changed.
int onMember(db::Connection& conn, const QString& sql, const QString& id, const QVariant& value = QVariant()) {
    db::Statement st(conn, sql + QStringLiteral(" WHERE ID = ? COLLATE BINARY"));
    int at = 1;
    if (value.isValid())
        st.bind(at++, value);
    st.bind(at, id);
    st.step();
    return conn.changes();
}

} // namespace

QString levelName(const QString& code) {
    if (code == QLatin1String("1"))
        return QStringLiteral("Basic");
    if (code == QLatin1String("3"))
        return QStringLiteral("Standard");
    if (code == QLatin1String("5"))
        return QStringLiteral("Administrator");
    return QString();
}

QString levelCode(const QString& name) {
    if (name == QLatin1String("Basic"))
        return QStringLiteral("1");
    if (name == QLatin1String("Standard"))
        return QStringLiteral("3");
    if (name == QLatin1String("Administrator"))
        return QStringLiteral("5");
    return QString();
}

bool hasPassword(const QString& stored) {
    return !stored.isEmpty() && stored != QLatin1String("None");
}

std::optional<Member> findMember(const QString& dbPath, const QString& id) {
    auto database = db::Database::open(dbPath);
    auto rs = database.openRecordset(byId(QStringLiteral("ID, Spare1, Spare2"), id));
    if (!seekExact(*rs, id))
        return std::nullopt;
    return Member{db::displayText(rs->field(1)), db::displayText(rs->field(2))};
}

QString goneText() {
    return QStringLiteral("That member of staff is no longer in the staff list.");
}

QString storeLevel(const QString& dbPath, const QString& id, const QString& code) {
    auto database = db::Database::open(dbPath);
    db::Connection& conn = database.connection();
    db::Transaction tx(conn);
    // Checked here, as another copy may have changed levels since this copy read them.
    if (code != AdministratorCode && lastAdministrator(conn, id))
        return QStringLiteral("Cannot take the Administrator level from the last Administrator! Make another member "
                              "Administrator first.");
    if (onMember(conn, QStringLiteral("UPDATE Analysts SET Spare2 = ?"), id, code) == 0)
        return goneText();
    tx.commit();
    return {};
}

QString clearPassword(const QString& dbPath, const QString& id) {
    auto database = db::Database::open(dbPath);
    if (onMember(database.connection(), QStringLiteral("UPDATE Analysts SET Spare1 = 'None'"), id) == 0)
        return goneText();
    return {};
}

QString deleteMember(const QString& dbPath, const QString& id, const QString& signedIn) {
    auto database = db::Database::open(dbPath);
    db::Connection& conn = database.connection();
    db::Transaction tx(conn);
    const QString refusal = deleteRefusal(conn, id, signedIn);
    if (!refusal.isEmpty())
        return refusal;
    if (onMember(conn, QStringLiteral("DELETE FROM Analysts"), id) == 0)
        return goneText();
    tx.commit();
    return {};
}

bool storePassword(const QString& dbPath, const QString& id, const QString& password) {
    auto database = db::Database::open(dbPath);
    return onMember(database.connection(), QStringLiteral("UPDATE Analysts SET Spare1 = ?"), id, password.toLower()) >
           0;
}

bool nameTaken(const QString& dbPath, const QString& id) {
    auto database = db::Database::open(dbPath);
    return !database.openRecordset(byId(QStringLiteral("ID"), id))->eof();
}

QString deleteRefusal(const QString& dbPath, const QString& id, const QString& signedIn) {
    return deleteRefusal(*db::pool::acquire(dbPath), id, signedIn);
}

QString deleteRefusal(db::Connection& conn, const QString& id, const QString& signedIn) {
    if (id == signedIn)
        return QStringLiteral("Cannot delete yourself! Another Administrator can remove you from the support staff.");
    if (lastAdministrator(conn, id))
        return QStringLiteral("Cannot delete the last Administrator! Make another member Administrator first.");
    return QString();
}

bool passwordAccepted(const QString& stored, const QString& typed) {
    return !hasPassword(stored) || typed.compare(stored, Qt::CaseInsensitive) == 0;
}

QString loginLevel(const QString& code) {
    // A code without a name gets the least rights.
    const QString level = levelName(code);
    return level.isEmpty() ? QStringLiteral("Basic") : level;
}

bool writePasswordFile(const QString& folder, const QString& id, const QString& password) {
    // A name may hold characters a file name cannot; they become "_" so the file stays in the folder.
    QString safeId = id;
    safeId.replace(QRegularExpression(QStringLiteral("[/\\\\:*?\"<>|]")), QStringLiteral("_"));
    QFile file(folder + QStringLiteral("/Password-for-") + safeId + QStringLiteral(".txt"));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    // The file holds a password: only its owner may read it.
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const QByteArray text = (QStringLiteral("The current password for ") + id + QStringLiteral(" is: ") +
                             password.toLower() + QStringLiteral("\r\n"))
                                .toUtf8();
    return file.write(text) == text.size() && file.flush();
}

QString tableSql() {
    return QStringLiteral("SELECT * from Analysts ORDER by ID");
}

QStringList ids(const QString& dbPath) {
    QStringList out;
    auto rs = db::Database::open(dbPath).openRecordset(QStringLiteral("SELECT ID from Analysts ORDER by ID"));
    for (; !rs->eof(); rs->moveNext())
        out << db::displayText(rs->field(0));
    return out;
}

} // namespace staffrules

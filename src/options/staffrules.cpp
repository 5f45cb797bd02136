#include "options/staffrules.h"

#include "platform/db/database.h"
#include "platform/db/recordset.h"
#include "platform/db/values.h"
#include "shared/shared.h"

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

bool storeField(const QString& dbPath, const QString& id, const QString& field, const QString& value) {
    auto database = db::Database::open(dbPath);
    auto rs = database.openRecordset(byId(QStringLiteral("ID, ") + field, id));
    if (!seekExact(*rs, id))
        return false;
    rs->setField(1, value);
    rs->update();
    return true;
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

bool storeLevel(const QString& dbPath, const QString& id, const QString& code) {
    return storeField(dbPath, id, QStringLiteral("Spare2"), code);
}

bool storePassword(const QString& dbPath, const QString& id, const QString& password) {
    return storeField(dbPath, id, QStringLiteral("Spare1"), password.toLower());
}

bool nameTaken(const QString& dbPath, const QString& id) {
    auto database = db::Database::open(dbPath);
    return !database.openRecordset(byId(QStringLiteral("ID"), id))->eof();
}

} // namespace staffrules

#include "customers/inventorytitles.h"

#include "platform/db/connection.h"
#include "platform/db/database.h"
#include "platform/db/dberror.h"
#include "platform/db/recordset.h"
#include "platform/db/values.h"
#include "shared/schema.h"

namespace inventorytitles {
namespace {

const QString Query = QStringLiteral("SELECT Value11 from Settings");

} // namespace

QString defaults() {
    return schema::defaultInventoryTitles();
}

QVariant read(db::Database& database) {
    auto rs = database.openRecordset(Query);
    if (rs->eof())
        return {};
    const QVariant v = rs->field(0);
    return db::isNull(v) ? QVariant() : QVariant(v.toString());
}

QVariant read(const QString& dbpath) {
    auto database = db::Database::open(dbpath);
    return read(database);
}

void write(db::Database& database, const QVariant& text) {
    auto rs = database.openRecordset(Query);
    if (rs->eof())
        throw db::DbError(QStringLiteral("No current record."), 3021, 3021, Query);
    rs->edit();
    rs->setField(0, db::isNull(text) ? QVariant() : QVariant(text.toString()));
    rs->update();
}

void write(const QString& dbpath, const QVariant& text) {
    auto database = db::Database::open(dbpath);
    write(database, text);
}

Renamed storeRenamed(const QString& dbpath, const QString& asRead, const QString& typed) {
    auto database = db::Database::open(dbpath);
    db::Transaction transaction(database.connection());
    const QVariant stored = read(database);
    Renamed out;
    out.inFile = db::isNull(stored) ? QString() : stored.toString();
    const QStringList before = split(asRead), mine = split(typed), now = split(out.inFile);
    if (before.size() != Count || mine.size() != Count || now.size() != Count) {
        // Not title by title: only a text nobody else changed is replaced.
        out.stored = out.inFile == asRead;
        out.text = typed;
    } else {
        QStringList merged = now;
        out.stored = true;
        for (int k = 0; k < Count; ++k) {
            if (mine[k] == before[k])
                continue;
            if (now[k] != before[k] && now[k] != mine[k])
                out.stored = false; // renamed apart by another copy
            merged[k] = mine[k];
        }
        out.text = merged.join(Separator);
    }
    if (!out.stored)
        return out;
    if (out.text != out.inFile)
        write(database, out.text);
    transaction.commit();
    return out;
}

QStringList split(const QString& text) {
    if (text.isEmpty())
        return {};
    return text.split(Separator);
}

bool wellFormed(const QString& text) {
    if (text.endsWith(QLatin1Char(',')))
        return false;
    // Counted left to right, each search starting after the previous find.
    int found = 0;
    for (qsizetype at = text.indexOf(Separator); at >= 0; at = text.indexOf(Separator, at + Separator.size()))
        ++found;
    return found == Count - 1;
}

} // namespace inventorytitles

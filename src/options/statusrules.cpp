#include "options/statusrules.h"

#include "customers/inventorytitles.h"
#include "platform/db/connection.h"
#include "platform/db/database.h"
#include "platform/db/values.h"

#include <QVariant>
#include <array>
#include <vector>

namespace statusrules {

Lists read(const QString& dbPath) {
    auto database = db::Database::open(dbPath);
    db::Statement rows(database.connection(),
                       QStringLiteral("SELECT Status, ColourFld, Category FROM Settings ORDER BY rowid"));
    Lists lists;
    while (rows.step()) {
        const QString status = db::displayText(rows.column(0));
        const QVariant colour = rows.column(1);
        const QString category = db::displayText(rows.column(2));
        if (!status.isEmpty()) {
            lists.statuses << status;
            lists.colours << (db::isNull(colour) ? NoColour : db::displayText(colour));
        }
        if (!category.isEmpty())
            lists.categories << category;
    }
    return lists;
}

void rewrite(const QString& dbPath, const Lists& lists) {
    auto database = db::Database::open(dbPath);
    db::Connection& conn = database.connection();
    db::Transaction transaction(conn);
    const QVariant titles = inventorytitles::read(database);
    std::vector<std::array<QVariant, 2>> kept; // SettingFld and ValueFld of each old row
    {
        db::Statement old(conn, QStringLiteral("SELECT SettingFld, ValueFld FROM Settings ORDER BY rowid"));
        while (old.step())
            kept.push_back({old.column(0), old.column(1)});
    }
    conn.exec(QStringLiteral("DELETE FROM Settings"));
    db::Statement insert(conn, QStringLiteral("INSERT INTO Settings (Status, ColourFld, Category, SettingFld, "
                                              "ValueFld) VALUES (?, ?, ?, ?, ?)"));
    const qsizetype n = qMax(lists.statuses.size(), lists.categories.size());
    for (qsizetype i = 0; i < n; ++i) {
        const bool hasStatus = i < lists.statuses.size();
        insert.bind(1, hasStatus ? QVariant(lists.statuses[i]) : QVariant());
        insert.bind(2, hasStatus ? QVariant(i < lists.colours.size() ? lists.colours[i] : NoColour) : QVariant());
        insert.bind(3, i < lists.categories.size() ? QVariant(lists.categories[i]) : QVariant());
        for (int c = 0; c < 2; ++c)
            insert.bind(4 + c, static_cast<size_t>(i) < kept.size() ? kept[i][c] : QVariant());
        insert.step();
        insert.reset();
    }
    // The inventory titles live in the first row; they stay with whatever row comes first now.
    if (n > 0 && !db::isNull(titles))
        inventorytitles::write(database, titles);
    transaction.commit();
}

QString statusDeleteRefusal(const QStringList& statuses, int index) {
    const QString status = statuses.value(index);
    if (status == QLatin1String("Closed"))
        return QStringLiteral("Cannot remove 'Closed' status");
    if (status == QLatin1String("Urgent"))
        return QStringLiteral("Cannot remove 'Urgent' status");
    if (statuses.size() < 5)
        return QStringLiteral("At least 4 levels must exist.");
    return {};
}

QString categoryDeleteRefusal(const QStringList& categories, int /*index*/) {
    if (categories.size() < 4)
        return QStringLiteral("At least 3 Categories must exist.");
    return {};
}

QString addRefusal(const QStringList& list, const QString& entry, const QString& what) {
    const QByteArray typed = entry.trimmed().toUtf8();
    if (typed.isEmpty())
        return QStringLiteral("A blank %1 cannot be added. Please type its name.").arg(what);
    for (const QString& listed : list) {
        const QByteArray other = listed.trimmed().toUtf8();
        if (db::compareNoCase(typed.constData(), static_cast<int>(typed.size()), other.constData(),
                              static_cast<int>(other.size())) == 0)
            return QStringLiteral("The %1 '%2' is already in the list.").arg(what, listed);
    }
    return {};
}

QString storeRefusal(const Lists& lists) {
    if (!lists.statuses.isEmpty() && lists.statuses.first() == QLatin1String("Closed"))
        return QStringLiteral("Closed cannot be the first status item!");
    if (lists.statuses.isEmpty() && lists.categories.isEmpty())
        return QStringLiteral("Both lists are empty, so there is nothing to store. The statuses and categories "
                              "stay as they were.");
    return {};
}

} // namespace statusrules

#include "options/statusrules.h"

#include "customers/inventorytitles.h"
#include "platform/db/connection.h"
#include "platform/db/database.h"
#include "platform/db/values.h"

#include <QVariant>
#include <array>
#include <vector>

namespace statusrules {

namespace {

Lists readFrom(db::Connection& conn) {
    db::Statement rows(conn, QStringLiteral("SELECT Status, ColourFld, Category FROM Settings ORDER BY rowid"));
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

// Inside the caller's transaction.
void rewriteIn(db::Database& database, const Lists& lists) {
    db::Connection& conn = database.connection();
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
}

// One list's entries after the merge, in order; false when both sides moved entries they both hold apart.
// Entries are told apart by their exact text; one added here that the file holds as the program compares names
// is not added again.
bool mergeList(const QStringList& asRead, const QStringList& edited, const QStringList& inFile, QStringList& out) {
    if (edited == asRead) {
        out = inFile; // untouched here: the file's list stands as it is
        return true;
    }
    QStringList wanted; // what the list ends with, in no order yet
    for (const QString& entry : inFile)
        if (!asRead.contains(entry) || edited.contains(entry))
            wanted << entry;
    for (const QString& entry : edited)
        if (!asRead.contains(entry) && addRefusal(wanted, entry, QString()).isEmpty())
            wanted << entry;
    auto common = [&](const QStringList& list) {
        QStringList held;
        for (const QString& entry : list)
            if (asRead.contains(entry) && edited.contains(entry) && inFile.contains(entry))
                held << entry;
        return held;
    };
    const bool movedHere = common(edited) != common(asRead);
    const bool movedThere = common(inFile) != common(asRead);
    if (movedHere && movedThere && common(edited) != common(inFile))
        return false;
    // The order of the side that moved entries, with the other side's new entries after their neighbour there.
    const QStringList& backbone = movedHere ? edited : inFile;
    const QStringList& other = movedHere ? inFile : edited;
    out.clear();
    for (const QString& entry : backbone)
        if (wanted.contains(entry) && !out.contains(entry))
            out << entry;
    for (qsizetype i = 0; i < other.size(); ++i) {
        const QString& entry = other[i];
        if (!wanted.contains(entry) || out.contains(entry))
            continue;
        qsizetype at = 0;
        for (qsizetype j = i - 1; j >= 0; --j)
            if (const qsizetype k = out.indexOf(other[j]); k >= 0) {
                at = k + 1;
                break;
            }
        out.insert(at, entry);
    }
    return true;
}

QString colourOf(const Lists& lists, const QString& status) {
    const qsizetype i = lists.statuses.indexOf(status);
    return i < 0 ? QString() : lists.colours.value(i, NoColour);
}

} // namespace

Lists read(const QString& dbPath) {
    auto database = db::Database::open(dbPath);
    return readFrom(database.connection());
}

void rewrite(const QString& dbPath, const Lists& lists) {
    auto database = db::Database::open(dbPath);
    db::Transaction transaction(database.connection());
    rewriteIn(database, lists);
    transaction.commit();
}

std::optional<Lists> merge(const Lists& asRead, const Lists& edited, const Lists& inFile) {
    Lists out;
    if (!mergeList(asRead.statuses, edited.statuses, inFile.statuses, out.statuses) ||
        !mergeList(asRead.categories, edited.categories, inFile.categories, out.categories))
        return std::nullopt;
    for (const QString& status : out.statuses) {
        const bool held = inFile.statuses.contains(status);
        QString colour = held ? colourOf(inFile, status) : colourOf(edited, status);
        const QString before = colourOf(asRead, status);
        const QString mine = colourOf(edited, status);
        if (held && asRead.statuses.contains(status) && mine != before) {
            if (colour != before && colour != mine)
                return std::nullopt; // recoloured apart
            colour = mine;
        }
        out.colours << colour;
    }
    // A status recoloured here that another copy removed.
    for (const QString& status : edited.statuses)
        if (asRead.statuses.contains(status) && !inFile.statuses.contains(status) &&
            colourOf(edited, status) != colourOf(asRead, status))
            return std::nullopt;
    if (!storeRefusal(out).isEmpty())
        return std::nullopt;
    if ((out.statuses.size() < 4 && out.statuses.size() < inFile.statuses.size()) ||
        (out.categories.size() < 3 && out.categories.size() < inFile.categories.size()))
        return std::nullopt;
    return out;
}

bool storeChanges(const QString& dbPath, const Lists& asRead, const Lists& edited) {
    auto database = db::Database::open(dbPath);
    db::Transaction transaction(database.connection());
    const Lists inFile = readFrom(database.connection());
    const std::optional<Lists> merged = merge(asRead, edited, inFile);
    if (!merged)
        return false;
    if (*merged != inFile)
        rewriteIn(database, *merged);
    transaction.commit();
    return true;
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

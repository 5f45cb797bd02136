// Direct tests of rules that need no window: each on a fresh database and settings file where it reads any.
#include "callentry/callrules.h"
#include "callentry/callstore.h"
#include "calllists/callviews.h"
#include "customers/customersearch.h"
#include "customers/inventoryrules.h"
#include "options/optionrules.h"
#include "options/staffrules.h"
#include "options/themepresets.h"
#include "platform/db/database.h"
#include "platform/db/dberror.h"
#include "platform/db/recordset.h"
#include "platform/db/values.h"
#include "reports/monitorpages.h"
#include "reports/topfive.h"
#include "shared/schema.h"
#include "shared/shared.h"
#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

void addCalls(const QString& path, const QString& category, int n, const QString& status = QStringLiteral("Open")) {
    auto database = db::Database::open(path);
    for (int i = 0; i < n; ++i)
        database.execute(QStringLiteral("INSERT INTO Calls (Username, Status, sp3, [Date Opened]) VALUES ('ann', '%1', "
                                        "%2, #2025/03/14#)")
                             .arg(status, category.isNull() ? QStringLiteral("Null") : "'" + SQLQuote(category) + "'"));
}

QStringList column(const QString& path, const QString& sql, db::LikeDialect dialect = db::LikeDialect::Dao) {
    QStringList out;
    auto rs = db::Database::open(path).openRecordset(sql, dialect);
    for (; !rs->eof(); rs->moveNext())
        out << rs->field(0).toString();
    return out;
}

TEST(TopFiveRules, CountsByCategoryKeepTiesAtFifthPlaceAndLeaveUncategorisedCallsOut) {
    TestEnv env;
    const QString path = env.makeDatabase();
    addCalls(path, "Printers", 6);
    addCalls(path, "Network", 4);
    for (const char* c : {"Email", "Phones", "Desks", "Chairs"})
        addCalls(path, QString::fromLatin1(c), 2);
    addCalls(path, QString(), 9);
    addCalls(path, "Printers", 3, "Closed");
    std::vector<topfive::Row> rows = topfive::run(path, topfive::activeCalls().sql);
    ASSERT_EQ(rows.size(), 6u); // four tie at third place and all are shown
    EXPECT_EQ(rows[0].category, "Printers");
    EXPECT_EQ(rows[0].count, 6); // closed calls are not active
    EXPECT_EQ(rows[1].category, "Network");
    for (size_t i = 2; i < rows.size(); ++i)
        EXPECT_EQ(rows[i].count, 2);
    EXPECT_FLOAT_EQ(topfive::barWidth(6, 6), topfive::FullScale);
    EXPECT_FLOAT_EQ(topfive::barWidth(3, 6), topfive::FullScale / 2);
    db::pool::closeAll();
}

TEST(InventoryRules, FiltersMatchTheTypedTextLiterallyAndRefuseUnknownPositions) {
    TestEnv env;
    const QString path = env.makeDatabase();
    {
        auto database = db::Database::open(path);
        for (const char* type : {"100% cotton", "1000 cotton", "a_b", "axb", "O'Neil [x]", "O'Neil x"})
            database.execute(
                QStringLiteral("INSERT INTO Inventory (Type) VALUES ('%1')").arg(SQLQuote(QString::fromLatin1(type))));
    }
    const auto types = [&](int match, const QString& value) {
        // The inventory window reads through its data control, in ADO's LIKE.
        return column(path, inventoryrules::filter(0, match, value).replace("SELECT *", "SELECT Type"),
                      db::LikeDialect::Ado);
    };
    EXPECT_EQ(types(1, "100%"), QStringList({"100% cotton"}));
    EXPECT_EQ(types(2, "_"), QStringList({"a_b"}));
    EXPECT_EQ(types(0, "O'Neil [x]"), QStringList({"O'Neil [x]"}));
    EXPECT_EQ(types(2, "[x]"), QStringList({"O'Neil [x]"}));
    EXPECT_EQ(inventoryrules::filter(7, 0, "x"), "");
    EXPECT_EQ(inventoryrules::filter(0, 3, "x"), "");
    db::pool::closeAll();
}

TEST(InventoryRules, TheGridExportIsWrittenWholeOrNotAtAll) {
    TestEnv env;
    const auto cell = [](int r, int c) { return QStringLiteral("r%1c%2").arg(r).arg(c); };
    const QString path = env.path("inv.csv");
    ASSERT_TRUE(inventoryrules::writeGridExport(path, 2, 4, cell));
    const QString written = fileText(path);
    EXPECT_TRUE(written.contains("r0c2")) << written.toStdString();
    EXPECT_TRUE(written.contains("r1c3"));
    EXPECT_FALSE(written.contains("c0"));
    EXPECT_FALSE(written.contains("c1"));
    // A place that cannot hold the file: the caller is told and the older file stays.
    {
        QFile blocker(env.path("blocked"));
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    }
    EXPECT_FALSE(inventoryrules::writeGridExport(env.path("blocked/inv.csv"), 2, 4, cell));
    EXPECT_TRUE(QFile::remove(path));
    ASSERT_TRUE(QDir().mkpath(path)); // a folder in the file's place
    EXPECT_FALSE(inventoryrules::writeGridExport(path, 2, 4, cell));
}

TEST(CustomerRules, TheStoredListOrderCanOnlyNameAColumn) {
    EXPECT_EQ(customers::listSql("Username"), "Select * from Customers ORDER by Username");
    EXPECT_EQ(customers::listSql("username"), "Select * from Customers ORDER by username");
    EXPECT_EQ(customers::listSql("Name"), "Select * from Customers ORDER by Name");
    EXPECT_EQ(customers::listSql("Username; DELETE FROM Calls"), "Select * from Customers ORDER by Name");
    EXPECT_EQ(customers::listSql(""), "Select * from Customers ORDER by Name");
}

TEST(OptionRules, TypedNumbersAreRoundedAndKeptInRangeAndTwoMeansCancel) {
    EXPECT_TRUE(optionrules::meansCancel(" 2"));
    EXPECT_TRUE(optionrules::meansCancel("2.0"));
    EXPECT_FALSE(optionrules::meansCancel("20"));
    EXPECT_FALSE(optionrules::meansCancel("two"));
    EXPECT_EQ(optionrules::wholeNumber("2.5", 0, 10), 2); // halves go to the even neighbour
    EXPECT_EQ(optionrules::wholeNumber("3.5", 0, 10), 4);
    EXPECT_EQ(optionrules::wholeNumber("5", 10, 100), 10);
    EXPECT_EQ(optionrules::wholeNumber("1e6", 10, 10000), 10000);
    EXPECT_EQ(optionrules::wholeNumber("abc", 0, 10), std::nullopt);
}

TEST(OptionRules, StoredSettingsOutOfRangeFallBackToTheirDefaults) {
    // Numbers outside what the options offer take the nearest offered; what is no whole number, the default.
    EXPECT_EQ(optionrules::maxCalls("5000"), 5000);
    EXPECT_EQ(optionrules::maxCalls("10"), 100);
    EXPECT_EQ(optionrules::maxCalls("99999999999"), 5000);
    for (const char* bad : {"12.5", "ten", "", "99999999999999999999"}) {
        EXPECT_EQ(optionrules::maxCalls(bad), 1000) << bad;
    }
    EXPECT_EQ(optionrules::sortOrder("DESC"), "DESC");
    EXPECT_EQ(optionrules::sortOrder("desc"), "ASC"); // goes into SQL as it stands, so only the two texts pass
    EXPECT_EQ(optionrules::sortOrder("DESC; DELETE FROM Calls"), "ASC");
    EXPECT_EQ(optionrules::sortColumn("sp3"), "sp3");
    EXPECT_EQ(optionrules::sortColumn("Status"), "Status");
    EXPECT_EQ(optionrules::sortColumn("Query"), "Nom");
    EXPECT_EQ(optionrules::refreshInterval("61"), 61);
    EXPECT_EQ(optionrules::refreshInterval("0"), 1);
    EXPECT_EQ(optionrules::refreshInterval("-30"), 1);
    EXPECT_EQ(optionrules::refreshInterval("soon"), 300);
    EXPECT_EQ(optionrules::rowHeight("300"), 300);
    EXPECT_EQ(optionrules::rowHeight("0"), 285);
    EXPECT_EQ(optionrules::rowHeight("99999999"), 700);
    EXPECT_EQ(optionrules::rowHeight("tall"), 300);
    EXPECT_TRUE(optionrules::isTrue("True"));
    EXPECT_FALSE(optionrules::isTrue("true"));
    EXPECT_FALSE(optionrules::isTrue(""));
}

// The date pattern goes into the lists' SQL: one the program never writes falls back to the desktop's short date,
// and the one it writes (a quote in it too) lists the calls.
TEST(OptionRules, TheDateSettingIsOneTheProgramWritesAndEveryListTakesIt) {
    TestEnv env;
    const QString path = env.makeDatabase();
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::Bulgarian)); // d.mm.yyyy 'г'.
    const QString standard = db::shortDatePattern().toLower();
    EXPECT_EQ(optionrules::dateSetting("d mmm, yy"), "d mmm, yy");
    for (const QString& damaged : {QString("dd'mm'yyyy"), QString(), QString("hh:nn")})
        EXPECT_EQ(optionrules::dateSetting(damaged), standard) << damaged.toStdString();
    for (const QString& sql : {customers::callsForCustomerSql("c1", optionrules::dateSetting(standard), "ASC"),
                               topfive::lookupSql("where Nom > 0", "x", standard, "ASC")})
        EXPECT_NO_THROW(column(path, sql)) << sql.toStdString();
    QLocale::setDefault(before);
}

TEST(StartQueries, TheWindowsStartingQueriesReadTheRowsTheyNameOnAFreshDatabase) {
    TestEnv env;
    const QString path = env.makeDatabase();
    addCalls(path, "Printing", 2);
    addCalls(path, "Printing", 1, "Closed");
    {
        auto database = db::Database::open(path);
        database.execute("INSERT INTO Customers (Name, Username) VALUES ('Zed', 'a1')");
        database.execute("INSERT INTO Customers (Name, Username) VALUES ('Amy', 'z9')");
        database.execute("INSERT INTO Notes ([Call], Note) VALUES (1, 'first')");
        database.execute("INSERT INTO Notes ([Call], Note) VALUES (2, 'second')");
        schema::probe(database);
        for (const QString& sql : {callviews::noCalls(), CallStore::noCallSql(), customers::noCustomerSql()}) {
            auto rs = database.openRecordset(sql);
            EXPECT_TRUE(rs->eof()) << sql.toStdString();
            EXPECT_GT(rs->fieldCount(), 1) << sql.toStdString(); // bound boxes find their columns
        }
        auto open = database.openRecordset(callviews::openCount());
        EXPECT_EQ(open->field("count1").toInt(), 2);
    }
    EXPECT_EQ(column(path, customers::pickerByNameSql()), QStringList({"Amy", "Zed"}));
    EXPECT_EQ(column(path, customers::pickerByReferenceSql()), QStringList({"a1", "z9"}));
    EXPECT_EQ(column(path, customers::byNameSql()), QStringList({"Amy", "Zed"}));
    EXPECT_EQ(column(path, customers::listSql("username")), QStringList({"Zed", "Amy"}));
    EXPECT_EQ(column(path, staffrules::tableSql()), QStringList({"Admin"}));
    auto notes = db::Database::open(path).openRecordset(callrules::notesSql(2));
    ASSERT_FALSE(notes->eof());
    EXPECT_EQ(notes->field("Note").toString(), "second");
    notes->moveNext();
    EXPECT_TRUE(notes->eof());
    db::pool::closeAll();

    const QString notADatabase = env.path("notes.txt");
    {
        QFile f(notADatabase);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4096, 'x'));
    }
    EXPECT_THROW(
        {
            auto database = db::Database::open(notADatabase);
            schema::probe(database);
        },
        db::DbError);
    db::pool::closeAll();
}

TEST(OptionRules, ResettingRemovesTheSettingsFileAndAMissingOneCountsAsReset) {
    TestEnv env;
    const QString ini = env.path("quorvane.ini");
    {
        QFile f(ini);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[Program]\r\nPiechart=User\r\n");
    }
    EXPECT_TRUE(optionrules::resetSettings(ini));
    EXPECT_FALSE(QFileInfo::exists(ini));
    EXPECT_TRUE(optionrules::resetSettings(ini));
}

TEST(StaffRules, PasswordsAreCheckedWithoutCaseAndUnnamedLevelsGetTheLeastRights) {
    EXPECT_TRUE(staffrules::passwordAccepted("", "anything"));
    EXPECT_TRUE(staffrules::passwordAccepted("None", ""));
    EXPECT_TRUE(staffrules::passwordAccepted("secret", "SeCrEt"));
    EXPECT_FALSE(staffrules::passwordAccepted("secret", ""));
    EXPECT_FALSE(staffrules::passwordAccepted("secret", "secret "));
    EXPECT_EQ(staffrules::loginLevel("5"), "Administrator");
    EXPECT_EQ(staffrules::loginLevel("3"), "Standard");
    EXPECT_EQ(staffrules::loginLevel(""), "Basic");
    EXPECT_EQ(staffrules::loginLevel("9"), "Basic");
}

TEST(StaffRules, TheStaffListIsEveryIdInOrder) {
    TestEnv env;
    const QString path = env.makeDatabase();
    {
        auto database = db::Database::open(path);
        for (const char* id : {"zoe", "O'Hara", "amy"})
            database.execute(QStringLiteral("INSERT INTO Analysts (ID) VALUES ('%1')").arg(SQLQuote(id)));
    }
    EXPECT_EQ(staffrules::ids(path), QStringList({"Admin", "amy", "O'Hara", "zoe"}));
    db::pool::closeAll();
}

TEST(StaffRules, ThePasswordFileStaysInItsFolderAndOnlyItsOwnerReadsIt) {
    TestEnv env;
    const QString folder = env.path("prog");
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(staffrules::writePasswordFile(folder, "../a:b", "MixedCase"));
    const QString path = folder + "/Password-for-.._a_b.txt";
    EXPECT_EQ(fileText(path), "The current password for ../a:b is: mixedcase\r\n");
    EXPECT_EQ(QFile::permissions(path) & (QFileDevice::ReadOther | QFileDevice::ReadGroup), QFileDevice::Permissions());
    EXPECT_FALSE(staffrules::writePasswordFile(env.path("missing"), "amy", "x"));
}

TEST(ThemePresets, EveryPresetNamesAPictureTheProgramShipsAndColoursAsStoredText) {
    TestEnv env;
    for (const themepresets::Preset& p : themepresets::presets()) {
        const QString picture = themepresets::backImagePath(p, env.programFolder);
        if (picture != QLatin1String("None")) {
            EXPECT_TRUE(QFileInfo::exists(picture)) << picture.toStdString();
        }
    }
    EXPECT_EQ(themepresets::colourText(0xFFFFFF), "16777215");
    EXPECT_EQ(themepresets::colourText(0), "0");
    for (const QString& bar : themepresets::warningPattern())
        EXPECT_TRUE(QFileInfo::exists(env.programFolder + "/Media/" + bar)) << bar.toStdString();
}

TEST(CallRules, TextsForTheCallAreCutToTheirColumnsAndAttachmentsNeverOverwrite) {
    EXPECT_EQ(callrules::contactText("555", QString(300, 'x')).size(), 255);
    EXPECT_EQ(callrules::appendAuditLine("", "one"), "one");
    EXPECT_EQ(callrules::appendAuditLine("one", "two"), "one\r\ntwo");
    EXPECT_EQ(callrules::closeMailLink("a@b", "Call # closed (#)", 12), "mailto:a@b?Subject=Call 12 closed (12)");
    TestEnv env;
    const QString folder = env.path("attach");
    ASSERT_TRUE(QDir().mkpath(folder));
    QFile(folder + "/Call-3-1~a.txt").open(QIODevice::WriteOnly);
    QFile(folder + "/Call-3-2~a.txt").open(QIODevice::WriteOnly);
    EXPECT_EQ(callrules::firstFreeAttachmentName(folder, 3, "a.txt"), "Call-3-3~a.txt");
    EXPECT_EQ(callrules::firstFreeAttachmentName(folder, 4, "a.txt"), "Call-4-1~a.txt");
}

TEST(CallRules, ACustomersNewReferenceReachesOnlyTheirOwnCallsAndItems) {
    TestEnv env;
    const QString path = env.makeDatabase();
    {
        auto database = db::Database::open(path);
        for (const char* ref : {"o'neil", "O'NEIL2", "o%"})
            database.execute(QStringLiteral("INSERT INTO Calls (Username, sp2) VALUES ('%1', 'old')")
                                 .arg(SQLQuote(QString::fromLatin1(ref))));
        database.execute("INSERT INTO Inventory (Type, Details2) VALUES ('pc', 'o''neil')");
        database.execute("INSERT INTO Inventory (Type, Details2) VALUES ('pc', 'o%')");
        db::Transaction tx(database.connection());
        const callrules::Carried carried =
            callrules::carryCustomerChange(database.connection(), "o'neil", "oneil", "O'Neil", 0);
        tx.commit();
        EXPECT_EQ(carried.calls, 1);
        EXPECT_EQ(carried.items, 1);
    }
    EXPECT_EQ(column(path, "SELECT Username from Calls ORDER BY Nom"), QStringList({"oneil", "O'NEIL2", "o%"}));
    EXPECT_EQ(column(path, "SELECT sp2 from Calls ORDER BY Nom"), QStringList({"O'Neil", "old", "old"}));
    EXPECT_EQ(column(path, "SELECT Details2 from Inventory ORDER BY ID"), QStringList({"oneil", "o%"}));
    db::pool::closeAll();
}

TEST(MonitorPages, AFolderThatIsNotThereGetsNoPagesAndIsNamed) {
    TestEnv env;
    const QString path = env.makeDatabase();
    monitorpages::Input in{env.path("missing"), path, "Pending", "yyyy\\/mm\\/dd",
                           QDateTime(QDate(2025, 3, 14), QTime(9, 0))};
    EXPECT_FALSE(monitorpages::unwritablePage(in.folder).isEmpty());
    EXPECT_FALSE(monitorpages::write(in));
    EXPECT_FALSE(QFileInfo::exists(in.folder));
    in.folder = env.path("wall");
    ASSERT_TRUE(QDir().mkpath(in.folder));
    EXPECT_EQ(monitorpages::unwritablePage(in.folder), "");
    addCalls(path, "Printers", 2);
    addCalls(path, "Printers", 1, "Pending");
    EXPECT_TRUE(monitorpages::write(in));
    EXPECT_TRUE(QFileInfo::exists(in.folder + "/monitor.htm"));
    EXPECT_TRUE(QFileInfo::exists(in.folder + "/monitor-open.htm"));
    db::pool::closeAll();
}

} // namespace

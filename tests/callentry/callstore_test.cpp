#include "callentry/callstore.h"

#include "platform/db/database.h"
#include "platform/db/datacontrol.h"
#include "platform/db/dberror.h"
#include "platform/db/recordset.h"
#include "platform/db/values.h"
#include "shared/shared.h"
#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

// The two data controls the call panel binds to, on a fresh database, and the store over them.
class CallStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        path = env.makeDatabase();
        qv::inipath() = env.settingsFolder + QStringLiteral("/quorvane.ini");
        for (db::DataControl* dc : {&calls, &customers})
            dc->setConnectionString(db::DataControl::connectionStringFor(path));
        calls.setRecordSource(QStringLiteral("SELECT * from Calls where Nom = 0"));
        calls.refresh();
        customers.setRecordSource(QStringLiteral("Select * from Customers ORDER by Name"));
        customers.refresh();
        defaults.analyst = QStringLiteral("amy");
        defaults.categories = QStringList{QStringLiteral("Hardware"), QStringLiteral("Software")};
        defaults.statuses = QStringList{QStringLiteral("Open"), QStringLiteral("Pending")};
        defaults.datePattern = QStringLiteral("dd/mm/yyyy");
    }
    void TearDown() override {
        calls.clear();
        customers.clear();
        db::pool::closeAll();
    }
    QString stored(qint64 nom, const QString& column) {
        auto rs = db::Database::open(path).openRecordset(
            QStringLiteral("SELECT [%1] from Calls where Nom = %2").arg(column).arg(nom));
        return rs->eof() ? QStringLiteral("<no call>") : db::displayText(rs->field(0));
    }
    int count(const QString& sql) {
        auto rs = db::Database::open(path).openRecordset(sql);
        return rs->field(0).toInt();
    }
    void typeCustomer(const QString& name, const QString& reference) {
        db::Recordset* c = store.customer();
        ASSERT_TRUE(c);
        c->setField(QStringLiteral("Name"), name);
        c->setField(QStringLiteral("Username"), reference);
        c->setField(QStringLiteral("Extension"), QStringLiteral("555 123"));
        c->setField(QStringLiteral("Location"), QStringLiteral("1 High St"));
    }

    TestEnv env;
    QString path;
    db::DataControl calls;
    db::DataControl customers;
    CallStore store{calls, customers};
    NewCallDefaults defaults;
    const QDateTime now{QDate(2025, 3, 14), QTime(9, 30)};
};

TEST_F(CallStoreTest, ANewCallIsStoredAtOnceWithItsDefaults) {
    EXPECT_FALSE(store.currentCall());
    EXPECT_EQ(store.currentCallText(), "");
    const qint64 nom = store.create(defaults, now, true);
    ASSERT_GT(nom, 0);
    EXPECT_EQ(store.currentCall(), nom);
    EXPECT_TRUE(store.newCustomer());
    EXPECT_EQ(stored(nom, "User"), "amy");
    EXPECT_EQ(stored(nom, "Logged"), "amy");
    EXPECT_EQ(stored(nom, "sp3"), "Hardware");
    EXPECT_EQ(stored(nom, "Status"), "Open");
    EXPECT_EQ(stored(nom, "Field1"), "-----");
    EXPECT_EQ(stored(nom, "Audit"), "14/03/2025 (09:30):   Call was Logged by amy");

    // Unassigned by default, without a trail and with empty lists: no assignee, no status or category.
    store.cancel(true, QString());
    defaults.unassigned = true;
    defaults.audit = false;
    defaults.categories.clear();
    defaults.statuses.clear();
    const qint64 second = store.create(defaults, now, false);
    EXPECT_FALSE(store.newCustomer());
    EXPECT_EQ(stored(second, "User"), "---");
    EXPECT_EQ(stored(second, "Status"), "");
    EXPECT_EQ(stored(second, "sp3"), "");
    EXPECT_EQ(stored(second, "Audit"), "");
}

TEST_F(CallStoreTest, SavingStoresTheNewCustomerAndGivesTheCallItsTexts) {
    const qint64 nom = store.create(defaults, now, true);
    typeCustomer("Ann Lee", "ann");
    store.call()->setField(QStringLiteral("Query"), QStringLiteral("Printer jams"));
    store.audit(now.addSecs(60), defaults.datePattern, QStringLiteral("Status changed to Pending by amy"));
    store.save(QStringLiteral("ann"));
    EXPECT_EQ(count("SELECT count(*) from Customers where Username = 'ann'"), 1);
    EXPECT_EQ(stored(nom, "Username"), "ann");
    EXPECT_EQ(stored(nom, "sp2"), "Ann Lee");
    EXPECT_EQ(stored(nom, "Contact"), "555 123  -  1 High St");
    EXPECT_EQ(stored(nom, "Query"), "Printer jams");
    EXPECT_EQ(stored(nom, "Audit"),
              "14/03/2025 (09:30):   Call was Logged by amy\r\n14/03/2025 (09:31):   Status changed to Pending by amy");
}

TEST_F(CallStoreTest, ASaveTheDatabaseRefusesStoresNothingAndKeepsBothRowsToSaveAgain) {
    const qint64 nom = store.create(defaults, now, true);
    typeCustomer("Ann Lee", "ann");
    store.call()->setField(QStringLiteral("Query"), QStringLiteral("Printer jams"));
    db::Database::open(path).execute(
        QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE ON Calls BEGIN SELECT RAISE(ABORT, 'refused'); END"));
    EXPECT_THROW(store.save(QStringLiteral("ann")), db::DbError);
    // The customer was stored first inside the transaction: it went with the call.
    EXPECT_EQ(count("SELECT count(*) from Customers"), 0);
    EXPECT_EQ(stored(nom, "Query"), "");
    ASSERT_TRUE(store.customer());
    EXPECT_TRUE(store.newCustomer());
    EXPECT_EQ(db::displayText(store.customer()->field(QStringLiteral("Name"))), "Ann Lee");
    EXPECT_EQ(db::displayText(store.call()->field(QStringLiteral("Query"))), "Printer jams");

    db::Database::open(path).execute(QStringLiteral("DROP TRIGGER refuse"));
    store.save(QStringLiteral("ann"));
    EXPECT_EQ(count("SELECT count(*) from Customers where Name = 'Ann Lee'"), 1);
    EXPECT_EQ(stored(nom, "Query"), "Printer jams");
    EXPECT_EQ(stored(nom, "sp2"), "Ann Lee");
}

TEST_F(CallStoreTest, ClosingAndReopeningSetTheMomentsAndTheTimeItWasOpen) {
    const qint64 nom = store.create(defaults, now, false);
    store.close(now.addSecs(2 * 3600 + 5 * 60));
    store.save(QString());
    EXPECT_EQ(stored(nom, "Status"), "Closed");
    EXPECT_EQ(stored(nom, "Date Closed"), "14/03/2025");
    EXPECT_EQ(stored(nom, "Time Closed"), "11:35:00");
    EXPECT_EQ(stored(nom, "Field1"), "0 days, 2 hrs, 5 mins.");

    ASSERT_TRUE(store.open(nom));
    store.reopen(QStringLiteral("Re-opened"));
    store.save(QString());
    EXPECT_EQ(stored(nom, "Status"), "Re-opened");
    EXPECT_EQ(stored(nom, "Date Closed"), "");
    EXPECT_EQ(stored(nom, "Field1"), "-----");
    EXPECT_FALSE(store.open(nom + 1));
    EXPECT_FALSE(store.currentCall());
}

TEST_F(CallStoreTest, TheCloseMessageIsOnlyOfferedWhenTheOptionsAskForIt) {
    EXPECT_EQ(CallStore::closeMail("ann@example.com", 7), "");
    WriteINI("Email-Settings", "Close Message", "True");
    EXPECT_EQ(CallStore::closeMail("ann@example.com", 7), "mailto:ann@example.com?Subject=Your call 7 has been closed");
    WriteINI("Email-Settings", "Close Message Text", "Call # (#) done");
    EXPECT_EQ(CallStore::closeMail("ann@example.com", 7), "mailto:ann@example.com?Subject=Call 7 (7) done");
    WriteINI("Email-Settings", "Close Message", "true");
    EXPECT_EQ(CallStore::closeMail("ann@example.com", 7), "");
}

TEST_F(CallStoreTest, CancellingANewCallRemovesItWithItsNotesAndFilesOnly) {
    const QString folder = env.path("attach");
    ASSERT_TRUE(QDir().mkpath(folder));
    for (const char* name : {"Call-1-1~a.txt", "Call-1-2~b.txt", "Call-12-1~c.txt"})
        QFile(QDir(folder).filePath(QLatin1String(name))).open(QIODevice::WriteOnly);
    const qint64 nom = store.create(defaults, now, true);
    ASSERT_EQ(nom, 1);
    db::Database::open(path).execute(QStringLiteral("INSERT INTO Notes (Call, Note) VALUES (1, 'first')"));
    db::Database::open(path).execute(QStringLiteral("INSERT INTO Notes (Call, Note) VALUES (12, 'other')"));
    EXPECT_EQ(store.info(QString()).notes, 1);
    EXPECT_EQ(CallStore::attachments(folder, 1), QStringList({"Call-1-1~a.txt", "Call-1-2~b.txt"}));
    typeCustomer("Ann Lee", "ann");

    store.cancel(true, folder);
    EXPECT_EQ(stored(nom, "Nom"), "<no call>");
    EXPECT_EQ(count("SELECT count(*) from Notes"), 1);
    EXPECT_EQ(count("SELECT count(*) from Customers"), 0);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList({"Call-12-1~c.txt"}));

    // An opened call that is cancelled only forgets what was typed.
    const qint64 kept = store.create(defaults, now, false);
    store.call()->setField(QStringLiteral("Query"), QStringLiteral("typed"));
    store.cancel(false, folder);
    EXPECT_EQ(stored(kept, "Query"), "");
    EXPECT_EQ(stored(kept, "Status"), "Open");
}

// A second running copy on the same file: its own data controls and call store.
class TwoCopies : public CallStoreTest {
protected:
    void SetUp() override {
        CallStoreTest::SetUp();
        customersA.setConnectionString(db::DataControl::connectionStringFor(path));
        customersA.setRecordSource(QStringLiteral("Select * from Customers ORDER by Name"));
    }
    void TearDown() override {
        customersA.clear();
        CallStoreTest::TearDown();
    }
    db::DataControl callsA;
    db::DataControl customersA;
    CallStore copyA{callsA, customersA};
};

TEST_F(TwoCopies, ASaveKeepsTheCustomerTextsAnotherCopyStoredUnlessThisCopyChangedThem) {
    const qint64 nom = store.create(defaults, now, true);
    typeCustomer("Ann Lee", "ann");
    store.save(QStringLiteral("ann"));
    ASSERT_TRUE(store.open(nom));
    ASSERT_TRUE(store.customer()); // copy B stands on Ann, read before the rename

    // Copy A renames her; the rename reaches her calls.
    customersA.refresh();
    customersA.recordset()->setField(QStringLiteral("Name"), QStringLiteral("Ann Lee-Smith"));
    copyA.saveCustomer(QStringLiteral("ann"), true);
    EXPECT_EQ(stored(nom, "sp2"), "Ann Lee-Smith");

    store.call()->setField(QStringLiteral("Query"), QStringLiteral("unrelated"));
    store.save(QStringLiteral("ann"));
    EXPECT_EQ(stored(nom, "Query"), "unrelated");
    EXPECT_EQ(stored(nom, "sp2"), "Ann Lee-Smith");
    EXPECT_EQ(stored(nom, "Contact"), "555 123  -  1 High St"); // the carry leaves the contact

    // What copy B changes itself it stores, beside what copy A stored.
    ASSERT_TRUE(store.open(nom));
    store.customer()->setField(QStringLiteral("Extension"), QStringLiteral("555 000"));
    store.save(QStringLiteral("ann"));
    EXPECT_EQ(stored(nom, "sp2"), "Ann Lee-Smith");
    EXPECT_EQ(stored(nom, "Contact"), "555 000  -  1 High St");
}

} // namespace

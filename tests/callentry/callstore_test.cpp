#include "callentry/callstore.h"

#include "platform/db/database.h"
#include "platform/db/datacontrol.h"
#include "platform/db/dberror.h"
#include "platform/db/recordset.h"
#include "platform/db/values.h"
#include "shared/shared.h"
#include "support/plainsqlite.h"
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
        for (db::DataControl* dc : {&callsA, &customersA})
            dc->setConnectionString(db::DataControl::connectionStringFor(path));
        callsA.setRecordSource(CallStore::noCallSql());
        callsA.refresh();
        customersA.setRecordSource(QStringLiteral("Select * from Customers ORDER by Name"));
    }
    void TearDown() override {
        callsA.clear();
        customersA.clear();
        CallStoreTest::TearDown();
    }
    // Another tool's write to the file, between a copy's read and its save.
    void tool(const QString& sql) { ASSERT_EQ(PlainSqlite(path).exec(sql), ""); }
    QString customerField(const QString& name, const QString& column) {
        return PlainSqlite(path).scalar(
            QStringLiteral("SELECT [%1] FROM Customers WHERE Name = '%2'").arg(column, name));
    }
    // A copy's customer list standing on the row that shows this reference, as that copy read it.
    static void standOn(db::DataControl& list, const QString& reference) {
        list.recordset()->moveTo(callrules::findCustomer(*list.recordset(), reference));
    }
    static QString typed(db::Recordset* rs, const char* column) {
        return db::displayText(rs->field(QLatin1String(column)));
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

TEST_F(TwoCopies, ACallTakesTheReferenceItsCustomerHasInTheFileAndKeepsItUnlessAnotherIsChosen) {
    tool("INSERT INTO Customers (Name, Username, Extension, Location) VALUES ('Zoe Bell', 'ZOB-1''', '555', "
         "'High St')");
    customers.refresh();
    customersA.refresh();
    // This copy logs a call for Zoe; meanwhile the other gives her a new reference and name.
    const qint64 nom = store.create(defaults, now, false);
    standOn(customers, "ZOB-1'");
    standOn(customersA, "ZOB-1'");
    customersA.recordset()->setField(QStringLiteral("Username"), QStringLiteral("ZOB-9"));
    customersA.recordset()->setField(QStringLiteral("Name"), QStringLiteral("Zoe Bell-Ward"));
    copyA.saveCustomer(QStringLiteral("ZOB-1'"), true);
    store.save(QStringLiteral("ZOB-1'"));
    EXPECT_EQ(stored(nom, "Username") + "|" + stored(nom, "sp2") + "|" + stored(nom, "Contact"),
              "ZOB-9|Zoe Bell-Ward|555  -  High St");

    // Opened again here, where the list still shows the old reference, and closed: the call keeps her and its
    // own texts.
    tool("UPDATE Calls SET sp2 = 'Zoe at site 2'");
    ASSERT_TRUE(store.open(nom));
    standOn(customers, "ZOB-1'");
    store.close(now.addSecs(600));
    store.save(QStringLiteral("ZOB-1'"));
    EXPECT_EQ(stored(nom, "Username") + "|" + stored(nom, "sp2") + "|" + stored(nom, "Status"),
              "ZOB-9|Zoe at site 2|Closed");
}

TEST_F(TwoCopies, SaveEditCarriesOnlyWhatItChangedFromTheReferenceTheFileHolds) {
    tool("INSERT INTO Customers (Name, Username, Extension) VALUES ('Emma Moss', 'EMO-8', ''), ('Bob Roe', 'bob', "
         "'555')");
    tool("INSERT INTO Calls (Username, sp2) VALUES ('EMO-8', 'Emma Moss'), ('bob', 'Bob Roe')");
    customers.refresh();
    customersA.refresh();
    standOn(customersA, "EMO-8");
    customersA.recordset()->setField(QStringLiteral("Username"), QStringLiteral("EMO-9"));
    copyA.saveCustomer(QStringLiteral("EMO-8"), true);
    // This copy, whose list still shows EMO-8, gives her EMO-10: refused, then stored onto her as read anew, her
    // call following from EMO-9.
    standOn(customers, "EMO-8");
    customers.recordset()->setField(QStringLiteral("Username"), QStringLiteral("EMO-10"));
    EXPECT_THROW(store.saveCustomer(QStringLiteral("EMO-8"), true), db::DbError);
    EXPECT_EQ(customerField("Emma Moss", "Username") + "|" + stored(1, "Username"), "EMO-9|EMO-9");
    EXPECT_EQ(store.saveCustomer(QStringLiteral("EMO-8"), true).calls, 1);
    EXPECT_EQ(customerField("Emma Moss", "Username") + "|" + stored(1, "Username"), "EMO-10|EMO-10");

    // The other copy renames Bob, and his call is given a text of its own; this copy, which read him before,
    // changes only his phone: the call keeps its text.
    standOn(customersA, "bob");
    customersA.recordset()->setField(QStringLiteral("Name"), QStringLiteral("Bob Roe Ltd"));
    copyA.saveCustomer(QStringLiteral("bob"), true);
    tool("UPDATE Calls SET sp2 = 'Bob at site 2' WHERE Nom = 2");
    standOn(customers, "bob");
    customers.recordset()->setField(QStringLiteral("Extension"), QStringLiteral("556"));
    store.saveCustomer(QStringLiteral("bob"), true);
    EXPECT_EQ(customerField("Bob Roe Ltd", "Extension") + "|" + stored(2, "sp2"), "556|Bob at site 2");

    // A name typed here while the other copy renames him is told, also when the list is read again in between.
    customers.refreshInPlace();
    customers.recordset()->setField(QStringLiteral("Name"), QStringLiteral("Bob R."));
    tool("UPDATE Customers SET Name = 'Robert Roe' WHERE Username = 'bob'");
    customers.refreshInPlace();
    EXPECT_THROW(store.saveCustomer(QStringLiteral("bob"), true), db::DbError);
    EXPECT_EQ(customerField("Robert Roe", "Username"), "bob");
}

TEST_F(TwoCopies, ACustomerAnotherCopyDeletedIsToldAndTheCallKeepsItsOwnTexts) {
    tool("INSERT INTO Customers (Name, Username, Extension, Location) VALUES ('Bob Roe', 'bob', '555', 'High St'), "
         "('Cy Dee', 'cy', '', '')");
    tool("INSERT INTO Calls (Username, sp2, Contact) VALUES ('bob', 'Bob Roe', '555  -  High St')");
    customers.refresh();
    ASSERT_TRUE(store.open(1));
    standOn(customers, "bob");
    store.customer()->setField(QStringLiteral("Extension"), QStringLiteral("556"));
    store.call()->setField(QStringLiteral("Query"), QStringLiteral("Printer jams"));
    tool("DELETE FROM Customers WHERE Username = 'bob'");
    try {
        store.save(QStringLiteral("bob"));
        FAIL() << "typing for a deleted customer was taken as stored";
    } catch (const db::DbError& e) {
        EXPECT_TRUE(e.message().contains("could not be kept: Extension \"556\""));
    }
    // The call's typing stays, and Save then stores it with its own customer texts.
    EXPECT_EQ(typed(store.call(), "Query"), "Printer jams");
    store.save(QStringLiteral("bob"));
    EXPECT_EQ(stored(1, "sp2") + "|" + stored(1, "Contact") + "|" + stored(1, "Query"),
              "Bob Roe|555  -  High St|Printer jams");

    // Save Edit of a customer another copy deleted is refused too; the typed phone stays.
    standOn(customers, "cy");
    customers.recordset()->setField(QStringLiteral("Extension"), QStringLiteral("777"));
    tool("DELETE FROM Customers WHERE Username = 'cy'");
    EXPECT_THROW(store.saveCustomer(QStringLiteral("cy"), true), db::DbError);
    EXPECT_EQ(count("SELECT count(*) from Customers"), 0);
    EXPECT_EQ(typed(customers.recordset(), "Extension"), "777");
}

TEST_F(TwoCopies, TwoCopiesSavingOneCallKeepEachOthersAuditLines) {
    const qint64 nom = store.create(defaults, now, false);
    auto line = [&](int minutes, const QString& text) {
        return callrules::auditLine(now.addSecs(60 * minutes), defaults.datePattern, text);
    };
    QStringList lines{stored(nom, "Audit")};
    auto add = [&](CallStore& copy, int minutes, const QString& text) {
        copy.audit(now.addSecs(60 * minutes), defaults.datePattern, text);
        lines << line(minutes, text);
    };
    ASSERT_TRUE(copyA.open(nom));
    copyA.call()->setField(QStringLiteral("Status"), QStringLiteral("Pending"));
    add(copyA, 1, "Status changed to Pending by Admin");
    copyA.save(QString());
    add(store, 2, "Category changed to Network by amy");
    store.save(QString());
    EXPECT_EQ(stored(nom, "Audit"), lines.join("\r\n"));
    EXPECT_EQ(stored(nom, "Status"), "Pending");

    // A save the database refused keeps this copy's line once, after what the file gained meanwhile.
    ASSERT_TRUE(store.open(nom));
    ASSERT_TRUE(copyA.open(nom));
    store.audit(now.addSecs(180), defaults.datePattern, QStringLiteral("Call was Closed by amy"));
    tool("CREATE TRIGGER refuse BEFORE UPDATE ON Calls BEGIN SELECT RAISE(ABORT, 'refused'); END");
    EXPECT_THROW(store.save(QString()), db::DbError);
    tool("DROP TRIGGER refuse");
    add(copyA, 4, "Call Assigned to bob by Admin");
    copyA.save(QString());
    store.save(QString());
    EXPECT_EQ(stored(nom, "Audit"), (lines << line(3, "Call was Closed by amy")).join("\r\n"));
}

} // namespace

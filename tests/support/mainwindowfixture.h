#pragma once

#include "support/testenv.h"

#include <QString>
#include <QVariant>
#include <gtest/gtest.h>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>

class Form1;

// The real main window started in-process on a fresh TestEnv (settings base = the env's application-data
// folder), registered as the one main window that other windows reach.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the main window; with a staff name it also logs that member in (no password expected unless
    // the test scripts one).
    Form1& start(const QString& loginAs = QStringLiteral("Admin"));
    // Closes the main window as the user would (its shutdown runs).
    void closeMain();

    // Creates the default database before start(), so a test can fill it first.
    void prepareDatabase();
    // Direct database helpers (by path, outside the window).
    void exec(const QString& jetSql);
    QVariant scalar(const QString& jetSql);
    int count(const QString& jetSql);
    // Adds one row to `table` with the given fields (a Null QVariant stores Null); the new row's first field
    // (the counter of Calls, Notes and Inventory).
    QVariant addRow(const QString& table, std::initializer_list<std::pair<const char*, QVariant>> fields);
    void addStaff(const QString& id, const QString& password, const QString& level);
    int addCall(const QString& reference, const QString& status, const QString& assignee,
                const QString& category = QStringLiteral("Hardware"));
    void addCustomer(const QString& name, const QString& reference, const QString& phone = QString(),
                     const QString& address = QString(), const QString& email = QString());

    std::unique_ptr<TestEnv> env;
    Form1* main = nullptr;
    QString dbPath;
};

class LargeFonts;

// The main window with the largest fonts a user may pick, once for each family of fitFamilies() (the parameter);
// the fonts go back after the window has gone.
class LargeFontsMainWindowTest : public MainWindowTest, public ::testing::WithParamInterface<QString> {
protected:
    void SetUp() override;
    void TearDown() override;
    // Starts the main window logged in as Admin, shown.
    Form1& startBig();
    // A failure's case, naming the family.
    std::string when(const std::string& what) const;

private:
    std::unique_ptr<LargeFonts> m_fonts;
};

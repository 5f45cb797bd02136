#include "support/input.h"
#include "support/plainsqlite.h"
#include "support/testenv.h"

#include "mainwindow/form1.h"
#include "platform/ini.h"
#include "platform/widgets/forms.h"
#include "shared/schema.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// A copy of the program that logs in and saves new calls for new customers until it is killed.
[[noreturn]] void saveCallsUntilKilled(const QString& dbPath, const QString& scratch, const QString& ready, int copy) {
    qputenv("TMPDIR", QFile::encodeName(scratch)); // what the copy leaves behind goes with the test's folder
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    TestEnv env;
    IniFile(env.settingsFolder + QStringLiteral("/quorvane.ini"))
        .write(QStringLiteral("Database"), QStringLiteral("Database Path"), dbPath);
    auto* f = new Form1(env.appDataFolder);
    ui::detail::registerForm(typeid(Form1), f);
    f->Combo2->setCurrentText(QStringLiteral("Admin"));
    f->Command1->click();
    QFile(ready).open(QIODevice::WriteOnly);
    for (int i = 0; i < 10000; ++i) {
        const QString ref = QStringLiteral("c%1-%2").arg(copy).arg(i);
        f->Command8->click();
        typeText(f->Text10, QStringLiteral("Name ") + ref);
        typeText(f->Text11, ref);
        f->Text16->setPlainText(QStringLiteral("Query ") + ref);
        f->Command10->click();
    }
    _exit(0);
}

TEST(CallSave, ACopyKilledWhileSavingLeavesEveryCustomerWithItsCallAndASoundFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString dbPath = dir.filePath(QStringLiteral("desk.qvdb"));
    schema::createDatabase(dbPath);
    QRandomGenerator random(1206);
    for (int copy = 0; copy < 10; ++copy) {
        const QString ready = dir.filePath(QStringLiteral("ready%1").arg(copy));
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0)
            saveCallsUntilKilled(dbPath, dir.path(), ready, copy);
        for (int waited = 0; waited < 300 && !QFile::exists(ready); ++waited)
            QThread::msleep(20);
        QThread::msleep(random.bounded(30, 400));
        kill(pid, SIGKILL);
        int status = 0;
        waitpid(pid, &status, 0);
    }

    PlainSqlite raw(dbPath);
    EXPECT_EQ(raw.integrityCheck(), "ok");
    EXPECT_GT(raw.scalar("SELECT count(*) FROM Customers").toInt(), 0);
    // Every stored customer has its one call, and every call given a customer has it.
    EXPECT_EQ(raw.scalar("SELECT count(*) FROM Customers c WHERE (SELECT count(*) FROM Calls k WHERE k.Username = "
                         "c.Username AND k.sp2 = c.Name AND k.Query = 'Query ' || c.Username) <> 1"),
              "0");
    EXPECT_EQ(raw.scalar("SELECT count(*) FROM Calls k WHERE ifnull(k.Username, '') <> '' AND NOT EXISTS "
                         "(SELECT 1 FROM Customers c WHERE c.Username = k.Username)"),
              "0");
}

} // namespace

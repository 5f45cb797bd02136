#include "support/forked.h"
#include "support/plainsqlite.h"
#include "support/testenv.h"

#include "mainwindow/form1.h"
#include "platform/ini.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Copies of the program started at the same moment by one user whose settings folder is still empty. Each
// copy is its own process; no window exists in the test process before the fork.
TEST(FirstStart, FourCopiesAtOnceOnAnEmptySettingsFolderAllStartOnOneWholeDatabase) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (int round = 0; round < 3; ++round) {
        const QString base = dir.filePath(QStringLiteral("user%1").arg(round));
        QDir().mkpath(base);
        const auto codes = runForked(4, [&](int) {
            qputenv("TMPDIR", QFile::encodeName(dir.path()));
            QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
            TestEnv env;
            Form1 main(base);
            if (main.ended())
                return 1;
            if (!env.dialogs.messages.empty())
                return 2;
            return main.Combo2->count() == 1 && main.statuses.size() == 5 ? 0 : 3;
        });
        EXPECT_EQ(codes, (std::vector<int>{0, 0, 0, 0})) << "round " << round;
        const QString folder = base + QStringLiteral("/Quorvane");
        EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), (QStringList{"desk.qvdb", "quorvane.ini"}));
        EXPECT_EQ(IniFile(folder + QStringLiteral("/quorvane.ini")).read("Database", "Database Path"),
                  folder + QStringLiteral("/desk.qvdb"));
        PlainSqlite raw(folder + QStringLiteral("/desk.qvdb"));
        EXPECT_EQ(raw.integrityCheck(), "ok");
        EXPECT_EQ(raw.scalar("SELECT count(*) FROM Analysts"), "1");
    }
}

} // namespace

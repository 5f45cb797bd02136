#include "support/forked.h"
#include "support/plainsqlite.h"
#include "support/testenv.h"

#include "mainwindow/form1.h"
#include "platform/ini.h"
#include "shared/shared.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// "section/key" of every key line of a settings file.
QSet<QString> keysOf(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QSet<QString> keys;
    QString section;
    for (const QString& line : QString::fromUtf8(f.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)) {
        if (line.startsWith(QLatin1Char('[')))
            section = line.mid(1, line.size() - 2);
        else
            keys.insert(section + QLatin1Char('/') + line.left(line.indexOf(QLatin1Char('='))));
    }
    return keys;
}

struct Explicit {
    const char* section;
    const char* key;
    const char* value;
};

// Keys the start fills with defaults, each given a value of its own by one copy.
const Explicit Chosen[] = {{"Call Grid", "Refresh Interval", "61"},
                           {"Program", "Spare Field Name", "Copy 1 notes"},
                           {"Customisation", "Back-Colour", "255"},
                           {"Call Grid", "Column Width 3", "1234"}};

int startCopy(const QString& tmp, const QString& base, const Explicit* own, bool ownFirst) {
    qputenv("TMPDIR", QFile::encodeName(tmp));
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    TestEnv env;
    const QString ini = base + QStringLiteral("/Quorvane/quorvane.ini");
    if (own && ownFirst && !IniFile(ini).write(own->section, own->key, own->value))
        return 4;
    Form1 main(base);
    if (main.ended() || !env.dialogs.messages.empty())
        return 1;
    if (own && !ownFirst && !WriteINI(own->section, own->key, own->value))
        return 4;
    return 0;
}

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

// The defaults a start fills in are written together; copies starting at once on one fresh settings file
// lose none of them, and a value any copy writes meanwhile stays, whichever copy's defaults come later.
TEST(FirstStart, CopiesStartingAtOnceKeepEveryDefaultAndEveryCopysOwnValue) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString alone = dir.filePath(QStringLiteral("alone"));
    QDir().mkpath(alone);
    ASSERT_EQ(runForked(1, [&](int) { return startCopy(dir.path(), alone, nullptr, false); }), std::vector<int>{0});
    const QSet<QString> defaults = keysOf(alone + QStringLiteral("/Quorvane/quorvane.ini"));
    for (const Explicit& e : Chosen)
        ASSERT_TRUE(defaults.contains(QString::fromLatin1(e.section) + '/' + e.key)) << e.key;

    for (int round = 0; round < 3; ++round) {
        const QString base = dir.filePath(QStringLiteral("user%1").arg(round));
        QDir().mkpath(base);
        const auto codes = runForked(8, [&](int copy) {
            return startCopy(dir.path(), base, copy < 4 ? &Chosen[copy] : nullptr, (copy + round) % 2 == 0);
        });
        EXPECT_EQ(codes, std::vector<int>(8, 0)) << "round " << round;
        const QString ini = base + QStringLiteral("/Quorvane/quorvane.ini");
        EXPECT_EQ(keysOf(ini), defaults) << "round " << round;
        for (const Explicit& e : Chosen)
            EXPECT_EQ(IniFile(ini).read(e.section, e.key), QString::fromUtf8(e.value)) << "round " << round;
    }
}

} // namespace

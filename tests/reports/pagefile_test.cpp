#include "reports/pagefile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(PageFileTest, OnlyACommittedPageReplacesTheOldFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("out/report.csv"); // the folder is made too
    {
        PageFile page;
        ASSERT_TRUE(page.open(path));
        page.writeLine("<P>");
        EXPECT_FALSE(QFile::exists(path));
    }
    EXPECT_TRUE(QDir(dir.filePath("out")).entryList(QDir::Files | QDir::Hidden).isEmpty()); // nothing left
    {
        PageFile page;
        ASSERT_TRUE(page.open(path));
        page.writeLine(QString::fromUtf8("\"Jos\xC3\xA9\","));
        page.writeLine("");
        ASSERT_TRUE(page.commit());
    }
    EXPECT_EQ(contents(path), QByteArray("\"Jos\xC3\xA9\",\r\n\r\n"));
    {
        PageFile page;
        ASSERT_TRUE(page.open(path));
        page.writeLine("half");
    }
    EXPECT_EQ(contents(path), QByteArray("\"Jos\xC3\xA9\",\r\n\r\n"));
}

TEST(PageFileTest, APageLeftUnsyncedStillReplacesTheOldOneWholeAndReadableByAll) {
    QTemporaryDir dir;
    const QString path = dir.filePath("monitor.htm");
    for (const char* text : {"old", "new"}) {
        PageFile page;
        ASSERT_TRUE(page.open(path, PageFile::Sync::Skip));
        page.writeLine(text);
        ASSERT_TRUE(page.commit());
    }
    {
        PageFile page;
        ASSERT_TRUE(page.open(path, PageFile::Sync::Skip));
        page.writeLine("half");
    }
    EXPECT_EQ(contents(path), QByteArray("new\r\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"monitor.htm"});
    EXPECT_TRUE(QFile::permissions(path) & QFileDevice::ReadOther);
}

} // namespace

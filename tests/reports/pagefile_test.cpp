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

TEST(PageFileTest, NothingAppearsUntilCommitted) {
    QTemporaryDir dir;
    const QString path = dir.filePath("report.htm");
    {
        PageFile page;
        ASSERT_TRUE(page.open(path));
        EXPECT_TRUE(page.writeLine("<P>"));
        EXPECT_FALSE(QFile::exists(path));
    }
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty()); // no temporary left
}

TEST(PageFileTest, CommitReplacesTheOldFileAndAnAbandonedPageKeepsIt) {
    QTemporaryDir dir;
    const QString path = dir.filePath("out/report.csv"); // the folder is made too
    {
        PageFile page;
        ASSERT_TRUE(page.open(path));
        page.writeLine(QString::fromUtf8("\"Jos\xC3\xA9\","));
        page.writeLine("");
        ASSERT_TRUE(page.commit());
        EXPECT_FALSE(page.writeLine("late")); // closed by the commit
    }
    EXPECT_EQ(contents(path), QByteArray("\"Jos\xC3\xA9\",\r\n\r\n"));
    {
        PageFile page;
        ASSERT_TRUE(page.open(path));
        page.writeLine("half");
    }
    EXPECT_EQ(contents(path), QByteArray("\"Jos\xC3\xA9\",\r\n\r\n"));
}

TEST(PageFileTest, UnwritablePlaceIsReported) {
    QTemporaryDir dir;
    QFile plain(dir.filePath("plain"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    PageFile page;
    EXPECT_FALSE(page.open(dir.filePath("plain/report.htm")));
    EXPECT_FALSE(page.writeLine("x"));
    EXPECT_FALSE(page.commit());
}

} // namespace

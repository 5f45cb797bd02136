#include "platform/ini.h"
#include "support/forked.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void store(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

class IniTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("quorvane.ini"));
};

TEST_F(IniTest, ReadsWithoutRegardToCaseTrimmingAndUnquoting) {
    store(path, "\xEF\xBB\xBF; settings\r\n[Program]\r\n  Refresh Interval =  \"300\"  \r\nQuoted=\"half\n"
                "[Images]\nBar1=\"\"\r\nName=Jos\xC3\xA9\n");
    IniFile ini(path);
    EXPECT_EQ(ini.read(" program ", "REFRESH INTERVAL"), QString("300"));
    EXPECT_EQ(ini.read("Program", "quoted"), QString("\"half"));
    EXPECT_EQ(ini.read("Images", "Bar1"), QString(""));
    EXPECT_EQ(ini.read("Images", "Name"), QString::fromUtf8("Jos\xC3\xA9"));
    EXPECT_EQ(ini.read("Images", "Refresh Interval"), std::nullopt); // keys belong to their section
    EXPECT_EQ(ini.read("Monitor", "Bar1"), std::nullopt);
    store(path, "[Program]\nName=Jos\xE9\n"); // an older single-byte file
    EXPECT_EQ(ini.read("Program", "Name"), QString::fromUtf8("Jos\xC3\xA9"));
}

TEST_F(IniTest, WriteKeepsOtherLinesAndPlacesNewKeysAtTheEndOfTheirSection) {
    const QByteArray before = "; kept\r\n[Program]\r\nAlpha=1\r\n; inside\r\nBeta = old\r\n\r\n[Images]\r\nBar1=x\r\n";
    store(path, before);
    IniFile ini(path);
    EXPECT_FALSE(ini.write("Program", "Beta", "two\r\nlines"));
    EXPECT_FALSE(ini.write("Program", "a=b", "x"));
    EXPECT_EQ(contents(path), before);
    ASSERT_TRUE(ini.write("PROGRAM", "beta", "new"));
    ASSERT_TRUE(ini.write("program", "Gamma", "3"));
    ASSERT_TRUE(ini.write("Reports", "Logo Image", "/opt/qv/Media/logo.gif"));
    EXPECT_EQ(contents(path),
              QByteArray("; kept\r\n[Program]\r\nAlpha=1\r\n; inside\r\nbeta=new\r\nGamma=3\r\n\r\n"
                         "[Images]\r\nBar1=x\r\n\r\n[Reports]\r\nLogo Image=/opt/qv/Media/logo.gif\r\n"));
}

TEST_F(IniTest, WriteCreatesFolderAndFileAndLeavesNothingElseBehind) {
    const QString nested = dir.filePath("a/b/quorvane.ini");
    ASSERT_TRUE(IniFile(nested).write("Database", "Database Path", "/data/desk.qvdb"));
    EXPECT_EQ(contents(nested), QByteArray("[Database]\r\nDatabase Path=/data/desk.qvdb\r\n"));
    EXPECT_EQ(QDir(dir.filePath("a/b")).entryList(QDir::Files | QDir::Hidden), QStringList{"quorvane.ini"});
    store(dir.filePath("plain"), "x"); // a folder that cannot be made is reported
    EXPECT_FALSE(IniFile(dir.filePath("plain/quorvane.ini")).write("Program", "Name", "b"));
}

TEST_F(IniTest, NulInTheFileIsSkippedAndNulOrSectionLikeKeysAreRefused) {
    store(path, QByteArray("[Program]\r\nNa\0me=a\r\n", 20) + QByteArray("\0\0", 2) + "[Database]\r\nPath=/d\r\n");
    IniFile ini(path);
    EXPECT_EQ(ini.read("Program", "Name"), QString("a"));
    EXPECT_EQ(ini.read("Database", "Path"), QString("/d"));
    const QByteArray before = contents(path);
    EXPECT_FALSE(ini.write("Program", "Other", QString("b") + QChar(0) + "c"));
    EXPECT_FALSE(ini.write("Program", QString("O") + QChar(0), "b"));
    EXPECT_FALSE(ini.write("Program", "[Database]", "b"));
    EXPECT_FALSE(ini.write("Program", " [x", "b"));
    EXPECT_EQ(contents(path), before);
    ASSERT_TRUE(ini.write("Program", "Other", "b"));
    EXPECT_EQ(contents(path), QByteArray("[Program]\r\nName=a\r\nOther=b\r\n[Database]\r\nPath=/d\r\n"));
}

TEST_F(IniTest, CopiesWritingAtOnceLoseNoKey) {
    const auto codes = runForked(4, [&](int copy) {
        IniFile ini(path);
        for (int k = 0; k < 100; ++k)
            if (!ini.write(QStringLiteral("S%1").arg(k % 3), QStringLiteral("Copy%1 Key%2").arg(copy).arg(k), "v"))
                return 1;
        return 0;
    });
    EXPECT_EQ(codes, (std::vector<int>{0, 0, 0, 0}));
    IniFile ini(path);
    int found = 0;
    for (int copy = 0; copy < 4; ++copy)
        for (int k = 0; k < 100; ++k)
            found += ini.read(QStringLiteral("S%1").arg(k % 3), QStringLiteral("Copy%1 Key%2").arg(copy).arg(k)) ==
                     QString("v");
    EXPECT_EQ(found, 400);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"quorvane.ini"});
}

} // namespace

#include "platform/ini.h"

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
    store(path, "; settings\r\n"
                "[Program]\r\n"
                "  Refresh Interval =  \"300\"  \r\n"
                "Quoted=\"half\n"
                "[Images]\n"
                "Bar1=\"\"\r\n");
    IniFile ini(path);
    EXPECT_EQ(ini.read("program", "REFRESH INTERVAL"), QString("300"));
    EXPECT_EQ(ini.read(" PROGRAM ", "quoted"), QString("\"half"));
    EXPECT_EQ(ini.read("Images", "Bar1"), QString(""));
    EXPECT_EQ(ini.read("Images", "Refresh Interval"), std::nullopt); // keys belong to their section
    EXPECT_EQ(ini.read("Monitor", "Bar1"), std::nullopt);
    EXPECT_EQ(IniFile(dir.filePath("none.ini")).read("Program", "x"), std::nullopt);
}

TEST_F(IniTest, WriteKeepsOtherLinesAndPlacesNewKeysAtTheEndOfTheirSection) {
    store(path, "; kept comment\r\n"
                "[Program]\r\n"
                "Alpha=1\r\n"
                "; inside\r\n"
                "Beta = old\r\n"
                "\r\n"
                "[Images]\r\n"
                "Bar1=x\r\n");
    IniFile ini(path);
    ASSERT_TRUE(ini.write("PROGRAM", "beta", "new"));
    ASSERT_TRUE(ini.write("program", "Gamma", "3"));
    ASSERT_TRUE(ini.write("Reports", "Logo Image", "/opt/qv/Media/logo.gif"));
    EXPECT_EQ(contents(path), QByteArray("; kept comment\r\n"
                                         "[Program]\r\n"
                                         "Alpha=1\r\n"
                                         "; inside\r\n"
                                         "beta=new\r\n"
                                         "Gamma=3\r\n"
                                         "\r\n"
                                         "[Images]\r\n"
                                         "Bar1=x\r\n"
                                         "\r\n"
                                         "[Reports]\r\n"
                                         "Logo Image=/opt/qv/Media/logo.gif\r\n"));
    EXPECT_EQ(ini.read("Program", "Beta"), QString("new"));
}

TEST_F(IniTest, WriteCreatesFolderAndFileAndLeavesNothingElseBehind) {
    const QString nested = dir.filePath("a/b/quorvane.ini");
    ASSERT_TRUE(IniFile(nested).write("Database", "Database Path", "/data/desk.qvdb"));
    EXPECT_EQ(contents(nested), QByteArray("[Database]\r\nDatabase Path=/data/desk.qvdb\r\n"));
    EXPECT_EQ(QDir(dir.filePath("a/b")).entryList(QDir::Files | QDir::Hidden), QStringList{"quorvane.ini"});
    EXPECT_EQ(IniFile(nested).read("database", "database path"), QString("/data/desk.qvdb"));
}

TEST_F(IniTest, RefusedWriteLeavesFileUntouched) {
    store(path, "[Program]\r\nName=a\r\n");
    IniFile ini(path);
    EXPECT_FALSE(ini.write("Program", "Name", "two\r\nlines"));
    EXPECT_FALSE(ini.write("Program", "a=b", "x"));
    EXPECT_FALSE(ini.write("Program", "", "x"));
    EXPECT_EQ(contents(path), QByteArray("[Program]\r\nName=a\r\n"));
    // A folder that cannot be made is reported, not hidden.
    store(dir.filePath("plain"), "x");
    EXPECT_FALSE(IniFile(dir.filePath("plain/quorvane.ini")).write("Program", "Name", "b"));
}

TEST_F(IniTest, FileThatIsNotTextReadsEmptyAndIsReplacedOnWrite) {
    store(path, QByteArray("[Program]\r\nName=a\r\n") + QByteArray("\0\0\x01\xff", 4));
    IniFile ini(path);
    EXPECT_EQ(ini.read("Program", "Name"), std::nullopt);
    ASSERT_TRUE(ini.write("Program", "Other", "b"));
    EXPECT_EQ(contents(path), QByteArray("[Program]\r\nOther=b\r\n"));
}

TEST_F(IniTest, ReadsUtf8AndOlderSingleByteFiles) {
    store(path, "\xEF\xBB\xBF[Program]\nName=Jos\xC3\xA9\n");
    EXPECT_EQ(IniFile(path).read("Program", "Name"), QString::fromUtf8("Jos\xC3\xA9"));
    store(path, "[Program]\nName=Jos\xE9\n");
    EXPECT_EQ(IniFile(path).read("Program", "Name"), QString::fromUtf8("Jos\xC3\xA9"));
}

} // namespace

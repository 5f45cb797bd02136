#include "platform/ini.h"
#include "shared/colours.h"
#include "shared/shared.h"

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class ReadIniTest : public ::testing::Test {
protected:
    void SetUp() override { qv::inipath() = dir.filePath(QStringLiteral("Quorvane/quorvane.ini")); }
    void TearDown() override { qv::inipath().clear(); }
    QTemporaryDir dir;
};

TEST_F(ReadIniTest, MissingOrEmptyKeyGivesDefaultAndWritesItBackUnlessEmpty) {
    EXPECT_EQ(ReadINI("Program", "Missing", ""), "");
    EXPECT_FALSE(QFile::exists(qv::inipath()));
    EXPECT_EQ(ReadINI("Program", "Refresh Interval", "300"), "300");
    ASSERT_TRUE(WriteINI("Program", "Spare", ""));
    EXPECT_EQ(ReadINI("program", "spare", "None"), "None");
    EXPECT_EQ(IniFile(qv::inipath()).read("Program", "Refresh Interval"), QString("300"));
    EXPECT_EQ(IniFile(qv::inipath()).read("Program", "Spare"), QString("None"));
}

TEST_F(ReadIniTest, LongValueIsCutTo255Characters) {
    const QString longValue(300, QLatin1Char('x'));
    ASSERT_TRUE(WriteINI("Reports", "Logo Image", longValue));
    EXPECT_EQ(ReadINI("Reports", "Logo Image", "d"), longValue.left(255));
}

QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The reads of a start: defaults for missing, empty and quoted-empty keys, a key read twice with another
// default, one explicit write in between, and keys whose default cannot be stored.
void readMixOfDefaults() {
    ReadINI("Program", "Refresh Interval", "300");
    ReadINI("program", " REFRESH interval ", "600");
    ReadINI("Images", "Bar1", "/opt/blue.jpg");
    ReadINI("Program", "Spare", "None");
    ReadINI("Program", "Quoted", "\"\"");
    ReadINI("Program", "Quoted", "later");
    ReadINI("Call Grid", "Sort Order", "ASC");
    WriteINI("Call Grid", "Sort Order", "DESC");
    ReadINI("Call Grid", "Grid Colour", "15921906");
    ReadINI("Program", "Broken", "a\nb");
    ReadINI("Bad]", "Key", "v");
    ReadINI("Program", "Blank", "");
}

// A batch writes the same bytes as the reads one by one would, keeping what the file held (comments, blank
// lines, another section's keys).
TEST_F(ReadIniTest, BatchedDefaultsLeaveTheSameFileAsDefaultsWrittenOneByOne) {
    const QByteArray start = "; mine\r\n[Program]\r\nSpare=\r\nName=x\r\n\r\n[Other]\r\nA=1\r\n";
    const QString single = dir.filePath(QStringLiteral("single.ini"));
    const QString batched = dir.filePath(QStringLiteral("batched.ini"));
    for (const QString& path : {single, batched}) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(start);
    }
    qv::inipath() = single;
    readMixOfDefaults();
    qv::inipath() = batched;
    {
        const qv::SettingsBatch batch;
        readMixOfDefaults();
    }
    EXPECT_EQ(contents(batched), contents(single));
    EXPECT_TRUE(contents(single).contains("Refresh Interval=300\r\n"));
    EXPECT_TRUE(contents(single).contains("Sort Order=DESC\r\n"));
    EXPECT_FALSE(contents(single).contains("Broken"));
}

// Inside a batch nothing is written until the outermost batch ends, reads see the defaults kept back, and a
// value another copy writes meanwhile is the one read and the one kept.
TEST_F(ReadIniTest, BatchKeepsDefaultsBackUntilItsEndAndAnotherCopysValueWins) {
    const QString path = qv::inipath();
    {
        const qv::SettingsBatch outer;
        {
            const qv::SettingsBatch inner;
            EXPECT_EQ(ReadINI("Program", "Refresh Interval", "300"), "300");
            EXPECT_EQ(ReadINI("Program", "Spare", "None"), "None");
            EXPECT_EQ(ReadINI("Program", "Stats 3", "Pending"), "Pending");
        }
        EXPECT_FALSE(QFile::exists(path));
        EXPECT_EQ(ReadINI("PROGRAM", "refresh interval", "600"), "300");
        ASSERT_TRUE(IniFile(path).write("Program", "Spare", "Theirs")); // another copy
        ASSERT_TRUE(IniFile(path).write("Program", "Stats 3", ""));     // emptied: a default fills it again
        EXPECT_EQ(ReadINI("Program", "Spare", "None"), "Theirs");
        EXPECT_EQ(contents(path), QByteArray("[Program]\r\nSpare=Theirs\r\nStats 3=\r\n"));
    }
    EXPECT_EQ(contents(path), QByteArray("[Program]\r\nSpare=Theirs\r\nStats 3=Pending\r\nRefresh Interval=300\r\n"));
    EXPECT_EQ(ReadINI("Program", "Refresh Interval", "600"), "300");
}

TEST(SqlQuote, DoublesEveryApostrophe) {
    EXPECT_EQ(SQLQuote("O'Brien's ''"), "O''Brien''s ''''");
}

QDateTime at(int y, int mo, int d, int h, int mi, int s = 0) {
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s));
}

TEST(FormatDurationTest, AcrossDayMonthAndYearEnds) {
    EXPECT_EQ(FormatDuration(at(2024, 1, 31, 23, 50), at(2024, 2, 1, 1, 5)), "0 days, 1 hrs, 15 mins.");
    EXPECT_EQ(FormatDuration(at(2024, 2, 28, 22, 0), at(2024, 3, 1, 23, 30)), "2 days, 1 hrs, 30 mins.");
    EXPECT_EQ(FormatDuration(at(2023, 12, 31, 9, 0), at(2024, 1, 2, 9, 0)), "2 days, 0 hrs, 0 mins.");
}

// Minutes count minute boundaries, as the hh:mm times on screen do; hours never run ahead of the minutes.
TEST(FormatDurationTest, CountsFromMinuteBoundariesOnly) {
    EXPECT_EQ(FormatDuration(at(2024, 5, 1, 10, 50), at(2024, 5, 1, 11, 10)), "0 days, 0 hrs, 20 mins.");
    EXPECT_EQ(FormatDuration(at(2024, 5, 1, 10, 0, 59), at(2024, 5, 1, 10, 1, 0)), "0 days, 0 hrs, 1 mins.");
    EXPECT_EQ(FormatDuration(at(2024, 5, 1, 23, 59, 59), at(2024, 5, 2, 0, 59, 0)), "0 days, 1 hrs, 0 mins.");
    EXPECT_EQ(FormatDuration(QDateTime(), at(2024, 5, 1, 10, 0)), "");
}

TEST(PathOnly, KeepsUpToTheLastSlash) {
    EXPECT_EQ(pathonly("/home/ann/files/report.htm"), "/home/ann/files/");
    EXPECT_EQ(pathonly("report.htm"), "");
}

TEST(Colours, ConvertBetweenStoredAndHtmlForms) {
    EXPECT_EQ(colourFromVb("12632256"), (Rgb{192, 192, 192}));
    EXPECT_EQ(colourFromVb("255"), (Rgb{255, 0, 0}));
    EXPECT_EQ(colourFromVb("&HFFFFFF"), (Rgb{255, 255, 255}));
    EXPECT_EQ(colourFromVb("&H00563412&"), (Rgb{0x12, 0x34, 0x56}));
    for (const char* bad : {"", "---", "-1", "16777216", "&H8000000F&", "12a"})
        EXPECT_EQ(colourFromVb(bad), std::nullopt) << bad;
    EXPECT_EQ(colourToVb({0, 0, 255}), "16711680");
    EXPECT_EQ(colourToVb({255, 255, 255}), "16777215");
    EXPECT_EQ(colourToHtml({255, 0, 0}), "#FF0000");
    EXPECT_EQ(colourToHtml({0x12, 0xab, 0x0c}), "#12AB0C");
}

} // namespace

#include "platform/ini.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// What a read gives for a stored value: trimmed, one pair of surrounding double quotes removed.
QString asRead(const QString& value) {
    QString v = value.trimmed();
    if (v.size() >= 2 && v.startsWith(QLatin1Char('"')) && v.endsWith(QLatin1Char('"')))
        v = v.mid(1, v.size() - 2);
    return v;
}

QString randomText(QRandomGenerator& random, int maxLength) {
    static const char16_t alphabet[] = u"abAB =;[]\"'#\r\n\t\0\u00e9\u20ac.x";
    QString s;
    for (int k = random.bounded(maxLength + 1); k > 0; --k)
        s += QChar(alphabet[random.bounded(int(std::size(alphabet)) - 1)]);
    return s;
}

TEST(IniFuzz, RandomFilesAndWritesNeverLoseTheOtherSettings) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("quorvane.ini"));
    IniFile ini(path);
    QRandomGenerator random(1206);
    QElapsedTimer clock;
    clock.start();
    int cases = 0;
    for (; cases < 3000 && clock.elapsed() < 8000; ++cases) {
        if (cases % 50 == 0) {
            // Start again from a file of random bytes, as damage or another program may leave it.
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            QByteArray junk;
            for (int k = random.bounded(300); k > 0; --k)
                junk += char(random.bounded(256));
            f.write(junk);
            f.close();
            ASSERT_TRUE(
                ini.write(QStringLiteral("Database"), QStringLiteral("Database Path"), QStringLiteral("/d.qvdb")));
        }
        const QString section =
            random.bounded(3) ? QStringLiteral("S%1").arg(random.bounded(3)) : randomText(random, 6);
        const QString key = random.bounded(3) ? QStringLiteral("K%1").arg(random.bounded(5)) : randomText(random, 6);
        const QString value = randomText(random, 12);
        if (ini.write(section, key, value)) {
            ASSERT_EQ(ini.read(section, key), asRead(value)) << cases;
        } else {
            // Refused only for what the file cannot hold.
            const QString all = section + key + value;
            ASSERT_TRUE(all.contains(QChar(0)) || all.contains(QLatin1Char('\n')) || all.contains(QLatin1Char('\r')) ||
                        key.trimmed().isEmpty() || key.contains(QLatin1Char('=')) ||
                        key.trimmed().startsWith(QLatin1Char('[')) || key.trimmed().startsWith(QLatin1Char(';')) ||
                        section.contains(QLatin1Char(']')))
                << cases;
        }
        if (section.trimmed().compare(QLatin1String("Database"), Qt::CaseInsensitive) != 0) {
            ASSERT_EQ(ini.read(QStringLiteral("Database"), QStringLiteral("Database Path")), QString("/d.qvdb"))
                << cases;
        }
    }
    EXPECT_GE(cases, 1000);
}

} // namespace

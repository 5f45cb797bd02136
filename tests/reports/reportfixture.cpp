#include "reports/reportfixture.h"

#include "platform/db/database.h"
#include "platform/db/recordset.h"
#include "platform/db/values.h"
#include "shared/shared.h"

#include <QFile>
#include <gtest/gtest.h>

void ReportTest::SetUp() {
    MainWindowTest::SetUp();
    prepareDatabase();
}

int ReportTest::call(const QVariant& reference, const QVariant& user, const QVariant& status, const QVariant& category,
                     const QVariant& query, const QDate& day, const QTime& time, const QVariant& customerName) {
    auto database = db::Database::open(dbPath);
    auto rs = database.openRecordset(QStringLiteral("SELECT * from Calls"));
    rs->addNew();
    rs->setField(QStringLiteral("Username"), reference);
    rs->setField(QStringLiteral("User"), user);
    rs->setField(QStringLiteral("Status"), status);
    rs->setField(QStringLiteral("sp3"), category);
    rs->setField(QStringLiteral("Query"), query);
    rs->setField(QStringLiteral("sp2"), customerName);
    rs->setField(QStringLiteral("Date Opened"), day.isValid() ? QVariant(day) : QVariant());
    rs->setField(QStringLiteral("Time Opened"), time.isValid() ? QVariant(time) : QVariant());
    rs->update();
    return rs->field(QStringLiteral("Nom")).toInt();
}

void ReportTest::note(int call, const QString& text, const QVariant& analyst) {
    auto database = db::Database::open(dbPath);
    auto rs = database.openRecordset(QStringLiteral("SELECT * from Notes"));
    rs->addNew();
    rs->setField(QStringLiteral("Call"), call);
    rs->setField(QStringLiteral("Note"), text);
    rs->setField(QStringLiteral("Analyst"), analyst);
    rs->setField(QStringLiteral("Note-date"), QDate(2025, 3, 14));
    rs->setField(QStringLiteral("Note-time"), QTime(10, 5));
    rs->update();
}

void ReportTest::item(const QVariant& type, const QVariant& owner, const QString& details, const QString& number,
                      const QString& notes, const QString& number2, const QString& notes2) {
    auto database = db::Database::open(dbPath);
    auto rs = database.openRecordset(QStringLiteral("SELECT * from Inventory"));
    rs->addNew();
    rs->setField(QStringLiteral("Type"), type);
    rs->setField(QStringLiteral("Details2"), owner);
    rs->setField(QStringLiteral("Details"), details);
    rs->setField(QStringLiteral("Number"), number);
    rs->setField(QStringLiteral("Notes"), notes);
    rs->setField(QStringLiteral("Number2"), number2);
    rs->setField(QStringLiteral("Notes2"), notes2);
    rs->update();
}

void ReportTest::manyCalls(int n, const QString& reference, const QString& user, const QString& status,
                           const QString& category, const QDate& day) {
    auto database = db::Database::open(dbPath);
    database.connection().exec(
        QStringLiteral("WITH RECURSIVE k(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM k WHERE i < %1) "
                       "INSERT INTO Calls (Username, User, Status, sp3, Query, [Date Opened], [Time Opened]) "
                       "SELECT '%2', '%3', '%4', '%5', 'Bulk', '%6', '08:00:00' FROM k")
            .arg(n)
            .arg(SQLQuote(reference), SQLQuote(user), SQLQuote(status), SQLQuote(category), db::storageDate(day)));
}

QStringList ReportTest::lines(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QStringList out = QString::fromUtf8(f.readAll()).split(QStringLiteral("\r\n"));
    EXPECT_EQ(out.takeLast(), QString()) << "every line ends with CR LF";
    return out;
}

QStringList ReportTest::body(const QString& path) {
    QStringList out = lines(path);
    EXPECT_GE(out.size(), 3);
    if (out.size() >= 3) {
        EXPECT_EQ(out.at(1), QStringLiteral("</head><BODY class=body>"));
    }
    return out.mid(3);
}

QString ReportTest::documents(const QString& name) const {
    return env->documentsFolder + QLatin1Char('/') + name;
}

QStringList ReportTest::noteLines(const QString& text, const QString& analyst, const QString& date,
                                  const QString& time) {
    const QString cell = QStringLiteral("</TD><TD Class=TDNarrow valign=top><i>");
    return {QStringLiteral("<TABLE Class=Notes><TR><TD Class=TDNarrow valign=top>&nbsp;</TD><TD Class=TDNarrow "
                           "valign=top><i>Note:</TD><TD class=TDLarge valign=top><i>") +
                text + QStringLiteral("</TD>"),
            QStringLiteral("<TD Class=TDNarrow valign=top><i>") + analyst + cell + date + cell + time,
            QStringLiteral("</TD></TR></TABLE>")};
}

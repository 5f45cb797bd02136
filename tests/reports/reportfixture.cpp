#include "reports/reportfixture.h"

#include "platform/db/database.h"
#include "platform/db/values.h"
#include "shared/shared.h"

#include <gtest/gtest.h>

void ReportTest::SetUp() {
    MainWindowTest::SetUp();
    prepareDatabase();
}

int ReportTest::call(const QVariant& reference, const QVariant& user, const QVariant& status, const QVariant& category,
                     const QVariant& query, const QDate& day, const QTime& time, const QVariant& customerName) {
    return addRow(QStringLiteral("Calls"), {{"Username", reference},
                                            {"User", user},
                                            {"Status", status},
                                            {"sp3", category},
                                            {"Query", query},
                                            {"sp2", customerName},
                                            {"Date Opened", day.isValid() ? QVariant(day) : QVariant()},
                                            {"Time Opened", time.isValid() ? QVariant(time) : QVariant()}})
        .toInt();
}

void ReportTest::note(int call, const QString& text, const QVariant& analyst) {
    addRow(QStringLiteral("Notes"), {{"Call", call},
                                     {"Note", text},
                                     {"Analyst", analyst},
                                     {"Note-date", QDate(2025, 3, 14)},
                                     {"Note-time", QTime(10, 5)}});
}

void ReportTest::item(const QVariant& type, const QVariant& owner, const QString& details, const QString& number,
                      const QString& notes, const QString& number2, const QString& notes2) {
    addRow(QStringLiteral("Inventory"), {{"Type", type},
                                         {"Details2", owner},
                                         {"Details", details},
                                         {"Number", number},
                                         {"Notes", notes},
                                         {"Number2", number2},
                                         {"Notes2", notes2}});
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

QStringList ReportTest::body(const QString& path) {
    QStringList out = crlfLines(path);
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

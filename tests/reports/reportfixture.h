#pragma once

#include "support/mainwindowfixture.h"

#include <QDate>
#include <QStringList>
#include <QTime>
#include <QVariant>

// A main window on a fresh database, with helpers that fill calls, notes and items and read pages back.
class ReportTest : public MainWindowTest {
protected:
    void SetUp() override;

    // A call with the given fields (a Null QVariant stores Null); its number.
    int call(const QVariant& reference, const QVariant& user, const QVariant& status, const QVariant& category,
             const QVariant& query, const QDate& day, const QTime& time = QTime(9, 0),
             const QVariant& customerName = QVariant());
    void note(int call, const QString& text, const QVariant& analyst = QStringLiteral("Admin"));
    void item(const QVariant& type, const QVariant& owner, const QString& details, const QString& number,
              const QString& notes = QString(), const QString& number2 = QString(), const QString& notes2 = QString());
    // Many calls at once (day, time, query and customer fixed), numbered on from the last.
    void manyCalls(int n, const QString& reference, const QString& user, const QString& status, const QString& category,
                   const QDate& day);

    // The lines after the three frame lines of a report page.
    static QStringList body(const QString& path);
    QString documents(const QString& name) const;

    // The three lines of one note in the notes block.
    static QStringList noteLines(const QString& text, const QString& analyst, const QString& date, const QString& time);
};

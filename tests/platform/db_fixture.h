#pragma once

#include "platform/db/database.h"
#include "platform/db/dberror.h"
#include "platform/db/recordset.h"
#include "platform/db/values.h"

#include <QLocale>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// A fresh database file per test, with a British short date so texts are predictable.
class DbTest : public ::testing::Test {
protected:
    void SetUp() override {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath(QStringLiteral("test.qvdb"));
        database = db::Database::create(path);
    }
    void TearDown() override {
        database.close();
        db::pool::closeAll();
    }
    int count(const QString& sql) {
        auto rs = database.openRecordset(sql);
        return rs->recordCount();
    }
    QStringList column(const QString& sql, int col = 0) {
        QStringList out;
        auto rs = database.openRecordset(sql);
        for (; !rs->eof(); rs->moveNext())
            out << rs->field(col).toString();
        return out;
    }

    QTemporaryDir dir;
    QString path;
    db::Database database = db::Database::create(QStringLiteral(":memory:"));
};

#include "reports/reportframe.h"

#include "platform/db/database.h"
#include "platform/db/values.h"
#include "platform/desktop.h"
#include "reports/pagefile.h"
#include "reports/reportsource.h"
#include "shared/shared.h"
#include "shared/textout.h"

void reportheader(PageFile& page) {
    const QString folder = desktop::programFolder();
    const QString logo =
        ReadINIPath(QStringLiteral("Reports"), QStringLiteral("Logo Image"), folder + "/Media/logo.gif");
    page.writeLine("<head><LINK REL=StyleSheet HREF=\"" + htmlAttribute(folder) +
                   "/report1.css\" TYPE=\"Text/css\" MEDIA=screen>");
    page.writeLine(QStringLiteral("</head><BODY class=body>"));
    page.writeLine("<TABLE class=logo><TR><TD WIDTH=100% VALIGN=TOP><P><IMG SRC=\"" + htmlAttribute(logo) +
                   "\"HSPACE=0 BORDER=0></TD></TR></TABLE><HR><BR>");
}

QVariant custname(const QString& reference) {
    try {
        db::Database database = db::Database::open(qv::dbpath());
        return custname(reference, database);
    } catch (...) {
        // a missing file reads as no customer
    }
    return QStringLiteral("User Not Found");
}

QVariant custname(const QString& reference, db::Database& database) {
    const QString sql =
        "SELECT Name, Location from Customers Where Username = '" + SQLQuote(reference) + QLatin1Char('\'');
    try {
        const auto rs = database.openRecordset(sql);
        if (!rs->eof())
            return rs->field(QStringLiteral("Name"));
    } catch (...) {
        // a missing table reads as no customer
    }
    return QStringLiteral("User Not Found");
}

QString& notescall() {
    static QString call;
    return call;
}

void printnotes(PageFile& page) {
    db::Database database = db::Database::open(qv::dbpath());
    printnotes(page, database);
}

void printnotes(PageFile& page, db::Database& database) {
    // The number goes into the SQL as it stands, so nothing but a number may.
    bool number = false;
    notescall().toLongLong(&number);
    if (!number)
        return;
    // Read row by row: a call may carry thousands of notes.
    ReportRows rs(database.shared(), "Select * from Notes where Call = " + notescall(), -1, false);
    writeNoteRows(page, rs);
}

QString reportFolder() {
    return GetSpecialFolder(5);
}

QString reportPath(const QString& fileName) {
    return reportFolder() + QLatin1Char('/') + fileName;
}

void openPage(const QString& path) {
    ShellOpen(path, 3);
}

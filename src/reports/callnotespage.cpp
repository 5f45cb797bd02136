#include "reports/callnotespage.h"

#include "platform/db/database.h"
#include "platform/db/dberror.h"
#include "platform/db/values.h"
#include "platform/desktop.h"
#include "reports/pagefile.h"
#include "reports/reportframe.h"
#include "shared/shared.h"
#include "shared/textout.h"

std::optional<qint64> callnumber(const QString& text) {
    bool ok = false;
    const qint64 n = text.trimmed().toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return n;
}

void callnotesHead(PageFile& page) {
    page.writeLine(QStringLiteral("<head><style type=\"text/css\">"));
    page.writeLine(QStringLiteral("<!-- body {font-family: Arial, Helvetica, sans-serif;color: black;}-->"));
    page.writeLine(QStringLiteral("</style></head> "));
    page.writeLine(QStringLiteral("<BODY bgcolor = white>"));
    page.writeLine(QStringLiteral("<HR><BR>"));
}

void callnotesTitle(PageFile& page, const QString& title) {
    page.writeLine(QStringLiteral("<P><font size = 5>") + htmlText(title) + QStringLiteral("</P>"));
}

void callnotesRows(PageFile& page, const QString& call, bool breaks) {
    const std::optional<qint64> number = callnumber(call);
    if (!number)
        return;
    db::Database database = db::Database::open(qv::dbpath());
    const auto rs =
        database.openRecordset(QStringLiteral("Select * from Notes where Call = ") + QString::number(*number));
    const QString cell = QStringLiteral("</TD><TD width = 100 valign=top><i>");
    int n = 0;
    for (; !rs->eof(); rs->moveNext()) {
        ++n;
        const QVariant text = rs->field(QStringLiteral("Note"));
        const QString note = breaks ? htmlbreaks(text, u"<BR>") : htmlText(db::displayText(text));
        page.writeLine(QStringLiteral("<TABLE><TR><TD width = 100 valign=top>&nbsp;</TD><TD width = 150 "
                                      "valign=top><i>Note: ") +
                       QString::number(n) + QStringLiteral("</TD><TD width = 400 valign=top><i>") + note +
                       QStringLiteral("</TD>"));
        page.writeLine(QStringLiteral("<TD width = 100 valign=top><i>") +
                       htmlText(nulldashText(rs->field(QStringLiteral("Analyst")))) + cell +
                       htmlText(nulldashText(rs->field(QStringLiteral("Note-date")))) + cell +
                       htmlText(nulldashText(rs->field(QStringLiteral("Note-time")))));
        page.writeLine(QStringLiteral("</TD></TR></TABLE>"));
    }
}

QString notesWindowPagePath() {
    return desktop::programFolder() + QStringLiteral("/callnotes.htm");
}

QString callListNotesPage(const QString& call) {
    const QString path = reportPath(QStringLiteral("callnotes.htm"));
    PageFile page;
    if (!page.open(path))
        return cannotWriteText(path);
    callnotesHead(page);
    callnotesTitle(page, QStringLiteral("Call notes for Call: ") + call);
    try {
        callnotesRows(page, call, true);
    } catch (const db::DbError& e) {
        return QStringLiteral("The notes could not be read: ") + e.message(); // a page without them is not shown
    }
    if (!page.commit())
        return cannotWriteText(path);
    openPage(path);
    return {};
}

#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

class PageFile;
class ReportSource;

// The inventory report by type: every item of one type with its owner, on a page with an inline style that
// names "logo.png" beside it.
namespace inventorytype {

inline const QString PageName = QStringLiteral("report-calls-inv.htm");

// The five head lines: the inline style, the body and the logo table.
void head(PageFile& page);
// The whole page for the type t at the moment now.
void write(PageFile& page, ReportSource& source, const QString& t, const QDateTime& now);
// Every distinct type once, in the database's order, without Null.
QStringList types(ReportSource& source);

} // namespace inventorytype

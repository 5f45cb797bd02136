#pragma once

#include <QString>
#include <QVariant>

class PageFile;
namespace db {
class Database;
}

// What every HTML report page shares: its frame, text helpers, the customer-name lookup and the notes block.

// Writes the three frame lines: the head linking report1.css in the program's folder, the body, and the logo
// table showing the [Reports] "Logo Image" setting (read anew each time).
void reportheader(PageFile& page);

// The Name of the first customer whose reference is the one given (a Null name stays Null), or
// "User Not Found" when there is none or the database cannot be read.
QVariant custname(const QString& reference);
// The same over a database the caller holds open.
QVariant custname(const QString& reference, db::Database& database);

// The call number (as text) whose notes printnotes writes; writers set it just before calling.
QString& notescall();

// Writes three lines per note of the call notescall(), in the table's own order. Database failures reach the
// caller as db::DbError.
void printnotes(PageFile& page);
void printnotes(PageFile& page, db::Database& database);

// The folder report pages go to (the user's documents folder) and a page's full path there.
QString reportFolder();
QString reportPath(const QString& fileName);

// Opens a finished page in the default browser, maximized; a failure is silent.
void openPage(const QString& path);

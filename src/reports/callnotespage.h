#pragma once

#include <QString>
#include <optional>

class PageFile;

// The two call-notes pages: the notes window's page in the program's folder and the call list's page in the
// report folder. Both carry an inline style instead of the report frame.

// The call number a grid cell or label holds, as SQL may take it; nothing when the text is not a whole number.
std::optional<qint64> callnumber(const QString& text);

// The five head lines: the inline style, the body and the rule.
void callnotesHead(PageFile& page);

// The title line under the head: the text in large type.
void callnotesTitle(PageFile& page, const QString& title);

// Three lines for each note of the call, numbered from 1 in the table's own order, the note text as stored
// or, with breaks, with every line break made "<BR>". A call text that is not a number writes nothing and reads
// nothing. Database failures reach the caller as db::DbError.
void callnotesRows(PageFile& page, const QString& call, bool breaks);

// "callnotes.htm" in the program's folder (the notes window's page).
QString notesWindowPagePath();

// The call list's page for the call in a grid cell: "callnotes.htm" in the report folder, written whole and
// then opened in the browser. When it cannot be written whole (file or database) nothing is opened and the
// older page stays; what the user is told then, "" when the page was written.
QString callListNotesPage(const QString& call);

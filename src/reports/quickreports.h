#pragma once

#include "reports/progress.h"

#include <functional>

class QDate;
class QString;

// Runs write under a wait cursor and a progress window ("Writing " and the path) with Cancel. write answers what
// to tell the user when the file could not be written, "" when it was; a Cancel ends it without a word and leaves
// the older file. True when written.
bool writeWithProgress(const QString& path, const std::function<QString(const Progress&)>& write);

// The quick reports as the menus start them: each asks its questions (an empty answer or Cancel ends it with
// nothing written), writes its page in the report folder whole and opens it in the browser. The six lists of
// the Reports menu add each call's notes when "Include Call Notes in Reports" carries its check mark.

void dayreport(const QDate& day); // calls logged on a day
void openreport();                // all open calls
void statusreport();              // asks for a status
void custreport();                // asks for a customer reference
void custdatesreport();           // asks for a customer reference and two dates (month first)
void staffreport();               // asks for a member of staff
// The report wizard's two lists, with its switches: a rule before each entry, and the notes of each call.
void catreport(bool separator, bool callNotes); // asks for a category
void invreport(bool separator);                 // every customer with inventory

// The full report of one call; only a whole number names a call.
void callreport(const QString& call);

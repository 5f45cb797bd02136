#pragma once

#include <QString>
#include <optional>

// Look-ups in the archive database beside the main one, written as report pages in the report folder. They read
// the archive (calls and notes) and, for the customer's details, name and items, the main database; they change
// nothing.
namespace archive {

// "Quorvane-Archive.qvdb" in the folder of the database file given.
QString archivePath(const QString& databasePath);

// The call number an answer names: a decimal number (sign, digits, at most one point) taken down to the whole
// number not above it, so "12.7" is 12 and "-0.5" is -1. Nothing for any other text or a number beyond range.
std::optional<qint64> callNumberOf(const QString& answer);

// The page "report-call.htm" of one archived call; spareCaption names the spare field. When the page could not
// be written nothing is opened and the text to tell the user comes back; otherwise the page is opened and "".
QString archivedCallPage(const QString& archive, qint64 call, const QString& spareCaption);

// The page "archive-calls-for-customer.htm": the customer's 20 newest archived calls, newest first; what
// archivedCallPage gives back.
QString archivedCallsForCustomer(const QString& archive, const QString& reference);

// How many archived calls the customer page lists at most.
inline constexpr int CustomerPageCalls = 20;

} // namespace archive

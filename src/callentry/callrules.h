#pragma once

#include <QDateTime>
#include <QString>
#include <QVariant>
#include <optional>

namespace db {
class Connection;
class Database;
class Recordset;
} // namespace db

// The call panel's rules that need no window: audit lines, the contact text, closing and re-opening a call,
// the closure e-mail link, attachment file names and carrying a customer's new name and reference over.
namespace callrules {

inline const QString OpenFor = QStringLiteral("-----"); // Field1 while a call is open
inline const QString Unassigned = QStringLiteral("---");
inline const QString Closed = QStringLiteral("Closed");
inline const QString Reopened = QStringLiteral("Re-opened");

// The date in the configured (VB) pattern, " (", the time as hh:mm, "):   " and the text.
QString auditLine(const QDateTime& now, const QString& datePattern, const QString& text);
// The audit text with one more line; CR LF goes between lines, never before the first.
QString appendAuditLine(const QString& audit, const QString& line);
// The lines a copy added to the audit text it read (without the CR LF before them): what `pending` holds past
// `read`; all of `pending` when it does not begin with `read`, so no line of it is lost.
QString addedAuditLines(const QString& read, const QString& pending);

// Telephone, "  -  ", address, cut to the 255 characters Calls.Contact holds.
QString contactText(const QString& phone, const QString& address);

// An inventory item as a call links it: Type, "   [", Number, "]".
QString itemText(const QString& type, const QString& number);

// A date column and a time column as one moment; a missing time counts as midnight, a missing date gives an
// invalid moment.
QDateTime moment(const QVariant& date, const QVariant& time);

// On the current row of a Calls recordset (pending until the caller stores it):
// closing sets Status "Closed", the closing date and time, and Field1 the time it was open for;
void closeCall(db::Recordset& call, const QDateTime& now);
// re-opening sets the status ("Re-opened" unless another is chosen), clears the closing date and time and puts
// Field1 back to "-----";
void reopenCall(db::Recordset& call, const QString& status = Reopened);
// after a timestamp edit, Field1 follows the row's own times ("-----" while it has no closing date).
void refreshOpenFor(db::Recordset& call);

// "mailto:", the address, "?Subject=" and the subject with every "#" replaced by the call number.
QString closeMailLink(const QString& address, const QString& subjectTemplate, qint64 call);

// "Call-", the call number, "-", k, "~" and the file's own name.
QString attachmentName(qint64 call, int k, const QString& fileName);
// The attachment name with the first k from 1 up that the folder does not hold yet.
QString firstFreeAttachmentName(const QString& folder, qint64 call, const QString& fileName);

struct Attached {
    enum class Result { Copied, FolderMissing, FolderReadOnly, CopyFailed };
    Result result = Result::CopyFailed;
    QString name; // the name in the folder, when copied
};
// FolderMissing or FolderReadOnly when no file can go into the folder; nothing when one can.
std::optional<Attached::Result> attachFolderProblem(const QString& folder);
// Copies source into the attachments folder under the first free attachment name.
Attached attachFile(const QString& folder, qint64 call, const QString& source);

struct Carried {
    int calls = 0;
    int items = 0;
};
// The customer's calls (Username = storedRef, the reference as the file holds it) take the new reference and
// name, each only when given (what the edit changed); their items (Details2 = storedRef) the new reference. Where
// another customer (not the row id `customer`) shares storedRef but for case, only the calls and items whose
// reference is storedRef exactly are the customer's. The caller holds the transaction.
Carried carryCustomerChange(db::Connection& conn, const QString& storedRef, const std::optional<QString>& newRef,
                            const std::optional<QString>& newName, qint64 customer);

// References: the one comparison wherever a reference is refused, found, carried or listed by. Capitals and
// small letters count as the same, for every letter (the program's own case rule, db::compareNoCase).
bool sameReference(const QString& a, const QString& b);
// SQLite's SQL for "`column` holds the reference bound as `param`" (such as "?2"), as sameReference compares;
// with `exact`, case too (where a case twin exists).
QString referenceMatch(const QString& column, const QString& reference, const QString& param, bool exact = false);
// The same with the reference written in as a quoted text, for the program's own queries.
QString referenceMatchText(const QString& column, const QString& reference, bool exact = false);

// The row of the customer list that holds the reference. Where several do (files from before references were
// kept apart), the one whose reference is the text exactly, case too, else the first. -1 when none; `skip` is
// passed over (a new customer being typed). Never a pattern: "a_c" finds only "a_c".
int findCustomer(const db::Recordset& customers, const QString& reference, int skip = -1);
// Another customer (any row but exceptRow) has this reference.
bool referenceTaken(db::Connection& conn, const QString& reference, qint64 exceptRow = 0);
QString referenceTakenMessage(const QString& reference);
// A customer has exactly this reference and another one the same but for case (files from before references were
// kept apart): what is looked up by the reference then compares it exactly. A typed reference that no customer
// has exactly is no twin's: it finds by the one comparison.
bool caseTwin(db::Connection& conn, const QString& reference);

// The notes of one call, as the notes window edits them.
QString notesSql(qint64 call);
// Stores a new note of a call once it has checked that the call is still there (cancelled, or deleted by another
// copy, it would leave a note of no call); db::DbError in the program's words otherwise.
void storeNewNote(db::Recordset& notes, qint64 call);

// The field's value on the current row as text ("" without a row or field).
QString fieldText(const db::Recordset* rs, const QString& field);

} // namespace callrules

#pragma once

#include "callentry/callrules.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

namespace db {
class Connection;
class DataControl;
class Recordset;
} // namespace db

// What a new call starts with: logged now by the analyst, assigned to them (or to nobody when the options say
// so), the first category and status of the lists, open, and an audit line when the trail is kept.
struct NewCallDefaults {
    QString analyst;
    bool unassigned = false;
    QStringList categories;
    QStringList statuses;
    bool audit = true;
    QString datePattern; // the audit lines' date pattern ("" for the short date)
};

// The call on the call panel and its customer, kept in two data controls (the call row and the customer list)
// that the panel's boxes are bound to. Creating, saving, closing, re-opening and cancelling a call happen here;
// the panel only shows the result and asks the user.
class CallStore {
public:
    CallStore(db::DataControl& calls, db::DataControl& customers);

    // The call row's query while no call is on the panel (the Calls columns, no row).
    static QString noCallSql();

    // The current rows; nullptr when there is none.
    db::Recordset* call() const;
    db::Recordset* customer() const;
    // The number of the call on the panel, when there is one.
    std::optional<qint64> currentCall() const;
    // The number as text, "" without a call.
    QString currentCallText() const;
    // The customer row is a new customer not stored yet.
    bool newCustomer() const;

    // Stores a new call with the defaults at once (so the database numbers it), then shows it; with a new
    // customer row when asked. Throws db::DbError after removing whatever it stored.
    qint64 create(const NewCallDefaults& defaults, const QDateTime& now, bool withNewCustomer);
    // Shows the call, after putting away the one on the panel as leave() does; false when there is no such call.
    bool open(qint64 nom);
    // Puts the call on the panel away: what was typed into it or its customer is stored first as save() stores
    // it, in one transaction, never by re-reading a list. When that is refused (db::DbError) nothing is stored
    // and the call stays on the panel with what was typed.
    void leave();

    // Stores the customer row (when there is one), gives the call its customer's reference, name and contact
    // and stores the call, all in one transaction on the connection both controls read from. The reference is
    // written only when the user chose another customer than the one the file gives the call; the name and
    // contact only then or when this copy changed them; either as the customer row stands in the file at the
    // save. The audit lines this copy added go after those the file holds then. A new customer whose reference
    // (`reference`) another has, and a customer another copy deleted that the call was given or typed into, are
    // refused. On failure nothing is stored and both rows hold what was typed, read anew, ready to be saved
    // again (db::DbError).
    void save(const QString& reference);

    // Another customer than the one on the panel has its reference already (compared as the database compares
    // references); an edited customer that keeps `unchangedReference` is never refused (older files may hold
    // such twins).
    bool referenceTaken(const QString& unchangedReference = QString()) const;
    // Stores the customer being added or edited, without a call, in one transaction; refused (db::DbError) as
    // referenceTaken says, and so is an edit of a customer another copy deleted. With `carry` the name and the
    // reference this edit changed go over to the calls and items of the reference the file holds (the calls and
    // items changed are counted). On failure nothing is stored and the row holds what was typed, ready to be saved
    // again.
    callrules::Carried saveCustomer(const QString& oldReference, bool carry);

    // Closing sets the status, the closing moment and the time it was open for; re-opening undoes it.
    void close(const QDateTime& now);
    void reopen(const QString& status);
    // One more line on the call's audit text (pending until the call is saved).
    void audit(const QDateTime& now, const QString& datePattern, const QString& text);

    // Forgets what was typed into the call and customer; a new call is removed with its notes and files. When
    // the new call cannot be removed (db::DbError) both rows stay as they were.
    void cancel(bool isNew, const QString& attachFolder);

    // The connection the call row is stored through: the one the customer list shares.
    std::shared_ptr<db::Connection> connection() const;

    // The call's notes count and the customer's items as the call links them.
    struct Info {
        int notes = 0;
        QStringList items;
    };
    Info info(const QString& reference) const;

    // The audit text a call has in the database; nothing when the call has none (Null) or there is no call.
    std::optional<QString> storedAudit(qint64 nom) const;

    // The close message rule: the mailto link to send when the options ask for a message on closing, else "".
    static QString closeMail(const QString& address, qint64 nom);
    // The files attached to a call.
    static QStringList attachments(const QString& folder, qint64 nom);
    // Removes a call with its notes (one transaction) and its attachment files. db::DbError when the rows
    // cannot be removed; the files then stay.
    static void remove(const QString& databasePath, qint64 nom, const QString& attachFolder);

private:
    // leave() without emptying the panel: what was typed is stored, or db::DbError and it stays.
    void storeTyped();
    // The call row's query set and read.
    void show(const QString& sql);

    db::DataControl& m_calls;
    db::DataControl& m_customers;
};

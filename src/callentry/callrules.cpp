#include "callentry/callrules.h"

#include "platform/db/connection.h"
#include "platform/db/database.h"
#include "platform/db/dberror.h"
#include "platform/db/recordset.h"
#include "platform/db/values.h"
#include "platform/db/vbformat.h"
#include "shared/schema.h"
#include "shared/shared.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace callrules {

namespace {
using schema::calls::DateClosed;
using schema::calls::DateOpened;
using schema::calls::Field1;
using schema::calls::TimeClosed;
using schema::calls::TimeOpened;
constexpr int ContactLength = 255;
} // namespace

QString auditLine(const QDateTime& now, const QString& datePattern, const QString& text) {
    const QString date =
        datePattern.isEmpty() ? now.date().toString(db::shortDatePattern()) : db::vbFormat(now.date(), datePattern);
    return date + QStringLiteral(" (") + now.time().toString(QStringLiteral("hh:mm")) + QStringLiteral("):   ") + text;
}

QString appendAuditLine(const QString& audit, const QString& line) {
    if (audit.isEmpty())
        return line;
    return audit + QStringLiteral("\r\n") + line;
}

QString addedAuditLines(const QString& read, const QString& pending) {
    if (read.isEmpty())
        return pending;
    if (pending == read)
        return {};
    const QString joined = read + QStringLiteral("\r\n");
    return pending.startsWith(joined) ? pending.mid(joined.size()) : pending;
}

QString contactText(const QString& phone, const QString& address) {
    // A long address would make the whole save fail on the column's size; the contact is only a summary.
    return qv::leftWhole(phone + QStringLiteral("  -  ") + address, ContactLength);
}

QString itemText(const QString& type, const QString& number) {
    return type + QStringLiteral("   [") + number + QStringLiteral("]");
}

QDateTime moment(const QVariant& date, const QVariant& time) {
    QDate d;
    if (date.typeId() == QMetaType::QDate)
        d = date.toDate();
    else if (date.typeId() == QMetaType::QDateTime)
        d = date.toDateTime().date();
    if (!d.isValid())
        return {};
    QTime t(0, 0);
    if (time.typeId() == QMetaType::QTime)
        t = time.toTime();
    else if (time.typeId() == QMetaType::QDateTime)
        t = time.toDateTime().time();
    return QDateTime(d, t);
}

void closeCall(db::Recordset& call, const QDateTime& now) {
    call.setField(QStringLiteral("Status"), Closed);
    call.setField(DateClosed, now.date());
    call.setField(TimeClosed, now.time());
    refreshOpenFor(call);
}

void reopenCall(db::Recordset& call, const QString& status) {
    call.setField(QStringLiteral("Status"), status);
    call.setField(DateClosed, QVariant());
    call.setField(TimeClosed, QVariant());
    call.setField(Field1, OpenFor);
}

void refreshOpenFor(db::Recordset& call) {
    const QDateTime opened = moment(call.field(DateOpened), call.field(TimeOpened));
    const QDateTime closed = moment(call.field(DateClosed), call.field(TimeClosed));
    if (!closed.isValid()) {
        call.setField(Field1, OpenFor);
        return;
    }
    const QString text = FormatDuration(opened, closed);
    call.setField(Field1, text.isEmpty() ? OpenFor : text);
}

QString closeMailLink(const QString& address, const QString& subjectTemplate, qint64 call) {
    QString subject = subjectTemplate;
    subject.replace(QLatin1Char('#'), QString::number(call));
    return QStringLiteral("mailto:") + address + QStringLiteral("?Subject=") + subject;
}

QString attachmentName(qint64 call, int k, const QString& fileName) {
    return QStringLiteral("Call-%1-%2~").arg(call).arg(k) + fileName;
}

QString firstFreeAttachmentName(const QString& folder, qint64 call, const QString& fileName) {
    const QDir dir(folder);
    for (int k = 1;; ++k) {
        const QString name = attachmentName(call, k, fileName);
        if (!QFileInfo::exists(dir.filePath(name)))
            return name;
    }
}

std::optional<Attached::Result> attachFolderProblem(const QString& folder) {
    const QFileInfo dir(folder);
    if (folder.isEmpty() || !dir.isDir())
        return Attached::Result::FolderMissing;
    if (!dir.isWritable())
        return Attached::Result::FolderReadOnly;
    return std::nullopt;
}

Attached attachFile(const QString& folder, qint64 call, const QString& source) {
    Attached out;
    if (const auto problem = attachFolderProblem(folder)) {
        out.result = *problem;
        return out;
    }
    const QString name = firstFreeAttachmentName(folder, call, QFileInfo(source).fileName());
    if (!QFile::copy(source, QDir(folder).filePath(name))) {
        out.result = Attached::Result::CopyFailed;
        return out;
    }
    out.result = Attached::Result::Copied;
    out.name = name;
    return out;
}

Carried carryCustomerChange(db::Connection& conn, const QString& storedRef, const std::optional<QString>& newRef,
                            const std::optional<QString>& newName, qint64 customer) {
    Carried out;
    if (!newRef && !newName)
        return out;
    // SQLite's own SQL: the references are bound; where a twin shares storedRef but for case, exactly storedRef.
    const bool twin = referenceTaken(conn, storedRef, customer);
    auto match = [&](const QString& column) { return referenceMatch(column, storedRef, QStringLiteral("?2"), twin); };
    auto run = [&](const QString& sql, bool withName) {
        db::Statement st(conn, sql);
        st.bind(1, newRef.value_or(QString()));
        st.bind(2, storedRef);
        if (withName)
            st.bind(3, *newName);
        st.step();
        return conn.changes();
    };
    QStringList sets;
    if (newRef)
        sets << QStringLiteral("Username = ?1");
    if (newName)
        sets << QStringLiteral("sp2 = ?3");
    out.calls = run(QStringLiteral("UPDATE Calls SET ") + sets.join(QStringLiteral(", ")) + QStringLiteral(" WHERE ") +
                        match(QStringLiteral("Username")),
                    newName.has_value());
    if (newRef)
        out.items =
            run(QStringLiteral("UPDATE Inventory SET Details2 = ?1 WHERE ") + match(QStringLiteral("Details2")), false);
    return out;
}

namespace {

// Only ASCII text can equal a plain ASCII reference without k or s (of the other letters only the Kelvin sign
// and the long s fold into ASCII), and on ASCII SQLite's NOCASE compares as the program does: the column's
// own collation and index serve.
bool columnCollationServes(const QString& reference) {
    for (const QChar c : reference) {
        const char16_t u = c.unicode();
        if (u >= 0x80 || u == u'k' || u == u'K' || u == u's' || u == u'S')
            return false;
    }
    return true;
}

QString collated(const QString& column, const QString& reference, bool exact) {
    if (exact)
        return column + QStringLiteral(" COLLATE BINARY");
    return columnCollationServes(reference) ? column : column + QStringLiteral(" COLLATE JETNOCASE");
}

} // namespace

bool sameReference(const QString& a, const QString& b) {
    const QByteArray ua = a.toUtf8();
    const QByteArray ub = b.toUtf8();
    return db::compareNoCase(ua.constData(), static_cast<int>(ua.size()), ub.constData(),
                             static_cast<int>(ub.size())) == 0;
}

QString referenceMatch(const QString& column, const QString& reference, const QString& param, bool exact) {
    return collated(column, reference, exact) + QStringLiteral(" = ") + param;
}

QString referenceMatchText(const QString& column, const QString& reference, bool exact) {
    return collated(column, reference, exact) + QStringLiteral(" = '") + SQLQuote(reference) + QLatin1Char('\'');
}

int findCustomer(const db::Recordset& customers, const QString& reference, int skip) {
    const int col = customers.fieldIndex(QStringLiteral("Username"));
    if (col < 0)
        return -1;
    // The list's own look-up narrows the rows (without case); the one comparison decides.
    const QString criterion = QStringLiteral("Username = '") + SQLQuote(reference) + QLatin1Char('\'');
    int first = -1;
    for (int row = customers.locate(criterion, 0, skip); row >= 0; row = customers.locate(criterion, row + 1, skip)) {
        const QString text = customers.text(row, col);
        if (text == reference)
            return row;
        if (first < 0 && sameReference(text, reference))
            first = row;
    }
    return first;
}

bool referenceTaken(db::Connection& conn, const QString& reference, qint64 exceptRow) {
    db::Statement st(conn, QStringLiteral("SELECT 1 FROM Customers WHERE ") +
                               referenceMatch(QStringLiteral("Username"), reference, QStringLiteral("?1")) +
                               QStringLiteral(" AND rowid <> ?2 LIMIT 1"));
    st.bind(1, reference);
    st.bind(2, exceptRow);
    return st.step();
}

bool caseTwin(db::Connection& conn, const QString& reference) {
    db::Statement st(conn,
                     QStringLiteral("SELECT 1 FROM Customers WHERE ") +
                         referenceMatch(QStringLiteral("Username"), reference, QStringLiteral("?1")) +
                         QStringLiteral(" AND Username COLLATE BINARY <> ?1 AND EXISTS (SELECT 1 FROM "
                                        "Customers WHERE Username = ?1 AND Username COLLATE BINARY = ?1) LIMIT 1"));
    st.bind(1, reference);
    return st.step();
}

QString referenceTakenMessage(const QString& reference) {
    return QStringLiteral("Another customer already has the reference \"") + reference +
           QStringLiteral("\" (capitals and small letters count as the same). Please enter a different "
                          "reference.");
}

QString notesSql(qint64 call) {
    return QStringLiteral("SELECT * from Notes where Call = ") + QString::number(call);
}

void storeNewNote(db::Recordset& notes, qint64 call) {
    // The note is one row stored on its own: a commit that failed after it would leave the list a row the file
    // does not hold.
    db::Connection& conn = *notes.connection();
    db::Statement there(conn, QStringLiteral("SELECT 1 FROM Calls WHERE Nom = ?"));
    there.bind(1, call);
    if (!there.step())
        throw db::DbError(QStringLiteral("Call %1 is no longer in the database (it was cancelled, or deleted by "
                                         "another copy of Quorvane).")
                              .arg(call),
                          db::DbError::ConflictCode, db::DbError::ConflictCode);
    there.reset();
    notes.update();
}

QString fieldText(const db::Recordset* rs, const QString& field) {
    if (!rs || rs->bof() || rs->eof() || rs->fieldIndex(field) < 0)
        return {};
    return db::displayText(rs->field(field));
}

} // namespace callrules

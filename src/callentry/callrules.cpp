#include "callentry/callrules.h"

#include "platform/db/database.h"
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
    // SQLite's own SQL: the references are bound, and BINARY tells apart what the column's NOCASE does not.
    const QString match =
        referenceTaken(conn, storedRef, customer) ? QStringLiteral(" = ?2 COLLATE BINARY") : QStringLiteral(" = ?2");
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
    out.calls = run(QStringLiteral("UPDATE Calls SET ") + sets.join(QStringLiteral(", ")) +
                        QStringLiteral(" WHERE Username") + match,
                    newName.has_value());
    if (newRef)
        out.items = run(QStringLiteral("UPDATE Inventory SET Details2 = ?1 WHERE Details2") + match, false);
    return out;
}

int findCustomer(const db::Recordset& customers, const QString& op, const QString& reference, int skip) {
    const QString criterion =
        QStringLiteral("Username ") + op + QStringLiteral(" '") + SQLQuote(reference) + QLatin1Char('\'');
    const int col = customers.fieldIndex(QStringLiteral("Username"));
    const int first = customers.locate(criterion, 0, skip);
    for (int row = first; row >= 0 && col >= 0; row = customers.locate(criterion, row + 1, skip))
        if (customers.text(row, col) == reference)
            return row;
    return first;
}

bool referenceTaken(db::Connection& conn, const QString& reference, qint64 exceptRow) {
    db::Statement st(conn, QStringLiteral("SELECT 1 FROM Customers WHERE Username = ? AND rowid <> ? LIMIT 1"));
    st.bind(1, reference);
    st.bind(2, exceptRow);
    return st.step();
}

bool caseTwin(db::Connection& conn, const QString& reference) {
    db::Statement st(conn, QStringLiteral("SELECT 1 FROM Customers WHERE Username = ?1 AND Username COLLATE BINARY "
                                          "<> ?1 LIMIT 1"));
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

QString fieldText(const db::Recordset* rs, const QString& field) {
    if (!rs || rs->bof() || rs->eof() || rs->fieldIndex(field) < 0)
        return {};
    return db::displayText(rs->field(field));
}

} // namespace callrules

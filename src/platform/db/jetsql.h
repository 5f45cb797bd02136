#pragma once

#include "platform/db/connection.h"

#include <QString>
#include <QStringList>
#include <optional>

// The Jet dialect on SQLite. Text is tokenized first, so nothing inside a string literal or a [bracketed
// name] is ever touched.
namespace db::jet {

struct Query {
    QString sql;         // SQLite text
    int top = -1;        // TOP n, -1 when absent
    QStringList orderBy; // the top-level ORDER BY terms (translated, without ASC/DESC), for TOP's ties
    QString singleTable; // the one table of a plain SELECT that can be updated; "" otherwise
    bool isSelect = false;
    int fromPos = -1; // where the top-level FROM starts in sql, -1 when none
};

// Throws DbError on text that cannot be translated (an unclosed literal, a bad date).
Query translate(const QString& jetSql);

// The parts of a plain "SELECT list FROM table [WHERE condition] [ORDER BY terms]", as written (the table
// without brackets). Empty for any other query: TOP, DISTINCT, GROUP BY, joins, unions, a subquery as table.
struct PlainSelect {
    QString list;
    QString table;
    QString where;   // "" when there is no WHERE
    QString orderBy; // "" when there is no ORDER BY
};
std::optional<PlainSelect> splitPlainSelect(const QString& jetSql);

// A pattern that matches exactly the text: every character the dialect reads as a wildcard or list ("*", "?",
// "#" and "[" by path; "%", "_" and "[" through a data control) stands alone in brackets. Every LIKE built from
// typed or stored text goes through here; apostrophes are the literal's business (SQLQuote).
QString likeLiteral(const QString& text, LikeDialect dialect);

// LIKE as Jet matches it, without regard to case.
bool likeMatch(const QString& text, const QString& pattern, LikeDialect dialect);
// The same on UTF-8 bytes, without decoding when both are ASCII.
bool likeMatchUtf8(const char* text, int textBytes, const char* pattern, int patternBytes, LikeDialect dialect);

} // namespace db::jet

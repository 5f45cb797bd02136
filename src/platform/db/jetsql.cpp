#include "platform/db/jetsql.h"

#include "platform/db/dberror.h"
#include "platform/db/values.h"

#include <vector>

namespace db::jet {
namespace {

enum class Kind { Space, Word, Number, String, Bracket, Date, Op };

struct Token {
    Kind kind;
    QString text;  // words and ops as written; literal contents unescaped
    int begin = 0; // where the token stands in the query text
    int end = 0;
};

bool isWordStart(QChar c) {
    return c.isLetter() || c == QLatin1Char('_');
}
bool isWordChar(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$');
}

std::vector<Token> tokenize(const QString& s) {
    std::vector<Token> out;
    int i = 0;
    const int n = s.size();
    auto fail = [&](const QString& what) {
        throw DbError(QStringLiteral("Syntax error (%1) in query expression '%2'.").arg(what, s), 1, 1, s);
    };
    while (i < n) {
        const QChar c = s.at(i);
        const int begin = i;
        const std::size_t before = out.size();
        if (c.isSpace()) {
            int j = i;
            while (j < n && s.at(j).isSpace())
                ++j;
            out.push_back({Kind::Space, QStringLiteral(" ")});
            i = j;
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            QString text;
            int j = i + 1;
            for (;;) {
                if (j >= n)
                    fail(QStringLiteral("missing closing quote"));
                if (s.at(j) == c) {
                    if (j + 1 < n && s.at(j + 1) == c) {
                        text += c;
                        j += 2;
                        continue;
                    }
                    break;
                }
                text += s.at(j++);
            }
            out.push_back({Kind::String, text});
            i = j + 1;
        } else if (c == QLatin1Char('[')) {
            const int j = s.indexOf(QLatin1Char(']'), i + 1);
            if (j < 0)
                fail(QStringLiteral("missing ]"));
            out.push_back({Kind::Bracket, s.mid(i + 1, j - i - 1)});
            i = j + 1;
        } else if (c == QLatin1Char('#')) {
            const int j = s.indexOf(QLatin1Char('#'), i + 1);
            if (j < 0)
                fail(QStringLiteral("missing closing #"));
            out.push_back({Kind::Date, s.mid(i + 1, j - i - 1)});
            i = j + 1;
        } else if (isWordStart(c)) {
            int j = i;
            while (j < n && isWordChar(s.at(j)))
                ++j;
            out.push_back({Kind::Word, s.mid(i, j - i)});
            i = j;
        } else if (c.isDigit() || (c == QLatin1Char('.') && i + 1 < n && s.at(i + 1).isDigit())) {
            int j = i;
            while (j < n && (s.at(j).isDigit() || s.at(j) == QLatin1Char('.')))
                ++j;
            out.push_back({Kind::Number, s.mid(i, j - i)});
            i = j;
        } else {
            static const QStringList two = {QStringLiteral("<>"), QStringLiteral("<="), QStringLiteral(">="),
                                            QStringLiteral("||"), QStringLiteral("!=")};
            const QString pair = s.mid(i, 2);
            if (two.contains(pair)) {
                out.push_back({Kind::Op, pair});
                i += 2;
            } else {
                out.push_back({Kind::Op, QString(c)});
                ++i;
            }
        }
        if (out.size() > before) {
            out.back().begin = begin;
            out.back().end = i;
        }
    }
    return out;
}

bool isWord(const Token& t, const char* w) {
    return t.kind == Kind::Word && t.text.compare(QLatin1String(w), Qt::CaseInsensitive) == 0;
}

QString quoteString(const QString& text) {
    QString q = text;
    q.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + q + QLatin1Char('\'');
}

// A literal as SQLite text. SQLite reads SQL text up to its first NUL, so a control character in the literal
// is written as char(n) joined to the rest: any stored text can be looked up. Parenthesized, so that the
// literal stays one operand wherever it stands.
QString literal(const QString& text) {
    bool control = false;
    for (const QChar c : text)
        control = control || c.unicode() < 0x20;
    if (!control)
        return quoteString(text);
    QStringList parts;
    QString run;
    for (const QChar c : text) {
        if (c.unicode() >= 0x20) {
            run += c;
            continue;
        }
        if (!run.isEmpty())
            parts << quoteString(run);
        run.clear();
        parts << QStringLiteral("char(%1)").arg(c.unicode());
    }
    if (!run.isEmpty())
        parts << quoteString(run);
    return QLatin1Char('(') + parts.join(QStringLiteral(" || ")) + QLatin1Char(')');
}

QString dateLiteral(const QString& body, const QString& sql) {
    const QVariant v = parseDateValue(body, true);
    switch (v.typeId()) {
    case QMetaType::QDate:
        return quoteString(storageDate(v.toDate()));
    case QMetaType::QTime:
        return quoteString(storageTime(v.toTime()));
    case QMetaType::QDateTime:
        return quoteString(storageDateTime(v.toDateTime()));
    default:
        throw DbError(QStringLiteral("Syntax error in date in query expression '#%1#'.").arg(body), 1, 1, sql);
    }
}

// Column types of Jet DDL; name is the column they follow (sizes of text are enforced as Jet does).
QString ddlType(const QString& word, const QString& column, int size) {
    const QString w = word.toUpper();
    const QString col = quoteIdent(column);
    if (w == QLatin1String("COUNTER") || w == QLatin1String("AUTOINCREMENT"))
        return QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
    if (w == QLatin1String("TEXT") || w == QLatin1String("VARCHAR") || w == QLatin1String("CHAR"))
        return QStringLiteral("TEXT COLLATE NOCASE CHECK (length(%1) <= %2)").arg(col).arg(size > 0 ? size : 255);
    if (w == QLatin1String("MEMO") || w == QLatin1String("LONGTEXT"))
        return QStringLiteral("TEXT COLLATE NOCASE");
    if (w == QLatin1String("DATETIME") || w == QLatin1String("DATE") || w == QLatin1String("TIME"))
        return QStringLiteral("DATETIME");
    if (w == QLatin1String("LONG") || w == QLatin1String("INTEGER") || w == QLatin1String("INT") ||
        w == QLatin1String("SHORT") || w == QLatin1String("SMALLINT") || w == QLatin1String("BYTE") ||
        w == QLatin1String("YESNO") || w == QLatin1String("BIT"))
        return QStringLiteral("INTEGER");
    if (w == QLatin1String("DOUBLE") || w == QLatin1String("SINGLE") || w == QLatin1String("FLOAT") ||
        w == QLatin1String("REAL") || w == QLatin1String("CURRENCY") || w == QLatin1String("NUMERIC"))
        return QStringLiteral("REAL");
    return {};
}

// Tokens (by index) after which " COLLATE JETNOCASE" goes, and those before which it goes. Built-in NOCASE
// folds A-Z only, so a typed value with other letters is compared as Jet compares it (É = é): the literal's
// own collation decides a comparison. In "x IN (list)" SQLite uses x's collation whatever the list says, so
// there it follows x. Pure-ASCII values are left alone, so the column's index still serves them.
struct Collations {
    std::vector<bool> after, before;
};

bool outsideAscii(const Token& t) {
    if (t.kind != Kind::String)
        return false;
    for (const QChar c : t.text)
        if (c.unicode() > 0x7F)
            return true;
    return false;
}

bool isComparison(const Token& t) {
    static const QStringList ops = {QStringLiteral("="), QStringLiteral("<>"), QStringLiteral("!="),
                                    QStringLiteral("<"), QStringLiteral(">"),  QStringLiteral("<="),
                                    QStringLiteral(">=")};
    return t.kind == Kind::Op && ops.contains(t.text);
}

Collations jetCollations(const std::vector<Token>& t, const std::vector<int>& sig) {
    Collations c{std::vector<bool>(t.size()), std::vector<bool>(t.size())};
    // Never in a definition: the file must stay readable by tools without the program's collations.
    const int n = isWord(t[sig[0]], "create") || isWord(t[sig[0]], "alter") ? 0 : static_cast<int>(sig.size());
    for (int k = 0; k < n; ++k) {
        const Token& tok = t[sig[k]];
        if (outsideAscii(tok) && ((k > 0 && isComparison(t[sig[k - 1]])) || (k + 1 < n && isComparison(t[sig[k + 1]]))))
            c.after[sig[k]] = true;
        if (!isWord(tok, "in") || k == 0 || k + 2 >= n || t[sig[k + 1]].text != QLatin1String("(") ||
            isWord(t[sig[k + 2]], "select"))
            continue;
        const int at = isWord(t[sig[k - 1]], "not") && k > 1 ? k - 1 : k; // straight after the left operand
        bool wide = outsideAscii(t[sig[at - 1]]);
        for (int j = k + 2, depth = 1; j < n && depth > 0; ++j) {
            const Token& item = t[sig[j]];
            if (item.kind == Kind::Op)
                depth += item.text == QLatin1String("(") ? 1 : item.text == QLatin1String(")") ? -1 : 0;
            wide = wide || (depth == 1 && outsideAscii(item));
        }
        if (wide)
            c.before[sig[at]] = true;
    }
    return c;
}

} // namespace

Query translate(const QString& jetSql) {
    const std::vector<Token> t = tokenize(jetSql);
    Query q;
    std::vector<int> sig; // indexes of non-space tokens
    for (int i = 0; i < static_cast<int>(t.size()); ++i)
        if (t[i].kind != Kind::Space)
            sig.push_back(i);
    if (sig.empty())
        return q;
    q.isSelect = isWord(t[sig[0]], "select");
    const bool ddl =
        (isWord(t[sig[0]], "create") || isWord(t[sig[0]], "alter")) && sig.size() > 1 && isWord(t[sig[1]], "table");
    const Collations collate = jetCollations(t, sig);

    // TOP n straight after SELECT [DISTINCT].
    int topWord = -1;
    if (q.isSelect) {
        int k = 1;
        if (k < static_cast<int>(sig.size()) && (isWord(t[sig[k]], "distinct") || isWord(t[sig[k]], "distinctrow")))
            ++k;
        if (k + 1 < static_cast<int>(sig.size()) && isWord(t[sig[k]], "top") && t[sig[k + 1]].kind == Kind::Number) {
            q.top = t[sig[k + 1]].text.toInt();
            topWord = sig[k];
        }
    }

    QString out;
    QString lastName; // last column name seen, for DDL types
    int depth = 0;
    int orderStart = -1; // output position where the top-level ORDER BY list starts
    QStringList orderTerms;
    QString term;
    for (int i = 0; i < static_cast<int>(t.size()); ++i) {
        const Token& tok = t[i];
        QString chunk;
        switch (tok.kind) {
        case Kind::Space:
            chunk = QStringLiteral(" ");
            break;
        case Kind::String:
            chunk = literal(tok.text);
            break;
        case Kind::Bracket:
            chunk = quoteIdent(tok.text);
            lastName = tok.text;
            break;
        case Kind::Date:
            chunk = dateLiteral(tok.text, jetSql);
            break;
        case Kind::Number:
            chunk = tok.text;
            break;
        case Kind::Op:
            if (tok.text == QLatin1String("&"))
                chunk = QStringLiteral("||");
            else
                chunk = tok.text;
            if (tok.text == QLatin1String("("))
                ++depth;
            else if (tok.text == QLatin1String(")"))
                --depth;
            break;
        case Kind::Word: {
            if (i == topWord) {
                // Skip "TOP n" and the blank after it.
                int j = i + 1;
                while (j < static_cast<int>(t.size()) && t[j].kind == Kind::Space)
                    ++j;
                i = j; // the number
                continue;
            }
            int next = i + 1;
            while (next < static_cast<int>(t.size()) && t[next].kind == Kind::Space)
                ++next;
            const bool call =
                next < static_cast<int>(t.size()) && t[next].kind == Kind::Op && t[next].text == QLatin1String("(");
            const QString upper = tok.text.toUpper();
            if (call && (upper == QLatin1String("FORMAT$") || upper == QLatin1String("FORMAT")))
                chunk = QStringLiteral("jetformat");
            else if (call && (upper == QLatin1String("UCASE$") || upper == QLatin1String("UCASE")))
                chunk = QStringLiteral("ucase");
            else if (call && (upper == QLatin1String("LCASE$") || upper == QLatin1String("LCASE")))
                chunk = QStringLiteral("lcase");
            else if (upper == QLatin1String("TRUE"))
                chunk = QStringLiteral("1");
            else if (upper == QLatin1String("FALSE"))
                chunk = QStringLiteral("0");
            else if (ddl && !lastName.isEmpty() && !(i == sig[0] || i == sig[1])) {
                int size = 0;
                int skipTo = -1;
                if (call) {
                    // text(50): read the size and drop "(50)".
                    int j = next + 1;
                    while (j < static_cast<int>(t.size()) && t[j].kind == Kind::Space)
                        ++j;
                    if (j < static_cast<int>(t.size()) && t[j].kind == Kind::Number) {
                        size = t[j].text.toInt();
                        int k = j + 1;
                        while (k < static_cast<int>(t.size()) && t[k].kind == Kind::Space)
                            ++k;
                        if (k < static_cast<int>(t.size()) && t[k].text == QLatin1String(")"))
                            skipTo = k;
                    }
                }
                const QString mapped = ddlType(tok.text, lastName, size);
                if (!mapped.isEmpty()) {
                    chunk = mapped;
                    lastName.clear();
                    if (skipTo >= 0)
                        i = skipTo;
                } else {
                    chunk = tok.text;
                    if (!call)
                        lastName = tok.text;
                }
            } else {
                chunk = tok.text;
                lastName = tok.text;
            }
            break;
        }
        }
        if (collate.before[i])
            chunk.prepend(QStringLiteral("COLLATE JETNOCASE "));
        if (collate.after[i])
            chunk += QStringLiteral(" COLLATE JETNOCASE");
        if (q.isSelect && depth == 0 && q.fromPos < 0 && isWord(tok, "from"))
            q.fromPos = out.size();
        // The top-level ORDER BY list, kept for TOP's ties.
        if (depth == 0 && tok.kind == Kind::Word && isWord(tok, "by") && orderStart < 0) {
            // "ORDER BY": the previous word must be ORDER.
            int p = i - 1;
            while (p >= 0 && t[p].kind == Kind::Space)
                --p;
            if (p >= 0 && isWord(t[p], "order")) {
                out += chunk;
                orderStart = out.size();
                continue;
            }
        }
        if (orderStart >= 0 && depth == 0 && tok.kind == Kind::Op && tok.text == QLatin1String(",")) {
            orderTerms << term.trimmed();
            term.clear();
        } else if (orderStart >= 0 && !(tok.kind == Kind::Word && (isWord(tok, "asc") || isWord(tok, "desc")))) {
            if (!(tok.kind == Kind::Op && tok.text == QLatin1String(";")))
                term += chunk;
        }
        out += chunk;
    }
    if (orderStart >= 0 && !term.trimmed().isEmpty())
        orderTerms << term.trimmed();
    while (out.startsWith(QLatin1Char(' '))) {
        out.remove(0, 1);
        if (q.fromPos > 0)
            --q.fromPos;
    }
    q.sql = out.trimmed();
    q.orderBy = orderTerms;

    // A plain SELECT on one table can be updated.
    if (q.isSelect) {
        bool plain = true;
        int from = -1;
        for (int k = 0; k < static_cast<int>(sig.size()); ++k) {
            const Token& tk = t[sig[k]];
            if (tk.kind != Kind::Word)
                continue;
            for (const char* w : {"distinct", "distinctrow", "group", "union", "join", "having"})
                plain = plain && !isWord(tk, w);
            const bool call = k + 1 < static_cast<int>(sig.size()) && t[sig[k + 1]].text == QLatin1String("(");
            for (const char* w : {"count", "sum", "avg", "min", "max", "first", "last"})
                plain = plain && !(call && isWord(tk, w));
            if (isWord(tk, "from") && from < 0)
                from = k;
        }
        if (plain && from > 0 && from + 1 < static_cast<int>(sig.size())) {
            const Token& table = t[sig[from + 1]];
            const bool name = table.kind == Kind::Word || table.kind == Kind::Bracket;
            const bool ends = from + 2 >= static_cast<int>(sig.size()) || isWord(t[sig[from + 2]], "where") ||
                              isWord(t[sig[from + 2]], "order") || t[sig[from + 2]].text == QLatin1String(";");
            if (name && ends)
                q.singleTable = table.text;
        }
    }
    return q;
}

std::optional<PlainSelect> splitPlainSelect(const QString& jetSql) {
    std::vector<Token> t;
    try {
        t = tokenize(jetSql);
    } catch (const DbError&) {
        return std::nullopt;
    }
    std::vector<int> sig;
    for (int i = 0; i < static_cast<int>(t.size()); ++i)
        if (t[i].kind != Kind::Space)
            sig.push_back(i);
    if (!sig.empty() && t[sig.back()].text == QLatin1String(";"))
        sig.pop_back();
    if (sig.size() < 4 || !isWord(t[sig[0]], "select"))
        return std::nullopt;
    for (const char* w : {"distinct", "distinctrow", "top", "all"})
        if (isWord(t[sig[1]], w))
            return std::nullopt;
    int from = -1, where = -1, order = -1;
    int depth = 0;
    for (int k = 1; k < static_cast<int>(sig.size()); ++k) {
        const Token& tk = t[sig[k]];
        if (tk.kind == Kind::Op) {
            depth += tk.text == QLatin1String("(") ? 1 : tk.text == QLatin1String(")") ? -1 : 0;
            if (depth == 0 && tk.text == QLatin1String(";"))
                return std::nullopt;
            continue;
        }
        if (depth != 0 || tk.kind != Kind::Word)
            continue;
        for (const char* w : {"group", "having", "union", "join", "into", "select", "limit", "offset"})
            if (isWord(tk, w))
                return std::nullopt;
        if (isWord(tk, "from") && from < 0)
            from = k;
        else if (isWord(tk, "where") && from >= 0 && where < 0 && order < 0)
            where = k;
        else if (isWord(tk, "order") && from >= 0 && order < 0 && k + 1 < static_cast<int>(sig.size()) &&
                 isWord(t[sig[k + 1]], "by"))
            order = k;
    }
    // One table name straight after FROM, then WHERE, ORDER BY or the end.
    if (depth != 0 || from < 2 || from + 1 >= static_cast<int>(sig.size()))
        return std::nullopt;
    const Token& table = t[sig[from + 1]];
    const int afterTable = from + 2;
    if ((table.kind != Kind::Word && table.kind != Kind::Bracket) ||
        (afterTable < static_cast<int>(sig.size()) && afterTable != where && afterTable != order))
        return std::nullopt;
    if ((where >= 0 && where + 1 >= static_cast<int>(sig.size())) || (where >= 0 && where + 1 == order) ||
        (order >= 0 && order + 2 >= static_cast<int>(sig.size())))
        return std::nullopt;
    auto text = [&](int firstSig, int endSig) {
        const int b = t[sig[firstSig]].begin;
        const int e = t[sig[endSig - 1]].end;
        return jetSql.mid(b, e - b).trimmed();
    };
    PlainSelect p;
    p.list = text(1, from);
    p.table = table.text;
    const int whereEnd = order >= 0 ? order : static_cast<int>(sig.size());
    if (where >= 0)
        p.where = text(where + 1, whereEnd);
    if (order >= 0)
        p.orderBy = text(order + 2, static_cast<int>(sig.size()));
    return p;
}

namespace {

// The matcher runs on UTF-16 text, or straight on the bytes when text and pattern are both ASCII: LIKE runs
// for every row a keyword search reads, and most texts are plain ASCII.
struct Utf16Text {
    const QString& s;
    int size() const { return static_cast<int>(s.size()); }
    char32_t at(int i) const { return s.at(i).unicode(); }
    static char32_t fold(char32_t c) { return QChar(static_cast<char16_t>(c)).toCaseFolded().unicode(); }
    static bool isDigit(char32_t c) { return QChar(static_cast<char16_t>(c)).isDigit(); }
};

struct AsciiText {
    const char* p;
    int n;
    int size() const { return n; }
    char32_t at(int i) const { return static_cast<unsigned char>(p[i]); }
    static char32_t fold(char32_t c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; }
    static bool isDigit(char32_t c) { return c >= '0' && c <= '9'; }
};

// Matches a [..] list at pattern[pi] (pi on '['); returns the index after ']' or -1 when malformed.
template <class T> int matchList(const T& p, int pi, char32_t c, bool& matched) {
    int j = pi + 1;
    bool negate = false;
    if (j < p.size() && p.at(j) == U'!') {
        negate = true;
        ++j;
    }
    bool hit = false;
    bool first = true;
    const char32_t fc = T::fold(c);
    while (j < p.size() && (p.at(j) != U']' || first)) {
        first = false;
        const char32_t lo = p.at(j);
        if (j + 2 < p.size() && p.at(j + 1) == U'-' && p.at(j + 2) != U']') {
            const char32_t hi = p.at(j + 2);
            if (fc >= T::fold(lo) && fc <= T::fold(hi))
                hit = true;
            j += 3;
        } else {
            if (fc == T::fold(lo))
                hit = true;
            ++j;
        }
    }
    if (j >= p.size())
        return -1;
    matched = negate ? !hit : hit;
    return j + 1;
}

// One pattern element at pi against c; sets next to the element after it. Every element but the
// many-wildcard takes exactly one character, so one backtrack point for the last wildcard suffices.
template <class T> bool matchOne(const T& p, int pi, char32_t c, LikeDialect d, int& next) {
    const char32_t pc = p.at(pi);
    const char32_t one = d == LikeDialect::Dao ? U'?' : U'_';
    next = pi + 1;
    if (pc == one)
        return true;
    if (d == LikeDialect::Dao && pc == U'#')
        return T::isDigit(c);
    if (pc == U'[') {
        bool hit = false;
        const int after = matchList(p, pi, c, hit);
        if (after >= 0) {
            next = after;
            return hit;
        }
    }
    return T::fold(pc) == T::fold(c);
}

template <class T> bool matchFrom(const T& s, const T& p, LikeDialect d) {
    const char32_t many = d == LikeDialect::Dao ? U'*' : U'%';
    int si = 0, pi = 0;
    int starP = -1, starS = 0;
    while (si < s.size()) {
        int next = 0;
        if (pi < p.size() && p.at(pi) == many) {
            starP = ++pi;
            starS = si;
        } else if (pi < p.size() && matchOne(p, pi, s.at(si), d, next)) {
            pi = next;
            ++si;
        } else if (starP >= 0) {
            pi = starP;
            si = ++starS;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p.at(pi) == many)
        ++pi;
    return pi == p.size();
}

bool isAscii(const char* p, int n) {
    for (int i = 0; i < n; ++i)
        if (static_cast<unsigned char>(p[i]) & 0x80)
            return false;
    return true;
}

} // namespace

QString likeLiteral(const QString& text, LikeDialect dialect) {
    const QLatin1String special = dialect == LikeDialect::Dao ? QLatin1String("*?#[") : QLatin1String("%_[");
    QString out;
    out.reserve(text.size() + 4);
    for (const QChar c : text) {
        if (special.contains(c))
            out += QLatin1Char('[') + c + QLatin1Char(']');
        else
            out += c;
    }
    return out;
}

bool likeMatch(const QString& text, const QString& pattern, LikeDialect dialect) {
    return matchFrom(Utf16Text{text}, Utf16Text{pattern}, dialect);
}

bool likeMatchUtf8(const char* text, int textBytes, const char* pattern, int patternBytes, LikeDialect dialect) {
    if (isAscii(text, textBytes) && isAscii(pattern, patternBytes))
        return matchFrom(AsciiText{text, textBytes}, AsciiText{pattern, patternBytes}, dialect);
    return likeMatch(QString::fromUtf8(text, textBytes), QString::fromUtf8(pattern, patternBytes), dialect);
}

} // namespace db::jet

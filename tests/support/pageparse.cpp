#include "support/pageparse.h"

#include <QFile>
#include <QSet>

namespace {

QString fileContents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QStringLiteral("<no file>");
}

QString decode(const QString& text) {
    static const QHash<QString, QString> named = {{"amp", "&"},   {"lt", "<"},   {"gt", ">"},
                                                  {"quot", "\""}, {"apos", "'"}, {"nbsp", QString(QChar(0xA0))}};
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&') {
            const qsizetype end = text.indexOf(u';', i);
            if (end > i && end - i < 10) {
                const QString name = text.mid(i + 1, end - i - 1);
                bool ok = false;
                if (named.contains(name)) {
                    out += named.value(name);
                    i = end;
                    continue;
                }
                if (name.startsWith(u'#')) {
                    const uint code = name.startsWith(QLatin1String("#x"), Qt::CaseInsensitive)
                                          ? name.mid(2).toUInt(&ok, 16)
                                          : name.mid(1).toUInt(&ok, 10);
                    if (ok) {
                        out += QString::fromUcs4(reinterpret_cast<const char32_t*>(&code), 1);
                        i = end;
                        continue;
                    }
                }
            }
        }
        out += text[i];
    }
    return out;
}

bool isNameChar(QChar c) {
    return !c.isSpace() && c != u'>' && c != u'/' && c != u'=' && c != u'"' && c != u'\'';
}

// Reads the tag whose '<' is at i; returns the index after its '>'.
qsizetype readTag(const QString& s, qsizetype i, HtmlTag& tag) {
    ++i;
    if (s[i] == u'/') {
        tag.closing = true;
        ++i;
    }
    const qsizetype nameStart = i;
    while (i < s.size() && isNameChar(s[i]))
        ++i;
    tag.name = s.mid(nameStart, i - nameStart).toLower();
    while (i < s.size() && s[i] != u'>') {
        if (s[i].isSpace() || s[i] == u'/' || s[i] == u'"' || s[i] == u'\'') {
            ++i; // a stray quote after a value (SRC="x"HSPACE) is passed over as a browser does
            continue;
        }
        const qsizetype attrStart = i;
        while (i < s.size() && isNameChar(s[i]))
            ++i;
        const QString name = s.mid(attrStart, i - attrStart).toLower();
        while (i < s.size() && s[i].isSpace())
            ++i;
        QString value;
        if (i < s.size() && s[i] == u'=') {
            ++i;
            while (i < s.size() && s[i].isSpace())
                ++i;
            if (i < s.size() && (s[i] == u'"' || s[i] == u'\'')) {
                const QChar quote = s[i];
                const qsizetype end = s.indexOf(quote, i + 1);
                value = s.mid(i + 1, (end < 0 ? s.size() : end) - i - 1);
                i = end < 0 ? s.size() : end + 1;
            } else {
                const qsizetype valueStart = i;
                while (i < s.size() && !s[i].isSpace() && s[i] != u'>')
                    ++i;
                value = s.mid(valueStart, i - valueStart);
            }
        }
        if (!name.isEmpty() && !tag.attributes.contains(name))
            tag.attributes.insert(name, decode(value));
    }
    return i < s.size() ? i + 1 : i;
}

} // namespace

HtmlScan scanHtml(const QString& s) {
    HtmlScan scan;
    QString text;
    const auto flush = [&] {
        if (!text.trimmed().isEmpty())
            scan.texts << decode(text);
        text.clear();
    };
    qsizetype i = 0;
    while (i < s.size()) {
        if (s.mid(i, 4) == QLatin1String("<!--")) {
            flush();
            const qsizetype end = s.indexOf(QLatin1String("-->"), i + 4);
            i = end < 0 ? s.size() : end + 3;
        } else if (s[i] == u'<' && i + 1 < s.size() &&
                   (s[i + 1].isLetter() || (s[i + 1] == u'/' && i + 2 < s.size() && s[i + 2].isLetter()))) {
            flush();
            HtmlTag tag;
            i = readTag(s, i, tag);
            scan.tags.push_back(tag);
        } else {
            text += s[i++];
        }
    }
    flush();
    return scan;
}

HtmlScan scanHtmlFile(const QString& path) {
    return scanHtml(fileContents(path));
}

QStringList HtmlScan::unknownTags() const {
    static const QSet<QString> known = {"head", "link", "style", "body", "table", "tr",    "td",
                                        "p",    "img",  "hr",    "br",   "h3",    "h4",    "h5",
                                        "b",    "i",    "font",  "span", "meta",  "center"};
    QStringList out;
    for (const HtmlTag& t : tags)
        if (!known.contains(t.name))
            out << t.name;
    return out;
}

bool HtmlScan::hasText(const QString& text) const {
    for (const QString& t : texts)
        if (t.contains(text))
            return true;
    return false;
}

QStringList HtmlScan::attributes(const QString& tag, const QString& attribute) const {
    QStringList out;
    for (const HtmlTag& t : tags)
        if (t.name == tag && !t.closing)
            out << t.attributes.value(attribute);
    return out;
}

QList<QStringList> readCsv(const QString& text) {
    QList<QStringList> records;
    QStringList record;
    QString cell;
    bool quoted = false, any = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"') {
                cell += c;
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                cell += c;
            }
        } else if (c == u'"') {
            quoted = true;
            any = true;
        } else if (c == u',') {
            record << cell;
            cell.clear();
            any = true;
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            if (any || !cell.isEmpty())
                record << cell;
            records << record; // an empty line is an empty record
            record.clear();
            cell.clear();
            any = false;
        } else {
            cell += c;
            any = true;
        }
    }
    if (any || !cell.isEmpty()) {
        record << cell;
        records << record;
    }
    return records;
}

QList<QStringList> readCsvFile(const QString& path) {
    return readCsv(fileContents(path));
}

::testing::AssertionResult soundPage(const QString& path, const QStringList& texts) {
    const HtmlScan scan = scanHtmlFile(path);
    if (scan.tags.empty())
        return ::testing::AssertionFailure() << path.toStdString() << " holds no page";
    if (!scan.unknownTags().isEmpty())
        return ::testing::AssertionFailure()
               << path.toStdString()
               << " has tags the program never writes: " << scan.unknownTags().join(", ").toStdString();
    for (const QString& text : texts)
        if (!scan.hasText(text))
            return ::testing::AssertionFailure() << path.toStdString() << " does not show \"" << text.toStdString()
                                                 << "\"; it shows: " << scan.texts.join(" | ").toStdString();
    return ::testing::AssertionSuccess();
}

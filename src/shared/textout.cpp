#include "shared/textout.h"

#include "platform/db/values.h"

#include <QVariant>

namespace {

QString escaped(const QString& text, bool quotes) {
    const auto special = [quotes](QChar c) { return c == u'&' || c == u'<' || c == u'>' || (quotes && c == u'"'); };
    qsizetype i = 0;
    while (i < text.size() && !special(text[i]))
        ++i;
    if (i == text.size())
        return text; // the common case: nothing to write otherwise, nothing copied
    QString out;
    out.reserve(text.size() + 16);
    out += QStringView(text).left(i);
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'&')
            out += u"&amp;";
        else if (c == u'<')
            out += u"&lt;";
        else if (c == u'>')
            out += u"&gt;";
        else if (quotes && c == u'"')
            out += u"&quot;";
        else
            out += c;
    }
    return out;
}

} // namespace

QString htmlText(const QString& text) {
    return escaped(text, false);
}

QString htmlAttribute(const QString& text) {
    return escaped(text, true);
}

QString htmlbreaks(const QVariant& text, QStringView breakTag) {
    if (db::isNull(text))
        return {};
    QString out = htmlText(db::displayText(text));
    if (out.contains(u'\n')) {
        const QString tag = breakTag.toString();
        out.replace(QStringLiteral("\r\n"), tag);
        out.replace(QLatin1Char('\n'), tag);
    }
    return out;
}

void appendCsvCell(QString& line, QStringView text) {
    line += u'"';
    if (text.contains(u'"')) {
        for (const QChar c : text) {
            if (c == u'"')
                line += u'"';
            line += c;
        }
    } else {
        line += text;
    }
    line += u"\",";
}

QString csvLine(const QStringList& cells) {
    QString line;
    for (const QString& cell : cells)
        appendCsvCell(line, cell);
    return line;
}

#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>
#include <vector>

// Reading back what the program writes, the way a browser or a spreadsheet would.

// One tag of a page: its name in lower case, whether it closes, and its attributes (names in lower case,
// values with entities decoded).
struct HtmlTag {
    QString name;
    bool closing = false;
    QHash<QString, QString> attributes;
};

// A page split as a browser's tokenizer splits it: the tags, and the text between them with entities decoded
// (each run of text a line of its own).
struct HtmlScan {
    std::vector<HtmlTag> tags;
    QStringList texts;

    // The names of tags that are not among the ones the program writes.
    QStringList unknownTags() const;
    // Whether one run of text holds the text.
    bool hasText(const QString& text) const;
    // The attribute of each tag of that name, in page order.
    QStringList attributes(const QString& tag, const QString& attribute) const;
};
HtmlScan scanHtml(const QString& html);
HtmlScan scanHtmlFile(const QString& path);

// The records of a CSV text as RFC 4180 reads them (Python's csv module gives the same): cells split at commas,
// a cell in double quotes may hold commas, line breaks and doubled double quotes.
QList<QStringList> readCsv(const QString& text);
QList<QStringList> readCsvFile(const QString& path);

// Customers' own words, which every page and CSV file must carry as text.
namespace hostile {
inline const QString Script = QStringLiteral("<script>alert(1)</script> & fails");
inline const QString Item = QStringLiteral("HP <LaserJet> & Co");
inline const QString Category = QStringLiteral("Won't <fix> & Zo\u00EB");
inline const QString Quoted = QStringLiteral("Printer says \"PC LOAD LETTER\", twice");
inline const QString Logo = QStringLiteral("/logos/\"best\" <logo> & co.gif");
} // namespace hostile

// A page whose tags are all the program's own and whose text holds each of the texts whole.
::testing::AssertionResult soundPage(const QString& path, const QStringList& texts);

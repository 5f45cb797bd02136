#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

class QVariant;

// Stored and typed text on its way out of the program. In a page the program's own markup stays the only
// markup; from a CSV file any reader gets back exactly the cells written. Text without the characters named
// comes back as it is.

// The text with &, < and > written as entities, for text between tags.
QString htmlText(const QString& text);
// The same and " as well, for a value between double quotes inside a tag (SRC="...").
QString htmlAttribute(const QString& text);
// htmlText of the value with each line break made breakTag: CR LF, or LF alone as the call panel stores a
// typed break (a lone CR stays). Null gives "".
QString htmlbreaks(const QVariant& text, QStringView breakTag = u"<BR />");

// Appends one CSV cell to a line: a double quote, the text with each double quote doubled, a double quote
// and a comma (the last cell of a line too).
void appendCsvCell(QString& line, QStringView text);
// The line of the cells, each as appendCsvCell writes it.
QString csvLine(const QStringList& cells);

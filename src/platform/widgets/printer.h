#pragma once

#include <QFont>
#include <QString>

namespace ui {

// The default printer, for plain-text pages.
class Printer {
public:
    virtual ~Printer() = default;
    // True when the page went to the printer.
    virtual bool printText(const QString& text, const QFont& font) = 0;
};

class QtPrinter : public Printer {
public:
    // Prints to this PDF file instead of the default printer; "" goes back to the printer.
    void setPdfOutput(const QString& path) { m_pdfPath = path; }
    bool printText(const QString& text, const QFont& font) override;

private:
    QString m_pdfPath;
};

Printer& printer();
void setPrinter(Printer* p); // not owned; nullptr restores QtPrinter

} // namespace ui

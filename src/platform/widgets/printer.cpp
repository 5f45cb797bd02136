#include "platform/widgets/printer.h"

#include <QAbstractTextDocumentLayout>
#include <QFileInfo>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTextDocument>

namespace ui {
namespace {
QtPrinter g_qtPrinter;
Printer* g_printer = nullptr;
} // namespace

bool QtPrinter::printText(const QString& text, const QFont& font) {
    QPrinter device(QPrinter::HighResolution);
    if (!m_pdfPath.isEmpty()) {
        device.setOutputFormat(QPrinter::PdfFormat);
        device.setOutputFileName(m_pdfPath);
    } else if (QPrinterInfo::defaultPrinter().isNull()) {
        return false;
    }
    if (!device.isValid())
        return false;
    // Plain-text pages are laid out for the printable area, as a text box prints them: narrow margins, so that a
    // line of 95 underscores in Arial 10 fits across A4 and Letter.
    device.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
    QTextDocument doc;
    doc.setDefaultFont(font);
    doc.setPlainText(text);
    doc.documentLayout()->setPaintDevice(&device);
    doc.setDocumentMargin(0);
    doc.setPageSize(device.pageLayout().paintRectPixels(device.resolution()).size());
    doc.print(&device);
    if (device.printerState() == QPrinter::Error || device.printerState() == QPrinter::Aborted)
        return false;
    return m_pdfPath.isEmpty() || QFileInfo(m_pdfPath).size() > 0;
}

Printer& printer() {
    return g_printer ? *g_printer : g_qtPrinter;
}
void setPrinter(Printer* p) {
    g_printer = p;
}

} // namespace ui

#pragma once

#include <QString>

class PageFile;
class ReportSource;

inline const QString CallReportPage = QStringLiteral("report-call.htm");

// The full report of one call, line for line: customer, dates, fields, description, notes, resolution, the
// customer's inventory and the audit trail. Only a whole number is taken as a call number; any other text, or
// a number no call has, gives the headings with no values and no notes. spareCaption is the spare field's
// caption as the call panel shows it.
void writeCallReport(PageFile& page, ReportSource& source, const QString& call, const QString& spareCaption);

#pragma once

#include <QString>

// The texts of the call panel that a call sheet prints, as the boxes show them.
struct CallSheetFields {
    QString customerName, reference, address, phone, email;
    QString call, status, assignee;
    QString dateOpened, timeOpened, dateClosed, timeClosed;
    QString description, resolution;
};

// The plain-text call sheet: 4 empty lines (14 with the letterhead space), the heading, the customer and call
// details, description, resolution and the comment and signature lines; CR LF between lines, none after the
// last. Line breaks inside the description and resolution become CR LF too.
QString callsheetText(const QString& heading, bool letterhead, const CallSheetFields& f);

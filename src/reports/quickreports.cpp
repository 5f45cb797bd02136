#include "reports/quickreports.h"

#include "mainwindow/form1.h"
#include "platform/db/dberror.h"
#include "platform/db/values.h"
#include "platform/desktop.h"
#include "platform/widgets/busy.h"
#include "platform/widgets/datagrid.h"
#include "platform/widgets/dialogs.h"
#include "platform/widgets/forms.h"
#include "reports/callreport.h"
#include "reports/pagefile.h"
#include "reports/quicklists.h"
#include "reports/reportframe.h"
#include "reports/reportsource.h"
#include "shared/shared.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <functional>

bool writeWithProgress(const QString& path, const std::function<QString(const Progress&)>& write) {
    bool cancelled = false;
    QString failure;
    {
        ui::WaitCursor wait;
        const std::unique_ptr<ui::ProgressWindow> window =
            ui::dialogs().progress(QStringLiteral("Writing ") + path, ui::DefaultTitle);
        failure = write([&](qint64 done, qint64 total) {
            cancelled = cancelled || !window->step(done, total);
            return !cancelled;
        });
    }
    if (cancelled)
        return false;
    if (!failure.isEmpty()) {
        ui::MsgBox(failure);
        return false;
    }
    return true;
}

namespace {

// Writes one page whole and opens it. A tolerant writer skips what it cannot read and still shows the page;
// the others leave the older page and open nothing when a read fails. Either failure is told; a page that cannot
// be written is never opened.
bool writeReport(const QString& fileName, bool tolerant, const std::function<void(PageFile&, ReportSource&)>& write) {
    const QString path = reportPath(fileName);
    const bool written = writeWithProgress(path, [&](const Progress& progress) -> QString {
        PageFile page;
        if (!page.open(path, PageFile::Sync::Skip))
            return cannotWriteText(path);
        try {
            ReportSource source(qv::dbpath(), tolerant);
            source.setProgress(progress);
            write(page, source);
        } catch (const db::DbError& e) {
            return QStringLiteral("The report could not be read: ") + e.message();
        } catch (const ReportCancelled&) {
            return {}; // the older page stays
        }
        return page.commit() ? QString() : cannotWriteText(path);
    });
    if (!written)
        return false;
    openPage(path);
    return true;
}

bool notesOn() {
    return ui::form<Form1>().mnucalnot->isChecked();
}

QString ask(const QString& prompt, const QString& defaultText = QString()) {
    return ui::InputBox(prompt, ui::DefaultTitle, defaultText);
}

// A typed date, month first; nothing when the text is not a date.
std::optional<QDate> typedDate(const QString& text) {
    const QVariant v = db::parseDateValue(text, true);
    if (v.typeId() == QMetaType::QDate)
        return v.toDate();
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime().date();
    return std::nullopt;
}

// Ends a command whose typed date could not be read; an empty answer (Cancel) ends it without a word.
void unreadableDate(const QString& which, const QString& typed) {
    if (typed.isEmpty())
        return;
    ui::MsgBox(QStringLiteral("The %1 date \"%2\" could not be read. Type it month first, as mm/dd/yyyy: for "
                              "example 01/31/2026 for 31 January 2026.")
                   .arg(which, typed));
}

} // namespace

void dayreport(const QDate& day) {
    Form1& main = ui::form<Form1>();
    const bool notes = notesOn();
    writeReport(quicklists::DayPage, false, [&](PageFile& page, ReportSource& source) {
        quicklists::day(page, source, day, main.sqldateformat, main.datesetting, notes);
    });
    main.Datagrid1->setAllowDelete(false);
}

void openreport() {
    const bool notes = notesOn();
    const QDateTime now = desktop::clock().now();
    writeReport(quicklists::OpenPage, true,
                [&](PageFile& page, ReportSource& source) { quicklists::open(page, source, now, notes); });
}

void statusreport() {
    const QString status = ask(QStringLiteral("Enter Status"));
    if (status.isEmpty())
        return;
    const bool notes = notesOn();
    writeReport(quicklists::StatusPage, false,
                [&](PageFile& page, ReportSource& source) { quicklists::status(page, source, status, notes); });
}

void custreport() {
    const QString reference = ask(QStringLiteral("Enter Customer Reference"));
    if (reference.isEmpty())
        return;
    const bool notes = notesOn();
    writeReport(quicklists::CustomerPage, true,
                [&](PageFile& page, ReportSource& source) { quicklists::customer(page, source, reference, notes); });
}

void custdatesreport() {
    const QString reference = ask(QStringLiteral("Enter Customer Reference"));
    if (reference.isEmpty())
        return;
    // The dates go into SQL as dates, never as typed text.
    const QString startTyped = ask(QStringLiteral("Enter Start date: mm/dd/yyyy"));
    const std::optional<QDate> start = typedDate(startTyped);
    if (!start) {
        unreadableDate(QStringLiteral("start"), startTyped);
        return;
    }
    const QString endTyped = ask(QStringLiteral("Enter End date: mm/dd/yyyy"));
    const std::optional<QDate> end = typedDate(endTyped);
    if (!end) {
        unreadableDate(QStringLiteral("end"), endTyped);
        return;
    }
    Form1& main = ui::form<Form1>();
    const bool notes = notesOn();
    writeReport(quicklists::CustomerPage, false, [&](PageFile& page, ReportSource& source) {
        quicklists::customerDates(page, source, reference, *start, *end, startTyped, endTyped, main.sqldateformat,
                                  notes);
    });
}

void staffreport() {
    const QString analyst = ask(QStringLiteral("Enter Analyst Reference"), ui::form<Form1>().currentanalyst);
    if (analyst.isEmpty())
        return;
    const bool notes = notesOn();
    writeReport(quicklists::StaffPage, true,
                [&](PageFile& page, ReportSource& source) { quicklists::staff(page, source, analyst, notes); });
}

void catreport(bool separator, bool callNotes) {
    const QString category = ask(QStringLiteral("Enter Category"), ui::form<Form1>().Combo13->currentText());
    if (category.isEmpty())
        return;
    writeReport(quicklists::CategoryPage, true, [&](PageFile& page, ReportSource& source) {
        quicklists::category(page, source, category, separator, callNotes);
    });
}

void invreport(bool separator) {
    const QDateTime now = desktop::clock().now();
    writeReport(quicklists::InventoryPage, false,
                [&](PageFile& page, ReportSource& source) { quicklists::inventory(page, source, now, separator); });
}

void callreport(const QString& call) {
    const QString spare = ui::form<Form1>().Label36->text();
    writeReport(CallReportPage, true,
                [&](PageFile& page, ReportSource& source) { writeCallReport(page, source, call, spare); });
}

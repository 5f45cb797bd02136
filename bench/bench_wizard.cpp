// The report wizard over the 100,000-call data set: "Run Report" for "All Calls" against the SQLite C API
// running the grid's query and reading its rows as text, and "Export to CSV" and "Open in Browser" of about
// 5,000 calls against the same text written straight from one query, and "Open in Browser" with "Call Open For"
// and "Include Call Notes" against one query reading those calls joined with their notes. Target: at most 2 each.
// Run: build/bin/bench_wizard
#include "bench/benchprogram.h"
#include "bench/benchutil.h"
#include "bench/dataset.h"

#include "mainwindow/form1.h"
#include "platform/db/connection.h"
#include "platform/db/database.h"
#include "platform/db/datacontrol.h"
#include "platform/db/jetsql.h"
#include "platform/db/recordset.h"
#include "platform/widgets/forms.h"
#include "reports/form3.h"
#include "reports/reportframe.h"
#include "reports/wizardquery.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <cstdio>
#include <sqlite3.h>
#include <stdexcept>

namespace {

// The columns the wizard shows at first, in index order, as one query selects them.
const int Shown[] = {0, 1, 4, 5, 6, 7, 8, 14};

// Runs the query and hands each row's texts to the line maker; the lines go to the file whole.
void straight(const QString& dbPath, const QString& jetSql, const QByteArray& head, const QByteArray& tail,
              const std::function<void(QByteArray&, sqlite3_stmt*, int)>& row, const QString& out) {
    db::Connection conn(dbPath);
    const QByteArray sql = db::jet::translate(jetSql).sql.toUtf8();
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(conn.handle(), sql.constData(), static_cast<int>(sql.size()), &st, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(conn.handle()));
    QByteArray data = head;
    const int cols = sqlite3_column_count(st);
    while (sqlite3_step(st) == SQLITE_ROW)
        row(data, st, cols);
    sqlite3_finalize(st);
    data += tail;
    QFile file(out);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(data);
}

QByteArray text(sqlite3_stmt* st, int c) {
    const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(st, c));
    return t ? QByteArray(t, sqlite3_column_bytes(st, c)) : QByteArray();
}

QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

int main() {
    bench::Program program;
    Form1* main = program.main;
    const QString& dbPath = program.dbPath;
    main->mnuwiz->trigger();
    Form3& w = ui::form<Form3>();
    bool ok = true;

    // The grid: every call.
    w.Combo3->setCurrentText(QStringLiteral("All Calls"));
    w.Combo4->setCurrentText(QStringLiteral("Don't Sort"));
    w.Combo5->setCurrentText(QStringLiteral("Ignore Dates"));
    const double gridMs = bench::medianMs([&] { w.Command1_Click(); });
    const QString gridSql = wizard::gridQuery(wizard::state(), main->datesetting);
    int rawRows = 0;
    const double gridRaw = bench::rawMs(dbPath, gridSql, db::LikeDialect::Ado, bench::Runs, &rawRows);
    const int gridRows = w.Adodc1->recordset()->recordCount();
    std::printf("grid rows: %d (raw %d)\n", gridRows, rawRows);
    ok = ok && gridRows == rawRows && gridRows == bench::calls();
    bench::report(QStringLiteral("Run Report, All Calls"), gridMs, gridRaw, QStringLiteral("<= 2"));

    // The outputs: about 5,000 calls.
    w.Combo5->setCurrentText(QStringLiteral("Between Dates"));
    w.d1->setDate(QDate(2022, 1, 1));
    w.d2->setDate(QDate(2022, 4, 15));
    w.Command1_Click();
    const int rows = w.Adodc1->recordset()->recordCount();
    std::printf("output rows: %d\n", rows);
    const wizard::State& s = wizard::state();
    QString select = QStringLiteral("Select Nom, Format$([Date Opened],'") + main->datesetting +
                     QStringLiteral("'), Status, sp2, Query, Contact, sp3, sp1 from Calls WHERE ") + s.statusclause +
                     s.filterclause + s.dateclause;

    const QString csv = reportPath(QStringLiteral("report.csv"));
    const QString csvDirect = program.env.path(QStringLiteral("direct.csv"));
    const double csvMs = bench::medianMs([&] { w.Command2_Click(); });
    QByteArray header;
    for (int c : Shown)
        header += '"' + QByteArray(wizard::columnDef(c).caption) + "\",";
    const double csvRaw = bench::medianMs([&] {
        straight(
            dbPath, select, header + "\r\n", "\r\n\r\n",
            [](QByteArray& data, sqlite3_stmt* st, int cols) {
                for (int c = 0; c < cols; ++c)
                    data += '"' + text(st, c) + "\",";
                data += "\r\n";
            },
            csvDirect);
    });
    const bool csvSame = contents(csv) == contents(csvDirect);
    ok = ok && csvSame;
    bench::report(QStringLiteral("Export to CSV"), csvMs, csvRaw, QStringLiteral("<= 2"));
    if (!csvSame)
        std::puts("CSV FILES DIFFER");

    const QString htm = reportPath(QStringLiteral("report.htm"));
    const QString htmDirect = program.env.path(QStringLiteral("direct.htm"));
    const double htmMs = bench::medianMs([&] { w.Command3_Click(); });
    const QByteArray table = "<TABLE bgcolor=" + wizard::ColorToHTML(*wizard::colourNumber(s.tablecolour)).toUtf8() +
                             " bordercolor=\"#010080\" CELLPADDING=\"2\" CELLSPACING=\"0\" BORDER=\"0\">\r\n";
    QByteArray head = "<head><LINK REL=StyleSheet HREF=\"" + desktop::programFolder().toUtf8() +
                      "/report1.css\" TYPE=\"Text/css\" MEDIA=screen>\r\n</head><BODY bgcolor =" +
                      wizard::ColorToHTML(*wizard::colourNumber(s.pagecolour)).toUtf8() +
                      ">\r\n<TABLE class=logo><TR><TD WIDTH=100% VALIGN=TOP><P><IMG SRC=\"" + s.logopath.toUtf8() +
                      "\"HSPACE=0 BORDER=0></TD></TR></TABLE><HR><BR>\r\n<P><H3> " + w.Text2->text().toUtf8() +
                      "</H3></P>\r\n" + table;
    std::vector<QByteArray> cells;
    for (int c : Shown) {
        const QByteArray width = wizard::htmlWidth(wizard::columnDef(c).width).toUtf8();
        head += "<TD width = " + width + " valign=top><H5><B> " + wizard::columnDef(c).caption + "</B></TD>\r\n";
        cells.push_back("<TD width = " + width + " valign=top><H5>  ");
    }
    head += "</TR><TR><TD colspan = 19><HR></TD></TR><TR><TD>&nbsp;</TD></TR></TABLE>\r\n" + table;
    const double htmRaw = bench::medianMs([&] {
        straight(
            dbPath, select, head, "</TABLE></TABLE>\r\n",
            [&cells](QByteArray& data, sqlite3_stmt* st, int cols) {
                data += "<TR>\r\n";
                for (int c = 0; c < cols; ++c)
                    data += cells[c] + text(st, c).replace("\r\n", "<BR />") + "</TD>\r\n";
                data += "</TD></TR>\r\n";
            },
            htmDirect);
    });
    const bool htmSame = contents(htm) == contents(htmDirect);
    ok = ok && htmSame;
    bench::report(QStringLiteral("Open in Browser"), htmMs, htmRaw, QStringLiteral("<= 2"));
    if (!htmSame)
        std::puts("HTML FILES DIFFER");

    // The same calls with "Call Open For" and "Include Call Notes": each row looks up its open time and its
    // notes. Raw: the calls joined with their notes, written straight from one query.
    if (!w.mnucof->isChecked())
        w.mnucof->trigger();
    if (!w.mnucalnot1->isChecked())
        w.mnucalnot1->trigger();
    w.Command1_Click();
    const double fullMs = bench::medianMs([&] { w.Command3_Click(); });
    const QString joined = QStringLiteral("Select Calls.Nom, Format$(Calls.[Date Opened],'") + main->datesetting +
                           QStringLiteral("'), Calls.Status, Calls.sp2, Calls.Query, Calls.Contact, Calls.sp3, "
                                          "Calls.sp1, Calls.Field1, Calls.[Time Opened], Notes.Note, Notes.Analyst, "
                                          "Notes.[Note-date], Notes.[Note-time] from Calls LEFT JOIN Notes ON "
                                          "Notes.Call = Calls.Nom WHERE ") +
                           s.statusclause + s.filterclause + s.dateclause;
    int joinedRows = 0;
    const QString fullDirect = program.env.path(QStringLiteral("direct-full.htm"));
    const double fullRaw = bench::medianMs([&] {
        joinedRows = 0;
        straight(
            dbPath, joined, head, "</TABLE></TABLE>\r\n",
            [&joinedRows](QByteArray& data, sqlite3_stmt* st, int cols) {
                ++joinedRows;
                data += "<TR>\r\n";
                for (int c = 0; c < cols; ++c)
                    data += "<TD width = 208.5 valign=top><H5>  " + text(st, c).replace("\r\n", "<BR />") + "</TD>\r\n";
                data += "</TD></TR>\r\n";
            },
            fullDirect);
    });
    std::printf("calls with their notes: %d rows; reading them alone: %.1f ms\n", joinedRows,
                bench::rawMs(dbPath, joined, db::LikeDialect::Ado));
    bench::report(QStringLiteral("Open in Browser, Call Open For and Call Notes"), fullMs, fullRaw,
                  QStringLiteral("<= 2"));
    bench::reportPeakRss();

    w.close();
    main->close();
    delete main;
    processEvents();
    db::pool::closeAll();
    return ok ? 0 : 1;
}

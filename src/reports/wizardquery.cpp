#include "reports/wizardquery.h"

#include "platform/db/database.h"
#include "platform/db/dberror.h"
#include "platform/db/jetsql.h"
#include "platform/db/recordset.h"
#include "platform/db/values.h"
#include "platform/db/vbformat.h"
#include "reports/pagefile.h"
#include "reports/quicklists.h"
#include "reports/reportframe.h"
#include "reports/reportsource.h"
#include "shared/shared.h"
#include "shared/textout.h"

#include <array>
#include <functional>

namespace wizard {
namespace {

const std::array<ColumnDef, ColumnCount> kColumns = {{
    {"Ref", "Nom", 989.858},
    {"Date Opened", "Date Opened", 2085.166},
    {"Time Opened", "Time Opened", 1080},
    {"Analyst", "User", 1080},
    {"Status", "Status", 1080},
    {"Customer", "sp2", 1590.236},
    {"Details", "Query", 3089.764},
    {"Contact", "Contact", 2085.166},
    {"Category", "sp3", 2085.166},
    {"Logged By", "Logged", 2085.166},
    {"Resolution", "Resolution", 2085.166},
    {"Resource", "Time Spent", 2085.166},
    {"sp4 - hide", "sp4", 2085.166},
    {"Audit - hide", "Audit", 2085.166},
    {"Item", "sp1", 2085.166},
    {"Time Closed", "Time Closed", 2085.166},
    {"Date Closed", "Date Closed", 2085.166},
    {"User ref - hide", "Username", 2085.166},
    {"Open For", "Field1", 2085.166},
    {"Notes:", "Spare", 2085.166},
}};

const QString OpenMark = QStringLiteral("-----");

QString formatted(const QString& datesetting) {
    const QString ds = SQLQuote(datesetting);
    return QStringLiteral("Format$([Date Closed],'") + ds +
           QStringLiteral("')as [Date Closed], Format$([Date Opened],'") + ds + QStringLiteral("')as [Date Opened]");
}

QString tail(const State& s) {
    return s.statusclause + s.filterclause + s.dateclause + s.orderclause;
}

// The cell texts of the current walk, one per column.
QString cellText(db::Recordset* rs, int row, int field, bool truncate) {
    if (!rs || field < 0)
        return {};
    QString text = db::displayText(rs->value(row, field));
    if (truncate)
        text = qv::leftWhole(text, 30);
    return text;
}

// Every row in order, streamed from the query when the recordset reads on demand.
void eachRow(const db::Recordset* rs, const std::function<void(int row)>& fn) {
    if (rs)
        rs->readAll(fn);
}

// eachRow while fn answers true; false when fn stopped it.
bool eachRowUnlessStopped(const db::Recordset* rs, const std::function<bool(int row)>& fn) {
    struct Stopped {};
    try {
        eachRow(rs, [&](int r) {
            if (!fn(r))
                throw Stopped{};
        });
    } catch (const Stopped&) {
        return false;
    }
    return true;
}

std::vector<int> fieldIndexes(const std::vector<OutputColumn>& columns, db::Recordset* rs) {
    std::vector<int> out;
    for (const OutputColumn& c : columns)
        out.push_back(rs ? rs->fieldIndex(c.field) : -1);
    return out;
}

// The page's two look-ups per row, each prepared once per page and run again for every call. A look-up that
// cannot be read gives nothing: open calls keep their mark and rows go out without notes.
struct RowLookups {
    std::optional<ReportRows> openFor;
    std::optional<ReportRows> notes;
};

std::optional<qint64> callOf(const QString& ref) {
    bool number = false;
    const qint64 n = ref.toLongLong(&number);
    return number ? std::optional<qint64>(n) : std::nullopt;
}

// "<i>" duration "</i>" of a call still open; nullopt leaves the cell as it is.
std::optional<QString> openFor(RowLookups& lookups, const QString& ref, const QDateTime& now) {
    const std::optional<qint64> call = callOf(ref);
    if (!lookups.openFor || !call)
        return std::nullopt;
    ReportRows& rs = *lookups.openFor;
    rs.rerun(*call);
    if (!rs.next() || db::displayText(rs.field(QStringLiteral("field1"))) != OpenMark)
        return std::nullopt;
    const QVariant date = rs.field(QStringLiteral("Date Opened"));
    const QVariant time = rs.field(QStringLiteral("Time Opened"));
    if (date.typeId() != QMetaType::QDate || time.typeId() != QMetaType::QTime)
        return std::nullopt; // no moment to count from
    // Wall-clock parts only: a zone-free moment spares a time-zone look-up per row.
    const QString d = FormatDuration(QDateTime(date.toDate(), time.toTime(), Qt::UTC), now);
    if (d.isEmpty())
        return std::nullopt;
    return QStringLiteral("<i>") + d + QStringLiteral("</i>");
}

void callnotes(PageFile& page, RowLookups& lookups, const QString& ref) {
    const std::optional<qint64> call = callOf(ref);
    if (!lookups.notes || !call)
        return;
    ReportRows& rs = *lookups.notes;
    rs.rerun(*call);
    const QString d = QStringLiteral("</TD><TD width = 100 valign=top><font color = #COCOCO><H5><i>");
    while (rs.next()) {
        page.writeLine(QStringLiteral("<TABLE><TR><TD width = 100 valign=top>&nbsp;</TD><TD width = 100 "
                                      "valign=top><font color = #COCOCO><i>Note:</TD><TD width = 500><font "
                                      "color = #COCOCO><H5><i>") +
                       htmlText(rs.text(QStringLiteral("Note"))) + QStringLiteral("</TD>"));
        page.writeLine(d + htmlText(rs.text(QStringLiteral("Analyst"))) + d +
                       htmlText(rs.text(QStringLiteral("Note-date"))) + d +
                       htmlText(rs.text(QStringLiteral("Note-time"))) + QStringLiteral("</TD> "));
        page.writeLine(QStringLiteral("</TR></TABLE>"));
    }
}

QString colourOf(const QString& text) {
    return ColorToHTML(colourNumber(text).value_or(0xFFFFFF));
}

} // namespace

State& state() {
    static State s;
    return s;
}

void runClauses(State& s, const Choices& c) {
    const QString value = SQLQuote(c.filterValue) + QLatin1Char('\'');
    if (c.filter == QLatin1String("Customer = "))
        s.filterclause = QStringLiteral(" AND Username ='") + value;
    if (c.filter == QLatin1String("Support Staff = "))
        s.filterclause = QStringLiteral(" AND User ='") + value;
    if (c.filter == QLatin1String("Category = "))
        s.filterclause = QStringLiteral(" AND sp3 ='") + value;
    if (c.filter == c.spareCaption + QStringLiteral(" = "))
        s.filterclause = QStringLiteral(" AND Spare ='") + value;
    if (c.filter == QLatin1String("All Customers") || c.filter == QLatin1String("All Support Staff"))
        s.filterclause.clear();

    if (c.dateMode == QLatin1String("Ignore Dates"))
        s.dateclause.clear();
    const QString pattern = QStringLiteral("yyyy\\/mm\\/dd");
    if (c.dateMode == QLatin1String("Between Dates"))
        s.dateclause = QStringLiteral(" AND [Date Opened] between #") + db::vbFormat(c.from, pattern) +
                       QStringLiteral("# and #") + db::vbFormat(c.to, pattern) + QLatin1Char('#');

    s.statusclause = c.status == QLatin1String("All Calls")
                         ? QStringLiteral("STATUS <> 'Selected'")
                         : QStringLiteral("STATUS = '") + SQLQuote(c.status) + QLatin1Char('\'');

    s.sortdir = c.direction == QLatin1String("Ascending") ? QStringLiteral("ASC") : QStringLiteral("DESC");

    static const std::array<std::pair<const char*, const char*>, 7> orders = {{
        {"[Date Opened]", "[Date Opened]"},
        {"[Date Closed]", "[Date Closed]"},
        {"Customer", "Username"},
        {"Support Staff", "User"},
        {"Status", "Status"},
        {"Call ID", "Nom"},
        {"Category", "Sp3"},
    }};
    if (c.sortColumn == QLatin1String("Don't Sort"))
        s.orderclause.clear();
    for (const auto& [text, column] : orders)
        if (c.sortColumn == QLatin1String(text))
            s.orderclause = QStringLiteral(" ORDER BY ") + QLatin1String(column) + QLatin1Char(' ') + s.sortdir;
}

QString shownQuery(const State& s) {
    return QStringLiteral("SELECT * From Calls WHERE ") + tail(s);
}

QString gridQuery(const State& s, const QString& datesetting) {
    // The formatted dates carry the columns' names, and ORDER BY finds a result name before a table column:
    // a date sort names the table's column, so that it sorts by date and not by the shown text.
    QString order = s.orderclause;
    for (const QString& column : {QStringLiteral("[Date Opened] "), QStringLiteral("[Date Closed] ")}) {
        const QString shown = QStringLiteral(" ORDER BY ") + column;
        if (order.startsWith(shown))
            order = QStringLiteral(" ORDER BY Calls.") + column + order.mid(shown.size());
    }
    return QStringLiteral("Select Nom, sp3, sp4,  Query, Resolution, User, Username, sp2, Status, sp1, Contact, "
                          "Logged, [Time Spent], Spare, [Time Opened], [Time Closed], ") +
           formatted(datesetting) + QStringLiteral(", Field1  from Calls WHERE ") + s.statusclause + s.filterclause +
           s.dateclause + order;
}

QString openCallsQuery(const QString& datesetting) {
    return QStringLiteral("Select Nom, sp3, sp4, sp1, Contact, Logged, Query, Resolution, User, Username, sp2, Status, "
                          "[Time Spent], Spare, [Time Opened], [Time Opened], ") +
           formatted(datesetting) + QStringLiteral("  from Calls where status <> 'Closed'");
}

const ColumnDef& columnDef(int i) {
    return kColumns.at(static_cast<size_t>(i));
}

QString ColorToHTML(qint64 colour) {
    const QString hex =
        (QStringLiteral("00000") + QString::number(static_cast<quint32>(colour & 0xFFFFFFFF), 16).toUpper()).right(6);
    return QLatin1Char('#') + hex.mid(4, 2) + hex.mid(2, 2) + hex.left(2);
}

std::optional<qint64> colourNumber(const QString& text) {
    const QString t = text.trimmed();
    bool ok = false;
    if (t.startsWith(QLatin1String("&H"), Qt::CaseInsensitive)) {
        QString digits = t.mid(2);
        if (digits.endsWith(QLatin1Char('&')))
            digits.chop(1);
        const qint64 v = digits.toLongLong(&ok, 16);
        return ok && !digits.isEmpty() ? std::optional<qint64>(v) : std::nullopt;
    }
    const qint64 v = t.toLongLong(&ok);
    return ok ? std::optional<qint64>(v) : std::nullopt;
}

QString htmlWidth(double twips) {
    return QString::number(static_cast<float>(twips / 10.0), 'g', 7);
}

std::optional<bool> iniBool(const QString& text) {
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (ok)
        return v != 0;
    return std::nullopt;
}

bool writeCsv(const QString& path, const std::vector<OutputColumn>& columns, db::Recordset* rs, bool truncate,
              const Progress& progress) {
    PageFile page;
    if (!page.open(path))
        return false;
    QString line;
    for (const OutputColumn& c : columns)
        if (c.visible)
            appendCsvCell(line, c.caption);
    page.writeLine(line);
    const std::vector<int> fields = fieldIndexes(columns, rs);
    const int rows = rs ? rs->recordCount() : 0;
    // Streamed from the query, a line at a time.
    const bool whole = eachRowUnlessStopped(rs, [&](int r) {
        if (!progressGoesOn(progress, r, rows))
            return false;
        line.clear();
        for (size_t i = 0; i < columns.size(); ++i)
            if (columns[i].visible)
                appendCsvCell(line, cellText(rs, r, fields[i], truncate));
        page.writeLine(line);
        return true;
    });
    if (!whole)
        return false;
    page.writeLine(QString());
    page.writeLine(QString());
    if (rs)
        rs->moveTo(rows);
    return page.commit();
}

bool writeHtml(const QString& path, const std::vector<OutputColumn>& columns, db::Recordset* rs,
               const PageLayout& layout, const QString& dbpath, const QDateTime& now, const Progress& progress) {
    PageFile page;
    if (!page.open(path))
        return false;
    const QString table = QStringLiteral("<TABLE bgcolor=") + colourOf(layout.tablecolour) +
                          QStringLiteral(" bordercolor=\"#010080\" CELLPADDING=\"2\" CELLSPACING=\"0\" BORDER=\"0\">");
    const QString span = QString::number(ColumnCount - 1);
    page.writeLine(QStringLiteral("<head><LINK REL=StyleSheet HREF=\"") + htmlAttribute(layout.programFolder) +
                   QStringLiteral("/report1.css\" TYPE=\"Text/css\" MEDIA=screen>"));
    page.writeLine(QStringLiteral("</head><BODY bgcolor =") + colourOf(layout.pagecolour) + QLatin1Char('>'));
    page.writeLine(QStringLiteral("<TABLE class=logo><TR><TD WIDTH=100% VALIGN=TOP><P><IMG SRC=\"") +
                   htmlAttribute(layout.logopath) + QStringLiteral("\"HSPACE=0 BORDER=0></TD></TR></TABLE><HR><BR>"));
    page.writeLine(QStringLiteral("<P><H3> ") + htmlText(layout.title) + QStringLiteral("</H3></P>"));
    page.writeLine(table);
    for (const OutputColumn& c : columns)
        if (c.visible)
            page.writeLine(QStringLiteral("<TD width = ") + htmlWidth(c.width) +
                           QStringLiteral(" valign=top><H5><B> ") + htmlText(c.caption) + QStringLiteral("</B></TD>"));
    page.writeLine(QStringLiteral("</TR><TR><TD colspan = ") + span +
                   QStringLiteral("><HR></TD></TR><TR><TD>&nbsp;</TD></TR></TABLE>"));
    page.writeLine(table);

    const std::vector<int> fields = fieldIndexes(columns, rs);
    const bool openForShown = columns.size() > OpenForColumn && columns[OpenForColumn].visible;
    const int refField = columns.empty() ? -1 : fields[0];
    std::optional<db::Database> database;
    // The look-ups lock and check the file once per stretch of rows, not once per row; between stretches the
    // lock is let go, so that other copies can store their changes while a long page is written.
    std::optional<db::ReadSnapshot> snapshot;
    RowLookups lookups;
    if (openForShown || layout.notes) {
        try {
            database = db::Database::open(dbpath);
            snapshot.emplace(&database->connection());
            if (openForShown)
                lookups.openFor = ReportRows::prepared(
                    database->shared(),
                    QStringLiteral("SELECT \"Date Opened\", \"Time Opened\", Field1 FROM Calls WHERE Nom = ?1"), true);
            if (layout.notes)
                lookups.notes = ReportRows::prepared(database->shared(),
                                                     QStringLiteral("SELECT * FROM Notes WHERE Call = ?1"), true);
        } catch (const db::DbError&) {
            // open calls keep their mark and rows go out without notes
        }
    }
    std::vector<QString> widths;
    for (const OutputColumn& c : columns)
        widths.push_back(htmlWidth(c.width));

    const int rows = rs ? rs->recordCount() : 0;
    const bool whole = eachRowUnlessStopped(rs, [&](int r) {
        if (!progressGoesOn(progress, r, rows))
            return false;
        if (database && r > 0 && r % ProgressEvery == 0) {
            snapshot.reset();
            snapshot.emplace(&database->connection());
        }
        const QString ref = cellText(rs, r, refField, false);
        page.writeLine(QStringLiteral("<TR>"));
        for (size_t i = 0; i < columns.size(); ++i) {
            if (!columns[i].visible)
                continue;
            const QString text = cellText(rs, r, fields[i], layout.truncate);
            std::optional<QString> duration;
            if (openForShown && text == OpenMark)
                duration = openFor(lookups, ref, now);
            page.writeLine(QStringLiteral("<TD width = ") + widths[i] + QStringLiteral(" valign=top><H5>  ") +
                           (duration ? *duration : htmlbreaks(text)) + QStringLiteral("</TD>"));
        }
        if (layout.notes) {
            page.writeLine(QStringLiteral("<TR><TD colspan = ") + span + QLatin1Char('>'));
            callnotes(page, lookups, ref);
            page.writeLine(QStringLiteral("</TD></TR>"));
        }
        if (layout.separator)
            page.writeLine(QStringLiteral("</TD></TR><TR><TD colspan = ") + span + QStringLiteral("><HR></TD></TR>"));
        else
            page.writeLine(QStringLiteral("</TD></TR>"));
        return true;
    });
    if (!whole)
        return false;
    page.writeLine(QStringLiteral("</TABLE></TABLE>"));
    if (rs)
        rs->moveTo(rows);
    return page.commit();
}

QString itemCallsQuery(const QString& answer) {
    // The answer is a text to find: the pattern characters in it stand for themselves.
    const QString literal = db::jet::likeLiteral(SQLQuote(answer), db::LikeDialect::Dao);
    // The assignee, as under the same caption in the status report.
    return QStringLiteral("Select User, [Date Opened], sp2, Status, Query, Sp3, Sp1, Nom from Calls where sp1 "
                          "LIKE '*") +
           literal + QStringLiteral("*' order by [Date opened] DESC, [Time opened] DESC");
}

QString writeItemCalls(const QString& path, const QString& answer, const QString& dbpath) {
    try {
        ReportSource source(dbpath, false);
        PageFile page;
        if (!page.open(path))
            return cannotWriteText(path);
        quicklists::itemCalls(page, source, answer);
        if (!page.commit())
            return cannotWriteText(path);
        return {};
    } catch (const db::DbError& e) {
        // Nothing is written when the calls cannot be read.
        return QStringLiteral("The calls could not be read: ") + e.message();
    }
}

} // namespace wizard

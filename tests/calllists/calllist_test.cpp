#include "support/fontfit.h"
#include "support/mainwindowfixture.h"

#include "calllists/callviews.h"
#include "calllists/piechart.h"
#include "mainwindow/form1.h"
#include "mainwindow/statusbar.h"
#include "platform/db/database.h"
#include "platform/db/recordset.h"
#include "platform/db/values.h"
#include "platform/ini.h"
#include "platform/widgets/colour.h"
#include "platform/widgets/flexgrid.h"
#include "shared/gridformat.h"

#include <QFontMetricsF>
#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QStyle>
#include <cmath>
#include <functional>

namespace {

class CallListView : public MainWindowTest {};

// The pixels a cell needs to show the text whole in the grid's font: the text, the margins and the grid line.
int needed(const QTableView& grid, const QString& text) {
    const int margin = grid.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &grid) + 1;
    return static_cast<int>(std::ceil(QFontMetricsF(grid.font()).horizontalAdvance(text))) + 2 * margin + 1;
}

// The caption of grid column `col` as drawn: its text, or, when cut, the first characters followed by "…" (drawn
// whole within the section, not clipped).
QString drawnCaption(ui::FlexGrid& g, int col) {
    QHeaderView* h = g.horizontalHeader();
    const int v = col - g.fixedCols();
    const QRect section(h->sectionViewportPosition(v), 0, h->sectionSize(v), h->height());
    const QString caption = g.textMatrix(0, col);
    if (!h->viewport()->rect().contains(section))
        return QStringLiteral("(not in view)");
    const QImage drawn = h->viewport()->grab(section).toImage();
    const int room = section.width() - 2 * h->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, h);
    QString found = caption;
    for (int n = 0; n < caption.size() && found == caption; ++n) {
        const QString elided = caption.left(n) + QStringLiteral("…");
        g.setTextMatrix(0, col, elided);
        if (h->fontMetrics().horizontalAdvance(elided) <= room && h->viewport()->grab(section).toImage() == drawn)
            found = elided;
    }
    g.setTextMatrix(0, col, caption);
    return found;
}

QStringList column(const ui::FlexGrid& g, int col) {
    QStringList out;
    for (int r = 1; r < g.rows(); ++r)
        out << g.textMatrix(r, col);
    return out;
}

TEST_F(CallListView, WorkloadListsMyOpenCallsAndUnassignedOnesWhenAsked) {
    prepareDatabase();
    addStaff("amy", "", "3");
    const int mine = addCall("c1", "Open", "Admin");
    addCall("c2", "Closed", "Admin");
    addCall("c3", "Open", "amy");
    const int free = addCall("c4", "Urgent", "---");
    Form1& f = start();
    EXPECT_EQ(column(*f.datagrid2, 2), QStringList{QString::number(mine)});
    EXPECT_EQ(f.StatusBar1->panel(5), "My Workload.  Records: 1");
    f.includeunassigned = "True";
    f.Command11_Click();
    EXPECT_EQ(column(*f.datagrid2, 2), (QStringList{QString::number(mine), QString::number(free)}));
    f.sortorder = "DESC";
    f.Command11_Click();
    EXPECT_EQ(column(*f.datagrid2, 2), (QStringList{QString::number(free), QString::number(mine)}));
}

TEST_F(CallListView, ColumnsHoldTheirOwnFieldsWhateverOrderTheQuerySelects) {
    prepareDatabase();
    addCustomer("Ann Lee", "ann", "555", "1 High St");
    const int nom = addCall("ann", "Pending", "Admin", "Network");
    exec(QStringLiteral("UPDATE Calls SET sp1 = 'PC   [42]', sp2 = 'Ann Lee', Query = 'no network' WHERE Nom = %1")
             .arg(nom));
    Form1& f = start();
    const QStringList queries = {
        // The search window's, the inventory windows' and the top-five window's field orders.
        "Select Nom, sp3,  sp1, sp4,  Query, User, Username, sp2, Status, Logged, Contact, [Time Opened],[Time Spent], "
        "Spare, Format$([Date Closed],'dd/mm/yyyy')as [Date Closed], Format$([Date Opened],'dd/mm/yyyy')as [Date "
        "Opened]  from Calls where Username = 'ann' ORDER by Status DESC, Nom ASC",
        "Select Nom, sp3,  sp1, sp4,  Query, User,Username, sp2, Status, Logged, Contact,[Time Spent], Spare, [Time "
        "Opened], Format$([Date Closed],'dd/mm/yyyy')as [Date Closed], Format$([Date Opened],'dd/mm/yyyy')as [Date "
        "Opened] from Calls where sp1 = 'PC   [42]'",
        "Select Nom, sp3,  sp1, sp4,  Query, User, Username, sp2, Status, [Time Opened],[Time Spent], Spare, "
        "Format$([Date Closed],'dd/mm/yyyy') as [Date Closed], Format$([Date Opened],'dd/mm/yyyy')as [Date Opened]  "
        "from Calls where Status <> 'Closed' AND Sp3 = 'Network'  ORDER by Status DESC, Nom ASC",
    };
    for (const QString& sql : queries) {
        f.DataFill(sql, "Query");
        ASSERT_EQ(f.datagrid2->rows(), 2) << sql.toStdString();
        EXPECT_EQ(f.datagrid2->textMatrix(1, 2), QString::number(nom));
        EXPECT_EQ(f.datagrid2->textMatrix(1, 3), "Admin");
        EXPECT_EQ(f.datagrid2->textMatrix(1, 4), "Network");
        EXPECT_EQ(f.datagrid2->textMatrix(1, 5), "Ann Lee");
        EXPECT_EQ(f.datagrid2->textMatrix(1, 6), "ann");
        EXPECT_EQ(f.datagrid2->textMatrix(1, 9), "Pending");
        EXPECT_EQ(f.datagrid2->textMatrix(1, 10), "PC   [42]");
        EXPECT_EQ(f.datagrid2->textMatrix(1, 13), "14/03/2025");
        EXPECT_EQ(f.datagrid2->textMatrix(0, 2), "Ref");
        EXPECT_EQ(f.datagrid2->textMatrix(0, 9), "Status");
        EXPECT_EQ(f.datagrid2->textMatrix(0, 11), "Notes:");
    }
    // Pending has a colour in the default list: the row takes it.
    EXPECT_EQ(f.datagrid2->cellBackColor(1, 5), ui::vbColour("13172735"));
}

TEST_F(CallListView, DataFillCapsAtTheMostRecentCallsAndLeavesOneEmptyRowForNone) {
    prepareDatabase();
    for (int i = 0; i < 12; ++i)
        addCall("c", "Open", "Admin");
    Form1& f = start();
    f.maxcalls = 10;
    f.showAllCalls();
    EXPECT_EQ(f.StatusBar1->panel(5), "All Calls.  Records: Most recent 10");
    ASSERT_EQ(f.datagrid2->rows(), 11);
    EXPECT_EQ(f.datagrid2->textMatrix(1, 2), "3"); // the oldest two are left out
    EXPECT_EQ(f.datagrid2->textMatrix(10, 2), "12");
    f.listByStatus("Nothing");
    EXPECT_EQ(f.StatusBar1->panel(5), "Status: Nothing.  Records: 0");
    EXPECT_EQ(f.datagrid2->rows(), 2);
    EXPECT_EQ(f.datagrid2->textMatrix(1, 2), "");
}

TEST_F(CallListView, ExactlyTheMaximumOfCallsSaysMostRecentAndOneFewerGivesTheCount) {
    prepareDatabase();
    for (int i = 0; i < 3; ++i)
        addCall("c", "Open", "Admin");
    Form1& f = start();
    f.maxcalls = 3;
    f.showAllCalls();
    EXPECT_EQ(f.StatusBar1->panel(5), "All Calls.  Records: Most recent 3");
    EXPECT_EQ(column(*f.datagrid2, 2), (QStringList{"1", "2", "3"}));
    f.maxcalls = 4;
    f.showAllCalls();
    EXPECT_EQ(f.StatusBar1->panel(5), "All Calls.  Records: 3");
    f.maxcalls = 2;
    f.sortorder = "DESC";
    f.showAllCalls();
    EXPECT_EQ(f.StatusBar1->panel(5), "All Calls.  Records: Most recent 2");
    EXPECT_EQ(column(*f.datagrid2, 2), (QStringList{"3", "2"}));
}

// Reading only what the list shows must show what reading the whole view and keeping the newest did.
TEST_F(CallListView, EveryViewShowsTheNewestCallsOfTheWholeViewInItsOwnOrder) {
    prepareDatabase();
    addStaff("amy", "", "3");
    const QStringList statuses = {"Open", "Closed", "closed", "Urgent", "Pending"};
    const QStringList staff = {"Admin", "amy", "---"};
    const QStringList cats = {"Hardware", "software", "Software"};
    for (int i = 0; i < 17; ++i) {
        const int nom = addCall(i % 4 ? "ann" : "bob", statuses[(i * 7) % 5], staff[i % 3], cats[(i * 5) % 3]);
        if (i % 6 == 0)
            exec(QStringLiteral("UPDATE Calls SET Status = Null, Query = 'the PRINTER again' WHERE Nom = %1").arg(nom));
    }
    Form1& f = start();
    const std::vector<std::pair<QString, std::function<void()>>> views = {
        {"all", [&] { f.showAllCalls(); }},
        {"open", [&] { f.listOpenCalls(); }},
        {"workload", [&] { f.Command11_Click(); }},
        {"status", [&] { f.listByStatus("CLOSED"); }},
        {"category", [&] { f.listByCategory("software"); }},
        {"keyword", [&] { f.listByKeyword("printer"); }},
        {"customer", [&] { f.listByCustomer("ann"); }},
        {"no Nom selected", [&] { f.DataFill("Select Status, sp3 from Calls ORDER by sp3", "Query"); }},
    };
    for (const QString sortcolumn : {"Nom", "Status", "sp3"})
        for (const QString sortorder : {"ASC", "DESC"})
            for (int max : {1, 4, 9, 17}) {
                f.sortcolumn = sortcolumn;
                f.sortorder = sortorder;
                f.maxcalls = max;
                for (const auto& [name, show] : views) {
                    show();
                    const QString sql = f.currentsql();
                    auto database = db::Database::open(dbPath);
                    auto whole = database.openRecordset(sql, db::LikeDialect::Ado);
                    const int nomField = whole->fieldIndex("Nom");
                    const int statusField = whole->fieldIndex("Status");
                    std::vector<qint64> noms;
                    for (int r = 0; r < whole->recordCount(); ++r)
                        noms.push_back(nomField >= 0 ? whole->value(r, nomField).toLongLong() : 0);
                    QStringList expected;
                    for (int r : callviews::mostRecentRows(noms, max))
                        expected << (nomField >= 0 ? QString::number(noms[r])
                                                   : db::displayText(whole->value(r, statusField)));
                    const QString where =
                        QStringLiteral("%1 by %2 %3, max %4").arg(name, sortcolumn, sortorder).arg(max);
                    if (expected.isEmpty())
                        expected << "";
                    EXPECT_EQ(column(*f.datagrid2, nomField >= 0 ? 2 : 9), expected) << where.toStdString();
                    EXPECT_EQ(f.StatusBar1->panel(5).endsWith("Most recent " + QString::number(max)),
                              whole->recordCount() >= max)
                        << where.toStdString();
                }
            }
}

TEST_F(CallListView, UserTextInViewsIsQuoted) {
    prepareDatabase();
    const int nom = addCall("o'brien", "Open", "Admin");
    exec(QStringLiteral("UPDATE Calls SET Query = 'printer 100%% [jammed]' WHERE Nom = %1").arg(nom));
    addCall("other", "Open", "Admin");
    Form1& f = start();
    f.listByCustomer("o'brien");
    EXPECT_EQ(column(*f.datagrid2, 2), QStringList{QString::number(nom)});
    f.listByKeyword("100%% [jammed]");
    EXPECT_EQ(column(*f.datagrid2, 2), QStringList{QString::number(nom)});
    f.listByKeyword("*");
    EXPECT_EQ(column(*f.datagrid2, 2), QStringList{""});
    f.listByStatus("x' OR 'a' = 'a");
    EXPECT_EQ(f.StatusBar1->panel(5), "Status: x' OR 'a' = 'a.  Records: 0");
}

TEST_F(CallListView, StatsCountMineOnlyForExactlyMe) {
    prepareDatabase();
    addStaff("amy", "", "3");
    addCall("a", "Open", "Admin", "Hardware");
    addCall("b", "Urgent", "amy", "Software");
    addCall("c", "Pending", "Admin", "Software");
    addCall("d", "Closed", "Admin", "Software");
    addCall("e", "Open", "---", "Software");
    IniFile(env->settingsFolder + "/quorvane.ini").write("Program", "Home Stats Format", "me");
    Form1& f = start();
    EXPECT_EQ(f.barValues, (std::array<int, 4>{3, 2, 1, 0})); // today, open, Pending, Urgent: Admin's only
    EXPECT_EQ(f.nonassigned, 1);
    f.homestats = "Me";
    f.stats();
    EXPECT_EQ(f.barValues, (std::array<int, 4>{5, 4, 1, 1}));
    f.homestats = "all";
    f.stats();
    EXPECT_EQ(f.barValues, (std::array<int, 4>{5, 4, 1, 1}));
    ASSERT_GE(f.pieValues.size(), 1);
    EXPECT_EQ(f.pieValues.first(), qMakePair(QString("Software"), 3));
    f.piemode = "None";
    f.stats();
    EXPECT_FALSE(f.Picture7->isVisibleTo(&f));
}

TEST_F(CallListView, DashboardCountsOpenCallsAndGroupsCategoriesWithoutRegardToCase) {
    prepareDatabase();
    addCall("a", "Open", "---", "Hardware");
    addCall("b", "urgent", "Admin", "hardware");
    addCall("c", "CLOSED", "---", "Hardware");
    addCall("d", "Closed", "Admin", "Software");
    const int none = addCall("e", "Open", "---", "Software");
    exec(QStringLiteral("UPDATE Calls SET Status = Null WHERE Nom = %1").arg(none)); // neither open nor closed
    Form1& f = start();
    f.homestats = "all";
    f.piemode = "sp3";
    f.stats();
    EXPECT_EQ(f.barValues[1], 2); // open: Open and urgent
    EXPECT_EQ(f.barValues[3], 1); // Urgent
    EXPECT_EQ(f.nonassigned, 1);
    ASSERT_EQ(f.pieValues.size(), 1);
    EXPECT_EQ(f.pieValues.first().first.toLower(), "hardware");
    EXPECT_EQ(f.pieValues.first().second, 2);
}

TEST(GridFormat, StripesEverySecondDataRowAndColoursKnownStatuses) {
    ensureApp();
    ui::FlexGrid g;
    g.setFixedRows(1);
    g.setFixedCols(1);
    g.setCols(4);
    g.setRows(5);
    g.setTextMatrix(1, 2, "Urgent");
    g.setTextMatrix(3, 2, "Open");
    StripeGrid(g, "255"); // red stripe
    EXPECT_EQ(g.cellBackColor(1, 1), QColor(Qt::white));
    EXPECT_EQ(g.cellBackColor(2, 1), QColor(Qt::red));
    EXPECT_EQ(g.cellBackColor(3, 3), QColor(Qt::white));
    EXPECT_EQ(g.cellBackColor(4, 3), QColor(Qt::red));
    StatusTable table{};
    table[0] = {"Open", "---"};
    table[1] = {"Urgent", "16711680"}; // blue
    statuscolours(g, "vardont", table, 2);
    EXPECT_EQ(g.cellBackColor(1, 1), QColor(Qt::white));
    statuscolours(g, "varcolours", table, 2);
    EXPECT_EQ(g.cellBackColor(1, 3), QColor(Qt::blue));
    EXPECT_EQ(g.cellBackColor(3, 1), QColor(Qt::white)); // "---" is no colour
    ui::FlexGrid one;
    one.setRows(1);
    StripeGrid(one, "255"); // fewer than two rows: nothing to do
}

TEST(CallViews, MostRecentRowsKeepQueryOrder) {
    EXPECT_EQ(callviews::mostRecentRows({5, 1, 9, 3}, 2), (std::vector<int>{0, 2}));
    EXPECT_EQ(callviews::mostRecentRows({5, 1}, 5), (std::vector<int>{0, 1}));
    EXPECT_TRUE(callviews::mostRecentRows({5, 1}, 0).empty());
}

TEST_F(CallListView, CallNumbersDatesTimesAndStatusesShowWholeInEveryGridFont) {
    prepareDatabase();
    env->screen.size = QSize(1024, 768);
    env->clock.set(QDateTime(QDate(2025, 12, 28), QTime(23, 58, 59)));
    addRow("Calls", {{"Nom", 999998},
                     {"Username", "jsmith"},
                     {"Status", "Pending"},
                     {"User", "Admin"},
                     {"Date Opened", QDate(2025, 12, 28)},
                     {"Time Opened", QTime(23, 58, 59)}});
    Form1& f = start();
    f.show();
    f.showAllCalls();
    ui::FlexGrid& g = *f.datagrid2;
    ASSERT_EQ(g.textMatrix(1, 2), "999998");
    const int designRef = g.colWidth(2);
    for (const QString& family : fitFamilies())
        for (const auto& [points, bold] : {std::pair{8, false}, std::pair{10, false}, std::pair{14, true}}) {
            QFont font(family, points);
            font.setBold(bold);
            f.setGridFont(font, QColor());
            processEvents();
            for (int col : {2, 9, 13, 14}) {
                const QString text = g.textMatrix(1, col);
                EXPECT_GE(g.columnWidth(col - 1), needed(g, text))
                    << family.toStdString() << " " << points << " pt: " << text.toStdString();
            }
            EXPECT_EQ(g.colWidth(2), designRef); // what is saved stays the laid-out width
        }
    // At 14 pt bold a caption cut short ends in "…"; the grid scrolls sideways to the columns beyond it.
    g.setUserColWidth(5, 900);
    processEvents();
    const QString caption = drawnCaption(g, 5);
    EXPECT_TRUE(caption.endsWith(QStringLiteral("…")) && caption.size() < 14) << caption.toStdString();
    EXPECT_GT(g.horizontalScrollBar()->maximum(), 0);
}

TEST_F(CallListView, WidthsTheUserSavedComeBackAsSavedWithABigGridFont) {
    prepareDatabase();
    const QString ini = env->settingsFolder + "/quorvane.ini";
    IniFile(ini).write("Grid Fonts", "Name", "Arial");
    IniFile(ini).write("Grid Fonts", "Size", "14");
    IniFile(ini).write("Grid Fonts", "Bold", "True");
    IniFile(ini).write("Call Grid", "Column Width 7", "4320");
    for (int run = 0; run < 2; ++run) {
        Form1& f = start();
        processEvents();
        EXPECT_EQ(f.datagrid2->colWidth(7), 4320);
        EXPECT_EQ(f.datagrid2->columnWidth(6), 288) << "run " << run; // 4320 twips as they are
        EXPECT_EQ(f.datagrid2->colWidth(2), 800);
        EXPECT_GT(f.datagrid2->columnWidth(1), 800 / 15 + 10); // the laid-out width grows with the font
        closeMain();
        EXPECT_EQ(env->ini("Call Grid", "Column Width 7"), "4320");
        EXPECT_EQ(env->ini("Call Grid", "Column Width 2"), "800");
    }
}

} // namespace

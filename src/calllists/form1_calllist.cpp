#include "mainwindow/form1.h"

#include "callentry/callrules.h"
#include "calllists/calllist.h"
#include "calllists/callviews.h"
#include "calllists/piechart.h"
#include "mainwindow/statusbar.h"
#include "platform/db/database.h"
#include "platform/db/datacontrol.h"
#include "platform/db/dberror.h"
#include "platform/db/recordset.h"
#include "platform/db/values.h"
#include "platform/desktop.h"
#include "platform/widgets/datagrid.h"
#include "platform/widgets/dialogs.h"
#include "platform/widgets/flexgrid.h"
#include "shared/gridformat.h"
#include "shared/shared.h"

#include <QAction>
#include <QCalendarWidget>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPixmap>
#include <QPushButton>
#include <QSplitter>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {

constexpr int BarHeight = 110; // pixels of the tallest statistics bar

callviews::ListOptions options(const Form1& f) {
    return {f.datesetting, f.sortcolumn, f.sortorder, f.sqldateformat};
}

} // namespace

void Form1::buildHomePanel() {
    auto* grid = new QGridLayout(Picture10);
    grid->setContentsMargins(6, 6, 6, 6);
    auto tile = [this](const char* name) {
        auto* f = new QFrame(Picture10);
        f->setObjectName(QLatin1String(name));
        f->setFrameShape(QFrame::StyledPanel);
        return f;
    };
    Picture17 = tile("Picture17");
    auto* bars = new QHBoxLayout(Picture17);
    for (QLabel** image : {&Image1, &Image2, &Image3, &Image4})
        *image = new QLabel(Picture17);
    const std::array<QLabel*, 4> barImages = this->barImages();
    for (int i = 0; i < 4; ++i) {
        auto* column = new QVBoxLayout;
        barCounts[i] = new QLabel(QStringLiteral("0"), Picture17);
        barCounts[i]->setObjectName(QStringLiteral("barCount%1").arg(i + 1));
        barCounts[i]->setAlignment(Qt::AlignCenter);
        barImages[i]->setObjectName(QStringLiteral("Image%1").arg(i + 1));
        barImages[i]->setAlignment(Qt::AlignBottom | Qt::AlignHCenter);
        barImages[i]->setMinimumSize(44, BarHeight + 4);
        barCaptions[i] = new QLabel(Picture17);
        barCaptions[i]->setTextFormat(Qt::PlainText);
        barCaptions[i]->setAlignment(Qt::AlignCenter);
        barCaptions[i]->setWordWrap(true);
        barCaptions[i]->setMinimumWidth(54);
        QFont small = barCaptions[i]->font();
        small.setPointSizeF(small.pointSizeF() * 0.85);
        barCaptions[i]->setFont(small);
        column->addWidget(barCounts[i]);
        column->addWidget(barImages[i], 1);
        column->addWidget(barCaptions[i]);
        bars->addLayout(column);
    }

    Picture7 = tile("Picture7");
    auto* pieBox = new QVBoxLayout(Picture7);
    pieBox->addWidget(new QLabel(QStringLiteral("<b>Top three</b>"), Picture7));
    pie = new PieChart(Picture7);
    pie->setObjectName(QStringLiteral("pie"));
    pieBox->addWidget(pie, 1);

    Picture13 = tile("Picture13");
    auto* labels = new QVBoxLayout(Picture13);
    Label31 = new QLabel(Picture13);
    Label31->setObjectName(QStringLiteral("Label31"));
    Label31->setTextFormat(Qt::PlainText);
    MonthView1 = new QCalendarWidget(Picture13);
    MonthView1->setObjectName(QStringLiteral("MonthView1"));
    MonthView1->setGridVisible(true);
    MonthView1->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    MonthView1->setHorizontalHeaderFormat(QCalendarWidget::SingleLetterDayNames);
    QFont calendarFont = MonthView1->font();
    calendarFont.setPointSizeF(calendarFont.pointSizeF() * 0.85);
    MonthView1->setFont(calendarFont);
    labels->addWidget(Label31);
    labels->addWidget(MonthView1, 1);

    Picture12 = tile("Picture12");
    auto* logo = new QVBoxLayout(Picture12);
    auto* picture = new QLabel(Picture12);
    picture->setObjectName(QStringLiteral("homePicture"));
    picture->setAlignment(Qt::AlignCenter);
    picture->setScaledContents(false);
    picture->setPixmap(QPixmap(desktop::programFolder() + QStringLiteral("/Media/logo.gif")));
    logo->addWidget(picture);

    grid->addWidget(Picture17, 0, 0);
    grid->addWidget(Picture7, 0, 1);
    grid->addWidget(Picture13, 0, 2);
    grid->addWidget(Picture12, 0, 3);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 3);
    grid->setColumnStretch(2, 2);
    grid->setColumnStretch(3, 2);
    Picture10->setMaximumHeight(250);
    // The home panel keeps to its height, so the call list below gets the rest; the entry panel may grow.
    connect(upperStack, &QStackedWidget::currentChanged, this,
            [this] { upperStack->setMaximumHeight(upperStack->currentWidget() == Picture10 ? 250 : QWIDGETSIZE_MAX); });
}

void Form1::connectCallList() {
    datagrid2->setFixedRows(1);
    datagrid2->setFixedCols(1);
    datagrid2->setCols(callviews::ColumnCount);
    datagrid2->setRows(2);
    for (int c = 0; c < callviews::ColumnCount; ++c)
        datagrid2->setColWidth(c, callviews::defaultWidth(c));
    connect(Command12, &QPushButton::clicked, this, &Form1::showAllCalls);
    connect(Command11, &QPushButton::clicked, this, &Form1::Command11_Click);
    connect(datagrid2, &ui::FlexGrid::mouseUp, this, [this](Qt::MouseButton button, QPoint pos) {
        if (button == Qt::RightButton)
            mnuclick->popup(pos);
    });
    connect(datagrid2, &ui::FlexGrid::clicked, this, [this](int row, int) {
        bool ok = false;
        const int number = datagrid2->textMatrix(row, callviews::RefColumn).toInt(&ok);
        if (ok && row >= datagrid2->fixedRows())
            opencall(number);
    });
}

void Form1::dbclear() {
    datagrid2->unbind();
    Adodc7->clear();
    datagrid2->setRows(datagrid2->fixedRows() + 1);
    datagrid2->clear();
    gridformat();
}

const QString& Form1::currentsql() const {
    return m_callList->sql();
}

void Form1::DataFill(const QString& sql, const QString& caption) {
    m_callList->show(sql, caption);
}

int Form1::fillCallList(const QString& sql) {
    datagrid2->unbind();
    db::Recordset* rs = nullptr;
    try {
        const QString shown = callviews::mostRecentSql(sql, maxcalls);
        Adodc7->setRecordSource(shown.isEmpty() ? sql : shown);
        Adodc7->refresh();
        rs = Adodc7->recordset();
        if (!shown.isEmpty() && rs->fieldIndex(QStringLiteral("Nom")) < 0) {
            // Without the call number the rows kept are the first ones in query order.
            Adodc7->setRecordSource(sql);
            Adodc7->refresh();
            rs = Adodc7->recordset();
        }
    } catch (const db::DbError&) {
        dbclear();
        throw;
    }
    const int total = rs->recordCount();
    // The grid's rows are emptied and refilled rather than dropped and made again.
    datagrid2->setRedraw(false);
    datagrid2->clear();
    if (total == 0) {
        datagrid2->setRows(datagrid2->fixedRows() + 1);
        datagrid2->setRedraw(true);
        gridformat();
        return 0;
    }
    // Fill by field name, so every column holds its own field whatever order the query selects.
    std::vector<int> fieldOf(callviews::ColumnCount, -1);
    for (int c = 1; c < callviews::ColumnCount; ++c)
        fieldOf[c] = rs->fieldIndex(callviews::fieldOfColumn(c));
    std::vector<qint64> noms;
    noms.reserve(total);
    const int nomField = rs->fieldIndex(QStringLiteral("Nom"));
    for (int r = 0; r < total; ++r)
        noms.push_back(nomField >= 0 ? rs->value(r, nomField).toLongLong() : 0);
    const std::vector<int> rows = callviews::mostRecentRows(noms, maxcalls);
    datagrid2->showRows(*rs, rows, fieldOf);
    datagrid2->setRedraw(true);
    gridformat();
    return total;
}

void Form1::gridformat() {
    for (int c = 0; c < callviews::ColumnCount; ++c)
        datagrid2->setTextMatrix(0, c, callviews::captionOfColumn(c, Label36->text()));
    if (alternaterows == QLatin1String("True"))
        StripeGrid(*datagrid2, gridcolour);
    statuscolours(*datagrid2, statusstyle, statustable, callviews::StatusColumn);
}

QString Form1::workloadSql() const {
    return callviews::workload(options(*this), currentanalyst, includeunassigned == QLatin1String("True"));
}

void Form1::Command11_Click() {
    m_callList->show(workloadSql(), QStringLiteral("My Workload"));
}

void Form1::showAllCalls() {
    m_callList->show(callviews::allCalls(options(*this)), QStringLiteral("All Calls"));
}

void Form1::listOpenCalls() {
    m_callList->show(callviews::openCalls(options(*this)), QStringLiteral("Open Calls"));
}

void Form1::listUnassignedCalls() {
    m_callList->show(callviews::unassignedCalls(options(*this)), QStringLiteral("Unassigned Calls"));
}

void Form1::listClosedToday() {
    m_callList->show(callviews::closedOn(options(*this), desktop::clock().today()), QStringLiteral("Closed Today"));
}

void Form1::listByStatus(const QString& status) {
    m_callList->show(callviews::byStatus(options(*this), status), QStringLiteral("Status: ") + status);
}

void Form1::listByAnalyst(const QString& analyst) {
    m_callList->show(callviews::byAnalyst(options(*this), analyst), QStringLiteral("Assigned to ") + analyst);
}

void Form1::listByCategory(const QString& category) {
    m_callList->show(callviews::byCategory(options(*this), category), QStringLiteral("Category: ") + category);
}

void Form1::listByCustomer(const QString& reference) {
    bool exact = false; // where a twin's reference differs only in case, the calls of this one exactly
    try {
        exact = callrules::caseTwin(*db::pool::acquire(dbpath), reference);
    } catch (const db::DbError&) {
        // the list says what the database says
    }
    m_callList->show(callviews::byCustomer(options(*this), reference, exact), QStringLiteral("Customer: ") + reference);
}

void Form1::listByDate(const QDate& date) {
    m_callList->show(callviews::openedOn(options(*this), date),
                     QStringLiteral("Logged on ") + date.toString(db::shortDatePattern()));
}

void Form1::listByKeyword(const QString& keyword) {
    m_callList->show(callviews::byKeyword(options(*this), keyword), QStringLiteral("Keyword: ") + keyword);
}

void Form1::stats() {
    callviews::Stats s;
    try {
        s = callviews::computeStats(dbpath, desktop::clock().today(), currentanalyst, homestats == QLatin1String("me"),
                                    stats3status, piemode, sqldateformat);
    } catch (const db::DbError&) {
        return; // the dashboard keeps its last figures
    }
    barValues = {s.loggedToday, s.open, s.third, s.urgent};
    nonassigned = s.unassigned;
    pieValues = s.pie;
    const QStringList captions = {QStringLiteral("Today"), QStringLiteral("Open"), stats3status,
                                  QStringLiteral("Urgent")};
    for (int i = 0; i < 4; ++i) {
        barCounts[i]->setText(QString::number(barValues[i]));
        barCaptions[i]->setText(captions[i]);
    }
    paintBars();
    Label31->setText(QStringLiteral("Non-assigned calls: ") + QString::number(nonassigned));
    Picture7->setVisible(piemode != QLatin1String("None"));
    pie->setValues(pieValues);
    MonthView1->setSelectedDate(desktop::clock().today());
}

void Form1::paintBars() {
    const QStringList defaults = {"/Media/blue.jpg", "/Media/green.jpg", "/Media/yellow.jpg", "/Media/orange.jpg"};
    const int top = qMax(1, *std::max_element(barValues.begin(), barValues.end()));
    for (int i = 0; i < 4; ++i) {
        const QString path = ReadINIPath(QStringLiteral("Images"), QStringLiteral("Bar%1").arg(i + 1),
                                         desktop::programFolder() + defaults[i]);
        // A picture that cannot be read leaves the bar as it was.
        QPixmap bar(path);
        const int h = barValues[i] == 0 ? 2 : qMax(4, BarHeight * barValues[i] / top);
        if (!bar.isNull())
            barImages()[i]->setPixmap(bar.scaled(36, h));
    }
}

// A stored width other than the one laid out is the user's: it shows as it was, whatever the grid font. The laid
// out ones (ReadINI writes a missing one back) grow with the font.
void Form1::readColumnWidths() {
    constexpr int OptionWidth = 1500; // what the options give a column they show
    for (int c = 0; c < callviews::ColumnCount; ++c) {
        const int design = callviews::defaultWidth(c);
        bool ok = false;
        const int w =
            ReadINI(QStringLiteral("Call Grid"), QStringLiteral("Column Width %1").arg(c), QString::number(design))
                .toInt(&ok);
        if (!ok || w < 0)
            datagrid2->setColWidth(c, design);
        else if (w == design || w == 0 || w == OptionWidth)
            datagrid2->setColWidth(c, w);
        else
            datagrid2->setUserColWidth(c, w);
    }
    for (int c = 0; c < 8; ++c) {
        bool ok = false;
        const int w =
            ReadINI(QStringLiteral("Customer Grid"), QStringLiteral("Column Width %1").arg(c), QString()).toInt(&ok);
        if (ok && (w == 0 || w == ui::DataGrid::DefaultColumnTwips))
            Datagrid1->setColumnWidth(c, w);
        else if (ok && w > 0)
            Datagrid1->setUserColumnWidth(c, w);
    }
    // Only the widths changed from here on are written at close: another copy's stand.
    for (const auto& [section, key, value] : columnWidthSettings())
        m_held.remember(section, key, value);
}

std::vector<Form1::HeldSetting> Form1::columnWidthSettings() const {
    std::vector<HeldSetting> widths;
    for (int c = 0; c < callviews::ColumnCount; ++c)
        widths.push_back({QStringLiteral("Call Grid"), QStringLiteral("Column Width %1").arg(c),
                          QString::number(datagrid2->colWidth(c))});
    for (int c = 0; c < 8; ++c)
        widths.push_back({QStringLiteral("Customer Grid"), QStringLiteral("Column Width %1").arg(c),
                          QString::number(Datagrid1->columnWidth(c))});
    return widths;
}

void Form1::writeColumnWidths() {
    for (const auto& [section, key, value] : columnWidthSettings())
        m_held.store(section, key, value);
}

#include "reports/form6.h"

#include "calllists/calllist.h"
#include "mainwindow/form1.h"
#include "mainwindow/statusbar.h"
#include "platform/db/dberror.h"
#include "platform/db/values.h"
#include "platform/desktop.h"
#include "platform/widgets/colour.h"
#include "platform/widgets/dialogs.h"
#include "platform/widgets/elidedlabel.h"
#include "platform/widgets/forms.h"
#include "platform/widgets/screen.h"
#include "reports/topfive.h"

#include <QCloseEvent>
#include <QDateEdit>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <cmath>

namespace {

int px(int twips) {
    return ui::twipsToPixels(twips);
}

QRect twipRect(int left, int top, int width, int height) {
    return {px(left), px(top), px(width), px(height)};
}

template <class W> W* make(QWidget* parent, const QString& name, const QRect& r) {
    auto* w = new W(parent);
    w->setObjectName(name);
    w->setGeometry(r);
    return w;
}

} // namespace

Form6::Form6(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(QStringLiteral("Quorvane - Categories"));
    setFixedSize(px(13020), px(6075));
    QFont arial(QStringLiteral("Arial"));
    setFont(arial);

    Image6 = make<QLabel>(this, QStringLiteral("Image6"), twipRect(0, 30, 13395, 6765));
    Image6->setScaledContents(true);
    Picture2 = make<QFrame>(this, QStringLiteral("Picture2"), twipRect(180, 120, 2055, 5310));
    Picture2->setFrameShape(QFrame::StyledPanel);
    Picture1 = make<QFrame>(this, QStringLiteral("Picture1"), twipRect(2310, 120, 8115, 5340));
    Picture1->setFrameShape(QFrame::StyledPanel);
    // Kept for the query's rows, out of sight as the design has them.
    List1 = make<QListWidget>(this, QStringLiteral("List1"), twipRect(14000, 0, 1200, 900));
    List2 = make<QListWidget>(this, QStringLiteral("List2"), twipRect(14000, 1000, 1200, 900));

    QFont nameFont(QStringLiteral("Arial"), 10, QFont::Bold);
    QFont countFont(QStringLiteral("Arial"), 12, QFont::Bold);
    const QPixmap bar(desktop::programFolder() + QStringLiteral("/Media/blue.jpg"));
    for (int k = 0; k < 5; ++k) {
        const int top = 30 + 1050 * k;
        // A long category name fills the label's lines and ends in "…", whole in the tooltip.
        names[k] = new ui::ElidedLabel(QString(), Picture2);
        names[k]->setObjectName(QStringLiteral("Label%1").arg(k + 1));
        names[k]->setGeometry(twipRect(60, top, 1905, 1005));
        names[k]->setFont(nameFont);
        names[k]->setWordWrap(true);
        names[k]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        bars[k] = make<QLabel>(Picture1, QStringLiteral("Image%1").arg(k + 1), twipRect(30, top, 8025, 1005));
        bars[k]->setToolTip(QStringLiteral("Click to Retrieve Calls"));
        bars[k]->setScaledContents(true);
        bars[k]->setPixmap(bar);
        bars[k]->setCursor(Qt::PointingHandCursor);
        bars[k]->installEventFilter(this);
        counts[k] =
            make<QLabel>(Picture1, QStringLiteral("Label%1").arg(k + 9), twipRect(10, 420 + 1050 * k, 5445, 405));
        counts[k]->setTextFormat(Qt::PlainText);
        counts[k]->setFont(countFont);
        counts[k]->setAlignment(Qt::AlignCenter);
        counts[k]->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
        counts[k]->setCursor(Qt::PointingHandCursor);
        counts[k]->installEventFilter(this);
    }
    Image1 = bars[0], Image2 = bars[1], Image3 = bars[2], Image4 = bars[3], Image5 = bars[4];
    Label1 = names[0], Label2 = names[1], Label3 = names[2], Label4 = names[3], Label5 = names[4];
    Label9 = counts[0], Label10 = counts[1], Label11 = counts[2], Label12 = counts[3], Label13 = counts[4];

    Label6 = make<QLabel>(this, QStringLiteral("Label6"), twipRect(240, 5580, 10185, 585));
    Label6->setTextFormat(Qt::PlainText);
    Label6->setFont(QFont(QStringLiteral("Arial"), 10, QFont::Bold));
    Label6->setWordWrap(true);
    Command1 = make<QPushButton>(this, QStringLiteral("Command1"), twipRect(10620, 150, 2265, 435));
    Command1->setText(QStringLiteral("All Active Calls"));
    Command2 = make<QPushButton>(this, QStringLiteral("Command2"), twipRect(10590, 720, 2265, 435));
    Command2->setText(QStringLiteral("Logged Today"));
    Label7 = make<QLabel>(this, QStringLiteral("Label7"), twipRect(10590, 1320, 2265, 255));
    Label7->setText(QStringLiteral("Logged Between:"));
    d1 = make<QDateEdit>(this, QStringLiteral("d1"), twipRect(10590, 1620, 2265, 375));
    Label8 = make<QLabel>(this, QStringLiteral("Label8"), twipRect(10590, 2070, 2265, 255));
    Label8->setText(QStringLiteral("and:"));
    d2 = make<QDateEdit>(this, QStringLiteral("d2"), twipRect(10590, 2370, 2265, 375));
    for (QDateEdit* d : {d1, d2}) {
        d->setCalendarPopup(true);
        d->setDisplayFormat(db::shortDatePattern());
    }
    Command3 = make<QPushButton>(this, QStringLiteral("Command3"), twipRect(10590, 2880, 2265, 435));
    Command3->setText(QStringLiteral("Retrieve"));
    lblLabel14 = make<QLabel>(this, QStringLiteral("lblLabel14"), twipRect(10680, 3540, 2055, 1125));
    lblLabel14->setText(QStringLiteral("Click on any bar to go to those calls..."));
    lblLabel14->setWordWrap(true);

    connect(Command1, &QPushButton::clicked, this, &Form6::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form6::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Form6::Command3_Click);

    // Load
    const Form1& main = ui::form<Form1>();
    if (main.backimage && !main.backimage->pixmap().isNull())
        Image6->setPixmap(main.backimage->pixmap());
    ui::fillBackground(Picture2, ui::vbColour(main.mbcolour));
    ui::fillBackground(Picture1, ui::vbColour(main.panelcolour));
    Command1_Click();
    const QDate today = desktop::clock().today();
    d1->setDate(today);
    d2->setDate(today);
}

void Form6::Command1_Click() {
    showScope(topfive::activeCalls());
}

void Form6::Command2_Click() {
    const Form1& main = ui::form<Form1>();
    showScope(topfive::loggedToday(desktop::clock().today(), main.sqldateformat));
}

void Form6::Command3_Click() {
    const Form1& main = ui::form<Form1>();
    fromdate = d1->date();
    todate = d2->date();
    showScope(topfive::loggedBetween(fromdate, todate, main.sqldateformat));
}

void Form6::showScope(const topfive::Scope& scope) {
    Label6->setText(scope.title);
    List1->clear();
    List2->clear();
    topwhere = scope.where;
    topsql = scope.sql;
    maker();
}

void Form6::emptyChart() {
    for (int k = 0; k < 5; ++k) {
        barwidth[k] = 0.0f;
        bars[k]->setFixedWidth(0);
        names[k]->clear();
        counts[k]->clear();
        counts[k]->setFixedWidth(0);
    }
}

void Form6::maker() {
    emptyChart();
    std::vector<topfive::Row> rows;
    try {
        rows = topfive::run(ui::form<Form1>().dbpath, topsql);
    } catch (const db::DbError&) {
        rows.clear(); // nothing read: the chart stays empty and says so below
    }
    int total = 0;
    for (const topfive::Row& row : rows) {
        List1->addItem(row.category);
        List2->addItem(QString::number(row.count));
        total += row.count;
    }
    Label6->setText(Label6->text() + topfive::totalText(total));
    if (List1->count() == 0) {
        ui::MsgBox(QStringLiteral("No records found."));
        return;
    }
    const int largest = rows.front().count;
    for (int k = 0; k < 5 && k < static_cast<int>(rows.size()); ++k) {
        if (rows[k].category.isEmpty())
            break;
        barwidth[k] = topfive::barWidth(rows[k].count, largest);
        const int width = static_cast<int>(std::lround(barwidth[k] / ui::TwipsPerPixel));
        bars[k]->setFixedWidth(width);
        names[k]->setText(rows[k].category);
        counts[k]->setText(QString::number(rows[k].count));
        counts[k]->setFixedWidth(width);
    }
}

void Form6::lookup() {
    QListWidgetItem* item = List1->currentItem();
    if (!item || List1->currentRow() < 0 || item->text().isEmpty())
        return;
    Form1& main = ui::form<Form1>();
    // The status bar is left as it was.
    main.callList().show(topfive::lookupSql(topwhere, item->text(), main.datesetting, main.sortorder));
}

void Form6::barClick(int k) {
    if (k < 1 || k > 5 || barwidth[k - 1] <= 0.0f || k > List1->count())
        return;
    List1->setCurrentRow(k - 1);
    lookup();
}

bool Form6::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        for (int k = 0; k < 5; ++k)
            if (watched == bars[k] || watched == counts[k]) {
                barClick(k + 1);
                return true;
            }
    }
    return QWidget::eventFilter(watched, event);
}

void Form6::closeEvent(QCloseEvent* event) {
    if (ui::isLoaded<Form1>())
        ui::form<Form1>().showActivity(QStringLiteral("Waiting"));
    event->accept();
}

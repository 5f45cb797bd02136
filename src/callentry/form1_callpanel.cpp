#include "mainwindow/form1.h"

#include "callentry/callpanel.h"
#include "callentry/callrules.h"
#include "callentry/callstore.h"
#include "customers/customersearch.h"
#include "mainwindow/statusbar.h"
#include "platform/db/database.h"
#include "platform/db/datacontrol.h"
#include "platform/db/dberror.h"
#include "platform/db/recordset.h"
#include "platform/db/recordsetmodel.h"
#include "platform/db/values.h"
#include "platform/widgets/binding.h"
#include "platform/widgets/cuttext.h"
#include "platform/widgets/datagrid.h"
#include "platform/widgets/dialogs.h"
#include "platform/widgets/elidedlabel.h"
#include "platform/widgets/flexgrid.h"
#include "platform/widgets/forms.h"
#include "shared/shared.h"

#include <QAction>
#include <QComboBox>
#include <QCompleter>
#include <QCoreApplication>
#include <QDate>
#include <QEvent>
#include <QFontMetrics>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QShortcut>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStackedWidget>
#include <QTime>
#include <QTimer>
#include <QVBoxLayout>

using callpanel::fieldText;
using ui::named;

namespace {

QFormLayout* formLayout(QWidget* parent) {
    auto* f = new QFormLayout(parent);
    f->setContentsMargins(6, 4, 6, 4);
    f->setVerticalSpacing(3);
    f->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    return f;
}

// Shows a value in a list box without writing it back: a value the list lacks (a status such as
// "Re-opened", a member of staff who has left) is added so the box can show it.
void showInList(QComboBox* combo, const QString& value) {
    const QSignalBlocker block(combo);
    if (value.isEmpty()) {
        combo->setCurrentIndex(-1);
        return;
    }
    int i = combo->findText(value);
    if (i < 0) {
        combo->addItem(value);
        i = combo->count() - 1;
    }
    combo->setCurrentIndex(i);
}

// A timestamp box is as wide as a whole date or time in its font, whatever font it is given later.
class TimestampWidth : public QObject {
public:
    TimestampWidth(QLineEdit* box, bool date) : QObject(box), m_box(box), m_date(date) {
        box->installEventFilter(this);
        fit();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (watched == m_box && (e->type() == QEvent::FontChange || e->type() == QEvent::StyleChange))
            fit();
        return QObject::eventFilter(watched, e);
    }

private:
    void fit() {
        const QFontMetrics fm = m_box->fontMetrics();
        // What the box adds around its text, as its own size hint reckons it (17 x wide).
        const int frame = m_box->sizeHint().width() - fm.horizontalAdvance(QLatin1Char('x')) * 17;
        const QString widest = m_date ? QDate(2028, 12, 28).toString(db::shortDatePattern())
                                      : QTime(20, 28, 28).toString(db::timePattern());
        // As wide as a whole date or time and no wider: a wide panel leaves the room to its right empty.
        m_box->setFixedWidth(fm.horizontalAdvance(widest) + frame + 4);
    }

    QLineEdit* m_box;
    bool m_date;
};

// Leaving the name box empty while a customer is entered is refused, unless the user is on the way to
// "Cancel". The check waits for the click to arrive, so a press on "Cancel" is seen first.
class NameCheck : public QObject {
public:
    explicit NameCheck(Form1* f) : QObject(f), m_form(f) {}

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::FocusOut) {
            Form1* f = m_form;
            QTimer::singleShot(0, f, [f] {
                if (f->cancelpressed || !(f->newcall || f->addcustmode || f->editcustmode))
                    return;
                if (!callpanel::customerRow(*f) || !f->Text10->text().trimmed().isEmpty())
                    return;
                ui::MsgBox(QStringLiteral("A Name must be entered!"));
            });
        }
        return QObject::eventFilter(watched, e);
    }

private:
    Form1* m_form;
};

} // namespace

namespace callpanel {

db::Recordset* callRow(Form1& f) {
    return f.callStore().call();
}

db::Recordset* customerRow(Form1& f) {
    return f.callStore().customer();
}

bool newCustomer(Form1& f) {
    return f.callStore().newCustomer();
}

QString currentReference(Form1& f) {
    if (db::Recordset* c = customerRow(f))
        return fieldText(c, QStringLiteral("Username"));
    return fieldText(callRow(f), QStringLiteral("Username"));
}

void sync(Form1& f) {
    db::Recordset* rs = callRow(f);
    auto show = [](QLineEdit* box, const QString& text) {
        if (box->text() != text)
            ui::setTextFromStart(box, text);
    };
    show(f.Text3, fieldText(rs, QStringLiteral("Date Opened")));
    show(f.Text4, fieldText(rs, QStringLiteral("Time Opened")));
    show(f.Text5, fieldText(rs, QStringLiteral("Date Closed")));
    show(f.Text6, fieldText(rs, QStringLiteral("Time Closed")));
    QString audit = fieldText(rs, QStringLiteral("Audit"));
    audit.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (f.Text20->toPlainText() != audit)
        f.Text20->setPlainText(audit);
    const QString status = fieldText(rs, QStringLiteral("Status"));
    showInList(f.Combo1, status);
    showInList(f.Combo5, fieldText(rs, QStringLiteral("User")));
    showInList(f.Combo13, fieldText(rs, QStringLiteral("sp3")));
    showInList(f.Combo3, fieldText(rs, QStringLiteral("sp1")));
    const bool onCall = rs && !f.addcustmode && !f.editcustmode;
    f.cmdclosecall->setEnabled(onCall && status != callrules::Closed);
    f.cmdreopen->setEnabled(onCall && status == callrules::Closed);
    f.cmdattach->setEnabled(onCall);
    guardReference(f);
}

void snapshot(Form1& f) {
    db::Recordset* rs = callRow(f);
    f.shownStatus = fieldText(rs, QStringLiteral("Status"));
    f.shownAssignee = fieldText(rs, QStringLiteral("User"));
    f.shownCategory = fieldText(rs, QStringLiteral("sp3"));
    f.shownItem = fieldText(rs, QStringLiteral("sp1"));
}

namespace {

// The picker's list, read on demand: a combo box over every customer costs the rows it shows.
db::RecordsetListModel* pickerList(QComboBox* combo) {
    if (auto* list = qobject_cast<db::RecordsetListModel*>(combo->model()))
        return list;
    auto* list = new db::RecordsetListModel(combo);
    combo->setModel(list);
    // Every row is one line: the drop-down measures one instead of reading them all.
    if (auto* view = qobject_cast<QListView*>(combo->view()))
        view->setUniformItemSizes(true);
    // Typing completes by a search of the list in its order (A-Z without regard to case), not a pass over it.
    if (QCompleter* completer = combo->completer())
        completer->setModelSorting(QCompleter::CaseInsensitivelySortedModel);
    return list;
}

} // namespace

void fillCustomerPickers(Form1& f) {
    // Filled again only after a change to the customers.
    if (f.customerPickersFilled && f.Combo6->count() > 0)
        return;
    const QSignalBlocker b6(f.Combo6);
    const QSignalBlocker b11(f.Combo11);
    f.Combo6->clear();
    f.Combo11->clear();
    f.customerPickersFilled = true;
    try {
        auto open = [&](const QString& sql) {
            return std::make_unique<db::Recordset>(db::pool::acquire(f.dbpath), sql, db::LikeDialect::Dao,
                                                   db::Recordset::Reading::OnDemand);
        };
        auto byName = open(customers::pickerByNameSql());
        auto byRef = open(customers::pickerByReferenceSql());
        pickerList(f.Combo6)->setRecordset(std::move(byName));
        pickerList(f.Combo11)->setRecordset(std::move(byRef));
    } catch (const db::DbError&) {
        // Without the lists the user can still type the customer.
        f.customerPickersFilled = false;
    }
}

void setPickers(Form1& f, const QString& name, const QString& reference) {
    const QSignalBlocker b6(f.Combo6);
    const QSignalBlocker b11(f.Combo11);
    // No entry stays current: typing an entry's text and Enter always chooses it (Qt passes over the current one).
    f.Combo6->setCurrentIndex(-1);
    f.Combo11->setCurrentIndex(-1);
    ui::setTextFromStart(f.Combo6->lineEdit(), name);
    ui::setTextFromStart(f.Combo11->lineEdit(), reference);
}

bool commitTimestamp(Form1& f, QLineEdit* box) {
    db::Recordset* rs = callRow(f);
    if (!rs)
        return true;
    const bool isDate = box == f.Text3 || box == f.Text5;
    const bool opening = box == f.Text3 || box == f.Text4;
    const QString field = box == f.Text3   ? QStringLiteral("Date Opened")
                          : box == f.Text4 ? QStringLiteral("Time Opened")
                          : box == f.Text5 ? QStringLiteral("Date Closed")
                                           : QStringLiteral("Time Closed");
    const QString stored = fieldText(rs, field);
    const QString text = box->text().trimmed();
    if (text == stored)
        return true;
    QVariant value;
    bool ok = false;
    if (text.isEmpty()) {
        ok = !opening; // a call always has its opening moment; the closing one may go
    } else {
        value = db::parseDateValue(text);
        ok = value.typeId() == (isDate ? QMetaType::QDate : QMetaType::QTime);
    }
    if (!ok) {
        ui::MsgBox(isDate ? QStringLiteral("That is not a valid date.") : QStringLiteral("That is not a valid time."));
        ui::setTextFromStart(box, stored);
        return false;
    }
    try {
        rs->setField(field, value);
        if (fieldText(rs, QStringLiteral("Status")) == callrules::Closed)
            callrules::refreshOpenFor(*rs);
    } catch (const db::DbError& e) {
        ui::MsgBox(e.message());
        ui::setTextFromStart(box, stored);
        return false;
    }
    f.opencallgrid();
    return true;
}

bool commitTimestamps(Form1& f) {
    for (QLineEdit* box : {f.Text3, f.Text4, f.Text5, f.Text6})
        if (!commitTimestamp(f, box))
            return false;
    return true;
}

namespace {
// The call boxes shown, "&Save" and "Cancel" offered, the timestamps locked.
void callLayout(Form1& f) {
    f.hidefields(true);
    f.Command20->hide();
    f.Command10->show();
    f.Command10->setEnabled(true);
    f.Command9->setEnabled(true);
    f.Frame2->setChecked(false);
}
} // namespace

void showPanel(Form1& f) {
    f.upperStack->setCurrentWidget(f.Picture8);
    callLayout(f);
    // The customer list gives the boxes the width they need (see the main window's splitter).
    if (auto* across = f.findChild<QSplitter*>(QStringLiteral("mainSplitter"))) {
        QEvent relayout(QEvent::LayoutRequest);
        QCoreApplication::sendEvent(across, &relayout);
    }
    // The panel gets at least the height its boxes need, so that none of them scrolls, and half the height where
    // there is more; the call list keeps the rest and never less than a few rows.
    auto* split = qobject_cast<QSplitter*>(f.upperStack->parentWidget());
    const auto* content = f.Picture8->findChild<QWidget*>(QStringLiteral("callContent"));
    if (!split || !content || split->height() <= 0)
        return;
    const int total = split->height() - split->handleWidth();
    const int want = qMax(total / 2, content->minimumSizeHint().height() + f.Shape1->sizeHint().height() +
                                         f.Picture5->sizeHint().height() + 4);
    if (split->sizes().value(0) >= want)
        return;
    const int callList = qMax(total - want, qMin(160, total / 3));
    split->setSizes({total - callList, callList});
}

void endEdit(Form1& f) {
    f.menuson();
    f.Datagrid1->setEnabled(true);
    f.datagrid2->setEnabled(true);
    f.Command8->setEnabled(true);
    callLayout(f);
    f.upperStack->setCurrentWidget(f.Picture10);
    f.StatusBar1->setPanel(5, QStringLiteral("Waiting"));
}

void guardReference(Form1& f) {
    // A stored customer's reference is the key their calls and items carry: it changes only through
    // "Save Edit", which carries it over. The customer commands hide the call boxes while they run.
    const QWidget* callBox = f.Picture8->findChild<QWidget*>(QStringLiteral("callBox"));
    const bool customerMode = callBox && !callBox->isVisibleTo(f.Picture8);
    f.Text11->setReadOnly(!customerMode && !newCustomer(f));
}

bool locateCustomer(Form1& f, const QString& reference) {
    db::Recordset* rs = f.Adodc1->recordset();
    if (!rs || rs->recordCount() == 0 || reference.isEmpty())
        return false;
    try {
        const int row = callrules::findCustomer(*rs, reference);
        if (row < 0)
            return false;
        rs->moveTo(row);
        return true;
    } catch (const db::DbError&) {
        return false;
    }
}

} // namespace callpanel

void Form1::buildCallPanel() {
    auto* outer = new QVBoxLayout(Picture8);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    // The upper area is short on small screens: the boxes scroll, the buttons stay in view.
    auto* scroll = named(new QScrollArea(Picture8), "callScroll");
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto* content = named(new QWidget(scroll), "callContent");
    scroll->setWidget(content);
    outer->addWidget(scroll, 1);
    auto* grid = new QGridLayout(content);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->setSpacing(4);

    // Customer boxes, bound to the customer row.
    auto* customer = named(new QGroupBox(QStringLiteral("Customer"), content), "customerBox");
    auto* cf = formLayout(customer);
    Combo6 = named(new QComboBox(customer), "Combo6");
    Combo11 = named(new QComboBox(customer), "Combo11");
    for (QComboBox* c : {Combo6, Combo11}) {
        c->setEditable(true);
        c->setInsertPolicy(QComboBox::NoInsert);
        c->setMinimumContentsLength(7);
        c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    }
    // An entry chosen from the list (by keys or the completer too) shows its start, as the program's fills do.
    ui::showChoiceFromStart(Combo6);
    ui::showChoiceFromStart(Combo11);
    Combo6->setToolTip(QStringLiteral("Pick a customer by name, or type a new one"));
    Combo11->setToolTip(QStringLiteral("Pick a customer by reference"));
    Text10 = named(new QLineEdit(customer), "Text10");
    Text11 = named(new QLineEdit(customer), "Text11");
    Text12 = named(new QLineEdit(customer), "Text12");
    Text13 = named(new QLineEdit(customer), "Text13");
    Text14 = named(new QLineEdit(customer), "Text14");
    cf->addRow(QStringLiteral("Customer:"), Combo6);
    cf->addRow(QStringLiteral("Find Ref:"), Combo11);
    cf->addRow(QStringLiteral("Name:"), Text10);
    cf->addRow(QStringLiteral("Reference:"), Text11);
    cf->addRow(QStringLiteral("Phone:"), Text12);
    cf->addRow(QStringLiteral("Email:"), Text13);
    cf->addRow(QStringLiteral("Address:"), Text14);

    // Call details, bound to the call row.
    auto* call = named(new QGroupBox(QStringLiteral("Call"), content), "callBox");
    auto* kf = formLayout(call);
    Text18 = named(new QLineEdit(call), "Text18");
    Text18->setReadOnly(true);
    Combo1 = named(new QComboBox(call), "Combo1");
    Combo5 = named(new QComboBox(call), "Combo5");
    Combo13 = named(new QComboBox(call), "Combo13");
    Combo3 = named(new QComboBox(call), "Combo3");
    for (QComboBox* c : {Combo1, Combo5, Combo13, Combo3}) {
        c->setMinimumContentsLength(7);
        c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    }
    // The spare field's name is the user's: cut to the room of the other captions, whole in its tooltip.
    Label36 = named(new ui::ElidedLabel(QStringLiteral("Notes:"), call), "Label36");
    Label36->setMaximumWidth(Label36->fontMetrics().horizontalAdvance(QStringLiteral("Category:")) + 24);
    Text15 = named(new QLineEdit(call), "Text15");
    Text19 = named(new QLineEdit(call), "Text19");
    kf->addRow(QStringLiteral("Call Ref:"), Text18);
    kf->addRow(QStringLiteral("Status:"), Combo1);
    kf->addRow(QStringLiteral("Assigned:"), Combo5);
    kf->addRow(QStringLiteral("Category:"), Combo13);
    kf->addRow(QStringLiteral("Item:"), Combo3);
    kf->addRow(Label36, Text15);
    kf->addRow(QStringLiteral("Resource:"), Text19);

    // Timestamps: shown always, editable once "Edit:" is ticked.
    Frame2 = named(new QGroupBox(QStringLiteral("Edit:"), content), "Frame2");
    Frame2->setCheckable(true);
    Frame2->setChecked(false);
    Frame2->setToolTip(QStringLiteral("Tick to correct the opening and closing times"));
    // Each date and time pair under its caption: a whole date fits even where the column is narrow.
    auto* ff = new QGridLayout(Frame2);
    ff->setContentsMargins(6, 2, 6, 4);
    ff->setHorizontalSpacing(4);
    ff->setVerticalSpacing(1);
    Text3 = named(new QLineEdit(Frame2), "Text3");
    Text4 = named(new QLineEdit(Frame2), "Text4");
    Text5 = named(new QLineEdit(Frame2), "Text5");
    Text6 = named(new QLineEdit(Frame2), "Text6");
    for (QLineEdit* e : {Text3, Text4, Text5, Text6})
        new TimestampWidth(e, e == Text3 || e == Text5);
    ff->addWidget(new QLabel(QStringLiteral("Opened:"), Frame2), 0, 0, 1, 2);
    ff->addWidget(Text3, 1, 0);
    ff->addWidget(Text4, 1, 1);
    ff->addWidget(new QLabel(QStringLiteral("Closed:"), Frame2), 2, 0, 1, 2);
    ff->addWidget(Text5, 3, 0);
    ff->addWidget(Text6, 3, 1);
    ff->setColumnStretch(2, 1);
    {
        // Until "Edit:" is ticked the times are closed to typing, but they are the call's own and are read here:
        // drawn in the text colours of the boxes and captions as when open, not the faint disabled grey.
        QPalette p = Frame2->palette();
        for (const QPalette::ColorRole role : {QPalette::Text, QPalette::WindowText})
            p.setColor(QPalette::Disabled, role, p.color(QPalette::Active, role));
        Frame2->setPalette(p);
    }

    // Call information and audit trail, side by side under the boxes.
    Picture3 = named(new QFrame(content), "Picture3");
    auto* av = new QHBoxLayout(Picture3);
    av->setContentsMargins(0, 0, 0, 0);
    av->setSpacing(4);
    cg1 = named(new ui::FlexGrid(Picture3), "cg1");
    cg1->setFixedRows(0);
    cg1->setFixedCols(0);
    cg1->setCols(3);
    cg1->setRows(6);
    cg1->setColWidth(0, 0);
    cg1->setColWidth(1, 1500);
    cg1->setColWidth(2, 3000);
    // The values take the width the captions leave (never more, so nothing lies beyond the right edge); the rows
    // the panel has no room for are scrolled to; a click leaves the cells where they are.
    cg1->horizontalHeader()->setSectionResizeMode(2 - cg1->fixedCols(), QHeaderView::Stretch);
    cg1->verticalHeader()->setDefaultSectionSize(cg1->fontMetrics().height() + 6);
    cg1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    cg1->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    cg1->setAutoScroll(false);
    cg1->setSelectionMode(QAbstractItemView::NoSelection);
    cg1->setFocusPolicy(Qt::NoFocus);
    {
        // An information grid: its current cell is not marked.
        QPalette p = cg1->palette();
        p.setColor(QPalette::Highlight, p.color(QPalette::Base));
        p.setColor(QPalette::HighlightedText, p.color(QPalette::Text));
        cg1->setPalette(p);
    }
    // Two rows at least, all six where there is room.
    const int cgRow = cg1->verticalHeader()->defaultSectionSize();
    cg1->setMinimumHeight(2 * cgRow + 2 * cg1->frameWidth());
    cg1->setMaximumHeight(6 * cgRow + 2 * cg1->frameWidth());
    cg1->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    cg1->setMinimumWidth(240);
    cg1->setToolTip(QStringLiteral("Call information"));
    Text20 = named(new QPlainTextEdit(Picture3), "Text20");
    Text20->setReadOnly(true);
    Text20->setPlaceholderText(QStringLiteral("Audit trail"));
    Text20->setContextMenuPolicy(Qt::CustomContextMenu);
    Text20->setMinimumHeight(cg1->minimumHeight());
    Text20->setMaximumHeight(cg1->maximumHeight());
    av->addWidget(cg1, 2);
    av->addWidget(Text20, 3);

    auto* description = named(new QGroupBox(QStringLiteral("Description"), content), "descriptionBox");
    auto* dv = new QVBoxLayout(description);
    dv->setContentsMargins(4, 2, 4, 4);
    Text16 = named(new QPlainTextEdit(description), "Text16");
    dv->addWidget(Text16);
    auto* resolution = named(new QGroupBox(QStringLiteral("Resolution"), content), "resolutionBox");
    auto* rv = new QVBoxLayout(resolution);
    rv->setContentsMargins(4, 2, 4, 4);
    Text17 = named(new QPlainTextEdit(resolution), "Text17");
    rv->addWidget(Text17);
    for (QPlainTextEdit* t : {Text16, Text17})
        t->setMinimumHeight(50);

    // Commands on the call, in two rows under the customer and call boxes.
    auto* commands = named(new QFrame(content), "callCommands");
    auto* ch = new QGridLayout(commands);
    ch->setContentsMargins(0, 0, 0, 0);
    ch->setSpacing(3);
    cmdclosecall = named(new QPushButton(QStringLiteral("Close this Call"), commands), "cmdclosecall");
    cmdreopen = named(new QPushButton(QStringLiteral("Re-open"), commands), "cmdreopen");
    cmdattach = named(new QPushButton(QStringLiteral("Attach File..."), commands), "cmdattach");
    command16 = named(new QPushButton(QStringLiteral("View Attach."), commands), "command16");
    Command22 = named(new QPushButton(QStringLiteral("Notes"), commands), "Command22");
    Command23 = named(new QPushButton(QStringLiteral("Inventory"), commands), "Command23");
    commands->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    int k = 0;
    for (QPushButton* b : {cmdclosecall, cmdreopen, cmdattach, Command22, command16, Command23}) {
        ch->addWidget(b, k / 3, k % 3);
        ++k;
    }

    auto* texts = new QVBoxLayout;
    texts->setSpacing(4);
    texts->addWidget(description, 1);
    texts->addWidget(resolution, 1);
    texts->addWidget(Frame2);

    grid->addWidget(customer, 0, 0);
    grid->addWidget(call, 0, 1);
    grid->addWidget(commands, 1, 0, 1, 2);
    grid->addLayout(texts, 0, 2, 2, 1);
    grid->addWidget(Picture3, 2, 0, 1, 3);
    // The description and resolution take most of any width to spare.
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 3);
    grid->setColumnMinimumWidth(2, 180);
    grid->setRowStretch(2, 1);

    Shape1 = named(new QFrame(Picture8), "Shape1");
    Shape1->setFrameShape(QFrame::HLine);
    outer->addWidget(Shape1);
    Picture5 = named(new QFrame(Picture8), "Picture5");
    Picture5->setAutoFillBackground(true);
    auto* buttons = new QHBoxLayout(Picture5);
    buttons->setContentsMargins(6, 3, 6, 3);
    Command8 = named(new QPushButton(QStringLiteral("&New Call"), Picture5), "Command8");
    Command10 = named(new QPushButton(QStringLiteral("&Save"), Picture5), "Command10");
    Command20 = named(new QPushButton(QStringLiteral("Save Edit"), Picture5), "Command20");
    Command20->hide();
    Command9 = named(new QPushButton(QStringLiteral("Cancel"), Picture5), "Command9");
    Command10->setToolTip(QStringLiteral("Save (Ctrl+S)"));
    buttons->addStretch();
    for (QPushButton* b : {Command8, Command10, Command20, Command9})
        buttons->addWidget(b);
    outer->addWidget(Picture5);
}

void Form1::connectCallPanel() {
    // The call row.
    ui::bindField(Text18, Adodc4, QStringLiteral("Nom"));
    ui::bindField(Text16, Adodc4, QStringLiteral("Query"));
    ui::bindField(Text17, Adodc4, QStringLiteral("Resolution"));
    ui::bindField(Text15, Adodc4, QStringLiteral("Spare"));
    ui::bindField(Text19, Adodc4, QStringLiteral("Time Spent"));
    ui::bindField(Combo1, Adodc4, QStringLiteral("Status"));
    ui::bindField(Combo5, Adodc4, QStringLiteral("User"));
    ui::bindField(Combo13, Adodc4, QStringLiteral("sp3"));
    ui::bindField(Combo3, Adodc4, QStringLiteral("sp1"));
    // The customer row.
    ui::bindField(Text10, Adodc1, QStringLiteral("Name"));
    ui::bindField(Text11, Adodc1, QStringLiteral("Username"));
    ui::bindField(Text12, Adodc1, QStringLiteral("Extension"));
    ui::bindField(Text13, Adodc1, QStringLiteral("Building"));
    ui::bindField(Text14, Adodc1, QStringLiteral("Location"));

    // What the bindings cannot show follows every move of the call row.
    connect(Adodc4, &db::DataControl::recordsetChanged, this, [this](db::Recordset* rs) {
        if (rs) {
            auto again = [this] { callpanel::sync(*this); };
            connect(rs, &db::Recordset::currentChanged, this, again);
            connect(rs, &db::Recordset::reset, this, again);
            connect(rs, &db::Recordset::rowChanged, this, again);
        }
        callpanel::sync(*this);
    });

    connect(Command8, &QPushButton::clicked, this, [this] {
        menusoff();
        lognewcall();
    });
    connect(Command9, &QPushButton::pressed, this, [this] { cancelpressed = true; });
    connect(Command9, &QPushButton::clicked, this, &Form1::cancelcall);
    connect(Command10, &QPushButton::clicked, this, &Form1::callsaver);
    connect(Command20, &QPushButton::clicked, this, &Form1::saveEditedCustomer);
    auto* save = new QShortcut(QKeySequence(QStringLiteral("Ctrl+S")), this);
    save->setObjectName(QStringLiteral("callSaveShortcut"));
    connect(save, &QShortcut::activated, this, [this] {
        if (upperStack->currentWidget() != Picture8)
            return;
        if (Command20->isVisibleTo(Picture8) && Command20->isEnabled())
            saveEditedCustomer();
        else if (Command10->isEnabled())
            callsaver();
    });

    connect(Combo1, &QComboBox::activated, this, [this](int i) { statuschange(Combo1->itemText(i)); });
    // Assignee, category and item: a choice that differs from what the trail last recorded adds a line.
    auto auditChoice = [this](QComboBox* combo, QString Form1::*shown, const QString& what) {
        connect(combo, &QComboBox::activated, this, [this, combo, shown, what](int i) {
            const QString chosen = combo->itemText(i);
            if (chosen == this->*shown || !callpanel::callRow(*this))
                return;
            this->*shown = chosen;
            auditer(what + chosen + QStringLiteral(" by ") + currentanalyst);
        });
    };
    auditChoice(Combo5, &Form1::shownAssignee, QStringLiteral("Call Assigned to "));
    auditChoice(Combo13, &Form1::shownCategory, QStringLiteral("Category changed to "));
    auditChoice(Combo3, &Form1::shownItem, QStringLiteral("Item changed to "));

    // Customer pickers: a choice loads that customer; typing while a new customer is entered names it.
    connect(Combo6, &QComboBox::activated, this, [this](int i) { pickCustomer(Combo6->itemData(i).toString()); });
    connect(Combo11, &QComboBox::activated, this, [this](int i) { pickCustomer(Combo11->itemData(i).toString()); });
    // Typing a name that is not the customer on a new call starts a new customer under that name.
    connect(Combo6->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) {
        db::Recordset* customers = Adodc1->recordset();
        if (!customers || !newcall || addcustmode || editcustmode)
            return;
        try {
            if (!callpanel::newCustomer(*this)) {
                customers->addNew();
                const QSignalBlocker block(Combo11);
                Combo11->setEditText(QString());
            }
            customers->setField(QStringLiteral("Name"), text);
            if (Text10->text() != text)
                ui::setTextFromStart(Text10, text);
        } catch (const db::DbError& e) {
            ui::MsgBox(e.message());
        }
    });
    connect(Combo11->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) {
        db::Recordset* customer = callpanel::customerRow(*this);
        if (!customer || !callpanel::newCustomer(*this))
            return;
        try {
            customer->setField(QStringLiteral("Username"), text);
            if (Text11->text() != text)
                ui::setTextFromStart(Text11, text);
        } catch (const db::DbError& e) {
            ui::MsgBox(e.message());
        }
    });
    auto guard = [this] { callpanel::guardReference(*this); };
    auto pickersStale = [this] { customerPickersFilled = false; };
    connect(Adodc1, &db::DataControl::recordsetChanged, this, [this, guard, pickersStale](db::Recordset* rs) {
        pickersStale();
        if (rs) {
            // An added row that is not stored yet changes nothing; storing it does (rowChanged).
            connect(rs, &db::Recordset::rowChanged, this, pickersStale);
            connect(rs, &db::Recordset::rowRemoved, this, pickersStale);
            connect(rs, &db::Recordset::reset, this, pickersStale);
            connect(rs, &db::Recordset::currentChanged, this, guard);
            connect(rs, &db::Recordset::rowInserted, this, guard);
            connect(rs, &db::Recordset::reset, this, guard);
        }
        guard();
    });
    Text10->installEventFilter(new NameCheck(this));
    // Typed into, the pickers name a new customer: they take no more than the fields they fill.
    connect(Adodc1, &db::DataControl::recordsetChanged, this, [this](db::Recordset* rs) {
        if (!rs)
            return;
        ui::limitLength(Combo6->lineEdit(), rs->fieldSize(rs->fieldIndex(QStringLiteral("Name"))));
        ui::limitLength(Combo11->lineEdit(), rs->fieldSize(rs->fieldIndex(QStringLiteral("Username"))));
    });

    for (QLineEdit* box : {Text3, Text4, Text5, Text6})
        connect(box, &QLineEdit::editingFinished, this, [this, box] { callpanel::commitTimestamp(*this, box); });

    connect(cmdclosecall, &QPushButton::clicked, this, &Form1::closecall);
    connect(cmdreopen, &QPushButton::clicked, this, &Form1::reopencall);
    connect(cmdattach, &QPushButton::clicked, this, &Form1::attachfile);
    connect(Text20, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { mnucallpopup->popup(Text20->mapToGlobal(pos)); });
    connect(cg1, &ui::FlexGrid::mouseUp, this, [this](Qt::MouseButton button, QPoint pos) {
        if (button == Qt::RightButton)
            mnucallpopup->popup(pos);
    });
    connect(mnusearchcall, &QAction::triggered, this, &Form1::mnusearchcall_Click);
    // Command22, Command23, command16 and mnuaudit are connected by the notes, inventory, attachments and audit
    // windows' own code.

    callpanel::sync(*this);
}

void Form1::menusoff() {
    for (QMenu* m : {mnufile, mnucust, mnserch, mnurep, mnuOptions, mnuhelp})
        m->setEnabled(false);
}

void Form1::menuson() {
    for (QMenu* m : {mnufile, mnucust, mnserch, mnurep, mnuOptions, mnuhelp})
        m->setEnabled(true);
}

void Form1::hidefields(bool show) {
    for (const char* name : {"callBox", "descriptionBox", "resolutionBox", "Frame2", "Picture3", "callCommands"})
        if (auto* w = Picture8->findChild<QWidget*>(QLatin1String(name)))
            w->setVisible(show);
    callpanel::guardReference(*this);
}

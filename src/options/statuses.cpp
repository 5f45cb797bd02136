#include "options/statuses.h"

#include "mainwindow/form1.h"
#include "options/statusrules.h"
#include "platform/db/dberror.h"
#include "platform/db/values.h"
#include "platform/widgets/colour.h"
#include "platform/widgets/dialogs.h"
#include "platform/widgets/forms.h"
#include "platform/widgets/menus.h"

#include <QAction>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

using ui::MsgBox;

namespace {

using ui::named;

QStringList texts(const QListWidget* list) {
    QStringList all;
    for (int i = 0; i < list->count(); ++i)
        all << list->item(i)->text();
    return all;
}

void refuseLength(const char* what) {
    MsgBox(
        QStringLiteral("A %1 can be at most %2 characters long.").arg(QLatin1String(what)).arg(statusrules::MaxLength));
}

// The typed status or category; "" when there is none or it is too long for the list (the user is told).
QString newEntry(const QLineEdit* box, const char* what) {
    const QString text = box->text();
    if (db::textLength(text) <= statusrules::MaxLength)
        return text;
    refuseLength(what);
    return {};
}

// A blank or repeated entry is refused with a message; the list stays as it was.
bool refusedEntry(const QListWidget* list, const QString& text, const char* what) {
    const QString refusal = statusrules::addRefusal(texts(list), text, QLatin1String(what));
    if (refusal.isEmpty())
        return false;
    MsgBox(refusal);
    return true;
}

// Takes the item at index out and puts it back one place up or down, selected there. The first item does not
// move up, the last not down; index -1 (no selection) moves nothing.
void moveitem(QListWidget* list, int index, bool up) {
    if (index < 0)
        return;
    const int target = up ? index - 1 : index + 1;
    if (target < 0 || target >= list->count())
        return;
    QListWidgetItem* item = list->takeItem(index);
    list->insertItem(target, item);
    list->setCurrentRow(target);
}

// A name longer than its list is wide is cut with "…" rather than widening the list with a scroll bar.
class CutToWidth : public QStyledItemDelegate {
public:
    explicit CutToWidth(QListWidget* list) : QStyledItemDelegate(list), m_list(list) {
        list->setItemDelegate(this);
        list->setResizeMode(QListView::Adjust);
        list->setTextElideMode(Qt::ElideRight);
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setWidth(qMin(size.width(), m_list->viewport()->width()));
        return size;
    }

private:
    QListWidget* m_list;
};

// An entry of a list: its whole text is its tooltip, for when the list shows it cut.
void addEntry(QListWidget* list, const QString& text) {
    auto* item = new QListWidgetItem(text, list);
    item->setToolTip(text);
}

} // namespace

Statuses::Statuses(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Statuses"));
    setWindowTitle(QStringLiteral("Edit Status and Category Values"));

    List1 = named(new QListWidget(this), "List1");
    List3 = named(new QListWidget(this), "List3");
    List2 = named(new QListWidget(this), "List2");
    Text1 = named(new QLineEdit(this), "Text1");
    Text2 = named(new QLineEdit(this), "Text2");
    Command3 = named(new QPushButton(QStringLiteral("Add to List"), this), "Command3");
    Command10 = named(new QPushButton(QStringLiteral("Add to List"), this), "Command10");
    Command1 = named(new QPushButton(QStringLiteral("Delete Selected"), this), "Command1");
    Command8 = named(new QPushButton(QStringLiteral("Delete Selected"), this), "Command8");
    Command4 = named(new QPushButton(QStringLiteral("Move Up"), this), "Command4");
    Command5 = named(new QPushButton(QStringLiteral("Move Down"), this), "Command5");
    Command7 = named(new QPushButton(QStringLiteral("Move Up"), this), "Command7");
    Command6 = named(new QPushButton(QStringLiteral("Move Down"), this), "Command6");
    Command9 = named(new QPushButton(QStringLiteral("Okay"), this), "Command9");
    popup1 = named(new QMenu(this), "popup1");
    mnusc = ui::menuItem(popup1, "mnusc", QStringLiteral("Select Colour"));
    mnucc = ui::menuItem(popup1, "mnucc", QStringLiteral("Clear Colour"));
    Image1 = named(new QLabel(this), "Image1");
    Image1->setScaledContents(true);
    Image1->setFixedSize(120, 90);

    List1->setToolTip(QStringLiteral("Right-click a status to choose or clear its colour."));
    for (QListWidget* list : {List1, List2})
        new CutToWidth(list);
    List3->setFocusPolicy(Qt::NoFocus);
    List3->setMaximumWidth(110);
    List1->setContextMenuPolicy(Qt::CustomContextMenu);
    for (QLineEdit* box : {Text1, Text2})
        box->setPlaceholderText(QStringLiteral("New entry"));

    // Statuses on the left with their colours beside them, categories on the right.
    auto* statusBox = new QGridLayout;
    statusBox->addWidget(new QLabel(QStringLiteral("<b>Status</b>"), this), 0, 0);
    statusBox->addWidget(new QLabel(QStringLiteral("<b>Colour</b>"), this), 0, 1);
    statusBox->addWidget(List1, 1, 0);
    statusBox->addWidget(List3, 1, 1);
    auto* statusAdd = new QHBoxLayout;
    statusAdd->addWidget(Text1, 1);
    statusAdd->addWidget(Command3);
    statusBox->addLayout(statusAdd, 2, 0, 1, 2);
    auto* statusButtons = new QHBoxLayout;
    statusButtons->addWidget(Command1);
    statusButtons->addWidget(Command4);
    statusButtons->addWidget(Command5);
    statusBox->addLayout(statusButtons, 3, 0, 1, 2);

    auto* categoryBox = new QGridLayout;
    categoryBox->addWidget(new QLabel(QStringLiteral("<b>Category</b>"), this), 0, 0);
    categoryBox->addWidget(List2, 1, 0);
    auto* categoryAdd = new QHBoxLayout;
    categoryAdd->addWidget(Text2, 1);
    categoryAdd->addWidget(Command10);
    categoryBox->addLayout(categoryAdd, 2, 0);
    auto* categoryButtons = new QHBoxLayout;
    categoryButtons->addWidget(Command8);
    categoryButtons->addWidget(Command7);
    categoryButtons->addWidget(Command6);
    categoryBox->addLayout(categoryButtons, 3, 0);

    auto* lists = new QHBoxLayout;
    lists->addLayout(statusBox, 3);
    lists->addSpacing(12);
    lists->addLayout(categoryBox, 2);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Image1);
    bottom->addWidget(new QLabel(QStringLiteral("Changes are stored when you press Okay and take effect when "
                                                "Quorvane is next started."),
                                 this),
                      1);
    bottom->addWidget(Command9, 0, Qt::AlignBottom);
    auto* outer = new QVBoxLayout(this);
    outer->addLayout(lists, 1);
    outer->addLayout(bottom);
    resize(680, 480);

    // The colour list always stands on the status list's row, whichever way the row was chosen.
    connect(List1, &QListWidget::currentRowChanged, List3, [this](int row) { List3->setCurrentRow(row); });
    connect(List3, &QListWidget::currentRowChanged, List1, [this](int row) { List1->setCurrentRow(row); });
    connect(List1, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        if (QListWidgetItem* item = List1->itemAt(pos))
            List1->setCurrentItem(item);
        popup1->popup(List1->viewport()->mapToGlobal(pos));
    });
    connect(Command3, &QPushButton::clicked, this, &Statuses::Command3_Click);
    connect(Command10, &QPushButton::clicked, this, &Statuses::Command10_Click);
    connect(Command1, &QPushButton::clicked, this, &Statuses::Command1_Click);
    connect(Command8, &QPushButton::clicked, this, &Statuses::Command8_Click);
    connect(Command4, &QPushButton::clicked, this, [this] { moveStatus(true); });
    connect(Command5, &QPushButton::clicked, this, [this] { moveStatus(false); });
    connect(Command7, &QPushButton::clicked, this, [this] { moveCategory(true); });
    connect(Command6, &QPushButton::clicked, this, [this] { moveCategory(false); });
    connect(mnusc, &QAction::triggered, this, &Statuses::mnusc_Click);
    connect(mnucc, &QAction::triggered, this, &Statuses::mnucc_Click);
    connect(Command9, &QPushButton::clicked, this, &Statuses::Command9_Click);
    limitLength(Text1, "status");
    limitLength(Text2, "category");

    Form_Load();
}

// The lists are read once, when the window loads, so that switching to another window and back keeps the
// changes not yet stored.
void Statuses::Form_Load() {
    Form1& main = ui::form<Form1>();
    while (!readLists())
        if (MsgBox(QStringLiteral("The statuses and categories could not be read:\n") + m_readError +
                       QStringLiteral("\n\nTry again?"),
                   ui::Buttons::YesNo) != ui::Answer::Yes)
            break;
    if (main.backimage)
        Image1->setPixmap(main.backimage->pixmap());
}

bool Statuses::readLists() {
    statusrules::Lists stored;
    try {
        stored = statusrules::read(ui::form<Form1>().dbpath);
    } catch (const db::DbError& e) {
        m_readError = e.message();
        return false;
    }
    {
        const QSignalBlocker quiet1(List1), quiet3(List3);
        List1->clear();
        List3->clear();
        List2->clear();
        for (int i = 0; i < stored.statuses.size(); ++i) {
            addEntry(List1, stored.statuses[i]);
            List3->addItem(QString());
            setColour(i, stored.colours[i]);
        }
        for (const QString& category : stored.categories)
            addEntry(List2, category);
    }
    m_asRead = stored;
    m_read = true;
    return true;
}

void Statuses::limitLength(QLineEdit* box, const char* what) {
    connect(box, &QLineEdit::textEdited, this, [box, what](const QString& text) {
        if (db::textLength(text) <= statusrules::MaxLength) {
            box->setProperty("accepted", text);
            return;
        }
        box->setText(box->property("accepted").toString());
        refuseLength(what);
    });
}

void Statuses::setColour(int row, const QString& colour) {
    QListWidgetItem* item = List3->item(row);
    if (!item)
        return;
    item->setText(colour);
    // The entry shows its colour too; "---" (none) shows plain.
    const QColor c = colour == statusrules::NoColour ? QColor() : ui::vbColour(colour);
    item->setBackground(c.isValid() ? QBrush(c) : QBrush());
    item->setForeground(c.isValid() && c.lightness() < 128 ? QBrush(Qt::white) : QBrush());
}

statusrules::Lists Statuses::lists() const {
    return {texts(List1), texts(List3), texts(List2)};
}

void Statuses::Command3_Click() {
    const QString text = newEntry(Text1, "status");
    if (text.isEmpty() || refusedEntry(List1, text, "status"))
        return;
    addEntry(List1, text);
    List3->addItem(QString());
    setColour(List3->count() - 1, statusrules::NoColour);
}

void Statuses::Command10_Click() {
    const QString text = newEntry(Text2, "category");
    if (!text.isEmpty() && !refusedEntry(List2, text, "category"))
        addEntry(List2, text);
}

void Statuses::Command1_Click() {
    const int row = List1->currentRow();
    if (row < 0)
        return;
    const QString refusal = statusrules::statusDeleteRefusal(texts(List1), row);
    if (!refusal.isEmpty()) {
        MsgBox(refusal);
        return;
    }
    {
        const QSignalBlocker quiet1(List1), quiet3(List3);
        delete List1->takeItem(row);
        delete List3->takeItem(row);
    }
    List3->setCurrentRow(List1->currentRow());
}

void Statuses::Command8_Click() {
    const int row = List2->currentRow();
    if (row < 0)
        return;
    const QString refusal = statusrules::categoryDeleteRefusal(texts(List2), row);
    if (!refusal.isEmpty()) {
        MsgBox(refusal);
        return;
    }
    delete List2->takeItem(row);
}

void Statuses::moveStatus(bool up) {
    const int row = List1->currentRow();
    {
        const QSignalBlocker quiet1(List1), quiet3(List3);
        moveitem(List1, row, up);
        moveitem(List3, row, up);
    }
    List3->setCurrentRow(List1->currentRow());
}

void Statuses::moveCategory(bool up) {
    moveitem(List2, List2->currentRow(), up);
}

void Statuses::mnusc_Click() {
    const int row = List1->currentRow();
    if (row < 0)
        return;
    const QColor initial = ui::vbColour(List3->item(row)->text());
    const std::optional<QColor> chosen = ui::dialogs().chooseColour(initial.isValid() ? initial : QColor(Qt::white));
    if (!chosen)
        return; // Cancel keeps the colour
    const qint64 value = ui::vbColourValue(*chosen);
    if (value == 0)
        return; // black reads as no choice, as it always has
    setColour(row, QString::number(value));
}

void Statuses::mnucc_Click() {
    const int row = List1->currentRow();
    if (row < 0)
        return;
    setColour(row, statusrules::NoColour);
}

void Statuses::Command9_Click() {
    if (!m_read)
        return; // nothing was read, so nothing is stored
    const statusrules::Lists all = lists();
    const QString refusal = statusrules::storeRefusal(all);
    if (!refusal.isEmpty()) {
        MsgBox(refusal);
        return;
    }
    bool stored = false;
    try {
        stored = statusrules::storeChanges(ui::form<Form1>().dbpath, m_asRead, all);
    } catch (const db::DbError& e) {
        MsgBox(QStringLiteral("The statuses and categories could not be stored, so nothing has changed:\n") +
               e.message());
        return;
    }
    if (!stored) {
        MsgBox(QStringLiteral("Another copy of Quorvane has changed the statuses and categories in a way that clashes "
                              "with your changes, so nothing has been stored. The lists now show them as stored; "
                              "please make your changes again."));
        if (!readLists()) {
            MsgBox(QStringLiteral("The statuses and categories could not be read:\n") + m_readError);
            close();
        }
        return;
    }
    MsgBox(QStringLiteral("A Restart is required before any changes take effect."));
    close();
}

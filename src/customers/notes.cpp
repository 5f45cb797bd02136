#include "customers/notes.h"

#include "callentry/callrules.h"
#include "callentry/callstore.h"
#include "mainwindow/form1.h"
#include "mainwindow/statusbar.h"
#include "platform/db/datacontrol.h"
#include "platform/db/dberror.h"
#include "platform/db/recordset.h"
#include "platform/db/values.h"
#include "platform/desktop.h"
#include "platform/widgets/binding.h"
#include "platform/widgets/colour.h"
#include "platform/widgets/datagrid.h"
#include "platform/widgets/dialogs.h"
#include "platform/widgets/flexgrid.h"
#include "platform/widgets/forms.h"
#include "platform/widgets/screen.h"
#include "reports/callnotespage.h"
#include "reports/pagefile.h"
#include "shared/shared.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

const QString Placeholder = QStringLiteral("[Empty - Note was cancelled]");

using ui::named;

void place(QWidget* w, int left, int top, int width, int height) {
    w->setGeometry(ui::twipsToPixels(left), ui::twipsToPixels(top), ui::twipsToPixels(width),
                   ui::twipsToPixels(height));
}

void setTop(QWidget* w, int top) {
    w->move(w->x(), ui::twipsToPixels(top));
}

} // namespace

Notes::Notes(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Notes"));
    setFixedSize(ui::twipsToPixels(9840), ui::twipsToPixels(6060));

    Image1 = named(new QLabel(this), "Image1");
    place(Image1, 0, 0, 9840, 6060);
    Image1->setScaledContents(true);
    Adodc1 = named(new db::DataControl(this), "Adodc1");
    Datagrid1 = named(new ui::DataGrid(this), "Datagrid1");
    place(Datagrid1, 120, 120, 9600, 2520);

    Label5 = named(new QLabel(this), "Label5");
    Label4 = named(new QLabel(this), "Label4");
    Label1 = named(new QLabel(this), "Label1");
    Label2 = named(new QLabel(this), "Label2");
    Label3 = named(new QLabel(this), "Label3");
    for (QLabel* label : {Label1, Label2, Label3, Label4, Label5})
        label->setTextFormat(Qt::PlainText); // customer, staff and call texts as stored
    place(Label5, 120, 2760, 900, 255);
    place(Label4, 1080, 2760, 900, 255);
    place(Label1, 2040, 2760, 2400, 255);
    place(Label2, 4560, 2760, 1500, 255);
    place(Label3, 6180, 2760, 1500, 255);

    Text1 = named(new QPlainTextEdit(this), "Text1");
    place(Text1, 120, 3060, 9600, 1560);
    Text1->setEnabled(false);
    {
        // Closed to typing while a note is read, but drawn readable: the window's own text on its own ground,
        // not the faint disabled grey.
        QPalette p = Text1->palette();
        p.setColor(QPalette::Disabled, QPalette::Text, p.color(QPalette::Active, QPalette::WindowText));
        p.setColor(QPalette::Disabled, QPalette::Base, p.color(QPalette::Active, QPalette::Window));
        Text1->setPalette(p);
    }
    Text2 = named(new QPlainTextEdit(this), "Text2");
    place(Text2, 120, 120, 9600, 4605);
    Text2->hide();
    Label6 = named(new QLabel(QStringLiteral("+"), this), "Label6");
    place(Label6, 9480, 4680, 240, 255);
    Label6->setToolTip(QStringLiteral("Increase text area"));
    Label6->setAlignment(Qt::AlignCenter);
    Label6->installEventFilter(this);

    cmdSysInfo = named(new QPushButton(QStringLiteral("New Call Note"), this), "cmdSysInfo");
    Command3 = named(new QPushButton(QStringLiteral("View All"), this), "Command3");
    Command2 = named(new QPushButton(QStringLiteral("OK"), this), "Command2");
    Command1 = named(new QPushButton(QStringLiteral("Cancel"), this), "Command1");
    place(cmdSysInfo, 120, 5160, 1800, 495);
    place(Command3, 2040, 5160, 1500, 495);
    place(Command2, 6780, 5160, 1400, 495);
    place(Command1, 8320, 5160, 1400, 495);

    connect(cmdSysInfo, &QPushButton::clicked, this, &Notes::cmdSysInfo_Click);
    connect(Command2, &QPushButton::clicked, this, &Notes::Command2_Click);
    connect(Command1, &QPushButton::clicked, this, &Notes::Command1_Click);
    connect(Command3, &QPushButton::clicked, this, &Notes::Command3_Click);

    Datagrid1->setDataSource(Adodc1);
    ui::bindField(Text1, Adodc1, QStringLiteral("Note"));
    ui::bindField(Label5, Adodc1, QStringLiteral("ID"));
    ui::bindField(Label4, Adodc1, QStringLiteral("Call"));
    ui::bindField(Label1, Adodc1, QStringLiteral("Analyst"));
    ui::bindField(Label2, Adodc1, QStringLiteral("Note-date"));
    ui::bindField(Label3, Adodc1, QStringLiteral("Note-time"));

    Load();
}

Notes::~Notes() = default;

void Notes::Load() {
    m_main = &ui::form<Form1>();
    m_call = m_main->callStore().currentCallText();
    m_callNumber = callnumber(m_call);
    Adodc1->setConnectionString(db::DataControl::connectionStringFor(m_main->dbpath));
    // Only a number reaches the query; any other text leaves the window without notes to show or add to.
    if (m_callNumber)
        Adodc1->setRecordSource(callrules::notesSql(*m_callNumber));
    reread();
    gridsetup();
    setWindowTitle(QStringLiteral("Call notes for call: ") + m_call + QStringLiteral(" ... ") +
                   m_main->Combo6->currentText());
    Image1->setPixmap(m_main->backimage->pixmap());
    Image1->lower();
    if (m_main->notesautonew == 1)
        cmdSysInfo_Click();
    if (m_main->isAdministrator())
        Datagrid1->setAllowUpdate(true);
}

bool Notes::follow() {
    if (!m_main || m_main->callStore().currentCallText() == m_call)
        return true;
    // What was typed belongs to the call it was typed for.
    if (!storePending(Refused::Keep,
                      QStringLiteral(" The window shows the notes of call ") + m_call + QStringLiteral(" until then.")))
        return false;
    placeholder();
    m_newId = QVariant();
    hideme();
    Label6->show();
    Command3->setEnabled(true);
    cmdSysInfo->setEnabled(true);
    Datagrid1->setEnabled(true);
    Text1->setEnabled(false);
    Adodc1->clear(); // never the other call's notes under this call's title
    Load();
    return true;
}

void Notes::reread() {
    if (!m_callNumber)
        return;
    try {
        Adodc1->refresh();
    } catch (const db::DbError&) {
        // the rows stay as they were
    }
}

void Notes::gridsetup() {
    Datagrid1->setColumnVisible(1, false);
    Datagrid1->setColumnVisible(0, false);
    Datagrid1->setColumnWidth(2, 6300);
    Datagrid1->setColumnWidth(3, 1200);
    Datagrid1->setColumnWidth(4, 1200);
    Datagrid1->setColumnWidth(5, 1200);
    Datagrid1->setColumnCaption(3, QStringLiteral("By"));
    Datagrid1->setColumnCaption(4, QStringLiteral("On"));
    Datagrid1->setColumnCaption(5, QStringLiteral("At"));
    Datagrid1->setColumnCaption(2, QStringLiteral("Text"));
    for (int c : {6, 9, 7, 8})
        Datagrid1->setColumnVisible(c, false);
    // The stamps show whole; the note's text takes the rest of the grid's width, so it needs no sideways scrolling.
    for (int c : {3, 4, 5})
        Datagrid1->setColumnFit(c, ui::DataGrid::Fit::Contents);
    Datagrid1->setColumnFit(2, ui::DataGrid::Fit::Rest);
    Datagrid1->setWordWrap(true);
    const QColor colour = ui::vbColour(m_main ? m_main->gridcolour : QString());
    if (colour.isValid()) {
        QPalette p = Datagrid1->palette();
        p.setColor(QPalette::Base, colour);
        Datagrid1->setPalette(p);
    }
}

void Notes::hideme() {
    setTop(Label6, 4680);
    Text2->hide();
    Text2->clear();
    Label6->setText(QStringLiteral("+"));
}

void Notes::cmdSysInfo_Click() {
    db::Recordset* rs = Adodc1->recordset();
    if (!rs || !m_callNumber || !m_main)
        return; // no call to stamp a note with
    if (!storePending(Refused::Keep))
        return;
    try {
        rs->addNew();
    } catch (const db::DbError& e) {
        ui::MsgBox(QStringLiteral("A new note could not be started:\n") + e.message());
        return;
    }
    m_adding = true;
    Text1->setEnabled(true);
    hideme();
    Command3->setEnabled(false);
    Label6->hide();
    cmdSysInfo->setEnabled(false);
    const QDateTime now = desktop::clock().now();
    const QTime time(now.time().hour(), now.time().minute(), now.time().second());
    try {
        rs->setField(QStringLiteral("Call"), *m_callNumber);
        rs->setField(QStringLiteral("Analyst"), m_main->currentanalyst);
        rs->setField(QStringLiteral("Note-date"), now.date());
        rs->setField(QStringLiteral("Note-time"), time);
    } catch (const db::DbError&) {
    }
    // The bound labels show the stored row; these show the stamps of the row being typed.
    Label4->setText(QString::number(*m_callNumber));
    Label1->setText(m_main->currentanalyst);
    Label2->setText(db::displayText(now.date()));
    Label3->setText(db::displayText(time));
    Datagrid1->widenFittedColumns(); // the stamps of the first note of an empty list show whole
    Datagrid1->setEnabled(false);
    Text1->setFocus();
}

// The new note goes with its stamps, its line ends as the rest of the program keeps them.
bool Notes::storePending(Refused refused, const QString& kept) {
    db::Recordset* rs = Adodc1->recordset();
    if (!rs || rs->editMode() == db::Recordset::EditMode::None)
        return true;
    const bool adding = rs->editMode() == db::Recordset::EditMode::Add;
    if (adding && !m_adding)
        return true;
    QVariant note;
    bool typed = true;
    try {
        if (adding) {
            note = rs->field(QStringLiteral("Note"));
            typed = !db::displayText(note).isEmpty();
            // Left empty, the note is stored with the placeholder at once: one step, never an empty note.
            if (!typed)
                rs->setField(QStringLiteral("Note"), Placeholder);
            else if (!db::isNull(note)) {
                QString text = note.toString();
                text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
                    .replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
                if (text != note.toString())
                    rs->setField(QStringLiteral("Note"), text);
            }
        }
        if (adding && m_callNumber)
            callrules::storeNewNote(*rs, *m_callNumber);
        else
            rs->update();
    } catch (const db::DbError& e) {
        const QString what = adding ? QStringLiteral("The note could not be stored")
                                    : QStringLiteral("The change to the note could not be stored");
        if (refused == Refused::Keep && typed) {
            // The row is still pending, as typed: the user may try again.
            if (adding)
                rs->setField(QStringLiteral("Note"), note);
            // A note of a call that is gone can never be stored: it stays to be copied, and Cancel lets it go.
            const QString again = e.isConflict() && adding
                                      ? QStringLiteral("; it stays in the window to be copied, and Cancel lets it go.")
                                  : adding ? QStringLiteral("; it stays in the window, so you can try again.")
                                           : QStringLiteral("; it stays in the list, so you can try again.");
            ui::MsgBox(what + again + kept + QLatin1Char('\n') + e.message());
            return false;
        }
        rs->cancelUpdate();
        m_adding = false;
        ui::MsgBox(what + QStringLiteral(".\n") + e.message());
        return true;
    }
    if (adding) {
        m_adding = false;
        m_newId = rs->field(QStringLiteral("ID"));
    }
    return true;
}

// The note this window added becomes current; left empty, it gets the placeholder.
void Notes::placeholder() {
    db::Recordset* rs = Adodc1->recordset();
    if (!rs || db::isNull(m_newId))
        return;
    const int id = rs->fieldIndex(QStringLiteral("ID"));
    for (int r = 0; r < rs->rowCount(); ++r) {
        if (rs->value(r, id) != m_newId)
            continue;
        try {
            rs->moveTo(r);
            if (db::displayText(rs->field(QStringLiteral("Note"))).isEmpty()) {
                rs->setField(QStringLiteral("Note"), Placeholder);
                rs->update();
            }
        } catch (const db::DbError&) {
            rs->cancelUpdate();
        }
        return;
    }
}

bool Notes::cancelsteps(Refused refused) {
    if (!storePending(refused))
        return false;
    reread();
    hideme();
    Command3->setEnabled(true);
    Label6->show();
    placeholder();
    Datagrid1->setEnabled(true);
    Text1->setEnabled(false);
    gridsetup();
    return true;
}

void Notes::Command1_Click() {
    // Cancel lets go of what cannot be stored, once the user is told.
    cancelsteps(Refused::Drop);
    const int autonew = m_main ? m_main->notesautonew : 0;
    if (autonew == 1)
        cmdSysInfo->setEnabled(true);
    else if (autonew == 0)
        close();
}

void Notes::Command2_Click() {
    hideme();
    // Refused, the note stays in the open window as typed.
    if (!storePending(Refused::Keep))
        return;
    if (Text1->toPlainText().isEmpty())
        cancelsteps(Refused::Keep);
    Text1->setEnabled(false);
    if (m_main)
        m_main->opencallgrid();
    Datagrid1->setEnabled(true);
    close();
}

void Notes::Command3_Click() {
    if (Label4->text().isEmpty()) {
        ui::MsgBox(QStringLiteral("No call notes found for this call."));
        return;
    }
    if (m_main && m_main->notesautonew == 1 && !cancelsteps(Refused::Keep))
        return;
    const QString path = notesWindowPagePath();
    PageFile page;
    if (!page.open(path)) {
        ui::MsgBox(cannotWriteText(path));
        return;
    }
    m_page = &page;
    htmlhead();
    callnotesTitle(page, windowTitle());
    try {
        callnotes();
    } catch (const db::DbError& e) {
        m_page = nullptr;
        ui::MsgBox(QStringLiteral("The notes could not be read: ") + e.message()); // a page missing them is not shown
        return;
    }
    m_page = nullptr;
    if (!page.commit()) {
        ui::MsgBox(cannotWriteText(path));
        return;
    }
    ShellOpen(path, 3);
}

void Notes::htmlhead() {
    if (m_page)
        callnotesHead(*m_page);
}

void Notes::callnotes() {
    if (!m_page)
        return;
    reread();
    callnotesRows(*m_page, Label4->text(), false);
}

void Notes::Label6_Click() {
    if (Label6->text() != QLatin1String("-")) {
        Text2->setPlainText(Text1->toPlainText());
        Text2->resize(Text2->width(), ui::twipsToPixels(4605));
        Text2->show();
        Text2->raise();
        setTop(Label6, 4770);
        Label6->raise();
        Label6->setText(QStringLiteral("-"));
    } else {
        hideme();
    }
}

bool Notes::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Label6 && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        Label6_Click();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void Notes::closeEvent(QCloseEvent* event) {
    // A note that cannot be stored keeps the window open with it.
    if (!storePending(Refused::Keep)) {
        event->ignore();
        return;
    }
    if (m_main)
        m_main->showCallState(QStringLiteral("Existing Call"));
    reread();
    placeholder();
    Datagrid1->setEnabled(true);
    event->accept();
}

#include "reports/frmabout.h"

#include "mainwindow/form1.h"
#include "platform/desktop.h"
#include "platform/widgets/cuttext.h"
#include "platform/widgets/dialogs.h"
#include "platform/widgets/forms.h"
#include "platform/widgets/screen.h"
#include "reports/monitorpages.h"
#include "reports/pagefile.h"

#include <QAction>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

namespace {

template <class W> W* make(QWidget* parent, const QString& name, int left, int top, int width, int height) {
    auto* w = new W(parent);
    w->setObjectName(name);
    w->setGeometry(ui::twipsToPixels(left), ui::twipsToPixels(top), ui::twipsToPixels(width),
                   ui::twipsToPixels(height));
    return w;
}

} // namespace

frmAbout::frmAbout(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("Monitor Page"));
    Label1 = make<QLabel>(this, QStringLiteral("Label1"), 150, 120, 5415, 705);
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Text1 = make<QLineEdit>(this, QStringLiteral("Text1"), 150, 900, 4005, 315);
    Command1 = make<QPushButton>(this, QStringLiteral("Command1"), 4290, 900, 1260, 345);
    Command1->setText(QStringLiteral("Browse"));
    cmdSysInfo = make<QPushButton>(this, QStringLiteral("cmdSysInfo"), 2910, 1410, 1245, 345);
    cmdSysInfo->setText(QStringLiteral("De-activate"));
    cmdOK = make<QPushButton>(this, QStringLiteral("cmdOK"), 4290, 1410, 1260, 345);
    cmdOK->setText(QStringLiteral("Activate"));

    connect(Command1, &QPushButton::clicked, this, &frmAbout::Command1_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);

    // Load
    Label1->setText(QStringLiteral("This option will autosave a self refreshing webpage to the location below every "
                                   "15 minutes.  This page can be viewed via any browser and is intended for monitor "
                                   "screens to show the number of waiting calls etc.."));
    const QString folder = ui::form<Form1>().monitorpath;
    ui::setTextFromStart(Text1, folder.isEmpty() ? desktop::programFolder() : folder);
    placeControls();
}

void frmAbout::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        placeControls();
}

void frmAbout::placeControls() {
    using ui::twipsToPixels;
    const int left = twipsToPixels(150);
    const int gap = twipsToPixels(135);
    // Buttons keep their places' widths unless their captions need more; the rows follow the text above them.
    const auto buttonWidth = [](QPushButton* b, int twips) {
        return std::max(twipsToPixels(twips), b->sizeHint().width());
    };
    const int browse = buttonWidth(Command1, 1260);
    const int off = buttonWidth(cmdSysInfo, 1245);
    const int on = buttonWidth(cmdOK, 1260);
    const int inner = std::max({twipsToPixels(5415), twipsToPixels(4005) + gap + browse, off + gap + on});
    const QMargins m = Label1->contentsMargins();
    const QRect text = Label1->fontMetrics().boundingRect(QRect(0, 0, inner - m.left() - m.right(), 10000),
                                                          int(Label1->alignment()) | Qt::TextWordWrap, Label1->text());
    const int labelHeight = std::max(twipsToPixels(705), text.height() + m.top() + m.bottom());
    Label1->setGeometry(left, twipsToPixels(120), inner, labelHeight);

    const int rowHeight = std::max({twipsToPixels(345), Text1->sizeHint().height(), Command1->sizeHint().height(),
                                    cmdOK->sizeHint().height(), cmdSysInfo->sizeHint().height()});
    const int row1 = Label1->geometry().bottom() + 1 + twipsToPixels(75);
    Text1->setGeometry(left, row1, inner - gap - browse, std::max(twipsToPixels(315), Text1->sizeHint().height()));
    Command1->setGeometry(left + inner - browse, row1, browse, rowHeight);
    const int row2 = row1 + rowHeight + twipsToPixels(165);
    cmdOK->setGeometry(left + inner - on, row2, on, rowHeight);
    cmdSysInfo->setGeometry(left + inner - on - gap - off, row2, off, rowHeight);
    setFixedSize(left + inner + twipsToPixels(105), row2 + rowHeight + twipsToPixels(150));
}

void frmAbout::Command1_Click() {
    const ui::FolderChoice choice =
        ui::dialogs().browseFolder(QStringLiteral("Locate the folder where webpage will be written"));
    if (choice.kind == ui::FolderChoice::Kind::Cancelled)
        return;
    ui::setTextFromStart(Text1, choice.hasPath() && !choice.path.isEmpty() ? choice.path : desktop::programFolder());
}

void frmAbout::cmdOK_Click() {
    Form1& main = ui::form<Form1>();
    main.monitorOn(Text1->text());
    // The timed writes pass over a folder they cannot write; the user who just chose it is told.
    const QString unwritable = monitorpages::unwritablePage(main.monitorpath);
    if (!unwritable.isEmpty())
        ui::MsgBox(cannotWriteText(unwritable));
    ui::unload<frmAbout>();
}

void frmAbout::cmdSysInfo_Click() {
    Form1& main = ui::form<Form1>();
    main.monitorOff();
    ui::unload<frmAbout>();
}

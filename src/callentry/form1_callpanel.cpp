#include "mainwindow/form1.h"

#include "platform/widgets/flexgrid.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

template <class W> W* named(W* w, const char* name) {
    w->setObjectName(QLatin1String(name));
    return w;
}

} // namespace

void Form1::buildCallPanel() {
    auto* grid = new QGridLayout(Picture8);
    grid->setContentsMargins(6, 6, 6, 6);

    // Customer boxes.
    auto* customer = new QGroupBox(QStringLiteral("Customer"), Picture8);
    auto* cf = new QFormLayout(customer);
    Combo6 = named(new QComboBox(customer), "Combo6");
    Combo6->setEditable(true);
    Combo11 = named(new QComboBox(customer), "Combo11");
    Combo11->setEditable(true);
    Text10 = named(new QLineEdit(customer), "Text10");
    Text11 = named(new QLineEdit(customer), "Text11");
    Text12 = named(new QLineEdit(customer), "Text12");
    Text13 = named(new QLineEdit(customer), "Text13");
    Text14 = named(new QLineEdit(customer), "Text14");
    cf->addRow(QStringLiteral("Customer:"), Combo6);
    cf->addRow(QStringLiteral("Reference:"), Combo11);
    cf->addRow(QStringLiteral("Name:"), Text10);
    cf->addRow(QStringLiteral("Ref:"), Text11);
    cf->addRow(QStringLiteral("Phone:"), Text12);
    cf->addRow(QStringLiteral("Email:"), Text13);
    cf->addRow(QStringLiteral("Address:"), Text14);

    // Call details.
    auto* call = new QGroupBox(QStringLiteral("Call"), Picture8);
    auto* kf = new QFormLayout(call);
    Text18 = named(new QLineEdit(call), "Text18");
    Text18->setReadOnly(true);
    Combo1 = named(new QComboBox(call), "Combo1");
    Combo5 = named(new QComboBox(call), "Combo5");
    Combo13 = named(new QComboBox(call), "Combo13");
    Combo3 = named(new QComboBox(call), "Combo3");
    Label36 = named(new QLabel(QStringLiteral("Notes:"), call), "Label36");
    Text15 = named(new QLineEdit(call), "Text15");
    Text19 = named(new QLineEdit(call), "Text19");
    kf->addRow(QStringLiteral("Call Ref:"), Text18);
    kf->addRow(QStringLiteral("Status:"), Combo1);
    kf->addRow(QStringLiteral("Assigned:"), Combo5);
    kf->addRow(QStringLiteral("Category:"), Combo13);
    kf->addRow(QStringLiteral("Item:"), Combo3);
    kf->addRow(Label36, Text15);
    kf->addRow(QStringLiteral("Resource:"), Text19);

    auto* texts = new QGroupBox(QStringLiteral("Description and resolution"), Picture8);
    auto* tv = new QVBoxLayout(texts);
    Text16 = named(new QPlainTextEdit(texts), "Text16");
    Text17 = named(new QPlainTextEdit(texts), "Text17");
    tv->addWidget(Text16);
    tv->addWidget(Text17);

    Frame2 = named(new QGroupBox(QStringLiteral("Edit:"), Picture8), "Frame2");
    auto* ff = new QFormLayout(Frame2);
    Text3 = named(new QLineEdit(Frame2), "Text3");
    Text4 = named(new QLineEdit(Frame2), "Text4");
    Text5 = named(new QLineEdit(Frame2), "Text5");
    Text6 = named(new QLineEdit(Frame2), "Text6");
    ff->addRow(QStringLiteral("Opened:"), Text3);
    ff->addRow(QStringLiteral("At:"), Text4);
    ff->addRow(QStringLiteral("Closed:"), Text5);
    ff->addRow(QStringLiteral("At:"), Text6);

    Picture3 = named(new QFrame(Picture8), "Picture3");
    auto* av = new QVBoxLayout(Picture3);
    Text20 = named(new QPlainTextEdit(Picture3), "Text20");
    Text20->setReadOnly(true);
    cg1 = named(new ui::FlexGrid(Picture3), "cg1");
    av->addWidget(cg1);
    av->addWidget(Text20);

    Shape1 = named(new QFrame(Picture8), "Shape1");
    Picture5 = named(new QFrame(Picture8), "Picture5");
    auto* buttons = new QHBoxLayout(Picture5);
    Command8 = named(new QPushButton(QStringLiteral("&New Call"), Picture5), "Command8");
    Command9 = named(new QPushButton(QStringLiteral("Cancel"), Picture5), "Command9");
    Command10 = named(new QPushButton(QStringLiteral("&Save"), Picture5), "Command10");
    Command20 = named(new QPushButton(QStringLiteral("Save Edit"), Picture5), "Command20");
    Command20->hide();
    Command22 = named(new QPushButton(QStringLiteral("Notes"), Picture5), "Command22");
    Command23 = named(new QPushButton(QStringLiteral("Inventory"), Picture5), "Command23");
    command16 = named(new QPushButton(QStringLiteral("View Attach."), Picture5), "command16");
    for (QPushButton* b : {Command8, Command9, Command10, Command20, Command22, Command23, command16})
        buttons->addWidget(b);
    buttons->addStretch();

    grid->addWidget(customer, 0, 0);
    grid->addWidget(call, 0, 1);
    grid->addWidget(texts, 0, 2);
    grid->addWidget(Frame2, 0, 3);
    grid->addWidget(Picture3, 0, 4);
    grid->addWidget(Picture5, 1, 0, 1, 5);
}

void Form1::connectCallPanel() {}

void Form1::menusoff() {
    for (QMenu* m : {mnufile, mnucust, mnserch, mnurep, mnuOptions, mnuhelp})
        m->setEnabled(false);
}

void Form1::menuson() {
    for (QMenu* m : {mnufile, mnucust, mnserch, mnurep, mnuOptions, mnuhelp})
        m->setEnabled(true);
}

void Form1::hidefields(bool) {}
void Form1::lognewcall() {}
void Form1::callsaver() {}
void Form1::cancelcall() {}
void Form1::opencall(int) {}
void Form1::leavecall() {}
void Form1::opencallgrid() {}
void Form1::logusercall(const QString&) {}
void Form1::lognewcallcust() {}
void Form1::FindCust(const QString&) {}
void Form1::findCustomerByName() {}
void Form1::auditer(const QString&) {}
void Form1::saveEditedCustomer() {}
void Form1::shutdownCallPanel() {}

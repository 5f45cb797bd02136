#include "customers/attachments.h"

#include "callentry/callstore.h"
#include "mainwindow/form1.h"
#include "platform/desktop.h"
#include "platform/widgets/colour.h"
#include "platform/widgets/forms.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

Attachments::Attachments(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Attachments"));
    setWindowTitle(QStringLiteral("Attachments"));
    resize(420, 320);

    Combo1 = ui::named(new QComboBox(this), "Combo1");
    f1 = ui::named(new QListWidget(this), "f1");
    lblDoubleClick = ui::named(new QLabel(QStringLiteral("Double click to open Attachments."), this), "lblDoubleClick");

    auto* box = new QVBoxLayout(this);
    box->addWidget(Combo1);
    box->addWidget(f1, 1);
    box->addWidget(lblDoubleClick);

    connect(Combo1, &QComboBox::activated, this, &Attachments::Combo1_Click);
    connect(f1, &QListWidget::itemDoubleClicked, this, &Attachments::f1_DblClick);

    Form_Load();
}

void Attachments::Form_Load() {
    const Form1& main = ui::form<Form1>();
    const QColor panel = ui::vbColour(main.panelcolour);
    ui::fillBackground(this, panel);
    {
        const QSignalBlocker quiet(Combo1); // filling must not choose for the user
        Combo1->addItem(QString());
        Combo1->addItem(QStringLiteral("All Attachments"));
        Combo1->setCurrentIndex(0);
    }
    showCall();
}

void Attachments::showCall() {
    const Form1& main = ui::form<Form1>();
    m_call = main.callStore().currentCallText();
    m_folder = main.attachpath;
    Combo1->setItemText(0, QStringLiteral("Attachments for call:") + m_call);
    Combo1_Click();
}

void Attachments::Combo1_Click() {
    if (Combo1->currentText().left(3) == QLatin1String("All"))
        m_pattern = QStringLiteral("Call*");
    else
        m_pattern = QStringLiteral("Call-") + m_call + QStringLiteral("-*");
    f1->clear();
    if (m_folder.isEmpty())
        return;
    f1->addItems(QDir(m_folder).entryList({m_pattern}, QDir::Files, QDir::Name));
}

void Attachments::f1_DblClick() {
    const QListWidgetItem* item = f1->currentItem();
    if (!item)
        return;
    QString path = m_folder;
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    desktop::shell().open(path + item->text(), 1);
}

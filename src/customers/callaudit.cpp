#include "customers/callaudit.h"

#include "callentry/callstore.h"
#include "mainwindow/form1.h"
#include "platform/db/dberror.h"
#include "platform/widgets/colour.h"
#include "platform/widgets/forms.h"
#include "reports/callnotespage.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

Form5::Form5(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(QStringLiteral("Call Audit"));
    resize(620, 380);

    Text1 = ui::named(new QPlainTextEdit(NoEntries, this), "Text1");
    Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Text1->setReadOnly(true);
    cmdCommand1 = ui::named(new QPushButton(QStringLiteral("Close"), this), "cmdCommand1");

    auto* box = new QVBoxLayout(this);
    box->addWidget(Text1, 1);
    box->addWidget(cmdCommand1, 0, Qt::AlignRight);
    connect(cmdCommand1, &QPushButton::clicked, this, &QWidget::close);

    Form_Load();
}

void Form5::Form_Load() {
    ui::fillBackground(this, ui::vbColour(ui::form<Form1>().backcolour));
    showCall();
}

void Form5::showCall() {
    const Form1& main = ui::form<Form1>();
    const std::optional<qint64> call = main.callStore().currentCall();
    setWindowTitle(call ? QStringLiteral("Call Audit for call: ") + QString::number(*call)
                        : QStringLiteral("Call Audit"));
    Text1->setPlainText(NoEntries);
    if (!call)
        return;
    try {
        const std::optional<QString> audit = main.callStore().storedAudit(*call);
        if (audit)
            Text1->setPlainText(QString(*audit).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    } catch (const db::DbError&) {
        // an unreadable database shows "No Entries"
    }
}

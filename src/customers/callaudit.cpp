#include "customers/callaudit.h"

#include "mainwindow/form1.h"
#include "platform/db/database.h"
#include "platform/db/dberror.h"
#include "platform/db/recordset.h"
#include "platform/db/values.h"
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
    const Form1& main = ui::form<Form1>();
    const QColor back = ui::vbColour(main.backcolour);
    ui::fillBackground(this, back);
    // Only a whole call number reaches the SQL; anything else keeps "No Entries".
    const std::optional<qint64> call = callnumber(main.Text18->text());
    if (!call)
        return;
    try {
        auto database = db::Database::open(main.dbpath);
        const auto rs =
            database.openRecordset(QStringLiteral("SELECT Audit from Calls Where Nom = ") + QString::number(*call));
        if (rs->eof())
            return;
        const QVariant audit = rs->field(QStringLiteral("Audit"));
        if (!db::isNull(audit))
            Text1->setPlainText(db::displayText(audit).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    } catch (const db::DbError&) {
        // an unreadable database shows "No Entries"
    }
}

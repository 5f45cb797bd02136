#include "calllists/callviews.h"
#include "customers/notes.h"
#include "mainwindow/form1.h"
#include "mainwindow/statusbar.h"
#include "platform/widgets/dialogs.h"
#include "platform/widgets/flexgrid.h"
#include "platform/widgets/forms.h"
#include "reports/callnotespage.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>

void Form1::connectNotes() {
    connect(Command22, &QPushButton::clicked, this, [this] {
        if (Text11->text().isEmpty()) {
            ui::MsgBox(QStringLiteral("Required fields are empty!"));
            return;
        }
        StatusBar1->setPanel(5, QStringLiteral("Call Notes"));
        ui::showOwnedTurned<Notes>(this, [](Notes& notes) { notes.follow(); });
    });
    connect(mnuvcn, &QAction::triggered, this, [this] {
        const QString failure = callListNotesPage(datagrid2->textMatrix(datagrid2->row(), callviews::RefColumn));
        if (!failure.isEmpty())
            ui::MsgBox(failure);
    });
}

#include "customers/about.h"
#include "customers/attachments.h"
#include "customers/callaudit.h"
#include "mainwindow/form1.h"
#include "platform/widgets/forms.h"

#include <QAction>
#include <QPushButton>

void Form1::connectCompanions() {
    connect(mnuabout, &QAction::triggered, this, [this] { ui::showOwned(&ui::form<frmAbout1>(), this); });
    // A window left open for another call turns to the call on the panel.
    connect(mnuaudit, &QAction::triggered, this,
            [this] { ui::showOwnedTurned<Form5>(this, [](Form5& audit) { audit.showCall(); }); });
    connect(command16, &QPushButton::clicked, this,
            [this] { ui::showOwnedTurned<Attachments>(this, [](Attachments& files) { files.showCall(); }); });
}

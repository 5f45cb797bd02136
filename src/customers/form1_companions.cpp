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
    connect(mnuaudit, &QAction::triggered, this, [this] {
        const bool open = ui::isLoaded<Form5>();
        Form5& audit = ui::form<Form5>();
        if (open)
            audit.showCall();
        ui::showOwned(&audit, this);
    });
    connect(command16, &QPushButton::clicked, this, [this] {
        const bool open = ui::isLoaded<Attachments>();
        Attachments& files = ui::form<Attachments>();
        if (open)
            files.showCall();
        ui::showOwned(&files, this);
    });
}

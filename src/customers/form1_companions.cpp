#include "customers/about.h"
#include "customers/attachments.h"
#include "customers/callaudit.h"
#include "mainwindow/form1.h"
#include "platform/widgets/forms.h"

#include <QAction>
#include <QPushButton>

void Form1::connectCompanions() {
    connect(mnuabout, &QAction::triggered, this, [this] { ui::showOwned(&ui::form<frmAbout1>(), this); });
    connect(mnuaudit, &QAction::triggered, this, [this] { ui::showOwned(&ui::form<Form5>(), this); });
    connect(command16, &QPushButton::clicked, this, [this] { ui::showOwned(&ui::form<Attachments>(), this); });
}

#include "mainwindow/form1.h"
#include "mainwindow/statusbar.h"
#include "platform/widgets/forms.h"
#include "reports/form3.h"
#include "reports/windowactivation.h"

#include <QAction>

void Form1::connectWizard() {
    // Watching from the start, so that the wizard knows which window the user comes from.
    WindowActivation::instance();
    connect(mnuwiz, &QAction::triggered, this, [this] {
        StatusBar1->setPanel(5, QStringLiteral("Report Wizard"));
        ui::showOwned(&ui::form<Form3>(), this);
    });
}

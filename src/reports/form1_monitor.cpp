#include "mainwindow/form1.h"
#include "mainwindow/statusbar.h"
#include "platform/desktop.h"
#include "platform/widgets/forms.h"
#include "reports/form6.h"
#include "reports/frmabout.h"
#include "reports/monitorpages.h"

#include <QAction>

void Form1::connectMonitor() {
    connect(mnucatstat, &QAction::triggered, this, [this] {
        StatusBar1->setPanel(5, QStringLiteral("Category Stats"));
        ui::showOwned(&ui::form<Form6>(), this);
    });
    // The item keeps its mark (see form1_ui.cpp): only the window's buttons change it.
    connect(mnumonitor, &QAction::triggered, this, [this] { ui::showOwned(&ui::form<frmAbout>(), this); });
}

void Form1::writemonitor() {
    monitorpages::write({monitorpath, dbpath, stats3status, sqldateformat, desktop::clock().now()});
}

#include "mainwindow/form1.h"

#include "options/analysts.h"
#include "platform/widgets/forms.h"

#include <QAction>

void Form1::connectStaff() {
    connect(mnusupportstaff, &QAction::triggered, this, [this] { ui::showOwned(&ui::form<analysts>(), this); });
}

// The password prompts belong to the support-staff window, which loads hidden for them.
void Form1::changeOwnPassword() {
    ui::form<analysts>().setPasswordFor(currentanalyst);
}

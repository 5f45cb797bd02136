#include "mainwindow/entry.h"

#include "mainwindow/form1.h"
#include "platform/desktop.h"
#include "platform/widgets/forms.h"
#include "platform/widgets/shell.h"

#include <QApplication>

int quorvaneMain(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvane"));
    ui::DesktopShell shell;
    desktop::setShell(&shell);
    const QString base = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    // The main window is registered as the one instance that every other window reaches.
    auto* main = new Form1(base);
    main->setAttribute(Qt::WA_DeleteOnClose);
    ui::detail::registerForm(typeid(Form1), main);
    if (main->ended()) {
        delete main;
        return 1;
    }
    main->show();
    const int rc = app.exec();
    desktop::setShell(nullptr);
    return rc;
}

#include "mainwindow/entry.h"

#include "mainwindow/form1.h"
#include "platform/desktop.h"
#include "platform/widgets/forms.h"
#include "platform/widgets/shell.h"

#include <QApplication>
#include <memory>
#include <optional>

int quorvaneMain(int argc, char** argv) {
    // A test that starts the program in-process brings its own application object.
    std::optional<QApplication> ownApp;
    if (!QCoreApplication::instance())
        ownApp.emplace(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvane"));
    ui::DesktopShell shell;
    desktop::setShell(&shell);
    // The shell goes with this function, whichever way it returns.
    const std::unique_ptr<ui::DesktopShell, void (*)(ui::DesktopShell*)> unregister(
        &shell, [](ui::DesktopShell*) { desktop::setShell(nullptr); });
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
    return QApplication::exec();
}

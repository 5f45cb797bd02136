// Renders the main window, logged in, to a PNG: a look at the layout without a person at the screen.
// Usage: qv_shot [--font=FAMILY,POINTS] [--grid-font=FAMILY,POINTS[,bold]] OUT.png WIDTH HEIGHT
//                [call | MENU-ITEM [DATABASE]]
// --font sets the desktop font (e.g. --font="DejaVu Sans,11"), --grid-font the lists' ("Arial,14,bold").
// A menu item's object name (e.g. mnucatstat) renders the window it opens instead, on a copy of DATABASE.
#include "mainwindow/form1.h"
#include "platform/widgets/forms.h"
#include "support/fontfit.h"
#include "support/testenv.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFont>
#include <QPushButton>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    ensureApp();
    if (argc > 1 && QByteArray(argv[1]).startsWith("--font=")) {
        const QStringList font = QString::fromLocal8Bit(argv[1] + 7).split(QLatin1Char(','));
        QApplication::setFont(QFont(font.value(0), font.value(1, QStringLiteral("9")).toInt()));
        ++argv;
        --argc;
    }
    QStringList gridFont;
    if (argc > 1 && QByteArray(argv[1]).startsWith("--grid-font=")) {
        gridFont = QString::fromLocal8Bit(argv[1] + 12).split(QLatin1Char(','));
        ++argv;
        --argc;
    }
    TestEnv env;
    if (!gridFont.isEmpty())
        storeGridFont(env, gridFont.value(0), gridFont.value(1, QStringLiteral("10")).toInt(),
                      gridFont.value(2) == QLatin1String("bold"));
    env.screen.size = QSize(argc > 3 ? atoi(argv[2]) : 1024, argc > 3 ? atoi(argv[3]) : 768);
    const QString item = argc > 4 ? QString::fromLatin1(argv[4]) : QString();
    if (argc > 5)
        QFile::copy(QString::fromLocal8Bit(argv[5]), env.settingsFolder + QStringLiteral("/desk.qvdb"));
    auto* f = new Form1(env.appDataFolder);
    ui::detail::registerForm(typeid(Form1), f);
    f->Command1->click();
    f->show();
    f->resize(env.screen.size.width(), env.screen.size.height() - 30);
    processEvents();
    if (item == QLatin1String("call")) {
        f->mnulogcall->trigger();
        processEvents();
    }
    QWidget* shown = f;
    if (!item.isEmpty() && item != QLatin1String("call")) {
        if (auto* action = f->findChild<QAction*>(item))
            action->trigger();
        processEvents();
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w != f && w->isVisible() && w->isWindow() && w->parentWidget() == f)
                shown = w;
    }
    shown->grab().save(QString::fromLocal8Bit(argv[1]));
    f->close();
    delete f;
    return 0;
}

// Renders the main window, logged in, to a PNG: a look at the layout without a person at the screen.
// Usage: qv_shot OUT.png WIDTH HEIGHT [call]
#include "mainwindow/form1.h"
#include "platform/widgets/forms.h"
#include "support/testenv.h"

#include <QComboBox>
#include <QPushButton>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    ensureApp();
    TestEnv env;
    env.screen.size = QSize(argc > 3 ? atoi(argv[2]) : 1024, argc > 3 ? atoi(argv[3]) : 768);
    auto* f = new Form1(env.appDataFolder);
    ui::detail::registerForm(typeid(Form1), f);
    f->Command1->click();
    if (argc > 4 && QString::fromLatin1(argv[4]) == QLatin1String("call"))
        f->mnulogcall->trigger();
    f->show();
    f->resize(env.screen.size.width(), env.screen.size.height() - 30);
    processEvents();
    f->grab().save(QString::fromLocal8Bit(argv[1]));
    f->close();
    delete f;
    return 0;
}

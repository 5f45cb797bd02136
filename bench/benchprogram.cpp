#include "bench/benchprogram.h"

#include "bench/dataset.h"
#include "support/testenv.h"

#include "mainwindow/form1.h"
#include "platform/widgets/forms.h"

#include <QComboBox>
#include <QFile>
#include <QPushButton>

namespace bench {

Program startProgram(TestEnv& env) {
    const QString dbPath = env.path(QStringLiteral("bench.qvdb"));
    QFile::copy(benchDataset(), dbPath);
    QFile ini(env.settingsFolder + QStringLiteral("/quorvane.ini"));
    if (ini.open(QIODevice::WriteOnly))
        ini.write("[Database]\r\nDatabase Path=" + dbPath.toUtf8() + "\r\n");
    ini.close();

    auto* main = new Form1(env.appDataFolder);
    ui::detail::registerForm(typeid(Form1), main);
    main->Combo2->setCurrentText(staffName(0));
    main->Command1->click();
    return {main, dbPath};
}

} // namespace bench

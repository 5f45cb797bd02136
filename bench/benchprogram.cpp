#include "bench/benchprogram.h"

#include "bench/dataset.h"

#include "mainwindow/form1.h"
#include "platform/widgets/forms.h"
#include "shared/shared.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <unistd.h>

namespace bench {

Program::Program() : dbPath(env.path(QStringLiteral("bench.qvdb"))) {
    QFile::copy(benchDataset(), dbPath);
    ::sync(); // the copy's pages reach the disk before anything is timed
    QFile ini(env.settingsFolder + QStringLiteral("/quorvane.ini"));
    if (ini.open(QIODevice::WriteOnly))
        ini.write("[Database]\r\nDatabase Path=" + dbPath.toUtf8() + "\r\n");
    ini.close();

    main = new Form1(env.appDataFolder);
    ui::detail::registerForm(typeid(Form1), main);
    main->Combo2->setCurrentText(staffName(0));
    main->Command1->click();
}

QString useDataset(const TestEnv& env) {
    const QString path = benchDataset();
    qv::dbpath() = path;
    qv::inipath() = env.settingsFolder + QStringLiteral("/quorvane.ini");
    return path;
}

QString pageFolder(int argc, char** argv, const TestEnv& env, const QString& name) {
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : env.path(name);
    QDir().mkpath(folder);
    return folder;
}

} // namespace bench

#include "mainwindow/entry.h"

#include <QApplication>
#include <QLabel>

int quorvaneMain(int argc, char** argv) {
    QApplication app(argc, argv);
    QLabel label(QStringLiteral("Quorvane"));
    label.show();
    return app.exec();
}

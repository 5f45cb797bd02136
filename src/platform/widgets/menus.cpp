#include "platform/widgets/menus.h"

#include <QAction>
#include <QFontMetrics>
#include <QMenu>
#include <QMenuBar>

namespace ui {

QMenu* topMenu(QMenuBar* bar, const char* name, const QString& caption) {
    QMenu* m = bar->addMenu(caption);
    m->setObjectName(QLatin1String(name));
    return m;
}

QAction* menuItem(QMenu* menu, const char* name, const QString& caption) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(QLatin1String(name));
    return a;
}

QMenu* subMenu(QMenu* menu, const char* name, const QString& caption) {
    QMenu* m = menu->addMenu(caption);
    m->setObjectName(QLatin1String(name));
    m->menuAction()->setObjectName(QLatin1String(name) + QStringLiteral("Action"));
    return m;
}

void setStoredCaption(QMenu* menu, QAction* item, const QString& before, const QString& stored, const QString& after) {
    QString oneLine = stored;
    oneLine.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    const QFontMetrics metrics(menu->font());
    const QString shown = metrics.elidedText(oneLine, Qt::ElideRight, metrics.averageCharWidth() * 40);
    item->setText(QString(before + shown + after).replace(QLatin1Char('&'), QLatin1String("&&")));
    item->setToolTip(shown == oneLine ? QString() : before + stored + after);
    menu->setToolTipsVisible(true);
}

} // namespace ui

#include "platform/widgets/menumark.h"

#include <QAction>
#include <QString>

namespace ui {

void keepMark(QAction* action) {
    action->setCheckable(true);
    // Slots run in the order they were connected, so this undoes Qt's flip before the command runs.
    QObject::connect(action, &QAction::triggered, action, [action](bool flipped) { action->setChecked(!flipped); });
}

bool flipMark(QAction* action) {
    action->setChecked(!action->isChecked());
    return action->isChecked();
}

QString markText(bool on) {
    return on ? QStringLiteral("True") : QStringLiteral("False");
}

} // namespace ui

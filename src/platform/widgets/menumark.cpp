#include "platform/widgets/menumark.h"

#include <QAction>

namespace ui {

void keepMark(QAction* action) {
    action->setCheckable(true);
    // Slots run in the order they were connected, so this undoes Qt's flip before the command runs.
    QObject::connect(action, &QAction::triggered, action, [action](bool flipped) { action->setChecked(!flipped); });
}

} // namespace ui

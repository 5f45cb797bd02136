#pragma once

#include <QString>

class QAction;
class QMenu;
class QMenuBar;

namespace ui {

// Menus built in code carry their names as objectName, so findChild finds each item and menu.
QMenu* topMenu(QMenuBar* bar, const char* name, const QString& caption);
QAction* menuItem(QMenu* menu, const char* name, const QString& caption);
// A submenu's own entry in its parent is named too ("<name>Action"), so it can be found and greyed.
QMenu* subMenu(QMenu* menu, const char* name, const QString& caption);
// An entry naming a stored text (before + stored + after): the stored text on one line, cut with "…" to a menu's
// usual width, "&" shown as itself, and the whole caption in the entry's tooltip when cut.
void setStoredCaption(QMenu* menu, QAction* item, const QString& before, const QString& stored,
                      const QString& after = QString());

} // namespace ui

#pragma once

class QAction;
class QMenu;
class QMenuBar;
class QString;

namespace ui {

// Menus built in code carry their names as objectName, so findChild finds each item and menu.
QMenu* topMenu(QMenuBar* bar, const char* name, const QString& caption);
QAction* menuItem(QMenu* menu, const char* name, const QString& caption);
// A submenu's own entry in its parent is named too ("<name>Action"), so it can be found and greyed.
QMenu* subMenu(QMenu* menu, const char* name, const QString& caption);

} // namespace ui

#pragma once

class QAction;
class QString;

namespace ui {

// Makes a menu item carry a check mark that only its command sets. A checkable QAction flips its own mark
// before any handler runs; this puts the mark back first, so the item's command (connected after this call)
// sees the mark as it was and decides what it becomes. Call it before connecting the command.
void keepMark(QAction* action);

// Inverts a kept mark, as its command does, and gives the new one.
bool flipMark(QAction* action);
// A mark as the settings file stores it: "True" or "False".
QString markText(bool on);

} // namespace ui

#pragma once
// ABOUTBOX: the program's name, the system it belongs to, its version, what it
// does and how to reach its maker, in a small modal box.
#include <QString>

class QWidget;

namespace velmont::commands {

// Shows the box over `mainWindow` until Enter, Esc or "OK" closes it, then
// gives the focus back to the main window. Returns true.
bool ABOUTBOX(const QString& version, QWidget* mainWindow);

}  // namespace velmont::commands

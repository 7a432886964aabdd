#pragma once

#include <QIcon>

// The program's windows' icon: the launcher's picture (256 pixels, for file managers and menus)
// scaled to the sizes title bars, task bars and window switchers show, 16 to 64 pixels (a task
// bar on a screen scaled twice). Handed the launcher's picture itself, every window would give
// the window system, and the program keep, sixteen times the pixels of the largest size shown.
QIcon programIcon();

#pragma once

#include <QIcon>
#include <QList>

// The sizes the program's windows offer their icon in: what title bars, task bars and window
// switchers show, up to a task bar on a screen scaled twice. Menus and file managers show the
// launcher's own picture.
inline const QList<int> ProgramIconSides = {16, 24, 32, 48, 64};

// The program's windows' icon: the launcher's picture (256 pixels, for file managers and menus)
// scaled to ProgramIconSides. Handed the launcher's picture itself, every window would give the
// window system, and the program keep, four times the pixels of the largest size shown.
QIcon programIcon();

#pragma once

#include <QtGlobal>

// Lets the program of process pid (0 when it is not known: any program) bring its window to the
// front. Windows gives the foreground only to the program the user last worked with, which a
// second start is, and which then hands it on to the running program before asking it forward;
// other systems leave that to the window manager.
void allowToComeForward(qint64 pid);

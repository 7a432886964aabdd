#pragma once

#include <Qt>

class QWidget;

// Brings a minimised top-level window back in shownState, the state it had before it was
// minimised (maximised, full screen or normal). Each platform's own: on X11 the window manager
// is asked to, as a task bar asks it, so that it keeps the window's maximised state.
void restoreMinimised(QWidget& window, Qt::WindowStates shownState);

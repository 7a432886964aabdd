#include "ui/restore_minimised.h"

#include <QWidget>

void restoreMinimised(QWidget& window, Qt::WindowStates shownState)
{
    // Windows restores a minimised window to the size and place it had, maximised included.
    window.setWindowState(shownState);
}

#include "ui/bring_to_front.h"

#include <QApplication>
#include <QWidget>

void bringToFront(QWidget& window)
{
    if (window.isMinimized())
        window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.show();
    window.raise();
    window.activateWindow();
    // A question or the settings the operator left open comes up with it, as it holds the
    // keyboard for the draw screen.
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal != &window) {
        modal->raise();
        modal->activateWindow();
    }
}

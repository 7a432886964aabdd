#include "ui/window_raiser.h"

#include "ui/restore_minimised.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

WindowRaiser::WindowRaiser(QWidget& window)
    : QObject(&window), window_(window), shownState_(window.windowState() & ~Qt::WindowMinimized)
{
    window.installEventFilter(this);
}

bool WindowRaiser::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &window_ && event->type() == QEvent::WindowStateChange &&
        !(window_.windowState() & Qt::WindowMinimized))
        shownState_ = window_.windowState() & ~Qt::WindowActive;
    return QObject::eventFilter(watched, event);
}

void WindowRaiser::bringToFront()
{
    if (window_.isMinimized())
        restoreMinimised(window_, shownState_);
    window_.show();
    window_.raise();
    window_.activateWindow();
    // A question or the settings left open come up with it: they hold the keyboard for it.
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal != &window_) {
        modal->raise();
        modal->activateWindow();
    }
}

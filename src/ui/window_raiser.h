#pragma once

#include <QObject>

class QWidget;

// Brings a top-level window to the front when asked: shown as it was last shown (maximised,
// full screen or normal; no longer minimised), raised above other programs' windows, active
// and with the keyboard. A dialog the program is waiting on stays in front of it.
class WindowRaiser : public QObject
{
    Q_OBJECT
public:
    // Follows the window's state from now on; lives as long as the window.
    explicit WindowRaiser(QWidget& window);

    void bringToFront();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& window_;
    // Minimised, the window system reports no more than that: the state to return to is the
    // last one seen before.
    Qt::WindowStates shownState_;
};

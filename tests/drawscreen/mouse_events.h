#pragma once

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

// Sends one mouse event to an element as the window system would deliver it.
inline void sendMouse(QWidget* target, QEvent::Type type, QPoint at, Qt::MouseButton button,
                      Qt::MouseButtons held)
{
    QMouseEvent event(type, QPointF(at), QPointF(target->mapToGlobal(at)), button, held,
                      Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

inline void press(QWidget* w, QPoint at, Qt::MouseButton b = Qt::LeftButton)
{
    sendMouse(w, QEvent::MouseButtonPress, at, b, b);
}
inline void moveHolding(QWidget* w, QPoint at, Qt::MouseButtons held = Qt::LeftButton)
{
    sendMouse(w, QEvent::MouseMove, at, Qt::NoButton, held);
}
inline void release(QWidget* w, QPoint at, Qt::MouseButton b = Qt::LeftButton)
{
    sendMouse(w, QEvent::MouseButtonRelease, at, b, Qt::NoButton);
}

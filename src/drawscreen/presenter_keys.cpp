#include "drawscreen/presenter_keys.h"

bool isStartButtonKey(int key)
{
    return key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter;
}

PresenterAction presenterAction(int key, Qt::KeyboardModifiers modifiers, bool blackedOut)
{
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return PresenterAction::None;
    switch (key) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_PageDown:
    case Qt::Key_Right:
    case Qt::Key_Down:
        return blackedOut ? PresenterAction::Swallow : PresenterAction::Start;
    case Qt::Key_PageUp:
    case Qt::Key_Left:
    case Qt::Key_Up:
        return PresenterAction::Swallow;
    case Qt::Key_B:
    case Qt::Key_Period:
        return PresenterAction::ToggleBlackOut;
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
        return blackedOut ? PresenterAction::Swallow : PresenterAction::TakeBack;
    case Qt::Key_Escape:
        return blackedOut ? PresenterAction::EndBlackOut : PresenterAction::None;
    default:
        return PresenterAction::None;
    }
}

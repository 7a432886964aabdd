#pragma once

#include <Qt>

// What a key does on the draw screen, whichever of its elements has the focus. A presenter
// remote sends Page Down or Right/Down for "next", Page Up or Left/Up for "back", and "B" or
// "." to black the screen.
enum class PresenterAction
{
    None,           // not a key of the draw screen: it goes where it would have gone
    Start,          // what the start key does: start a spin, or stop a stop-by-key spin
    Swallow,        // taken and dropped
    ToggleBlackOut, // black the whole screen, or bring it back
    EndBlackOut,    // bring the blacked-out screen back
    TakeBack,       // ask to take the latest draw back (Delete, Backspace: never a remote's)
};

// The action of key with modifiers, the screen being blacked out or not. While black, the keys
// that start a spin or take a draw back are dropped; keys held with Ctrl, Alt or Meta are never the
// draw screen's.
PresenterAction presenterAction(int key, Qt::KeyboardModifiers modifiers, bool blackedOut);

// Space and Enter: the start button's own keys, which it takes while it has the focus.
bool isStartButtonKey(int key);

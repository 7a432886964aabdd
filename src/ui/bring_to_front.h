#pragma once

class QWidget;

// Brings a top-level window to the front as it was before (maximised, full screen or normal,
// only no longer minimised), raised above other programs' windows, active and with the
// keyboard. A dialog the program is waiting on stays in front of it and gets the keyboard.
void bringToFront(QWidget& window);

#pragma once

#include <QColor>
#include <cstdint>

// Colours are stored as 0x00BBGGRR: red in the lowest byte, 255 red, 16777215 white.
// Bits above the 24 colour bits do not change the colour shown.
QColor colourFromValue(int32_t value);
int32_t valueFromColour(const QColor& colour);

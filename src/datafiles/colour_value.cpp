#include "datafiles/colour_value.h"

QColor colourFromValue(int32_t value)
{
    const auto bits = static_cast<uint32_t>(value);
    return QColor(static_cast<int>(bits & 0xFF), static_cast<int>((bits >> 8) & 0xFF),
                  static_cast<int>((bits >> 16) & 0xFF));
}

int32_t valueFromColour(const QColor& colour)
{
    const QColor rgb = colour.toRgb();
    return static_cast<int32_t>(static_cast<uint32_t>(rgb.red()) |
                                static_cast<uint32_t>(rgb.green()) << 8 |
                                static_cast<uint32_t>(rgb.blue()) << 16);
}

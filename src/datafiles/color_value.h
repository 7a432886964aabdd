#pragma once

#include <QColor>
#include <cstdint>

// Colours are stored as signed 32-bit values 0x00BBGGRR: 255 is red, 16777215 white.
inline QColor colorFromValue(int32_t value)
{
    const auto v = static_cast<uint32_t>(value);
    return QColor(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF);
}

inline int32_t valueFromColor(const QColor& color)
{
    return static_cast<int32_t>(static_cast<uint32_t>(color.red()) |
                                (static_cast<uint32_t>(color.green()) << 8) |
                                (static_cast<uint32_t>(color.blue()) << 16));
}

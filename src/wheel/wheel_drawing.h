#pragma once

#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>
#include <array>

// What the drawn wheel carries: each slot's name (index 0 for slot 1) and, optionally, its
// picture, and the family its names are set in.
struct WheelContent
{
    std::array<QString, 8> names;
    std::array<QImage, 8> pictures; // null: none on that sector
    QString fontFamily;

    bool operator==(const WheelContent& other) const;
    bool operator!=(const WheelContent& other) const { return !(*this == other); }
};

// The face colour of slot (1 to 8): red, gold, crimson and orange in turn, so neighbours
// always differ clearly.
QColor faceColour(int slot);
// The colour a name is set in on a face: whichever of a dark and a light ink stands out more.
QColor nameColourOn(const QColor& face);

// The whole wheel at pixels: rim, faces with their edges exactly those of the sector table,
// the names fitted to their sectors, the pictures upright between the hub and the names, and
// the hub. Transparent outside the disc.
QImage drawWheel(QSize pixels, const WheelContent& content);

// The wheel as a screen reader reads it: the names in slot order, each after its slot number.
QString describeWheel(const std::array<QString, 8>& names);

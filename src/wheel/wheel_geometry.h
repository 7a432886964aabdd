#pragma once

#include "draw/sector_table.h"
#include "wheel/name_fit.h"

#include <QPointF>
#include <QRectF>
#include <QSize>

// Where the parts of the drawn wheel lie in a picture of a given size, in its pixels: the disc
// centred in it, with the proportions of the shipped wheel picture, so the pointer's needle
// ends inside the ring the names stand in.
class WheelGeometry
{
public:
    explicit WheelGeometry(QSize pixels);

    QPointF centre() const { return centre_; }
    double outer() const { return outer_; }       // the disc's edge
    double rimInner() const { return rimInner_; } // the gold rim from here outwards
    double face() const { return face_; }         // the coloured sectors end here
    double hub() const { return hub_; }
    // One pixel of the shipped wheel's 545 × 529 layout, in this picture's pixels.
    double unit() const { return unit_; }

    // The room of each slot's name and picture, in the frame turned so the slot's middle is
    // straight up (see sectorFrameAngle).
    NameBox nameBox(int slot) const;
    // The largest upright square inside slot's sector between the hub and its name, in the
    // picture's own frame; empty when none fits.
    QRectF pictureBox(int slot) const;
    // Names on the lower half are turned round to read upright.
    static bool nameFlipped(int slot);

    // Which slot's face holds point (1 to 8), or 0 off the face (the rim, the hub, outside).
    int slotAt(QPointF point) const;

private:
    QPointF centre_;
    double outer_ = 0;
    double rimInner_ = 0;
    double face_ = 0;
    double hub_ = 0;
    double unit_ = 1;
};

// The span of slot (1 to 8), from the sector table.
SectorSpan slotSpan(int slot);

// The point radius from centre in the direction degrees turned clockwise from straight up.
QPointF atBearing(QPointF centre, double radius, double degrees);

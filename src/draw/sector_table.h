#pragma once

#include <array>

// The wheel's eight prize slots as ranges of degrees turned clockwise from the top, both ends
// inclusive. Slot 1 also owns 339 to 359, the stretch left of the top. The widths are uneven
// on purpose: they follow the shipped wheel picture.
struct Sector
{
    int slot;
    int first;
    int last;
};

inline constexpr std::array<Sector, 8> Sectors = {{
    {1, 0, 25},
    {2, 26, 70},
    {3, 71, 113},
    {4, 114, 157},
    {5, 158, 203},
    {6, 204, 247},
    {7, 248, 293},
    {8, 294, 338},
}};

// The slot (1 to 8) whose sector holds c, for c from 0 to 359.
int prizeSlotForDegrees(int c);

// A sector as the wheel draws it, in degrees clockwise from the top (from < to): each edge lies
// halfway between the last whole degree of one slot and the first of the next, so slot 1 runs
// from -20.5 to 25.5, over the top.
struct SectorSpan
{
    double from;
    double to;
    double middle() const { return (from + to) / 2; }
    double width() const { return to - from; }
};
SectorSpan sectorSpan(const Sector& sector);

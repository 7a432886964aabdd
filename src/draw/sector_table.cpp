#include "draw/sector_table.h"

int prizeSlotForDegrees(int c)
{
    for (const Sector& sector : Sectors)
        if (c >= sector.first && c <= sector.last)
            return sector.slot;
    return 1; // 339 to 359
}

SectorSpan sectorSpan(const Sector& sector)
{
    const int first = sector.slot == 1 ? Sectors.back().last + 1 - 360 : sector.first;
    return {first - 0.5, sector.last + 0.5};
}

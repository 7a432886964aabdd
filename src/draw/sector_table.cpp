#include "draw/sector_table.h"

int prizeSlotForDegrees(int c)
{
    for (const Sector& sector : Sectors)
        if (c >= sector.first && c <= sector.last)
            return sector.slot;
    return 1; // 339 to 359
}

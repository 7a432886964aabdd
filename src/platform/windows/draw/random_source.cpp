#include "draw/random_source.h"

#include <windows.h>

uint32_t highResolutionClockLow32()
{
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<uint32_t>(counter.LowPart);
}

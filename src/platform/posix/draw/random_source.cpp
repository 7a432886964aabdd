#include "draw/random_source.h"

#include <chrono>

uint32_t highResolutionClockLow32()
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count());
}

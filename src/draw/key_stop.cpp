#include "draw/key_stop.h"

#include <cmath>

int64_t quotaKeyStopDistance(int32_t entry, long double origin)
{
    const int64_t remainder = std::llabs(static_cast<int64_t>(entry)) % 360;
    const auto from = static_cast<int64_t>(std::ceil(std::fabs(origin))) +
                      static_cast<int64_t>(QuotaKeyStopTurns) * 360;
    // The remainder within the turn that holds `from`, or within the next turn when that
    // falls short of it.
    int64_t distance = (from / 360) * 360 + remainder;
    if (distance < from)
        distance += 360;
    return distance;
}

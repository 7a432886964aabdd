#include "draw/spin_rules.h"

#include "datafiles/integer_conversion.h"
#include "draw/sector_table.h"

#include <cstdio>
#include <cstdlib>

QByteArray shortestDecimalText(long double angle)
{
    // The fewest significant digits that read back as the same value; "%Lg" would switch to
    // an exponent for numbers like -20000 at low precision, so whole numbers print plainly.
    char buffer[64];
    if (angle == static_cast<long double>(static_cast<long long>(angle)) && angle > -1e18L &&
        angle < 1e18L) {
        std::snprintf(buffer, sizeof buffer, "%lld", static_cast<long long>(angle));
        return buffer;
    }
    for (int precision = 1; precision <= 21; ++precision) {
        std::snprintf(buffer, sizeof buffer, "%.*Lg", precision, angle);
        if (std::strtold(buffer, nullptr) == angle)
            break;
    }
    return buffer;
}

int prizeSlotForAngle(long double angle)
{
    const int64_t whole = parseInteger(shortestDecimalText(angle));
    const int c = static_cast<int>((whole < 0 ? -whole : whole) % 360);
    return prizeSlotForDegrees(c);
}

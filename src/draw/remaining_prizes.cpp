#include "draw/remaining_prizes.h"

#include "draw/sector_table.h"

#include <cstdlib>

QString prizesLeftText(int count)
{
    return QStringLiteral("剩%1").arg(count);
}

std::array<int, 8> remainingPerSlot(const QList<int32_t>& pool)
{
    std::array<int, 8> counts{};
    for (const int32_t entry : pool) {
        // Widened first: the magnitude of the smallest 32-bit value does not fit in 32 bits.
        const auto degrees = static_cast<int>(std::llabs(static_cast<long long>(entry)) % 360);
        ++counts[static_cast<size_t>(prizeSlotForDegrees(degrees) - 1)];
    }
    return counts;
}

#include "settings/pool_generator.h"

#include "drawscreen/random_source.h"
#include "drawscreen/sector_table.h"

QList<int32_t> generatePool(const PrizeQuantities& quantities, RandomSource& random)
{
    static_assert(std::tuple_size<PrizeQuantities>::value == Sectors.size());
    QList<int32_t> pool;
    for (size_t i = 0; i < Sectors.size(); ++i) {
        const Sector& sector = Sectors[i];
        for (int32_t n = 0; n < quantities[i]; ++n) {
            // A fresh seed per entry: the draw screen's picks must not be predictable from
            // one another.
            random.reseed();
            const int32_t turns = random.inRange(PoolFirstTurns, PoolTurnsEnd);
            const int32_t offset = random.inRange(sector.first, sector.last);
            pool.append(turns * 360 + offset);
        }
    }
    return pool;
}

QByteArray poolFileBytes(const QList<int32_t>& pool)
{
    QByteArray bytes;
    bytes.reserve(pool.size() * 7);
    for (const int32_t entry : pool) {
        bytes.append(QByteArray::number(entry));
        bytes.append("\r\n");
    }
    return bytes;
}

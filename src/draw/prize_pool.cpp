#include "draw/prize_pool.h"

#include "draw/sector_table.h"
#include "datafiles/integer_conversion.h"
#include "datafiles/text_file.h"

PoolText parsePoolText(const QByteArray& text)
{
    PoolText pool;
    for (const QByteArray& line : splitLines(text)) {
        // Blank means nothing but spaces and control characters, as a trimmed line reads.
        bool blank = true;
        for (const char c : line)
            blank = blank && static_cast<unsigned char>(c) <= ' ';
        if (blank)
            continue;
        if (const auto value = tryParseInteger(line))
            pool.entries.append(*value);
        else
            pool.refusals.append(integerConversionMessage(line));
    }
    return pool;
}

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

QByteArray makePoolFile(const PrizeQuantities& quantities, RandomSource random)
{
    return poolFileBytes(generatePool(quantities, random));
}

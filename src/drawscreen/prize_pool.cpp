#include "drawscreen/prize_pool.h"

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

// The prize pool text: every non-blank line becomes exactly one entry or one refusal, in the
// order of the lines, and an entry is the value the line converts to.

#include "datafiles/integer_conversion.h"
#include "datafiles/text_file.h"
#include "draw/prize_pool.h"

#include <QByteArray>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void fail(const char* what, const QByteArray& text)
{
    std::fprintf(stderr, "pool loader: %s for %s\n", what, text.toHex().constData());
    std::abort();
}

bool blank(const QByteArray& line)
{
    // Nothing but spaces and control characters.
    return std::all_of(line.begin(), line.end(), [](char c) { return uchar(c) <= ' '; });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray text(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const PoolText pool = parsePoolText(text);

    qsizetype nonBlank = 0;
    qsizetype entry = 0;
    qsizetype refusal = 0;
    for (const QByteArray& line : splitLines(text)) {
        if (blank(line))
            continue;
        ++nonBlank;
        if (const auto value = tryParseInteger(line)) {
            if (entry >= pool.entries.size() || pool.entries[entry] != *value)
                fail("an accepted line is missing from the entries", text);
            ++entry;
        } else {
            if (refusal >= pool.refusals.size() ||
                pool.refusals[refusal] != integerConversionMessage(line))
                fail("a refused line is missing from the refusals", text);
            ++refusal;
        }
    }
    if (pool.entries.size() + pool.refusals.size() > nonBlank)
        fail("more entries and refusals than non-blank lines", text);
    if (entry != pool.entries.size() || refusal != pool.refusals.size())
        fail("entries or refusals that no line gave", text);
    return 0;
}

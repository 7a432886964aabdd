// Integer conversion against a reference written from the rules (leading blanks, a sign,
// "$" or "0x" for hexadecimal, digits to the end, the signed 32-bit range), and a round trip:
// an accepted value printed again in decimal and in hexadecimal converts back to itself.

#include "datafiles/app_error.h"
#include "datafiles/integer_conversion.h"

#include <QByteArray>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {

[[noreturn]] void fail(const char* what, const QByteArray& text)
{
    std::fprintf(stderr, "integer conversion: %s for \"%s\"\n", what, text.toHex().constData());
    std::abort();
}

int digitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return 99;
}

std::optional<int32_t> reference(const QByteArray& text)
{
    QByteArray rest = text;
    while (rest.startsWith(' '))
        rest.remove(0, 1);
    bool negative = false;
    if (rest.startsWith('-') || rest.startsWith('+')) {
        negative = rest[0] == '-';
        rest.remove(0, 1);
    }
    int base = 10;
    if (rest.startsWith('$')) {
        base = 16;
        rest.remove(0, 1);
    } else if (rest.startsWith("0x") || rest.startsWith("0X")) {
        base = 16;
        rest.remove(0, 2);
    }
    if (rest.isEmpty())
        return std::nullopt;
    // Leading zeros may make the text arbitrarily long; only the significant digits can overflow.
    __int128 magnitude = 0;
    for (const char c : rest) {
        const int d = digitValue(c);
        if (d >= base)
            return std::nullopt;
        magnitude = magnitude * base + d;
        if (magnitude > (__int128(1) << 40))
            return std::nullopt;
    }
    const __int128 value = negative ? -magnitude : magnitude;
    if (value < INT32_MIN || value > INT32_MAX)
        return std::nullopt;
    return static_cast<int32_t>(value);
}

QByteArray hexText(int32_t value)
{
    const int64_t wide = value;
    const QByteArray digits = QByteArray::number(qlonglong(wide < 0 ? -wide : wide), 16);
    return (wide < 0 ? "-0x" : "0x") + digits;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray text(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const std::optional<int32_t> got = tryParseInteger(text);
    const std::optional<int32_t> expected = reference(text);
    if (got.has_value() != expected.has_value())
        fail(got ? "accepted a text the rules refuse" : "refused a valid text", text);
    if (got && *got != *expected)
        fail("wrong value", text);

    try {
        const int32_t value = parseInteger(text);
        if (!got || value != *got)
            fail("parseInteger disagrees with tryParseInteger", text);
    } catch (const AppError& error) {
        if (got)
            fail("parseInteger refused an accepted text", text);
        if (error.message() != integerConversionMessage(text))
            fail("wrong refusal message", text);
    }

    if (got) {
        const QByteArray decimal = QByteArray::number(*got);
        if (tryParseInteger(decimal) != got)
            fail("decimal round trip", text);
        if (tryParseInteger(hexText(*got)) != got)
            fail("hexadecimal round trip", text);
        if (tryParseInteger("  " + decimal) != got)
            fail("leading blanks changed the value", text);
    }
    return 0;
}

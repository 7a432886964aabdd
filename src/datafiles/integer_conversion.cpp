#include "datafiles/integer_conversion.h"

#include "datafiles/app_error.h"
#include "datafiles/gbk.h"

std::optional<int32_t> tryParseInteger(const QByteArray& text)
{
    int i = 0;
    const int n = text.size();
    while (i < n && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < n && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < n && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= n)
        return std::nullopt;

    // The magnitude may reach 2^31 for a negative number; anything larger is out of range.
    const int64_t limit = negative ? int64_t(1) << 31 : (int64_t(1) << 31) - 1;
    int64_t value = 0;
    for (; i < n; ++i) {
        const char c = text[i];
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return std::nullopt;
        value = value * base + digit;
        if (value > limit)
            return std::nullopt;
    }
    return static_cast<int32_t>(negative ? -value : value);
}

QString integerConversionMessage(const QByteArray& text)
{
    return QStringLiteral("'%1' is not a valid integer value").arg(fromGbk(text));
}

int32_t parseInteger(const QByteArray& text)
{
    if (const auto value = tryParseInteger(text))
        return *value;
    throw AppError(integerConversionMessage(text));
}

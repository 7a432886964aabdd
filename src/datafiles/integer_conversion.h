#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>

// Settings values and list lines become integers this way: optional leading blanks, an
// optional sign, decimal digits ("$" or "0x" makes them hexadecimal) to the end of the text,
// within the signed 32-bit range. Anything else, the empty text included, is refused.
std::optional<int32_t> tryParseInteger(const QByteArray& text);

// The message that refuses text: "'<text>' is not a valid integer value".
QString integerConversionMessage(const QByteArray& text);

// As tryParseInteger, but a refused text raises AppError "'<text>' is not a valid integer value".
int32_t parseInteger(const QByteArray& text);

#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The text of one two-byte GBK character at pair, or nothing when the two bytes are none.
std::optional<QString> gbkPairText(const char* pair);

// The GBK bytes of one character (one code point, a surrogate pair included), or nothing when
// GBK cannot hold it.
// Each platform converts through its own GBK tables; the rules around them are shared.
std::optional<QByteArray> gbkCharacterBytes(const QString& ch);

#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The GBK bytes of one character (one code point, a surrogate pair included), or nothing when
// GBK cannot hold it. Each platform converts through its own GBK tables.
std::optional<QByteArray> gbkCharacterBytes(const QString& ch);

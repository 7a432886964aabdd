#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Text on disk is GBK (code page 936). These convert at the edge between the files and the
// widgets; everything in between keeps the bytes.

// Undecodable bytes become U+FFFD.
QString fromGbk(const QByteArray& bytes);

// Characters GBK cannot hold become "?".
QByteArray toGbk(const QString& text);

// The first character of text that GBK cannot hold, if any.
std::optional<QString> firstNonGbkCharacter(const QString& text);

// True when byte b starts a two-byte GBK character.
inline bool isGbkLeadByte(unsigned char b)
{
    return b >= 0x81 && b <= 0xFE;
}

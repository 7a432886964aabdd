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

// A text saved by another editor, in the GBK the rest of the program works in: a text that
// starts with a UTF-8 byte-order mark, or is valid UTF-8 holding a character above U+07FF
// (where GBK and UTF-8 texts no longer look alike), is decoded as UTF-8 and re-encoded;
// anything else is GBK already and comes back unchanged.
QByteArray asGbkText(const QByteArray& bytes);

// True when byte b starts a two-byte GBK character.
inline bool isGbkLeadByte(unsigned char b)
{
    return b >= 0x81 && b <= 0xFE;
}

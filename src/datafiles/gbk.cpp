#include "datafiles/gbk.h"

#include "datafiles/gbk_character.h"

#include <QStringDecoder>
#include <algorithm>

QString fromGbk(const QByteArray& bytes)
{
    QString result;
    result.reserve(bytes.size());
    // Character by character: a byte that starts no valid character becomes U+FFFD.
    const char* data = bytes.constData();
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        const unsigned char b = static_cast<unsigned char>(data[i]);
        if (b < 0x80) {
            result.append(QChar(b));
            ++i;
            continue;
        }
        const std::optional<QString> text =
            isGbkLeadByte(b) && i + 1 < n ? gbkPairText(data + i) : std::nullopt;
        if (text) {
            result.append(*text);
            i += 2;
        } else {
            result.append(QChar(0xFFFD));
            ++i;
        }
    }
    return result;
}

// Walks text one code point at a time, giving each to visit as a QString.
template <typename Visit> static void forEachCodePoint(const QString& text, Visit visit)
{
    for (int i = 0; i < text.size();) {
        const int width = (text[i].isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
        if (!visit(text.mid(i, width)))
            return;
        i += width;
    }
}

QByteArray toGbk(const QString& text)
{
    QByteArray out;
    out.reserve(text.size() * 2);
    forEachCodePoint(text, [&](const QString& ch) {
        if (ch.size() == 1 && ch[0].unicode() < 0x80) {
            out.append(static_cast<char>(ch[0].unicode()));
        } else if (const auto bytes = gbkCharacterBytes(ch)) {
            out.append(*bytes);
        } else {
            out.append('?');
        }
        return true;
    });
    return out;
}

std::optional<QString> firstNonGbkCharacter(const QString& text)
{
    std::optional<QString> bad;
    forEachCodePoint(text, [&](const QString& ch) {
        if (ch.size() == 1 && ch[0].unicode() < 0x80)
            return true;
        if (!gbkCharacterBytes(ch)) {
            bad = ch;
            return false;
        }
        return true;
    });
    return bad;
}

QByteArray asGbkText(const QByteArray& bytes)
{
    const bool bom = bytes.startsWith("\xEF\xBB\xBF");
    if (!bom && std::all_of(bytes.begin(), bytes.end(), [](char c) { return c >= 0; }))
        return bytes; // plain ASCII reads the same either way
    // Checked before decoding, as the check stops at the first byte that is no UTF-8: a GBK
    // file of any length is then told in the time of its first Chinese character.
    if (!QByteArrayView(bytes).isValidUtf8())
        return bytes;
    QStringDecoder decoder(QStringConverter::Utf8); // drops the byte-order mark
    const QString text = decoder(bytes);
    if (decoder.hasError())
        return bytes;
    if (!bom && std::none_of(text.begin(), text.end(), [](QChar c) { return c.unicode() > 0x7FF; }))
        return bytes;
    return toGbk(text);
}

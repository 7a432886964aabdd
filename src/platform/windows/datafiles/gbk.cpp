#include "datafiles/gbk.h"

#include <windows.h>

// GBK is the system's code page 936; MB_ERR_INVALID_CHARS and the used-default flag say
// where a conversion fails, so the rules match those of the other platforms.
static constexpr UINT Gbk = 936;

QString fromGbk(const QByteArray& bytes)
{
    QString result;
    result.reserve(bytes.size());
    const char* data = bytes.constData();
    const int n = int(bytes.size());
    int i = 0;
    while (i < n) {
        const unsigned char b = static_cast<unsigned char>(data[i]);
        if (b < 0x80) {
            result.append(QChar(b));
            ++i;
            continue;
        }
        // Character by character: a byte that starts no valid character becomes U+FFFD.
        wchar_t out[2];
        const int got = (isGbkLeadByte(b) && i + 1 < n)
                            ? MultiByteToWideChar(Gbk, MB_ERR_INVALID_CHARS, data + i, 2, out, 2)
                            : 0;
        if (got > 0) {
            result.append(QString::fromWCharArray(out, got));
            i += 2;
        } else {
            result.append(QChar(0xFFFD));
            ++i;
        }
    }
    return result;
}

static std::optional<QByteArray> encodeChar(const QString& ch)
{
    char out[8];
    BOOL usedDefault = FALSE;
    const int got =
        WideCharToMultiByte(Gbk, WC_NO_BEST_FIT_CHARS, reinterpret_cast<const wchar_t*>(ch.utf16()),
                            int(ch.size()), out, sizeof out, nullptr, &usedDefault);
    if (got <= 0 || usedDefault)
        return std::nullopt;
    return QByteArray(out, got);
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
        } else if (const auto bytes = encodeChar(ch)) {
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
        if (!encodeChar(ch)) {
            bad = ch;
            return false;
        }
        return true;
    });
    return bad;
}

#include "datafiles/gbk.h"
#include "datafiles/gbk_character.h"

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

std::optional<QByteArray> gbkCharacterBytes(const QString& ch)
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

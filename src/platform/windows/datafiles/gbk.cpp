#include "datafiles/gbk.h"
#include "datafiles/gbk_character.h"

#include <windows.h>

// GBK is the system's code page 936; MB_ERR_INVALID_CHARS and the used-default flag say
// where a conversion fails, so the rules match those of the other platforms.
static constexpr UINT Gbk = 936;

std::optional<QString> gbkPairText(const char* pair)
{
    wchar_t out[2];
    const int got = MultiByteToWideChar(Gbk, MB_ERR_INVALID_CHARS, pair, 2, out, 2);
    if (got <= 0)
        return std::nullopt;
    return QString::fromWCharArray(out, got);
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

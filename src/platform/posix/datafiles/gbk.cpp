#include "datafiles/gbk.h"

#include <QStringDecoder>
#include <algorithm>
#include <cerrno>
#include <iconv.h>

namespace {

// iconv's handle, opened for one conversion and closed after it.
class Converter
{
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter()
    {
        if (valid())
            iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts one unit starting at *in; returns false when the input there is not convertible.
    bool step(char** in, size_t* inLeft, QByteArray* out)
    {
        char buffer[16];
        char* outPtr = buffer;
        size_t outLeft = sizeof buffer;
        const size_t result = iconv(cd_, in, inLeft, &outPtr, &outLeft);
        out->append(buffer, static_cast<int>(outPtr - buffer));
        return result != static_cast<size_t>(-1) || errno == E2BIG;
    }

    // Forgets any shift state a failed conversion left behind.
    void reset()
    {
        if (valid())
            iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    }

private:
    iconv_t cd_;
};

// Opening a converter costs far more than converting a name, so each thread keeps one of each.
Converter& decoder()
{
    thread_local Converter conv("UTF-16LE", "GBK");
    conv.reset();
    return conv;
}

Converter& encoder()
{
    thread_local Converter conv("GBK", "UTF-16LE");
    conv.reset();
    return conv;
}

} // namespace

QString fromGbk(const QByteArray& bytes)
{
    QString result;
    result.reserve(bytes.size());
    Converter& conv = decoder();
    if (!conv.valid())
        return QString::fromLatin1(bytes);
    // Decode character by character: a byte that starts no valid character becomes U+FFFD.
    const char* data = bytes.constData();
    const int n = bytes.size();
    int i = 0;
    while (i < n) {
        const unsigned char b = static_cast<unsigned char>(data[i]);
        if (b < 0x80) {
            result.append(QChar(b));
            ++i;
            continue;
        }
        const int width = (isGbkLeadByte(b) && i + 1 < n) ? 2 : 1;
        char* in = const_cast<char*>(data + i);
        size_t inLeft = static_cast<size_t>(width);
        QByteArray out;
        if (width == 2 && conv.step(&in, &inLeft, &out) && inLeft == 0 && out.size() >= 2) {
            result.append(QString::fromUtf16(reinterpret_cast<const char16_t*>(out.constData()),
                                             out.size() / 2));
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
    Converter& conv = encoder();
    if (!conv.valid())
        return std::nullopt;
    QByteArray in(reinterpret_cast<const char*>(ch.utf16()), ch.size() * 2);
    char* ptr = in.data();
    size_t left = static_cast<size_t>(in.size());
    QByteArray out;
    if (!conv.step(&ptr, &left, &out) || left != 0)
        return std::nullopt;
    return out;
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

QByteArray asGbkText(const QByteArray& bytes)
{
    const bool bom = bytes.startsWith("\xEF\xBB\xBF");
    if (!bom && std::all_of(bytes.begin(), bytes.end(), [](char c) { return c >= 0; }))
        return bytes;                               // plain ASCII reads the same either way
    QStringDecoder decoder(QStringConverter::Utf8); // drops the byte-order mark
    const QString text = decoder(bytes);
    if (decoder.hasError())
        return bytes;
    if (!bom && std::none_of(text.begin(), text.end(), [](QChar c) { return c.unicode() > 0x7FF; }))
        return bytes;
    return toGbk(text);
}

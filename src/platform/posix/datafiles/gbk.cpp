#include "datafiles/gbk.h"
#include "datafiles/gbk_character.h"

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

std::optional<QString> gbkPairText(const char* pair)
{
    Converter& conv = decoder();
    if (!conv.valid())
        return std::nullopt;
    char* in = const_cast<char*>(pair);
    size_t inLeft = 2;
    QByteArray out;
    if (!conv.step(&in, &inLeft, &out) || inLeft != 0 || out.size() < 2)
        return std::nullopt;
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(out.constData()), out.size() / 2);
}

std::optional<QByteArray> gbkCharacterBytes(const QString& ch)
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

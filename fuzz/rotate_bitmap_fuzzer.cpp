// The picture turn over small pictures of every size and any finite angle: the result has the
// size the 16.16 fixed-point factors give, holds only source pixels and background, and a
// turn by a multiple of 90 degrees moves every source pixel to exactly its one place.

#include "rotatingimage/rotate_bitmap.h"

#include <QImage>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>
#include <vector>

namespace {

constexpr long double Pi = 3.141592653589793238462643383279502884L;

[[noreturn]] void fail(const char* what, int width, int height, long double angle)
{
    std::fprintf(stderr, "rotate bitmap: %s (%dx%d, angle %.21Lg)\n", what, width, height, angle);
    std::abort();
}

// The reduction by whole turns, step by step; exact for the angles used here.
long double reduced(long double angle)
{
    while (angle > 180)
        angle -= 360;
    while (angle < -180)
        angle += 360;
    return angle;
}

// Pixel values all differ and are opaque, so every format keeps them as they are.
QRgb pixelValue(int index)
{
    return 0xff000000u | uint32_t(index * 2654435761u >> 8 & 0xfff000u) | uint32_t(index);
}

int sourceIndex(QRgb value, int count)
{
    const int index = int(value & 0xfffu);
    return index < count && pixelValue(index) == value ? index : -1;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const int width = in.ConsumeIntegralInRange<int>(1, 64);
    const int height = in.ConsumeIntegralInRange<int>(1, 64);
    static const QImage::Format formats[] = {QImage::Format_ARGB32, QImage::Format_RGB32,
                                             QImage::Format_ARGB32_Premultiplied,
                                             QImage::Format_RGB888};
    const QImage::Format format = formats[in.ConsumeIntegralInRange<int>(0, 3)];
    long double angle = 0;
    switch (in.ConsumeIntegralInRange<int>(0, 2)) {
    case 0: // quarter turns
        angle = 90.0L * in.ConsumeIntegralInRange<int>(-11111, 11111);
        break;
    case 1: // whole degrees, as the spin produces
        angle = in.ConsumeIntegralInRange<int>(-1000000, 1000000);
        break;
    default:
        angle = in.ConsumeFloatingPointInRange<long double>(-1e6L, 1e6L);
        break;
    }
    // The background is transparent, so it can never be taken for a source pixel.
    const QRgb background = in.ConsumeIntegral<uint32_t>() & 0x00ffffffu;

    QImage source(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            source.setPixel(x, y, pixelValue(y * width + x));
    source = source.convertToFormat(format);

    const QImage turned = rotateBitmap(source, background, angle);

    const long double a = reduced(angle);
    const long double theta = -a * Pi / 180;
    const int32_t s = static_cast<int32_t>(std::sin(theta) * 65536.0L);
    const int32_t c = static_cast<int32_t>(std::cos(theta) * 65536.0L);
    const uint32_t absS = uint32_t(std::abs(s));
    const uint32_t absC = uint32_t(std::abs(c));
    const int32_t dw = int32_t(absC * uint32_t(width) + absS * uint32_t(height)) >> 16;
    const int32_t dh = int32_t(absS * uint32_t(width) + absC * uint32_t(height)) >> 16;
    if (dw <= 0 || dh <= 0) {
        if (turned.width() > 0 && turned.height() > 0)
            fail("a picture where the turned size is empty", width, height, angle);
        return 0;
    }
    if (turned.width() != dw || turned.height() != dh)
        fail("wrong size", width, height, angle);
    if (turned.format() != QImage::Format_ARGB32)
        fail("wrong format", width, height, angle);

    const int count = width * height;
    std::vector<int> seen(size_t(count), 0);
    for (int y = 0; y < dh; ++y) {
        for (int x = 0; x < dw; ++x) {
            const QRgb value = turned.pixel(x, y);
            const int index = sourceIndex(value, count);
            if (index < 0 && value != background)
                fail("a pixel that is neither source nor background", width, height, angle);
            if (index >= 0)
                ++seen[size_t(index)];
        }
    }

    const bool quarter = a == 0 || a == 90 || a == -90 || a == 180 || a == -180;
    if (!quarter)
        return 0;
    for (const int n : seen)
        if (n != 1)
            fail("a quarter turn that is not a permutation", width, height, angle);
    // Where each source pixel lands: a positive angle turns counter-clockwise on screen.
    for (int y = 0; y < dh; ++y) {
        for (int x = 0; x < dw; ++x) {
            int sx = x;
            int sy = y;
            if (a == 90) {
                sx = width - 1 - y;
                sy = x;
            } else if (a == -90) {
                sx = y;
                sy = height - 1 - x;
            } else if (a == 180 || a == -180) {
                sx = width - 1 - x;
                sy = height - 1 - y;
            }
            if (turned.pixel(x, y) != pixelValue(sy * width + sx))
                fail("a quarter turn put a pixel in the wrong place", width, height, angle);
        }
    }
    return 0;
}

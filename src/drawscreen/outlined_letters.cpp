#include "drawscreen/outlined_letters.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <vector>

QImage grownMask(const QImage& mask, qreal radius)
{
    const QImage source = mask.convertToFormat(QImage::Format_Alpha8);
    const int width = source.width();
    const int height = source.height();
    const int reach = std::max(0, static_cast<int>(std::lround(radius)));
    QImage grown(source.size(), QImage::Format_Alpha8);
    grown.fill(0);
    // A disc is a stack of rows: the row dy away reaches half(dy) pixels to either side.
    std::vector<int> half(static_cast<size_t>(2 * reach + 1));
    for (size_t row = 0; row < half.size(); ++row) {
        const double dy = double(row) - reach;
        half[row] =
            static_cast<int>(std::lround(std::sqrt(std::max(0.0, radius * radius - dy * dy))));
    }
    // Each source row spread sideways by 0 … reach pixels, one pixel more at each step, worked
    // out only from reach before its first covered pixel to reach after its last: beyond, all
    // is 0. Each spread row has a 0 on either side, so its neighbours need no test.
    const auto padded = static_cast<size_t>(width) + 2;
    std::vector<std::vector<uchar>> spread(static_cast<size_t>(reach + 1),
                                           std::vector<uchar>(padded, 0));
    for (int y = 0; y < height; ++y) {
        const uchar* row = source.constScanLine(y);
        const auto nonZero = [](uchar a) { return a != 0; };
        const uchar* firstInk = std::find_if(row, row + width, nonZero);
        if (firstInk == row + width)
            continue;
        const int lastInk = int(std::find_if(std::make_reverse_iterator(row + width),
                                             std::make_reverse_iterator(firstInk), nonZero)
                                    .base() -
                                row) -
                            1;
        const int low = std::max(0, int(firstInk - row) - reach);
        const int high = std::min(width - 1, lastInk + reach);
        const int span = high - low + 1;
        for (auto& level : spread) {
            level[static_cast<size_t>(low)] = 0; // the pads either side of the span
            level[static_cast<size_t>(high) + 2] = 0;
        }
        std::copy(row + low, row + high + 1, spread[0].begin() + low + 1);
        for (int k = 1; k <= reach; ++k) {
            const uchar* from = spread[static_cast<size_t>(k - 1)].data() + low + 1;
            uchar* to = spread[static_cast<size_t>(k)].data() + low + 1;
            for (int x = 0; x < span; ++x)
                to[x] = std::max(std::max(from[x - 1], from[x]), from[x + 1]);
        }
        for (int dy = -reach; dy <= reach; ++dy) {
            if (y + dy < 0 || y + dy >= height)
                continue;
            const uchar* from = spread[static_cast<size_t>(half[dy + reach])].data() + low + 1;
            uchar* to = grown.scanLine(y + dy) + low;
            for (int x = 0; x < span; ++x)
                to[x] = std::max(to[x], from[x]);
        }
    }
    return grown;
}

QImage outlinedLetters(const QImage& letters, qreal outline, const QColor& fill,
                       const QColor& outlineColour)
{
    const QImage inside = letters.convertToFormat(QImage::Format_Alpha8);
    const QImage around = grownMask(inside, outline);
    const QRgb over = fill.rgba();
    const QRgb under = outlineColour.rgba();
    QImage image(inside.size(), QImage::Format_ARGB32_Premultiplied);
    // The fill over the outline, each at its coverage: source over, channel by channel. Each
    // colour at each coverage is worked out once.
    QRgb overAt[256];
    QRgb underAt[256];
    for (int cover = 0; cover < 256; ++cover) {
        const auto at = [cover](QRgb colour) {
            return qPremultiply(
                qRgba(qRed(colour), qGreen(colour), qBlue(colour), qAlpha(colour) * cover / 255));
        };
        overAt[cover] = at(over);
        underAt[cover] = at(under);
    }
    for (int y = 0; y < image.height(); ++y) {
        const uchar* in = inside.constScanLine(y);
        const uchar* out = around.constScanLine(y);
        auto* pixel = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb top = overAt[in[x]];
            const QRgb bottom = underAt[out[x]];
            const int rest = 255 - qAlpha(top);
            if (rest == 0 || bottom == 0) {
                pixel[x] = top;
                continue;
            }
            pixel[x] = qRgba(
                qRed(top) + qRed(bottom) * rest / 255, qGreen(top) + qGreen(bottom) * rest / 255,
                qBlue(top) + qBlue(bottom) * rest / 255, qAlpha(top) + qAlpha(bottom) * rest / 255);
        }
    }
    return image;
}

#include "drawscreen/outlined_letters.h"

#include <algorithm>
#include <cmath>
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
    for (int dy = -reach; dy <= reach; ++dy)
        half[static_cast<size_t>(dy + reach)] = static_cast<int>(
            std::lround(std::sqrt(std::max(0.0, radius * radius - double(dy) * dy))));
    // Each source row spread sideways by 0 … reach pixels, one pixel more at each step.
    std::vector<std::vector<uchar>> spread(static_cast<size_t>(reach + 1),
                                           std::vector<uchar>(static_cast<size_t>(width)));
    for (int y = 0; y < height; ++y) {
        const uchar* row = source.constScanLine(y);
        if (std::all_of(row, row + width, [](uchar a) { return a == 0; }))
            continue;
        std::copy(row, row + width, spread[0].begin());
        for (int k = 1; k <= reach; ++k) {
            const uchar* from = spread[static_cast<size_t>(k - 1)].data();
            uchar* to = spread[static_cast<size_t>(k)].data();
            to[0] = std::max(from[0], from[std::min(1, width - 1)]);
            for (int x = 1; x < width - 1; ++x)
                to[x] = std::max(std::max(from[x - 1], from[x]), from[x + 1]);
            to[width - 1] = std::max(from[width - 1], from[std::max(width - 2, 0)]);
        }
        for (int dy = -reach; dy <= reach; ++dy) {
            if (y + dy < 0 || y + dy >= height)
                continue;
            const uchar* from = spread[static_cast<size_t>(half[dy + reach])].data();
            uchar* to = grown.scanLine(y + dy);
            for (int x = 0; x < width; ++x)
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
    // The fill over the outline, each at its coverage: source over, channel by channel.
    const auto at = [](QRgb colour, int cover) {
        return qPremultiply(
            qRgba(qRed(colour), qGreen(colour), qBlue(colour), qAlpha(colour) * cover / 255));
    };
    for (int y = 0; y < image.height(); ++y) {
        const uchar* in = inside.constScanLine(y);
        const uchar* out = around.constScanLine(y);
        auto* pixel = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb top = at(over, in[x]);
            const QRgb bottom = at(under, out[x]);
            const int rest = 255 - qAlpha(top);
            pixel[x] = qRgba(
                qRed(top) + qRed(bottom) * rest / 255, qGreen(top) + qGreen(bottom) * rest / 255,
                qBlue(top) + qBlue(bottom) * rest / 255, qAlpha(top) + qAlpha(bottom) * rest / 255);
        }
    }
    return image;
}

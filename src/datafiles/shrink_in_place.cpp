#include "datafiles/shrink_in_place.h"

#include <QRgb>
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

// GCC vectorises at -O2 only loops that need no remainder code; these run over rows of any
// width, and vectorised they make the first frame's fit of the background several times faster.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC optimize("vect-cost-model=cheap")
#endif

namespace {

// The source pixels one destination pixel covers along one axis, with the share of each.
struct Span
{
    int first = 0;
    std::vector<float> weights;
};

std::vector<Span> spans(int from, int to)
{
    const double step = double(from) / to;
    std::vector<Span> result(static_cast<size_t>(to));
    for (int d = 0; d < to; ++d) {
        const double begin = d * step;
        const double end = std::min(double(from), (d + 1) * step);
        Span& span = result[size_t(d)];
        span.first = int(std::floor(begin));
        for (int s = span.first; s < from && s < end; ++s)
            span.weights.push_back(
                float((std::min(double(s + 1), end) - std::max(double(s), begin)) / step));
    }
    return result;
}

} // namespace

bool shrinkInPlace(QImage& image, QSize size)
{
    const QImage::Format format = image.format();
    if ((format != QImage::Format_RGB32 && format != QImage::Format_ARGB32_Premultiplied) ||
        !image.isDetached() || size.isEmpty() || size.width() > image.width() ||
        size.height() > image.height())
        return false;
    const std::vector<Span> columns = spans(image.width(), size.width());
    const std::vector<Span> rows = spans(image.height(), size.height());
    const qsizetype stride = image.bytesPerLine();
    uchar* pixels = image.bits();
    // The rows a result row covers are summed first, then the columns within that sum. Each
    // byte of a pixel is one channel whatever their order, so both sums run over bytes, in
    // loops the compiler turns into vector instructions.
    const size_t sourceBytes = size_t(image.width()) * 4;
    const size_t resultBytes = size_t(size.width()) * 4;
    std::vector<float> rowSum(sourceBytes);
    std::vector<float> columnSum(resultBytes);
    std::vector<uchar> line(resultBytes);
    // Row y of the result is written over source row y, which no later result row reads:
    // each one starts at a source row at or below its own.
    for (int y = 0; y < size.height(); ++y) {
        const Span& row = rows[size_t(y)];
        std::fill(rowSum.begin(), rowSum.end(), 0.0f);
        for (size_t r = 0; r < row.weights.size(); ++r) {
            const uchar* __restrict source = pixels + (row.first + qsizetype(r)) * stride;
            float* __restrict sum = rowSum.data();
            const float weight = row.weights[r];
            for (size_t i = 0; i < sourceBytes; ++i)
                sum[i] += weight * float(source[i]);
        }
        const float* sums = rowSum.data();
        if (resultBytes != sourceBytes) {
            std::fill(columnSum.begin(), columnSum.end(), 0.0f);
            for (size_t x = 0; x < size_t(size.width()); ++x) {
                const Span& column = columns[x];
                float* out = &columnSum[x * 4];
                for (size_t c = 0; c < column.weights.size(); ++c) {
                    const float* in = &rowSum[(size_t(column.first) + c) * 4];
                    const float weight = column.weights[c];
                    for (int k = 0; k < 4; ++k)
                        out[k] += weight * in[k];
                }
            }
            sums = columnSum.data();
        }
        // The weights add up to one, so a sum never leaves 0 … 255 by more than rounding; never
        // below zero, it is rounded to the nearest by adding a half and cutting off.
        uchar* __restrict out = line.data();
        for (size_t i = 0; i < resultBytes; ++i) {
            const float rounded = sums[i] + 0.5f;
            out[i] = uchar(std::min(int(rounded), 255));
        }
        uchar* target = pixels + y * stride;
        std::copy(line.begin(), line.end(), target);
        if (format == QImage::Format_RGB32) {
            auto* opaque = reinterpret_cast<QRgb*>(target);
            for (int x = 0; x < size.width(); ++x)
                opaque[x] |= 0xff000000u;
        }
    }
    // The result looks at the first rows of the same buffer, which it keeps alive.
    auto* buffer = new QImage(std::move(image));
    image = QImage(
        buffer->bits(), size.width(), size.height(), stride, format,
        [](void* kept) { delete static_cast<QImage*>(kept); }, buffer);
    return true;
}

QImage shrinkPicture(QImage image, QSize size)
{
    if (size == image.size())
        return image;
    const qint64 kept = qint64(size.width()) * size.height();
    const qint64 whole = qint64(image.width()) * image.height();
    if (kept * 2 > whole && shrinkInPlace(image, size))
        return image;
    QImage scaled = image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return scaled.isNull() ? image : scaled;
}

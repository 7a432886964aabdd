#include "datafiles/shrink_in_place.h"

#include <QRgb>
#include <algorithm>
#include <cmath>
#include <vector>

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
    std::vector<float> sums(size_t(size.width()) * 4);
    std::vector<QRgb> line(size_t(size.width()));
    // Row y of the result is written over source row y, which no later result row reads:
    // each one starts at a source row at or below its own.
    for (int y = 0; y < size.height(); ++y) {
        std::fill(sums.begin(), sums.end(), 0.0f);
        const Span& row = rows[size_t(y)];
        for (size_t r = 0; r < row.weights.size(); ++r) {
            const auto* source = reinterpret_cast<const QRgb*>(pixels + (row.first + r) * stride);
            for (int x = 0; x < size.width(); ++x) {
                const Span& column = columns[size_t(x)];
                float* sum = &sums[size_t(x) * 4];
                for (size_t c = 0; c < column.weights.size(); ++c) {
                    const QRgb p = source[column.first + int(c)];
                    const float w = row.weights[r] * column.weights[c];
                    sum[0] += w * float(qRed(p));
                    sum[1] += w * float(qGreen(p));
                    sum[2] += w * float(qBlue(p));
                    sum[3] += w * float(qAlpha(p));
                }
            }
        }
        for (int x = 0; x < size.width(); ++x) {
            const float* sum = &sums[size_t(x) * 4];
            const auto channel = [](float v) { return std::clamp(int(std::lround(v)), 0, 255); };
            line[size_t(x)] = qRgba(channel(sum[0]), channel(sum[1]), channel(sum[2]),
                                    format == QImage::Format_RGB32 ? 255 : channel(sum[3]));
        }
        std::copy(line.begin(), line.end(), reinterpret_cast<QRgb*>(pixels + y * stride));
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

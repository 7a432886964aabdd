#include "drawscreen/confetti_drawing.h"

#include <QtMath>
#include <algorithm>
#include <cmath>

namespace {

// One of the piece's two coordinates along an image row: start at the row's first pixel,
// moving by step a pixel. reach is how far from the centre line it may go.
struct Coordinate
{
    double step;
    double perStep; // 1 / step, or 0 when it does not move along a row
};

Coordinate coordinate(double step)
{
    return {step, std::abs(step) < 1e-9 ? 0 : 1 / step};
}

// Narrows [low, high] to the pixels of the row where |start + x * step| < reach.
inline void narrow(const Coordinate& k, double start, double reach, double* low, double* high)
{
    if (k.perStep == 0) {
        if (std::abs(start) >= reach)
            *high = *low - 1;
        return;
    }
    const double a = (-reach - start) * k.perStep;
    const double b = (reach - start) * k.perStep;
    *low = std::max(*low, std::min(a, b));
    *high = std::min(*high, std::max(a, b));
}

inline QRgb blended(QRgb top, QRgb under, int a) // a: 0 … 256
{
    const auto mix = [a](int t, int u) { return u + (((t - u) * a) >> 8); };
    return qRgb(mix(qRed(top), qRed(under)), mix(qGreen(top), qGreen(under)),
                mix(qBlue(top), qBlue(under)));
}

} // namespace

QRect confettiPixels(const ConfettiPiece& piece, qreal scale, const QImage& image)
{
    return QRectF(QPointF(piece.box.topLeft()) * scale, QSizeF(piece.box.size()) * scale)
        .toAlignedRect()
        .intersected(image.rect());
}

void drawConfettiPiece(QImage& image, const ConfettiPiece& piece, qreal scale)
{
    const QRect box = confettiPixels(piece, scale, image);
    const int opacity = int(std::lround(255 * piece.alpha * piece.colour.alphaF()));
    if (box.isEmpty() || opacity <= 0)
        return;
    // A pixel's share of the piece: how far its centre lies inside each pair of edges, plus
    // half a pixel, each clamped to 0 … 1 — exact along an edge, close to it at a corner.
    const double halfWidth = piece.size.width() * piece.flip * scale / 2 + 0.5;
    const double halfHeight = piece.size.height() * scale / 2 + 0.5;
    const double radians = qDegreesToRadians(piece.angle);
    const double c = std::cos(radians);
    const double s = std::sin(radians);
    const double cx = piece.centre.x() * scale;
    const double cy = piece.centre.y() * scale;
    const QRgb solid = piece.colour.rgb() | 0xff000000;
    const float coverageToAlpha = float(opacity) * 256 / 255;
    const int inside = int(std::lround(coverageToAlpha)); // of a pixel wholly covered: 0 … 256
    // Along a row the two coordinates each stay within reach for a run of x; only the run both
    // allow is visited, and within it the pixels one pixel further in are wholly covered.
    const Coordinate along = coordinate(c);
    const Coordinate across = coordinate(-s);
    const float fc = float(c);
    const float fs = float(s);
    const float width = float(halfWidth);
    const float height = float(halfHeight);
    const int lastColumn = box.width() - 1;
    const auto run = [&](double along0, double across0, double inset, int* first, int* last) {
        double low = 0;
        double high = lastColumn;
        narrow(along, along0, halfWidth - inset, &low, &high);
        narrow(across, across0, halfHeight - inset, &low, &high);
        *first = int(std::ceil(low));
        *last = high < 0 ? -1 : int(high);
    };
    uchar* const bits = image.bits(); // detaches once, not at every row
    const qsizetype stride = image.bytesPerLine();
    const double dx = box.left() + 0.5 - cx;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        const double dy = y + 0.5 - cy;
        const double along0 = dx * c + dy * s;
        const double across0 = dy * c - dx * s;
        int first = 0;
        int last = 0;
        run(along0, across0, 0, &first, &last);
        if (first > last)
            continue;
        int innerFirst = 0;
        int innerLast = 0;
        run(along0, across0, 1, &innerFirst, &innerLast);
        if (innerFirst > innerLast) {
            innerFirst = last + 1; // no pixel wholly covered: the whole run is edge
            innerLast = last;
        }
        auto* row = reinterpret_cast<QRgb*>(bits + y * stride) + box.left();
        // The edge pixels before and after the inner run, by their coverage.
        for (int part = 0; part < 2; ++part) {
            const int from = part == 0 ? first : innerLast + 1;
            const int to = part == 0 ? innerFirst - 1 : last;
            float u0 = float(along0 + from * c);
            float v0 = float(across0 - from * s);
            for (int x = from; x <= to; ++x, u0 += fc, v0 -= fs) {
                const float u = std::min(width - std::abs(u0), 1.0f);
                const float v = std::min(height - std::abs(v0), 1.0f);
                if (u > 0 && v > 0) {
                    // Never negative, so the cast rounds; lround would be a call per pixel.
                    const int a =
                        int(u * v * coverageToAlpha + 0.5f); // NOLINT(bugprone-incorrect-roundings)
                    row[x] = a >= 256 ? solid : blended(solid, row[x], a);
                }
            }
        }
        if (inside >= 256) {
            std::fill(row + innerFirst, row + innerLast + 1, solid);
        } else {
            for (int x = innerFirst; x <= innerLast; ++x)
                row[x] = blended(solid, row[x], inside);
        }
    }
}

#include "rotatingimage/rotate_bitmap.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <new>

#if defined(__SSE2__) && defined(__x86_64__)
#include <emmintrin.h>
#endif

namespace {

constexpr long double Pi = 3.141592653589793238462643383279502884L;

int32_t truncatedFixedPoint(long double value)
{
    // A non-finite angle gives no turn factors at all rather than an undefined conversion.
    if (!std::isfinite(value))
        return 0;
    return static_cast<int32_t>(value * 65536.0L);
}

// 32-bit signed arithmetic that wraps instead of being undefined on overflow.
int32_t wrap(uint32_t value)
{
    return static_cast<int32_t>(value);
}

bool fitsInt32(int64_t value)
{
    return value >= std::numeric_limits<int32_t>::min() &&
           value <= std::numeric_limits<int32_t>::max();
}

int64_t floorDiv(int64_t n, int64_t d) // d > 0
{
    return n >= 0 ? n / d : -((-n + d - 1) / d);
}

int64_t ceilDiv(int64_t n, int64_t d) // d > 0
{
    return -floorDiv(-n, d);
}

// The run of i in [first, end), within [0, count), for which low <= start + i * step <= high.
struct Span
{
    int32_t first;
    int32_t end;
};

Span spanWithin(int64_t start, int64_t step, int64_t low, int64_t high, int32_t count)
{
    int64_t first = 0;
    int64_t last = int64_t(count) - 1;
    if (step > 0) {
        first = ceilDiv(low - start, step);
        last = floorDiv(high - start, step);
    } else if (step < 0) {
        first = ceilDiv(start - high, -step);
        last = floorDiv(start - low, -step);
    } else if (start < low || start > high) {
        return {0, 0};
    }
    first = std::clamp<int64_t>(first, 0, count);
    last = std::clamp<int64_t>(last, first - 1, int64_t(count) - 1);
    return {int32_t(first), int32_t(last + 1)};
}

// Clamps [first, end) to [0, count) and leaves it empty when the ends cross.
Span clampedSpan(int64_t first, int64_t end, int32_t count)
{
    first = std::clamp<int64_t>(first, 0, count);
    end = std::clamp<int64_t>(end, first, count);
    return {int32_t(first), int32_t(end)};
}

// An exact quarter turn, C = 0 and S = sign * 65536, where the products are whole numbers of
// pixels: each destination row comes from one source column, sourceColumn - sign * v, and
// each destination column from one source row, sourceRowFromTop - sign * u counted from the
// top. Copied in square tiles, so that the source lines one row of a tile reads serve the
// following rows too.
void copyQuarterTurn(QImage& dst, const QImage& src, int32_t sign, int32_t destColumn,
                     int32_t destRow, int32_t sourceColumn, int32_t sourceRowFromTop,
                     QRgb background)
{
    const int32_t dw = dst.width();
    const int32_t dh = dst.height();
    const int32_t sw = src.width();
    const int32_t sh = src.height();
    // Source row at column i: rowBase - sign * i; source column at row j: columnBase + sign * j.
    const int64_t rowBase = int64_t(sourceRowFromTop) + int64_t(sign) * destColumn;
    const int64_t columnBase = int64_t(sourceColumn) - int64_t(sign) * destRow;
    const Span columns = sign > 0 ? clampedSpan(rowBase - sh + 1, rowBase + 1, dw)
                                  : clampedSpan(-rowBase, sh - rowBase, dw);
    const Span rows = sign > 0 ? clampedSpan(-columnBase, sw - columnBase, dh)
                               : clampedSpan(columnBase - sw + 1, columnBase + 1, dh);

    for (int32_t j = 0; j < dh; ++j) {
        QRgb* out = reinterpret_cast<QRgb*>(dst.scanLine(j));
        if (j < rows.first || j >= rows.end) {
            std::fill(out, out + dw, background);
            continue;
        }
        std::fill(out, out + columns.first, background);
        std::fill(out + columns.end, out + dw, background);
    }

    constexpr int32_t Tile = 64;
    const qsizetype stride = src.bytesPerLine() / qsizetype(sizeof(QRgb));
    const QRgb* pixels = reinterpret_cast<const QRgb*>(src.constBits());
    auto sourceAt = [&](int32_t i, int32_t j) {
        return pixels + qsizetype(rowBase - int64_t(sign) * i) * stride +
               qsizetype(columnBase + int64_t(sign) * j);
    };
    uchar* dstBits = dst.bits();
    const qsizetype dstStride = dst.bytesPerLine();
    auto destAt = [&](int32_t i, int32_t j) {
        return reinterpret_cast<QRgb*>(dstBits + j * dstStride) + i;
    };
    auto copyCells = [&](int32_t j0, int32_t j1, int32_t i0, int32_t i1) {
        const qsizetype step = -sign * stride;
        for (int32_t j = j0; j < j1; ++j) {
            QRgb* out = destAt(i0, j);
            const QRgb* in = sourceAt(i0, j);
            for (int32_t i = i0; i < i1; ++i, in += step)
                *out++ = *in;
        }
    };

    for (int32_t j0 = rows.first; j0 < rows.end; j0 += Tile) {
        const int32_t j1 = std::min(rows.end, j0 + Tile);
        for (int32_t i0 = columns.first; i0 < columns.end; i0 += Tile) {
            const int32_t i1 = std::min(columns.end, i0 + Tile);
            int32_t j = j0;
#if defined(__SSE2__) && defined(__x86_64__)
            // Blocks of 4 x 4: four source rows of four pixels each, transposed in registers.
            for (; j + 4 <= j1; j += 4) {
                int32_t i = i0;
                // Source columns fall with j when sign < 0: load from the block's last one.
                const int32_t loadColumn = sign > 0 ? j : j + 3;
                for (; i + 4 <= i1; i += 4) {
                    const __m128i r0 =
                        _mm_loadu_si128(reinterpret_cast<const __m128i*>(sourceAt(i, loadColumn)));
                    const __m128i r1 = _mm_loadu_si128(
                        reinterpret_cast<const __m128i*>(sourceAt(i + 1, loadColumn)));
                    const __m128i r2 = _mm_loadu_si128(
                        reinterpret_cast<const __m128i*>(sourceAt(i + 2, loadColumn)));
                    const __m128i r3 = _mm_loadu_si128(
                        reinterpret_cast<const __m128i*>(sourceAt(i + 3, loadColumn)));
                    const __m128i t0 = _mm_unpacklo_epi32(r0, r1);
                    const __m128i t1 = _mm_unpacklo_epi32(r2, r3);
                    const __m128i t2 = _mm_unpackhi_epi32(r0, r1);
                    const __m128i t3 = _mm_unpackhi_epi32(r2, r3);
                    const __m128i lanes[4] = {
                        _mm_unpacklo_epi64(t0, t1), _mm_unpackhi_epi64(t0, t1),
                        _mm_unpacklo_epi64(t2, t3), _mm_unpackhi_epi64(t2, t3)};
                    for (int l = 0; l < 4; ++l) {
                        const int32_t row = sign > 0 ? j + l : j + 3 - l;
                        _mm_storeu_si128(reinterpret_cast<__m128i*>(destAt(i, row)), lanes[l]);
                    }
                }
                copyCells(j, j + 4, i, i1);
            }
#endif
            copyCells(j, j1, i0, i1);
        }
    }
}

// Copies count covered destination pixels starting at out, whose source offsets from the
// source centre are p >> 16 columns and q >> 16 rows upwards, stepping p by c and q by s.
void copyCoveredRun(QRgb* out, int32_t count, uint32_t p, uint32_t q, uint32_t c, uint32_t s,
                    const QRgb* centre, qsizetype rowStep, bool narrow)
{
    int32_t i = 0;
#if defined(__SSE2__) && defined(__x86_64__)
    if (narrow) {
        // Four pixels at a time: the column offset goes into the low and the row offset into
        // the high 16 bits of each lane, and one multiply-add forms column - row * rowStep.
        __m128i pv = _mm_setr_epi32(int(p), int(p + c), int(p + 2 * c), int(p + 3 * c));
        __m128i qv = _mm_setr_epi32(int(q), int(q + s), int(q + 2 * s), int(q + 3 * s));
        const __m128i pStep = _mm_set1_epi32(int(4 * c));
        const __m128i qStep = _mm_set1_epi32(int(4 * s));
        const __m128i highHalves = _mm_set1_epi32(int(0xffff0000u));
        const __m128i weights =
            _mm_set1_epi32(int((uint32_t(uint16_t(-int32_t(rowStep))) << 16) | 1u));
        for (; i + 4 <= count; i += 4) {
            const __m128i packed =
                _mm_or_si128(_mm_srli_epi32(pv, 16), _mm_and_si128(qv, highHalves));
            const __m128i offsets = _mm_madd_epi16(packed, weights);
            const int64_t low = _mm_cvtsi128_si64(offsets);
            const int64_t high = _mm_cvtsi128_si64(_mm_unpackhi_epi64(offsets, offsets));
            out[i] = centre[int32_t(low)];
            out[i + 1] = centre[low >> 32];
            out[i + 2] = centre[int32_t(high)];
            out[i + 3] = centre[high >> 32];
            pv = _mm_add_epi32(pv, pStep);
            qv = _mm_add_epi32(qv, qStep);
        }
        p += uint32_t(i) * c;
        q += uint32_t(i) * s;
    }
#else
    (void)narrow;
#endif
    for (; i < count; ++i, p += c, q += s)
        out[i] = centre[qsizetype(wrap(p) >> 16) - qsizetype(wrap(q) >> 16) * rowStep];
}

} // namespace

long double reduceAngle(long double angle)
{
    // The remainder of a division is exact in floating point, so it gives what the repeated
    // steps of 360 would without looping over huge angles.
    if (angle > 180) {
        long double r = std::fmod(angle, 360.0L);
        if (r > 180)
            r -= 360;
        return r;
    }
    if (angle < -180) {
        long double r = std::fmod(angle, 360.0L);
        if (r < -180)
            r += 360;
        return r;
    }
    return angle;
}

TurnFactors turnFactors(long double reducedAngle)
{
    const long double theta = -reducedAngle * Pi / 180;
    return {truncatedFixedPoint(std::sin(theta)), truncatedFixedPoint(std::cos(theta))};
}

TurnGeometry turnGeometry(QSize source, long double angle)
{
    const long double a = reduceAngle(angle);
    TurnGeometry g{};
    g.factors = turnFactors(a);
    const int32_t sw = source.width();
    const int32_t sh = source.height();
    const uint32_t absS = static_cast<uint32_t>(std::abs(g.factors.sine));
    const uint32_t absC = static_cast<uint32_t>(std::abs(g.factors.cosine));
    g.width = wrap(absC * uint32_t(sw) + absS * uint32_t(sh)) >> 16;
    g.height = wrap(absS * uint32_t(sw) + absC * uint32_t(sh)) >> 16;
    // Source centre: the right of two middle columns and the upper of two middle rows, kept as
    // a row counted from the top. Destination centre: the left of two middle columns and the
    // lower of two middle rows, except where a quarter or no turn would then miss by one.
    g.sourceColumn = sw / 2;
    g.sourceRowFromTop = sh - 1 - sh / 2;
    g.destColumn = g.width - 1 - g.width / 2;
    if (g.width % 2 == 0 && (a == 0 || a == -90))
        g.destColumn = g.width / 2;
    g.destRow = g.height / 2;
    if (g.height % 2 == 0 && (a == 0 || a == 90))
        g.destRow = g.height / 2 - 1;
    return g;
}

QPointF TurnGeometry::turned(QPointF sourcePoint) const
{
    // The inverse of the mapping rotateBitmap samples with: destination (u, v) from the
    // destination centre reads the source at (u C - v S, u S + v C), v and the source's second
    // coordinate counted upwards.
    const double c = factors.cosine / 65536.0;
    const double s = factors.sine / 65536.0;
    const double p = sourcePoint.x() - sourceColumn;
    const double q = sourceRowFromTop + 1 - sourcePoint.y();
    const double u = p * c + q * s;
    const double v = q * c - p * s;
    return QPointF(destColumn + u, destRow - v);
}

QImage rotateBitmap(const QImage& source, QRgb background, long double angle)
{
    const long double a = reduceAngle(angle);
    // RGB32 already holds its pixels as 0xffRRGGBB, the very values ARGB32 would hold.
    const QImage src =
        source.format() == QImage::Format_ARGB32 || source.format() == QImage::Format_RGB32
            ? source
            : source.convertToFormat(QImage::Format_ARGB32);
    const int32_t sw = src.width();
    const int32_t sh = src.height();
    const TurnGeometry geometry = turnGeometry(src.size(), a);
    const TurnFactors factors = geometry.factors;
    const uint32_t s = static_cast<uint32_t>(factors.sine);
    const uint32_t c = static_cast<uint32_t>(factors.cosine);
    const int32_t dw = geometry.width;
    const int32_t dh = geometry.height;
    if (dw <= 0 || dh <= 0)
        return QImage();
    const int32_t sourceColumn = geometry.sourceColumn;
    const int32_t sourceRowFromTop = geometry.sourceRowFromTop;
    const int32_t destColumn = geometry.destColumn;
    const int32_t destRow = geometry.destRow;

    QImage dst(dw, dh, QImage::Format_ARGB32);
    if (dst.isNull())
        throw std::bad_alloc();

    const uchar* srcBits = src.constBits();
    const qsizetype srcStride = src.bytesPerLine();
    uchar* dstBits = dst.bits();
    const qsizetype dstStride = dst.bytesPerLine();
    // Offsets from the source centre and the row length then fit in 16 bits each.
    const bool narrow = sw <= 32767 && sh <= 32767 && srcStride / 4 <= 32767;
    const uint32_t columns = static_cast<uint32_t>(sw);
    const uint32_t rows = static_cast<uint32_t>(sh);
    const int64_t u0 = -destColumn;
    const int64_t lastU = u0 + dw - 1;
    // The source pixel is inside while p and q stay in these ranges.
    const int64_t pLow = -int64_t(sourceColumn) * 65536;
    const int64_t pHigh = (int64_t(sw) - sourceColumn) * 65536 - 1;
    const int64_t qLow = (int64_t(sourceRowFromTop) - sh + 1) * 65536;
    const int64_t qHigh = (int64_t(sourceRowFromTop) + 1) * 65536 - 1;

    if (factors.cosine == 0 && (factors.sine == 65536 || factors.sine == -65536) && dw < 32768 &&
        dh < 32768) {
        copyQuarterTurn(dst, src, factors.sine > 0 ? 1 : -1, destColumn, destRow, sourceColumn,
                        sourceRowFromTop, background);
        return dst;
    }

    const QRgb* centre =
        reinterpret_cast<const QRgb*>(srcBits + qsizetype(sourceRowFromTop) * srcStride) +
        sourceColumn;

    // Rows go in bands, and each band is copied in blocks of columns, so that the source
    // pixels one row of a block reads are still cached when the next rows read their
    // neighbours; at steep angles a row of the destination runs down the source's columns.
    constexpr int32_t BandRows = 32;
    constexpr int32_t BlockColumns = 256;
    struct CoveredRun
    {
        uint32_t p; // at the row's first pixel
        uint32_t q;
        int32_t first;
        int32_t end;
    };
    std::array<CoveredRun, BandRows> runs;

    for (int32_t band = 0; band < dh; band += BandRows) {
        const int32_t bandEnd = std::min(dh, band + BandRows);
        int32_t bandFirst = dw;
        int32_t bandLast = 0;
        for (int32_t j = band; j < bandEnd; ++j) {
            QRgb* out = reinterpret_cast<QRgb*>(dstBits + j * dstStride);
            // p = u * C - v * S and q = u * S + v * C, the row terms formed once per row;
            // along the row each further pixel only adds C and S.
            const int64_t v = destRow - j;
            const int64_t p0 = u0 * factors.cosine - v * factors.sine;
            const int64_t q0 = u0 * factors.sine + v * factors.cosine;
            const int64_t pEnd = lastU * factors.cosine - v * factors.sine;
            const int64_t qEnd = lastU * factors.sine + v * factors.cosine;
            CoveredRun& run = runs[size_t(j - band)];

            if (fitsInt32(p0) && fitsInt32(pEnd) && fitsInt32(q0) && fitsInt32(qEnd)) {
                // Nothing wraps along this row, so p and q move monotonically and the covered
                // pixels form one run that needs no test per pixel.
                const Span sp = spanWithin(p0, factors.cosine, pLow, pHigh, dw);
                const Span sq = spanWithin(q0, factors.sine, qLow, qHigh, dw);
                run.first = std::max(sp.first, sq.first);
                run.end = std::max(run.first, std::min(sp.end, sq.end));
                run.p = uint32_t(p0);
                run.q = uint32_t(q0);
                std::fill(out, out + run.first, background);
                std::fill(out + run.end, out + dw, background);
                if (run.first < run.end) {
                    bandFirst = std::min(bandFirst, run.first);
                    bandLast = std::max(bandLast, run.end);
                }
                continue;
            }

            // Beyond the sizes the turn is meant for the sums wrap as 32-bit values; follow
            // them pixel by pixel.
            run = {0, 0, 0, 0};
            uint32_t p = uint32_t(p0);
            uint32_t q = uint32_t(q0);
            for (int32_t i = 0; i < dw; ++i, p += c, q += s) {
                const uint32_t column = uint32_t(sourceColumn) + uint32_t(wrap(p) >> 16);
                const uint32_t row = uint32_t(sourceRowFromTop) - uint32_t(wrap(q) >> 16);
                out[i] = column < columns && row < rows
                             ? reinterpret_cast<const QRgb*>(srcBits + row * srcStride)[column]
                             : background;
            }
        }

        for (int32_t x0 = bandFirst; x0 < bandLast; x0 += BlockColumns) {
            const int32_t x1 = std::min(bandLast, x0 + BlockColumns);
            for (int32_t j = band; j < bandEnd; ++j) {
                const CoveredRun& run = runs[size_t(j - band)];
                const int32_t from = std::max(run.first, x0);
                const int32_t to = std::min(run.end, x1);
                if (from >= to)
                    continue;
                QRgb* out = reinterpret_cast<QRgb*>(dstBits + j * dstStride);
                copyCoveredRun(out + from, to - from, run.p + uint32_t(from) * c,
                               run.q + uint32_t(from) * s, c, s, centre, srcStride / 4, narrow);
            }
        }
    }
    return dst;
}

void turnInto(QImage& dst, QPoint offset, const QImage& source, long double angle, QRgb key,
              QRgb around, const QRegion& area)
{
    const QImage src =
        source.format() == QImage::Format_ARGB32 || source.format() == QImage::Format_RGB32
            ? source
            : source.convertToFormat(QImage::Format_ARGB32);
    const TurnGeometry g = turnGeometry(src.size(), angle);
    if (g.width <= 0 || g.height <= 0 || dst.isNull())
        return;
    const int32_t sw = src.width();
    const int32_t sh = src.height();
    const TurnFactors f = g.factors;
    const uint32_t c = static_cast<uint32_t>(f.cosine);
    const uint32_t s = static_cast<uint32_t>(f.sine);
    const QRgb keyPixel = key | 0xff000000u;
    const qsizetype srcStride = src.bytesPerLine();
    const bool narrow = sw <= 32767 && sh <= 32767 && srcStride / 4 <= 32767;
    const int64_t pLow = -int64_t(g.sourceColumn) * 65536;
    const int64_t pHigh = (int64_t(sw) - g.sourceColumn) * 65536 - 1;
    const int64_t qLow = (int64_t(g.sourceRowFromTop) - sh + 1) * 65536;
    const int64_t qHigh = (int64_t(g.sourceRowFromTop) + 1) * 65536 - 1;
    const QRgb* centre =
        reinterpret_cast<const QRgb*>(src.constBits() + qsizetype(g.sourceRowFromTop) * srcStride) +
        g.sourceColumn;
    // Only the turned image's own pixels can show the picture.
    const QRect turned = QRect(offset, QSize(g.width, g.height)).intersected(dst.rect());
    uchar* dstBits = dst.bits();
    const qsizetype dstStride = dst.bytesPerLine();
    for (const QRect& r : area.intersected(dst.rect())) {
        const QRect inside = r.intersected(turned);
        for (int y = r.top(); y <= r.bottom(); ++y) {
            QRgb* row = reinterpret_cast<QRgb*>(dstBits + y * dstStride);
            if (inside.isEmpty() || y < inside.top() || y > inside.bottom()) {
                std::fill(row + r.left(), row + r.right() + 1, around);
                continue;
            }
            std::fill(row + r.left(), row + inside.left(), around);
            std::fill(row + inside.right() + 1, row + r.right() + 1, around);
            QRgb* out = row + inside.left();
            const int32_t count = inside.width();
            const int64_t u0 = int64_t(inside.left() - offset.x()) - g.destColumn;
            const int64_t lastU = u0 + count - 1;
            const int64_t v = g.destRow - (int64_t(y) - offset.y());
            const int64_t p0 = u0 * f.cosine - v * f.sine;
            const int64_t q0 = u0 * f.sine + v * f.cosine;
            const int64_t pEnd = lastU * f.cosine - v * f.sine;
            const int64_t qEnd = lastU * f.sine + v * f.cosine;
            int32_t first = 0;
            int32_t end = count;
            if (fitsInt32(p0) && fitsInt32(pEnd) && fitsInt32(q0) && fitsInt32(qEnd)) {
                const Span sp = spanWithin(p0, f.cosine, pLow, pHigh, count);
                const Span sq = spanWithin(q0, f.sine, qLow, qHigh, count);
                first = std::max(sp.first, sq.first);
                end = std::max(first, std::min(sp.end, sq.end));
                std::fill(out, out + first, around);
                std::fill(out + end, out + count, around);
                if (first < end)
                    copyCoveredRun(out + first, end - first, uint32_t(p0) + uint32_t(first) * c,
                                   uint32_t(q0) + uint32_t(first) * s, c, s, centre, srcStride / 4,
                                   narrow);
            } else {
                uint32_t p = uint32_t(p0);
                uint32_t q = uint32_t(q0);
                for (int32_t i = 0; i < count; ++i, p += c, q += s) {
                    const uint32_t column = uint32_t(g.sourceColumn) + uint32_t(wrap(p) >> 16);
                    const uint32_t sourceRow =
                        uint32_t(g.sourceRowFromTop) - uint32_t(wrap(q) >> 16);
                    out[i] = column < uint32_t(sw) && sourceRow < uint32_t(sh)
                                 ? reinterpret_cast<const QRgb*>(src.constBits() +
                                                                 sourceRow * srcStride)[column]
                                 : keyPixel;
                }
            }
            if (around != keyPixel)
                std::replace(out + first, out + end, keyPixel, around);
        }
    }
}

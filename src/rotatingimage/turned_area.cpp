#include "rotatingimage/turned_area.h"

#include <QList>
#include <algorithm>
#include <cmath>
#include <vector>

namespace {

double cross(QPointF o, QPointF a, QPointF b)
{
    return (a.x() - o.x()) * (b.y() - o.y()) - (a.y() - o.y()) * (b.x() - o.x());
}

// Andrew's monotone chain over points sorted by x, then y.
QPolygonF convexHull(std::vector<QPointF> points)
{
    std::sort(points.begin(), points.end(), [](QPointF a, QPointF b) {
        return a.x() < b.x() || (a.x() == b.x() && a.y() < b.y());
    });
    points.erase(std::unique(points.begin(), points.end()), points.end());
    if (points.size() < 3)
        return QPolygonF(QList<QPointF>(points.begin(), points.end()));
    std::vector<QPointF> hull(2 * points.size());
    size_t k = 0;
    for (const QPointF& p : points) {
        while (k >= 2 && cross(hull[k - 2], hull[k - 1], p) <= 0)
            --k;
        hull[k++] = p;
    }
    for (size_t i = points.size() - 1, lower = k + 1; i-- > 0;) {
        while (k >= lower && cross(hull[k - 2], hull[k - 1], points[i]) <= 0)
            --k;
        hull[k++] = points[i];
    }
    hull.resize(k - 1);
    return QPolygonF(QList<QPointF>(hull.begin(), hull.end()));
}

} // namespace

QPolygonF contentOutline(const QImage& onKey, QRgb key)
{
    const QImage image =
        onKey.format() == QImage::Format_ARGB32 || onKey.format() == QImage::Format_RGB32
            ? onKey
            : onKey.convertToFormat(QImage::Format_ARGB32);
    const QRgb keyPixel = key | 0xff000000u;
    // The first and last pixel of each row that is not key colour: their corners span the
    // hull of all of them.
    std::vector<QPointF> corners;
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        const int w = image.width();
        int first = 0;
        while (first < w && (row[first] | 0xff000000u) == keyPixel)
            ++first;
        if (first == w)
            continue;
        int last = w - 1;
        while ((row[last] | 0xff000000u) == keyPixel)
            --last;
        for (const double x : {double(first), double(last + 1)}) {
            corners.emplace_back(x, y);
            corners.emplace_back(x, y + 1);
        }
    }
    return convexHull(std::move(corners));
}

QRegion bandsCovering(const QPolygonF& convex, qreal margin, int bandHeight, const QRect& bounds)
{
    if (convex.isEmpty() || bandHeight < 1 || bounds.isEmpty())
        return QRegion();
    const QRectF box = convex.boundingRect().adjusted(-margin, -margin, margin, margin);
    const int top = std::max(bounds.top(), int(std::floor(box.top())));
    const int bottom = std::min(bounds.bottom() + 1, int(std::ceil(box.bottom())));
    QList<QRect> bands;
    for (int y = top; y < bottom; y += bandHeight) {
        const int end = std::min(bottom, y + bandHeight);
        // The polygon's extent across the band grown by the margin: its corners within the
        // band and where its edges cross the band's two lines.
        const double low = y - margin;
        const double high = end + margin;
        double left = INFINITY;
        double right = -INFINITY;
        const auto take = [&](double x) {
            left = std::min(left, x);
            right = std::max(right, x);
        };
        for (qsizetype i = 0; i < convex.size(); ++i) {
            const QPointF a = convex[i];
            const QPointF b = convex[(i + 1) % convex.size()];
            if (a.y() >= low && a.y() <= high)
                take(a.x());
            for (const double line : {low, high}) {
                if ((a.y() - line) * (b.y() - line) < 0)
                    take(a.x() + (b.x() - a.x()) * (line - a.y()) / (b.y() - a.y()));
            }
        }
        if (left > right)
            continue;
        const int x0 = std::max(bounds.left(), int(std::floor(left - margin)));
        const int x1 = std::min(bounds.right() + 1, int(std::ceil(right + margin)));
        if (x1 > x0)
            bands.append(QRect(x0, y, x1 - x0, end - y));
    }
    QRegion region;
    region.setRects(bands.constData(), int(bands.size()));
    return region;
}

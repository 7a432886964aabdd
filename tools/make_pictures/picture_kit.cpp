#include "picture_kit.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPen>

#include <cmath>

namespace {
constexpr double Pi = 3.14159265358979323846;
}

QPointF pointAtBearing(QPointF centre, double radius, double bearingDegrees)
{
    const double a = bearingDegrees * Pi / 180.0;
    return {centre.x() + radius * std::sin(a), centre.y() - radius * std::cos(a)};
}

QPainterPath wedgePath(QPointF centre, double rInner, double rOuter, double fromBearing,
                       double toBearing)
{
    // Qt measures arcs counter-clockwise from three o'clock.
    const double startQt = 90.0 - fromBearing;
    const double sweep = toBearing - fromBearing;
    const QRectF outer(centre.x() - rOuter, centre.y() - rOuter, 2 * rOuter, 2 * rOuter);
    QPainterPath path;
    if (rInner <= 0) {
        path.moveTo(centre);
        path.arcTo(outer, startQt, -sweep);
    } else {
        const QRectF inner(centre.x() - rInner, centre.y() - rInner, 2 * rInner, 2 * rInner);
        path.arcMoveTo(outer, startQt);
        path.arcTo(outer, startQt, -sweep);
        path.arcTo(inner, startQt - sweep, sweep);
    }
    path.closeSubpath();
    return path;
}

void hardenAlpha(QImage& image)
{
    image = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = row[x];
            row[x] = qAlpha(p) >= 128 ? (p | 0xff000000u) : 0u;
        }
    }
}

void cutToCircle(QImage& image, QPointF centre, double radius)
{
    image = image.convertToFormat(QImage::Format_ARGB32);
    const double r2 = radius * radius;
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        const double dy = y + 0.5 - centre.y();
        for (int x = 0; x < image.width(); ++x) {
            const double dx = x + 0.5 - centre.x();
            row[x] = dx * dx + dy * dy <= r2 ? (row[x] | 0xff000000u) : 0u;
        }
    }
}

QFont digitFont(int pixelSize)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(pixelSize);
    return font;
}

void drawOutlinedText(QPainter& painter, QPointF centre, const QString& text, const QFont& font,
                      const QBrush& fill, const QColor& outline, double outlineWidth)
{
    QPainterPath path;
    path.addText(0, 0, font, text);
    // Centre the glyphs' ink, not the font's line box, so digits sit exactly on the point.
    const QRectF ink = path.boundingRect();
    path.translate(centre - ink.center());
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    if (outlineWidth > 0) {
        painter.setPen(QPen(outline, 2 * outlineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(path);
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawPath(path);
    painter.restore();
}

double nextScatter(quint32& state)
{
    state = state * 1664525u + 1013904223u;
    return (state >> 8) / double(1u << 24);
}

#include "wheel/wheel_geometry.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double Pi = 3.14159265358979323846;
// The shipped wheel picture's proportions, in its layout pixels.
constexpr double LayoutOuter = 262;
constexpr double LayoutRimInner = 236;
constexpr double LayoutFace = 234;
constexpr double LayoutHub = 50;
// The shipped pointer's needle reaches 160 pixels out; the names start clear of it.
constexpr double LayoutNamesInner = 166;
constexpr double LayoutPadding = 4;

} // namespace

QPointF atBearing(QPointF centre, double radius, double degrees)
{
    const double a = degrees * Pi / 180;
    return {centre.x() + radius * std::sin(a), centre.y() - radius * std::cos(a)};
}

SectorSpan slotSpan(int slot)
{
    return sectorSpan(Sectors.at(std::clamp(slot, 1, 8) - 1));
}

WheelGeometry::WheelGeometry(QSize pixels) : centre_(pixels.width() / 2.0, pixels.height() / 2.0)
{
    // The shipped picture's disc leaves a margin of a few pixels around it.
    outer_ = std::max(1.0, std::min(pixels.width(), pixels.height()) / 2.0 - 2.5);
    unit_ = outer_ / LayoutOuter;
    rimInner_ = LayoutRimInner * unit_;
    face_ = LayoutFace * unit_;
    hub_ = LayoutHub * unit_;
}

NameBox WheelGeometry::nameBox(int slot) const
{
    NameBox box;
    box.halfAngle = slotSpan(slot).width() / 2;
    box.inner = LayoutNamesInner * unit_;
    box.outer = face_;
    box.padding = LayoutPadding * unit_;
    return box;
}

bool WheelGeometry::nameFlipped(int slot)
{
    const double middle = slotSpan(slot).middle();
    return middle > 100 && middle < 260;
}

QRectF WheelGeometry::pictureBox(int slot) const
{
    const SectorSpan span = slotSpan(slot);
    const double pad = LayoutPadding * unit_;
    const double low = hub_ + pad;
    const double high = LayoutNamesInner * unit_ - pad;
    const double h = span.width() / 2 * Pi / 180;
    const double middle = span.middle() * Pi / 180;
    // A square upright on the screen, its centre on the sector's middle line.
    const auto fits = [&](double side, double radius) {
        const QPointF at = atBearing(centre_, radius, span.middle());
        const QRectF square(at.x() - side / 2, at.y() - side / 2, side, side);
        for (const QPointF& c :
             {square.topLeft(), square.topRight(), square.bottomLeft(), square.bottomRight()}) {
            const double dx = c.x() - centre_.x();
            const double dy = c.y() - centre_.y();
            // In the frame where the sector's middle is straight up.
            const double x = dx * std::cos(middle) + dy * std::sin(middle);
            const double up = dx * std::sin(middle) - dy * std::cos(middle);
            if (up * std::sin(h) - std::abs(x) * std::cos(h) < pad || std::hypot(dx, dy) > high)
                return false;
        }
        const double nx = std::clamp(centre_.x(), square.left(), square.right()) - centre_.x();
        const double ny = std::clamp(centre_.y(), square.top(), square.bottom()) - centre_.y();
        return std::hypot(nx, ny) >= low;
    };
    QRectF best;
    for (double side = high - low; side >= 4; side -= std::max(1.0, unit_)) {
        for (double radius = low; radius <= high; radius += std::max(0.5, unit_ / 2)) {
            if (fits(side, radius)) {
                const QPointF at = atBearing(centre_, radius, span.middle());
                return QRectF(at.x() - side / 2, at.y() - side / 2, side, side);
            }
        }
    }
    return best;
}

int WheelGeometry::slotAt(QPointF point) const
{
    const double dx = point.x() - centre_.x();
    const double dy = point.y() - centre_.y();
    const double r = std::hypot(dx, dy);
    if (r < hub_ || r > face_)
        return 0;
    double bearing = std::atan2(dx, -dy) * 180 / Pi;
    if (bearing < 0)
        bearing += 360;
    for (int slot = 1; slot <= 8; ++slot) {
        const SectorSpan span = slotSpan(slot);
        if ((bearing >= span.from && bearing < span.to) ||
            (bearing - 360 >= span.from && bearing - 360 < span.to))
            return slot;
    }
    return 0;
}

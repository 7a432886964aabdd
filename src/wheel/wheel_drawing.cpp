#include "wheel/wheel_drawing.h"

#include "wheel/name_fit.h"
#include "wheel/wheel_geometry.h"

#include <QConicalGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QStringList>
#include <cmath>

namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr int BulbCount = 32;
const QColor DarkInk(0x5a, 0x05, 0x0a);
const QColor LightInk(0xff, 0xf6, 0xd8);

// A ring segment between two bearings (clockwise from the top, from < to).
QPainterPath segment(QPointF centre, double inner, double outer, double from, double to)
{
    // Qt measures arcs counter-clockwise from three o'clock.
    const double start = 90.0 - from;
    const double sweep = to - from;
    const QRectF o(centre.x() - outer, centre.y() - outer, 2 * outer, 2 * outer);
    const QRectF i(centre.x() - inner, centre.y() - inner, 2 * inner, 2 * inner);
    QPainterPath path;
    path.arcMoveTo(o, start);
    path.arcTo(o, start, -sweep);
    if (inner > 0)
        path.arcTo(i, start - sweep, sweep);
    else
        path.lineTo(centre);
    path.closeSubpath();
    return path;
}

double luminance(const QColor& c)
{
    const auto channel = [](double v) {
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

double contrast(const QColor& a, const QColor& b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

void drawRim(QPainter& p, const WheelGeometry& g)
{
    const QPointF c = g.centre();
    const double u = g.unit();
    QConicalGradient gold(c, 60);
    gold.setColorAt(0.00, QColor(0xff, 0xe8, 0x8a));
    gold.setColorAt(0.25, QColor(0xc8, 0x8a, 0x1a));
    gold.setColorAt(0.50, QColor(0xff, 0xd8, 0x5a));
    gold.setColorAt(0.75, QColor(0xb0, 0x76, 0x10));
    gold.setColorAt(1.00, QColor(0xff, 0xe8, 0x8a));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x5c, 0x30, 0x04));
    p.drawEllipse(c, g.outer(), g.outer());
    p.setBrush(gold);
    p.drawEllipse(c, g.outer() - 2.5 * u, g.outer() - 2.5 * u);
    p.setBrush(QColor(0x7a, 0x44, 0x06));
    p.drawEllipse(c, g.rimInner() + u, g.rimInner() + u);
    // Bulbs around the rim, warm and white in turn.
    const double r = (g.outer() - 2.5 * u + g.rimInner() + u) / 2;
    for (int i = 0; i < BulbCount; ++i) {
        const QPointF at = atBearing(c, r, 360.0 * (i + 0.5) / BulbCount);
        const bool warm = i % 2 == 0;
        p.setBrush(QColor(0x6a, 0x36, 0x02));
        p.drawEllipse(at, 7.5 * u, 7.5 * u);
        QRadialGradient glow(at - QPointF(1.5, 1.5) * u, 7 * u);
        glow.setColorAt(0.0, Qt::white);
        glow.setColorAt(0.45, warm ? QColor(0xff, 0xf4, 0xb0) : QColor(0xff, 0xfc, 0xe8));
        glow.setColorAt(1.0, warm ? QColor(0xf0, 0x9a, 0x10) : QColor(0xf4, 0xc8, 0x40));
        p.setBrush(glow);
        p.drawEllipse(at, 6 * u, 6 * u);
    }
}

void drawFaces(QPainter& p, const WheelGeometry& g)
{
    p.setPen(Qt::NoPen);
    for (int slot = 1; slot <= 8; ++slot) {
        const SectorSpan span = slotSpan(slot);
        p.setBrush(faceColour(slot));
        p.drawPath(segment(g.centre(), 0, g.face() + g.unit(), span.from, span.to));
    }
    // One shading over every face, lighter towards the middle, so neighbours keep their
    // difference at any distance from the centre.
    QRadialGradient shade(g.centre(), g.face());
    shade.setColorAt(0.0, QColor(255, 255, 255, 70));
    shade.setColorAt(0.55, QColor(255, 255, 255, 20));
    shade.setColorAt(1.0, QColor(0, 0, 0, 30));
    p.setBrush(shade);
    p.drawEllipse(g.centre(), g.face() + g.unit(), g.face() + g.unit());
    // A fine light line on every edge, narrow enough to leave the faces their colour right up
    // to a degree from it.
    p.setPen(QPen(QColor(0xff, 0xfa, 0xec, 200), 1.2 * g.unit(), Qt::SolidLine, Qt::FlatCap));
    for (int slot = 1; slot <= 8; ++slot) {
        const double edge = slotSpan(slot).to;
        p.drawLine(atBearing(g.centre(), g.hub(), edge), atBearing(g.centre(), g.face(), edge));
    }
}

void drawPicture(QPainter& p, const WheelGeometry& g, int slot, const QImage& picture)
{
    const QRectF box = g.pictureBox(slot);
    if (picture.isNull() || box.isEmpty())
        return;
    // Whole inside the box, its proportions kept.
    const QSizeF size = QSizeF(picture.size()).scaled(box.size(), Qt::KeepAspectRatio);
    const QRectF target(box.center().x() - size.width() / 2, box.center().y() - size.height() / 2,
                        size.width(), size.height());
    p.save();
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(target, picture);
    p.restore();
}

void drawName(QPainter& p, const WheelGeometry& g, int slot, const QString& name, const QFont& font)
{
    const NameBox box = g.nameBox(slot);
    const bool flipped = WheelGeometry::nameFlipped(slot);
    const FittedName fitted = fitName(name, box, font, flipped);
    if (fitted.glyphs.isEmpty())
        return;
    const SectorSpan span = slotSpan(slot);
    p.save();
    p.translate(g.centre());
    p.rotate(span.middle());
    // Whatever a font draws beyond its glyphs' boxes stays on the sector all the same, its
    // smoothed edge too: half the padding inside the face's own edge.
    const double margin = box.padding / 2;
    const double h = box.halfAngle * Pi / 180;
    // The wedge with its two edges moved in by the margin: they meet on the middle line.
    const QPointF apex(0, -margin / std::sin(h));
    const double reach = 2 * box.outer;
    QPainterPath wedge;
    wedge.moveTo(apex);
    wedge.lineTo(apex + QPointF(reach * std::sin(h), -reach * std::cos(h)));
    wedge.lineTo(apex + QPointF(-reach * std::sin(h), -reach * std::cos(h)));
    wedge.closeSubpath();
    p.setClipPath(segment(QPointF(0, 0), box.inner + margin, box.outer - margin, -box.halfAngle,
                          box.halfAngle)
                      .intersected(wedge));
    if (flipped)
        p.rotate(180);
    p.setPen(nameColourOn(faceColour(slot)));
    for (const QGlyphRun& run : fitted.glyphs)
        p.drawGlyphRun(QPointF(0, 0), run);
    p.restore();
}

void drawHub(QPainter& p, const WheelGeometry& g)
{
    const QPointF c = g.centre();
    const double u = g.unit();
    p.setPen(QPen(QColor(0x6a, 0x36, 0x02), 2 * u));
    QRadialGradient gold(c - QPointF(12, 14) * u, g.hub() * 1.4);
    gold.setColorAt(0.0, QColor(0xff, 0xf2, 0xb8));
    gold.setColorAt(0.5, QColor(0xe8, 0xb0, 0x30));
    gold.setColorAt(1.0, QColor(0x9c, 0x64, 0x0a));
    p.setBrush(gold);
    p.drawEllipse(c, g.hub(), g.hub());
    p.setPen(QPen(QColor(0xff, 0xee, 0xa0), 1.5 * u));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, g.hub() - 7 * u, g.hub() - 7 * u);
}

} // namespace

bool WheelContent::operator==(const WheelContent& other) const
{
    return names == other.names && fontFamily == other.fontFamily &&
           std::equal(
               pictures.begin(), pictures.end(), other.pictures.begin(),
               [](const QImage& a, const QImage& b) { return a.cacheKey() == b.cacheKey(); });
}

QColor faceColour(int slot)
{
    switch ((slot - 1) % 4) {
    case 0:
        return {0xd4, 0x14, 0x24};
    case 1:
        return {0xf5, 0xbc, 0x1c};
    case 2:
        return {0x8c, 0x06, 0x22};
    default:
        return {0xf0, 0x6e, 0x12};
    }
}

QColor nameColourOn(const QColor& face)
{
    return contrast(DarkInk, face) >= contrast(LightInk, face) ? DarkInk : LightInk;
}

QImage drawWheel(QSize pixels, const WheelContent& content)
{
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return image;
    image.fill(Qt::transparent);
    const WheelGeometry g(pixels);
    QFont font(content.fontFamily);
    font.setBold(true);
    // Glyphs at the pixels they are drawn at: no hinting that would move them off their box.
    font.setHintingPreference(QFont::PreferNoHinting);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    drawRim(p, g);
    drawFaces(p, g);
    for (int slot = 1; slot <= 8; ++slot) {
        drawPicture(p, g, slot, content.pictures[slot - 1]);
        drawName(p, g, slot, content.names[slot - 1], font);
    }
    drawHub(p, g);
    return image;
}

QString describeWheel(const std::array<QString, 8>& names)
{
    QStringList parts;
    for (int slot = 1; slot <= 8; ++slot)
        parts.append(QStringLiteral("%1 %2").arg(slot).arg(names[slot - 1].trimmed()));
    return parts.join(QStringLiteral("；"));
}

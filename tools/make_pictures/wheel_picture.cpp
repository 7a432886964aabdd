#include "wheel_picture.h"

#include "picture_kit.h"

#include "draw/sector_table.h"

#include <QConicalGradient>
#include <QPainter>
#include <QRadialGradient>

namespace {

constexpr int Width = 545;
constexpr int Height = 529;
const QPointF Centre(Width / 2.0, Height / 2.0);

constexpr double OuterRadius = 262;  // the cut edge
constexpr double RimInner = 236;     // gold rim from here outwards
constexpr double FaceRadius = 234;   // the coloured sectors
constexpr double NumberRadius = 186; // centre of the slot numbers
constexpr double HubRadius = 50;     // gold boss under the pointer's hub
constexpr int BulbCount = 32;

struct SectorStyle
{
    QColor face;
    QColor digitFill;
    QColor digitOutline;
};

// Red, gold, crimson and orange in turn, so that neighbours always differ clearly.
SectorStyle styleForSlot(int slot)
{
    switch ((slot - 1) % 4) {
    case 0:
        return {QColor(0xd4, 0x14, 0x24), QColor(0xff, 0xe0, 0x6a), QColor(0x5a, 0x05, 0x0a)};
    case 1:
        return {QColor(0xf5, 0xbc, 0x1c), QColor(0xa8, 0x0a, 0x14), QColor(0xff, 0xf6, 0xd8)};
    case 2:
        return {QColor(0x8c, 0x06, 0x22), QColor(0xff, 0xe0, 0x6a), QColor(0x3c, 0x02, 0x0e)};
    default:
        return {QColor(0xf0, 0x6e, 0x12), QColor(0xff, 0xff, 0xff), QColor(0x7a, 0x1c, 0x00)};
    }
}

// A slot's span in degrees clockwise from the top, as the draw and the drawn wheel have it.
void sectorSpan(const Sector& s, double& from, double& to)
{
    const SectorSpan span = ::sectorSpan(s);
    from = span.from;
    to = span.to;
}

void drawRim(QPainter& p)
{
    // Drawn past the cut edge so the cut leaves fully covered pixels.
    QConicalGradient gold(Centre, 60);
    gold.setColorAt(0.00, QColor(0xff, 0xe8, 0x8a));
    gold.setColorAt(0.25, QColor(0xc8, 0x8a, 0x1a));
    gold.setColorAt(0.50, QColor(0xff, 0xd8, 0x5a));
    gold.setColorAt(0.75, QColor(0xb0, 0x76, 0x10));
    gold.setColorAt(1.00, QColor(0xff, 0xe8, 0x8a));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x5c, 0x30, 0x04));
    p.drawEllipse(Centre, OuterRadius + 3, OuterRadius + 3);
    p.setBrush(gold);
    p.drawEllipse(Centre, OuterRadius - 2.5, OuterRadius - 2.5);
    p.setBrush(QColor(0x7a, 0x44, 0x06));
    p.drawEllipse(Centre, RimInner + 1, RimInner + 1);
    p.setBrush(QColor(0xff, 0xe2, 0x7a));
    p.drawEllipse(Centre, RimInner - 0.5, RimInner - 0.5);
}

void drawBulbs(QPainter& p)
{
    const double r = (OuterRadius - 2.5 + RimInner + 1) / 2;
    for (int i = 0; i < BulbCount; ++i) {
        const QPointF at = pointAtBearing(Centre, r, 360.0 * i / BulbCount + 360.0 / BulbCount / 2);
        const bool warm = i % 2 == 0;
        p.setBrush(QColor(0x6a, 0x36, 0x02));
        p.drawEllipse(at, 7.5, 7.5);
        QRadialGradient glow(at + QPointF(-1.5, -1.5), 7);
        glow.setColorAt(0.0, Qt::white);
        glow.setColorAt(0.45, warm ? QColor(0xff, 0xf4, 0xb0) : QColor(0xff, 0xfc, 0xe8));
        glow.setColorAt(1.0, warm ? QColor(0xf0, 0x9a, 0x10) : QColor(0xf4, 0xc8, 0x40));
        p.setBrush(glow);
        p.drawEllipse(at, 6, 6);
    }
}

void drawSectors(QPainter& p)
{
    for (const Sector& s : Sectors) {
        double from = 0, to = 0;
        sectorSpan(s, from, to);
        const SectorStyle style = styleForSlot(s.slot);
        // Deeper towards the rim, lighter towards the middle: the same curve for every slot, so
        // equal distances from the centre compare like for like.
        QRadialGradient shade(Centre, FaceRadius);
        shade.setColorAt(0.0, style.face.lighter(135));
        shade.setColorAt(0.55, style.face.lighter(112));
        shade.setColorAt(1.0, style.face.darker(112));
        p.setPen(Qt::NoPen);
        p.setBrush(shade);
        // A hair wider than the span, so neighbours overlap instead of leaving a seam.
        p.drawPath(wedgePath(Centre, 0, FaceRadius + 1, from - 0.05, to + 0.05));
    }
}

void drawSeparators(QPainter& p)
{
    for (const Sector& s : Sectors) {
        const double boundary = s.last + 0.5;
        p.setPen(QPen(QColor(0xff, 0xfa, 0xec), 2.2, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(pointAtBearing(Centre, HubRadius, boundary),
                   pointAtBearing(Centre, FaceRadius, boundary));
        // A gold stud where the separator meets the rim.
        p.setPen(QPen(QColor(0x7a, 0x44, 0x06), 1.2));
        QRadialGradient stud(pointAtBearing(Centre, FaceRadius - 6, boundary) + QPointF(-1, -1), 5);
        stud.setColorAt(0, QColor(0xff, 0xf4, 0xc0));
        stud.setColorAt(1, QColor(0xd0, 0x92, 0x1a));
        p.setBrush(stud);
        p.drawEllipse(pointAtBearing(Centre, FaceRadius - 6, boundary), 4.2, 4.2);
    }
}

void drawNumbers(QPainter& p)
{
    const QFont font = digitFont(60);
    for (const Sector& s : Sectors) {
        double from = 0, to = 0;
        sectorSpan(s, from, to);
        const SectorStyle style = styleForSlot(s.slot);
        // Upright: the wheel itself never turns, so the numbers are read as they stand.
        drawOutlinedText(p, pointAtBearing(Centre, NumberRadius, (from + to) / 2),
                         QString::number(s.slot), font, style.digitFill, style.digitOutline, 3.5);
    }
}

void drawHub(QPainter& p)
{
    p.setPen(QPen(QColor(0x6a, 0x36, 0x02), 2));
    QRadialGradient gold(Centre + QPointF(-12, -14), HubRadius * 1.4);
    gold.setColorAt(0.0, QColor(0xff, 0xf2, 0xb8));
    gold.setColorAt(0.5, QColor(0xe8, 0xb0, 0x30));
    gold.setColorAt(1.0, QColor(0x9c, 0x64, 0x0a));
    p.setBrush(gold);
    p.drawEllipse(Centre, HubRadius, HubRadius);
    p.setPen(QPen(QColor(0xff, 0xee, 0xa0), 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(Centre, HubRadius - 7, HubRadius - 7);
}

} // namespace

QImage makeWheelPicture()
{
    // Drawn at twice the size the layout shows it, so that a 4K screen shows it sharp.
    QImage image(Width * 2, Height * 2, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(2, 2);
        drawRim(p);
        drawBulbs(p);
        drawSectors(p);
        drawSeparators(p);
        drawNumbers(p);
        drawHub(p);
    }
    cutToCircle(image, Centre * 2, OuterRadius * 2);
    return image;
}

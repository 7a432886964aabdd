#include "pointer_picture.h"

#include "picture_kit.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPolygonF>
#include <QRadialGradient>

#include <cmath>

namespace {

// The control shows the picture inside a square whose side is its diagonal, shrunk to fit the
// control: a tall, narrow picture therefore reaches much farther out than a square one (about
// 166 of the wheel's 262 pixels of radius, against 122). Odd sizes put the turning centre
// (column W div 2, row H div 2) on the middle pixel exactly.
constexpr int Width = 101;
constexpr int Height = 341;
const QPointF Centre(Width / 2 + 0.5, Height / 2 + 0.5);

constexpr double TipY = -162; // the needle's tip, relative to the centre
constexpr double TailY = 72;  // the end of the counterweight
constexpr double HubRadius = 40;

QPainterPath needleOutline()
{
    // A slim arrow: shoulders below the tip, a waist, and a broad base into the hub.
    QPainterPath path;
    path.moveTo(0, TipY);
    path.lineTo(27, TipY + 56);
    path.lineTo(12, TipY + 48);
    path.lineTo(22, -24);
    path.lineTo(0, -6);
    path.lineTo(-22, -24);
    path.lineTo(-12, TipY + 48);
    path.lineTo(-27, TipY + 56);
    path.closeSubpath();
    return path;
}

QPainterPath tailOutline()
{
    QPainterPath path;
    path.moveTo(-20, 10);
    path.lineTo(20, 10);
    path.lineTo(13, TailY - 10);
    path.quadTo(0, TailY + 4, -13, TailY - 10);
    path.closeSubpath();
    return path;
}

QPainterPath star(double outer, double inner)
{
    QPainterPath path;
    for (int i = 0; i < 10; ++i) {
        const double r = i % 2 == 0 ? outer : inner;
        const QPointF at = pointAtBearing(QPointF(0, 0), r, 36.0 * i);
        if (i == 0)
            path.moveTo(at);
        else
            path.lineTo(at);
    }
    path.closeSubpath();
    return path;
}

void drawBody(QPainter& p, const QPainterPath& body)
{
    const QColor darkEdge(0x4a, 0x1c, 0x00);
    const QColor gold(0xf6, 0xc8, 0x48);
    // Dark outline, then a gold border, then the red fill: crisp on any background.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(darkEdge, 10, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(body);
    p.setPen(QPen(gold, 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(body);
    p.setPen(Qt::NoPen);
    QLinearGradient red(QPointF(-22, 0), QPointF(22, 0));
    red.setColorAt(0.0, QColor(0xff, 0x4a, 0x3a));
    red.setColorAt(0.49, QColor(0xe0, 0x16, 0x20));
    red.setColorAt(0.51, QColor(0xa8, 0x06, 0x12));
    red.setColorAt(1.0, QColor(0x78, 0x02, 0x0a));
    p.setBrush(red);
    p.drawPath(body);
}

void drawHub(QPainter& p)
{
    p.setPen(QPen(QColor(0x4a, 0x1c, 0x00), 3));
    QRadialGradient gold(QPointF(-10, -12), HubRadius * 1.5);
    gold.setColorAt(0.0, QColor(0xff, 0xf6, 0xc8));
    gold.setColorAt(0.45, QColor(0xf0, 0xbc, 0x38));
    gold.setColorAt(1.0, QColor(0x96, 0x5c, 0x06));
    p.setBrush(gold);
    p.drawEllipse(QPointF(0, 0), HubRadius, HubRadius);

    p.setPen(QPen(QColor(0x7a, 0x3c, 0x02), 2));
    QRadialGradient red(QPointF(-6, -7), 30);
    red.setColorAt(0.0, QColor(0xff, 0x50, 0x44));
    red.setColorAt(0.6, QColor(0xcc, 0x0c, 0x18));
    red.setColorAt(1.0, QColor(0x70, 0x02, 0x08));
    p.setBrush(red);
    p.drawEllipse(QPointF(0, 0), 27, 27);

    p.setPen(QPen(QColor(0x8a, 0x4a, 0x00), 1.2));
    QRadialGradient starGold(QPointF(-3, -4), 18);
    starGold.setColorAt(0.0, QColor(0xff, 0xfa, 0xd8));
    starGold.setColorAt(1.0, QColor(0xf2, 0xb8, 0x2c));
    p.setBrush(starGold);
    p.drawPath(star(19, 8));
}

} // namespace

QImage makePointerPicture()
{
    // Twice the size the control shows it, the sizes kept odd so the turning centre stays on
    // the middle pixel.
    QImage image(Width * 2 + 1, Height * 2 + 1, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.translate(Centre * 2 + QPointF(0.5, 0.5));
        p.scale(2, 2);
        drawBody(p, tailOutline());
        drawBody(p, needleOutline());
        // A bright ridge down the needle's left half catches the light.
        p.setPen(QPen(QColor(0xff, 0xb0, 0x90, 200), 1.5));
        p.drawLine(QPointF(-2, TipY + 14), QPointF(-5, -30));
        drawHub(p);
    }
    hardenAlpha(image);
    return image;
}

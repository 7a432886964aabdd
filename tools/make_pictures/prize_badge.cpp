#include "prize_badge.h"

#include "picture_kit.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include <cmath>

namespace {

constexpr int Side = 120;
const QPointF MedalCentre(60, 53);
constexpr double ScallopRadius = 49;
constexpr int Scallops = 18;

QPainterPath ribbonTail(double side)
{
    // From behind the medal down to a notched end at the bottom.
    QPainterPath path;
    const double x = 60 + side * 8;
    path.moveTo(x - 13, 70);
    path.lineTo(x + 13, 70);
    path.lineTo(x + side * 24 + 12, 117);
    path.lineTo(x + side * 24, 108);
    path.lineTo(x + side * 24 - 12, 117);
    path.closeSubpath();
    return path;
}

QPainterPath scallopedEdge()
{
    QPainterPath path;
    path.addEllipse(MedalCentre, ScallopRadius - 5, ScallopRadius - 5);
    for (int i = 0; i < Scallops; ++i) {
        const QPointF at = pointAtBearing(MedalCentre, ScallopRadius - 5, 360.0 * i / Scallops);
        QPainterPath bump;
        bump.addEllipse(at, 7, 7);
        path = path.united(bump);
    }
    return path;
}

} // namespace

QImage makePrizeBadge(int slot)
{
    QImage image(Side, Side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        const QColor edge(0x4a, 0x1c, 0x00);

        for (double side : {-1.0, 1.0}) {
            QLinearGradient red(QPointF(40, 0), QPointF(80, 0));
            red.setColorAt(0, QColor(0xe8, 0x1c, 0x2a));
            red.setColorAt(1, QColor(0x9a, 0x04, 0x14));
            p.setPen(QPen(edge, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
            p.setBrush(red);
            p.drawPath(ribbonTail(side));
            // A gold stripe along the tail.
            p.setPen(QPen(QColor(0xf6, 0xc8, 0x48), 3));
            p.drawLine(QPointF(60 + side * 8, 72), QPointF(60 + side * 26, 103));
        }

        QRadialGradient gold(MedalCentre + QPointF(-14, -16), ScallopRadius * 1.6);
        gold.setColorAt(0.0, QColor(0xff, 0xf6, 0xc8));
        gold.setColorAt(0.45, QColor(0xf2, 0xbe, 0x3a));
        gold.setColorAt(1.0, QColor(0x9a, 0x60, 0x08));
        p.setPen(QPen(edge, 2.5));
        p.setBrush(gold);
        p.drawPath(scallopedEdge());

        p.setPen(QPen(QColor(0x8a, 0x4a, 0x00), 2));
        QRadialGradient red(MedalCentre + QPointF(-8, -10), 44);
        red.setColorAt(0.0, QColor(0xf4, 0x34, 0x30));
        red.setColorAt(0.6, QColor(0xc4, 0x0a, 0x18));
        red.setColorAt(1.0, QColor(0x74, 0x02, 0x0a));
        p.setBrush(red);
        p.drawEllipse(MedalCentre, 35, 35);
        p.setPen(QPen(QColor(0xff, 0xe2, 0x7a), 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(MedalCentre, 31, 31);

        QLinearGradient digitGold(MedalCentre + QPointF(0, -24), MedalCentre + QPointF(0, 24));
        digitGold.setColorAt(0.0, QColor(0xff, 0xfb, 0xe0));
        digitGold.setColorAt(0.5, QColor(0xff, 0xdc, 0x5a));
        digitGold.setColorAt(1.0, QColor(0xf0, 0xa8, 0x1c));
        drawOutlinedText(p, MedalCentre, QString::number(slot), digitFont(50), digitGold,
                         QColor(0x50, 0x02, 0x08), 2.5);
    }
    hardenAlpha(image);
    return image;
}

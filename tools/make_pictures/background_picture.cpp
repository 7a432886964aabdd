#include "background_picture.h"

#include "picture_kit.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include <cmath>

namespace {

constexpr double DesignWidth = 1920;
constexpr double DesignHeight = 1080;
const QPointF Glow(960, 470);    // where the light comes from
constexpr double FloorTop = 850; // the stage's front edge

QColor withAlpha(QColor c, double alpha)
{
    c.setAlphaF(static_cast<float>(alpha));
    return c;
}

void paintBase(QPainter& p)
{
    QRadialGradient base(Glow, 1150);
    base.setColorAt(0.0, QColor(0xc8, 0x20, 0x26));
    base.setColorAt(0.35, QColor(0x9a, 0x0e, 0x16));
    base.setColorAt(0.7, QColor(0x5c, 0x04, 0x0c));
    base.setColorAt(1.0, QColor(0x2a, 0x01, 0x06));
    p.fillRect(QRectF(0, 0, DesignWidth, DesignHeight), base);
}

void paintRays(QPainter& p)
{
    const int rays = 36;
    QRadialGradient fade(Glow, 1100);
    fade.setColorAt(0.0, withAlpha(QColor(0xff, 0xd8, 0x70), 0.22));
    fade.setColorAt(0.5, withAlpha(QColor(0xff, 0xc0, 0x40), 0.08));
    fade.setColorAt(1.0, withAlpha(QColor(0xff, 0xc0, 0x40), 0.0));
    p.setPen(Qt::NoPen);
    p.setBrush(fade);
    for (int i = 0; i < rays; ++i) {
        const double at = 360.0 * i / rays;
        p.drawPath(wedgePath(Glow, 0, 1400, at, at + 360.0 / rays * 0.45));
    }
    QRadialGradient core(Glow, 520);
    core.setColorAt(0.0, withAlpha(QColor(0xff, 0xe6, 0x9a), 0.30));
    core.setColorAt(1.0, withAlpha(QColor(0xff, 0xb0, 0x30), 0.0));
    p.setBrush(core);
    p.drawEllipse(Glow, 520, 520);
}

void paintBokeh(QPainter& p)
{
    quint32 seed = 20130101u;
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 110; ++i) {
        const QPointF at(nextScatter(seed) * DesignWidth, 120 + nextScatter(seed) * 760);
        const double r = 6 + std::pow(nextScatter(seed), 2.0) * 38;
        const double alpha = 0.08 + nextScatter(seed) * 0.22;
        const QColor tint =
            nextScatter(seed) < 0.75 ? QColor(0xff, 0xd2, 0x60) : QColor(0xff, 0xf0, 0xd0);
        QRadialGradient light(at, r);
        light.setColorAt(0.0, withAlpha(tint, alpha * 0.7));
        light.setColorAt(0.8, withAlpha(tint, alpha));
        light.setColorAt(1.0, withAlpha(tint, 0.0));
        p.setBrush(light);
        p.drawEllipse(at, r, r);
    }
}

void paintFirework(QPainter& p, QPointF at, double radius, QColor colour, int sparks, quint32 seed)
{
    for (int i = 0; i < sparks; ++i) {
        const double bearing = 360.0 * i / sparks + nextScatter(seed) * 4;
        const double reach = radius * (0.75 + nextScatter(seed) * 0.25);
        const QPointF from = pointAtBearing(at, reach * 0.25, bearing);
        const QPointF to = pointAtBearing(at, reach, bearing);
        QLinearGradient trail(from, to);
        trail.setColorAt(0.0, withAlpha(colour, 0.0));
        trail.setColorAt(1.0, withAlpha(colour, 0.55));
        p.setPen(QPen(QBrush(trail), 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(from, to);
        p.setPen(Qt::NoPen);
        p.setBrush(withAlpha(colour.lighter(130), 0.8));
        p.drawEllipse(to, 2.6, 2.6);
        // A second, inner ring of sparkles.
        p.setBrush(withAlpha(colour, 0.45));
        p.drawEllipse(pointAtBearing(at, reach * 0.6, bearing + 5), 1.6, 1.6);
    }
    QRadialGradient flash(at, radius * 0.35);
    flash.setColorAt(0.0, withAlpha(QColor(0xff, 0xf4, 0xd0), 0.35));
    flash.setColorAt(1.0, withAlpha(colour, 0.0));
    p.setBrush(flash);
    p.drawEllipse(at, radius * 0.35, radius * 0.35);
}

void paintFireworks(QPainter& p)
{
    paintFirework(p, QPointF(470, 300), 150, QColor(0xff, 0xd0, 0x50), 40, 1);
    paintFirework(p, QPointF(1480, 270), 170, QColor(0xff, 0x90, 0x90), 44, 2);
    paintFirework(p, QPointF(1180, 560), 110, QColor(0xff, 0xe8, 0xa0), 32, 3);
    paintFirework(p, QPointF(760, 610), 95, QColor(0xff, 0xb0, 0x40), 30, 4);
    paintFirework(p, QPointF(1700, 600), 90, QColor(0xff, 0xd8, 0x80), 28, 5);
}

QBrush velvet(double foldWidth, QColor light, QColor dark)
{
    QLinearGradient folds(QPointF(0, 0), QPointF(foldWidth, 0));
    folds.setSpread(QGradient::RepeatSpread);
    folds.setColorAt(0.0, dark);
    folds.setColorAt(0.45, light);
    folds.setColorAt(0.6, light.darker(115));
    folds.setColorAt(1.0, dark);
    return QBrush(folds);
}

void paintCurtain(QPainter& p)
{
    QPainterPath curtain;
    curtain.moveTo(0, 0);
    curtain.lineTo(270, 0);
    curtain.cubicTo(262, 260, 205, 520, 160, 620);
    curtain.cubicTo(190, 720, 250, 920, 300, DesignHeight);
    curtain.lineTo(0, DesignHeight);
    curtain.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(velvet(54, QColor(0xa8, 0x0c, 0x1c), QColor(0x3a, 0x00, 0x08)));
    p.drawPath(curtain);
    // Shade towards the wall, light on the inner edge.
    QLinearGradient depth(QPointF(0, 0), QPointF(300, 0));
    depth.setColorAt(0.0, withAlpha(Qt::black, 0.45));
    depth.setColorAt(0.7, withAlpha(Qt::black, 0.0));
    p.setBrush(depth);
    p.drawPath(curtain);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0xd8, 0xa0, 0x30), 4));
    p.drawPath(curtain);

    // The gold tie-back with its tassel.
    p.setPen(QPen(QColor(0x6a, 0x3a, 0x00), 2));
    QLinearGradient rope(QPointF(0, 600), QPointF(0, 640));
    rope.setColorAt(0.0, QColor(0xff, 0xe6, 0x8a));
    rope.setColorAt(1.0, QColor(0xb8, 0x7c, 0x10));
    p.setBrush(rope);
    p.drawRoundedRect(QRectF(-10, 602, 180, 32), 16, 16);
    QPainterPath tassel;
    tassel.moveTo(150, 628);
    tassel.cubicTo(136, 660, 130, 700, 126, 730);
    tassel.lineTo(176, 730);
    tassel.cubicTo(172, 700, 166, 660, 152, 628);
    p.drawPath(tassel);
    p.drawEllipse(QPointF(151, 630), 13, 13);
}

void paintValance(QPainter& p)
{
    const int swags = 6;
    const double width = DesignWidth / swags;
    QPainterPath valance;
    valance.moveTo(0, 0);
    valance.lineTo(DesignWidth, 0);
    valance.lineTo(DesignWidth, 62);
    for (int i = swags - 1; i >= 0; --i) {
        const double right = (i + 1) * width;
        const double left = i * width;
        valance.cubicTo(right - width * 0.2, 118, left + width * 0.2, 118, left, 62);
    }
    valance.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(velvet(38, QColor(0x8a, 0x08, 0x18), QColor(0x34, 0x00, 0x06)));
    p.drawPath(valance);
    QLinearGradient shade(QPointF(0, 0), QPointF(0, 118));
    shade.setColorAt(0.0, withAlpha(Qt::black, 0.5));
    shade.setColorAt(1.0, withAlpha(Qt::black, 0.05));
    p.setBrush(shade);
    p.drawPath(valance);
    // Gold fringe along the hem, and a tassel where two swags meet.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0xe8, 0xb4, 0x3c), 5));
    p.drawPath(valance);
    p.setPen(QPen(QColor(0x6a, 0x3a, 0x00), 1.5));
    p.setBrush(QColor(0xf0, 0xc0, 0x48));
    for (int i = 1; i < swags; ++i) {
        const double x = i * width;
        QPainterPath tassel;
        tassel.moveTo(x - 4, 62);
        tassel.lineTo(x - 12, 108);
        tassel.lineTo(x + 12, 108);
        tassel.lineTo(x + 4, 62);
        tassel.closeSubpath();
        p.drawPath(tassel);
        p.drawEllipse(QPointF(x, 64), 9, 9);
    }
}

void paintFloor(QPainter& p)
{
    QLinearGradient floor(QPointF(0, FloorTop), QPointF(0, DesignHeight));
    floor.setColorAt(0.0, QColor(0x4a, 0x06, 0x0c));
    floor.setColorAt(0.25, QColor(0x2a, 0x02, 0x06));
    floor.setColorAt(1.0, QColor(0x10, 0x00, 0x02));
    p.setPen(Qt::NoPen);
    p.setBrush(floor);
    p.drawRect(QRectF(0, FloorTop, DesignWidth, DesignHeight - FloorTop));
    // The light's reflection on the boards, kept faint under the text.
    QRadialGradient sheen(QPointF(960, FloorTop + 10), 700);
    sheen.setColorAt(0.0, withAlpha(QColor(0xff, 0xb0, 0x40), 0.16));
    sheen.setColorAt(1.0, withAlpha(QColor(0xff, 0xb0, 0x40), 0.0));
    p.setBrush(sheen);
    p.save();
    p.setClipRect(QRectF(0, FloorTop, DesignWidth, DesignHeight - FloorTop));
    p.translate(0, FloorTop);
    p.scale(1, 0.18);
    p.translate(0, -FloorTop);
    p.drawEllipse(QPointF(960, FloorTop + 10), 700, 700);
    p.restore();
    // Gold stage edge.
    QLinearGradient edge(QPointF(0, FloorTop - 4), QPointF(0, FloorTop + 6));
    edge.setColorAt(0.0, QColor(0xff, 0xe0, 0x80));
    edge.setColorAt(1.0, QColor(0x9a, 0x60, 0x08));
    p.setBrush(edge);
    p.drawRect(QRectF(0, FloorTop - 4, DesignWidth, 10));
}

void paintDarkBands(QPainter& p)
{
    // Keeps white text readable at the top (the title) and above the bottom edge (results).
    QLinearGradient top(QPointF(0, 0), QPointF(0, 240));
    top.setColorAt(0.0, withAlpha(Qt::black, 0.35));
    top.setColorAt(1.0, withAlpha(Qt::black, 0.0));
    p.fillRect(QRectF(0, 0, DesignWidth, 240), top);
    QRadialGradient vignette(QPointF(960, 500), 1200);
    vignette.setColorAt(0.55, withAlpha(Qt::black, 0.0));
    vignette.setColorAt(1.0, withAlpha(Qt::black, 0.45));
    p.fillRect(QRectF(0, 0, DesignWidth, DesignHeight), vignette);
}

} // namespace

QImage makeBackgroundPicture(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size.width() / DesignWidth, size.height() / DesignHeight);
    paintBase(p);
    paintRays(p);
    paintBokeh(p);
    paintFireworks(p);
    paintFloor(p);
    paintCurtain(p);
    p.save();
    p.translate(DesignWidth, 0);
    p.scale(-1, 1);
    paintCurtain(p);
    p.restore();
    paintValance(p);
    paintDarkBands(p);
    return image;
}

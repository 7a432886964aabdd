#include "drawscreen/celebration_scene.h"

#include "draw/random_source.h"

#include <QtMath>
#include <algorithm>
#include <cmath>

namespace {

// Paper in air: a drag of Drag per second pulls each piece towards falling at FallShare of the
// area's height per second, so it soon tumbles down slowly, as confetti does.
constexpr qreal Drag = 3.0;
constexpr qreal FallShare = 0.22;
constexpr qreal FadeSeconds = 0.6;

const QRgb Palette[] = {0xffe53935, 0xffffc107, 0xff43a047, 0xff1e88e5,
                        0xffd81b60, 0xffff7043, 0xff00bcd4, 0xff8e24aa};

// A number from a to b, from the program's own generator.
qreal uniform(RandomSource& random, qreal a, qreal b)
{
    constexpr uint32_t Steps = 1u << 24;
    return a + (b - a) * random.below(Steps) / Steps;
}

} // namespace

CelebrationScene::CelebrationScene(QSize area, uint32_t seed, int pieces) : area_(area)
{
    RandomSource random;
    random.setSeed(seed);
    const qreal w = area.width();
    const qreal h = area.height();
    const qreal unit = h / 90; // a piece is about 12 pixels long on a 1080-line screen
    launches_.reserve(pieces);
    for (int i = 0; i < pieces; ++i) {
        // Half from each bottom corner, shot up and inwards.
        const qreal side = i % 2 == 0 ? 1 : -1;
        Launch l;
        l.origin = QPointF(side > 0 ? 0 : w, h + unit);
        // Drag makes velocity / Drag the whole distance a piece is carried: up to 0.95 of the
        // height and 0.6 of the width.
        l.velocity =
            QPointF(side * Drag * w * uniform(random, 0.04, 0.6), -h * uniform(random, 1.8, 3.5));
        l.swayAmplitude = w * uniform(random, 0.005, 0.02);
        l.swayRate = uniform(random, 2.0, 5.0);
        l.swayPhase = uniform(random, 0, 2 * M_PI);
        l.size = QSizeF(unit * uniform(random, 0.8, 1.4), unit * uniform(random, 0.45, 0.7));
        l.angle = uniform(random, 0, 360);
        l.spin = uniform(random, 90, 540) * (random.below(2) ? 1 : -1);
        l.flipRate = uniform(random, 2.0, 6.0);
        l.fadeEnd = uniform(random, ConfettiSeconds - 0.4, ConfettiSeconds);
        l.colour = QColor::fromRgb(Palette[random.below(std::size(Palette))]);
        launches_.append(l);
    }
}

QList<ConfettiPiece> CelebrationScene::piecesAt(qreal seconds) const
{
    QList<ConfettiPiece> pieces;
    if (seconds < 0 || seconds >= ConfettiSeconds)
        return pieces;
    const qreal fall = FallShare * area_.height();
    const qreal carried = (1 - std::exp(-Drag * seconds)) / Drag;
    const QRectF visible = QRectF(QPointF(0, 0), QSizeF(area_));
    pieces.reserve(launches_.size());
    for (const Launch& l : launches_) {
        ConfettiPiece p;
        // Linear drag in closed form: the launch speed dies away, the fall speed takes over.
        const qreal sway = l.swayAmplitude * std::sin(l.swayRate * seconds + l.swayPhase) * Drag *
                           carried; // grows as the piece slows down
        p.centre = QPointF(l.origin.x() + l.velocity.x() * carried + sway,
                           l.origin.y() + fall * seconds + (l.velocity.y() - fall) * carried);
        p.size = l.size;
        p.angle = l.angle + l.spin * seconds;
        p.flip = std::max(0.15, std::abs(std::cos(l.flipRate * seconds + l.swayPhase)));
        p.colour = l.colour;
        p.alpha = std::clamp((l.fadeEnd - seconds) / FadeSeconds, 0.0, 1.0);
        p.box = bounds(p);
        if (p.alpha > 0 && p.box.intersects(visible.toAlignedRect()))
            pieces.append(p);
    }
    return pieces;
}

QRect CelebrationScene::bounds(const ConfettiPiece& piece)
{
    // The turned and squeezed rectangle's own extent, one pixel more each side for the
    // antialiased edge: a tumbling piece is often edge-on, and its box is what each frame
    // restores, draws and sends to the screen.
    const qreal radians = qDegreesToRadians(piece.angle);
    const qreal c = std::abs(std::cos(radians));
    const qreal s = std::abs(std::sin(radians));
    const qreal halfWidth = piece.size.width() * piece.flip / 2;
    const qreal halfHeight = piece.size.height() / 2;
    const QPointF half(halfWidth * c + halfHeight * s + 1, halfWidth * s + halfHeight * c + 1);
    return QRectF(piece.centre - half, piece.centre + half).toAlignedRect();
}

qreal CelebrationScene::textAlphaAt(qreal seconds)
{
    if (seconds < 0 || seconds >= EndSeconds)
        return 0;
    if (seconds <= FadeStartSeconds)
        return 1;
    return (EndSeconds - seconds) / (EndSeconds - FadeStartSeconds);
}

int fittedPixelSize(int nominal, qreal widthAtNominal, int available)
{
    if (nominal <= 0 || widthAtNominal <= available || widthAtNominal <= 0)
        return std::max(nominal, 1);
    return std::max(1, static_cast<int>(nominal * available / widthAtNominal));
}

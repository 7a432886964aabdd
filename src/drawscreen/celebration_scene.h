#pragma once

#include "datafiles/settings_keys.h"

#include <QByteArray>
#include <QColor>
#include <QList>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <QSizeF>
#include <cstdint>

// Whether the settings value of zhongjiang_texiao asks for the celebration: only "1" does, so
// settings files written before it existed show none.
inline bool celebrationWanted(const QByteArray& value)
{
    return SettingsKey::isOn(value);
}

// One confetti piece as it is to be drawn at one moment: a small rectangle about its centre,
// turned by angle degrees and squeezed across to flip of its width as it tumbles.
struct ConfettiPiece
{
    QPointF centre;
    QSizeF size;
    qreal angle = 0;
    qreal flip = 1; // 0 … 1, the share of its width that faces the hall
    QColor colour;
    qreal alpha = 1;
    QRect box; // CelebrationScene::bounds, worked out once
};

// The celebration at a stop, as time goes by and without any widget: a burst of confetti from
// the two bottom corners that falls back and fades within ConfettiSeconds, and the text's
// opacity, full until FadeStartSeconds and gone at EndSeconds. Every figure scales with the
// area, so a piece keeps its share of the screen on any screen.
class CelebrationScene
{
public:
    static constexpr int DefaultPieces = 300;
    static constexpr qreal ConfettiSeconds = 3.0;
    static constexpr qreal FadeStartSeconds = 4.5;
    static constexpr qreal EndSeconds = 5.0;

    CelebrationScene() = default;
    CelebrationScene(QSize area, uint32_t seed, int pieces = DefaultPieces);

    QSize area() const { return area_; }
    int pieceCount() const { return static_cast<int>(launches_.size()); }

    // The pieces still to be seen at t seconds after the stop: on the area and not faded.
    QList<ConfettiPiece> piecesAt(qreal seconds) const;
    // The area a piece covers when drawn, antialiasing included.
    static QRect bounds(const ConfettiPiece& piece);

    static qreal textAlphaAt(qreal seconds);
    static bool finishedAt(qreal seconds) { return seconds >= EndSeconds; }

private:
    // What a piece is launched with; where it is at any moment follows in closed form.
    struct Launch
    {
        QPointF origin;
        QPointF velocity; // pixels per second, up is negative
        qreal swayAmplitude, swayRate, swayPhase;
        QSizeF size;
        qreal angle, spin, flipRate;
        qreal fadeEnd;
        QColor colour;
    };

    QSize area_;
    QList<Launch> launches_;
};

// The pixel size of a line of text so that it is nominal pixels high unless that makes it wider
// than available: then the size at which it just fits. widthAtNominal is the line's width at
// the nominal size; text widths grow in proportion to the size.
int fittedPixelSize(int nominal, qreal widthAtNominal, int available);

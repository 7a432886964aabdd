#pragma once

#include "drawscreen/celebration_scene.h"

#include <QColor>
#include <QImage>
#include <QList>
#include <QRegion>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <vector>

class QPainter;
class QTimer;

// The celebration over the whole draw screen at a stop: "恭喜获得" and the prize name, large and
// centred in the given colour with a dark outline, over a confetti burst. It never takes the
// keyboard focus nor a mouse event, so the start key and the context menu work through it.
// It follows its parent's size. What is where at each moment is CelebrationScene's; this
// widget only draws it and repaints the parts that change.
//
// The stage beneath stands still while the confetti falls: the widget draws it once into a
// frame of its own, and each frame puts back what the last frame's pieces covered, so nothing
// beneath is painted again. The copy is drawn afresh when the stage changes beneath: its
// parent's size, an element moved, shown or hidden, or stageChanged() for a change of
// content.
class CelebrationOverlay : public QWidget
{
    Q_OBJECT

public:
    // Milliseconds on a monotonic clock.
    using Clock = std::function<qint64()>;

    explicit CelebrationOverlay(QWidget* parent);

    // Replaces the clock the celebration is timed by (tests move it on by hand).
    void setClock(Clock clock) { clock_ = std::move(clock); }

    // Shows the celebration of a prize from now on, in front of every other element.
    void celebrate(const QString& prize, const QColor& colour);
    // Ends the celebration at once.
    void dismiss();
    // Moves the celebration on to the clock's time; ends it when its time is up. The frame
    // timer calls it about 55 times a second.
    void advanceFrame();

    // Whether a celebration is on. Once shown the widget stays shown and draws nothing in
    // between: hiding a widget that covers the screen repaints the whole screen, which would
    // delay the first tick of the spin that ends the celebration.
    bool celebrating() const { return celebrating_; }
    // The text shown, one line each: "恭喜获得" and the prize name.
    QString text() const;
    const CelebrationScene& scene() const { return scene_; }
    // Paints so far, for the benchmark's frame rate.
    qint64 paintCount() const { return paintCount_; }
    // Whether the widget holds the copy of the stage it paints from.
    bool holdsStage() const { return !frame_.isNull(); }
    // What the widget shows while it holds the stage, at the screen's pixels.
    const QImage& frame() const { return frame_; }
    // The text as laid over everything else, and where in the frame it lies.
    const QImage& textImage() const { return textImage_; }
    QRect textPixels() const { return textPixels_; }

public slots:
    // Something beneath shows other content: the copy is drawn again at the next frame.
    void stageChanged();

signals:
    // The celebration has ended by itself or been dismissed.
    void ended();

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The burst and the text image for the widget's size.
    void layOut();
    void renderText();
    QRegion coveredBy(const QList<ConfettiPiece>& pieces) const;
    // Draws the copy of what lies beneath at the screen's pixels; from then on the widget
    // paints every pixel of its area, so that the stage is not painted again.
    void takeStage();
    void dropStage();
    // Brings the frame up to date: the pieces of the last frame taken away, the new ones drawn
    // and the text over them; whole when the frame holds the stage alone, textChanged the
    // text's opacity.
    void composeFrame(bool whole, bool textChanged);
    void drawTextBackdrop();
    // Keeps the frame's pixels before they are drawn over; putBack() restores all kept since
    // the last, latest first, so that the frame shows again what it showed before them.
    void keep(const QRect& pixels);
    void putBack();
    // Copies the frame where the painter paints straight into the window's buffer, when it is
    // an image the frame's pixels map onto one for one; false when it is not.
    bool copyFrameInto(QPainter& painter) const;
    void watchStage();

    Clock clock_;
    qint64 startedAt_ = 0;
    uint32_t seed_ = 0;
    CelebrationScene scene_;
    QString prize_;
    QColor colour_;
    QTimer* frameTimer_;

    // What the last frame showed: the time, the pieces and the area they cover, the opacity
    // of the text. Painting draws exactly this.
    qreal seconds_ = 0;
    QList<ConfettiPiece> pieces_;
    QRegion piecesArea_;
    qreal textAlpha_ = 0;
    QImage textImage_;           // at the screen's pixels, for textPixels_
    std::vector<uint8_t> inked_; // of each TextTile square of textImage_, whether it shows
    // What the widget shows, at the screen's pixels, while it holds the stage; beneath the text
    // it is textBackdrop_ (textStage_, the stage there, with the text over it) where no piece is.
    QImage frame_;
    QImage textStage_;
    QImage textBackdrop_;
    // The frame's pixels the last frame drew over, one rectangle after another.
    QList<QRect> kept_;
    std::vector<QRgb> keptPixels_;
    qreal frameRatio_ = 1; // screen pixels to a unit of the widget's
    QRect textRect_;
    QRect textPixels_;
    qreal textRatio_ = 0; // the pixel ratio the text image was drawn at
    qint64 paintCount_ = 0;
    bool celebrating_ = false;
    bool laidOut_ = false;
};

#pragma once

#include "drawscreen/celebration_scene.h"

#include <QColor>
#include <QImage>
#include <QList>
#include <QRegion>
#include <QString>
#include <QWidget>
#include <functional>

class QTimer;

// The celebration over the whole draw screen at a stop: "恭喜获得" and the prize name, large and
// centred in the given colour with a dark outline, over a confetti burst. It never takes the
// keyboard focus nor a mouse event, so the start key and the context menu work through it.
// It follows its parent's size. What is where at each moment is CelebrationScene's; this
// widget only draws it and repaints the parts that change.
//
// The stage beneath stands still while the confetti falls: the widget keeps a copy of it,
// drawn once, and each frame restores from that copy what the confetti leaves, so nothing
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
    bool holdsStage() const { return !stage_.isNull(); }

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
    QImage textImage_;
    QImage stage_;
    QRect textRect_;
    qint64 paintCount_ = 0;
    bool celebrating_ = false;
    bool laidOut_ = false;
};

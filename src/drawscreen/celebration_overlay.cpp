#include "drawscreen/celebration_overlay.h"

#include "drawscreen/confetti_drawing.h"
#include "drawscreen/outlined_letters.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QEvent>
#include <QFontMetricsF>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

namespace {

const QString Greeting = QStringLiteral("恭喜获得");
const QColor OutlineColour(24, 16, 8);
constexpr int FrameMs = 18;
// Repaints are asked for in squares of this size: a few hundred pieces then make a region of
// a few hundred rectangles, cheap to merge and to hand to the window system.
constexpr int Tile = 16;
// Where pieces fly over the text, it is laid again over them in squares of this many pixels.
constexpr int TextTile = 8;

// What changes the look of an element beneath: its place, size, visibility and style. A change
// of its content is told by stageChanged().
bool changesStage(QEvent::Type type)
{
    switch (type) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::ZOrderChange:
    case QEvent::FontChange:
    case QEvent::PaletteChange:
    case QEvent::StyleChange:
    case QEvent::EnabledChange:
        return true;
    default:
        return false;
    }
}

qint64 monotonicMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// On the accessibility bus the celebration is a label reading its text while it shows.
class CelebrationAccessible : public QAccessibleWidget
{
public:
    explicit CelebrationAccessible(CelebrationOverlay* overlay)
        : QAccessibleWidget(overlay, QAccessible::StaticText)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        const auto* overlay = static_cast<const CelebrationOverlay*>(widget());
        if (t == QAccessible::Name)
            return overlay->celebrating() ? overlay->text() : QString();
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        if (!static_cast<const CelebrationOverlay*>(widget())->celebrating())
            s.invisible = true;
        return s;
    }
};

QAccessibleInterface* celebrationAccessible(const QString& key, QObject* object)
{
    if (key == QLatin1String("CelebrationOverlay"))
        return new CelebrationAccessible(static_cast<CelebrationOverlay*>(object));
    return nullptr;
}

// Copies the pixels r of from into to, from's pixel (0, 0) lying at offset in to.
void copyPixels(QImage& to, const QImage& from, const QRect& r, QPoint offset = QPoint())
{
    const QRect pixels = r.intersected(to.rect()).intersected(from.rect().translated(offset));
    if (pixels.isEmpty())
        return;
    const size_t bytes = size_t(pixels.width()) * 4;
    uchar* target = to.bits() + pixels.top() * to.bytesPerLine() + qsizetype(pixels.left()) * 4;
    const uchar* source = from.constBits() + (pixels.top() - offset.y()) * from.bytesPerLine() +
                          qsizetype(pixels.left() - offset.x()) * 4;
    for (int y = pixels.top(); y <= pixels.bottom(); ++y) {
        std::memcpy(target, source, bytes);
        target += to.bytesPerLine();
        source += from.bytesPerLine();
    }
}

// The squares of side tile, counted from area's corner, that any of the boxes touches, as runs
// along each row of squares, cut to area: already the sorted, non-overlapping bands a region is
// made of, and far fewer than the boxes would make.
QList<QRect> coveredTiles(const QList<QRect>& boxes, const QRect& area, int tile)
{
    const int columns = (area.width() + tile - 1) / tile;
    const int rows = (area.height() + tile - 1) / tile;
    QList<QRect> runs;
    if (columns <= 0 || rows <= 0)
        return runs;
    std::vector<uint8_t> covered(static_cast<size_t>(columns) * rows, 0);
    for (const QRect& box : boxes) {
        const QRect r = box.intersected(area).translated(-area.topLeft());
        if (r.isEmpty())
            continue;
        for (int y = r.top() / tile; y <= r.bottom() / tile; ++y)
            std::fill_n(covered.begin() + static_cast<size_t>(y) * columns + r.left() / tile,
                        r.right() / tile - r.left() / tile + 1, uint8_t(1));
    }
    for (int y = 0; y < rows; ++y) {
        const uint8_t* row = covered.data() + static_cast<size_t>(y) * columns;
        for (int x = 0; x < columns;) {
            if (!row[x]) {
                ++x;
                continue;
            }
            const int first = x;
            while (x < columns && row[x])
                ++x;
            runs.append(
                QRect(area.left() + first * tile, area.top() + y * tile, (x - first) * tile, tile)
                    .intersected(area));
        }
    }
    return runs;
}

// Lays part of the premultiplied text over to (RGB32) at opacity, text's pixel (0, 0) lying at
// offset in to. Done by hand: the parts are many and small, and a painter's set-up would cost
// more than their pixels.
void blendText(QImage& to, const QImage& text, const QRect& part, QPoint offset, qreal opacity)
{
    const QRect pixels = part.intersected(to.rect()).intersected(text.rect().translated(offset));
    const int scale = int(std::lround(opacity * 256));
    if (pixels.isEmpty() || scale <= 0)
        return;
    uchar* const bits = to.bits();
    for (int y = pixels.top(); y <= pixels.bottom(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(bits + y * to.bytesPerLine());
        const auto* source = reinterpret_cast<const QRgb*>(text.constBits() +
                                                           (y - offset.y()) * text.bytesPerLine());
        for (int x = pixels.left(); x <= pixels.right(); ++x) {
            QRgb top = source[x - offset.x()];
            if (qAlpha(top) == 0)
                continue;
            if (scale < 256) {
                top = qRgba((qRed(top) * scale) >> 8, (qGreen(top) * scale) >> 8,
                            (qBlue(top) * scale) >> 8, (qAlpha(top) * scale) >> 8);
            }
            const int rest = 255 - qAlpha(top);
            const auto over = [rest](int t, int u) { return t + (u * rest + 127) / 255; };
            const QRgb under = row[x];
            row[x] = qRgb(over(qRed(top), qRed(under)), over(qGreen(top), qGreen(under)),
                          over(qBlue(top), qBlue(under)));
        }
    }
}

} // namespace

CelebrationOverlay::CelebrationOverlay(QWidget* parent)
    : QWidget(parent), clock_(monotonicMs), frameTimer_(new QTimer(this))
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(celebrationAccessible);
        return true;
    }();
    (void)factoryInstalled;

    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    QFont font(QStringLiteral("黑体"));
    font.setBold(true);
    setFont(font);
    hide();
    setGeometry(parent->rect());
    parent->installEventFilter(this);

    frameTimer_->setInterval(FrameMs);
    frameTimer_->setTimerType(Qt::PreciseTimer);
    connect(frameTimer_, &QTimer::timeout, this, &CelebrationOverlay::advanceFrame);
}

QString CelebrationOverlay::text() const
{
    return Greeting + '\n' + prize_;
}

void CelebrationOverlay::celebrate(const QString& prize, const QColor& colour)
{
    prize_ = prize;
    colour_ = colour;
    startedAt_ = clock_();
    seed_ = static_cast<uint32_t>(startedAt_);
    pieces_.clear();
    piecesArea_ = QRegion();
    textAlpha_ = 0;
    celebrating_ = true;
    dropStage();
    watchStage();
    // Laying out the burst and drawing the outlined text take tens of milliseconds: done here
    // they would hold up the stopping tick and the pointer's last frame. The first frame does
    // them instead, once the stop has been painted.
    laidOut_ = false;
    raise();
    show();
    frameTimer_->start();
    QAccessibleEvent nameChanged(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&nameChanged);
}

void CelebrationOverlay::dismiss()
{
    if (!celebrating_)
        return;
    celebrating_ = false;
    frameTimer_->stop();
    // See-through again first, so that the stage itself repaints where the confetti was.
    dropStage();
    update(piecesArea_ + textRect_);
    pieces_.clear();
    piecesArea_ = QRegion();
    textAlpha_ = 0;
    QAccessibleEvent gone(this, QAccessible::ObjectHide);
    QAccessible::updateAccessibility(&gone);
    emit ended();
}

void CelebrationOverlay::advanceFrame()
{
    if (!celebrating_)
        return;
    seconds_ = (clock_() - startedAt_) / 1000.0;
    if (CelebrationScene::finishedAt(seconds_)) {
        dismiss();
        return;
    }
    if (!laidOut_)
        layOut();
    // Moved to a screen of another pixel ratio: the copy and the text no longer match the
    // screen's pixels.
    if (textRatio_ != devicePixelRatioF())
        renderText();
    if (!stage_.isNull() && stage_.devicePixelRatio() != devicePixelRatioF())
        dropStage();
    const bool freshStage = stage_.isNull();
    if (freshStage)
        takeStage();
    QRegion changed = piecesArea_;
    pieces_ = scene_.piecesAt(seconds_);
    piecesArea_ = coveredBy(pieces_);
    changed += piecesArea_;
    const qreal alpha = CelebrationScene::textAlphaAt(seconds_);
    const bool textChanged = alpha != textAlpha_;
    if (textChanged) {
        textAlpha_ = alpha;
        changed += textRect_;
    }
    composeFrame(freshStage, textChanged);
    update(changed);
}

void CelebrationOverlay::restore(const QRect& pixels)
{
    copyPixels(frame_, stage_, pixels);
    if (!textBackdrop_.isNull() && pixels.intersects(textPixels_))
        copyPixels(frame_, textBackdrop_, pixels.intersected(textPixels_), textPixels_.topLeft());
}

void CelebrationOverlay::drawTextBackdrop()
{
    if (textAlpha_ <= 0 || textImage_.isNull()) {
        textBackdrop_ = QImage();
        return;
    }
    // Drawn again at each step of the fade: the same buffer serves every step.
    if (textBackdrop_.size() != textPixels_.size())
        textBackdrop_ = QImage(textPixels_.size(), QImage::Format_RGB32);
    textBackdrop_.fill(Qt::black);
    copyPixels(textBackdrop_, stage_, textBackdrop_.rect(), -textPixels_.topLeft());
    blendText(textBackdrop_, textImage_, textBackdrop_.rect(), QPoint(), textAlpha_);
}

void CelebrationOverlay::composeFrame(bool whole, bool textChanged)
{
    if (frame_.isNull())
        return;
    if (whole || textChanged) {
        drawTextBackdrop();
        drawnPixels_.append(whole ? frame_.rect() : textPixels_);
    }
    // Where the last frame's pieces were, the stage and the text show again.
    for (const QRect& r : std::as_const(drawnPixels_))
        restore(r);
    drawnPixels_.clear();
    // Where a piece lies over the text, the text is laid over the piece: there the stage alone
    // first, the pieces, then the text.
    QList<QRect> boxes;
    boxes.reserve(pieces_.size());
    for (const ConfettiPiece& piece : std::as_const(pieces_)) {
        const QRect box = confettiPixels(piece, frameRatio_, frame_);
        if (!box.isEmpty())
            boxes.append(box);
    }
    const QList<QRect> overText =
        textBackdrop_.isNull() ? QList<QRect>() : coveredTiles(boxes, textPixels_, TextTile);
    for (const QRect& r : overText)
        copyPixels(frame_, stage_, r);
    for (const ConfettiPiece& piece : std::as_const(pieces_))
        drawConfettiPiece(frame_, piece, frameRatio_);
    drawnPixels_ = std::move(boxes);
    for (const QRect& r : overText)
        blendText(frame_, textImage_, r, textPixels_.topLeft(), textAlpha_);
}

QRegion CelebrationOverlay::coveredBy(const QList<ConfettiPiece>& pieces) const
{
    QList<QRect> boxes;
    boxes.reserve(pieces.size());
    for (const ConfettiPiece& piece : pieces)
        boxes.append(piece.box);
    const QList<QRect> runs = coveredTiles(boxes, rect(), Tile);
    QRegion region;
    region.setRects(runs.constData(), static_cast<int>(runs.size()));
    return region;
}

void CelebrationOverlay::stageChanged()
{
    dropStage();
}

void CelebrationOverlay::watchStage()
{
    // Installing again moves nothing: each element is watched once.
    for (QObject* child : parentWidget()->children()) {
        if (child == this)
            break;
        if (child->isWidgetType())
            child->installEventFilter(this);
    }
}

void CelebrationOverlay::takeStage()
{
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = (QSizeF(size()) * ratio).toSize();
    if (pixels.isEmpty())
        return;
    QImage stage(pixels, QImage::Format_RGB32);
    stage.setDevicePixelRatio(ratio);
    stage.fill(Qt::black);
    QPainter painter(&stage);
    // The elements beneath, back to front, each as the screen paints it.
    for (QObject* child : parentWidget()->children()) {
        if (child == this)
            break;
        auto* element = qobject_cast<QWidget*>(child);
        if (!element || element->isWindow() || element->isHidden())
            continue;
        element->render(&painter, element->pos(), QRegion(), QWidget::DrawChildren);
    }
    painter.end();
    stage_ = std::move(stage);
    // The frame is worked on in pixels; the stage keeps its ratio to tell a change of screen.
    // The first frame fills it whole from the stage.
    frame_ = QImage(stage_.size(), QImage::Format_RGB32);
    frameRatio_ = ratio;
    drawnPixels_.clear();
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CelebrationOverlay::dropStage()
{
    if (stage_.isNull())
        return;
    stage_ = QImage();
    frame_ = QImage();
    textBackdrop_ = QImage();
    drawnPixels_.clear();
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void CelebrationOverlay::layOut()
{
    scene_ = CelebrationScene(size(), seed_);
    renderText();
    laidOut_ = true;
}

void CelebrationOverlay::renderText()
{
    const int available = width() * 92 / 100;
    QFont greetingFont = font();
    QFont nameFont = font();
    const auto fit = [available](QFont* f, int nominal, const QString& line) {
        f->setPixelSize(std::max(nominal, 1));
        const qreal advance = QFontMetricsF(*f).horizontalAdvance(line);
        f->setPixelSize(fittedPixelSize(nominal, advance, available));
    };
    fit(&greetingFont, height() / 12, Greeting);
    fit(&nameFont, height() / 8, prize_);

    const QFontMetricsF greetingMetrics(greetingFont);
    const QFontMetricsF nameMetrics(nameFont);
    const qreal gap = height() / 50.0;
    const qreal total = greetingMetrics.height() + gap + nameMetrics.height();
    const qreal top = (height() - total) / 2;
    QPainterPath path;
    path.addText((width() - greetingMetrics.horizontalAdvance(Greeting)) / 2,
                 top + greetingMetrics.ascent(), greetingFont, Greeting);
    path.addText((width() - nameMetrics.horizontalAdvance(prize_)) / 2,
                 top + greetingMetrics.height() + gap + nameMetrics.ascent(), nameFont, prize_);

    // The outline reaches as far out again beyond the letters' edges.
    const qreal outline = std::max(2.0, nameFont.pixelSize() / 16.0);
    textRect_ = path.boundingRect()
                    .adjusted(-outline - 2, -outline - 2, outline + 2, outline + 2)
                    .toAlignedRect()
                    .intersected(rect());
    // Drawn at the screen's pixels, so that it is as sharp with desktop scaling.
    const qreal ratio = devicePixelRatioF();
    textRatio_ = ratio;
    textPixels_ = QRectF(QPointF(textRect_.topLeft()) * ratio, QSizeF(textRect_.size()) * ratio)
                      .toAlignedRect();
    if (textRect_.isEmpty()) {
        textImage_ = QImage();
        return;
    }
    QImage letters(textPixels_.size(), QImage::Format_Alpha8);
    letters.fill(0);
    QPainter lettersPainter(&letters);
    lettersPainter.setRenderHint(QPainter::Antialiasing);
    lettersPainter.translate(-QPointF(textPixels_.topLeft()));
    lettersPainter.scale(ratio, ratio);
    lettersPainter.fillPath(path, Qt::black);
    lettersPainter.end();

    textImage_ = outlinedLetters(letters, outline * ratio, colour_, OutlineColour);
}

void CelebrationOverlay::paintEvent(QPaintEvent* event)
{
    if (pieces_.isEmpty() && textAlpha_ <= 0 && stage_.isNull())
        return; // between celebrations: nothing over the screen
    ++paintCount_;
    QPainter painter(this);
    // Images are copied rectangle by rectangle: clipped to a region of many, one large copy
    // would cost as much as the whole image.
    const QRegion& region = event->region();
    if (!frame_.isNull()) {
        // Opaque: the frame holds the stage, the pieces and the text, pixel for pixel.
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        for (const QRect& r : region)
            painter.drawImage(
                r, frame_,
                QRectF(QPointF(r.topLeft()) * frameRatio_, QSizeF(r.size()) * frameRatio_));
        return;
    }
    // Until the next frame takes the stage again, over what lies beneath: the text alone.
    if (textAlpha_ > 0 && !textImage_.isNull() && textRect_.intersects(event->rect())) {
        painter.setOpacity(textAlpha_);
        painter.setClipRegion(region);
        painter.drawImage(QRectF(QPointF(textPixels_.topLeft()) / textRatio_,
                                 QSizeF(textPixels_.size()) / textRatio_),
                          textImage_);
    }
}

bool CelebrationOverlay::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parentWidget()) {
        if (event->type() != QEvent::Resize)
            return QWidget::eventFilter(watched, event);
        // The elements beneath are placed for the new size after this; the next frame draws
        // the copy from them.
        dropStage();
        setGeometry(parentWidget()->rect());
        if (celebrating_ && laidOut_) {
            // The same burst, laid out again for the new size.
            layOut();
            update();
        }
    } else if (celebrating_ && changesStage(event->type())) {
        dropStage();
    }
    return QWidget::eventFilter(watched, event);
}

#include "drawscreen/celebration_overlay.h"

#include "drawscreen/confetti_drawing.h"
#include "drawscreen/outlined_letters.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QEvent>
#include <QFontMetricsF>
#include <QPaintEngine>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>
#include <QTransform>
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

// Copies rows of width 32-bit pixels, each row of to and of from stride bytes after the last.
void copyRows(uchar* to, qsizetype toStride, const uchar* from, qsizetype fromStride, int width,
              int rows)
{
    for (int y = 0; y < rows; ++y, to += toStride, from += fromStride)
        std::memcpy(to, from, size_t(width) * 4);
}

// Where the pixel p of an image of 32-bit pixels begins.
template <typename Byte> Byte* pixelAt(Byte* bits, qsizetype stride, QPoint p)
{
    return bits + p.y() * stride + qsizetype(p.x()) * 4;
}

// Copies the pixels r of from into to, from's pixel (0, 0) lying at offset in to.
void copyPixels(QImage& to, const QImage& from, const QRect& r, QPoint offset = QPoint())
{
    const QRect pixels = r.intersected(to.rect()).intersected(from.rect().translated(offset));
    if (pixels.isEmpty())
        return;
    copyRows(pixelAt(to.bits(), to.bytesPerLine(), pixels.topLeft()), to.bytesPerLine(),
             pixelAt(from.constBits(), from.bytesPerLine(), pixels.topLeft() - offset),
             from.bytesPerLine(), pixels.width(), pixels.height());
}

// Of each square of side tile of the image, row by row, whether any of its pixels shows.
std::vector<uint8_t> inkedTiles(const QImage& image, int tile)
{
    const int columns = (image.width() + tile - 1) / tile;
    const int rows = (image.height() + tile - 1) / tile;
    std::vector<uint8_t> inked(static_cast<size_t>(std::max(columns, 0)) * std::max(rows, 0), 0);
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        uint8_t* tiles = inked.data() + static_cast<size_t>(y / tile) * columns;
        for (int x = 0; x < image.width(); ++x)
            tiles[x / tile] |= uint8_t(qAlpha(row[x]) != 0);
    }
    return inked;
}

// The squares of side tile, counted from area's corner, that any of the boxes touches, as runs
// along each row of squares, cut to area: already the sorted, non-overlapping bands a region is
// made of, and far fewer than the boxes would make. With only, just the squares it marks.
QList<QRect> coveredTiles(const QList<QRect>& boxes, const QRect& area, int tile,
                          const std::vector<uint8_t>* only = nullptr)
{
    const int columns = (area.width() + tile - 1) / tile;
    const int rows = (area.height() + tile - 1) / tile;
    QList<QRect> runs;
    if (columns <= 0 || rows <= 0)
        return runs;
    const size_t count = static_cast<size_t>(columns) * rows;
    if (only && only->size() != count)
        return runs;
    std::vector<uint8_t> covered(count, 0);
    for (const QRect& box : boxes) {
        const QRect r = box.intersected(area).translated(-area.topLeft());
        if (r.isEmpty())
            continue;
        for (int y = r.top() / tile; y <= r.bottom() / tile; ++y) {
            const size_t first = static_cast<size_t>(y) * columns + r.left() / tile;
            const size_t last = static_cast<size_t>(y) * columns + r.right() / tile;
            for (size_t i = first; i <= last; ++i)
                covered[i] = only ? (*only)[i] : 1;
        }
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
            if (qAlpha(top) == 255 && scale >= 256) {
                row[x] = top;
                continue;
            }
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
    if (!frame_.isNull() && frameRatio_ != devicePixelRatioF())
        dropStage();
    const bool freshStage = frame_.isNull();
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

void CelebrationOverlay::keep(const QRect& pixels)
{
    const QRect r = pixels.intersected(frame_.rect());
    if (r.isEmpty())
        return;
    kept_.append(r);
    const size_t at = keptPixels_.size();
    keptPixels_.resize(at + size_t(r.width()) * size_t(r.height()));
    copyRows(reinterpret_cast<uchar*>(keptPixels_.data() + at), qsizetype(r.width()) * 4,
             pixelAt(frame_.constBits(), frame_.bytesPerLine(), r.topLeft()), frame_.bytesPerLine(),
             r.width(), r.height());
}

void CelebrationOverlay::putBack()
{
    uchar* const bits = frame_.bits();
    size_t end = keptPixels_.size();
    for (auto r = kept_.crbegin(); r != kept_.crend(); ++r) {
        end -= size_t(r->width()) * size_t(r->height());
        copyRows(pixelAt(bits, frame_.bytesPerLine(), r->topLeft()), frame_.bytesPerLine(),
                 reinterpret_cast<const uchar*>(keptPixels_.data() + end),
                 qsizetype(r->width()) * 4, r->width(), r->height());
    }
    kept_.clear();
    keptPixels_.clear();
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
    copyPixels(textBackdrop_, textStage_, textBackdrop_.rect());
    blendText(textBackdrop_, textImage_, textBackdrop_.rect(), QPoint(), textAlpha_);
}

void CelebrationOverlay::composeFrame(bool whole, bool textChanged)
{
    if (frame_.isNull())
        return;
    // Where the last frame's pieces were, the stage and the text show again.
    putBack();
    if (whole || textChanged) {
        drawTextBackdrop();
        copyPixels(frame_, textBackdrop_.isNull() ? textStage_ : textBackdrop_, textPixels_,
                   textPixels_.topLeft());
    }
    // Where a piece lies over the text, the text is laid over the piece: there the stage alone
    // first, the pieces, then the text. Squares the text leaves empty show the stage already.
    QList<QRect> boxes;
    boxes.reserve(pieces_.size());
    for (const ConfettiPiece& piece : std::as_const(pieces_))
        boxes.append(confettiPixels(piece, frameRatio_, frame_));
    const QList<QRect> overText = textBackdrop_.isNull()
                                      ? QList<QRect>()
                                      : coveredTiles(boxes, textPixels_, TextTile, &inked_);
    for (const QRect& r : overText) {
        keep(r);
        copyPixels(frame_, textStage_, r, textPixels_.topLeft());
    }
    for (qsizetype i = 0; i < pieces_.size(); ++i) {
        keep(boxes[i]);
        drawConfettiPiece(frame_, pieces_[i], frameRatio_);
    }
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
    QImage frame(pixels, QImage::Format_RGB32);
    frame.setDevicePixelRatio(ratio);
    frame.fill(Qt::black);
    QPainter painter(&frame);
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
    // From here on the frame is worked on in pixels.
    frame.setDevicePixelRatio(1);
    frame_ = std::move(frame);
    frameRatio_ = ratio;
    // The stage beneath the text, which pieces over the text are drawn on before it.
    textStage_ = QImage(textPixels_.size(), QImage::Format_RGB32);
    textStage_.fill(Qt::black);
    copyPixels(textStage_, frame_, textStage_.rect(), -textPixels_.topLeft());
    kept_.clear();
    keptPixels_.clear();
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CelebrationOverlay::dropStage()
{
    if (frame_.isNull())
        return;
    frame_ = QImage();
    textStage_ = QImage();
    textBackdrop_ = QImage();
    kept_.clear();
    keptPixels_.clear();
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
    dropStage(); // its copy of the stage beneath the text is for the text's old place
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
        inked_.clear();
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
    inked_ = inkedTiles(textImage_, TextTile);
}

void CelebrationOverlay::paintEvent(QPaintEvent* event)
{
    if (pieces_.isEmpty() && textAlpha_ <= 0 && frame_.isNull())
        return; // between celebrations: nothing over the screen
    ++paintCount_;
    QPainter painter(this);
    // Images are copied rectangle by rectangle: clipped to a region of many, one large copy
    // would cost as much as the whole image.
    const QRegion& region = event->region();
    if (!frame_.isNull()) {
        // Opaque: the frame holds the stage, the pieces and the text, pixel for pixel.
        if (copyFrameInto(painter))
            return;
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

bool CelebrationOverlay::copyFrameInto(QPainter& painter) const
{
    // Only where the window's buffer is an image of opaque pixels laid out as the frame's, and
    // the widget's pixels lie on whole pixels of it.
    QPaintEngine* engine = painter.paintEngine();
    QPaintDevice* device = engine ? engine->paintDevice() : nullptr;
    if (!device || device->devType() != QInternal::Image)
        return false;
    auto* buffer = static_cast<QImage*>(device);
    const QImage::Format format = buffer->format();
    if (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32_Premultiplied &&
        format != QImage::Format_ARGB32)
        return false;
    const QTransform toBuffer = painter.deviceTransform();
    const QPoint offset(qRound(toBuffer.dx()), qRound(toBuffer.dy()));
    if (toBuffer.type() > QTransform::TxScale || toBuffer.m11() != frameRatio_ ||
        toBuffer.m22() != frameRatio_ || QPointF(offset) != QPointF(toBuffer.dx(), toBuffer.dy()))
        return false;
    // What this paint may change, in the buffer's pixels.
    const QRegion clip = engine->systemClip();
    if (clip.isEmpty())
        return false;
    for (const QRect& r : clip)
        copyPixels(*buffer, frame_, r, offset);
    return true;
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

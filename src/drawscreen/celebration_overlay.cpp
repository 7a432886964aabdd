#include "drawscreen/celebration_overlay.h"

#include "drawscreen/outlined_letters.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QEvent>
#include <QFontMetricsF>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTransform>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <vector>

namespace {

const QString Greeting = QStringLiteral("恭喜获得");
const QColor OutlineColour(24, 16, 8);
constexpr int FrameMs = 18;
// Repaints are asked for in squares of this size: a few hundred pieces then make a region of
// a few hundred rectangles, cheap to merge and to hand to the window system.
constexpr int Tile = 16;

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
    // Moved to a screen of another pixel ratio: the copy no longer matches the screen's pixels.
    if (!stage_.isNull() && stage_.devicePixelRatio() != devicePixelRatioF())
        dropStage();
    if (stage_.isNull())
        takeStage();
    QRegion changed = piecesArea_;
    pieces_ = scene_.piecesAt(seconds_);
    piecesArea_ = coveredBy(pieces_);
    changed += piecesArea_;
    const qreal alpha = CelebrationScene::textAlphaAt(seconds_);
    if (alpha != textAlpha_) {
        textAlpha_ = alpha;
        changed += textRect_;
    }
    update(changed);
}

QRegion CelebrationOverlay::coveredBy(const QList<ConfettiPiece>& pieces) const
{
    const int columns = (width() + Tile - 1) / Tile;
    const int rows = (height() + Tile - 1) / Tile;
    if (columns <= 0 || rows <= 0)
        return QRegion();
    std::vector<bool> covered(static_cast<size_t>(columns) * rows, false);
    for (const ConfettiPiece& piece : pieces) {
        const QRect r = piece.box.intersected(rect());
        if (r.isEmpty())
            continue;
        for (int y = r.top() / Tile; y <= r.bottom() / Tile; ++y)
            for (int x = r.left() / Tile; x <= r.right() / Tile; ++x)
                covered[static_cast<size_t>(y) * columns + x] = true;
    }
    // Runs of covered tiles, row by row: already the sorted, non-overlapping bands a region
    // is made of.
    QList<QRect> runs;
    for (int y = 0; y < rows; ++y) {
        for (int x = 0; x < columns;) {
            if (!covered[static_cast<size_t>(y) * columns + x]) {
                ++x;
                continue;
            }
            const int first = x;
            while (x < columns && covered[static_cast<size_t>(y) * columns + x])
                ++x;
            runs.append(QRect(first * Tile, y * Tile, (x - first) * Tile, Tile));
        }
    }
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
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CelebrationOverlay::dropStage()
{
    if (stage_.isNull())
        return;
    stage_ = QImage();
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
    if (textRect_.isEmpty()) {
        textImage_ = QImage();
        return;
    }
    path.translate(-textRect_.topLeft());
    QImage letters(textRect_.size(), QImage::Format_Alpha8);
    letters.fill(0);
    QPainter lettersPainter(&letters);
    lettersPainter.setRenderHint(QPainter::Antialiasing);
    lettersPainter.fillPath(path, Qt::black);
    lettersPainter.end();

    textImage_ = outlinedLetters(letters, outline, colour_, OutlineColour);
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
    if (!stage_.isNull()) {
        // Opaque: what lies beneath comes from the copy, pixel for pixel.
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        const qreal ratio = stage_.devicePixelRatio();
        for (const QRect& r : region)
            painter.drawImage(r, stage_,
                              QRectF(QPointF(r.topLeft()) * ratio, QSizeF(r.size()) * ratio));
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
    painter.setRenderHint(QPainter::Antialiasing);
    const QRect area = event->rect();
    for (const ConfettiPiece& piece : pieces_) {
        if (!piece.box.intersects(area))
            continue;
        // The flip narrows the rectangle rather than scaling the painter: a turn alone lets
        // the painter fill it as a broad line, several times faster than a sheared shape.
        QTransform turn;
        turn.translate(piece.centre.x(), piece.centre.y());
        turn.rotate(piece.angle);
        painter.setTransform(turn);
        QColor colour = piece.colour;
        colour.setAlphaF(colour.alphaF() * piece.alpha);
        const QSizeF s(piece.size.width() * piece.flip, piece.size.height());
        painter.fillRect(QRectF(-s.width() / 2, -s.height() / 2, s.width(), s.height()), colour);
    }
    painter.resetTransform();
    // The text goes over the confetti, so the prize always reads.
    if (textAlpha_ > 0 && !textImage_.isNull() && textRect_.intersects(area)) {
        painter.setOpacity(textAlpha_);
        for (const QRect& r : region.intersected(textRect_))
            painter.drawImage(r.topLeft(), textImage_, r.translated(-textRect_.topLeft()));
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

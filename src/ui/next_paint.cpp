#include "ui/next_paint.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace {
// Several frames: a paint that has not come by then is not coming soon.
constexpr int LongestWaitMs = 100;
} // namespace

NextPaint::NextPaint(QWidget* widget)
    : QObject(widget), widget_(widget), longestWait_(new QTimer(this))
{
    longestWait_->setSingleShot(true);
    longestWait_->setInterval(LongestWaitMs);
    connect(longestWait_, &QTimer::timeout, this, &NextPaint::run);
}

void NextPaint::runAfter(std::function<void()> work)
{
    work_ = std::move(work);
    if (!widget_ || !widget_->isVisible() || widget_->window()->isMinimized()) {
        run();
        return;
    }
    widget_->installEventFilter(this);
    longestWait_->start();
}

bool NextPaint::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == widget_ && event->type() == QEvent::Paint) {
        widget_->removeEventFilter(this);
        // Queued: the frame goes to the screen once the paint has ended.
        QMetaObject::invokeMethod(this, &NextPaint::run, Qt::QueuedConnection);
    }
    return false;
}

void NextPaint::run()
{
    longestWait_->stop();
    if (widget_)
        widget_->removeEventFilter(this);
    if (!work_)
        return;
    const std::function<void()> work = std::move(work_);
    work_ = nullptr;
    work();
}

#include "ui/first_frame.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace {
constexpr int LongestWaitMs = 3000;
} // namespace

FirstFrame::FirstFrame(QWidget* window, std::function<void()> work)
    : QObject(window), window_(window), work_(std::move(work))
{
    // The window's own elements paint it, so their paint events are watched too.
    QCoreApplication::instance()->installEventFilter(this);
    QTimer::singleShot(LongestWaitMs, this, &FirstFrame::run);
}

bool FirstFrame::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Paint && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == window_) {
        QCoreApplication::instance()->removeEventFilter(this);
        // Queued: the frame is handed to the screen once every element of it has painted.
        QMetaObject::invokeMethod(this, &FirstFrame::run, Qt::QueuedConnection);
    }
    return false;
}

void FirstFrame::run()
{
    QCoreApplication::instance()->removeEventFilter(this);
    if (!work_)
        return;
    const std::function<void()> work = std::move(work_);
    work_ = nullptr;
    work();
}

#include "drawscreen/picture_preload.h"

#include <QThread>
#include <system_error>
#include <utility>

PicturePreload::PicturePreload(QString path, Loader load)
    : path_(std::move(path)), load_(std::move(load))
{
    // A thread that cannot be started leaves the load to take().
    // A QThread rather than a thread Qt only adopts: Qt then ends its own per-thread data,
    // which the MinGW runtime's thread-exit handling gets wrong for an adopted thread.
    std::packaged_task<QImage()> task([load = load_, path = path_] { return load(path); });
    pending_ = task.get_future();
    try {
        thread_.reset(QThread::create(std::move(task)));
        thread_->start();
    } catch (const std::system_error&) {
        thread_.reset();
        pending_ = {};
    }
}

PicturePreload::~PicturePreload()
{
    if (thread_)
        thread_->wait();
}

QImage PicturePreload::take(const QString& path)
{
    if (!pending_.valid() || path != path_)
        return load_(path);
    std::future<QImage> pending = std::move(pending_);
    return pending.get();
}

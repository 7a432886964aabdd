#include "drawscreen/picture_preload.h"

#include <system_error>
#include <utility>

PicturePreload::PicturePreload(QString path, Loader load)
    : path_(std::move(path)), load_(std::move(load))
{
    // A thread that cannot be started leaves the load to take().
    try {
        pending_ = std::async(std::launch::async, load_, path_);
    } catch (const std::system_error&) {
        pending_ = {};
    }
}

QImage PicturePreload::take(const QString& path)
{
    if (!pending_.valid() || path != path_)
        return load_(path);
    std::future<QImage> pending = std::move(pending_);
    return pending.get();
}

#pragma once

#include "datafiles/picture_reader.h"

#include <QString>
#include <QStringList>
#include <QThread>
#include <functional>
#include <future>
#include <memory>
#include <vector>

// Decodes pictures on worker threads, each worker taking the next in the order given, from the
// moment it is made, so that they are ready, or nearly, by the time start-up asks for them.
class PicturePreload
{
public:
    using Loader = std::function<PictureRead(const QString& path)>;
    // Told on the worker when the picture at path is loaded, or has failed to load.
    using Ready = std::function<void(const QString& path)>;

    // Destroying it waits for the decodes still running and starts no more.
    PicturePreload(QString path, Loader load)
        : PicturePreload(QStringList{std::move(path)}, std::move(load))
    {
    }
    PicturePreload(QStringList paths, Loader load, int workers = 1, Ready ready = {},
                   QThread::Priority priority = QThread::InheritPriority);
    ~PicturePreload();

    PicturePreload(const PicturePreload&) = delete;
    PicturePreload& operator=(const PicturePreload&) = delete;

    // The picture at path, loaded by the loader: the preloaded one the first time path is one
    // of the preloaded paths, loaded now otherwise. What the loader throws is thrown here.
    PictureRead take(const QString& path);

private:
    struct Work;

    QStringList paths_;
    Loader load_;
    std::shared_ptr<Work> work_;
    std::vector<std::future<PictureRead>> pending_;
    std::vector<std::unique_ptr<QThread>> threads_;
};

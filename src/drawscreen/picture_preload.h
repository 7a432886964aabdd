#pragma once

#include <QImage>
#include <QString>
#include <functional>
#include <future>
#include <memory>

class QThread;

// Decodes one picture on a worker thread from the moment it is made, so that the screen's
// largest picture is ready, or nearly, by the time start-up asks for it.
class PicturePreload
{
public:
    using Loader = std::function<QImage(const QString& path)>;

    // Destroying it waits for a decode still running.
    PicturePreload(QString path, Loader load);
    ~PicturePreload();

    PicturePreload(const PicturePreload&) = delete;
    PicturePreload& operator=(const PicturePreload&) = delete;

    // The picture at path, loaded by the loader: the preloaded one the first time path is the
    // preloaded path, loaded now otherwise. What the loader throws is thrown here.
    QImage take(const QString& path);

private:
    QString path_;
    Loader load_;
    std::future<QImage> pending_;
    std::unique_ptr<QThread> thread_;
};

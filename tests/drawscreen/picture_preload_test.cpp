#include "drawscreen/picture_preload.h"

#include "datafiles/app_error.h"

#include <QStringList>
#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <mutex>
#include <thread>

namespace {

// A loader that records what it was asked for and on which thread. Its picture is as wide as
// the path is long and as high as the number of calls so far.
struct RecordingLoader
{
    std::mutex mutex;
    QStringList paths;
    std::atomic<int> offThread{0};
    std::thread::id mainThread = std::this_thread::get_id();

    PicturePreload::Loader loader()
    {
        return [this](const QString& path) {
            std::lock_guard<std::mutex> lock(mutex);
            paths.append(path);
            if (std::this_thread::get_id() != mainThread)
                ++offThread;
            if (path.endsWith(QStringLiteral("broken.png")))
                throw AppError(QStringLiteral("Cannot open file \"%1\". Broken.").arg(path));
            QImage image(int(path.size()), int(paths.size()), QImage::Format_ARGB32);
            image.fill(Qt::red);
            return PictureRead{image, path, image.size()};
        };
    }
};

} // namespace

TEST(PicturePreload, PreloadedPictureIsDecodedOnceOffTheMainThread)
{
    RecordingLoader recorder;
    PicturePreload preload(QStringLiteral("/show/pic/背景.png"), recorder.loader());

    const QImage first = preload.take(QStringLiteral("/show/pic/背景.png")).image;
    EXPECT_EQ(first.height(), 1);
    EXPECT_EQ(recorder.offThread, 1);

    // Used once: asking again reads the file again, now.
    const QImage second = preload.take(QStringLiteral("/show/pic/背景.png")).image;
    EXPECT_EQ(second.height(), 2);
    EXPECT_EQ(recorder.offThread, 1);
    EXPECT_EQ(recorder.paths.size(), 2);
}

TEST(PicturePreload, AnotherPathIsLoadedAsAskedNotTakenFromThePreload)
{
    // The working folder may have changed between building the screen and restoring it.
    RecordingLoader recorder;
    PicturePreload preload(QStringLiteral("/old/pic/背景.png"), recorder.loader());

    const QString elsewhere = QStringLiteral("/elsewhere/pic/背景.png");
    const QImage image = preload.take(elsewhere).image;
    EXPECT_EQ(image.width(), elsewhere.size());
    std::lock_guard<std::mutex> lock(recorder.mutex);
    EXPECT_TRUE(recorder.paths.contains(elsewhere));
}

TEST(PicturePreload, FailureOfTheDecodeReachesTheCaller)
{
    RecordingLoader recorder;
    PicturePreload preload(QStringLiteral("/show/pic/broken.png"), recorder.loader());
    try {
        preload.take(QStringLiteral("/show/pic/broken.png"));
        FAIL() << "no error";
    } catch (const AppError& error) {
        EXPECT_EQ(error.message(),
                  QStringLiteral("Cannot open file \"/show/pic/broken.png\". Broken."));
    }
}

TEST(PicturePreload, SeveralPicturesAreDecodedInOrderOnOneWorker)
{
    // A failure of one leaves the others readable, each taken in any order.
    RecordingLoader recorder;
    const QStringList paths = {QStringLiteral("/show/pic/1.png"),
                               QStringLiteral("/show/pic/broken.png"),
                               QStringLiteral("/show/pic/2.png")};
    PicturePreload preload(paths, recorder.loader());
    EXPECT_EQ(preload.take(paths[2]).image.height(), 3);
    EXPECT_THROW(preload.take(paths[1]), AppError);
    EXPECT_EQ(preload.take(paths[0]).image.height(), 1);
    EXPECT_EQ(recorder.offThread, 3);
    std::lock_guard<std::mutex> lock(recorder.mutex);
    EXPECT_EQ(recorder.paths, paths);
}

TEST(PicturePreload, WorkersShareThePicturesEachReadOnce)
{
    RecordingLoader recorder;
    QStringList paths;
    for (int k = 1; k <= 8; ++k)
        paths.append(QStringLiteral("/show/pic/%1.png").arg(QString(k, QLatin1Char('x'))));
    PicturePreload preload(paths, recorder.loader(), 2);
    for (const QString& path : paths)
        EXPECT_EQ(preload.take(path).image.width(), path.size());
    EXPECT_EQ(recorder.offThread, 8);
    std::lock_guard<std::mutex> lock(recorder.mutex);
    EXPECT_EQ(recorder.paths.size(), 8);
}

TEST(PicturePreload, TellsEachPictureReadyReadOrFailed)
{
    RecordingLoader recorder;
    std::mutex mutex;
    QStringList ready;
    const QStringList paths = {QStringLiteral("/show/pic/1.png"),
                               QStringLiteral("/show/pic/broken.png")};
    {
        PicturePreload preload(paths, recorder.loader(), 1, [&](const QString& path) {
            std::lock_guard<std::mutex> lock(mutex);
            ready.append(path);
        });
        EXPECT_NO_THROW(preload.take(paths[0]));
        EXPECT_THROW(preload.take(paths[1]), AppError);
    }
    EXPECT_EQ(ready, paths);
}

TEST(PicturePreload, DestroyedItStartsNoMorePictures)
{
    std::atomic<int> loads{0};
    QStringList paths;
    for (int k = 0; k < 20; ++k)
        paths.append(QStringLiteral("/show/pic/%1.png").arg(k));
    {
        PicturePreload preload(paths, [&loads](const QString& path) {
            ++loads;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            return PictureRead{QImage(), path, QSize()};
        });
    }
    EXPECT_LE(loads, 1);
}

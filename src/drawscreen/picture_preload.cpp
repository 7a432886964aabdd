#include "drawscreen/picture_preload.h"

#include <QImageReader>
#include <atomic>
#include <system_error>
#include <utility>

// What the workers share: the promise of each picture and the next one to take.
struct PicturePreload::Work
{
    explicit Work(qsizetype count) : promises(size_t(count)) {}
    std::vector<std::promise<PictureRead>> promises;
    std::atomic<size_t> next{0};
};

PicturePreload::PicturePreload(QStringList paths, Loader load, int workers, Ready ready,
                               QThread::Priority priority)
    : paths_(std::move(paths)), load_(std::move(load))
{
    work_ = std::make_shared<Work>(paths_.size());
    for (auto& promise : work_->promises)
        pending_.push_back(promise.get_future());
    const auto run = [load = load_, paths = paths_, work = work_, ready = std::move(ready)] {
        for (size_t i = work->next++; i < work->promises.size(); i = work->next++) {
            const QString& path = paths[qsizetype(i)];
            try {
                work->promises[i].set_value(load(path));
            } catch (...) {
                work->promises[i].set_exception(std::current_exception());
            }
            if (ready)
                ready(path);
        }
    };
    // The image format plugins are looked up here, on the calling thread, before any worker
    // reads. The lookup matches file names with a regular expression, which leaves a
    // per-thread stack behind; at a worker's end the MinGW runtime frees that thread's storage
    // before it runs the stack's destructor, the exit of the thread crashes, and the process
    // can no longer end.
    static const bool formatsKnown = !QImageReader::supportedImageFormats().isEmpty();
    Q_UNUSED(formatsKnown);
    // A QThread rather than a thread Qt only adopts: Qt then ends its own per-thread data,
    // which the MinGW runtime's thread-exit handling gets wrong for an adopted thread.
    for (int w = 0; w < workers && w < paths_.size(); ++w) {
        try {
            std::unique_ptr<QThread> thread(QThread::create(run));
            thread->start(priority);
            threads_.push_back(std::move(thread));
        } catch (const std::system_error&) {
            break;
        }
    }
    // No thread could be started: take() loads each picture itself.
    if (threads_.empty())
        pending_.clear();
}

PicturePreload::~PicturePreload()
{
    work_->next = work_->promises.size();
    for (const auto& thread : threads_)
        thread->wait();
}

PictureRead PicturePreload::take(const QString& path)
{
    const qsizetype i = paths_.indexOf(path);
    if (i < 0 || size_t(i) >= pending_.size() || !pending_[size_t(i)].valid())
        return load_(path);
    std::future<PictureRead> pending = std::move(pending_[size_t(i)]);
    return pending.get();
}

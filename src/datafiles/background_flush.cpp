#include "datafiles/background_flush.h"

#include <QCoreApplication>
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace {

class Flusher
{
public:
    ~Flusher() { finish(); }

    void add(const QString& path)
    {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            ++requests_;
            if (std::find(pending_.begin(), pending_.end(), path) == pending_.end())
                pending_.push_back(path);
            if (!running_)
                start();
        }
        wake_.notify_all();
    }

    // Flushes what is waiting at once and ends the worker, so that no thread of ours is left
    // running when the application and the runtime libraries are torn down. A later request
    // starts a new worker.
    void finish()
    {
        std::thread worker;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stopping_ = true;
            worker = std::move(worker_);
        }
        wake_.notify_all();
        if (worker.joinable())
            worker.join();
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = false;
    }

private:
    // Called with the lock held.
    void start()
    {
        if (worker_.joinable())
            worker_.join(); // a worker that has already said it is done
        worker_ = std::thread([this] { run(); });
        running_ = true;
        // Ended while the application object still stands: threads still running when the
        // process exits are killed wherever they are, locks held.
        if (QCoreApplication::instance())
            qAddPostRoutine(finishBackgroundFlushes);
    }

    void run()
    {
        std::unique_lock<std::mutex> lock(mutex_);
        for (;;) {
            wake_.wait(lock, [this] { return stopping_ || !pending_.empty(); });
            if (pending_.empty()) {
                running_ = false;
                return; // stopping, with nothing left to flush
            }
            // Flush once the writes rest: a drag rewrites the file many times a second, and a
            // flush during it would only hold the next write up.
            for (auto seen = requests_; !stopping_; seen = requests_) {
                if (!wake_.wait_for(lock, RestTime, [&] { return stopping_ || requests_ != seen; }))
                    break;
            }
            std::vector<QString> paths;
            paths.swap(pending_);
            lock.unlock();
            for (const QString& path : paths) {
                // Replaced or removed since: whoever did that flushes it.
                flushFile(path);
                flushFolderOf(path);
            }
            lock.lock();
        }
    }

    static constexpr std::chrono::milliseconds RestTime{100};

    std::mutex mutex_;
    std::condition_variable wake_;
    std::vector<QString> pending_;
    bool stopping_ = false;
    bool running_ = false;
    unsigned long long requests_ = 0;
    std::thread worker_;
};

Flusher& flusher()
{
    static Flusher instance;
    return instance;
}

} // namespace

void finishBackgroundFlushes()
{
    flusher().finish();
}

void flushInBackground(const QString& path)
{
    flusher().add(path);
}

#include "datafiles/background_flush.h"

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
    ~Flusher()
    {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stopping_ = true;
        }
        wake_.notify_one();
        if (worker_.joinable())
            worker_.join();
    }

    void add(const QString& path)
    {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            ++requests_;
            if (std::find(pending_.begin(), pending_.end(), path) == pending_.end())
                pending_.push_back(path);
            if (!worker_.joinable())
                worker_ = std::thread([this] { run(); });
        }
        wake_.notify_one();
    }

private:
    void run()
    {
        std::unique_lock<std::mutex> lock(mutex_);
        for (;;) {
            wake_.wait(lock, [this] { return stopping_ || !pending_.empty(); });
            if (pending_.empty())
                return; // stopping, with nothing left to flush
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
    unsigned long long requests_ = 0;
    std::thread worker_;
};

} // namespace

void flushInBackground(const QString& path)
{
    static Flusher flusher;
    flusher.add(path);
}

// Preloaded into a program (LD_PRELOAD) to make every flush to disk take as long as on a slow
// laptop disk or USB stick: fsync and fdatasync sleep PW_BENCH_FLUSH_MS (default 20) ms first.

#include <cstdlib>
#include <dlfcn.h>
#include <time.h>

namespace {

void slowDown()
{
    static const long ms = [] {
        const char* v = std::getenv("PW_BENCH_FLUSH_MS");
        return v && *v ? std::atol(v) : 20L;
    }();
    timespec pause{ms / 1000, (ms % 1000) * 1000000L};
    while (nanosleep(&pause, &pause) != 0) {
    }
}

template <typename Fn> Fn next(const char* name)
{
    return reinterpret_cast<Fn>(dlsym(RTLD_NEXT, name));
}

} // namespace

extern "C" int fsync(int fd)
{
    slowDown();
    static const auto real = next<int (*)(int)>("fsync");
    return real(fd);
}

extern "C" int fdatasync(int fd)
{
    slowDown();
    static const auto real = next<int (*)(int)>("fdatasync");
    return real(fd);
}

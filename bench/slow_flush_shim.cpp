// Preloaded into a program (LD_PRELOAD) to make every fsync and fdatasync take 20 ms longer
// (PW_BENCH_FLUSH_MS to change it), as a slow disk or a busy USB stick does.

#include <cstdlib>
#include <dlfcn.h>
#include <unistd.h>

namespace {
void delay()
{
    static const useconds_t micros = [] {
        const char* ms = std::getenv("PW_BENCH_FLUSH_MS");
        return static_cast<useconds_t>((ms && *ms ? std::atoi(ms) : 20) * 1000);
    }();
    usleep(micros);
}
} // namespace

extern "C" {

int fsync(int fd)
{
    delay();
    static auto real = reinterpret_cast<int (*)(int)>(dlsym(RTLD_NEXT, "fsync"));
    return real(fd);
}

int fdatasync(int fd)
{
    delay();
    static auto real = reinterpret_cast<int (*)(int)>(dlsym(RTLD_NEXT, "fdatasync"));
    return real(fd);
}
}

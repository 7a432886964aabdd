// Preloaded into a program (LD_PRELOAD) to append "<monotonic ns>" to the file named by
// PW_BENCH_OPEN_LOG each time the program opens a file whose path ends with
// PW_BENCH_OPEN_MATCH (default "opt.ini"). The draw screen opens its settings file on every
// spin tick, so the log times the ticks from outside the program.

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

namespace {

std::atomic<int> logFd{-2};

bool matches(const char* path)
{
    static const char* match = [] {
        const char* m = std::getenv("PW_BENCH_OPEN_MATCH");
        return m && *m ? m : "opt.ini";
    }();
    if (!path)
        return false;
    const size_t n = std::strlen(path);
    const size_t m = std::strlen(match);
    return n >= m && std::strcmp(path + n - m, match) == 0;
}

void note(const char* path)
{
    if (!matches(path))
        return;
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    int fd = logFd.load();
    if (fd == -2) {
        const char* name = std::getenv("PW_BENCH_OPEN_LOG");
        using OpenFn = int (*)(const char*, int, ...);
        static auto realOpen = reinterpret_cast<OpenFn>(dlsym(RTLD_NEXT, "open"));
        fd = name ? realOpen(name, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644) : -1;
        logFd.store(fd);
    }
    if (fd < 0)
        return;
    char line[32];
    const int len = std::snprintf(line, sizeof line, "%lld\n",
                                  static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
    if (write(fd, line, size_t(len)) < 0)
        return;
}

template <typename Fn> Fn next(const char* name)
{
    return reinterpret_cast<Fn>(dlsym(RTLD_NEXT, name));
}

mode_t modeOf(int flags, va_list args)
{
    return (flags & (O_CREAT | O_TMPFILE)) ? static_cast<mode_t>(va_arg(args, int)) : 0;
}

} // namespace

extern "C" {

int open(const char* path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    const mode_t mode = modeOf(flags, args);
    va_end(args);
    note(path);
    static auto real = next<int (*)(const char*, int, ...)>("open");
    return real(path, flags, mode);
}

int open64(const char* path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    const mode_t mode = modeOf(flags, args);
    va_end(args);
    note(path);
    static auto real = next<int (*)(const char*, int, ...)>("open64");
    return real(path, flags, mode);
}

int openat(int dir, const char* path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    const mode_t mode = modeOf(flags, args);
    va_end(args);
    note(path);
    static auto real = next<int (*)(int, const char*, int, ...)>("openat");
    return real(dir, path, flags, mode);
}

int openat64(int dir, const char* path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    const mode_t mode = modeOf(flags, args);
    va_end(args);
    note(path);
    static auto real = next<int (*)(int, const char*, int, ...)>("openat64");
    return real(dir, path, flags, mode);
}

} // extern "C"

#pragma once

// Included by one source file of a test program: notes every flush and rename the program
// makes, with the file and whether it ran on the user-interface (first) thread.

#include <climits>
#include <cstdio>
#include <dlfcn.h>
#include <mutex>
#include <string>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

struct IoCall
{
    std::string call;
    std::string path;
    bool onUiThread;
};
std::mutex ioMutex;
std::vector<IoCall> ioCalls;
const std::thread::id uiThread = std::this_thread::get_id();

void noteIo(const char* call, const std::string& path)
{
    const std::lock_guard<std::mutex> lock(ioMutex);
    ioCalls.push_back({call, path, std::this_thread::get_id() == uiThread});
}

std::vector<IoCall> takeIoCalls()
{
    const std::lock_guard<std::mutex> lock(ioMutex);
    return std::exchange(ioCalls, {});
}

} // namespace

extern "C" int fsync(int fd)
{
    char path[PATH_MAX] = {};
    const std::string link = "/proc/self/fd/" + std::to_string(fd);
    if (readlink(link.c_str(), path, sizeof path - 1) < 0)
        path[0] = 0;
    noteIo("fsync", path);
    static const auto real = reinterpret_cast<int (*)(int)>(dlsym(RTLD_NEXT, "fsync"));
    return real(fd);
}

extern "C" int rename(const char* from, const char* to) noexcept
{
    noteIo("rename", to);
    static const auto real =
        reinterpret_cast<int (*)(const char*, const char*)>(dlsym(RTLD_NEXT, "rename"));
    return real(from, to);
}

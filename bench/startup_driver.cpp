// Times a GUI program from its launch to the first frame on screen that shows its settled
// background, and reads its peak memory then, watching the X display from outside so that the
// program needs no help. Used for the real program and the minimal yardstick alike.
//
// Usage: bench_startup_driver [--runs N] [--cwd DIR] [--label NAME] [--points x,y;x,y...]
//                             [--before-each SHELL-COMMAND] -- program [args...]
// DISPLAY must name a running X server with a window manager. Two first runs, each left to
// settle, record the colours the sample points end up with; every timed run then polls those
// points until they all show them.

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Point
{
    int x;
    int y;
};

struct Options
{
    int runs = 10;
    std::string cwd = ".";
    std::string label = "program";
    std::string beforeEach; // a shell command run before each start, in cwd
    std::vector<Point> points = {{40, 1040}, {1880, 1040}, {1880, 150}, {40, 150}, {960, 1060}};
    std::vector<char*> command;
};

[[noreturn]] void die(const std::string& message)
{
    std::fprintf(stderr, "startup driver: %s\n", message.c_str());
    std::exit(2);
}

std::vector<Point> parsePoints(const std::string& text)
{
    std::vector<Point> points;
    std::stringstream in(text);
    std::string item;
    while (std::getline(in, item, ';')) {
        Point p{};
        if (std::sscanf(item.c_str(), "%d,%d", &p.x, &p.y) != 2)
            die("bad point " + item);
        points.push_back(p);
    }
    return points;
}

Options parseOptions(int argc, char** argv)
{
    Options o;
    int i = 1;
    for (; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--") {
            ++i;
            break;
        }
        if (i + 1 >= argc)
            die("missing value after " + a);
        if (a == "--runs")
            o.runs = std::max(1, std::atoi(argv[++i]));
        else if (a == "--cwd")
            o.cwd = argv[++i];
        else if (a == "--label")
            o.label = argv[++i];
        else if (a == "--before-each")
            o.beforeEach = argv[++i];
        else if (a == "--points")
            o.points = parsePoints(argv[++i]);
        else
            die("unknown option " + a);
    }
    for (; i < argc; ++i)
        o.command.push_back(argv[i]);
    if (o.command.empty())
        die("no program given");
    o.command.push_back(nullptr);
    return o;
}

std::vector<unsigned long> sample(Display* display, const std::vector<Point>& points)
{
    std::vector<unsigned long> colours;
    const Window root = DefaultRootWindow(display);
    for (const Point& p : points) {
        XImage* image = XGetImage(display, root, p.x, p.y, 1, 1, AllPlanes, ZPixmap);
        if (!image)
            die("cannot read the screen");
        colours.push_back(XGetPixel(image, 0, 0));
        XDestroyImage(image);
    }
    return colours;
}

pid_t launch(const Options& o)
{
    const pid_t pid = fork();
    if (pid < 0)
        die("fork failed");
    if (pid == 0) {
        if (chdir(o.cwd.c_str()) != 0)
            _exit(126);
        execv(o.command[0], o.command.data());
        _exit(127);
    }
    return pid;
}

// A memory figure of /proc/<pid>/status in kB: VmHWM (the peak) or VmRSS (resident now).
long statusKb(pid_t pid, const std::string& field)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field, 0) == 0)
            return std::atol(line.c_str() + field.size());
    return -1;
}

long peakRssKb(pid_t pid)
{
    return statusKb(pid, "VmHWM:");
}

void end(pid_t pid)
{
    kill(pid, SIGTERM);
    for (int i = 0; i < 100; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid)
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

bool exited(pid_t pid)
{
    return waitpid(pid, nullptr, WNOHANG) == pid;
}

// Waits until the screen shows colours again, up to a limit; true when it did.
bool waitFor(Display* display, const Options& o, const std::vector<unsigned long>& colours,
             double seconds)
{
    const auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
    while (Clock::now() < deadline) {
        if (sample(display, o.points) == colours)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void prepare(const Options& o)
{
    if (o.beforeEach.empty())
        return;
    const std::string command = "cd '" + o.cwd + "' && " + o.beforeEach;
    if (std::system(command.c_str()) != 0)
        die("the command before a start failed: " + o.beforeEach);
}

} // namespace

int main(int argc, char** argv)
{
    const Options o = parseOptions(argc, argv);
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        die("cannot open the display");
    const std::vector<unsigned long> empty = sample(display, o.points);

    // Calibration: the colours the points settle on, and the peak memory once settled. Twice:
    // a first start leaves behind what every later one finds (the program's picture cache),
    // and the timed starts are later ones.
    std::vector<unsigned long> settled;
    long settledRss = 0;
    long settledResident = 0;
    for (int calibration = 0; calibration < 2; ++calibration) {
        prepare(o);
        const pid_t first = launch(o);
        settled = empty;
        auto lastChange = Clock::now();
        const auto deadline = Clock::now() + std::chrono::seconds(20);
        while (Clock::now() < deadline && !exited(first)) {
            const std::vector<unsigned long> now = sample(display, o.points);
            if (now != settled) {
                settled = now;
                lastChange = Clock::now();
            } else if (settled != empty && Clock::now() - lastChange > std::chrono::seconds(2)) {
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        settledRss = peakRssKb(first);
        settledResident = statusKb(first, "VmRSS:");
        end(first);
        if (!waitFor(display, o, empty, 5))
            die("the screen did not clear after a run");
    }
    if (settled == empty)
        die(o.label + " showed nothing at the sample points");
    for (size_t i = 0; i < settled.size(); ++i)
        if (settled[i] == empty[i])
            die(o.label + ": sample point " + std::to_string(i) +
                " looks the same before and after start; choose another with --points");

    std::vector<double> times;
    std::vector<double> rss;
    std::vector<double> resident;
    for (int run = 0; run < o.runs; ++run) {
        if (!waitFor(display, o, empty, 5))
            die("the screen did not clear after a run");
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        prepare(o);
        const auto start = Clock::now();
        const pid_t pid = launch(o);
        bool shown = false;
        while (Clock::now() - start < std::chrono::seconds(20) && !exited(pid)) {
            if (sample(display, o.points) == settled) {
                shown = true;
                break;
            }
            std::this_thread::sleep_for(std::chrono::microseconds(500));
        }
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        const long kb = peakRssKb(pid);
        const long residentKb = statusKb(pid, "VmRSS:");
        end(pid);
        if (!shown)
            die(o.label + " did not reach its settled frame in run " + std::to_string(run + 1));
        times.push_back(ms);
        rss.push_back(double(kb));
        resident.push_back(double(residentKb));
        std::printf("%s run %d: first frame %.1f ms, peak memory %ld kB, resident %ld kB\n",
                    o.label.c_str(), run + 1, ms, kb, residentKb);
    }
    std::printf("STARTUP %s median_ms=%.1f min_ms=%.1f peak_rss_kb=%.0f rss_kb=%.0f "
                "settled_peak_rss_kb=%ld settled_rss_kb=%ld\n",
                o.label.c_str(), median(times), *std::min_element(times.begin(), times.end()),
                median(rss), median(resident), settledRss, settledResident);
    XCloseDisplay(display);
    return 0;
}

// Times a program's start-up from outside, as the user meets it: from exec to
// the first top-level window mapped on the X server, and its resident memory
// once it has settled. With --start, it then clicks the start window's Start
// and times the next top-level window to be mapped (the test window), and with
// --idle-seconds the CPU the program then takes while the countdown runs.
//
//     startwatch [--start] [--idle-seconds S] PROGRAM
//
// Prints one line: "map_ms=... cpu_ms=... rss_kb=... [next_ms=... idle_cpu_pct=...]",
// where cpu_ms is the processor time the program had taken when its window was mapped.
// The program is ended with SIGTERM afterwards.

#include <xcb/xcb.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>

#include <dirent.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

double milliseconds(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// The CPU time all of the process's threads have used so far, in nanoseconds.
long long cpuNs(pid_t pid)
{
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    DIR* dir = opendir(tasks.c_str());
    if (!dir)
        return -1;
    long long total = 0;
    while (const dirent* entry = readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        std::ifstream schedstat(tasks + "/" + entry->d_name + "/schedstat");
        long long ns = 0;
        if (schedstat >> ns)
            total += ns;
    }
    closedir(dir);
    return total;
}

long residentKb(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atol(line.c_str() + 6);
    }
    return -1;
}

// Waits until the process has used no CPU for a while: it has painted and
// gone back to its event loop.
void waitUntilIdle(pid_t pid)
{
    const auto deadline = Clock::now() + std::chrono::seconds(3);
    long long last = cpuNs(pid);
    int quiet = 0;
    while (quiet < 5 && Clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        const long long now = cpuNs(pid);
        quiet = now == last ? quiet + 1 : 0;
        last = now;
    }
}

// Waits for a top-level window that is not override-redirect to be mapped;
// returns it, or 0 on time-out or when the program ended.
xcb_window_t waitForMap(xcb_connection_t* x, pid_t pid, int timeoutMs)
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    pollfd fd{xcb_get_file_descriptor(x), POLLIN, 0};
    for (;;) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(x)) {
            const auto type = event->response_type & ~0x80;
            xcb_window_t mapped = 0;
            if (type == XCB_MAP_NOTIFY) {
                const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(event);
                if (!map->override_redirect)
                    mapped = map->window;
            }
            std::free(event);
            if (mapped)
                return mapped;
        }
        if (xcb_connection_has_error(x))
            return 0;
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid)
            return 0;
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            return 0;
        poll(&fd, 1, static_cast<int>(std::min<long long>(left.count(), 50)));
    }
}

// A left click at (x, y) of the window, as the X server would report it.
void sendClick(xcb_connection_t* x, xcb_window_t root, xcb_window_t window, int16_t atX,
               int16_t atY)
{
    for (const uint8_t type : {uint8_t{XCB_BUTTON_PRESS}, uint8_t{XCB_BUTTON_RELEASE}}) {
        xcb_button_press_event_t button{};
        button.response_type = type;
        button.detail = 1;
        button.time = XCB_CURRENT_TIME;
        button.root = root;
        button.event = window;
        button.child = XCB_NONE;
        button.event_x = atX;
        button.event_y = atY;
        button.state = type == XCB_BUTTON_RELEASE ? XCB_BUTTON_MASK_1 : 0;
        button.same_screen = 1;
        xcb_send_event(x, 0, window,
                       type == XCB_BUTTON_PRESS ? XCB_EVENT_MASK_BUTTON_PRESS
                                                : XCB_EVENT_MASK_BUTTON_RELEASE,
                       reinterpret_cast<const char*>(&button));
    }
    xcb_flush(x);
}

// The middle of "&Start" in the start window: its group box at (16, 16), the
// button at (48, 176) in it, 73 x 25.
constexpr int16_t StartButtonX = 16 + 48 + 36;
constexpr int16_t StartButtonY = 16 + 176 + 12;

} // namespace

int main(int argc, char** argv)
{
    bool start = false;
    double idleSeconds = 0;
    int arg = 1;
    for (; arg < argc && argv[arg][0] == '-'; ++arg) {
        if (std::strcmp(argv[arg], "--start") == 0)
            start = true;
        else if (std::strcmp(argv[arg], "--idle-seconds") == 0 && arg + 1 < argc)
            idleSeconds = std::atof(argv[++arg]);
    }
    if (arg >= argc) {
        std::fprintf(stderr, "usage: startwatch [--start] [--idle-seconds S] PROGRAM\n");
        return 2;
    }

    xcb_connection_t* x = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(x)) {
        std::fprintf(stderr, "startwatch: no X display\n");
        return 2;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x, root, XCB_CW_EVENT_MASK, &mask);
    // A round trip, so that the mask is in force before the program starts.
    std::free(xcb_get_input_focus_reply(x, xcb_get_input_focus(x), nullptr));

    const auto begin = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execv(argv[arg], argv + arg);
        std::_Exit(127);
    }
    const xcb_window_t window = waitForMap(x, pid, 10000);
    const auto mapped = Clock::now();
    // The processor time the program took to get there: on a busy machine
    // this varies far less than the time on the clock.
    const long long mappedCpuNs = cpuNs(pid);
    if (!window) {
        std::fprintf(stderr, "startwatch: %s mapped no window\n", argv[arg]);
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        return 1;
    }
    waitUntilIdle(pid);
    std::printf("map_ms=%.3f cpu_ms=%.3f rss_kb=%ld", milliseconds(begin, mapped),
                static_cast<double>(mappedCpuNs) / 1e6, residentKb(pid));

    int status = 0;
    if (start) {
        // A click on the start window's "&Start" (not its access key, which
        // holds the button down for a tenth of a second first).
        const auto pressed = Clock::now();
        sendClick(x, root, window, StartButtonX, StartButtonY);
        const xcb_window_t next = waitForMap(x, pid, 5000);
        const auto shown = Clock::now();
        if (next)
            std::printf(" next_ms=%.3f", milliseconds(pressed, shown));
        else
            std::printf(" next_ms=none");
        if (next && idleSeconds > 0) {
            waitUntilIdle(pid);
            // Elapsed wall-clock time is the subject here: the CPU a running
            // countdown takes while the user only reads and thinks.
            const long long before = cpuNs(pid);
            const auto from = Clock::now();
            std::this_thread::sleep_for(std::chrono::duration<double>(idleSeconds));
            const long long after = cpuNs(pid);
            const double seconds = milliseconds(from, Clock::now()) / 1000;
            std::printf(" idle_cpu_pct=%.4f",
                        100.0 * static_cast<double>(after - before) / 1e9 / seconds);
        }
    }
    std::printf("\n");
    std::fflush(stdout);

    kill(pid, SIGTERM);
    if (waitpid(pid, &status, 0) < 0 && errno != ECHILD)
        return 1;
    xcb_disconnect(x);
    return 0;
}

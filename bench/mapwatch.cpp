// SPDX-License-Identifier: MIT
// Times a program's start-up as a user sees it: from exec to the X server mapping the
// program's first top-level window with a given title, then reports the program's peak
// resident memory once it has settled.
//
//   bench-mapwatch --title TITLE [--settle MS] [--timeout MS] [--] PROGRAM [ARGS...]
//
// Prints one line: map_ms=12.34 peak_kb=30123
//
// Run it on a server without a window manager: under one, the map seen on the root window is
// the frame's, which carries no title.
#include <xcb/xcb.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <fstream>
#include <memory>
#include <optional>
#include <poll.h>
#include <string>
#include <string_view>
#include <sys/mman.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

[[noreturn]] void die(const char *format, const auto &...args)
{
    std::fputs("bench-mapwatch: ", stderr);
    if constexpr (sizeof...(args) == 0)
        std::fputs(format, stderr);
    else
        std::fprintf(stderr, format, args...);
    std::fputc('\n', stderr);
    std::exit(2);
}

double nowMs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

struct Options {
    std::string title;
    int settleMs = 300;
    int timeoutMs = 10000;
    char **command = nullptr;
};

Options parse(int argc, char **argv)
{
    Options options;
    bool haveTitle = false;
    int i = 1;
    auto value = [&](const char *name) -> const char * {
        if (i + 1 >= argc)
            die("%s needs a value", name);
        return argv[++i];
    };
    for (; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--title") {
            options.title = value("--title");
            haveTitle = true;
        } else if (arg == "--settle") {
            options.settleMs = std::atoi(value("--settle"));
        } else if (arg == "--timeout") {
            options.timeoutMs = std::atoi(value("--timeout"));
        } else if (arg == "--") {
            ++i;
            break;
        } else if (arg.starts_with("--")) {
            die("unknown option %s", argv[i]);
        } else {
            break;
        }
    }
    if (!haveTitle || i >= argc)
        die("usage: bench-mapwatch --title TITLE [--settle MS] [--timeout MS] [--] PROGRAM "
            "[ARGS...]");
    options.command = argv + i;
    return options;
}

xcb_atom_t atom(xcb_connection_t *c, std::string_view name)
{
    const auto cookie = xcb_intern_atom(c, 0, uint16_t(name.size()), name.data());
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(c, cookie, nullptr), &std::free);
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

std::optional<std::string> property(xcb_connection_t *c, xcb_window_t window, xcb_atom_t name,
                                    xcb_atom_t type)
{
    const auto cookie = xcb_get_property(c, 0, window, name, type, 0, 4096);
    std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
        xcb_get_property_reply(c, cookie, nullptr), &std::free);
    if (!reply || reply->type == XCB_ATOM_NONE || reply->format != 8)
        return std::nullopt;
    return std::string(static_cast<const char *>(xcb_get_property_value(reply.get())),
                       size_t(xcb_get_property_value_length(reply.get())));
}

// The title as a window manager would show it: the UTF-8 name if set, else the legacy one.
std::string windowName(xcb_connection_t *c, xcb_window_t window, xcb_atom_t netWmName,
                       xcb_atom_t utf8)
{
    if (auto name = property(c, window, netWmName, utf8))
        return *name;
    return property(c, window, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY).value_or("");
}

long peakResidentKb(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.starts_with("VmHWM:"))
            return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

} // namespace

int main(int argc, char **argv)
{
    const Options options = parse(argc, argv);

    xcb_connection_t *c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c))
        die("cannot connect to the X display (is DISPLAY set?)");
    // The child must not share our X connection.
    fcntl(xcb_get_file_descriptor(c), F_SETFD, FD_CLOEXEC);
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const xcb_atom_t netWmName = atom(c, "_NET_WM_NAME");
    const xcb_atom_t utf8 = atom(c, "UTF8_STRING");

    // Selected before the child exists, so that no map can be missed.
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    if (auto *error = xcb_request_check(
            c, xcb_change_window_attributes_checked(c, root, XCB_CW_EVENT_MASK, &mask))) {
        std::free(error);
        die("cannot watch the root window");
    }

    // The child stamps the start time itself, as close to exec as it can, in memory we share.
    auto *start = static_cast<double *>(
        mmap(nullptr, sizeof(double), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0));
    if (start == MAP_FAILED)
        die("mmap: %s", std::strerror(errno));
    // Closed by a successful exec; a failed one writes its errno here.
    int execPipe[2];
    if (pipe2(execPipe, O_CLOEXEC) != 0)
        die("pipe: %s", std::strerror(errno));

    const pid_t child = fork();
    if (child < 0)
        die("fork: %s", std::strerror(errno));
    if (child == 0) {
        close(execPipe[0]);
        *start = nowMs();
        execvp(options.command[0], options.command);
        const int error = errno;
        [[maybe_unused]] auto written = write(execPipe[1], &error, sizeof error);
        _exit(127);
    }
    close(execPipe[1]);
    int execError = 0;
    if (read(execPipe[0], &execError, sizeof execError) == sizeof execError) {
        waitpid(child, nullptr, 0);
        die("cannot run %s: %s", options.command[0], std::strerror(execError));
    }
    close(execPipe[0]);

    auto stopChild = [child] {
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
    };

    const double deadline = *start + options.timeoutMs;
    std::optional<double> mappedAt;
    while (!mappedAt) {
        while (xcb_generic_event_t *event = xcb_poll_for_event(c)) {
            const double received = nowMs();
            if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY) {
                const auto *map = reinterpret_cast<xcb_map_notify_event_t *>(event);
                if (windowName(c, map->window, netWmName, utf8) == options.title)
                    mappedAt = received;
            }
            std::free(event);
            if (mappedAt)
                break;
        }
        if (mappedAt)
            break;
        if (xcb_connection_has_error(c)) {
            stopChild();
            die("lost the X connection");
        }
        int status = 0;
        if (waitpid(child, &status, WNOHANG) == child)
            die("%s ended (status %d) before mapping a window titled \"%s\"", options.command[0],
                status, options.title.c_str());
        const double left = deadline - nowMs();
        if (left <= 0) {
            stopChild();
            die("timed out after %d ms waiting for a window titled \"%s\"", options.timeoutMs,
                options.title.c_str());
        }
        // Short waits, so that a child that dies early is noticed soon.
        pollfd fd{xcb_get_file_descriptor(c), POLLIN, 0};
        poll(&fd, 1, int(std::min(left, 20.0)) + 1);
    }

    std::this_thread::sleep_for(std::chrono::milliseconds(options.settleMs));
    const long peakKb = peakResidentKb(child);
    stopChild();
    xcb_disconnect(c);
    std::printf("map_ms=%.2f peak_kb=%ld\n", *mappedAt - *start, peakKb);
    return peakKb < 0 ? 1 : 0;
}

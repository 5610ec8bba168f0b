// Starts a program and reports how long it takes from exec to the mapping of its first
// top-level window, then its resident memory a moment later, then ends it.
//
//   time_to_window SETTLE_MS PROGRAM [ARGS...]
//
// Prints one line: "<milliseconds to map> <VmRSS kB> <VmHWM kB>". The watcher selects
// SubstructureNotify on the root window before the program starts, so no map can be missed;
// it waits on the X connection, never polls.
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

namespace {

long StatusField(pid_t pid, const std::string& field) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string key;
    long value = -1;
    while (status >> key) {
        if (key == field + ":") {
            status >> value;
            return value;
        }
        status.ignore(1 << 12, '\n');
    }
    return -1;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s SETTLE_MS PROGRAM [ARGS...]\n", argv[0]);
        return 2;
    }
    const int settleMs = std::atoi(argv[1]);

    // A server that has just announced its display may take a moment to accept clients.
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    for (int attempt = 0; attempt < 100 && xcb_connection_has_error(connection); ++attempt) {
        xcb_disconnect(connection);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        connection = xcb_connect(nullptr, nullptr);
    }
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "cannot connect to the X server\n");
        return 1;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_void_cookie_t cookie =
        xcb_change_window_attributes_checked(connection, root, XCB_CW_EVENT_MASK, &mask);
    if (xcb_generic_error_t* error = xcb_request_check(connection, cookie)) {
        std::fprintf(stderr, "cannot watch the root window (error %d)\n", error->error_code);
        return 1;
    }

    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        close(xcb_get_file_descriptor(connection));
        execvp(argv[2], argv + 2);
        std::perror("exec");
        _exit(127);
    }

    double mapMs = -1;
    while (xcb_generic_event_t* event = xcb_wait_for_event(connection)) {
        const bool mapped = (event->response_type & 0x7F) == XCB_MAP_NOTIFY &&
                            !reinterpret_cast<xcb_map_notify_event_t*>(event)->override_redirect;
        std::free(event);
        if (mapped) {
            mapMs =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                    .count();
            break;
        }
    }

    std::this_thread::sleep_for(std::chrono::milliseconds(settleMs));
    const long rss = StatusField(pid, "VmRSS");
    const long hwm = StatusField(pid, "VmHWM");
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    xcb_disconnect(connection);

    if (mapMs < 0) {
        std::fprintf(stderr, "no window was mapped\n");
        return 1;
    }
    std::printf("%.3f %ld %ld\n", mapMs, rss, hwm);
    return 0;
}

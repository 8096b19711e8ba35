// Start-up as the player feels it: the time from starting the launcher's process to the first
// frame it paints into a window, as the X server sees it, and the memory the process holds at
// that moment. Beside it, measured in the same run and alternating with it, the same for a bare
// Qt Widgets window of the main window's size built the same way.
//
// The benchmark runs its own Xvfb. It watches the screen's top-level windows being created and
// asks the server's damage extension to report the first drawing into each: that is the first
// painted frame, whatever the process does in between.
//
//   rsim_startup_bench LAUNCHER BARE_WINDOW [ROUNDS]

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <numeric>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

[[noreturn]] void fail(const std::string& message) {
    std::fprintf(stderr, "rsim_startup_bench: %s\n", message.c_str());
    std::exit(1);
}

pid_t spawn(const std::vector<std::string>& arguments, const std::vector<std::string>& extraEnv,
            int displayFd = -1) {
    std::vector<char*> argv;
    argv.reserve(arguments.size() + 1);
    for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    std::vector<std::string> env(extraEnv);
    for (char** e = environ; *e; ++e) env.emplace_back(*e);
    std::vector<char*> envp;
    envp.reserve(env.size() + 1);
    for (const std::string& e : env) envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (displayFd >= 0) posix_spawn_file_actions_adddup2(&actions, displayFd, 3);
    const int quiet = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    posix_spawn_file_actions_adddup2(&actions, quiet, 1);
    posix_spawn_file_actions_adddup2(&actions, quiet, 2);
    pid_t pid = 0;
    const int error = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(quiet);
    if (error != 0) fail("cannot start " + arguments[0] + ": " + std::strerror(error));
    return pid;
}

void stop(pid_t pid) {
    ::kill(pid, SIGTERM);
    int status = 0;
    ::waitpid(pid, &status, 0);
}

// An X server of the benchmark's own, which picks a free display and names it once it takes
// connections.
class XServer {
public:
    XServer() {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0) fail("no pipe");
        pid_ = spawn(
            {"/usr/bin/Xvfb", "-displayfd", "3", "-screen", "0", "1024x768x24", "-nolisten", "tcp"},
            {}, fds[1]);
        ::close(fds[1]);
        char number[16] = {};
        pollfd wait{fds[0], POLLIN, 0};
        if (::poll(&wait, 1, 30000) != 1 || ::read(fds[0], number, sizeof number - 1) <= 0)
            fail("Xvfb did not start");
        ::close(fds[0]);
        display_ = ":" + std::string(number, std::strcspn(number, "\n"));
    }
    ~XServer() { stop(pid_); }
    const std::string& display() const { return display_; }

private:
    pid_t pid_ = 0;
    std::string display_;
};

struct Start {
    double milliseconds;
    double residentMiB;
};

double residentMiBOf(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::atof(line.c_str() + 6) / 1024;
    return 0;
}

class Watcher {
public:
    explicit Watcher(const std::string& display) {
        // A server that has just named its display may refuse the very first connection.
        for (int attempt = 0; attempt < 50; ++attempt) {
            if (connection_) xcb_disconnect(connection_);
            connection_ = xcb_connect(display.c_str(), nullptr);
            if (!xcb_connection_has_error(connection_)) break;
            ::usleep(20000);
        }
        if (xcb_connection_has_error(connection_)) fail("cannot connect to " + display);
        const xcb_query_extension_reply_t* damage =
            xcb_get_extension_data(connection_, &xcb_damage_id);
        if (!damage || !damage->present) fail("the X server has no damage extension");
        damageEvent_ = damage->first_event + XCB_DAMAGE_NOTIFY;
        xcb_discard_reply(connection_, xcb_damage_query_version(connection_, 1, 1).sequence);
        root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
        const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(connection_, root_, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(connection_);
    }
    ~Watcher() { xcb_disconnect(connection_); }

    Start measure(const std::string& program, const std::string& display) {
        const Clock::time_point started = Clock::now();
        const pid_t pid = spawn({program}, {"DISPLAY=" + display, "QT_QPA_PLATFORM=xcb"});
        std::vector<xcb_damage_damage_t> damages;
        std::optional<Start> result;
        while (!result) {
            if (Clock::now() - started > std::chrono::seconds(30))
                fail(program + " painted nothing within 30 s");
            std::unique_ptr<xcb_generic_event_t, decltype(&std::free)> event(
                xcb_poll_for_event(connection_), &std::free);
            if (!event) {
                pollfd wait{xcb_get_file_descriptor(connection_), POLLIN, 0};
                ::poll(&wait, 1, 100);
                continue;
            }
            const std::uint8_t type = event->response_type & 0x7f;
            if (type == XCB_CREATE_NOTIFY) {
                const auto* created = reinterpret_cast<xcb_create_notify_event_t*>(event.get());
                const xcb_damage_damage_t damage = xcb_generate_id(connection_);
                xcb_damage_create(connection_, damage, created->window,
                                  XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
                xcb_flush(connection_);
                damages.push_back(damage);
            } else if (type == damageEvent_) {
                const double ms =
                    std::chrono::duration<double, std::milli>(Clock::now() - started).count();
                result = Start{ms, residentMiBOf(pid)};
            }
        }
        stop(pid);
        for (xcb_damage_damage_t damage : damages) xcb_damage_destroy(connection_, damage);
        xcb_flush(connection_);
        // Events of the ended process's windows are of no further interest.
        while (xcb_generic_event_t* rest = xcb_poll_for_event(connection_)) std::free(rest);
        return *result;
    }

private:
    xcb_connection_t* connection_ = nullptr;
    xcb_window_t root_ = 0;
    std::uint8_t damageEvent_ = 0;
};

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) fail("usage: rsim_startup_bench LAUNCHER BARE_WINDOW [ROUNDS]");
    const std::string launcher = argv[1], bare = argv[2];
    const int rounds = argc > 3 ? std::atoi(argv[3]) : 30;

    XServer server;
    Watcher watcher(server.display());
    // The first starts fill the file system's caches for both.
    watcher.measure(bare, server.display());
    watcher.measure(launcher, server.display());

    std::vector<double> launcherMs, bareMs, launcherMiB, bareMiB;
    for (int round = 0; round < rounds; ++round) {
        const Start b = watcher.measure(bare, server.display());
        const Start l = watcher.measure(launcher, server.display());
        bareMs.push_back(b.milliseconds);
        bareMiB.push_back(b.residentMiB);
        launcherMs.push_back(l.milliseconds);
        launcherMiB.push_back(l.residentMiB);
    }
    std::printf("start to first painted frame, median of %d alternating starts under Xvfb\n",
                rounds);
    std::printf("  %-14s %8.1f ms  %6.1f MiB resident\n", "bare window", median(bareMs),
                median(bareMiB));
    std::printf("  %-14s %8.1f ms  %6.1f MiB resident\n", "launcher", median(launcherMs),
                median(launcherMiB));
    std::printf("  %-14s %8.2fx     %+6.1f MiB\n", "launcher/bare",
                median(launcherMs) / median(bareMs), median(launcherMiB) - median(bareMiB));
    return 0;
}

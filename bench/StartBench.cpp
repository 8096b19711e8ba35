// The press of the start button to the simulator's main, against posix_spawn of the same
// recording program, the two taking turns in one run: for a native simulator, and for a Windows
// one through wine, in a wine prefix that is already running and in a fresh one. The real main
// window, offscreen, on a copy of the sample installation, with a consist chosen; the launcher's
// end after a start is caught, so that it can be pressed again. And the press as a player meets
// it on the first start of a day, the launcher's window open for three seconds and no wine
// running before: with the wine the launcher made ready meanwhile, and with none, beside plain
// wine started while its server and services run, the yardstick.

#include "platform/widgets/FileListBox.h"
#include "platform/widgets/ListBox.h"
#include "platform/widgets/ProgramEnd.h"
#include "settings/launch/LaunchParameters.h"
#include "settings/launch/SimulatorCommand.h"
#include "settings/launch/StartFailure.h"
#include "settings/launch/WineEnvironment.h"
#include "shell/window/AllWindows.h"

#include <QApplication>
#include <QEventLoop>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <numeric>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

const std::string Scenery = "Kolejowo.scn";

double secondsOf(clockid_t clock) {
    timespec now{};
    ::clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// Whether a child of ours has yet to be reaped; it is left to the launcher to reap it.
bool hasChild() {
    siginfo_t info{};
    return ::waitid(P_ALL, 0, &info, WEXITED | WNOHANG | WNOWAIT) == 0;
}

// The sample installation in a folder of its own, with a recording program as rsim.exe.
class Installation {
public:
    explicit Installation(const std::string& simulator) : root_(dir_.path().toStdString()) {
        fs::copy(RSIM_SAMPLE_DIR, root_, fs::copy_options::recursive);
        fs::copy_file(simulator, root_ + "/rsim.exe", fs::copy_options::overwrite_existing);
    }
    const std::string& root() const { return root_; }

private:
    QTemporaryDir dir_;
    std::string root_;
};

// The launcher's windows on an installation, the first consist of the scenery chosen.
class Launcher {
public:
    explicit Launcher(const std::string& root)
        : windows_(std::make_unique<AllWindows>(root + "/rsim-launcher")) {
        setProgramEndHandler([this](int) { ended_ = true; });
        TForm1& form1 = windows_->Form1;
        form1.show();
        form1.FileListBox1->findItems(QString::fromStdString(Scenery), Qt::MatchExactly)
            .front()
            ->setSelected(true);
        form1.ListBox2->item(0)->setSelected(true);
        QApplication::processEvents();
    }

    std::string vehicle() const { return windows_->Form1.state().ChosenVehicle; }

    void press() {
        ended_ = false;
        windows_->Form1.Button1->click();
    }
    // Lets the launcher's window stay open for a while, handling its events as the player looks.
    static void stayOpen(std::chrono::milliseconds time) {
        QEventLoop open;
        QTimer::singleShot(time, &open, &QEventLoop::quit);
        open.exec();
    }
    // Lets the event loop run, waiting for its events, until the launcher would have ended after
    // the start.
    void awaitEnd() {
        while (!ended_) {
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
    }

private:
    std::unique_ptr<AllWindows> windows_;
    bool ended_ = false;
};

// posix_spawn of program with its arguments and the environment with additions, in the current
// folder, its output thrown away; in a session of its own if asked.
pid_t spawn(const std::vector<std::string>& argvStrings,
            const std::vector<std::pair<std::string, std::string>>& added, bool session = false) {
    std::vector<std::string> envStrings;
    for (char** e = environ; *e; ++e) envStrings.emplace_back(*e);
    for (const auto& [name, value] : added) envStrings.push_back(name + "=" + value);
    std::vector<char*> argv, envp;
    for (const std::string& s : argvStrings) argv.push_back(const_cast<char*>(s.c_str()));
    for (const std::string& s : envStrings) envp.push_back(const_cast<char*>(s.c_str()));
    argv.push_back(nullptr);
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    ::posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawnattr_t attributes;
    ::posix_spawnattr_init(&attributes);
    if (session) ::posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    pid_t pid = -1;
    ::posix_spawn(&pid, argv[0], &actions, &attributes, argv.data(), envp.data());
    ::posix_spawnattr_destroy(&attributes);
    ::posix_spawn_file_actions_destroy(&actions);
    return pid;
}

double median(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    const std::size_t n = samples.size();
    return n == 0 ? 0 : n % 2 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2;
}

double mean(const std::vector<double>& samples) {
    return samples.empty() ? 0
                           : std::accumulate(samples.begin(), samples.end(), 0.0) /
                                 static_cast<double>(samples.size());
}

// A way of starting the recording program; start returns the seconds from its beginning to
// the program's main.
struct Way {
    std::string counter;
    std::function<double()> start;
};

// Ways of starting the same program, measured in turns, each start after a moment of idleness,
// as a player's press comes to an idle launcher. On a machine shared with other work a start now
// and then waits for a processor, so medians are compared, with the means beside them. The
// first way is ours, the second its baseline.
void alternate(benchmark::State& state, const std::vector<Way>& ways) {
    std::vector<std::vector<double>> times(ways.size());
    std::size_t turn = 0;
    for (auto _ : state) {
        for (std::size_t k = 0; k < ways.size(); ++k) {
            const std::size_t way = (turn + k) % ways.size();
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            times[way].push_back(ways[way].start());
        }
        ++turn;
    }
    for (std::size_t way = 0; way < ways.size(); ++way) {
        state.counters[ways[way].counter + "_ms"] = median(times[way]) * 1000;
        state.counters[ways[way].counter + "_mean_ms"] = mean(times[way]) * 1000;
    }
    state.counters["ratio"] = median(times[0]) / median(times[1]);
}

// The native recording program sends the moment of its main through a pipe in its folder.
double startTimeThroughPipe(const std::string& root) {
    const int pipe = ::open((root + "/start-time").c_str(), O_RDONLY);
    timespec began{};
    const bool read = ::read(pipe, &began, sizeof began) == sizeof began;
    ::close(pipe);
    return read ? static_cast<double>(began.tv_sec) + static_cast<double>(began.tv_nsec) / 1e9 : 0;
}

void BM_StartNativeSimulator(benchmark::State& state) {
    const Installation install(RSIM_START_RECORDER);
    ::mkfifo((install.root() + "/start-time").c_str(), 0600);
    Launcher launcher(install.root());
    const std::vector<std::string> argv{install.root() + "/rsim.exe", "-s", Scenery, "-v",
                                        launcher.vehicle()};
    // posix_spawn starts the program in the current folder, which the launcher's scenery list
    // moves.
    const auto spawned = [&](bool session) {
        fs::current_path(install.root());
        const double begun = secondsOf(CLOCK_MONOTONIC);
        const pid_t pid = spawn(argv, {}, session);
        const double main = startTimeThroughPipe(install.root());
        ::waitpid(pid, nullptr, 0);
        return main - begun;
    };
    alternate(state, {{"press_to_main",
                       [&] {
                           const double pressed = secondsOf(CLOCK_MONOTONIC);
                           launcher.press();
                           const double main = startTimeThroughPipe(install.root());
                           while (hasChild())
                               QApplication::processEvents(QEventLoop::WaitForMoreEvents);
                           return main - pressed;
                       }},
                      {"posix_spawn", [&] { return spawned(false); }},
                      // The new session alone, which the launcher's start makes too.
                      {"posix_spawn_setsid", [&] { return spawned(true); }}});
}
BENCHMARK(BM_StartNativeSimulator)->Iterations(300)->UseRealTime()->Unit(benchmark::kMillisecond);

#ifdef RSIM_WINDOWS_RECORDER64
// The Windows recording program notes the moment of its main (Unix time, microseconds) in
// rsim-record.txt beside itself. Meanwhile the launcher's events are handled: it may have to
// build the Polish locale before it starts wine.
double recordedStartTime(const std::string& root) {
    const std::string record = root + "/rsim-record.txt";
    while (!fs::exists(record)) {
        QApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    std::ifstream in(record);
    std::string key;
    long long microseconds = 0;
    while (in >> key && key != "main") in.ignore(1 << 16, '\n');
    in >> microseconds;
    fs::remove(record);
    return static_cast<double>(microseconds) / 1e6;
}

// The recording program runs, as a simulator does, until a file "quit" appears beside it, which
// it removes as it ends.
void quitRecorder(const std::string& root) {
    const std::string quit = root + "/quit";
    std::ofstream(quit).close();
    while (fs::exists(quit)) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

// Ends the wine server of a prefix, and every wine process in it, and waits until it is gone.
void stopWine(const std::string& prefix) {
    const pid_t pid = spawn({"/bin/sh", "-c", "wineserver --kill; exec wineserver --wait"},
                            {{"WINEPREFIX", prefix}});
    ::waitpid(pid, nullptr, 0);
}

// The wine prefix a start meets: created and with its wine server still running from the last
// start, or not there yet (the first start, which creates it).
enum class Prefix { Running, Fresh };

// A start through wine, and posix_spawn of wine with the same arguments and environment. A fresh
// prefix is one of its own for every start.
void startThroughWine(benchmark::State& state, Prefix kind) {
    const Installation install(RSIM_WINDOWS_RECORDER64);
    QTemporaryDir prefixes;
    const std::string sharedPrefix = prefixes.path().toStdString() + "/prefix";
    int prefixCount = 0;
    const auto usePrefix = [&] {
        std::string prefix = kind == Prefix::Fresh ? prefixes.path().toStdString() + "/prefix" +
                                                         std::to_string(++prefixCount)
                                                   : sharedPrefix;
        ::setenv("WINEPREFIX", prefix.c_str(), 1);
        return prefix;
    };
    const auto afterStart = [&](const std::string& prefix) {
        if (kind == Prefix::Fresh) stopWine(prefix);
    };
    Launcher launcher(install.root());
    const SimulatorCommand command = simulatorCommand(install.root(), Scenery, launcher.vehicle());
    std::vector<std::string> argv{command.program};
    argv.insert(argv.end(), command.arguments.begin(), command.arguments.end());

    // The launcher counts a start once the simulator has run for a moment, and leaves it
    // running; wine's process ends with the simulator.
    const auto pressed = [&] {
        launcher.press();
        const double main = recordedStartTime(install.root());
        launcher.awaitEnd();
        quitRecorder(install.root());
        while (hasChild()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        return main;
    };
    // The first start builds the Polish locale, and creates the shared prefix.
    afterStart(usePrefix());
    pressed();

    const auto spawned = [&](bool session) {
        const std::string prefix = usePrefix();
        fs::current_path(install.root());
        const double begun = secondsOf(CLOCK_REALTIME);
        const pid_t pid = spawn(argv, command.environment, session);
        const double main = recordedStartTime(install.root());
        quitRecorder(install.root());
        ::waitpid(pid, nullptr, 0);
        afterStart(prefix);
        return main - begun;
    };
    alternate(state, {{"press_to_main",
                       [&] {
                           const std::string prefix = usePrefix();
                           const double begun = secondsOf(CLOCK_REALTIME);
                           const double main = pressed();
                           afterStart(prefix);
                           return main - begun;
                       }},
                      {"posix_spawn", [&] { return spawned(false); }},
                      {"posix_spawn_setsid", [&] { return spawned(true); }}});
    stopWine(sharedPrefix);
}

void BM_StartThroughWineRunningPrefix(benchmark::State& state) {
    startThroughWine(state, Prefix::Running);
}
BENCHMARK(BM_StartThroughWineRunningPrefix)
    ->Iterations(20)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// Whether a process of that name runs, of any user: the warm-up's command interpreter.
bool processNamed(const std::string& name) {
    for (const fs::directory_entry& process : fs::directory_iterator("/proc")) {
        std::ifstream comm(process.path() / "comm");
        std::string found;
        if (std::getline(comm, found) && found == name) return true;
    }
    return false;
}

// The press with the launcher's window open for three seconds before it, wine not running when
// the window came up: with the wine the launcher made ready meanwhile; with wine stopped again
// just before the press, as a launcher that made nothing ready meets it; and plain wine started
// while its server and services still run from a start just before, the yardstick. The Polish
// locale is in the cache, as after the first start ever; and the same two presses on the first
// start ever, with no locale in the cache when the window came up.
void BM_StartThroughWineLauncherOpen3s(benchmark::State& state) {
    // The usual simulator is a 32-bit program.
    const Installation install(RSIM_WINDOWS_RECORDER32);
    QTemporaryDir prefixes;
    const std::string prefix = prefixes.path().toStdString() + "/prefix";
    ::setenv("WINEPREFIX", prefix.c_str(), 1);
    const std::string locales =
        launcherCacheFolder(std::getenv("XDG_CACHE_HOME"), std::getenv("HOME")) + "/locale";
    constexpr std::chrono::seconds Open{3};
    enum class Locale { Cached, Missing };
    enum class Wine { MadeReady, StoppedBeforePress };
    int warmed = 0;
    const auto pressAfterOpen = [&](Wine wine, Locale locale) {
        stopWine(prefix);
        if (locale == Locale::Missing) fs::remove_all(locales);
        Launcher launcher(install.root());
        Launcher::stayOpen(Open);
        if (processNamed("cmd.exe")) ++warmed;
        if (wine == Wine::StoppedBeforePress) {
            stopWine(prefix);
            if (locale == Locale::Missing) fs::remove_all(locales);
        }
        const double pressed = secondsOf(CLOCK_REALTIME);
        launcher.press();
        const double main = recordedStartTime(install.root());
        launcher.awaitEnd();
        quitRecorder(install.root());
        return main - pressed;
    };
    // The first start creates the prefix and builds the Polish locale.
    pressAfterOpen(Wine::StoppedBeforePress, Locale::Cached);

    std::vector<std::string> argv;
    std::vector<std::pair<std::string, std::string>> environment;
    {
        const Launcher launcher(install.root());
        const SimulatorCommand command =
            simulatorCommand(install.root(), Scenery, launcher.vehicle());
        argv = {command.program};
        argv.insert(argv.end(), command.arguments.begin(), command.arguments.end());
        environment = command.environment;
    }
    const auto wineStart = [&] {
        fs::current_path(install.root());
        const double begun = secondsOf(CLOCK_REALTIME);
        const pid_t pid = spawn(argv, environment, true);
        const double main = recordedStartTime(install.root());
        quitRecorder(install.root());
        ::waitpid(pid, nullptr, 0);
        return main - begun;
    };
    alternate(state, {{"launcher_open_3s",
                       [&] { return pressAfterOpen(Wine::MadeReady, Locale::Cached); }},
                      {"wine_running",
                       [&] {
                           stopWine(prefix);
                           wineStart();
                           return wineStart();
                       }},
                      {"no_wine_running",
                       [&] { return pressAfterOpen(Wine::StoppedBeforePress, Locale::Cached); }},
                      {"first_start_ever_open_3s",
                       [&] { return pressAfterOpen(Wine::MadeReady, Locale::Missing); }},
                      {"first_start_ever_no_wine_running",
                       [&] { return pressAfterOpen(Wine::StoppedBeforePress, Locale::Missing); }}});
    state.counters["launchers_that_made_wine_ready"] = warmed;
    stopWine(prefix);
    ::unsetenv("WINEPREFIX");
}
BENCHMARK(BM_StartThroughWineLauncherOpen3s)
    ->Iterations(10)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

void BM_StartThroughWineFreshPrefix(benchmark::State& state) {
    startThroughWine(state, Prefix::Fresh);
}
BENCHMARK(BM_StartThroughWineFreshPrefix)
    ->Iterations(2)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

#endif

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Wine runs without a display, and its prefixes, the Polish locale and wine's menu entries
    // stay away from the real home.
    ::unsetenv("DISPLAY");
    QTemporaryDir home;
    ::setenv("HOME", home.path().toUtf8().constData(), 1);
    ::setenv("XDG_CACHE_HOME", (home.path() + "/cache").toUtf8().constData(), 1);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

#include "platform/system/ProgramStart.h"

#include "platform/system/SearchPath.h"
#include "settings/launch/WatchedStart.h"

#include "settings/launch/LaunchParameters.h"
#include "settings/launch/SimulatorCommand.h"
#include "settings/launch/StartFailure.h"
#include "tests/core/TempFolder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <thread>

namespace {

using Arguments = std::vector<std::string>;

// Stands in for the simulator: writes its folder, its session, whether the descriptor named by
// PROBE_FD is open in it, the variable PROBE_VARIABLE and its arguments, each ended by a NUL
// byte, to "record" in its working folder, then a line of output and one of error output. The
// file appears whole, by a rename.
const std::string Recorder =
    "#!/bin/sh\n"
    "printf '%s\\0' \"$(pwd -P)\" \"$(cut -d' ' -f6 /proc/$$/stat)\" "
    "\"$(test -e /proc/$$/fd/${PROBE_FD:-99} && echo open || echo closed)\" "
    "\"$PROBE_VARIABLE\" \"$@\" > record.part && mv record.part record\n"
    "echo recorded\n"
    "echo noted >&2\n";

std::string executable(const TempFolder& folder, const std::string& name,
                       const std::string& bytes) {
    std::string path = folder.write(name, bytes);
    ::chmod(path.c_str(), 0755);
    return path;
}

struct Record {
    std::string folder;
    pid_t session = 0;
    std::string probedDescriptor;
    std::string variable;
    Arguments arguments;
};

// The started program runs on its own; its record is awaited.
Record awaitRecord(const std::string& folder) {
    const std::string path = folder + "/record";
    for (int i = 0; i < 1000 && !std::filesystem::exists(path); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::ifstream in(path, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    Arguments fields;
    for (std::size_t start = 0, end; (end = bytes.find('\0', start)) != std::string::npos;
         start = end + 1)
        fields.push_back(bytes.substr(start, end - start));
    if (fields.size() < 4) return {};
    return {fields[0],
            static_cast<pid_t>(std::stol(fields[1])),
            fields[2],
            fields[3],
            {fields.begin() + 4, fields.end()}};
}

// Waits until the child has ended and been reaped.
int awaitEnd(ChildProcess& child) {
    for (int i = 0; i < 1000 && !child.hasEnded(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return child.hasEnded() ? child.waitStatus() : -1;
}

// Neither the middle process nor the program is left as a child of ours.
bool hasNoChild() {
    return ::waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD;
}

TEST(ProgramStart, ArgumentsArriveAsTheirBytesInTheWorkingFolderWithNoShellBetween) {
    TempFolder install;
    install.makeFolder("Gry/RSIM 424");
    const std::string folder = install.path() + "/Gry/RSIM 424";
    const std::string simulator = executable(install, "Gry/RSIM 424/rsim.exe", Recorder);
    const Arguments arguments{"-s", "a b;$(touch pwned) `touch pwned2` 'q\"*.scn", "-v",
                              "\xA3\xF3\x64\x9F |x&", ""};

    // A descriptor of the launcher's that is not closed on exec, and one for the output.
    const int launchersOwn = ::open("/dev/null", O_RDONLY);
    const std::string outputFile = install.path() + "/output";
    const int output = ::open(outputFile.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    const RunResult started =
        run(simulator, arguments, folder,
            {{{"PROBE_FD", std::to_string(launchersOwn)}, {"PROBE_VARIABLE", "set"}}, output});
    ASSERT_TRUE(started);
    ::close(output);
    ChildProcess child(started.pid);
    const Record record = awaitRecord(folder);
    EXPECT_EQ(record.folder, std::filesystem::canonical(folder).string());
    EXPECT_EQ(record.arguments, arguments);
    EXPECT_NE(record.session, ::getsid(0)) << "the simulator runs in a session of its own";
    EXPECT_EQ(record.probedDescriptor, "closed");
    EXPECT_EQ(record.variable, "set");
    EXPECT_EQ(awaitEnd(child), 0);
    EXPECT_TRUE(hasNoChild());
    std::ifstream written(outputFile);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(written), {}), "recorded\nnoted\n");
    ::close(launchersOwn);
    EXPECT_FALSE(std::filesystem::exists(folder + "/pwned"));
    EXPECT_FALSE(std::filesystem::exists(folder + "/pwned2"));
}

TEST(ProgramStart, AWindowsProgramRunsThroughTheFirstWineOnTheSearchPath) {
    TempFolder install, first, second;
    const std::string simulator = install.write("rsim.exe", std::string("MZ\x90\0", 4));
    const std::string wine = executable(first, "wine", Recorder);
    executable(second, "wine", "#!/bin/sh\nexit 1\n");
    // A folder named relative to the current folder, and a "wine" that may not be run, are
    // passed over.
    executable(install, "relative/wine", "#!/bin/sh\nexit 1\n");
    install.write("unrunnable/wine", Recorder);
    ASSERT_EQ(::chdir(install.path().c_str()), 0);
    // The recorder needs the system's tools after the fakes.
    const char* pathVariable = std::getenv("PATH");
    const std::string systemPath = pathVariable ? pathVariable : "/usr/bin:/bin";
    ::setenv("PATH",
             ("relative:" + install.path() + "/unrunnable:" + first.path() + ":" + second.path() +
              ":" + systemPath)
                 .c_str(),
             1);

    const SimulatorCommand command =
        simulatorCommand(install.path(), "a b.scn", "Lok 1",
                         WineEnvironment{findOnSearchPath("wine"), "", "", false, "", "", ""});
    EXPECT_EQ(command.program, wine);
    const RunResult started = run(command.program, command.arguments, command.workingFolder);
    ASSERT_TRUE(started);
    ChildProcess child(started.pid);
    const Record record = awaitRecord(install.path());
    EXPECT_EQ(record.folder, std::filesystem::canonical(install.path()).string());
    EXPECT_EQ(record.arguments, (Arguments{simulator, "-s", "a b.scn", "-v", "Lok 1"}));

    EXPECT_EQ(awaitEnd(child), 0);

    ::setenv("PATH", second.path().c_str(), 1);
    ::unlink((second.path() + "/wine").c_str());
    EXPECT_EQ(findOnSearchPath("wine"), "");
    ::setenv("PATH", systemPath.c_str(), 1);
}

TEST(ProgramStart, EachFailureIsReportedWithItsCause) {
    TempFolder install;
    install.write("plain.exe", "#!/bin/sh\nexit 0\n");
    executable(install, "garbage.exe", "neither a script nor a program");
    executable(install, "ok.exe", "#!/bin/sh\nexit 0\n");
    install.makeFolder("folder.exe");
    const std::string& root = install.path();

    struct Case {
        std::string program, workingFolder;
        int error;
    };
    const std::vector<Case> cases{
        {root + "/missing.exe", root, ENOENT},
        {"ok.exe", root, ENOENT}, // not an absolute path: never looked up
        {root + "/plain.exe", root, EACCES},
        {root + "/folder.exe", root, EACCES},
        {root + "/garbage.exe", root, ENOEXEC}, // and no shell tries it as a script
        {root + "/ok.exe", root + "/gone", ENOENT},
    };
    for (const Case& c : cases)
        EXPECT_EQ(run(c.program, {"-s", "a.scn"}, c.workingFolder).error, c.error) << c.program;
    EXPECT_TRUE(hasNoChild());
}

// Wine hands a program it cannot load to a process of another name, which then ends: the name
// it had last is still there to read when its end is reported.
TEST(ProgramStart, AnEndedChildIsReapedAndKeepsItsLastName) {
    TempFolder folder;
    executable(folder, "start.exe", "#!/bin/sh\nsleep 0.2\nexit 3\n");
    const std::string wine = executable(folder, "wine", "#!/bin/sh\nexec \"$PWD/start.exe\"\n");
    const RunResult started = run(wine, {}, folder.path());
    ASSERT_TRUE(started);
    ChildProcess child(started.pid);
    EXPECT_EQ(awaitEnd(child), 3 << 8);
    EXPECT_EQ(child.name(), "start.exe");
    EXPECT_TRUE(hasNoChild());
}

// A start through a wine that is a script of our own: whatever wine's exit status, only a process
// of the start seen running the simulator for a moment makes a start.
TEST(WatchedStart, OnlyASimulatorSeenRunningMakesAStart) {
    struct Case {
        std::string name, wine;
        bool started;
    };
    const std::vector<Case> cases{
        {"wine ending with 0 without the simulator", "#!/bin/sh\nexit 0\n", false},
        {"wine becoming the simulator", "#!/bin/sh\nexec \"$1\"\n", true},
        {"wine handing the simulator to another process and ending with 0",
         "#!/bin/sh\n\"$1\" &\nexit 0\n", true},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        SimulatorCommand command;
        // The simulator runs until told to quit.
        command.simulator =
            executable(folder, "rsim.exe",
                       "#!/bin/sh\nwhile [ ! -e quit ]; do sleep 0.05; done\ntouch ended\n");
        command.windowsProgram = true;
        command.program = executable(folder, "wine", c.wine);
        command.arguments = {command.simulator};
        command.workingFolder = folder.path();
        command.outputFile = folder.path() + "/wine.log";

        WatchedStart start(command);
        WatchedStart::State state = start.begin();
        for (int i = 0; i < 3000 && state == WatchedStart::State::Watching; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(WatchedStart::LookEveryMs / 5));
            state = start.poll();
        }
        const std::optional<bool> started =
            state == WatchedStart::State::Watching
                ? std::nullopt
                : std::optional<bool>(state == WatchedStart::State::Started);
        const StartFailure& failure = start.failure();
        folder.write("quit", "");
        for (int i = 0; i < 1000 && c.started && !std::filesystem::exists(folder.path() + "/ended");
             ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        ASSERT_TRUE(started) << c.name;
        EXPECT_EQ(*started, c.started) << c.name;
        if (!c.started) {
            EXPECT_EQ(failure.cause, StartFailure::Cause::Wine) << c.name;
            EXPECT_EQ(failure.waitStatus, 0) << c.name;
        }
    }
}

} // namespace

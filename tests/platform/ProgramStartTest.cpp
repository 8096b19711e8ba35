#include "platform/ProgramStart.h"

#include "settings/SimulatorLaunch.h"
#include "tests/core/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

namespace {

using Arguments = std::vector<std::string>;

// Stands in for the simulator: writes its folder, its session and its arguments, each ended by
// a NUL byte, to "record" in its working folder. The file appears whole, by a rename.
const std::string Recorder = "#!/bin/sh\n"
                             "printf '%s\\0' \"$(pwd -P)\" \"$(cut -d' ' -f6 /proc/$$/stat)\" "
                             "\"$@\" > record.part && mv record.part record\n";

std::string executable(const TempFolder& folder, const std::string& name,
                       const std::string& bytes) {
    const std::string path = folder.write(name, bytes);
    ::chmod(path.c_str(), 0755);
    return path;
}

struct Record {
    std::string folder;
    pid_t session = 0;
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
    if (fields.size() < 2) return {};
    return {
        fields[0], static_cast<pid_t>(std::stol(fields[1])), {fields.begin() + 2, fields.end()}};
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

    ASSERT_TRUE(run(simulator, arguments, folder));
    EXPECT_TRUE(hasNoChild());
    const Record record = awaitRecord(folder);
    EXPECT_EQ(record.folder, std::filesystem::canonical(folder).string());
    EXPECT_EQ(record.arguments, arguments);
    EXPECT_NE(record.session, ::getsid(0)) << "the simulator runs in a session of its own";
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
    const char* systemPath = std::getenv("PATH");
    ::setenv("PATH",
             ("relative:" + install.path() + "/unrunnable:" + first.path() + ":" + second.path() +
              ":" + (systemPath ? systemPath : "/usr/bin:/bin"))
                 .c_str(),
             1);

    const SimulatorCommand command =
        simulatorCommand(install.path(), "a b.scn", "Lok 1", findOnSearchPath("wine"));
    EXPECT_EQ(command.program, wine);
    ASSERT_TRUE(run(command.program, command.arguments, command.workingFolder));
    const Record record = awaitRecord(install.path());
    EXPECT_EQ(record.folder, std::filesystem::canonical(install.path()).string());
    EXPECT_EQ(record.arguments, (Arguments{simulator, "-s", "a b.scn", "-v", "Lok 1"}));

    ::setenv("PATH", second.path().c_str(), 1);
    ::unlink((second.path() + "/wine").c_str());
    EXPECT_EQ(findOnSearchPath("wine"), "");
}

TEST(ProgramStart, EachFailureIsReportedWithItsCause) {
    TempFolder install;
    install.write("plain.exe", "#!/bin/sh\nexit 0\n");
    executable(install, "garbage.exe", "neither a script nor a program");
    executable(install, "ok.exe", "#!/bin/sh\nexit 0\n");
    install.makeFolder("folder.exe");
    const std::string root = install.path();

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

} // namespace

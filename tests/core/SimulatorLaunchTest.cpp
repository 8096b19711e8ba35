#include "settings/SimulatorLaunch.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using Arguments = std::vector<std::string>;

TEST(SimulatorLaunch, ParameterTextAndArgumentsKeepEveryNameWhole) {
    struct Case {
        std::string scenery, vehicle, text;
        Arguments arguments;
    };
    const std::vector<Case> cases{
        {"a.scn", "X", "-s a.scn -v X", {"-s", "a.scn", "-v", "X"}},
        {"", "ghostview", "-s  -v ghostview", {"-s", "", "-v", "ghostview"}},
        {"Nowa trasa.scn",
         "Lok 1",
         "-s Nowa trasa.scn -v Lok 1",
         {"-s", "Nowa trasa.scn", "-v", "Lok 1"}},
        // Windows-1250 bytes of a name made on Windows go on as they are.
        {"\xA3\xF3\x64\x9F.scn",
         "EL\xB9",
         "-s \xA3\xF3\x64\x9F.scn -v EL\xB9",
         {"-s", "\xA3\xF3\x64\x9F.scn", "-v", "EL\xB9"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(launchParameters(c.scenery, c.vehicle), c.text);
        EXPECT_EQ(launchArguments(c.scenery, c.vehicle), c.arguments) << c.text;
    }
}

TEST(SimulatorLaunch, CommandRunsTheInstallationsSimulatorInItsFolder) {
    TempFolder install;
    // Found in whatever case it was installed with.
    const std::string simulator = install.write("RSIM.EXE", "#!/bin/sh\n");
    const SimulatorCommand command = simulatorCommand(install.path(), "a b.scn", "X", "/w/wine");
    EXPECT_EQ(command.simulator, simulator);
    EXPECT_FALSE(command.windowsProgram);
    EXPECT_EQ(command.program, simulator);
    EXPECT_EQ(command.arguments, (Arguments{"-s", "a b.scn", "-v", "X"}));
    EXPECT_EQ(command.workingFolder, install.path());

    TempFolder empty;
    const SimulatorCommand missing = simulatorCommand(empty.path(), "a.scn", "X", "/w/wine");
    EXPECT_EQ(missing.program, empty.path() + "/rsim.exe");
    EXPECT_FALSE(missing.windowsProgram);
}

TEST(SimulatorLaunch, AWindowsProgramRunsUnderWine) {
    TempFolder install;
    const std::string simulator = install.write("rsim.exe", std::string("MZ\x90\0\3", 5));
    const SimulatorCommand command = simulatorCommand(install.path(), "a.scn", "X", "/w/wine");
    EXPECT_TRUE(command.windowsProgram);
    EXPECT_EQ(command.program, "/w/wine");
    EXPECT_EQ(command.arguments, (Arguments{simulator, "-s", "a.scn", "-v", "X"}));
    EXPECT_EQ(command.workingFolder, install.path());
    EXPECT_EQ(simulatorCommand(install.path(), "a.scn", "X", "").program, "");

    // Only the first two bytes count: "M" alone, or "mz", is no Windows program.
    for (const std::string head : {"M", "mz\x90", "ZM"}) {
        install.write("rsim.exe", head);
        EXPECT_FALSE(simulatorCommand(install.path(), "a.scn", "X", "/w/wine").windowsProgram)
            << head;
    }
}

TEST(SimulatorLaunch, FailureMessagesNameTheSimulatorAndTheReasonInEachLanguage) {
    TempFolder install;
    // A folder copied from Windows may carry a Windows-1250 name: it is shown decoded.
    const std::string root = install.path() + "/Gra \xA3\xF3\x64\x9F";
    std::filesystem::create_directories(root);
    const std::string shown = install.path() + "/Gra Łódź/rsim.exe";
    const SimulatorCommand plain = simulatorCommand(root, "a.scn", "X", "/w/wine");
    install.write("Gra \xA3\xF3\x64\x9F/rsim.exe", "MZ");
    const SimulatorCommand windows = simulatorCommand(root, "a.scn", "X", "/w/wine");
    const SimulatorCommand noWine = simulatorCommand(root, "a.scn", "X", "");

    struct Case {
        const SimulatorCommand& command;
        int error;
        std::string polish, english;
    };
    const std::vector<Case> cases{
        {plain, ENOENT, "nie ma takiego pliku", "no such file"},
        {plain, EACCES, "plik nie jest ani programem, ani programem Windows",
         "neither executable nor a Windows program"},
        {plain, ENOEXEC, "plik nie jest ani programem, ani programem Windows",
         "neither executable nor a Windows program"},
        {noWine, ENOENT, "to program Windows, a w ścieżce wyszukiwania nie ma programu wine",
         "a Windows program, and no wine on the search path"},
        {windows, EACCES, "wine: " + std::string(std::strerror(EACCES)),
         "wine: " + std::string(std::strerror(EACCES))},
        {plain, E2BIG, std::strerror(E2BIG), std::strerror(E2BIG)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(startFailureMessage(0, c.command, c.error),
                  "Nie udało się uruchomić symulatora: " + shown + " (" + c.polish + ")");
        EXPECT_EQ(startFailureMessage(1, c.command, c.error),
                  "The simulator could not be started: " + shown + " (" + c.english + ")");
    }
}

} // namespace

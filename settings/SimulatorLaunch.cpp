#include "settings/SimulatorLaunch.h"

#include "platform/CodePage1250.h"
#include "platform/InstallPath.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>

namespace {

constexpr std::array<GhostviewQuestion, 2> GhostviewQuestions{{
    {"Ostrzeżenie:",
     "Nie wybrałeś składu do prowadzenia. Czy uruchomić symulator w trybie Ghostview "
     "(\"latanie\" po scenerii) ?",
     "Tak", "Nie"},
    {"Warning:",
     "You did not choose any consist to drive. Would you like to start the simulator in the "
     "freefly mode?",
     "Yes", "No"},
}};

struct FailureTexts {
    std::string_view start;
    std::string_view noSuchFile;
    std::string_view notAProgram;
    std::string_view noWine;
};

constexpr std::array<FailureTexts, 2> FailureTextsByLanguage{{
    {"Nie udało się uruchomić symulatora: ", "nie ma takiego pliku",
     "plik nie jest ani programem, ani programem Windows",
     "to program Windows, a w ścieżce wyszukiwania nie ma programu wine"},
    {"The simulator could not be started: ", "no such file",
     "neither executable nor a Windows program",
     "a Windows program, and no wine on the search path"},
}};

std::size_t languageIndex(std::uint8_t interfaceLanguage) {
    return interfaceLanguage == 1 ? 1 : 0;
}

// A simulator made on Windows is a PE file, whose DOS header begins with "MZ". The file is
// opened without blocking, so that a pipe under the simulator's name cannot hang the launcher.
bool isWindowsProgram(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    char magic[2] = {};
    const bool windows = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
                         ::read(fd, magic, sizeof magic) == 2 && magic[0] == 'M' && magic[1] == 'Z';
    ::close(fd);
    return windows;
}

} // namespace

std::string launchParameters(std::string_view sceneryFile, std::string_view vehicle) {
    std::string text = "-s ";
    text += sceneryFile;
    text += " -v ";
    text += vehicle;
    return text;
}

std::vector<std::string> launchArguments(std::string_view sceneryFile, std::string_view vehicle) {
    return {"-s", std::string(sceneryFile), "-v", std::string(vehicle)};
}

const GhostviewQuestion& ghostviewQuestion(std::uint8_t interfaceLanguage) {
    return GhostviewQuestions[languageIndex(interfaceLanguage)];
}

SimulatorCommand simulatorCommand(const std::string& installRoot, std::string_view sceneryFile,
                                  std::string_view vehicle, const std::string& wine) {
    SimulatorCommand command;
    command.simulator = resolveInstallPath(installRoot, "\\rsim.exe");
    command.windowsProgram = isWindowsProgram(command.simulator);
    command.arguments = launchArguments(sceneryFile, vehicle);
    if (command.windowsProgram) {
        command.program = wine;
        command.arguments.insert(command.arguments.begin(), command.simulator);
    } else {
        command.program = command.simulator;
    }
    // An installation at the top of the file system has an empty root.
    command.workingFolder = installRoot.empty() ? "/" : installRoot;
    return command;
}

std::string startFailureMessage(std::uint8_t interfaceLanguage, const SimulatorCommand& command,
                                int error) {
    const FailureTexts& texts = FailureTextsByLanguage[languageIndex(interfaceLanguage)];
    std::string reason;
    if (command.windowsProgram && command.program.empty()) {
        reason = texts.noWine;
    } else if (command.windowsProgram) {
        // The simulator was there; it is wine that did not start.
        reason = "wine: " + std::string(std::strerror(error));
    } else if (error == ENOENT) {
        reason = texts.noSuchFile;
    } else if (error == EACCES || error == ENOEXEC) {
        reason = texts.notAProgram;
    } else {
        reason = std::strerror(error);
    }
    return std::string(texts.start) + fileNameToUtf8(command.simulator) + " (" + reason + ")";
}

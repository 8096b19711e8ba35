#include "settings/launch/SimulatorLaunch.h"

#include "platform/system/CodePage1250.h"
#include "platform/system/CodePage852.h"
#include "platform/system/InstallPath.h"
#include "platform/system/OrdinaryFile.h"

#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>

namespace {

struct FailureTexts {
    std::string_view start;
    std::string_view noSuchFile;
    std::string_view notAProgram;
    std::string_view noWine;
    std::string_view cacheFolder; // the folder, then this, then ": " and the system's reason
    std::string_view cannotWrite;
    std::string_view locale;
    std::string_view localeHint;
    std::string_view exitCode;
    std::string_view signal;
    std::string_view noWine32;
    std::string_view wine32Hint;
    std::string_view allMessages;
};

// What the start button may say, in both languages.
struct LaunchTexts {
    GhostviewQuestion question;
    FailureTexts failure;
};

constexpr Bilingual<LaunchTexts> Texts{
    {{"Ostrzeżenie:",
      "Nie wybrałeś składu do prowadzenia. Czy uruchomić symulator w trybie Ghostview "
      "(\"latanie\" po scenerii) ?",
      "Tak", "Nie"},
     {"Nie udało się uruchomić symulatora: ", "nie ma takiego pliku",
      "plik nie jest ani programem, ani programem Windows",
      "to program Windows, a w ścieżce wyszukiwania nie ma programu wine",
      "nie można pisać w folderze podręcznym programu ", "",
      "nie udało się zbudować polskich ustawień regionalnych (pl_PL.UTF-8) dla wine",
      "W Debianie potrzebny jest do tego pakiet locales; jako root:\n  apt-get install locales",
      " zakończyło pracę z kodem ", " zostało przerwane sygnałem ",
      "to 32-bitowy program Windows, a to wine nie uruchamia programów 32-bitowych",
      "W Debianie wine dla programów 32-bitowych instaluje się jako root poleceniami:",
      "Wszystkie komunikaty są w pliku "}},
    {{"Warning:",
      "You did not choose any consist to drive. Would you like to start the simulator in the "
      "freefly mode?",
      "Yes", "No"},
     {"The simulator could not be started: ", "no such file",
      "neither executable nor a Windows program",
      "a Windows program, and no wine on the search path", "the launcher's cache folder ",
      " cannot be written", "the Polish locale (pl_PL.UTF-8) for wine could not be built",
      "On Debian this needs the package locales; as root:\n  apt-get install locales",
      " ended with exit code ", " was ended by signal ",
      "a 32-bit Windows program, which this wine cannot run",
      "On Debian, wine for 32-bit programs is installed as root with:",
      "All the messages are in the file "}},
};

std::uint32_t littleEndian(const unsigned char* bytes, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) value = value << 8 | bytes[i];
    return value;
}

struct ProgramHeader {
    bool windows = false;
    int bits = 0;
};

// A simulator made on Windows is a PE file, whose DOS header begins with "MZ" and points at the
// PE header, where the machine tells a 32-bit program from a 64-bit one.
ProgramHeader readProgramHeader(const std::string& path) {
    ProgramHeader header;
    const OrdinaryFile file(path);
    if (!file.ok()) return header;
    unsigned char dos[64] = {};
    const ssize_t dosSize = ::pread(file.get(), dos, sizeof dos, 0);
    header.windows = dosSize >= 2 && dos[0] == 'M' && dos[1] == 'Z';
    unsigned char pe[6] = {};
    if (header.windows && dosSize == sizeof dos &&
        ::pread(file.get(), pe, sizeof pe, littleEndian(dos + 0x3C, 4)) == sizeof pe &&
        std::memcmp(pe, "PE\0\0", 4) == 0) {
        const std::uint32_t machine = littleEndian(pe + 4, 2);
        header.bits = machine == 0x014C ? 32 : machine == 0x8664 ? 64 : 0;
    }
    return header;
}

// A line of output as the box quotes it: a long one is cut, between two characters.
std::string quotedLine(std::string_view line) {
    constexpr std::size_t Longest = 200;
    std::string text = wineOutputToUtf8(line);
    if (text.size() <= Longest) return text;
    std::size_t cut = Longest;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    return text.substr(0, cut) + "…";
}

std::string shownFolder(const std::string& file) {
    return fileNameToUtf8(std::string_view(file).substr(0, file.rfind('/')));
}

// How wine or localedef ended, after the program's name.
std::string howItEnded(const FailureTexts& texts, int waitStatus) {
    if (WIFSIGNALED(waitStatus))
        return std::string(texts.signal) + std::to_string(WTERMSIG(waitStatus));
    return std::string(texts.exitCode) + std::to_string(WEXITSTATUS(waitStatus));
}

std::string wine32Hint(const FailureTexts& texts) {
    return std::string(texts.wine32Hint) +
           "\n  dpkg --add-architecture i386\n  apt-get update\n  apt-get install wine32:i386";
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

std::vector<std::string> wineArguments(std::string_view sceneryFile, std::string_view vehicle) {
    return {"-s", fileNameToUtf8Reversibly(sceneryFile), "-v",
            windows1250ToUtf8Reversibly(vehicle)};
}

const GhostviewQuestion& ghostviewQuestion(Language language) {
    return Texts.in(language).question;
}

namespace {

// The wine setting is looked up only for a Windows program.
template <class Wine>
SimulatorCommand commandFor(const std::string& installRoot, std::string_view sceneryFile,
                            std::string_view vehicle, Wine wineSetting) {
    SimulatorCommand command;
    command.simulator = resolveInstallPath(installRoot, "\\rsim.exe");
    const ProgramHeader header = readProgramHeader(command.simulator);
    command.windowsProgram = header.windows;
    command.windowsBits = header.bits;
    if (command.windowsProgram) {
        const WineSetting& wine = wineSetting();
        command.program = wine.wine;
        command.arguments = wineArguments(sceneryFile, vehicle);
        command.arguments.insert(command.arguments.begin(), command.simulator);
        command.environment.emplace_back("LC_ALL", PolishLocale);
        if (!wine.systemHasPolishLocale) {
            command.environment.emplace_back("LOCPATH", builtLocalesFolder(wine));
            command.localeBuild = localeBuild(wine);
        }
        command.outputFile = wine.cacheFolder + "/wine.log";
        if (header.bits == 32 && !wine.wine.empty()) {
            command.wine32Bit = wine32BitSupport(wine);
            if (command.wine32Bit == Wine32Bit::PrefixLacks) command.prefixToUpdate = wine.prefix;
        }
    } else {
        command.program = command.simulator;
        command.arguments = launchArguments(sceneryFile, vehicle);
    }
    // An installation at the top of the file system has an empty root.
    command.workingFolder = installRoot.empty() ? "/" : installRoot;
    return command;
}

} // namespace

SimulatorCommand simulatorCommand(const std::string& installRoot, std::string_view sceneryFile,
                                  std::string_view vehicle, const WineSetting& wine) {
    return commandFor(installRoot, sceneryFile, vehicle,
                      [&wine]() -> const WineSetting& { return wine; });
}

SimulatorCommand simulatorCommand(const std::string& installRoot, std::string_view sceneryFile,
                                  std::string_view vehicle) {
    WineSetting wine;
    return commandFor(installRoot, sceneryFile, vehicle, [&wine]() -> const WineSetting& {
        wine = thisUsersWineSetting();
        return wine;
    });
}

std::vector<std::string> shownArguments(const SimulatorCommand& command) {
    std::vector<std::string> shown = command.arguments;
    // Through wine the arguments after the simulator's path are UTF-8 already; otherwise they
    // are "-s", the scenery file, "-v" and the vehicle, as the installation has them.
    if (command.windowsProgram) {
        if (!shown.empty()) shown.front() = fileNameToUtf8(shown.front());
    } else if (shown.size() == 4) {
        shown[1] = fileNameToUtf8(shown[1]);
        shown[3] = windows1250ToUtf8(shown[3]);
    }
    return shown;
}

std::optional<StartFailure> startRefusal(const SimulatorCommand& command) {
    if (!command.throughWine() || command.wine32Bit != Wine32Bit::WineLacks) return std::nullopt;
    StartFailure failure;
    failure.cause = StartFailure::Cause::NoWine32;
    return failure;
}

std::string startFailureMessage(Language language, const SimulatorCommand& command,
                                const StartFailure& failure) {
    const FailureTexts& texts = Texts.in(language).failure;
    std::string reason;
    std::string hint;
    const int error = failure.error;
    switch (failure.cause) {
    case StartFailure::Cause::Start:
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
        break;
    case StartFailure::Cause::CacheFolder:
        reason = std::string(texts.cacheFolder) + shownFolder(command.outputFile) +
                 std::string(texts.cannotWrite) + ": " + std::strerror(error);
        break;
    case StartFailure::Cause::Locale:
        reason = std::string(texts.locale) + ": localedef" +
                 (error ? ": " + std::string(std::strerror(error))
                        : howItEnded(texts, failure.waitStatus));
        hint = texts.localeHint;
        break;
    case StartFailure::Cause::Wine:
        // Wine hands a program its own loader cannot take to a process of its own; for a
        // 32-bit program that is a wine without 32-bit support.
        if (command.windowsBits == 32 && failure.lastProcessName == WineHandOverName) {
            reason = texts.noWine32;
            hint = wine32Hint(texts);
        } else {
            reason = "wine" + howItEnded(texts, failure.waitStatus);
        }
        break;
    case StartFailure::Cause::NoWine32:
        reason = texts.noWine32;
        hint = wine32Hint(texts);
        break;
    }
    std::string message =
        std::string(texts.start) + fileNameToUtf8(command.simulator) + " (" + reason + ")";
    if (!failure.lines.empty()) {
        message += "\n";
        for (const std::string& line : failure.lines) message += "\n  " + quotedLine(line);
    }
    if (!hint.empty()) message += "\n\n" + hint;
    if (failure.cause == StartFailure::Cause::Locale || failure.cause == StartFailure::Cause::Wine)
        message += "\n\n" + std::string(texts.allMessages) + fileNameToUtf8(command.outputFile);
    return message;
}

std::string startFailureMessage(Language language, const SimulatorCommand& command, int error) {
    StartFailure failure;
    failure.error = error;
    return startFailureMessage(language, command, failure);
}

std::vector<std::string> lastLines(std::string_view output, std::size_t count) {
    std::vector<std::string> lines;
    std::size_t end = output.size();
    while (end > 0 && lines.size() < count) {
        const std::size_t start = output.rfind('\n', end - 1);
        const std::size_t first = start == std::string_view::npos ? 0 : start + 1;
        std::string_view line = output.substr(first, end - first);
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
            line.remove_suffix(1);
        if (line.find_first_not_of(" \t") != std::string_view::npos)
            lines.insert(lines.begin(), std::string(line));
        end = start == std::string_view::npos ? 0 : start;
    }
    return lines;
}

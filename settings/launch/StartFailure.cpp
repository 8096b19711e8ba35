#include "settings/launch/StartFailure.h"

#include "platform/system/CodePage1250.h"
#include "platform/system/CodePage852.h"
#include "platform/system/Language.h"
#include "settings/launch/SimulatorCommand.h"
#include "settings/launch/WineStartJudge.h"

#include <sys/wait.h>

#include <cerrno>
#include <cstring>

namespace {

// What the start button may say when a start fails.
constexpr BilingualText CouldNotStart{"Nie udało się uruchomić symulatora: ",
                                      "The simulator could not be started: "};
constexpr BilingualText NoSuchFile{"nie ma takiego pliku", "no such file"};
constexpr BilingualText NotAProgram{"plik nie jest ani programem, ani programem Windows",
                                    "neither executable nor a Windows program"};
constexpr BilingualText NoWine{"to program Windows, a w ścieżce wyszukiwania nie ma programu wine",
                               "a Windows program, and no wine on the search path"};
// The folder comes between the two, then ": " and the system's reason.
constexpr BilingualText CacheFolder{"nie można pisać w folderze podręcznym programu ",
                                    "the launcher's cache folder "};
constexpr BilingualText CannotBeWritten{"", " cannot be written"};
constexpr BilingualText LocaleNotBuilt{
    "nie udało się zbudować polskich ustawień regionalnych (pl_PL.UTF-8) dla wine",
    "the Polish locale (pl_PL.UTF-8) for wine could not be built"};
constexpr BilingualText LocaleHint{
    "W Debianie potrzebny jest do tego pakiet locales; jako root:\n  apt-get install locales",
    "On Debian this needs the package locales; as root:\n  apt-get install locales"};
constexpr BilingualText ExitCode{" zakończyło pracę z kodem ", " ended with exit code "};
constexpr BilingualText Signal{" zostało przerwane sygnałem ", " was ended by signal "};
constexpr BilingualText NoWine32{
    "to 32-bitowy program Windows, a to wine nie uruchamia programów 32-bitowych",
    "a 32-bit Windows program, which this wine cannot run"};
constexpr BilingualText Wine32Hint{
    "W Debianie wine dla programów 32-bitowych instaluje się jako root poleceniami:",
    "On Debian, wine for 32-bit programs is installed as root with:"};
constexpr BilingualText AllMessages{"Wszystkie komunikaty są w pliku ",
                                    "All the messages are in the file "};

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
std::string howItEnded(Language language, int waitStatus) {
    if (WIFSIGNALED(waitStatus))
        return std::string(Signal.in(language)) + std::to_string(WTERMSIG(waitStatus));
    return std::string(ExitCode.in(language)) + std::to_string(WEXITSTATUS(waitStatus));
}

std::string wine32Hint(Language language) {
    return std::string(Wine32Hint.in(language)) +
           "\n  dpkg --add-architecture i386\n  apt-get update\n  apt-get install wine32:i386";
}

} // namespace

std::optional<StartFailure> startRefusal(const SimulatorCommand& command) {
    if (!command.throughWine() || command.wine32Bit != Wine32Bit::WineLacks) return std::nullopt;
    StartFailure failure;
    failure.cause = StartFailure::Cause::NoWine32;
    return failure;
}

std::string startFailureMessage(Language language, const SimulatorCommand& command,
                                const StartFailure& failure) {
    std::string reason;
    std::string hint;
    const int error = failure.error;
    switch (failure.cause) {
    case StartFailure::Cause::Start:
        if (command.windowsProgram && command.program.empty()) {
            reason = NoWine.in(language);
        } else if (command.windowsProgram) {
            // The simulator was there; it is wine that did not start.
            reason = "wine: " + std::string(std::strerror(error));
        } else if (error == ENOENT) {
            reason = NoSuchFile.in(language);
        } else if (error == EACCES || error == ENOEXEC) {
            reason = NotAProgram.in(language);
        } else {
            reason = std::strerror(error);
        }
        break;
    case StartFailure::Cause::CacheFolder:
        reason = std::string(CacheFolder.in(language)) + shownFolder(command.outputFile) +
                 std::string(CannotBeWritten.in(language)) + ": " + std::strerror(error);
        break;
    case StartFailure::Cause::Locale:
        reason = std::string(LocaleNotBuilt.in(language)) + ": localedef" +
                 (error ? ": " + std::string(std::strerror(error))
                        : howItEnded(language, failure.waitStatus));
        hint = LocaleHint.in(language);
        break;
    case StartFailure::Cause::Wine:
        // Wine hands a program its own loader cannot take to a process of its own; for a
        // 32-bit program that is a wine without 32-bit support.
        if (command.windowsBits == 32 && failure.lastProcessName == WineHandOverName) {
            reason = NoWine32.in(language);
            hint = wine32Hint(language);
        } else {
            reason = "wine" + howItEnded(language, failure.waitStatus);
        }
        break;
    case StartFailure::Cause::NoWine32:
        reason = NoWine32.in(language);
        hint = wine32Hint(language);
        break;
    }
    std::string message = std::string(CouldNotStart.in(language)) +
                          fileNameToUtf8(command.simulator) + " (" + reason + ")";
    if (!failure.lines.empty()) {
        message += "\n";
        for (const std::string& line : failure.lines) message += "\n  " + quotedLine(line);
    }
    if (!hint.empty()) message += "\n\n" + hint;
    if (failure.cause == StartFailure::Cause::Locale || failure.cause == StartFailure::Cause::Wine)
        message +=
            "\n\n" + std::string(AllMessages.in(language)) + fileNameToUtf8(command.outputFile);
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

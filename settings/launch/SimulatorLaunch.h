#pragma once

#include "platform/system/Language.h"
#include "settings/launch/WineSetting.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The vehicle word that starts the simulator in its free-flying observer mode; it also marks
// that no consist has been chosen since the last scenery choice.
inline constexpr std::string_view GhostviewVehicle = "ghostview";

// The parameter text the simulator is started with: "-s " + scenery + " -v " + vehicle, nothing
// quoted or escaped, an empty scenery giving "-s  -v ...".
std::string launchParameters(std::string_view sceneryFile, std::string_view vehicle);

// The same text as the simulator's own command line splits it. A scenery or vehicle name with
// blanks in it stays one argument, and every argument keeps the bytes it came from.
std::vector<std::string> launchArguments(std::string_view sceneryFile, std::string_view vehicle);

// The same arguments as wine reads them: UTF-8, which wine encodes again in the simulator's code
// page, so that the simulator gets the bytes a Windows launcher handed over. The vehicle is text
// from the installation's files, decoded from Windows-1250; the scenery is a file name, kept as
// it is on disk when that is UTF-8 and else decoded as well.
std::vector<std::string> wineArguments(std::string_view sceneryFile, std::string_view vehicle);

// The question asked before the simulator starts without a consist, in the interface language,
// with the labels of its two buttons. UTF-8.
struct GhostviewQuestion {
    std::string_view caption;
    std::string_view text;
    std::string_view yes;
    std::string_view no;
};
const GhostviewQuestion& ghostviewQuestion(Language language);

// What a press of the start button runs: the installation's rsim.exe itself, or, when it is a
// Windows program (it begins with "MZ"), wine with the simulator's path before the arguments.
// The simulator always works in the installation folder.
struct SimulatorCommand {
    std::string simulator; // rsim.exe as found in the installation, in whatever case it has there
    bool windowsProgram = false;
    int windowsBits = 0; // 32 or 64 as its PE header says, 0 where the header says neither
    std::string program; // empty for a Windows program when there is no wine to run it
    std::vector<std::string> arguments;
    std::string workingFolder;
    // Set over the player's own variables for this process alone: wine's Polish locale.
    std::vector<std::pair<std::string, std::string>> environment;
    // Through wine: the file in the launcher's cache folder that takes wine's output and error
    // output, and, where the locale comes from the cache, its build, should the cache hold none
    // or a damaged one.
    std::string outputFile;
    std::optional<LocaleBuild> localeBuild;
    // Through wine, for a 32-bit simulator: whether wine can run it, and the prefix that wine
    // brings up to date first where it was made without 32-bit support.
    Wine32Bit wine32Bit = Wine32Bit::Runs;
    std::string prefixToUpdate;

    bool throughWine() const { return windowsProgram && !program.empty(); }
};

SimulatorCommand simulatorCommand(const std::string& installRoot, std::string_view sceneryFile,
                                  std::string_view vehicle, const WineSetting& wine);

// The same command for this user, as the start button runs it.
SimulatorCommand simulatorCommand(const std::string& installRoot, std::string_view sceneryFile,
                                  std::string_view vehicle);

// The command's arguments as UTF-8 for showing, each decoded by the rule of what it is.
std::vector<std::string> shownArguments(const SimulatorCommand& command);

// How a start failed.
struct StartFailure {
    enum class Cause {
        Start,       // the process could not be started: error
        CacheFolder, // the launcher's cache folder could not be written: error
        Locale,      // localedef could not build the Polish locale: error or waitStatus
        Wine,        // wine ended before the simulator ran: waitStatus
        NoWine32,    // seen before the start: this wine cannot run a 32-bit program
    };
    Cause cause = Cause::Start;
    int error = 0;      // a system error number (errno)
    int waitStatus = 0; // how the process ended, as waitpid reports it
    // Wine: the process name wine had last, which tells a program it could not load itself.
    std::string lastProcessName;
    // Locale, Wine: the last lines of the output.
    std::vector<std::string> lines;
};

// What refuses the start before anything runs: a 32-bit simulator that this wine cannot run.
std::optional<StartFailure> startRefusal(const SimulatorCommand& command);

// The error box's text, in the interface language. UTF-8; the path is shown by the file-name
// rule, the lines of output as they were written.
std::string startFailureMessage(Language language, const SimulatorCommand& command,
                                const StartFailure& failure);

// The same for a process that could not be started, with the system error number.
std::string startFailureMessage(Language language, const SimulatorCommand& command, int error);

// The last count lines of a program's output that hold more than blanks, without their line
// ends.
std::vector<std::string> lastLines(std::string_view output, std::size_t count);

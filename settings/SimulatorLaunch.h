#pragma once

#include <cstdint>
#include <string>
#include <string_view>
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

// The question asked before the simulator starts without a consist, in the interface language
// (0 Polish, 1 English), with the labels of its two buttons. UTF-8.
struct GhostviewQuestion {
    std::string_view caption;
    std::string_view text;
    std::string_view yes;
    std::string_view no;
};
const GhostviewQuestion& ghostviewQuestion(std::uint8_t interfaceLanguage);

// What a press of the start button runs: the installation's rsim.exe itself, or, when it is a
// Windows program (it begins with "MZ"), wine with the simulator's path before the arguments.
// The simulator always works in the installation folder.
struct SimulatorCommand {
    std::string simulator; // rsim.exe as found in the installation, in whatever case it has there
    bool windowsProgram = false;
    std::string program; // empty for a Windows program when there is no wine to run it
    std::vector<std::string> arguments;
    std::string workingFolder;
};

// wine is the path of wine found on the search path, "" when there is none.
SimulatorCommand simulatorCommand(const std::string& installRoot, std::string_view sceneryFile,
                                  std::string_view vehicle, const std::string& wine);

// The error box's text when running the command failed with the system error number error
// (an errno value), in the interface language. UTF-8; the path is shown by the file-name rule.
std::string startFailureMessage(std::uint8_t interfaceLanguage, const SimulatorCommand& command,
                                int error);

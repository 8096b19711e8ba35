#pragma once

#include "settings/launch/LocaleCache.h"
#include "settings/launch/Wine32Bit.h"
#include "settings/launch/WineEnvironment.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

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
                                  std::string_view vehicle, const WineEnvironment& wine);

// The same command for this user, as the start button runs it.
SimulatorCommand simulatorCommand(const std::string& installRoot, std::string_view sceneryFile,
                                  std::string_view vehicle);

// The command's arguments as UTF-8 for showing, each decoded by the rule of what it is.
std::vector<std::string> shownArguments(const SimulatorCommand& command);

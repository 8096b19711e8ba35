#include "settings/launch/SimulatorCommand.h"

#include "platform/system/CodePage1250.h"
#include "platform/system/CodePage852.h"
#include "platform/system/InstallPath.h"
#include "platform/system/LittleEndian.h"
#include "platform/system/OrdinaryFile.h"
#include "settings/launch/LaunchParameters.h"

#include <unistd.h>

#include <cstring>

namespace {

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

} // namespace

namespace {

// Wine is looked for only for a Windows program.
template <class Wine>
SimulatorCommand commandFor(const std::string& installRoot, std::string_view sceneryFile,
                            std::string_view vehicle, Wine wineEnvironment) {
    SimulatorCommand command;
    command.simulator = resolveInstallPath(installRoot, "\\rsim.exe");
    const ProgramHeader header = readProgramHeader(command.simulator);
    command.windowsProgram = header.windows;
    command.windowsBits = header.bits;
    if (command.windowsProgram) {
        const WineEnvironment& wine = wineEnvironment();
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
                                  std::string_view vehicle, const WineEnvironment& wine) {
    return commandFor(installRoot, sceneryFile, vehicle,
                      [&wine]() -> const WineEnvironment& { return wine; });
}

SimulatorCommand simulatorCommand(const std::string& installRoot, std::string_view sceneryFile,
                                  std::string_view vehicle) {
    WineEnvironment wine;
    return commandFor(installRoot, sceneryFile, vehicle, [&wine]() -> const WineEnvironment& {
        wine = thisUsersWineEnvironment();
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

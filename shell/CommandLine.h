#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The launcher takes its installation from the path it is started by (platform/ProgramPath.h).
// A folder that takes no link to the launcher, such as a read-only mount or a file system without
// links, is named by this option instead, and is then served as through a link in it.
inline constexpr std::string_view InstallationOption = "--installation";

// Opens the install window offering to undo the installation's last install of a pack.
inline constexpr std::string_view UndoPackOption = "--undo-pack";

// What the command line asks for. The arguments are the program's, without its own name and
// without the options the toolkit took for itself.
struct CommandLine {
    enum class Action { Run, Help, Version, Refuse };
    Action action = Action::Run;
    // "--installation DIR" or "--installation=DIR": DIR as given, its bytes kept.
    std::optional<std::string> installation;
    // A downloaded pack to install, the one argument that is no option, as given: the main
    // window opens with the install window over it.
    std::optional<std::string> pack;
    // "--undo-pack": the main window opens with the offer to undo the last install over it.
    bool undoPack = false;
    // Why the command line was refused, for the error output.
    std::string refusal;
};
CommandLine readCommandLine(const std::vector<std::string>& arguments);

// What --help prints, and what follows a refusal.
std::string_view commandLineUsage();

#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The launcher takes its installation from the path it is started by (platform/ProgramPath.h).
// A folder that takes no link to the launcher, such as a read-only mount or a file system without
// links, is named by this option instead, and is then served as through a link in it.
inline constexpr std::string_view InstallationOption = "--installation";

// What the command line asks for. The arguments are the program's, without its own name and
// without the options the toolkit took for itself.
struct CommandLine {
    enum class Action { Run, Help, Version, Refuse };
    Action action = Action::Run;
    // "--installation DIR" or "--installation=DIR": DIR as given, its bytes kept.
    std::optional<std::string> installation;
    // Why the command line was refused, for the error output.
    std::string refusal;
};
CommandLine readCommandLine(const std::vector<std::string>& arguments);

// What --help prints, and what follows a refusal.
std::string_view commandLineUsage();

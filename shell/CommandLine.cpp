#include "shell/CommandLine.h"

namespace {
CommandLine refused(std::string why) {
    CommandLine command;
    command.action = CommandLine::Action::Refuse;
    command.refusal = std::move(why);
    return command;
}
} // namespace

CommandLine readCommandLine(const std::vector<std::string>& arguments) {
    CommandLine command;
    for (std::size_t at = 0; at < arguments.size(); ++at) {
        const std::string& argument = arguments[at];
        if (argument == "--help") {
            command.action = CommandLine::Action::Help;
            return command;
        }
        if (argument == "--version") {
            command.action = CommandLine::Action::Version;
            return command;
        }
        std::optional<std::string> folder;
        if (argument == InstallationOption) {
            if (at + 1 == arguments.size()) return refused("--installation needs a folder");
            folder = arguments[++at];
        } else if (argument.starts_with(std::string(InstallationOption) + '=')) {
            folder = argument.substr(InstallationOption.size() + 1);
        } else {
            return refused("unexpected argument: " + argument);
        }
        if (folder->empty()) return refused("--installation needs a folder");
        if (command.installation) return refused("--installation is given twice");
        command.installation = std::move(folder);
    }
    return command;
}

std::string_view commandLineUsage() {
    return "Usage: rsim-launcher [--installation DIR]\n"
           "Chooses a route and a train of an RSIM-424 installation and starts the simulator.\n"
           "The installation is the launcher's own folder, or DIR.\n"
           "  --installation DIR  serve the installation in DIR\n"
           "  --help              show this text\n"
           "  --version           show the launcher's version\n";
}

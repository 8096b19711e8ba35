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
        if (argument == UndoPackOption) {
            if (command.undoPack) return refused("--undo-pack is given twice");
            command.undoPack = true;
            continue;
        }
        // A pack's path as the desktop hands it over: anything that is no option.
        if (!argument.starts_with('-')) {
            if (argument.empty()) return refused("the pack's name is empty");
            if (command.pack) return refused("only one pack is installed at a time");
            command.pack = argument;
            continue;
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
    if (command.pack && command.undoPack)
        return refused("a pack is installed or the last install undone, not both");
    return command;
}

std::string_view commandLineUsage() {
    return "Usage: rsim-launcher [--installation DIR] [PACK | --undo-pack]\n"
           "Chooses a route and a train of an RSIM-424 installation and starts the simulator.\n"
           "The installation is the launcher's own folder, or DIR.\n"
           "  --installation DIR  serve the installation in DIR\n"
           "  PACK                install a downloaded pack (zip, 7z, rar, tar) into it\n"
           "  --undo-pack         offer to undo the last install of a pack\n"
           "  --help              show this text\n"
           "  --version           show the launcher's version\n";
}

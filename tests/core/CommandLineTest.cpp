#include "shell/CommandLine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(CommandLine, NamesTheInstallationOrRefusesWhatItDoesNotKnow) {
    using Action = CommandLine::Action;
    struct Case {
        std::vector<std::string> arguments;
        Action action;
        std::string installation;
    };
    const std::vector<Case> cases{
        {{}, Action::Run, ""},
        {{"--installation", "/mnt/win/Gry/RSIM 100%"}, Action::Run, "/mnt/win/Gry/RSIM 100%"},
        {{"--installation=/mnt/a=b"}, Action::Run, "/mnt/a=b"},
        // The folder is taken as it is, also when it looks like an option.
        {{"--installation", "--help"}, Action::Run, "--help"},
        {{"--help"}, Action::Help, ""},
        {{"--version"}, Action::Version, ""},
        {{"--installation"}, Action::Refuse, ""},
        {{"--installation="}, Action::Refuse, ""},
        {{"--installation", "/a", "--installation", "/b"}, Action::Refuse, ""},
        {{"/mnt/pack.zip"}, Action::Refuse, ""},
        {{"--instal", "/a"}, Action::Refuse, ""},
    };
    for (const Case& c : cases) {
        const CommandLine command = readCommandLine(c.arguments);
        EXPECT_EQ(command.action, c.action) << testing::PrintToString(c.arguments);
        EXPECT_EQ(command.installation.value_or(""), c.installation);
        EXPECT_EQ(command.refusal.empty(), c.action != Action::Refuse);
    }
}

} // namespace

#include "shell/CommandLine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(CommandLine, NamesTheInstallationAndAPackOrRefusesWhatItDoesNotKnow) {
    using Action = CommandLine::Action;
    struct Case {
        std::vector<std::string> arguments;
        Action action;
        std::string installation;
        std::string pack;
        bool undoPack;
    };
    const std::vector<Case> cases{
        {{}, Action::Run, "", "", false},
        {{"--installation", "/mnt/win/Gry/RSIM 100%"},
         Action::Run,
         "/mnt/win/Gry/RSIM 100%",
         "",
         false},
        {{"--installation=/mnt/a=b"}, Action::Run, "/mnt/a=b", "", false},
        // The folder is taken as it is, also when it looks like an option.
        {{"--installation", "--help"}, Action::Run, "--help", "", false},
        {{"--help"}, Action::Help, "", "", false},
        {{"--version"}, Action::Version, "", "", false},
        // A pack, as the link or the menu entry hands it over, with the folder or without.
        {{"/mnt/pack 100%.zip"}, Action::Run, "", "/mnt/pack 100%.zip", false},
        {{"--installation", "/a", "Trasa.7z"}, Action::Run, "/a", "Trasa.7z", false},
        {{"Trasa.7z", "--installation=/a"}, Action::Run, "/a", "Trasa.7z", false},
        {{"--undo-pack"}, Action::Run, "", "", true},
        {{"--installation", "/a", "--undo-pack"}, Action::Run, "/a", "", true},
        {{"--installation"}, Action::Refuse, "", "", false},
        {{"--installation="}, Action::Refuse, "", "", false},
        {{"--installation", "/a", "--installation", "/b"}, Action::Refuse, "", "", false},
        {{"a.zip", "b.zip"}, Action::Refuse, "", "", false},
        {{""}, Action::Refuse, "", "", false},
        {{"a.zip", "--undo-pack"}, Action::Refuse, "", "", false},
        {{"--undo-pack", "--undo-pack"}, Action::Refuse, "", "", false},
        {{"--instal", "/a"}, Action::Refuse, "", "", false},
    };
    for (const Case& c : cases) {
        const CommandLine command = readCommandLine(c.arguments);
        EXPECT_EQ(command.action, c.action) << testing::PrintToString(c.arguments);
        EXPECT_EQ(command.installation.value_or(""), c.installation);
        EXPECT_EQ(command.pack.value_or(""), c.pack);
        EXPECT_EQ(command.undoPack, c.undoPack);
        EXPECT_EQ(command.refusal.empty(), c.action != Action::Refuse);
    }
}

} // namespace

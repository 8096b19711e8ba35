#include "shell/FirstStart.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(FirstStart, AnInstallationHoldsTheSimulatorOrASceneryFolderInAnyCase) {
    struct Case {
        std::vector<std::string> files, folders;
        bool installation;
    };
    const std::vector<Case> cases{
        {{}, {}, false},
        {{"rsim.exe"}, {}, true},
        {{"RSIM.EXE"}, {}, true},
        {{}, {"scenery"}, true},
        {{}, {"Scenery"}, true},
        // Names alone are not enough: a file called scenery, a folder called rsim.exe.
        {{"scenery", "readme.txt"}, {"rsim.exe", "textures"}, false},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        for (const std::string& file : c.files) folder.write(file, "");
        for (const std::string& sub : c.folders) folder.makeFolder(sub);
        EXPECT_EQ(isInstallation(folder.path()), c.installation)
            << testing::PrintToString(c.files) << testing::PrintToString(c.folders);
    }
    EXPECT_FALSE(isInstallation("/nonexistent/rsim"));
}

TEST(FirstStart, ExecArgumentIsQuotedAndEscapedAsTheDesktopEntryFormatReadsIt) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"/usr/games/rsim/rsim-launcher", "/usr/games/rsim/rsim-launcher"},
        {"/home/p/Gry RSIM/rsim-launcher", "\"/home/p/Gry RSIM/rsim-launcher\""},
        // A quote, "$" and "`" get a backslash inside the quotes, which the file's own
        // escaping then doubles.
        {"/g/a\"b/r", "\"/g/a\\\\\"b/r\""},
        {"/g/$HOME/r", "\"/g/\\\\$HOME/r\""},
        {"/g/`x`/r", "\"/g/\\\\`x\\\\`/r\""},
        // A backslash becomes four.
        {"/g/a\\b/r", "\"/g/a\\\\\\\\b/r\""},
        // "%" is doubled, quoted or not.
        {"/g/100%/r", "/g/100%%/r"},
        {"/g/100% x/r", "\"/g/100%% x/r\""},
        {"/g/it's/r", "\"/g/it's/r\""},
        {"/g/a\tb/r", "\"/g/a\\tb/r\""},
        {"/g/Kolej \xC5\x82\xC3\xB3\x64\xC5\xBA/r", "\"/g/Kolej \xC5\x82\xC3\xB3\x64\xC5\xBA/r\""},
    };
    for (const auto& [argument, exec] : cases) EXPECT_EQ(execArgument(argument), exec) << argument;
}

TEST(FirstStart, MenuEntryFileIsNamedAfterTheFolder) {
    const std::vector<std::tuple<std::string, int, std::string>> cases{
        {"/home/p/RSIM", 1, "example.rsim424.Loader.RSIM.desktop"},
        {"/home/p/RSIM/", 1, "example.rsim424.Loader.RSIM.desktop"},
        {"/home/p/Gry RSIM-424 v1.15", 1, "example.rsim424.Loader.Gry_RSIM-424_v1_15.desktop"},
        {"/home/p/Gry (RSIM) 100%", 1, "example.rsim424.Loader.Gry_RSIM_100_.desktop"},
        {"/home/p/Kolej \xC5\x82\xC3\xB3\x64\xC5\xBA", 1,
         "example.rsim424.Loader.Kolej_d_.desktop"},
        {"/mnt/win/Gry/RSIM", 2, "example.rsim424.Loader.RSIM-2.desktop"},
        {"/games/424", 1, "example.rsim424.Loader._424.desktop"},
        {"/", 1, "example.rsim424.Loader._.desktop"},
    };
    for (const auto& [folder, number, name] : cases)
        EXPECT_EQ(menuEntryFileName(folder, number), name) << folder;
}

TEST(FirstStart, MenuEntriesGoToTheDataHomeOrTheHomeFolder) {
    EXPECT_EQ(menuEntriesFolder("/x/data", "/home/p"), "/x/data/applications");
    EXPECT_EQ(menuEntriesFolder("", "/home/p"), "/home/p/.local/share/applications");
    EXPECT_EQ(menuEntriesFolder("relative", "/home/p"), "/home/p/.local/share/applications");
    EXPECT_EQ(menuEntriesFolder(nullptr, "/home/p"), "/home/p/.local/share/applications");
    EXPECT_EQ(menuEntriesFolder(nullptr, nullptr), "");
}

TEST(FirstStart, MenuEntryStartsTheLinkAndNeverTakesAnotherInstallationsFile) {
    const std::string folder = "/home/p/Gry \"RSIM\" 100% $HOME";
    const auto entry = installationMenuEntry(folder, folder + "/rsim-launcher");
    ASSERT_TRUE(entry);
    EXPECT_NE(entry->find("\nName=Torvia RSIM-424: Gry \"RSIM\" 100% $HOME\n"), std::string::npos);
    // Through env, as the path holds a "%" (see installationMenuEntry).
    EXPECT_NE(
        entry->find("\nExec=env \"/home/p/Gry \\\\\"RSIM\\\\\" 100%% \\\\$HOME/rsim-launcher\"\n"),
        std::string::npos)
        << *entry;
    EXPECT_NE(entry->find("\nTryExec=/home/p/Gry \"RSIM\" 100% $HOME/rsim-launcher\n"),
              std::string::npos);
    EXPECT_NE(entry->find("\nIcon=example.rsim424.Loader\n"), std::string::npos);

    // Bytes that are not UTF-8, as a name copied from Windows may have, or a control character
    // have no form in an entry.
    EXPECT_FALSE(installationMenuEntry("/g/\xA3\xF3\x64\x9F", "/g/\xA3\xF3\x64\x9F/rsim-launcher"));
    EXPECT_FALSE(installationMenuEntry("/g/a\x1b", "/g/a\x1b/rsim-launcher"));

    TempFolder entries;
    const std::string first = entries.path() + "/example.rsim424.Loader.RSIM.desktop";
    const auto ours = installationMenuEntry("/home/p/RSIM", "/home/p/RSIM/rsim-launcher");
    const auto other = installationMenuEntry("/mnt/RSIM", "/mnt/RSIM/rsim-launcher");
    EXPECT_EQ(menuEntryPath(entries.path(), "/home/p/RSIM", *ours), first);
    // An entry of the same installation is renewed, whatever else it says.
    entries.write("example.rsim424.Loader.RSIM.desktop",
                  "[Desktop Entry]\nName=old\n" + ours->substr(ours->find("Exec=")));
    EXPECT_EQ(menuEntryPath(entries.path(), "/home/p/RSIM", *ours), first);
    EXPECT_EQ(menuEntryPath(entries.path(), "/mnt/RSIM", *other),
              entries.path() + "/example.rsim424.Loader.RSIM-2.desktop");
}

} // namespace

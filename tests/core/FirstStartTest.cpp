#include "shell/FirstStart.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

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

// What a save beside an entry leaves of the system's limit of 255 bytes.
constexpr std::size_t LongestName = 223;

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
        // A long name is cut to fit, its number kept.
        {"/g/" + std::string(240, 'L'), 1,
         "example.rsim424.Loader." + std::string(192, 'L') + ".desktop"},
        {"/g/" + std::string(240, 'L'), 12,
         "example.rsim424.Loader." + std::string(189, 'L') + "-12.desktop"},
    };
    for (const auto& [folder, number, name] : cases)
        EXPECT_EQ(menuEntryFileName(folder, number, LongestName), name) << folder;
}

// A link refused with EPERM, as exFAT refuses every link, says nothing of the player's rights.
TEST(FirstStart, AFolderThatTakesNoLinkIsToldWhy) {
    const std::vector<std::pair<int, std::string>> cases{
        {EPERM, "(system plików nie obsługuje odnośników)"},
        {ENOSYS, "(system plików nie obsługuje odnośników)"},
        {EROFS, "(system plików tylko do odczytu)"},
        {EACCES, "(brak uprawnień)"},
    };
    for (const auto& [error, reason] : cases)
        EXPECT_NE(
            firstStartText(Language::Polish, FirstStartText::TakesNoLink, "/mnt/usb/RSIM", error)
                .find(reason),
            std::string::npos)
            << error;
    EXPECT_NE(firstStartText(Language::English, FirstStartText::TakesNoLink, "/mnt/usb/RSIM", EPERM)
                  .find("(the file system does not support links)"),
              std::string::npos);
}

TEST(FirstStart, MenuEntriesGoToTheDataHomeOrTheHomeFolder) {
    EXPECT_EQ(menuEntriesFolder("/x/data", "/home/p"), "/x/data/applications");
    EXPECT_EQ(menuEntriesFolder("", "/home/p"), "/home/p/.local/share/applications");
    EXPECT_EQ(menuEntriesFolder("relative", "/home/p"), "/home/p/.local/share/applications");
    EXPECT_EQ(menuEntriesFolder(nullptr, "/home/p"), "/home/p/.local/share/applications");
    EXPECT_EQ(menuEntriesFolder(nullptr, nullptr), "");
}

TEST(FirstStart, MenuEntryStartsItsProgramAndNeverTakesAnotherInstallationsFile) {
    const std::string folder = "/home/p/Gry \"RSIM\" 100% $HOME";
    const auto entry = installationMenuEntry(folder, folder + "/rsim-launcher");
    ASSERT_TRUE(entry);
    EXPECT_NE(entry->find("\nName=Torvia RSIM-424: Gry \"RSIM\" 100% $HOME\n"), std::string::npos);
    // Through the shell, as the path holds a "%" (see installationMenuEntry).
    EXPECT_NE(entry->find("\nExec=/bin/sh -c \"exec \\\\\"\\\\$0\\\\\" \\\\\"\\\\$@\\\\\"\" "
                          "\"/home/p/Gry \\\\\"RSIM\\\\\" 100%% \\\\$HOME/rsim-launcher\" %f\n"),
              std::string::npos)
        << *entry;
    EXPECT_NE(entry->find("\nTryExec=/home/p/Gry \"RSIM\" 100% $HOME/rsim-launcher\n"),
              std::string::npos);
    EXPECT_NE(entry->find("\nIcon=example.rsim424.Loader\n"), std::string::npos);
    const auto named =
        installationMenuEntry("/mnt/ro", "/usr/bin/rsim-launcher", {"--installation", "/mnt/ro"});
    ASSERT_TRUE(named);
    EXPECT_NE(named->find("\nExec=/usr/bin/rsim-launcher --installation /mnt/ro %f\n"),
              std::string::npos)
        << *named;
    // It opens packs, and offers to undo the last install.
    EXPECT_NE(named->find("\nMimeType=application/zip;application/x-7z-compressed;"
                          "application/vnd.rar;application/x-tar;application/x-compressed-tar;"
                          "application/x-bzip-compressed-tar;application/x-xz-compressed-tar;"
                          "application/x-zstd-compressed-tar;\nActions=undo-pack;\n"),
              std::string::npos)
        << *named;
    EXPECT_NE(named->find("\n[Desktop Action undo-pack]\nName=Undo the last install of a pack\n"
                          "Name[pl]=Cofnij ostatnią instalację paczki\n"
                          "Exec=/usr/bin/rsim-launcher --installation /mnt/ro --undo-pack\n"),
              std::string::npos)
        << *named;

    // Bytes that are not UTF-8, as a name copied from Windows may have, or a control character
    // have no form in an entry.
    EXPECT_FALSE(installationMenuEntry("/g/\xA3\xF3\x64\x9F", "/g/\xA3\xF3\x64\x9F/rsim-launcher"));
    EXPECT_FALSE(installationMenuEntry("/g/a\x1b", "/g/a\x1b/rsim-launcher"));
    EXPECT_FALSE(
        installationMenuEntry("/g/a", "/usr/bin/rsim-launcher", {"--installation", "/g/a\x1b"}));

    TempFolder entries;
    const auto entryOf = [](const std::string& installation) {
        return *installationMenuEntry(installation, installation + "/rsim-launcher");
    };
    const auto place = [&](const std::string& installation) {
        std::string path =
            menuEntryPath(entries.path(), installation, entryOf(installation), LongestName);
        entries.write(path.substr(entries.path().size() + 1), entryOf(installation));
        return path.substr(entries.path().size() + 1);
    };
    EXPECT_EQ(place("/home/p/RSIM"), "example.rsim424.Loader.RSIM.desktop");
    // An entry of the same installation is renewed, whatever else it says.
    entries.write("example.rsim424.Loader.RSIM.desktop",
                  "[Desktop Entry]\nName=old\n" +
                      entryOf("/home/p/RSIM").substr(entryOf("/home/p/RSIM").find("Exec=")));
    EXPECT_EQ(place("/home/p/RSIM"), "example.rsim424.Loader.RSIM.desktop");
    // So is one written before the entries took packs.
    entries.write("example.rsim424.Loader.RSIM.desktop",
                  "[Desktop Entry]\nExec=/home/p/RSIM/rsim-launcher\n");
    EXPECT_EQ(place("/home/p/RSIM"), "example.rsim424.Loader.RSIM.desktop");
    EXPECT_EQ(place("/mnt/RSIM"), "example.rsim424.Loader.RSIM-2.desktop");
    // Two folders whose long names differ only past the cut keep an entry each.
    const std::string longName = std::string(239, 'L');
    const std::string first = place("/a/" + longName + "1");
    const std::string second = place("/a/" + longName + "2");
    EXPECT_LE(first.size(), LongestName);
    EXPECT_LE(second.size(), LongestName);
    EXPECT_NE(first, second);
    EXPECT_EQ(place("/a/" + longName + "1"), first);
}

// The desktop starts an entry's program as the desktop reads its Exec line, with a pack opened by
// it or without: gio does so as GLib's menus do.
TEST(FirstStart, MenuEntryStartsItsProgramWithItsArgumentsForAnyFolderName) {
    if (std::system("gio version >/dev/null 2>&1") != 0) GTEST_SKIP() << "gio is not installed";
    const std::vector<std::string> names{
        "a=b%c",
        "=",
        "100% $HOME `date` \"q\" 'a'",
        "back\\slash",
        "tab\tand\nline",
        "%f %U %%",
        "[Desktop Entry]",
        "\xC5\x81\xC3\xB3\x64\xC5\xBA ;&|<>*?#()~",
    };
    TempFolder base;
    const std::string pack = base.write("Trasa 100% a=b $x.zip", "");
    const struct {
        const char* how;
        bool byOption;
        bool withPack;
    } starts[] = {{"through the link", false, false},
                  {"through the link, with a pack", false, true},
                  {"by the option, with a pack", true, true}};
    for (const std::string& name : names) {
        for (const auto& start : starts) {
            SCOPED_TRACE(name + ", " + start.how);
            const std::string folder = base.path() + "/" + name;
            // A program that says how it was started, beside itself once it is done.
            const std::string program =
                base.write(name + "/rsim-launcher", "#!/bin/sh\n"
                                                    "printf '%s\\000' \"$0\" \"$@\" > \"$0.part\"\n"
                                                    "mv \"$0.part\" \"$0.started\"\n");
            ::chmod(program.c_str(), 0755);
            const std::vector<std::string> arguments =
                start.byOption ? std::vector<std::string>{"--installation", folder}
                               : std::vector<std::string>{};
            const auto entry = installationMenuEntry(folder, program, arguments);
            ASSERT_TRUE(entry);
            const std::string entryFile = base.write("entry.desktop", *entry);
            std::filesystem::remove(program + ".started");
            const std::string launch = "gio launch '" + entryFile + "'" +
                                       (start.withPack ? " '" + pack + "'" : std::string());
            ASSERT_EQ(std::system(launch.c_str()), 0) << *entry;

            std::string started;
            for (int tries = 0; tries < 500 && started.empty(); ++tries) {
                std::ifstream record(program + ".started", std::ios::binary);
                started.assign(std::istreambuf_iterator<char>(record), {});
                if (started.empty()) ::usleep(20000);
            }
            std::string expected = program + '\0';
            for (const std::string& argument : arguments) expected += argument + '\0';
            if (start.withPack) expected += pack + '\0';
            EXPECT_EQ(started, expected) << *entry;
        }
    }
}

} // namespace

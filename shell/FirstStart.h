#pragma once

#include "platform/system/Language.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The launcher's installation is its own folder. Installed from a package it lies in /usr/bin,
// away from any installation, and its menu entry starts it there. Such a first start asks the
// player for the simulator's installation, places a link named rsim-launcher to the launcher in
// it, writes a menu entry that starts the launcher through that link, and starts the launcher
// through the link, which takes the link's folder for the installation. From then on the player
// starts that entry, and none of this runs again.
//
// Only a link to this very launcher is ever started: a program of someone else's under the
// link's name is refused, and a link that leads nowhere is replaced. A folder that takes no
// link, a read-only mount or a file system without links, gets a menu entry that starts the
// launcher itself with the installation named by an option (shell/CommandLine.h).

// The launcher's application id: the name of its desktop entry, its icon and, on Wayland, of
// its windows.
inline constexpr std::string_view ApplicationId = "example.rsim424.Loader";

// The name of the link in an installation; it is also the program's own name.
inline constexpr std::string_view LauncherLinkName = "rsim-launcher";

// Whether folder is an installation of the simulator: it holds rsim.exe or a scenery folder,
// in whatever case of letters Windows left their names.
bool isInstallation(const std::string& folder);

// One argument of a menu entry's Exec line: quoted when it holds a character the desktop-entry
// format reserves (a blank, a quote, "$", a backslash and the like), "%" doubled, and then
// escaped as any text value of the format is, so that a backslash becomes four.
std::string execArgument(std::string_view argument);

// The menu entry of the installation in installFolder, which starts program with arguments: the
// installation's link with none, or the launcher with the option that names the installation.
// It opens the packs the launcher installs, handing over the pack's file, and has an action that
// offers to undo the last install of a pack.
// None when a path cannot be written in an entry: an entry is UTF-8 text, where a name made of
// other bytes or holding a control character other than a tab or a line end has no form.
std::optional<std::string> installationMenuEntry(std::string_view installFolder,
                                                 std::string_view program,
                                                 const std::vector<std::string>& arguments = {});

// The file name of an installation's menu entry, after its folder's name: the application id,
// then the folder's name with each run of characters a desktop file id may not hold made one "_",
// and for number 2 on "-2", "-3"... so that installations whose folders share a name keep an entry
// each. A long folder name is cut so that the file name is at most longestName bytes.
std::string menuEntryFileName(std::string_view installFolder, int number, std::size_t longestName);

// The folder of the player's own menu entries: $XDG_DATA_HOME/applications, or
// $HOME/.local/share/applications when XDG_DATA_HOME is unset, empty or relative; "" when
// neither gives an absolute path. Either argument may be null.
std::string menuEntriesFolder(const char* xdgDataHome, const char* home);

// Where the entry goes in entriesFolder: the first of the folder's numbered names that is free
// or holds an entry with the same Exec line, which it then renews. Another installation's entry
// of the same name is never overwritten.
std::string menuEntryPath(const std::string& entriesFolder, std::string_view installFolder,
                          std::string_view entry, std::size_t longestName);

// The texts of a first start, in the interface language. UTF-8; "%1"
// stands for a path, shown by the file-name rule, and "%2" for why a step failed, given by its
// system error number (errno).
enum class FirstStartText {
    Caption,
    Outside, // %1: the launcher's own folder
    ChooseButton,
    QuitButton,
    ChooserCaption,
    ChooserLookIn,
    ChooserFolder,
    ChooserAccept,
    ChooserCancel,
    NotAnInstallation,   // %1: the chosen folder
    NotThisLauncher,     // %1: what stands under the link's name
    DeadLinkReplaced,    // %1: the link
    TakesNoLink,         // %1: the chosen folder, %2: why
    LinkCannotStart,     // %1: the link, %2: why
    MenuEntryNotWritten, // %1: the entry's file, %2: why
    MenuEntryNotNamed,   // %1: the chosen folder
};
std::string firstStartText(Language language, FirstStartText which, std::string_view path = {},
                           int error = 0);

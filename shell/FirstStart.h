#pragma once

#include "platform/system/Language.h"
#include "platform/system/Words.h"

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

// The texts of a first start. "%1" stands for a path, shown by the file-name rule, and "%2" for
// why a step failed, given by its system error number (errno).
namespace FirstStartText {

inline constexpr BilingualText Caption = Words::MainWindowTitle;
// %1: the launcher's own folder
inline constexpr BilingualText Outside{
    "Ten program nie leży w folderze instalacji symulatora RSIM-424: w folderze %1 nie ma ani "
    "rsim.exe, ani folderu scenery.\n\nWskaż folder, w którym zainstalowano symulator. Program "
    "umieści w nim odnośnik rsim-launcher do siebie i doda do menu pozycję, która uruchamia go "
    "dla tej instalacji.",
    "The launcher is not in an installation of the RSIM-424 simulator: its folder %1 holds "
    "neither rsim.exe nor a scenery folder.\n\nChoose the folder the simulator is installed in. "
    "The launcher will place a link named rsim-launcher to itself there and add a menu entry "
    "that starts it for that installation."};
inline constexpr BilingualText ChooseButton{"Wskaż folder…", "Choose folder…"};
inline constexpr BilingualText QuitButton{"Zakończ", "Quit"};
inline constexpr BilingualText ChooserCaption{"Wskaż folder instalacji symulatora RSIM-424",
                                              "Choose the installation folder of the RSIM-424 "
                                              "simulator"};
inline constexpr BilingualText ChooserLookIn{"Szukaj w:", "Look in:"};
inline constexpr BilingualText ChooserFolder = inBoth("Folder:");
inline constexpr BilingualText ChooserAccept{"Wybierz", "Choose"};
inline constexpr BilingualText ChooserCancel = Words::Cancel;
// %1: the chosen folder
inline constexpr BilingualText NotAnInstallation{
    "W folderze %1 nie ma ani rsim.exe, ani folderu scenery, więc nie jest to instalacja "
    "symulatora. Wskaż inny folder",
    "The folder %1 holds neither rsim.exe nor a scenery folder, so it is no installation of the "
    "simulator. Choose another folder"};
// %1: what stands under the link's name
inline constexpr BilingualText NotThisLauncher{
    "W folderze instalacji jest już plik %1, który nie jest odnośnikiem do tego programu, więc "
    "program go nie uruchomi. Usuń go lub zmień jego nazwę albo wskaż inny folder",
    "The installation already holds a file %1 that is no link to this launcher, so the launcher "
    "does not run it. Remove or rename it, or choose another folder"};
// %1: the link
inline constexpr BilingualText DeadLinkReplaced{
    "Odnośnik %1 prowadził do pliku, którego już nie ma; teraz prowadzi do tego programu",
    "The link %1 led to a file that is no longer there; it now leads to this launcher"};
// %1: the chosen folder, %2: why
inline constexpr BilingualText TakesNoLink{
    "W folderze %1 nie da się umieścić odnośnika rsim-launcher (%2). Pozycja menu uruchomi "
    "program, podając mu ten folder w wierszu poleceń",
    "The link rsim-launcher cannot be placed in the folder %1 (%2). The menu entry starts the "
    "launcher with the folder named on its command line"};
// %1: the link, %2: why
inline constexpr BilingualText LinkCannotStart{"Nie można uruchomić programu %1 (%2)",
                                               "%1 cannot be started (%2)"};
// %1: the entry's file, %2: why
inline constexpr BilingualText MenuEntryNotWritten{
    "Nie udało się zapisać pozycji menu %1 (%2); program uruchomi się bez niej",
    "The menu entry %1 could not be written (%2); the launcher starts without it"};
// %1: the chosen folder
inline constexpr BilingualText MenuEntryNotNamed{
    "Nazwy folderu %1 nie da się zapisać w pozycji menu; program uruchomi się bez niej",
    "The name of the folder %1 cannot be written in a menu entry; the launcher starts without "
    "it"};

} // namespace FirstStartText

// One of the texts above in the interface language, with its path and reason in place.
std::string firstStartText(Language language, const BilingualText& text, std::string_view path = {},
                           int error = 0);

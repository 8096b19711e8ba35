#pragma once

#include <string>
#include <string_view>
#include <vector>

// Why an entry of a pack is not installed.
enum class Refusal {
    None,
    LeavesRoot,     // its path climbs out of the archive, or lies outside the pack's root
    Absolute,       // an absolute path, or one with a drive letter
    Link,           // a symbolic link
    HardLink,       // a hard link
    Special,        // a device, pipe or socket
    InvalidName,    // a name Windows cannot hold, or one too long
    Encrypted,      // its data cannot be read without a password
    HeldTwice,      // the pack holds another file for the same place, in another case or not
    SettingsFile,   // rsim.ini, the player's settings, is never replaced
    Catalogue,      // the catalogue is never written over: its new records are offered
    FolderInTheWay, // the installation or the pack has a folder where this file would go
    FileInTheWay,   // a file stands where this entry needs a folder
    BackupFolder,   // the folder where the launcher keeps what installs replaced
};

// The refusal as rsim-inspect names it, such as "leaves-root".
std::string_view refusalKey(Refusal refusal);

// An entry's name taken apart: backslashes are separators as much as slashes, "." and empty
// names are dropped and ".." takes back the name before it.
struct EntryPath {
    std::vector<std::string> names;
    Refusal refusal = Refusal::None; // LeavesRoot, Absolute or InvalidName
};
EntryPath splitEntryName(std::string_view utf8Name);

// Whether Windows can hold a file or folder of that name: no control characters, none of
// <>:"/\|?*, no trailing blank or dot, not a device name such as CON or LPT1 (with or without an
// extension), at most 255 bytes.
bool isWindowsName(std::string_view name);

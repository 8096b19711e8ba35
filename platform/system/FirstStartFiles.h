#pragma once

#include <string>
#include <vector>

// What a first start outside an installation does to files and to the process: a link in the
// installation, a menu entry, and the launcher started anew through the link. Each step returns
// 0 or the system error number (errno) of its failure.

// What stands under the name of the launcher's link in an installation.
enum class LauncherLink {
    Missing,      // nothing, or nothing that can be seen
    ThisLauncher, // a link to the launcher that runs, or its very file under that name
    Dead,         // a symbolic link that leads to nothing
    Stranger,     // anything else: someone else's program, a copy or another build, a folder
};
LauncherLink launcherLinkAt(const std::string& path);

// Places a symbolic link at link that points at target; nothing else is written. A folder whose
// mode has no write bit at all counts as read-only, even for root, as it does for the settings
// file (platform/FileReplacement.h).
int placeLink(const std::string& link, const std::string& target);

// Replaces the dead link at link with one to target, in a folder that placeLink would write to.
int replaceDeadLink(const std::string& link, const std::string& target);

// Writes a menu entry, creating the folders above it, in one step as the settings file is.
int writeMenuEntry(const std::string& path, const std::string& text);

// Replaces this process with program, started by its absolute path, as its own name and with
// arguments after it, in the same environment; the files the launcher holds open are not handed
// on. Returns only when that fails, and then the launcher is as it was.
int startInstead(const std::string& program, const std::vector<std::string>& arguments = {});

#pragma once

#include <string>

// What a first start outside an installation does to files and to the process: a link in the
// installation, a menu entry, and the launcher started anew through the link. Each step returns
// 0 or the system error number (errno) of its failure.

// Whether anything at all, a dangling link included, stands under path.
bool nameIsTaken(const std::string& path);

// Places a symbolic link at link that points at target; nothing else is written. A folder whose
// mode has no write bit at all counts as read-only, even for root, as it does for the settings
// file (platform/FileReplacement.h).
int placeLink(const std::string& link, const std::string& target);

// Whether program, links followed, may be executed.
int checkProgramStarts(const std::string& program);

// Writes a menu entry, creating the folders above it, in one step as the settings file is.
int writeMenuEntry(const std::string& path, const std::string& text);

// Replaces this process with program, started by its absolute path, as its own name and with
// nothing after it, in the same environment; the files the launcher holds open are not handed
// on. Returns only when that fails, and then the launcher is as it was.
int startInstead(const std::string& program);

#pragma once

#include <string>
#include <string_view>

// The player's home folder: HOME where it is an absolute path, else the one the user database
// gives; null where neither does.
const char* homeFolder();

// A folder of the XDG base directories: value, the variable's, where it is an absolute path,
// else fallback below home ("/.cache", "/.local/share"); "" where home is no absolute path
// either. Either may be null.
std::string baseFolder(const char* value, const char* home, std::string_view fallback);

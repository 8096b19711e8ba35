#pragma once

#include <string>
#include <string_view>

// The file that a Windows user of the installation means by installRoot followed by a
// Windows-style relative path such as "\scenery\images\Alpha.JPG": backslashes are folder
// separators, and a name that does not exist as written is found without regard to ASCII case,
// folder by folder. Among several such names the first in byte order wins. A name that is not
// found is also tried without its trailing blanks and dots, which Windows ignores. A name found
// in no form is kept as written, so that opening the result fails as it would on Windows.
std::string resolveInstallPath(std::string_view installRoot, std::string_view windowsPath);

// The same lookup for one name inside an existing folder; "" when nothing matches.
std::string findNameIgnoringCase(const std::string& folder, std::string_view name);

// Whether path names an ordinary file (a folder is none), as the windows test a file that may
// be missing before they use it.
bool fileExists(const std::string& path);

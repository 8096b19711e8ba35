#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// The file that a Windows user of the installation means by installRoot followed by a
// Windows-style relative path such as "\scenery\images\Alpha.JPG": backslashes are folder
// separators, and a name that does not exist as written is found without regard to ASCII case,
// folder by folder. Among several such names the first in byte order wins. A name that is not
// found is also tried without its trailing blanks and dots, which Windows ignores. A name found
// in no form is kept as written, so that opening the result fails as it would on Windows.
std::string resolveInstallPath(std::string_view installRoot, std::string_view windowsPath);

// The same lookup for one name inside an existing folder; "" when nothing matches.
std::string findNameIgnoringCase(const std::string& folder, std::string_view name);

// The walk of resolveInstallPath over names that find supplies: find(folder, name) is the name in
// folder, a path the walk has built from root, that Windows would open for name, or "".
using NameFinder = std::function<std::string(const std::string& folder, std::string_view name)>;
std::string resolveWindowsPath(std::string_view root, std::string_view windowsPath,
                               const NameFinder& find);

// The names of one folder read once, for many lookups in a large folder by the rule of
// findNameIgnoringCase, and names added as files that will be made there.
class FolderNames {
public:
    FolderNames() = default; // an empty folder
    explicit FolderNames(const std::string& folder);

    void add(const std::string& name);
    std::string find(std::string_view name) const; // "" when nothing matches

private:
    // Each upper-cased name with the names that match it, in byte order.
    std::unordered_map<std::string, std::vector<std::string>> variants_;
};

// Whether path names an ordinary file (a folder is none), as the windows test a file that may
// be missing before they use it.
bool fileExists(const std::string& path);

#include "platform/InstallPath.h"

#include "platform/AsciiCase.h"
#include "platform/PathComponents.h"

#include <dirent.h>
#include <sys/stat.h>

#include <memory>

namespace {
bool exists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

bool equalIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && equalsUpperCased(a, asciiUpper(b));
}
} // namespace

std::string findNameIgnoringCase(const std::string& folder, std::string_view name) {
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.empty() ? "/" : folder.c_str()),
                                                  &::closedir);
    if (!dir) return {};
    std::string best;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string_view candidate = entry->d_name;
        if (!equalIgnoringAsciiCase(candidate, name)) continue;
        if (candidate == name) return std::string(candidate);
        if (best.empty() || candidate < best) best = candidate;
    }
    return best;
}

std::string resolveInstallPath(std::string_view installRoot, std::string_view windowsPath) {
    std::string path(installRoot);
    forEachPathComponent(windowsPath, "\\/", [&path](std::string_view component) {
        const std::string folder = path;
        path += '/';
        path += component;
        if (component == "." || component == ".." || exists(path)) return;
        const std::string found = findNameIgnoringCase(folder, component);
        if (!found.empty()) path.replace(path.size() - component.size(), component.size(), found);
    });
    return path;
}

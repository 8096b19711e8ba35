#include "platform/system/InstallPath.h"

#include "platform/system/AsciiCase.h"
#include "platform/system/PathComponents.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
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

bool fileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

namespace {
// The name in folder that Windows would open for component, or "" when there is none.
std::string findAsWindowsWould(const std::string& folder, std::string_view component) {
    if (exists(folder + '/' + std::string(component))) return std::string(component);
    return findNameIgnoringCase(folder, component);
}

std::string_view withoutTrailingBlanksAndDots(std::string_view name) {
    const std::size_t last = name.find_last_not_of(" .");
    return last == std::string_view::npos ? std::string_view() : name.substr(0, last + 1);
}
} // namespace

std::string resolveWindowsPath(std::string_view root, std::string_view windowsPath,
                               const NameFinder& find) {
    std::string path(root);
    forEachPathComponent(windowsPath, "\\/", [&path, &find](std::string_view component) {
        const std::string folder = path;
        path += '/';
        if (component == "." || component == "..") {
            path += component;
            return;
        }
        std::string found = find(folder, component);
        // Windows drops trailing blanks and dots from a name, so "p.bmp " opens "p.bmp".
        const std::string_view trimmed = withoutTrailingBlanksAndDots(component);
        if (found.empty() && !trimmed.empty() && trimmed != component)
            found = find(folder, trimmed);
        path += found.empty() ? component : std::string_view(found);
    });
    return path;
}

std::string resolveInstallPath(std::string_view installRoot, std::string_view windowsPath) {
    return resolveWindowsPath(installRoot, windowsPath, findAsWindowsWould);
}

FolderNames::FolderNames(const std::string& folder) {
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), &::closedir);
    if (!dir) return;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..") add(std::string(name));
    }
}

void FolderNames::add(const std::string& name) {
    std::vector<std::string>& names = variants_[asciiUpper(name)];
    const auto at = std::lower_bound(names.begin(), names.end(), name);
    if (at == names.end() || *at != name) names.insert(at, name);
}

std::string FolderNames::find(std::string_view name) const {
    const auto found = variants_.find(asciiUpper(name));
    if (found == variants_.end()) return {};
    const std::vector<std::string>& names = found->second;
    const auto exact = std::lower_bound(names.begin(), names.end(), name);
    return exact != names.end() && *exact == name ? *exact : names.front();
}

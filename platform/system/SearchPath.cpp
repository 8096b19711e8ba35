#include "platform/system/SearchPath.h"

#include "platform/system/PathComponents.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

namespace {

bool isExecutableFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

} // namespace

std::string findOnSearchPath(std::string_view name) {
    const char* variable = std::getenv("PATH");
    // Without PATH, the system's default search path, as execvp uses it.
    const std::string_view searchPath = variable ? variable : "/bin:/usr/bin";
    std::string found;
    forEachPathComponent(searchPath, ":", [&found, name](std::string_view folder) {
        if (!found.empty() || folder.front() != '/') return;
        std::string candidate(folder);
        if (candidate.back() != '/') candidate += '/';
        candidate += name;
        if (isExecutableFile(candidate)) found = std::move(candidate);
    });
    return found;
}

#include "platform/system/UserFolders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace {

bool isAbsolute(const char* path) {
    return path && path[0] == '/';
}

} // namespace

const char* homeFolder() {
    const char* home = std::getenv("HOME");
    if (isAbsolute(home)) return home;
    const passwd* user = ::getpwuid(::getuid());
    return user && isAbsolute(user->pw_dir) ? user->pw_dir : nullptr;
}

std::string baseFolder(const char* value, const char* home, std::string_view fallback) {
    if (isAbsolute(value)) return value;
    if (isAbsolute(home)) return std::string(home) + std::string(fallback);
    return "";
}

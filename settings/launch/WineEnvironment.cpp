#include "settings/launch/WineEnvironment.h"

#include "platform/system/SearchPath.h"
#include "platform/system/UserFolders.h"

#include <gnu/libc-version.h>
#include <locale.h>

#include <cstdlib>

namespace {

bool isAbsolute(const char* path) {
    return path && path[0] == '/';
}

bool systemHasLocale(std::string_view name) {
    const locale_t locale = ::newlocale(LC_CTYPE_MASK, std::string(name).c_str(), locale_t{});
    if (!locale) return false;
    ::freelocale(locale);
    return true;
}

} // namespace

WineEnvironment thisUsersWineEnvironment() {
    WineEnvironment setting;
    setting.wine = findOnSearchPath("wine");
    setting.localedef = findOnSearchPath("localedef");
    const char* home = homeFolder();
    setting.cacheFolder = launcherCacheFolder(std::getenv("XDG_CACHE_HOME"), home);
    setting.systemHasPolishLocale = systemHasLocale(PolishLocale);
    setting.libcVersion = ::gnu_get_libc_version();
    const char* prefix = std::getenv("WINEPREFIX");
    if (prefix && *prefix)
        setting.prefix = isAbsolute(prefix) ? prefix : "";
    else if (isAbsolute(home))
        setting.prefix = std::string(home) + "/.wine";
    const char* loader = std::getenv("WINELOADER");
    if (loader) setting.wineLoader = loader;
    return setting;
}

std::string launcherCacheFolder(const char* xdgCacheHome, const char* home) {
    const std::string cache = baseFolder(xdgCacheHome, home, "/.cache");
    return cache.empty() ? cache : cache + "/rsim-launcher";
}

#include "settings/WineSetting.h"

#include "platform/SearchPath.h"

#include <gnu/libc-version.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <locale.h>

namespace {

bool isAbsolute(const char* path) {
    return path && path[0] == '/';
}

// The home folder, from HOME or else from the user database.
const char* homeFolder() {
    const char* home = std::getenv("HOME");
    if (isAbsolute(home)) return home;
    const passwd* user = ::getpwuid(::getuid());
    return user ? user->pw_dir : nullptr;
}

bool systemHasLocale(std::string_view name) {
    const locale_t locale = ::newlocale(LC_CTYPE_MASK, std::string(name).c_str(), locale_t{});
    if (!locale) return false;
    ::freelocale(locale);
    return true;
}

} // namespace

WineSetting thisUsersWineSetting() {
    WineSetting setting;
    setting.wine = findOnSearchPath("wine");
    setting.localedef = findOnSearchPath("localedef");
    setting.cacheFolder = launcherCacheFolder(std::getenv("XDG_CACHE_HOME"), homeFolder());
    setting.systemHasPolishLocale = systemHasLocale(PolishLocale);
    setting.libcVersion = ::gnu_get_libc_version();
    return setting;
}

std::string launcherCacheFolder(const char* xdgCacheHome, const char* home) {
    if (isAbsolute(xdgCacheHome)) return std::string(xdgCacheHome) + "/rsim-launcher";
    if (isAbsolute(home)) return std::string(home) + "/.cache/rsim-launcher";
    return "";
}

std::string builtLocalesFolder(const WineSetting& setting) {
    return setting.cacheFolder + "/locale/" + setting.libcVersion;
}

LocaleBuild localeBuild(const WineSetting& setting) {
    return {setting.localedef,
            {"-i", "pl_PL", "-f", "UTF-8"},
            "",
            builtLocalesFolder(setting) + "/" + std::string(PolishLocale)};
}

int beginLocaleBuild(LocaleBuild& build) {
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(build.folder).parent_path(), error);
    if (error) return error.value();
    std::string output = build.folder + ".part-XXXXXX";
    if (!::mkdtemp(output.data())) return errno;
    build.output = output;
    build.arguments.push_back(std::move(output));
    return 0;
}

int finishLocaleBuild(const LocaleBuild& build) {
    if (::rename(build.output.c_str(), build.folder.c_str()) == 0) return 0;
    const int error = errno;
    if (error != ENOTEMPTY && error != EEXIST) return error;
    std::error_code ignored;
    std::filesystem::remove_all(build.output, ignored);
    return 0;
}

std::string simulatorProcessName(std::string_view simulator) {
    const std::size_t slash = simulator.rfind('/');
    const std::string_view name =
        slash == std::string_view::npos ? simulator : simulator.substr(slash + 1);
    return std::string(name.substr(0, 15));
}

WineStartJudge::WineStartJudge(std::string_view simulator)
    : name_(simulatorProcessName(simulator)) {}

WineVerdict WineStartJudge::observe(double seconds, std::string_view processName) {
    if (loadedAt_ < 0 && processName == name_) loadedAt_ = seconds;
    if (loadedAt_ >= 0 && seconds - loadedAt_ >= SettleSeconds) return WineVerdict::Started;
    return seconds >= LimitSeconds ? WineVerdict::Started : WineVerdict::Watching;
}

WineVerdict WineStartJudge::ended(int waitStatus) {
    return WIFEXITED(waitStatus) && WEXITSTATUS(waitStatus) == 0 ? WineVerdict::Started
                                                                 : WineVerdict::Failed;
}

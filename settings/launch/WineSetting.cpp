#include "settings/launch/WineSetting.h"

#include "platform/system/OrdinaryFile.h"
#include "platform/system/SearchPath.h"

#include <dirent.h>
#include <fcntl.h>
#include <gnu/libc-version.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <locale.h>
#include <memory>

namespace fs = std::filesystem;

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

// The start of a file, as much of it as there is up to size bytes.
std::string headOf(const std::string& path, std::size_t size) {
    const OrdinaryFile file(path);
    if (!file.ok()) return {};
    std::string head(size, '\0');
    const ssize_t got = ::pread(file.get(), head.data(), head.size(), 0);
    head.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return head;
}

// 32 or 64 for a little-endian x86 program, as its ELF header says; 0 for anything else.
int elfBits(const std::string& path) {
    const std::string head = headOf(path, 20);
    if (head.size() < 20 ||
        head.compare(0, 4,
                     "\x7F"
                     "ELF") != 0 ||
        head[5] != 1)
        return 0;
    const unsigned machine =
        static_cast<unsigned char>(head[18]) | static_cast<unsigned char>(head[19]) << 8;
    return machine == 3 ? 32 : machine == 62 ? 64 : 0;
}

bool isPathCharacter(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || std::strchr("._-+/", c);
}

// The loaders of a wine: wine itself where it is a program, else the wine programs its script
// names by their full paths.
std::vector<std::string> loadersOf(const std::string& wine) {
    if (elfBits(wine)) return {wine};
    const std::string script = headOf(wine, 65536);
    std::vector<std::string> loaders;
    if (script.compare(0, 2, "#!") != 0) return loaders;
    for (std::size_t i = 2; i < script.size(); ++i) {
        if (script[i] != '/' || isPathCharacter(script[i - 1])) continue;
        std::size_t end = i;
        while (end < script.size() && isPathCharacter(script[end])) ++end;
        std::string path = script.substr(i, end - i);
        i = end;
        if (path.compare(path.rfind('/') + 1, 4, "wine") != 0 || !elfBits(path)) continue;
        if (std::find(loaders.begin(), loaders.end(), path) == loaders.end())
            loaders.push_back(std::move(path));
    }
    return loaders;
}

// The folder of a 64-bit loader's libraries, where its layout is one wine is installed in:
// Debian's, and wine's own with lib or lib64. "" where none holds the loader's ntdll.
std::string librariesOf(const std::string& loader) {
    std::error_code error;
    const fs::path programFolder = fs::canonical(loader, error).parent_path();
    if (error) return {};
    for (const char* relative : {"../x86_64-linux-gnu/wine", "../lib/wine", "../lib64/wine",
                                 "../lib/x86_64-linux-gnu/wine"}) {
        const fs::path folder = (programFolder / relative).lexically_normal();
        if (fs::is_regular_file(folder / "x86_64-unix/ntdll.so", error)) return folder.string();
    }
    return {};
}

// A prefix made by a wine without 32-bit support has an empty syswow64; a 32-bit prefix has
// none, and needs none.
bool prefixLacks32Bit(const std::string& prefix) {
    if (prefix.empty()) return false;
    const fs::path system = fs::path(prefix) / "drive_c/windows/syswow64";
    std::error_code error;
    return fs::is_directory(system, error) && !fs::is_regular_file(system / "ntdll.dll", error);
}

// Whether the descriptor's file is still the one named path.
bool stillNamed(int fd, const std::string& path) {
    struct stat opened {};
    struct stat named {};
    return ::fstat(fd, &opened) == 0 && ::lstat(path.c_str(), &named) == 0 &&
           opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

constexpr std::string_view BuildMark = ".part-";

} // namespace

WineSetting thisUsersWineSetting() {
    WineSetting setting;
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
    if (isAbsolute(xdgCacheHome)) return std::string(xdgCacheHome) + "/rsim-launcher";
    if (isAbsolute(home)) return std::string(home) + "/.cache/rsim-launcher";
    return "";
}

Wine32Bit wine32BitSupport(const WineSetting& setting) {
    if (setting.wine.empty()) return Wine32Bit::Unsure;
    std::vector<std::string> loaders = loadersOf(setting.wine);
    if (elfBits(setting.wineLoader)) loaders.push_back(setting.wineLoader);
    bool runs = false;
    bool known = !loaders.empty();
    for (const std::string& loader : loaders) {
        const int bits = elfBits(loader);
        if (bits == 32) runs = true;
        if (bits != 64) continue;
        if (loader.ends_with("64") && elfBits(loader.substr(0, loader.size() - 2)) == 32)
            runs = true;
        const std::string libraries = librariesOf(loader);
        std::error_code error;
        if (libraries.empty())
            known = false;
        else if (fs::is_regular_file(libraries + "/i386-windows/ntdll.dll", error))
            runs = true;
    }
    if (runs) return prefixLacks32Bit(setting.prefix) ? Wine32Bit::PrefixLacks : Wine32Bit::Runs;
    return known ? Wine32Bit::WineLacks : Wine32Bit::Unsure;
}

void requestPrefixUpdate(const std::string& prefix) {
    const std::string stamp = prefix + "/.update-timestamp";
    std::string first;
    std::ifstream(stamp) >> first;
    if (first != "disable") ::unlink(stamp.c_str());
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

int beginLocaleBuild(LocaleBuild& build, FileDescriptor& lock) {
    std::error_code error;
    fs::create_directories(fs::path(build.folder).parent_path(), error);
    if (error) return error.value();
    for (int attempt = 0; attempt < 8; ++attempt) {
        std::string output = build.folder + std::string(BuildMark) + "XXXXXX";
        if (!::mkdtemp(output.data())) return errno;
        FileDescriptor folder(::open(output.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (folder.get() < 0 || ::flock(folder.get(), LOCK_EX) != 0) return errno;
        // Between its creation and its lock another launcher may have taken it for abandoned.
        if (!stillNamed(folder.get(), output)) continue;
        build.output = output;
        build.arguments.push_back(std::move(output));
        lock = std::move(folder);
        return 0;
    }
    return EAGAIN;
}

void removeAbandonedLocaleBuilds(const LocaleBuild& build) {
    const std::string folder = fs::path(build.folder).parent_path().string();
    const std::string mark = fs::path(build.folder).filename().string() + std::string(BuildMark);
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), &::closedir);
    if (!dir) return;
    while (const dirent* entry = ::readdir(dir.get())) {
        if (std::string_view(entry->d_name).substr(0, mark.size()) != mark) continue;
        const std::string path = folder + "/" + entry->d_name;
        const FileDescriptor output(
            ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (output.get() < 0 || ::flock(output.get(), LOCK_EX | LOCK_NB) != 0) continue;
        std::error_code ignored;
        if (stillNamed(output.get(), path)) fs::remove_all(path, ignored);
    }
}

int finishLocaleBuild(const LocaleBuild& build) {
    if (::rename(build.output.c_str(), build.folder.c_str()) == 0) return 0;
    if (errno != ENOTEMPTY && errno != EEXIST) return errno;
    // A damaged locale holds the place: the two change places, and the damaged one goes.
    if (::renameat2(AT_FDCWD, build.output.c_str(), AT_FDCWD, build.folder.c_str(),
                    RENAME_EXCHANGE) != 0)
        return errno;
    std::error_code ignored;
    fs::remove_all(build.output, ignored);
    return 0;
}

std::string simulatorProcessName(std::string_view simulator) {
    const std::size_t slash = simulator.rfind('/');
    const std::string_view name =
        slash == std::string_view::npos ? simulator : simulator.substr(slash + 1);
    return std::string(name.substr(0, 15));
}

WineVerdict WineStartJudge::observe(double seconds, bool simulatorRuns, bool wineEnded) {
    if (wineEnded && endedAt_ < 0) endedAt_ = seconds;
    if (simulatorRuns) {
        if (runningSince_ < 0) runningSince_ = seconds;
        if (seconds - runningSince_ >= SettleSeconds) return WineVerdict::Started;
        return WineVerdict::Watching;
    }
    runningSince_ = -1;
    if (wineEnded) {
        return seconds - endedAt_ >= SettleSeconds ? WineVerdict::Failed : WineVerdict::Watching;
    }
    return seconds >= LimitSeconds ? WineVerdict::Started : WineVerdict::Watching;
}

#pragma once

#include <string>
#include <string_view>

// A simulator made on Windows runs through wine, which takes the simulator's ANSI code page from
// the locale of the process it starts. On the Polish Windows the simulator was made for, that
// code page is Windows-1250, so wine runs under the Polish UTF-8 locale, whatever the player's
// own locale is. Where the system has no such locale generated, the launcher builds it once with
// localedef into its cache folder and points wine at it with LOCPATH.
inline constexpr std::string_view PolishLocale = "pl_PL.UTF-8";

// What a start through wine runs with besides the simulator.
struct WineEnvironment {
    std::string wine;        // wine on the search path, "" when there is none
    std::string localedef;   // localedef on the search path, "" when there is none
    std::string cacheFolder; // the launcher's cache folder
    bool systemHasPolishLocale = false;
    // A built locale is read only by the C library that built it, so each version has its own.
    std::string libcVersion;
    std::string prefix;     // the wine prefix: WINEPREFIX, else ~/.wine
    std::string wineLoader; // WINELOADER as the player set it, "" when unset
};

// This user's: wine and localedef on the search path, the cache folder, the system's locales,
// the wine prefix.
WineEnvironment thisUsersWineEnvironment();

// The launcher's cache folder: rsim-launcher in XDG_CACHE_HOME, or in ~/.cache where that is
// unset or not an absolute path, as the XDG base directories have it. Either may be null.
std::string launcherCacheFolder(const char* xdgCacheHome, const char* home);

#pragma once

#include "platform/system/FileDescriptor.h"

#include <string>
#include <string_view>
#include <vector>

// A simulator made on Windows runs through wine, which takes the simulator's ANSI code page from
// the locale of the process it starts. On the Polish Windows the simulator was made for, that
// code page is Windows-1250, so wine runs under the Polish UTF-8 locale, whatever the player's
// own locale is. Where the system has no such locale generated, the launcher builds it once with
// localedef into its cache folder and points wine at it with LOCPATH.
inline constexpr std::string_view PolishLocale = "pl_PL.UTF-8";

// What a start through wine uses besides the simulator.
struct WineSetting {
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
WineSetting thisUsersWineSetting();

// The launcher's cache folder: rsim-launcher in XDG_CACHE_HOME, or in ~/.cache where that is
// unset or not an absolute path, as the XDG base directories have it. Either may be null.
std::string launcherCacheFolder(const char* xdgCacheHome, const char* home);

// Whether the wine a start runs can run a 32-bit Windows program, as far as its files tell.
//
// Wine is often a script that picks one of its loaders, so the loaders are the programs the
// script names. A 64-bit loader runs a 32-bit program through a 32-bit loader of the same name
// without "64" beside it, or, where wine was built for it (the WoW64 mode of wine 9 and later),
// itself, with 32-bit Windows libraries of its own (i386-windows/ntdll.dll). Either way the
// prefix needs its 32-bit system folder, syswow64, which only a wine that could run 32-bit
// programs fills when it creates the prefix.
enum class Wine32Bit {
    Runs,
    Unsure,      // wine's files do not tell: the start shows it
    WineLacks,   // neither a 32-bit loader nor wine's own 32-bit libraries
    PrefixLacks, // wine can, but the prefix was made by a wine that could not
};
Wine32Bit wine32BitSupport(const WineSetting& setting);

// Has wine bring the prefix up to date at its next start, as it does after a new version of
// wine: the stamp of its last update is removed, unless the player has turned updates off.
void requestPrefixUpdate(const std::string& prefix);

// The folder given to wine as LOCPATH, holding the built locale in a folder of its name.
std::string builtLocalesFolder(const WineSetting& setting);

// Building the locale. localedef writes it into a folder of its own beside its place, which is
// then renamed into place, so that neither a build cut short nor two launchers building at once
// leave half a locale where wine reads it.
struct LocaleBuild {
    std::string program; // localedef
    std::vector<std::string> arguments;
    std::string output; // the folder localedef writes into
    std::string folder; // where the finished locale belongs
};

// The build of the locale in the cache, should it be missing or damaged.
LocaleBuild localeBuild(const WineSetting& setting);

// Makes the cache folders and a fresh output folder, and names it last among the arguments. The
// output folder stays locked through lock while the build runs: a folder of a build that no
// launcher runs any more is unlocked, and removed by the next build. Returns 0 or the system
// error number (errno) of what failed.
int beginLocaleBuild(LocaleBuild& build, FileDescriptor& lock);

// Removes the output folders of builds whose launcher has gone, killed midway.
void removeAbandonedLocaleBuilds(const LocaleBuild& build);

// Moves a finished build into place, in place of a damaged locale where there is one. Returns 0
// or the system error number.
int finishLocaleBuild(const LocaleBuild& build);

// What the launcher has seen of the processes a start through wine made decides whether the
// simulator has started.
//
// Wine's process loads the simulator itself and takes its file name as its own, or hands it to
// another process of the start's session. Loading can still fail right after, on a library the
// simulator needs and the prefix lacks, so the start counts once a process of that name has
// run for a moment. Wine that ends without the simulator running, and with none running a
// moment later (a process it handed the simulator to may still be taking its name), has
// failed, whatever its exit status: a wine that cannot run the program may still end with 0.
// The first start in a fresh wine prefix creates the prefix first, which takes about ten
// seconds; a start whose wine neither ends nor shows the simulator within a minute (wine
// waiting on a question of its own, say) is left to run as started.
enum class WineVerdict { Watching, Started, Failed };

class WineStartJudge {
public:
    static constexpr double SettleSeconds = 1.5;
    static constexpr double LimitSeconds = 60;

    // At seconds since the start: whether a process of the start runs the simulator, and
    // whether wine's own process has ended.
    WineVerdict observe(double seconds, bool simulatorRuns, bool wineEnded);

private:
    double runningSince_ = -1;
    double endedAt_ = -1;
};

// The name a process running the simulator has, as the system shows it: the file name, cut to
// the 15 bytes a process name holds.
std::string simulatorProcessName(std::string_view simulator);

// The process name wine runs a program under when its own loader cannot take it, as with a
// 32-bit program in a wine without 32-bit support.
inline constexpr std::string_view WineHandOverName = "start.exe";

#pragma once

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
};

// This user's: wine and localedef on the search path, the cache folder, the system's locales.
WineSetting thisUsersWineSetting();

// The launcher's cache folder: rsim-launcher in XDG_CACHE_HOME, or in ~/.cache where that is
// unset or not an absolute path, as the XDG base directories have it. Either may be null.
std::string launcherCacheFolder(const char* xdgCacheHome, const char* home);

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

// The build for a setting whose system has no Polish locale and whose cache holds none yet.
LocaleBuild localeBuild(const WineSetting& setting);

// Makes the cache folders and a fresh output folder, and names it last among the arguments.
// Returns 0 or the system error number (errno) of what failed.
int beginLocaleBuild(LocaleBuild& build);

// Moves a finished build into place. Where another launcher's build got there first, that one
// is kept and this one removed. Returns 0 or the system error number.
int finishLocaleBuild(const LocaleBuild& build);

// What the launcher has seen of wine's process decides whether the simulator has started.
//
// The process wine is started as loads the simulator itself and then takes the simulator's file
// name as its own. Loading can still fail right after, on a library the simulator needs and
// the prefix lacks, so the start counts once the process has carried that name for a moment.
// The first start in a fresh wine prefix creates the prefix first, which takes about ten seconds
// before the name changes; a start that neither ends nor loads the simulator within a minute
// (wine waiting on a question of its own, say) is left to run as started.
// A process that ends before that decides by its exit status: wine ends with 0 when it handed
// the simulator to a process of its own that runs.
enum class WineVerdict { Watching, Started, Failed };

class WineStartJudge {
public:
    static constexpr double SettleSeconds = 1.5;
    static constexpr double LimitSeconds = 60;

    // simulator is the simulator's path as wine is given it.
    explicit WineStartJudge(std::string_view simulator);

    // At seconds since the start, wine's process carries processName.
    WineVerdict observe(double seconds, std::string_view processName);
    // Wine's process has ended with waitStatus, as waitpid reports it.
    static WineVerdict ended(int waitStatus);

private:
    std::string name_;
    double loadedAt_ = -1;
};

// The name wine's process takes for the simulator, as the system shows it: the file name, cut
// to the 15 bytes a process name holds.
std::string simulatorProcessName(std::string_view simulator);

// The process name wine runs a program under when its own loader cannot take it, as with a
// 32-bit program in a wine without 32-bit support.
inline constexpr std::string_view WineHandOverName = "start.exe";

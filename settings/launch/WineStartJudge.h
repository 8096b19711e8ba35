#pragma once

#include <string>
#include <string_view>

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

#include "settings/launch/WineStartJudge.h"

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

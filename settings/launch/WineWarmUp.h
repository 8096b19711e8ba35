#pragma once

#include "platform/system/FileDescriptor.h"
#include "platform/system/ProgramStart.h"
#include "settings/launch/LocaleCache.h"
#include "settings/launch/SimulatorCommand.h"
#include "settings/launch/WineEnvironment.h"

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// Wine made ready for a start while the launcher's window is open. A start through wine that
// finds no wine running waits most of a second for wine to come up first: its server, the
// services that wine's boot starts, the desktop process and the loading of their libraries, and
// on the very first start seconds more for the Polish locale. The warm-up does all of that
// before the press, the way any start would, under the same prefix and environment the start
// uses, and keeps it running with a Windows command interpreter that waits for input the
// launcher never sends. The interpreter ends once the launcher has gone, and with it, soon
// after, the rest of wine. It shows no window and plays no sound.
//
// A warm-up never creates or updates a wine prefix: where wine would have to, it does nothing,
// and the start does it as it always has. Nothing is warmed up for a native simulator.
struct WineWarmUpPlan {
    std::string wine;
    // The Windows command interpreter that keeps wine running: the 32-bit one for a 32-bit
    // simulator, where the prefix has it, so that the libraries the simulator loads are read.
    std::string interpreter;
    std::vector<std::pair<std::string, std::string>> environment;
    std::optional<LocaleBuild> localeBuild;
    std::string outputFile; // wine's output while it warms up, in the launcher's cache folder
    // How long wine stays ready after the launcher has gone, for a launcher opened again.
    std::chrono::seconds stays{120};
};

// The warm-up for a start of command, or none where there is nothing to warm up or wine would
// have to create or update the prefix first. wine is the environment command was made with.
std::optional<WineWarmUpPlan> wineWarmUpPlan(const SimulatorCommand& command,
                                             const WineEnvironment& wine);

// The same for this user's start of the installation's simulator.
std::optional<WineWarmUpPlan> wineWarmUpPlan(const std::string& installRoot);

// Whether wine would bring the prefix up to date at its next start: it does so where the prefix
// or its stamp is missing, or where the stamp names another version of wine's setup file,
// wine.inf, than the one beside wine.
bool winePrefixNeedsUpdate(const WineEnvironment& wine);

// A warm-up, asked along by its owner every LookEveryMs from the event loop until it is no
// longer Working. Its owner lets it go when the launcher ends, however it ends; wine then stays
// ready for the plan's stay.
class WineWarmUp {
public:
    static constexpr int LookEveryMs = 100;

    // Ready: wine is up and waits for a start. Off: nothing runs, or what runs is no longer
    // looked at; a start works as it does without a warm-up.
    enum class State { Working, Ready, Off };

    explicit WineWarmUp(std::optional<WineWarmUpPlan> plan);
    ~WineWarmUp();
    WineWarmUp(const WineWarmUp&) = delete;
    WineWarmUp& operator=(const WineWarmUp&) = delete;

    State begin();
    State poll();
    // A start has been pressed and takes over: what has not begun yet is left to it, so that it
    // shares the processors with nothing it does not need. A locale being built is finished.
    void leaveToStart();
    // Whether the Polish locale is being built, which a start needs whole and would otherwise
    // build a second time.
    bool buildingLocale() const { return locale_ && !keeper_ && state_ == State::Working; }

private:
    State afterLocale(LocalePreparation::State locale);
    State startKeeper();
    State off();

    std::optional<WineWarmUpPlan> plan_;
    State state_ = State::Off;
    bool leftToStart_ = false;
    FileDescriptor output_;
    std::unique_ptr<LocalePreparation> locale_;
    // The launcher's end of the keeper's input; closed, it ends the keeper.
    FileDescriptor keeperInput_;
    std::unique_ptr<ChildProcess> keeper_;
    std::chrono::steady_clock::time_point keeperStarted_;
};

#pragma once

#include "platform/system/FileDescriptor.h"
#include "platform/system/ProgramStart.h"
#include "settings/launch/LocaleCache.h"
#include "settings/launch/SimulatorCommand.h"
#include "settings/launch/StartFailure.h"
#include "settings/launch/WineStartJudge.h"

#include <chrono>
#include <memory>
#include <string>

// A press of the start button: runs the command and, for a Windows simulator, watches the
// processes of its start through wine until the simulator has started or the start has failed.
// A native simulator has started as soon as it runs; a start that cannot work (a 32-bit
// simulator this wine cannot run) fails before anything runs. Its owner asks it along every
// LookEveryMs from the event loop, so that the launcher's windows stay alive however long wine
// takes. Wine's output and error output go to a file in the launcher's cache folder, never to a
// pipe: a pipe would kill wine, and the simulator with it, on its first write after the launcher
// has ended. The Polish locale is made ready first where the command takes it from the cache.
//
// A simulator still running when its owner lets it go is reaped when it ends.
class WatchedStart {
public:
    // The start's processes are looked at this often; a start takes from a tenth of a second to
    // ten seconds.
    static constexpr int LookEveryMs = 50;

    enum class State { Watching, Started, Failed };

    explicit WatchedStart(SimulatorCommand command);

    const SimulatorCommand& command() const { return command_; }
    State begin();
    // While Watching: what has become of the start since.
    State poll();
    const StartFailure& failure() const { return failure_; }
    // What the error box says of the failure, in the interface language.
    std::string failureMessage(Language language) const;

private:
    State startNative();
    State afterLocale(LocalePreparation::State locale);
    State startWine();
    State look();
    State fail(StartFailure failure);

    SimulatorCommand command_;
    std::string simulatorName_;
    FileDescriptor output_;
    std::unique_ptr<LocalePreparation> locale_;
    std::unique_ptr<ChildProcess> wine_;
    WineStartJudge judge_;
    std::chrono::steady_clock::time_point started_;
    StartFailure failure_;
};

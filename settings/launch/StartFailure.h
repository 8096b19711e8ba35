#pragma once

#include "platform/system/Language.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct SimulatorCommand;

// How a start failed.
struct StartFailure {
    enum class Cause {
        Start,       // the process could not be started: error
        CacheFolder, // the launcher's cache folder could not be written: error
        Locale,      // localedef could not build the Polish locale: error or waitStatus
        Wine,        // wine ended before the simulator ran: waitStatus
        NoWine32,    // seen before the start: this wine cannot run a 32-bit program
    };
    Cause cause = Cause::Start;
    int error = 0;      // a system error number (errno)
    int waitStatus = 0; // how the process ended, as waitpid reports it
    // Wine: the process name wine had last, which tells a program it could not load itself.
    std::string lastProcessName;
    // Locale, Wine: the last lines of the output.
    std::vector<std::string> lines;
};

// What refuses the start before anything runs: a 32-bit simulator that this wine cannot run.
std::optional<StartFailure> startRefusal(const SimulatorCommand& command);

// The error box's text, in the interface language. UTF-8; the path is shown by the file-name
// rule, the lines of output as they were written.
std::string startFailureMessage(Language language, const SimulatorCommand& command,
                                const StartFailure& failure);

// The same for a process that could not be started, with the system error number.
std::string startFailureMessage(Language language, const SimulatorCommand& command, int error);

// The last count lines of a program's output that hold more than blanks, without their line
// ends.
std::vector<std::string> lastLines(std::string_view output, std::size_t count);

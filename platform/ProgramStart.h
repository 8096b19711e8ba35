#pragma once

#include <string>
#include <string_view>
#include <vector>

// How a start went: error is 0 when the program runs, else the system error number (errno) of
// the step that failed: ENOENT for a program that does not exist or is not named by an absolute
// path, EACCES for one that may not be executed, ENOEXEC for a file the system cannot run, or
// what making the process or entering the working folder met.
struct RunResult {
    int error = 0;
    explicit operator bool() const { return error == 0; }
};

// Starts program, named by its absolute path, with arguments after its own name, in
// workingFolder, and returns as soon as it runs, without waiting for it to end. No shell comes
// between: each argument reaches the program as these bytes. The program is no child of the
// launcher and runs in a session of its own, so it leaves no zombie behind and goes on when the
// launcher or the launcher's terminal ends.
RunResult run(const std::string& program, const std::vector<std::string>& arguments,
              const std::string& workingFolder);

// The first executable file of that name in the folders of the search path (PATH), "" when
// there is none. Relative folders on the path are passed over: they would depend on the current
// folder, which the launcher moves with its scenery list.
std::string findOnSearchPath(std::string_view name);

#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

// How a start went: error is 0 when the program runs, else the system error number (errno) of
// the step that failed: ENOENT for a program that does not exist or is not named by an absolute
// path, EACCES for one that may not be executed, ENOEXEC for a file the system cannot run, or
// what making the process or entering the working folder met.
struct RunResult {
    int error = 0;
    pid_t pid = -1;
    explicit operator bool() const { return error == 0; }
};

struct RunOptions {
    // Variables set over the launcher's own, for the program alone.
    std::vector<std::pair<std::string, std::string>> environment;
    // A descriptor that takes the program's output and error output; -1 leaves them the
    // launcher's.
    int output = -1;
    // A descriptor the program reads as its input; -1 leaves it the launcher's.
    int input = -1;
};

// Starts program, named by its absolute path, with arguments after its own name, in
// workingFolder, and returns as soon as it runs, without waiting for it to end. No shell comes
// between: each argument reaches the program as these bytes. The program runs in a session of
// its own, so it goes on when the launcher's terminal ends, and it gets none of the launcher's
// descriptors beyond the standard three. It is the launcher's child until it ends, and a
// ChildProcess or reapWhenEnded reaps it then; a launcher that ends first hands it to the system.
RunResult run(const std::string& program, const std::vector<std::string>& arguments,
              const std::string& workingFolder, const RunOptions& options = {});

// Whether a process of the session whose leader was pid, still running, carries name, as the
// system shows a process's name (15 bytes at most). The processes of a session stay in it after
// its leader has ended.
bool sessionHasProcessNamed(pid_t session, std::string_view name);

// Runs a program as run does, waits for its end and returns its output and error output
// together; "" when it could not be started or did not end with 0. For short checks whose
// output is small.
std::string outputOf(const std::string& program, const std::vector<std::string>& arguments,
                     const RunOptions& options = {});

// Reaps a child that run started and nobody watches, whenever it ends, so that it never lingers
// as a zombie.
void reapWhenEnded(pid_t pid);

// A child that run started, looked at when its owner asks: whether it has ended, how, and the
// name it has or last had. A child still running when its owner lets it go is reaped whenever
// it ends.
class ChildProcess {
public:
    explicit ChildProcess(pid_t pid) : pid_(pid) {}
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t pid() const { return pid_; }
    // Whether the child has ended; the first time it finds that, it reaps the child.
    bool hasEnded();
    // How it ended, as waitpid reports it, once hasEnded has said so.
    int waitStatus() const { return waitStatus_; }
    // The name the system shows for the process, at most 15 bytes; once the process has
    // ended, the last name it had.
    std::string name() const;

private:
    pid_t pid_;
    bool ended_ = false;
    int waitStatus_ = 0;
    std::string lastName_;
};

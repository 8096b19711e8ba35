#include "platform/ProgramStart.h"

#include "platform/PathComponents.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>

namespace {

// Between fork and exec only async-signal-safe calls are made: the launcher has threads of its
// own, whose locks may be held at the moment of the fork.
[[noreturn]] void reportAndExit(int pipe, int error) {
    // Four bytes into a pipe whose reader is waiting for them.
    [[maybe_unused]] const ssize_t written = ::write(pipe, &error, sizeof error);
    ::_exit(127);
}

// What the launcher blocked or ignored for itself must not be handed on to the simulator.
void restoreSignals() {
    sigset_t none;
    ::sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    struct sigaction byDefault {};
    byDefault.sa_handler = SIG_DFL;
    ::sigaction(SIGPIPE, &byDefault, nullptr);
    ::sigaction(SIGCHLD, &byDefault, nullptr);
}

bool isExecutableFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

} // namespace

RunResult run(const std::string& program, const std::vector<std::string>& arguments,
              const std::string& workingFolder) {
    if (program.empty() || program.front() != '/') return {ENOENT};
    std::vector<char*> argv;
    argv.reserve(arguments.size() + 2);
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    // The program's side of the pipe closes when exec succeeds; before that, a failure is
    // written into it.
    int pipe[2];
    if (::pipe2(pipe, O_CLOEXEC) != 0) return {errno};
    const pid_t middle = ::fork();
    if (middle < 0) {
        const int error = errno;
        ::close(pipe[0]);
        ::close(pipe[1]);
        return {error};
    }
    if (middle == 0) {
        ::close(pipe[0]);
        if (::setsid() < 0) reportAndExit(pipe[1], errno);
        const pid_t started = ::fork();
        if (started < 0) reportAndExit(pipe[1], errno);
        // The middle process ends at once, so the program is handed to the system's reaper.
        if (started > 0) ::_exit(0);
        restoreSignals();
        if (::chdir(workingFolder.c_str()) != 0) reportAndExit(pipe[1], errno);
        ::execv(argv[0], argv.data());
        reportAndExit(pipe[1], errno);
    }
    ::close(pipe[1]);
    int error = 0;
    ssize_t n;
    do n = ::read(pipe[0], &error, sizeof error);
    while (n < 0 && errno == EINTR);
    ::close(pipe[0]);
    if (n != sizeof error) error = 0;
    int status = 0;
    while (::waitpid(middle, &status, 0) < 0 && errno == EINTR) {
    }
    // A middle process that died before it could fork reports nothing through the pipe.
    if (error == 0 && !(WIFEXITED(status) && WEXITSTATUS(status) == 0)) error = ECHILD;
    return {error};
}

std::string findOnSearchPath(std::string_view name) {
    const char* variable = std::getenv("PATH");
    // Without PATH, the system's default search path, as execvp uses it.
    const std::string_view searchPath = variable ? variable : "/bin:/usr/bin";
    std::string found;
    forEachPathComponent(searchPath, ":", [&found, name](std::string_view folder) {
        if (!found.empty() || folder.front() != '/') return;
        std::string candidate(folder);
        if (candidate.back() != '/') candidate += '/';
        candidate += name;
        if (isExecutableFile(candidate)) found = std::move(candidate);
    });
    return found;
}

#include "platform/system/ProgramStart.h"

#include "platform/system/FileDescriptor.h"

#include <dirent.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <thread>

extern char** environ;

namespace {

// The launcher's environment with the given variables set over it.
std::vector<std::string>
environmentWith(const std::vector<std::pair<std::string, std::string>>& variables) {
    std::vector<std::string> out;
    for (char** entry = environ; *entry; ++entry) {
        const std::string_view variable = *entry;
        const std::string_view name = variable.substr(0, variable.find('='));
        bool replaced = false;
        for (const auto& [setName, value] : variables) replaced = replaced || name == setName;
        if (!replaced) out.emplace_back(variable);
    }
    for (const auto& [name, value] : variables) out.push_back(name + "=" + value);
    return out;
}

std::vector<char*> pointers(const std::vector<std::string>& strings) {
    std::vector<char*> out;
    out.reserve(strings.size() + 1);
    for (const std::string& s : strings) out.push_back(const_cast<char*>(s.c_str()));
    out.push_back(nullptr);
    return out;
}

} // namespace

RunResult run(const std::string& program, const std::vector<std::string>& arguments,
              const std::string& workingFolder, const RunOptions& options) {
    if (program.empty() || program.front() != '/') return {ENOENT};
    std::vector<std::string> argvStrings{program};
    argvStrings.insert(argvStrings.end(), arguments.begin(), arguments.end());
    const std::vector<char*> argv = pointers(argvStrings);
    std::vector<std::string> envStrings;
    std::vector<char*> envp;
    if (!options.environment.empty()) {
        envStrings = environmentWith(options.environment);
        envp = pointers(envStrings);
    }

    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    if (options.input >= 0)
        ::posix_spawn_file_actions_adddup2(&actions, options.input, STDIN_FILENO);
    if (options.output >= 0) {
        ::posix_spawn_file_actions_adddup2(&actions, options.output, STDOUT_FILENO);
        ::posix_spawn_file_actions_adddup2(&actions, options.output, STDERR_FILENO);
    }
    ::posix_spawn_file_actions_addchdir_np(&actions, workingFolder.c_str());
    // Whatever the launcher's libraries opened without close-on-exec stays with the launcher.
    ::posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);

    // What the launcher blocked or ignored for itself is not handed on to the program.
    posix_spawnattr_t attributes;
    ::posix_spawnattr_init(&attributes);
    ::posix_spawnattr_setflags(&attributes,
                               POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    sigset_t none;
    ::sigemptyset(&none);
    ::posix_spawnattr_setsigmask(&attributes, &none);
    sigset_t byDefault;
    ::sigemptyset(&byDefault);
    ::sigaddset(&byDefault, SIGPIPE);
    ::sigaddset(&byDefault, SIGCHLD);
    ::posix_spawnattr_setsigdefault(&attributes, &byDefault);

    pid_t pid = -1;
    // The C library reports a failed exec with its error number, and reaps that child itself.
    const int error = ::posix_spawn(&pid, argv[0], &actions, &attributes, argv.data(),
                                    envp.empty() ? environ : envp.data());
    ::posix_spawnattr_destroy(&attributes);
    ::posix_spawn_file_actions_destroy(&actions);
    return {error, error ? -1 : pid};
}

bool sessionHasProcessNamed(pid_t session, std::string_view name) {
    const std::unique_ptr<DIR, int (*)(DIR*)> processes(::opendir("/proc"), &::closedir);
    if (!processes) return false;
    while (const dirent* entry = ::readdir(processes.get())) {
        if (entry->d_name[0] < '1' || entry->d_name[0] > '9') continue;
        const FileDescriptor stat(::open(("/proc/" + std::string(entry->d_name) + "/stat").c_str(),
                                         O_RDONLY | O_CLOEXEC));
        char buffer[512];
        const ssize_t size = stat.get() < 0 ? -1 : ::read(stat.get(), buffer, sizeof buffer - 1);
        if (size <= 0) continue;
        // "pid (name) state parent group session ...": the name may hold blanks and brackets.
        const std::string_view line(buffer, static_cast<std::size_t>(size));
        const std::size_t open = line.find('('), close = line.rfind(')');
        if (open == std::string_view::npos || close == std::string_view::npos || close < open)
            continue;
        if (line.substr(open + 1, close - open - 1) != name) continue;
        char state = 0;
        long parent = 0, group = 0, itsSession = 0;
        const std::string rest(line.substr(close + 1));
        if (std::sscanf(rest.c_str(), " %c %ld %ld %ld", &state, &parent, &group, &itsSession) ==
                4 &&
            itsSession == session && state != 'Z' && state != 'X')
            return true;
    }
    return false;
}

std::string outputOf(const std::string& program, const std::vector<std::string>& arguments,
                     const RunOptions& options) {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) return {};
    FileDescriptor reading(ends[0]);
    FileDescriptor writing(ends[1]);
    RunOptions withOutput = options;
    withOutput.output = writing.get();
    const RunResult started = run(program, arguments, "/", withOutput);
    writing.close();
    if (!started) return {};
    std::string output;
    char buffer[4096];
    ssize_t got;
    while ((got = ::read(reading.get(), buffer, sizeof buffer)) != 0) {
        if (got > 0)
            output.append(buffer, static_cast<std::size_t>(got));
        else if (errno != EINTR)
            break;
    }
    int status = 0;
    while (::waitpid(started.pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? output : std::string();
}

void reapWhenEnded(pid_t pid) {
    std::thread([pid] {
        while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
        }
    }).detach();
}

ChildProcess::~ChildProcess() {
    if (!ended_) reapWhenEnded(pid_);
}

bool ChildProcess::hasEnded() {
    if (ended_) return true;
    // Looked at without reaping first: an ended process keeps its name until it is reaped.
    siginfo_t info{};
    if (::waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT) != 0 ||
        info.si_pid == 0)
        return false;
    lastName_ = name();
    while (::waitpid(pid_, &waitStatus_, 0) < 0 && errno == EINTR) {
    }
    ended_ = true;
    return true;
}

std::string ChildProcess::name() const {
    if (ended_) return lastName_;
    std::ifstream comm("/proc/" + std::to_string(pid_) + "/comm");
    std::string name;
    std::getline(comm, name);
    return name;
}

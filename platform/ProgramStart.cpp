#include "platform/ProgramStart.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <fcntl.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fstream>

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

ChildProcess::ChildProcess(pid_t pid, QObject* parent) : QObject(parent), pid_(pid) {
    // Called directly: the C library's header for it declares it without C linkage.
    pidfd_ = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
    if (pidfd_ < 0) return;
    // The descriptor becomes readable when the process ends.
    notifier_ = new QSocketNotifier(pidfd_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &ChildProcess::reap);
}

ChildProcess::~ChildProcess() {
    if (pidfd_ >= 0) ::close(pidfd_);
}

void ChildProcess::reapWhenEnded(pid_t pid) {
    (new ChildProcess(pid))->reapWhenEnded();
}

void ChildProcess::reapWhenEnded() {
    setParent(QCoreApplication::instance());
    if (ended_) {
        deleteLater();
        return;
    }
    connect(this, &ChildProcess::ended, this, &QObject::deleteLater);
}

std::string ChildProcess::name() const {
    if (ended_) return lastName_;
    std::ifstream comm("/proc/" + std::to_string(pid_) + "/comm");
    std::string name;
    std::getline(comm, name);
    return name;
}

void ChildProcess::reap() {
    // An ended process keeps its name until it is reaped.
    lastName_ = name();
    int status = 0;
    pid_t reaped;
    do reaped = ::waitpid(pid_, &status, WNOHANG);
    while (reaped < 0 && errno == EINTR);
    if (reaped == 0) return;
    ended_ = true;
    notifier_->setEnabled(false);
    ::close(pidfd_);
    pidfd_ = -1;
    emit ended(status);
}

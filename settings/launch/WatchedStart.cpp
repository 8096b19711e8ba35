#include "settings/launch/WatchedStart.h"

#include "platform/system/ProgramStart.h"
#include "settings/launch/WineLocale.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

namespace {

// The start's processes are looked at this often; a start takes from a tenth of a second to ten
// seconds.
constexpr int LookEveryMs = 50;
// The box quotes this many of the last lines of the output, read from this far back.
constexpr std::size_t QuotedLines = 4;
constexpr off_t TailBytes = 16384;

StartFailure failureOf(StartFailure::Cause cause, int error, int waitStatus = 0) {
    StartFailure failure;
    failure.cause = cause;
    failure.error = error;
    failure.waitStatus = waitStatus;
    return failure;
}

std::string tailOf(const std::string& path) {
    std::string tail;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return tail;
    const off_t size = ::lseek(fd, 0, SEEK_END);
    const off_t from = size > TailBytes ? size - TailBytes : 0;
    tail.resize(static_cast<std::size_t>(size - from));
    const ssize_t got = size > 0 ? ::pread(fd, tail.data(), tail.size(), from) : 0;
    tail.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    ::close(fd);
    return tail;
}

} // namespace

WatchedStart::WatchedStart(SimulatorCommand command, QObject* parent)
    : QObject(parent), command_(std::move(command)) {
    lookAgain_.setInterval(LookEveryMs);
    connect(&lookAgain_, &QTimer::timeout, this, &WatchedStart::look);
}

WatchedStart::~WatchedStart() {
    if (output_ >= 0) ::close(output_);
}

void WatchedStart::begin() {
    std::error_code folder;
    std::filesystem::create_directories(std::filesystem::path(command_.outputFile).parent_path(),
                                        folder);
    if (folder) return fail(failureOf(StartFailure::Cause::CacheFolder, folder.value()));
    // Appended to, so that a wine still running from an earlier start writes after the new text
    // rather than over it.
    output_ = ::open(command_.outputFile.c_str(),
                     O_WRONLY | O_CREAT | O_TRUNC | O_APPEND | O_CLOEXEC, 0644);
    if (output_ < 0) return fail(failureOf(StartFailure::Cause::CacheFolder, errno));
    if (!command_.localeBuild) return startWine();
    auto* locale = new LocalePreparation(*command_.localeBuild, output_, this);
    connect(locale, &LocalePreparation::ready, this, &WatchedStart::startWine);
    connect(locale, &LocalePreparation::failed, this, &WatchedStart::fail);
    locale->begin();
}

void WatchedStart::startWine() {
    if (!command_.prefixToUpdate.empty()) requestPrefixUpdate(command_.prefixToUpdate);
    const RunResult started = run(command_.program, command_.arguments, command_.workingFolder,
                                  {command_.environment, output_});
    if (!started) return fail(failureOf(StartFailure::Cause::Start, started.error));
    child_ = new ChildProcess(started.pid, this);
    connect(child_, &ChildProcess::ended, this, &WatchedStart::wineEnded);
    simulatorName_ = simulatorProcessName(command_.simulator);
    clock_.start();
    lookAgain_.start();
}

// Wine's own process mostly becomes the simulator; only where it does not are the other
// processes of the start looked through.
void WatchedStart::look() {
    const double seconds = static_cast<double>(clock_.nsecsElapsed()) / 1e9;
    const bool ended = child_->hasEnded();
    const bool runs = (!ended && child_->name() == simulatorName_) ||
                      sessionHasProcessNamed(child_->pid(), simulatorName_);
    switch (judge_.observe(seconds, runs, ended)) {
    case WineVerdict::Started:
        return succeed();
    case WineVerdict::Failed: {
        StartFailure failure = failureOf(StartFailure::Cause::Wine, 0, waitStatus_);
        failure.lastProcessName = child_->name();
        return fail(std::move(failure));
    }
    case WineVerdict::Watching:
        return;
    }
}

void WatchedStart::wineEnded(int waitStatus) {
    waitStatus_ = waitStatus;
    if (lookAgain_.isActive()) look();
}

void WatchedStart::succeed() {
    release();
    emit started();
}

void WatchedStart::fail(StartFailure failure) {
    release();
    if (failure.cause == StartFailure::Cause::Locale || failure.cause == StartFailure::Cause::Wine)
        failure.lines = lastLines(tailOf(command_.outputFile), QuotedLines);
    emit failed(failure);
}

// Reports once; a simulator that goes on running is reaped when it ends.
void WatchedStart::release() {
    lookAgain_.stop();
    if (child_ && !child_->hasEnded()) child_->reapWhenEnded();
    deleteLater();
}

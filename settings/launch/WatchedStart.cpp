#include "settings/launch/WatchedStart.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

namespace {

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
    const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0) return tail;
    const off_t size = ::lseek(file.get(), 0, SEEK_END);
    const off_t from = size > TailBytes ? size - TailBytes : 0;
    tail.resize(static_cast<std::size_t>(size - from));
    const ssize_t got = size > 0 ? ::pread(file.get(), tail.data(), tail.size(), from) : 0;
    tail.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return tail;
}

} // namespace

WatchedStart::WatchedStart(SimulatorCommand command) : command_(std::move(command)) {}

WatchedStart::State WatchedStart::begin() {
    if (std::optional<StartFailure> refusal = startRefusal(command_))
        return fail(std::move(*refusal));
    if (!command_.throughWine()) return startNative();
    std::error_code folder;
    std::filesystem::create_directories(std::filesystem::path(command_.outputFile).parent_path(),
                                        folder);
    if (folder) return fail(failureOf(StartFailure::Cause::CacheFolder, folder.value()));
    // Appended to, so that a wine still running from an earlier start writes after the new text
    // rather than over it.
    output_ = FileDescriptor(::open(command_.outputFile.c_str(),
                                    O_WRONLY | O_CREAT | O_TRUNC | O_APPEND | O_CLOEXEC, 0644));
    if (output_.get() < 0) return fail(failureOf(StartFailure::Cause::CacheFolder, errno));
    if (!command_.localeBuild) return startWine();
    locale_ = std::make_unique<LocalePreparation>(*command_.localeBuild, output_.get());
    return afterLocale(locale_->begin());
}

WatchedStart::State WatchedStart::poll() {
    if (wine_) return look();
    return locale_ ? afterLocale(locale_->poll()) : State::Watching;
}

WatchedStart::State WatchedStart::afterLocale(LocalePreparation::State locale) {
    switch (locale) {
    case LocalePreparation::State::Ready:
        return startWine();
    case LocalePreparation::State::Failed:
        return fail(locale_->failure());
    case LocalePreparation::State::Working:
        break;
    }
    return State::Watching;
}

WatchedStart::State WatchedStart::startNative() {
    const RunResult started = run(command_.program, command_.arguments, command_.workingFolder);
    if (!started) return fail(failureOf(StartFailure::Cause::Start, started.error));
    reapWhenEnded(started.pid);
    return State::Started;
}

WatchedStart::State WatchedStart::startWine() {
    if (!command_.prefixToUpdate.empty()) requestPrefixUpdate(command_.prefixToUpdate);
    const RunResult started = run(command_.program, command_.arguments, command_.workingFolder,
                                  {command_.environment, output_.get()});
    if (!started) return fail(failureOf(StartFailure::Cause::Start, started.error));
    wine_ = std::make_unique<ChildProcess>(started.pid);
    simulatorName_ = simulatorProcessName(command_.simulator);
    started_ = std::chrono::steady_clock::now();
    return State::Watching;
}

// Wine's own process mostly becomes the simulator; only where it does not are the other
// processes of the start looked through.
WatchedStart::State WatchedStart::look() {
    const std::chrono::duration<double> since = std::chrono::steady_clock::now() - started_;
    const bool ended = wine_->hasEnded();
    const bool runs = (!ended && wine_->name() == simulatorName_) ||
                      sessionHasProcessNamed(wine_->pid(), simulatorName_);
    switch (judge_.observe(since.count(), runs, ended)) {
    case WineVerdict::Started:
        return State::Started;
    case WineVerdict::Failed: {
        StartFailure failure = failureOf(StartFailure::Cause::Wine, 0, wine_->waitStatus());
        failure.lastProcessName = wine_->name();
        return fail(std::move(failure));
    }
    case WineVerdict::Watching:
        break;
    }
    return State::Watching;
}

WatchedStart::State WatchedStart::fail(StartFailure failure) {
    if (failure.cause == StartFailure::Cause::Locale || failure.cause == StartFailure::Cause::Wine)
        failure.lines = lastLines(tailOf(command_.outputFile), QuotedLines);
    failure_ = std::move(failure);
    return State::Failed;
}

std::string WatchedStart::failureMessage(Language language) const {
    return startFailureMessage(language, command_, failure_);
}

#include "settings/launch/WineWarmUp.h"

#include "settings/launch/StartFailure.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

// The interpreter reads its input through a shell, which holds the input open for the plan's
// stay after the launcher's end of the shell's own input has closed, however the launcher ended.
constexpr const char* KeeperScript =
    "seconds=$1; shift; (cat >/dev/null; exec sleep \"$seconds\") | exec \"$@\"";
// Run by the interpreter, it makes wine start its desktop process, and ends at once.
constexpr const char* DesktopStarter = "rundll32.exe";
constexpr std::string_view InterpreterName = "cmd.exe";
// Past this, a keeper whose interpreter does not run is no longer looked at.
constexpr std::chrono::seconds KeeperLimit{60};

// wine.inf of the wine on the search path, which lies in share/wine of the installation that
// holds wine's programs: /usr/bin/wine and /usr/share/wine, /opt/wine/bin/wine and
// /opt/wine/share/wine. "" where it is not found.
std::string wineSetupFile(const std::string& wine) {
    std::error_code error;
    const fs::path program(wine);
    const fs::path resolved = fs::canonical(program, error);
    for (const fs::path& folder : {program.parent_path(), resolved.parent_path()}) {
        if (folder.empty()) continue;
        for (const char* relative : {"../share/wine/wine.inf", "../../share/wine/wine.inf"}) {
            const fs::path file = (folder / relative).lexically_normal();
            if (fs::is_regular_file(file, error)) return file.string();
        }
    }
    return {};
}

bool fileExists(const std::string& path) {
    std::error_code error;
    return fs::is_regular_file(path, error);
}

} // namespace

bool winePrefixNeedsUpdate(const WineEnvironment& wine) {
    if (wine.prefix.empty() || wine.wine.empty()) return true;
    std::ifstream stampFile(wine.prefix + "/.update-timestamp");
    std::string stamp;
    if (!(stampFile >> stamp)) return true;
    // The player has turned updates off.
    if (stamp.rfind("disable", 0) == 0) return false;
    const std::string setup = wineSetupFile(wine.wine);
    struct stat setupFile {};
    if (setup.empty() || ::stat(setup.c_str(), &setupFile) != 0) return true;
    char* end = nullptr;
    const unsigned long long written = std::strtoull(stamp.c_str(), &end, 10);
    return end == stamp.c_str() || written != static_cast<unsigned long long>(setupFile.st_mtime);
}

std::optional<WineWarmUpPlan> wineWarmUpPlan(const SimulatorCommand& command,
                                             const WineEnvironment& wine) {
    if (!command.throughWine() || startRefusal(command) || !command.prefixToUpdate.empty() ||
        winePrefixNeedsUpdate(wine))
        return std::nullopt;
    WineWarmUpPlan plan;
    plan.wine = command.program;
    plan.interpreter =
        command.windowsBits == 32 && fileExists(wine.prefix + "/drive_c/windows/syswow64/cmd.exe")
            ? "C:\\windows\\syswow64\\cmd.exe"
            : "C:\\windows\\system32\\cmd.exe";
    plan.environment = command.environment;
    plan.localeBuild = command.localeBuild;
    plan.outputFile = wine.cacheFolder + "/wine-warm-up.log";
    return plan;
}

std::optional<WineWarmUpPlan> wineWarmUpPlan(const std::string& installRoot) {
    const WineEnvironment wine = thisUsersWineEnvironment();
    return wineWarmUpPlan(simulatorCommand(installRoot, "", "", wine), wine);
}

WineWarmUp::WineWarmUp(std::optional<WineWarmUpPlan> plan) : plan_(std::move(plan)) {}

WineWarmUp::~WineWarmUp() = default;

WineWarmUp::State WineWarmUp::begin() {
    if (!plan_) return off();
    std::error_code folder;
    fs::create_directories(fs::path(plan_->outputFile).parent_path(), folder);
    output_ = FileDescriptor(::open(plan_->outputFile.c_str(),
                                    O_WRONLY | O_CREAT | O_TRUNC | O_APPEND | O_CLOEXEC, 0644));
    if (folder || output_.get() < 0) return off();
    state_ = State::Working;
    if (!plan_->localeBuild) return startKeeper();
    locale_ = std::make_unique<LocalePreparation>(*plan_->localeBuild, output_.get());
    return afterLocale(locale_->begin());
}

WineWarmUp::State WineWarmUp::poll() {
    if (state_ != State::Working) return state_;
    if (!keeper_) return afterLocale(locale_->poll());
    if (sessionHasProcessNamed(keeper_->pid(), InterpreterName)) {
        state_ = State::Ready;
        return state_;
    }
    if (std::chrono::steady_clock::now() - keeperStarted_ > KeeperLimit) return off();
    return state_;
}

void WineWarmUp::leaveToStart() {
    leftToStart_ = true;
}

WineWarmUp::State WineWarmUp::afterLocale(LocalePreparation::State locale) {
    switch (locale) {
    case LocalePreparation::State::Ready:
        return leftToStart_ ? off() : startKeeper();
    case LocalePreparation::State::Failed:
        // The start meets the same failure, and tells the player.
        return off();
    case LocalePreparation::State::Working:
        break;
    }
    return state_;
}

WineWarmUp::State WineWarmUp::startKeeper() {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) return off();
    const FileDescriptor keeperEnd(ends[0]);
    keeperInput_ = FileDescriptor(ends[1]);
    const RunResult started =
        run("/bin/sh",
            {"-c", KeeperScript, "wine-keeper", std::to_string(plan_->stays.count()), plan_->wine,
             plan_->interpreter, "/q", "/k", DesktopStarter},
            "/", {plan_->environment, output_.get(), keeperEnd.get()});
    if (!started) {
        keeperInput_.close();
        return off();
    }
    keeper_ = std::make_unique<ChildProcess>(started.pid);
    keeperStarted_ = std::chrono::steady_clock::now();
    return state_;
}

WineWarmUp::State WineWarmUp::off() {
    state_ = State::Off;
    return state_;
}

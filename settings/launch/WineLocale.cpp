#include "settings/launch/WineLocale.h"

#include "platform/system/ProgramStart.h"

#include <sys/stat.h>
#include <sys/wait.h>

#include <filesystem>
#include <mutex>

namespace {

// What the check runs, and what a whole locale makes it write.
constexpr const char* LocaleCheck =
    "locale charmap && printf '%s\\n' 'ŁÓDŹ ĄĘŚĆŃŻ' | sed 's/.*/\\L&/'";
constexpr std::string_view WholeLocaleAnswer = "UTF-8\nłódź ąęśćńż\n";

// The files a check read, as they were: a file written again is another file.
struct LocaleFiles {
    struct stat ctype {};
    struct stat folder {};

    bool same(const LocaleFiles& other) const {
        const auto sameFile = [](const struct stat& a, const struct stat& b) {
            return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size &&
                   a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
        };
        return sameFile(ctype, other.ctype) && sameFile(folder, other.folder);
    }
};

std::mutex checkedLock;
std::string checkedFolder;
LocaleFiles checkedFiles;

} // namespace

bool builtLocaleIsWhole(const std::string& folder) {
    LocaleFiles files;
    if (::stat((folder + "/LC_CTYPE").c_str(), &files.ctype) != 0 ||
        ::stat(folder.c_str(), &files.folder) != 0)
        return false;
    {
        const std::lock_guard<std::mutex> lock(checkedLock);
        if (checkedFolder == folder && checkedFiles.same(files)) return true;
    }
    const std::filesystem::path path(folder);
    const std::string answer = outputOf(
        "/bin/sh", {"-c", LocaleCheck},
        {{{"LOCPATH", path.parent_path().string()}, {"LC_ALL", path.filename().string()}}, -1});
    if (answer != WholeLocaleAnswer) return false;
    const std::lock_guard<std::mutex> lock(checkedLock);
    checkedFolder = folder;
    checkedFiles = files;
    return true;
}

LocalePreparation::LocalePreparation(LocaleBuild build, int output, QObject* parent)
    : QObject(parent), build_(std::move(build)), output_(output) {}

void LocalePreparation::begin() {
    removeAbandonedLocaleBuilds(build_);
    if (builtLocaleIsWhole(build_.folder)) {
        emit ready();
        return;
    }
    if (const int error = beginLocaleBuild(build_, lock_))
        return fail(StartFailure::Cause::CacheFolder, error);
    const RunResult building =
        run(build_.program, build_.arguments,
            std::filesystem::path(build_.folder).parent_path().string(), {{}, output_});
    if (!building) return fail(StartFailure::Cause::Locale, building.error);
    child_ = new ChildProcess(building.pid, this);
    connect(child_, &ChildProcess::ended, this, &LocalePreparation::built);
}

void LocalePreparation::built(int waitStatus) {
    if (!WIFEXITED(waitStatus) || WEXITSTATUS(waitStatus) != 0)
        return fail(StartFailure::Cause::Locale, 0, waitStatus);
    if (const int error = finishLocaleBuild(build_))
        return fail(StartFailure::Cause::CacheFolder, error);
    lock_.close();
    emit ready();
}

void LocalePreparation::fail(StartFailure::Cause cause, int error, int waitStatus) {
    // A build that failed leaves nothing behind.
    if (!build_.output.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(build_.output, ignored);
    }
    lock_.close();
    StartFailure failure;
    failure.cause = cause;
    failure.error = error;
    failure.waitStatus = waitStatus;
    emit failed(failure);
}

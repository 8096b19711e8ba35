#include "settings/launch/LocaleCache.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <mutex>

namespace fs = std::filesystem;

namespace {

constexpr std::string_view BuildMark = ".part-";

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

std::string builtLocalesFolder(const WineEnvironment& wine) {
    return wine.cacheFolder + "/locale/" + wine.libcVersion;
}

LocaleBuild localeBuild(const WineEnvironment& wine) {
    return {wine.localedef,
            {"-i", "pl_PL", "-f", "UTF-8"},
            "",
            builtLocalesFolder(wine) + "/" + std::string(PolishLocale)};
}

int beginLocaleBuild(LocaleBuild& build, FileDescriptor& lock) {
    std::error_code error;
    fs::create_directories(fs::path(build.folder).parent_path(), error);
    if (error) return error.value();
    for (int attempt = 0; attempt < 8; ++attempt) {
        std::string output = build.folder + std::string(BuildMark) + "XXXXXX";
        if (!::mkdtemp(output.data())) return errno;
        FileDescriptor folder(::open(output.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (folder.get() < 0 || ::flock(folder.get(), LOCK_EX) != 0) return errno;
        // Between its creation and its lock another launcher may have taken it for abandoned.
        if (!stillNamed(folder.get(), output)) continue;
        build.output = output;
        build.arguments.push_back(std::move(output));
        lock = std::move(folder);
        return 0;
    }
    return EAGAIN;
}

void removeAbandonedLocaleBuilds(const LocaleBuild& build) {
    const std::string folder = fs::path(build.folder).parent_path().string();
    const std::string mark = fs::path(build.folder).filename().string() + std::string(BuildMark);
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), &::closedir);
    if (!dir) return;
    while (const dirent* entry = ::readdir(dir.get())) {
        if (std::string_view(entry->d_name).substr(0, mark.size()) != mark) continue;
        const std::string path = folder + "/" + entry->d_name;
        const FileDescriptor output(
            ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (output.get() < 0 || ::flock(output.get(), LOCK_EX | LOCK_NB) != 0) continue;
        std::error_code ignored;
        if (stillNamed(output.get(), path)) fs::remove_all(path, ignored);
    }
}

int finishLocaleBuild(const LocaleBuild& build) {
    if (::rename(build.output.c_str(), build.folder.c_str()) == 0) return 0;
    if (errno != ENOTEMPTY && errno != EEXIST) return errno;
    // A damaged locale holds the place: the two change places, and the damaged one goes.
    if (::renameat2(AT_FDCWD, build.output.c_str(), AT_FDCWD, build.folder.c_str(),
                    RENAME_EXCHANGE) != 0)
        return errno;
    std::error_code ignored;
    fs::remove_all(build.output, ignored);
    return 0;
}

LocalePreparation::LocalePreparation(LocaleBuild build, int output)
    : build_(std::move(build)), output_(output) {}

LocalePreparation::State LocalePreparation::begin() {
    removeAbandonedLocaleBuilds(build_);
    if (builtLocaleIsWhole(build_.folder)) return State::Ready;
    if (const int error = beginLocaleBuild(build_, lock_))
        return fail(StartFailure::Cause::CacheFolder, error);
    const RunResult building = run(build_.program, build_.arguments,
                                   fs::path(build_.folder).parent_path().string(), {{}, output_});
    if (!building) return fail(StartFailure::Cause::Locale, building.error);
    localedef_ = std::make_unique<ChildProcess>(building.pid);
    return State::Working;
}

LocalePreparation::State LocalePreparation::poll() {
    if (!localedef_ || !localedef_->hasEnded()) return State::Working;
    const int waitStatus = localedef_->waitStatus();
    if (!WIFEXITED(waitStatus) || WEXITSTATUS(waitStatus) != 0)
        return fail(StartFailure::Cause::Locale, 0, waitStatus);
    if (const int error = finishLocaleBuild(build_))
        return fail(StartFailure::Cause::CacheFolder, error);
    lock_.close();
    return State::Ready;
}

LocalePreparation::State LocalePreparation::fail(StartFailure::Cause cause, int error,
                                                 int waitStatus) {
    // A build that failed leaves nothing behind.
    if (!build_.output.empty()) {
        std::error_code ignored;
        fs::remove_all(build_.output, ignored);
    }
    lock_.close();
    failure_.cause = cause;
    failure_.error = error;
    failure_.waitStatus = waitStatus;
    return State::Failed;
}

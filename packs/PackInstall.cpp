#include "packs/PackInstall.h"

#include "catalogue/TextReader.h"
#include "packs/InstallJournal.h"
#include "packs/InstallTree.h"
#include "packs/PackArchive.h"
#include "packs/PackLimits.h"
#include "packs/PackPlan.h"
#include "platform/system/CodePage1250.h"
#include "platform/system/FileDescriptor.h"
#include "platform/system/InstallPath.h"
#include "platform/system/Utf8.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <memory>
#include <random>
#include <unordered_map>

namespace {

PackError writeFailed(const std::string& path, int error) {
    return {PackError::Kind::WriteFailed, fileNameToUtf8(path), std::strerror(error), error};
}

// The folder of all backups, which also serves as the installation's lock: held while a
// launcher installs, undoes or recovers there.
class BackupsLock {
public:
    BackupsLock(const std::string& installRoot, bool create)
        : path_(resolveInstallPath(installRoot, BackupFolderName)) {
        if (create && ::mkdir(path_.c_str(), 0777) != 0 && errno != EEXIST) {
            error_ = writeFailed(path_, errno);
            return;
        }
        fd_ = FileDescriptor(::open(path_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (fd_.get() < 0) {
            if (errno != ENOENT) error_ = writeFailed(path_, errno);
            return;
        }
        if (::flock(fd_.get(), LOCK_EX | LOCK_NB) != 0) {
            error_ = {PackError::Kind::Busy, {}, {}};
            fd_.close();
        }
    }

    bool held() const { return fd_.get() >= 0; }
    const PackError& error() const { return error_; }
    const std::string& path() const { return path_; }

    // The backup folders within, each with its journal.
    std::vector<InstallJournal> journals() const {
        std::vector<InstallJournal> journals;
        const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(path_.c_str()), &::closedir);
        if (!dir) return journals;
        while (const dirent* entry = ::readdir(dir.get())) {
            const std::string name = entry->d_name;
            if (name == "." || name == "..") continue;
            if (auto journal = readJournal(path_ + '/' + name)) journals.push_back(*journal);
        }
        return journals;
    }

private:
    std::string path_;
    FileDescriptor fd_;
    PackError error_;
};

// A backup folder's name: the pack's name as Windows can hold it, and the local time.
std::string backupFolderName(const std::string& packName, std::time_t time) {
    std::string name;
    for (const char c : packName)
        name += static_cast<unsigned char>(c) < 0x20 || std::strchr(R"(<>:"/\|?*)", c) ? '_' : c;
    if (name.size() > 100) name.resize(100);
    while (!name.empty() && !isValidUtf8(name)) name.pop_back();
    std::tm local{};
    ::localtime_r(&time, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, " %Y-%m-%d %H.%M.%S", &local);
    return name + stamp;
}

std::string randomToken() {
    std::random_device random;
    char token[17];
    std::snprintf(token, sizeof token, "%08x%08x", random(), random());
    return token;
}

PackError writeAll(int fd, std::string_view bytes, std::uint64_t offset, const std::string& path) {
    while (!bytes.empty()) {
        const ssize_t n = ::pwrite(fd, bytes.data(), bytes.size(), static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return writeFailed(path, n < 0 ? errno : ENOSPC);
        bytes.remove_prefix(static_cast<std::size_t>(n));
        offset += static_cast<std::uint64_t>(n);
    }
    return {};
}

// Renames without replacing: a file that has appeared at the target since the plan stays.
int renameNoReplace(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return errno;
    // A file system without it: a hard link fails as well when the target exists.
    if (::link(from.c_str(), to.c_str()) != 0) return errno;
    ::unlink(from.c_str());
    return 0;
}

class Installer {
public:
    Installer(const PackPlan& plan, const InstallOptions& options, const std::stop_token& stop,
              const InstallProgressCallback& progress)
        : plan_(plan), root_(plan.installRoot), stop_(stop), tell_(progress),
          catalogue_(options.addCatalogueRecords && !plan.offeredRecords.empty()) {}

    InstallResult run() {
        InstallResult result;
        if (plan_.error) {
            result.error = plan_.error;
            return result;
        }
        BackupsLock lock(root_, true);
        if (!lock.held()) {
            result.error = lock.error();
            return result;
        }
        // What an earlier launcher left is undone before anything else is written.
        for (const InstallJournal& left : lock.journals()) finishLeft(root_, left, nullptr);
        result.error = checkSpace();
        if (!result.error) result.error = begin(lock.path());
        if (result.error) {
            // The folder of all backups goes again if this install made it.
            ::rmdir(lock.path().c_str());
            return result;
        }
        result.error = writeFiles();
        if (!result.error) result.error = placeFiles();
        if (!result.error) result.error = advanceJournal(journal_, InstallJournal::Stage::Done);
        if (result.error) {
            // Left for the next recovery when it cannot be taken back now.
            if (!takeBack(root_, journal_)) removeBackupFolder(journal_);
            return result;
        }
        result.record = recordOf(journal_);
        return result;
    }

    static InstallRecord recordOf(const InstallJournal& journal) {
        InstallRecord record{journal.folder, journal.packName, journal.time, 0, 0};
        for (const InstallJournal::File& file : journal.files)
            ++(file.replaces ? record.replaced : record.added);
        return record;
    }

    // Undoes or finishes what a killed launcher left; nothing for a finished install.
    static void finishLeft(const std::string& root, const InstallJournal& left, Recovery* told) {
        if (left.stage == InstallJournal::Stage::Done) return;
        const bool undoing = left.stage == InstallJournal::Stage::Undoing;
        const PackError error = takeBack(root, left);
        if (error) {
            if (told && !told->error) told->error = error;
            return;
        }
        removeBackupFolder(left);
        if (told) (undoing ? told->undone : told->rolledBack).push_back(left.packName);
    }

private:
    PackError checkSpace() const {
        struct statvfs fs {};
        if (::statvfs(root_.c_str(), &fs) != 0) return writeFailed(root_, errno);
        const std::uint64_t free = static_cast<std::uint64_t>(fs.f_bavail) * fs.f_frsize;
        if (plan_.spaceNeeded <= free) return {};
        return {PackError::Kind::NoSpace,
                {},
                std::to_string(plan_.spaceNeeded) + " bytes needed, " + std::to_string(free) +
                    " free"};
    }

    PackError begin(const std::string& backups) {
        const auto now = std::chrono::system_clock::now();
        journal_.time =
            std::chrono::duration_cast<std::chrono::seconds>(now.time_since_epoch()).count();
        journal_.packName = plan_.packName;
        journal_.token = randomToken();
        const std::string name = backupFolderName(plan_.packName, journal_.time);
        journal_.folder = backups + '/' + name;
        for (int n = 2; ::mkdir(journal_.folder.c_str(), 0777) != 0; ++n) {
            if (errno != EEXIST || n > 99) return writeFailed(journal_.folder, errno);
            journal_.folder = backups + '/' + name + " (" + std::to_string(n) + ')';
        }
        journal_.folders = plan_.newFolders;
        for (const PlannedFile& file : plan_.files) {
            if (file.action == EntryAction::Refuse) continue;
            planned_.emplace(file.index, journal_.files.size());
            journal_.files.push_back({file.action == EntryAction::Replace, file.target});
            progress_.bytesTotal += file.size;
        }
        if (catalogue_) journal_.files.push_back({true, plan_.catalogue});
        progress_.filesTotal = journal_.files.size();
        if (PackError error = writeJournal(journal_)) {
            removeBackupFolder(journal_);
            return error;
        }
        journal_.stage = InstallJournal::Stage::Ready;
        return {};
    }

    void report() {
        if (tell_) tell_(progress_);
    }

    PackError writeFile(PackArchive& archive, const PlannedFile& file, std::size_t n) {
        const std::string temp = journal_.tempOf(root_, n);
        const FileDescriptor fd(
            ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666));
        if (fd.get() < 0) return writeFailed(temp, errno);
        PackError error;
        std::uint64_t end = 0;
        archive.read(
            [&](std::uint64_t offset, std::string_view bytes) {
                error = writeAll(fd.get(), bytes, offset, root_ + '/' + file.target);
                end = std::max(end, offset + bytes.size());
                progress_.bytesWritten += bytes.size();
                report();
                return !error;
            },
            stop_);
        if (error) return error;
        if (archive.error()) return archive.error();
        // A sparse entry may end in a hole.
        if (end < file.size && ::ftruncate(fd.get(), static_cast<off_t>(file.size)) != 0)
            return writeFailed(temp, errno);
        if (file.hasTime) {
            const struct timespec times[2] = {{0, UTIME_OMIT}, {file.seconds, file.nanoseconds}};
            ::futimens(fd.get(), times);
        }
        return {};
    }

    PackError writeCatalogue() {
        const std::string path = root_ + '/' + plan_.catalogue;
        const WholeFile installed = readWholeFile(path, PackLimits::CheckedBytes);
        if (!installed.ok() || installed.cut)
            return {PackError::Kind::PackChanged, fileNameToUtf8(plan_.catalogue), {}};
        const std::string text = catalogueWithRecords(installed.bytes, plan_.offeredRecords);
        const std::string temp = journal_.tempOf(root_, journal_.files.size() - 1);
        struct stat st {};
        ::stat(path.c_str(), &st);
        const FileDescriptor fd(::open(temp.c_str(),
                                       O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW,
                                       st.st_mode ? st.st_mode & 07777 : 0666));
        if (fd.get() < 0) return writeFailed(temp, errno);
        return writeAll(fd.get(), text, 0, path);
    }

    PackError writeFiles() {
        for (const std::string& folder : journal_.folders) {
            const std::string path = root_ + '/' + folder;
            if (::mkdir(path.c_str(), 0777) != 0 && errno != EEXIST)
                return writeFailed(path, errno);
        }
        std::unordered_map<std::size_t, const PlannedFile*> byIndex;
        for (const PlannedFile& file : plan_.files) byIndex.emplace(file.index, &file);
        PackArchive archive(plan_.archive);
        std::size_t written = 0;
        while (archive.next()) {
            const PackEntry& entry = archive.entry();
            const auto plannedFile = byIndex.find(entry.index);
            if (plannedFile == byIndex.end()) continue;
            if (plannedFile->second->rawName != entry.rawName ||
                plannedFile->second->size != entry.size)
                return {PackError::Kind::PackChanged, entry.name, {}};
            const auto n = planned_.find(entry.index);
            if (n == planned_.end()) continue;
            if (PackError error = writeFile(archive, *plannedFile->second, n->second)) return error;
            ++written;
        }
        if (archive.error()) return archive.error();
        if (written != planned_.size()) return {PackError::Kind::PackChanged, {}, {}};
        if (catalogue_)
            if (PackError error = writeCatalogue()) return error;
        return {};
    }

    PackError placeFile(std::size_t n) {
        const InstallJournal::File& file = journal_.files[n];
        const std::string temp = journal_.tempOf(root_, n);
        const std::string target = root_ + '/' + file.target;
        if (!file.replaces) {
            const int error = renameNoReplace(temp, target);
            if (error == EEXIST)
                return {PackError::Kind::PackChanged, fileNameToUtf8(file.target), "it exists now"};
            return error ? writeFailed(target, error) : PackError{};
        }
        const std::string backup = journal_.backupOf(file.target);
        std::error_code failed;
        std::filesystem::create_directories(parentOf(backup), failed);
        if (failed) return writeFailed(parentOf(backup), failed.value());
        struct stat st {};
        if (::lstat(target.c_str(), &st) != 0)
            return {PackError::Kind::PackChanged, fileNameToUtf8(file.target), "it is gone"};
        if (PackError error = moveFile(target, backup)) return error;
        if (::rename(temp.c_str(), target.c_str()) != 0) return writeFailed(target, errno);
        return {};
    }

    PackError placeFiles() {
        if (PackError error = advanceJournal(journal_, InstallJournal::Stage::Committed))
            return error;
        for (std::size_t n = 0; n < journal_.files.size(); ++n) {
            if (stop_.stop_requested()) return {PackError::Kind::Cancelled, {}, {}};
            if (PackError error = placeFile(n)) return error;
            ++progress_.filesPlaced;
            report();
        }
        return {};
    }

    const PackPlan& plan_;
    const std::string& root_;
    std::stop_token stop_;
    const InstallProgressCallback& tell_;
    InstallProgress progress_;
    bool catalogue_;
    InstallJournal journal_;
    std::unordered_map<std::size_t, std::size_t> planned_; // entry index to journal file
};

} // namespace

InstallResult installPack(const PackPlan& plan, const InstallOptions& options,
                          const std::stop_token& stop, const InstallProgressCallback& progress) {
    return Installer(plan, options, stop, progress).run();
}

std::optional<InstallRecord> lastInstall(const std::string& installRoot) {
    const BackupsLock lock(installRoot, false);
    if (!lock.held()) return std::nullopt;
    std::optional<InstallRecord> last;
    for (const InstallJournal& journal : lock.journals()) {
        if (journal.stage != InstallJournal::Stage::Done) continue;
        if (!last || journal.time > last->time ||
            (journal.time == last->time && journal.folder > last->folder))
            last = Installer::recordOf(journal);
    }
    return last;
}

PackError undoInstall(const std::string& installRoot, const InstallRecord& record) {
    const BackupsLock lock(installRoot, false);
    if (!lock.held())
        return lock.error() ? lock.error() : PackError{PackError::Kind::NothingToUndo, {}, {}};
    std::optional<InstallJournal> journal = readJournal(record.folder);
    if (!journal || journal->stage != InstallJournal::Stage::Done)
        return {PackError::Kind::NothingToUndo, fileNameToUtf8(record.folder), {}};
    for (const InstallJournal& other : lock.journals())
        if (other.stage == InstallJournal::Stage::Done &&
            (other.time > journal->time ||
             (other.time == journal->time && other.folder > journal->folder)))
            return {PackError::Kind::NothingToUndo, fileNameToUtf8(other.folder),
                    "a later install comes first"};
    // Nothing is undone unless everything it replaced can be put back.
    for (const InstallJournal::File& file : journal->files) {
        struct stat st {};
        if (file.replaces && ::lstat(journal->backupOf(file.target).c_str(), &st) != 0)
            return {PackError::Kind::NothingToUndo, fileNameToUtf8(journal->backupOf(file.target)),
                    std::strerror(errno), errno};
    }
    if (PackError error = advanceJournal(*journal, InstallJournal::Stage::Undoing)) return error;
    if (PackError error = takeBack(installRoot, *journal)) return error;
    removeBackupFolder(*journal);
    return {};
}

Recovery recoverInstalls(const std::string& installRoot) {
    Recovery recovery;
    const BackupsLock lock(installRoot, false);
    if (!lock.held()) {
        recovery.error = lock.error();
        return recovery;
    }
    for (const InstallJournal& left : lock.journals())
        Installer::finishLeft(installRoot, left, &recovery);
    return recovery;
}

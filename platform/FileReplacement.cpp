#include "platform/FileReplacement.h"

#include "platform/FileDescriptor.h"
#include "platform/OrdinaryFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>
#include <utility>
#include <vector>

namespace {

// A temporary file is hidden and named after the file it replaces: ".rsim.ini.saving-" and six
// characters.
constexpr std::string_view TemporaryMark = ".saving-";
constexpr std::size_t TemporaryUniquePart = 6;

bool hasNoWriteBit(const struct stat& st) {
    return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The name a chain of symbolic links ends at, which may not exist yet; "" when the chain goes
// round in a circle or cannot be read.
std::string followLinks(std::string path) {
    for (int depth = 0; depth < 40; ++depth) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
        char target[PATH_MAX];
        const ssize_t size = ::readlink(path.c_str(), target, sizeof target);
        if (size <= 0 || size == static_cast<ssize_t>(sizeof target)) return {};
        const std::string next(target, static_cast<std::size_t>(size));
        path = next.front() == '/' ? next : folderOf(path) + "/" + next;
    }
    return {};
}

std::string realFolder(const std::string& folder) {
    const std::unique_ptr<char, decltype(&std::free)> real(
        ::realpath(folder.empty() ? "/" : folder.c_str(), nullptr), &std::free);
    return real ? std::string(real.get()) : std::string();
}

bool liesInside(const std::string& folder, const std::string& home) {
    const std::string real = realFolder(folder);
    const std::string realHome = realFolder(home);
    if (real.empty() || realHome.empty()) return false;
    if (realHome == "/" || real == realHome) return true;
    return real.size() > realHome.size() && real.compare(0, realHome.size(), realHome) == 0 &&
           real[realHome.size()] == '/';
}

bool writable(const std::string& path, const struct stat& st) {
    if (hasNoWriteBit(st)) return false;
    if (S_ISDIR(st.st_mode)) return ::access(path.c_str(), W_OK) == 0;
    // Opening without truncating changes nothing; a pipe without a reader does not block.
    const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Whether the name still stands for the open file: another save's clean-up may have removed it.
bool stillNamed(int fd, const std::string& path) {
    struct stat open {
    }, named{};
    return ::fstat(fd, &open) == 0 && ::lstat(path.c_str(), &named) == 0 && sameFile(open, named);
}

bool isTemporaryOf(std::string_view entry, std::string_view name) {
    return entry.size() == 1 + name.size() + TemporaryMark.size() + TemporaryUniquePart &&
           entry.front() == '.' && entry.substr(1, name.size()) == name &&
           entry.substr(1 + name.size(), TemporaryMark.size()) == TemporaryMark;
}

// A save holds the lock on its temporary file until the file is renamed or removed, and the
// system drops the lock of a killed process, so an unlocked temporary file is abandoned.
void removeAbandonedTemporaries(const std::string& folder, const std::string& name) {
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), &::closedir);
    if (!dir) return;
    while (const dirent* entry = ::readdir(dir.get())) {
        if (!isTemporaryOf(entry->d_name, name)) continue;
        const std::string path = folder + "/" + entry->d_name;
        const OrdinaryFile file(path, O_NOFOLLOW);
        if (!file.ok() || ::flock(file.get(), LOCK_EX | LOCK_NB) != 0) continue;
        if (stillNamed(file.get(), path)) ::unlink(path.c_str());
    }
}

// A new temporary file beside the target, locked; path receives its name.
int createLockedTemporary(const std::string& folder, const std::string& name, std::string& path) {
    for (int attempt = 0; attempt < 8; ++attempt) {
        std::string pattern = folder + "/." + name + std::string(TemporaryMark) +
                              std::string(TemporaryUniquePart, 'X');
        FileDescriptor fd(::mkostemp(pattern.data(), O_CLOEXEC));
        if (fd.get() < 0) return -1;
        if (::flock(fd.get(), LOCK_EX) != 0) return -1;
        // Between its creation and its lock another save may have taken it for abandoned.
        if (!stillNamed(fd.get(), pattern)) continue;
        path = std::move(pattern);
        return fd.release();
    }
    return -1;
}

mode_t creationMask() {
    // Read once: the mask can only be read by setting it.
    static const mode_t mask = [] {
        const mode_t current = ::umask(0);
        ::umask(current);
        return current;
    }();
    return mask;
}

bool writeAll(int fd, std::string_view content) {
    while (!content.empty()) {
        const ssize_t n = ::write(fd, content.data(), content.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        content.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

} // namespace

FileReplacement replaceFile(const std::string& path, std::string_view content,
                            const std::string& homeFolder) {
    const std::string target = followLinks(path);
    if (target.empty()) return FileReplacement::NotAFile;

    const std::string folder = folderOf(target);
    struct stat folderStat {};
    if (::stat(folder.c_str(), &folderStat) != 0 || !writable(folder, folderStat))
        return FileReplacement::ReadOnlyFolder;
    if (!liesInside(folder, homeFolder)) return FileReplacement::OutsideFolder;

    struct stat fileStat {};
    const bool exists = ::stat(target.c_str(), &fileStat) == 0;
    if (exists && !S_ISREG(fileStat.st_mode)) return FileReplacement::NotAFile;
    if (exists && !writable(target, fileStat)) return FileReplacement::ReadOnlyFile;

    const std::string name = nameOf(target);
    removeAbandonedTemporaries(folder, name);
    std::string temporary;
    FileDescriptor fd(createLockedTemporary(folder, name, temporary));
    if (fd.get() < 0) return FileReplacement::WriteFailed;
    const auto fail = [&] {
        ::unlink(temporary.c_str());
        return FileReplacement::WriteFailed;
    };

    const mode_t mode = exists ? fileStat.st_mode & 07777 : 0666 & ~creationMask();
    if (::fchmod(fd.get(), mode) != 0) return fail();
    // Only root can hand a file to another user; for anyone else the file is their own.
    if (exists && ::fchown(fd.get(), fileStat.st_uid, fileStat.st_gid) != 0 && errno != EPERM)
        return fail();
    if (!writeAll(fd.get(), content) || ::fsync(fd.get()) != 0) return fail();
    // The lock goes with the rename: the name it had is then the target's.
    if (::rename(temporary.c_str(), target.c_str()) != 0) return fail();
    return FileReplacement::Replaced;
}

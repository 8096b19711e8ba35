#include "platform/system/FileReplacement.h"

#include "platform/system/FileDescriptor.h"
#include "platform/system/OrdinaryFile.h"
#include "platform/system/PathComponents.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <optional>
#include <utility>

namespace {

constexpr std::string_view TemporaryMark = ".saving-";
constexpr std::size_t UniqueLength = 6;
constexpr std::size_t DigestLength = 16;
// What a temporary file's name adds to the name of the file it replaces.
constexpr std::size_t TemporaryNameExtra =
    1 + TemporaryMark.size() + UniqueLength + 1 + DigestLength;
// No save writes more: a larger file under a temporary's name is no leftover of ours.
constexpr off_t LargestLeftover = off_t{1} << 20;

bool isAsciiLetterOrDigit(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

bool isLowerHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
}

// FNV-1a: the digest only ties a name to the content it was made for.
std::string digestOf(std::string_view content) {
    std::uint64_t hash = 14695981039346656037ULL;
    for (const char c : content) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ULL;
    }
    std::string hex(DigestLength, '0');
    for (std::size_t at = DigestLength; at-- > 0; hash >>= 4)
        hex[at] = "0123456789abcdef"[hash & 15];
    return hex;
}

// The digest a name claims for its file's content, when it is the name of a temporary file of
// name; none for any other name.
std::optional<std::string_view> claimedDigest(std::string_view entry, std::string_view name) {
    if (entry.size() != name.size() + TemporaryNameExtra || entry.front() != '.' ||
        entry.substr(1, name.size()) != name)
        return std::nullopt;
    std::string_view rest = entry.substr(1 + name.size());
    if (!rest.starts_with(TemporaryMark)) return std::nullopt;
    rest.remove_prefix(TemporaryMark.size());
    const std::string_view unique = rest.substr(0, UniqueLength);
    const std::string_view digest = rest.substr(UniqueLength + 1);
    for (const char c : unique)
        if (!isAsciiLetterOrDigit(c)) return std::nullopt;
    if (rest[UniqueLength] != '-') return std::nullopt;
    for (const char c : digest)
        if (!isLowerHexDigit(c)) return std::nullopt;
    return digest;
}

std::string uniquePart() {
    constexpr std::string_view Characters =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::array<unsigned char, UniqueLength> bytes{};
    if (::getrandom(bytes.data(), bytes.size(), GRND_NONBLOCK) !=
        static_cast<ssize_t>(bytes.size())) {
        // Only names that differ are needed, and a taken one is tried again.
        timespec now{};
        ::clock_gettime(CLOCK_MONOTONIC, &now);
        std::uint64_t mixed = static_cast<std::uint64_t>(now.tv_nsec) ^
                              (static_cast<std::uint64_t>(::getpid()) << 32);
        for (unsigned char& byte : bytes) {
            byte = static_cast<unsigned char>(mixed);
            mixed = mixed * 6364136223846793005ULL + 1442695040888963407ULL;
        }
    }
    std::string unique;
    for (const unsigned char byte : bytes) unique += Characters[byte % Characters.size()];
    return unique;
}

bool hasNoWriteBit(const struct stat& st) {
    return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
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

// Whether this process alone holds the open file, and goes on doing so until it closes it. The
// system grants a write lease only on a file that no other process has open, and every lock,
// lockf or flock, is held through an open file. Another process that opens the file while the
// lease lasts waits for its end, and the holder is told by a signal: SIGURG, which a process
// ignores unless it asks for it, rather than SIGIO, which would end the launcher.
bool holdAlone(int fd) {
    return ::fcntl(fd, F_SETSIG, SIGURG) == 0 && ::fcntl(fd, F_SETLEASE, F_WRLCK) == 0;
}

std::optional<std::string> readWhole(int fd, off_t size) {
    std::string content(static_cast<std::size_t>(size) + 1, '\0');
    std::size_t filled = 0;
    while (filled < content.size()) {
        const ssize_t n = ::read(fd, content.data() + filled, content.size() - filled);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return std::nullopt;
        if (n == 0) break;
        filled += static_cast<std::size_t>(n);
    }
    if (filled != static_cast<std::size_t>(size)) return std::nullopt;
    content.resize(filled);
    return content;
}

// Removes what killed saves of name left in folder, and nothing else (see replaceFile).
void removeLeftovers(const std::string& folder, const std::string& name) {
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), &::closedir);
    if (!dir) return;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::optional<std::string_view> digest = claimedDigest(entry->d_name, name);
        if (!digest) continue;
        const std::string path = folder + "/" + entry->d_name;
        // What is not the player's own single file is not even opened.
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid() ||
            st.st_nlink != 1 || st.st_size > LargestLeftover)
            continue;
        // Opened without waiting for another save's lease, and still the file looked at.
        const OrdinaryFile file(path, O_NOFOLLOW);
        struct stat opened {};
        if (!file.ok() || ::fstat(file.get(), &opened) != 0 || !sameFile(opened, st) ||
            !holdAlone(file.get()))
            continue;
        const std::optional<std::string> content = readWhole(file.get(), st.st_size);
        if (content && digestOf(*content) == *digest && stillNamed(file.get(), path))
            ::unlink(path.c_str());
    }
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

std::string temporaryName(std::string_view name, std::string_view unique, std::string_view digest) {
    std::string temporary = ".";
    temporary += name;
    temporary += TemporaryMark;
    temporary += unique;
    temporary += '-';
    temporary += digest;
    return temporary;
}

// What the temporary file is to hold.
struct Filling {
    std::string_view content;
    mode_t mode;
    std::optional<std::pair<uid_t, gid_t>> owner;
};

// Gives an open file its owner, mode and content, on disk.
bool fill(int fd, const Filling& filling) {
    // Only root can hand a file to another user; for anyone else the file is their own. A change
    // of owner may clear the set-id bits, so the mode comes after it.
    if (filling.owner && ::fchown(fd, filling.owner->first, filling.owner->second) != 0 &&
        errno != EPERM)
        return false;
    return ::fchmod(fd, filling.mode) == 0 && writeAll(fd, filling.content) && ::fsync(fd) == 0;
}

// A new temporary file in folder for the file name, filled and on disk, and still open, so that
// no other save takes it for a leftover; path receives its name. Where the file system allows,
// the file is made without a name and named only once filled: a save killed while writing then
// leaves nothing behind.
FileDescriptor writeTemporary(const std::string& folder, std::string_view name,
                              const Filling& filling, std::string& path) {
    const std::string digest = digestOf(filling.content);
    FileDescriptor unnamed(::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600));
    if (unnamed.get() >= 0) {
        if (!fill(unnamed.get(), filling)) return {};
        const std::string handle = "/proc/self/fd/" + std::to_string(unnamed.get());
        for (int attempt = 0; attempt < 8; ++attempt) {
            std::string candidate = folder + "/" + temporaryName(name, uniquePart(), digest);
            if (::linkat(AT_FDCWD, handle.c_str(), AT_FDCWD, candidate.c_str(),
                         AT_SYMLINK_FOLLOW) == 0) {
                path = std::move(candidate);
                return unnamed;
            }
            if (errno != EEXIST) break;
        }
        // Without /proc the file has no name to give: it is written again, named from the start.
    }
    for (int attempt = 0; attempt < 8; ++attempt) {
        std::string candidate = folder + "/" + temporaryName(name, uniquePart(), digest);
        FileDescriptor named(
            ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
        if (named.get() < 0 && errno == EEXIST) continue;
        if (named.get() < 0) return {};
        if (!fill(named.get(), filling)) {
            ::unlink(candidate.c_str());
            return {};
        }
        path = std::move(candidate);
        return named;
    }
    return {};
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
    removeLeftovers(folder, name);
    Filling filling{content, 0666 & ~creationMask(), std::nullopt};
    if (exists) {
        filling.mode = fileStat.st_mode & 07777;
        filling.owner.emplace(fileStat.st_uid, fileStat.st_gid);
    }
    std::string temporary;
    const FileDescriptor fd = writeTemporary(folder, name, filling, temporary);
    if (fd.get() < 0) return FileReplacement::WriteFailed;
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return FileReplacement::WriteFailed;
    }
    return FileReplacement::Replaced;
}

std::string savingName(std::string_view name, std::string_view unique, std::string_view content) {
    return temporaryName(name, unique, digestOf(content));
}

std::size_t longestReplaceableName(const std::string& folder) {
    const long limit = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    return static_cast<std::size_t>(limit > 0 ? limit : NAME_MAX) - TemporaryNameExtra;
}

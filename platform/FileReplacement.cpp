#include "platform/FileReplacement.h"

#include <QByteArray>
#include <QFile>
#include <QSaveFile>

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool hasNoWriteBit(const struct stat& st) {
    return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
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

bool writable(const std::string& path, const struct stat& st) {
    if (hasNoWriteBit(st)) return false;
    if (S_ISDIR(st.st_mode)) return ::access(path.c_str(), W_OK) == 0;
    // Opening without truncating changes nothing; a pipe without a reader does not block.
    const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

} // namespace

FileReplacement replaceFile(const std::string& path, std::string_view content) {
    const std::string target = followLinks(path);
    if (target.empty()) return FileReplacement::NotAFile;

    const std::string folder = folderOf(target);
    struct stat folderStat {};
    if (::stat(folder.c_str(), &folderStat) != 0 || !writable(folder, folderStat))
        return FileReplacement::ReadOnlyFolder;

    struct stat fileStat {};
    const bool exists = ::stat(target.c_str(), &fileStat) == 0;
    if (exists && !S_ISREG(fileStat.st_mode)) return FileReplacement::NotAFile;
    if (exists && !writable(target, fileStat)) return FileReplacement::ReadOnlyFile;

    const QString name = QFile::decodeName(QByteArray::fromStdString(target));
    if (QFile::encodeName(name).toStdString() != target) return FileReplacement::UnusableName;

    // The temporary file gets the old file's permissions from QSaveFile, and its owner here.
    QSaveFile file(name);
    // Unbuffered, so that a short write shows in write()'s count: from its buffer the file
    // device drops what a short write left over, and the commit then puts a cut file in place.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return FileReplacement::WriteFailed;
    // Only root can hand a file to another user; for anyone else the file is their own.
    if (exists && ::fchown(file.handle(), fileStat.st_uid, fileStat.st_gid) != 0 && errno != EPERM)
        return FileReplacement::WriteFailed;
    const auto size = static_cast<qint64>(content.size());
    if (file.write(content.data(), size) != size || !file.commit())
        return FileReplacement::WriteFailed;
    return FileReplacement::Replaced;
}

#include "platform/FirstStartFiles.h"

#include "platform/FileReplacement.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace {
std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}
} // namespace

bool nameIsTaken(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

int placeLink(const std::string& link, const std::string& target) {
    struct stat folder {};
    if (::stat(folderOf(link).c_str(), &folder) != 0) return errno;
    if ((folder.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return EACCES;
    return ::symlink(target.c_str(), link.c_str()) == 0 ? 0 : errno;
}

int checkProgramStarts(const std::string& program) {
    struct stat st {};
    if (::stat(program.c_str(), &st) != 0) return errno;
    if (!S_ISREG(st.st_mode)) return EACCES;
    return ::access(program.c_str(), X_OK) == 0 ? 0 : errno;
}

int writeMenuEntry(const std::string& path, const std::string& text) {
    std::error_code error;
    std::filesystem::create_directories(folderOf(path), error);
    if (error) return error.value();
    // A link under the entry's name is written through only into the entries' own folder.
    switch (replaceFile(path, text, folderOf(path))) {
    case FileReplacement::Replaced:
        return 0;
    case FileReplacement::ReadOnlyFile:
    case FileReplacement::ReadOnlyFolder:
        return EACCES;
    case FileReplacement::NotAFile:
        return EISDIR;
    case FileReplacement::OutsideFolder:
        return ELOOP;
    case FileReplacement::WriteFailed:
        return EIO;
    }
    return EIO;
}

int startInstead(const std::string& program) {
    // Marked rather than closed: should the start fail, the launcher goes on with them.
    ::close_range(3U, ~0U, CLOSE_RANGE_CLOEXEC);
    char* const argv[] = {const_cast<char*>(program.c_str()), nullptr};
    ::execv(program.c_str(), argv);
    return errno;
}

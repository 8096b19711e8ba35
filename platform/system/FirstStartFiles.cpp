#include "platform/system/FirstStartFiles.h"

#include "platform/system/FileReplacement.h"
#include "platform/system/PathComponents.h"
#include "platform/system/ProgramPath.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace {
// A folder whose mode has no write bit at all takes no link, even from root: EACCES, else 0.
int refusedByMode(const std::string& folder) {
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0) return errno;
    return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 ? EACCES : 0;
}
} // namespace

LauncherLink launcherLinkAt(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return LauncherLink::Missing;
    if (isThisProgram(path)) return LauncherLink::ThisLauncher;
    struct stat target {};
    if (S_ISLNK(st.st_mode) && ::stat(path.c_str(), &target) != 0 &&
        (errno == ENOENT || errno == ENOTDIR || errno == ELOOP))
        return LauncherLink::Dead;
    return LauncherLink::Stranger;
}

int placeLink(const std::string& link, const std::string& target) {
    if (const int error = refusedByMode(folderOf(link))) return error;
    return ::symlink(target.c_str(), link.c_str()) == 0 ? 0 : errno;
}

int replaceDeadLink(const std::string& link, const std::string& target) {
    if (const int error = refusedByMode(folderOf(link))) return error;
    // Refused in a folder whose links belong to their owners alone, not for want of links.
    if (::unlink(link.c_str()) != 0) return errno == EPERM ? EACCES : errno;
    return ::symlink(target.c_str(), link.c_str()) == 0 ? 0 : errno;
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

int startInstead(const std::string& program, const std::vector<std::string>& arguments) {
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    // Marked rather than closed: should the start fail, the launcher goes on with them.
    ::close_range(3U, ~0U, CLOSE_RANGE_CLOEXEC);
    ::execv(program.c_str(), argv.data());
    return errno;
}

#include "packs/InstallJournal.h"

#include "packs/InstallTree.h"
#include "platform/system/CodePage1250.h"
#include "platform/system/FileDescriptor.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace {

constexpr std::string_view FirstLine = "RSIM pack install 1";

constexpr std::string_view stageLine(InstallJournal::Stage stage) {
    switch (stage) {
    case InstallJournal::Stage::Ready:
        return "ready";
    case InstallJournal::Stage::Committed:
        return "commit";
    case InstallJournal::Stage::Done:
        return "done";
    case InstallJournal::Stage::Undoing:
        return "undo";
    case InstallJournal::Stage::Incomplete:
        break;
    }
    return {};
}

PackError failed(const std::string& path, int error) {
    return {PackError::Kind::WriteFailed, fileNameToUtf8(path), std::strerror(error), error};
}

PackError append(const std::string& path, std::string_view text, int flags) {
    const FileDescriptor fd(::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW | flags, 0644));
    if (fd.get() < 0) return failed(path, errno);
    for (std::size_t done = 0; done < text.size();) {
        const ssize_t n = ::write(fd.get(), text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return failed(path, n < 0 ? errno : ENOSPC);
        done += static_cast<std::size_t>(n);
    }
    return {};
}

bool exists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

// Removes a file that may already be gone.
PackError removeFile(const std::string& path) {
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) return failed(path, errno);
    return {};
}

// The folders an install made, deepest first, where they are left empty.
void removeFolders(const std::string& installRoot, const InstallJournal& journal) {
    for (std::size_t i = journal.folders.size(); i-- > 0;)
        ::rmdir((installRoot + '/' + journal.folders[i]).c_str());
}

PackError copyFile(const std::string& from, const std::string& to) {
    const FileDescriptor in(::open(from.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
    struct stat st {};
    if (in.get() < 0 || ::fstat(in.get(), &st) != 0) return failed(from, errno);
    const FileDescriptor out(
        ::open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, st.st_mode));
    if (out.get() < 0) return failed(to, errno);
    std::vector<char> buffer(std::size_t{1} << 20);
    for (;;) {
        const ssize_t n = ::read(in.get(), buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return failed(from, errno);
        if (n == 0) break;
        for (ssize_t done = 0; done < n;) {
            const ssize_t written =
                ::write(out.get(), buffer.data() + done, static_cast<std::size_t>(n - done));
            if (written < 0 && errno == EINTR) continue;
            if (written <= 0) return failed(to, written < 0 ? errno : ENOSPC);
            done += written;
        }
    }
    const struct timespec times[2] = {st.st_atim, st.st_mtim};
    ::futimens(out.get(), times);
    if (::fsync(out.get()) != 0) return failed(to, errno);
    return {};
}

} // namespace

std::string InstallJournal::tempOf(const std::string& installRoot, std::size_t n) const {
    return installRoot + '/' + joinPath(parentOf(files[n].target), ".rsim-" + token + '-') +
           std::to_string(n);
}

PackError writeJournal(const InstallJournal& journal) {
    std::string text = std::string(FirstLine) + "\npack " + journal.packName + "\ntime " +
                       std::to_string(journal.time) + "\ntoken " + journal.token + '\n';
    for (const std::string& folder : journal.folders) text += "folder " + folder + '\n';
    for (const InstallJournal::File& file : journal.files)
        text += (file.replaces ? "replace " : "add ") + file.target + '\n';
    text += "ready\n";
    return append(journal.path(), text, O_CREAT | O_EXCL);
}

PackError advanceJournal(InstallJournal& journal, InstallJournal::Stage stage) {
    PackError error = append(journal.path(), std::string(stageLine(stage)) + '\n', O_APPEND);
    if (!error) journal.stage = stage;
    return error;
}

std::optional<InstallJournal> readJournal(const std::string& folder) {
    std::ifstream in(folder + "/journal.txt", std::ios::binary);
    std::string line;
    if (!std::getline(in, line) || line != FirstLine) return std::nullopt;
    InstallJournal journal;
    journal.folder = folder;
    while (std::getline(in, line)) {
        const std::size_t blank = line.find(' ');
        const std::string key = line.substr(0, blank);
        const std::string value = blank == std::string::npos ? "" : line.substr(blank + 1);
        if (key == "pack")
            journal.packName = value;
        else if (key == "time")
            journal.time = std::strtoll(value.c_str(), nullptr, 10);
        else if (key == "token")
            journal.token = value;
        else if (key == "folder")
            journal.folders.push_back(value);
        else if (key == "add" || key == "replace")
            journal.files.push_back({key == "replace", value});
        for (const auto stage : {InstallJournal::Stage::Ready, InstallJournal::Stage::Committed,
                                 InstallJournal::Stage::Done, InstallJournal::Stage::Undoing})
            if (line == stageLine(stage)) journal.stage = stage;
    }
    return journal;
}

PackError moveFile(const std::string& from, const std::string& to) {
    if (::rename(from.c_str(), to.c_str()) == 0) return {};
    if (errno != EXDEV) return failed(from, errno);
    const std::string copy = joinPath(parentOf(to), ".rsim-move");
    if (PackError error = copyFile(from, copy)) return error;
    if (::rename(copy.c_str(), to.c_str()) != 0) return failed(to, errno);
    return removeFile(from);
}

PackError takeBack(const std::string& installRoot, const InstallJournal& journal) {
    if (journal.stage == InstallJournal::Stage::Incomplete) return {};
    // From the commit on, a file no longer beside its target is in place.
    const bool placing = journal.stage != InstallJournal::Stage::Ready;
    PackError first;
    for (std::size_t n = journal.files.size(); n-- > 0;) {
        const InstallJournal::File& file = journal.files[n];
        const std::string temp = journal.tempOf(installRoot, n);
        const std::string target = installRoot + '/' + file.target;
        const std::string backup = journal.backupOf(file.target);
        PackError error;
        if (exists(temp)) {
            // Not placed; a file it was to replace may have been moved aside already.
            error = removeFile(temp);
            if (!error && file.replaces && exists(backup)) error = moveFile(backup, target);
        } else if (placing) {
            if (!file.replaces)
                error = removeFile(target);
            else if (exists(backup))
                error = moveFile(backup, target);
        }
        if (error && !first) first = error;
    }
    removeFolders(installRoot, journal);
    return first;
}

void removeBackupFolder(const InstallJournal& journal) {
    std::error_code ignored;
    std::filesystem::remove_all(journal.folder, ignored);
    ::rmdir(parentOf(journal.folder).c_str());
}

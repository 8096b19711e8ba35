#include "platform/system/FileReplacement.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

const std::string OldContent = "old\r\n";
const std::string NewContent = std::string(1500, 'n') + "\r\n";

std::string nameOf(const std::string& path) {
    return fs::path(path).filename().string();
}

class FileReplacementTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }

    std::string home() const { return dir_.path().toStdString(); }
    std::string path(const std::string& name) const { return home() + "/" + name; }
    std::string write(const std::string& name, const std::string& bytes, mode_t mode = 0644) {
        std::string file = path(name);
        fs::create_directories(fs::path(file).parent_path());
        std::ofstream(file, std::ios::binary) << bytes;
        ::chmod(file.c_str(), mode);
        return file;
    }
    static std::string read(const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    static mode_t modeOf(const std::string& file) {
        struct stat st {};
        ::stat(file.c_str(), &st);
        return st.st_mode & 07777;
    }
    std::size_t entries(const std::string& folder = {}) const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(folder.empty() ? home() : folder), {}));
    }

private:
    QTemporaryDir dir_;
};

TEST_F(FileReplacementTest, ReplacesInOneStepKeepingTheModeAndCreatesAMissingFile) {
    const std::string file = write("rsim.ini", OldContent, 0640);
    struct stat before {};
    ::stat(file.c_str(), &before);
    EXPECT_EQ(replaceFile(file, NewContent, home()), FileReplacement::Replaced);
    EXPECT_EQ(read(file), NewContent);
    EXPECT_EQ(modeOf(file), 0640u);
    struct stat after {};
    ::stat(file.c_str(), &after);
    EXPECT_NE(after.st_ino, before.st_ino) << "a new file took the old one's place";

    EXPECT_EQ(replaceFile(path("new.ini"), NewContent, home()), FileReplacement::Replaced);
    EXPECT_EQ(read(path("new.ini")), NewContent);
    EXPECT_EQ(entries(), 2u) << "no temporary file is left behind";
}

TEST_F(FileReplacementTest, ALinkStaysAndTheFileItPointsToIsReplaced) {
    const std::string target = write("real/settings.ini", OldContent, 0600);
    fs::create_symlink("real/settings.ini", path("middle.ini"));
    fs::create_symlink("middle.ini", path("rsim.ini"));
    EXPECT_EQ(replaceFile(path("rsim.ini"), NewContent, home()), FileReplacement::Replaced);
    EXPECT_EQ(fs::read_symlink(path("rsim.ini")), "middle.ini");
    EXPECT_EQ(fs::read_symlink(path("middle.ini")), "real/settings.ini");
    EXPECT_EQ(read(target), NewContent);
    EXPECT_EQ(modeOf(target), 0600u);

    fs::create_symlink("loop.ini", path("loop.ini"));
    EXPECT_EQ(replaceFile(path("loop.ini"), NewContent, home()), FileReplacement::NotAFile);
}

// An installation unpacked from an archive may point its settings file anywhere.
TEST_F(FileReplacementTest, ALinkLeadingOutOfTheFolderIsRefusedAndNothingIsWritten) {
    QTemporaryDir elsewhere;
    const std::string outside = elsewhere.path().toStdString();
    const std::string victim = outside + "/.bashrc";
    std::ofstream(victim, std::ios::binary) << OldContent;
    const std::string install = path("install");
    fs::create_directories(install + "/config");
    fs::create_symlink(outside, install + "/config/away");

    const std::vector<std::pair<std::string, std::string>> outward{
        {"rsim.ini", victim},                     // absolute
        {"second.ini", "../" + nameOf(outside)},  // a folder, relative, out of the folder
        {"third.ini", "config/away/.bashrc"},     // through a linked folder
        {"fourth.ini", "config/../../install2/x"} // beside the folder, its name a prefix
    };
    fs::create_directories(path("install2"));
    for (const auto& [link, target] : outward) {
        SCOPED_TRACE(link);
        fs::create_symlink(target, install + "/" + link);
        EXPECT_EQ(replaceFile(install + "/" + link, NewContent, install),
                  FileReplacement::OutsideFolder);
    }
    EXPECT_EQ(read(victim), OldContent);
    EXPECT_EQ(entries(outside), 1u);
    EXPECT_EQ(entries(path("install2")), 0u);

    // A link to a file of the installation is written through, also when the installation is
    // itself reached through a link.
    fs::create_symlink("config/real.ini", install + "/inward.ini");
    fs::create_symlink(install, path("linked-install"));
    EXPECT_EQ(replaceFile(path("linked-install/inward.ini"), NewContent, path("linked-install")),
              FileReplacement::Replaced);
    EXPECT_EQ(read(install + "/config/real.ini"), NewContent);
    EXPECT_TRUE(fs::is_symlink(install + "/inward.ini"));
}

// The tests run as root as well, who may write to every file: the mode decides.
TEST_F(FileReplacementTest, ReadOnlyFilesAndFoldersAreLeftAsTheyAre) {
    const std::string readOnly = write("rsim.ini", OldContent, 0444);
    EXPECT_EQ(replaceFile(readOnly, NewContent, home()), FileReplacement::ReadOnlyFile);
    EXPECT_EQ(read(readOnly), OldContent);

    const std::string inLockedFolder = write("locked/rsim.ini", OldContent);
    ::chmod(path("locked").c_str(), 0555);
    EXPECT_EQ(replaceFile(inLockedFolder, NewContent, home()), FileReplacement::ReadOnlyFolder);
    EXPECT_EQ(replaceFile(path("locked/missing.ini"), NewContent, home()),
              FileReplacement::ReadOnlyFolder);
    EXPECT_EQ(read(inLockedFolder), OldContent);
    EXPECT_FALSE(fs::exists(path("locked/missing.ini")));
    ::chmod(path("locked").c_str(), 0755);

    fs::create_directory(path("folder.ini"));
    EXPECT_EQ(replaceFile(path("folder.ini"), NewContent, home()), FileReplacement::NotAFile);
}

bool namesAfterWriting(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

// A child process saves with a file-size limit below the new content: by default the system
// kills it when the write passes the limit, and with that signal ignored the write fails.
TEST_F(FileReplacementTest, ASaveKilledOrFailingHalfwayLeavesTheOldFile) {
    const std::string file = write("rsim.ini", OldContent);
    for (const bool killed : {true, false}) {
        SCOPED_TRACE(killed ? "killed" : "write failed");
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            const rlimit noCore{0, 0};
            ::setrlimit(RLIMIT_CORE, &noCore);
            const rlimit small{100, 100};
            ::setrlimit(RLIMIT_FSIZE, &small);
            if (!killed) std::signal(SIGXFSZ, SIG_IGN);
            ::_exit(static_cast<int>(replaceFile(file, NewContent, home())));
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        if (killed) {
            ASSERT_TRUE(WIFSIGNALED(status));
            EXPECT_EQ(WTERMSIG(status), SIGXFSZ);
        } else {
            ASSERT_TRUE(WIFEXITED(status));
            EXPECT_EQ(WEXITSTATUS(status), static_cast<int>(FileReplacement::WriteFailed));
        }
        EXPECT_EQ(read(file), OldContent);
        // Where the temporary file is named only once written, a killed save leaves nothing;
        // elsewhere its part of a file stays, as no save can tell it from a file of the player's.
        EXPECT_EQ(entries(), killed && !namesAfterWriting(home()) ? 2u : 1u);
    }
}

// What a save killed between naming its temporary file and renaming it leaves is removed by the
// next save; anything else beside the file stays, whatever its name.
TEST_F(FileReplacementTest, ASaveRemovesOnlyWholeLeftoversOfItsOwnThatNoProcessHolds) {
    const std::string file = write("rsim.ini", OldContent);
    const auto leftover = [](const std::string& unique) {
        return savingName("rsim.ini", unique, NewContent);
    };
    // The player's own copy of a whole settings file, under a name of the pattern.
    write(".rsim.ini.saving-backup", NewContent);
    write(leftover("Killed"), NewContent);
    write(leftover("Partly"), NewContent.substr(0, 700));
    write(savingName("other.ini", "Killed", NewContent), NewContent);
    const std::vector<std::string> held{leftover("Opened"), leftover("Lockfd"), leftover("Flockd")};
    for (const std::string& name : held) write(name, NewContent);
    fs::create_symlink(path(leftover("Killed")), path(leftover("Linked")));
    fs::create_hard_link(path(leftover("Partly")), path(leftover("HardLk")));
    const bool root = ::geteuid() == 0;
    if (root) ::chown(write(leftover("Others"), NewContent).c_str(), 65534, 65534);

    // Another process holds three of them: open, under lockf and under flock.
    int ready[2], done[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(done), 0);
    const pid_t holder = ::fork();
    ASSERT_GE(holder, 0);
    if (holder == 0) {
        const int opened = ::open(path(held[0]).c_str(), O_RDONLY);
        const int lockfd = ::open(path(held[1]).c_str(), O_RDWR);
        const int flockd = ::open(path(held[2]).c_str(), O_RDONLY);
        const bool holding =
            opened >= 0 && ::lockf(lockfd, F_LOCK, 0) == 0 && ::flock(flockd, LOCK_EX) == 0;
        char byte = holding ? 'y' : 'n';
        if (::write(ready[1], &byte, 1) != 1 || ::read(done[0], &byte, 1) != 1) ::_exit(1);
        ::_exit(0);
    }
    char holding = 0;
    ASSERT_EQ(::read(ready[0], &holding, 1), 1);
    EXPECT_EQ(holding, 'y');
    EXPECT_EQ(replaceFile(file, NewContent, home()), FileReplacement::Replaced);
    ASSERT_EQ(::write(done[1], "q", 1), 1);
    ::waitpid(holder, nullptr, 0);
    for (const int fd : {ready[0], ready[1], done[0], done[1]}) ::close(fd);

    EXPECT_EQ(read(file), NewContent);
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(home()))
        left.push_back(entry.path().filename().string());
    std::vector<std::string> kept{".rsim.ini.saving-backup",
                                  leftover("Partly"),
                                  leftover("HardLk"),
                                  leftover("Linked"),
                                  "rsim.ini",
                                  savingName("other.ini", "Killed", NewContent)};
    kept.insert(kept.end(), held.begin(), held.end());
    if (root) kept.push_back(leftover("Others"));
    std::sort(left.begin(), left.end());
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(left, kept) << "only the whole leftover no process held went";
}

} // namespace

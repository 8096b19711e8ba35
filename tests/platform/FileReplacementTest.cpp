#include "platform/FileReplacement.h"

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

// A child process saves with a file-size limit below the new content: by default the system
// kills it when the write passes the limit, and with that signal ignored the write fails.
TEST_F(FileReplacementTest, ASaveKilledOrFailingHalfwayLeavesTheOldFileAndIsClearedUpAfter) {
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
        EXPECT_EQ(entries(), killed ? 2u : 1u)
            << "the killed save left its temporary file, and the next save removed it";
    }
    // A save removes only what a killed save left.
    write("rsim.ini.saving-backup", OldContent);
    write(".rsim.ini.saving-1", OldContent);
    write(".other.ini.saving-ABCDEF", OldContent);
    write(".rsim.ini.saving-Ab12Cd", OldContent);
    const std::string running = write(".rsim.ini.saving-RunNow", OldContent);
    const int lock = ::open(running.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(lock, LOCK_EX), 0) << "a save still writing holds its lock";
    EXPECT_EQ(replaceFile(file, NewContent, home()), FileReplacement::Replaced);
    ::close(lock);
    EXPECT_EQ(read(file), NewContent);
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(home()))
        left.push_back(entry.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{".other.ini.saving-ABCDEF", ".rsim.ini.saving-1",
                                              ".rsim.ini.saving-RunNow", "rsim.ini",
                                              "rsim.ini.saving-backup"}));
}

} // namespace

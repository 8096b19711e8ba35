#include "platform/FileReplacement.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

const std::string OldContent = "old\r\n";
const std::string NewContent = std::string(1500, 'n') + "\r\n";

class FileReplacementTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }

    std::string path(const std::string& name) const {
        return dir_.path().toStdString() + "/" + name;
    }
    std::string write(const std::string& name, const std::string& bytes, mode_t mode = 0644) {
        const std::string file = path(name);
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
    std::size_t entries() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(dir_.path().toStdString()), {}));
    }

private:
    QTemporaryDir dir_;
};

TEST_F(FileReplacementTest, ReplacesInOneStepKeepingTheModeAndCreatesAMissingFile) {
    const std::string file = write("rsim.ini", OldContent, 0640);
    struct stat before {};
    ::stat(file.c_str(), &before);
    EXPECT_EQ(replaceFile(file, NewContent), FileReplacement::Replaced);
    EXPECT_EQ(read(file), NewContent);
    EXPECT_EQ(modeOf(file), 0640u);
    struct stat after {};
    ::stat(file.c_str(), &after);
    EXPECT_NE(after.st_ino, before.st_ino) << "a new file took the old one's place";

    EXPECT_EQ(replaceFile(path("new.ini"), NewContent), FileReplacement::Replaced);
    EXPECT_EQ(read(path("new.ini")), NewContent);
    EXPECT_EQ(entries(), 2u) << "no temporary file is left behind";
}

TEST_F(FileReplacementTest, ALinkStaysAndTheFileItPointsToIsReplaced) {
    const std::string target = write("real/settings.ini", OldContent, 0600);
    fs::create_symlink("real/settings.ini", path("middle.ini"));
    fs::create_symlink("middle.ini", path("rsim.ini"));
    EXPECT_EQ(replaceFile(path("rsim.ini"), NewContent), FileReplacement::Replaced);
    EXPECT_EQ(fs::read_symlink(path("rsim.ini")), "middle.ini");
    EXPECT_EQ(fs::read_symlink(path("middle.ini")), "real/settings.ini");
    EXPECT_EQ(read(target), NewContent);
    EXPECT_EQ(modeOf(target), 0600u);

    fs::create_symlink("loop.ini", path("loop.ini"));
    EXPECT_EQ(replaceFile(path("loop.ini"), NewContent), FileReplacement::NotAFile);
}

// The tests run as root as well, who may write to every file: the mode decides.
TEST_F(FileReplacementTest, ReadOnlyFilesAndFoldersAreLeftAsTheyAre) {
    const std::string readOnly = write("rsim.ini", OldContent, 0444);
    EXPECT_EQ(replaceFile(readOnly, NewContent), FileReplacement::ReadOnlyFile);
    EXPECT_EQ(read(readOnly), OldContent);

    const std::string inLockedFolder = write("locked/rsim.ini", OldContent);
    ::chmod(path("locked").c_str(), 0555);
    EXPECT_EQ(replaceFile(inLockedFolder, NewContent), FileReplacement::ReadOnlyFolder);
    EXPECT_EQ(replaceFile(path("locked/missing.ini"), NewContent), FileReplacement::ReadOnlyFolder);
    EXPECT_EQ(read(inLockedFolder), OldContent);
    EXPECT_FALSE(fs::exists(path("locked/missing.ini")));
    ::chmod(path("locked").c_str(), 0755);

    fs::create_directory(path("folder.ini"));
    EXPECT_EQ(replaceFile(path("folder.ini"), NewContent), FileReplacement::NotAFile);
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
            ::_exit(static_cast<int>(replaceFile(file, NewContent)));
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
    }
}

} // namespace

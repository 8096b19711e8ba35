#include "platform/system/ProgramPath.h"

#include "platform/system/FirstStartFiles.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

TEST(ProgramPath, AnyExecutableNameGivesItsFolder) {
    EXPECT_EQ(installFolderOf("/games/rsim/abcde", "/home/p", "/x/abcde"), "/games/rsim");
    EXPECT_EQ(installFolderOf("/games/rsim/rsim-launcher-1.15", "/", ""), "/games/rsim");
}

TEST(ProgramPath, RelativePathIsMadeAbsoluteWithoutResolvingLinks) {
    EXPECT_EQ(installFolderOf("./rsim-launcher", "/home/p/rsim", "/opt/shared/rsim-launcher"),
              "/home/p/rsim");
    EXPECT_EQ(installFolderOf("rsim//./bin/launcher", "/home/p", "/opt/l"), "/home/p/rsim/bin");
    EXPECT_EQ(installFolderOf("/rsim-launcher", "/home", "/opt/l"), "/");
}

TEST(ProgramPath, BareNameUsesTheResolvedExecutable) {
    EXPECT_EQ(installFolderOf("rsim-launcher", "/home/p", "/games/rsim/rsim-launcher"),
              "/games/rsim");
}

// Only a link to the running launcher is ever started in its place; the test program stands in
// for the launcher here.
TEST(ProgramPath, OnlyALinkToTheRunningLauncherIsTakenForIt) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string base = dir.path().toStdString();
    const std::string self = thisProgramFile();
    namespace fs = std::filesystem;
    fs::create_symlink(self, base + "/link");
    fs::create_symlink(base + "/link", base + "/chain");
    fs::copy_file(self, base + "/copy");
    std::ofstream(base + "/script") << "#!/bin/sh\n";
    fs::permissions(base + "/script", fs::perms::owner_all);
    fs::create_symlink(base + "/gone", base + "/dead");
    fs::create_symlink(base + "/loop", base + "/loop");
    fs::create_symlink(base + "/script", base + "/other");
    fs::create_directory(base + "/folder");
    const std::vector<std::pair<std::string, LauncherLink>> cases{
        {"link", LauncherLink::ThisLauncher}, {"chain", LauncherLink::ThisLauncher},
        {"copy", LauncherLink::Stranger},     {"script", LauncherLink::Stranger},
        {"other", LauncherLink::Stranger},    {"folder", LauncherLink::Stranger},
        {"dead", LauncherLink::Dead},         {"loop", LauncherLink::Dead},
        {"missing", LauncherLink::Missing},
    };
    for (const auto& [name, kind] : cases)
        EXPECT_EQ(launcherLinkAt(base + "/" + name), kind) << name;

    // A dead link is replaced by one to the launcher.
    EXPECT_EQ(replaceDeadLink(base + "/dead", self), 0);
    EXPECT_EQ(launcherLinkAt(base + "/dead"), LauncherLink::ThisLauncher);
}

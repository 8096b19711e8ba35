#include "platform/ProgramPath.h"

#include <gtest/gtest.h>

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

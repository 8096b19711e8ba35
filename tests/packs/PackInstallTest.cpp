#include "packs/PackInstall.h"
#include "packs/PackPlan.h"

#include "PackFixture.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <stop_token>

namespace {

// A pack that adds, replaces, merges the catalogue and makes folders, with files large enough
// to be caught halfway.
std::string makeInstallPack(const TempFolder& folder, const std::string& name = "Trasa.zip") {
    return makePack(
        folder, name,
        {R"({"name": "Scenery/Nowa.scn", "text": "//$N Nowa\r\n"})",
         R"({"name": "Scenery/Images/Trasa.JPG", "text": "new picture"})",
         R"({"name": "Textures/Lokomotywy/SM42.dds", "bytes": 1048576})",
         R"({"name": "Textures/Lokomotywy/SM42-2.dds", "bytes": 1048577})",
         R"({"name": "Textures/Lokomotywy/SM42-3.dds", "bytes": 1048578})",
         R"({"name": "dynamic/pkp/dynamic.dat", "text": "Pojazdy\r\nSM42\r\nSM42\r\n1\r\n\r\n"})"});
}

// Runs work in a child process, and its exit status.
int inChild(const std::function<int()>& work) {
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child == 0) ::_exit(work());
    int status = 0;
    ::waitpid(child, &status, 0);
    return status;
}

} // namespace

TEST(PackInstall, InstallsAndUndoesByteForByte) {
    TempFolder folder;
    const std::string install = writeInstallation(folder);
    const auto before = snapshot(install);
    const PackPlan plan = planPack(install, makeInstallPack(folder));
    ASSERT_TRUE(plan.installable()) << plan.error.text();

    InstallProgress last;
    const InstallResult result =
        installPack(plan, {}, {}, [&last](const InstallProgress& now) { last = now; });
    ASSERT_FALSE(result.error) << result.error.text();
    EXPECT_EQ(last.bytesWritten, last.bytesTotal);
    EXPECT_EQ(last.filesPlaced, 6u);

    EXPECT_EQ(readFile(install + "/scenery/Nowa.scn"), "//$N Nowa\r\n");
    EXPECT_EQ(readFile(install + "/scenery/images/trasa.jpg"), "new picture");
    EXPECT_EQ(readFile(install + "/textures/Lokomotywy/SM42-3.dds").size(), 1048578u);
    EXPECT_EQ(readFile(install + "/dynamic/pkp/dynamic.dat"),
              crlf("Pojazdy\nEU07\nEU07-005\n1\n\nSM42\nSM42\n1\n\n"));
    // What it replaced is kept in the install's own folder.
    EXPECT_EQ(result.record.folder.rfind(install + "/pack-backups/Trasa 20", 0), 0u);
    EXPECT_EQ(readFile(result.record.folder + "/files/scenery/images/trasa.jpg"), "old picture");
    EXPECT_EQ(result.record.added, 4u);
    EXPECT_EQ(result.record.replaced, 2u);

    const std::optional<InstallRecord> offered = lastInstall(install);
    ASSERT_TRUE(offered);
    EXPECT_EQ(offered->folder, result.record.folder);
    ASSERT_FALSE(undoInstall(install, *offered));
    EXPECT_EQ(snapshot(install), before);
    EXPECT_FALSE(lastInstall(install));
}

// However an install ends early, the installation is as it was, at once or, after a kill, once
// it is opened again.
TEST(PackInstall, EndedHalfwayLeavesTheInstallationAsItWas) {
    enum class End { Cancel, Kill };
    const struct {
        const char* name;
        End end;
        std::uint64_t atBytes;
        std::size_t atFiles;
    } cases[] = {
        {"cancelled while writing", End::Cancel, 1 << 20, 0},
        {"killed while writing", End::Kill, 1 << 20, 0},
        {"killed while placing", End::Kill, 0, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        const std::string install = writeInstallation(folder);
        const auto before = snapshot(install);
        const PackPlan plan = planPack(install, makeInstallPack(folder));
        ASSERT_TRUE(plan.installable());

        std::stop_source stop;
        const auto ending = [&](const InstallProgress& now) {
            if (now.bytesWritten < c.atBytes || now.filesPlaced < c.atFiles) return;
            if (c.end == End::Kill) ::kill(::getpid(), SIGKILL);
            stop.request_stop();
        };
        if (c.end == End::Cancel) {
            EXPECT_EQ(installPack(plan, {}, stop.get_token(), ending).error.kind,
                      PackError::Kind::Cancelled);
        } else {
            const int status = inChild([&] {
                installPack(plan, {}, {}, ending);
                return 0;
            });
            ASSERT_TRUE(WIFSIGNALED(status));
            ASSERT_NE(snapshot(install), before);
            const Recovery recovery = recoverInstalls(install);
            EXPECT_FALSE(recovery.error) << recovery.error.text();
            EXPECT_EQ(recovery.rolledBack, std::vector<std::string>{"Trasa"});
        }
        EXPECT_EQ(snapshot(install), before);
        EXPECT_FALSE(lastInstall(install));
    }
}

TEST(PackInstall, AnEntryHoldingMoreThanItDeclaresStopsTheInstall) {
    TempFolder folder;
    const std::string install = writeInstallation(folder);
    const auto before = snapshot(install);
    const PackPlan plan = planPack(
        install, makePack(folder, "lie.zip",
                          {R"({"name": "textures/a.dds", "bytes": 1000})",
                           R"({"name": "textures/b.dds", "bytes": 4194304, "declare": 1000})"}));
    ASSERT_TRUE(plan.installable());
    const InstallResult result = installPack(plan, {});
    EXPECT_EQ(result.error.kind, PackError::Kind::SizeExceeded);
    EXPECT_EQ(snapshot(install), before);
}

// A disk that fills while the pack is written: a small tmpfs of its own, mounted in a user and
// mount namespace, which needs no root.
TEST(PackInstall, AFullDiskLeavesTheInstallationAsItWas) {
    TempFolder folder;
    const std::string pack = makeInstallPack(folder);
    folder.makeFolder("disk");
    const std::string disk = folder.path() + "/disk";
    constexpr int Unsupported = 77;
    const int status = inChild([&] {
        const uid_t uid = ::getuid();
        const gid_t gid = ::getgid();
        if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) return Unsupported;
        const auto write = [](const char* file, const std::string& text) {
            const int fd = ::open(file, O_WRONLY);
            const bool written =
                fd >= 0 && ::write(fd, text.data(), text.size()) == ssize_t(text.size());
            if (fd >= 0) ::close(fd);
            return written;
        };
        if (!write("/proc/self/setgroups", "deny") ||
            !write("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1") ||
            !write("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1") ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=24m") != 0)
            return Unsupported;

        const std::string install = writeInstallation(folder, "disk/install");
        const auto before = snapshot(install);
        const PackPlan plan = planPack(install, pack);
        if (!plan.installable()) return 2;
        // Another program takes what is left of the disk once the install has begun.
        bool filled = false;
        const InstallResult result = installPack(plan, {}, {}, [&](const InstallProgress&) {
            if (filled) return;
            filled = true;
            std::ofstream filler(disk + "/filler", std::ios::binary);
            const std::string block(1 << 16, 'x');
            while (filler.write(block.data(), block.size())) {
            }
        });
        if (result.error.kind != PackError::Kind::WriteFailed ||
            result.error.detail != std::strerror(ENOSPC))
            return 3;
        return snapshot(install) == before ? 0 : 4;
    });
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == Unsupported) GTEST_SKIP() << "no user namespace to mount a tmpfs";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "2: not installable, 3: no full disk met, 4: changed";
}

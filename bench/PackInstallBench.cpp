// Installing a generated pack of 1 GB in 20,000 files into a copy of the sample installation,
// against bsdtar -x of the same archive into an empty folder, the two taking turns in one run;
// and planning it, which is timed on its own before each install. Every round starts with the
// previous output removed and the disk's dirty pages written, so that neither pays for the
// other. The pack is made once and kept in the work folder:
//   rsim_pack_bench [ROUNDS [WORK_FOLDER]]

#include "packs/PackInstall.h"
#include "packs/PackPlan.h"

#include <archive.h>
#include <archive_entry.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

constexpr int Files = 20'000;

struct Took {
    double wall = 0;
    double cpu = 0; // user and system
};

double cpuOf(const rusage& usage) {
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double cpuNow() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return cpuOf(usage);
}

double now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::string load() {
    std::string average;
    std::getline(std::ifstream("/proc/loadavg"), average);
    return average;
}

// Textures and models of 1 to 101 KiB, whose bytes pack to about half, as a pack's do, and one
// scenery; the sizes add up to about 1 GB.
bool writePack(const std::string& path) {
    archive* out = archive_write_new();
    archive_write_set_format_zip(out);
    archive_write_set_options(out, "zip:compression-level=1");
    if (archive_write_open_filename(out, path.c_str()) != ARCHIVE_OK) return false;
    std::uint64_t state = 88172645463325252ull;
    const auto next = [&state] {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    };
    std::vector<char> data;
    std::uint64_t total = 0;
    for (int i = 0; i < Files; ++i) {
        char name[96];
        if (i == 0)
            std::snprintf(name, sizeof name, "TrasaTestowa/Scenery/Testowa.scn");
        else if (i % 20 == 0)
            std::snprintf(name, sizeof name, "TrasaTestowa/Models/Testowe/%02d/model%05d.t3d",
                          i / 1000, i);
        else
            std::snprintf(name, sizeof name, "TrasaTestowa/Textures/Testowe/%02d/tekstura%05d.dds",
                          i / 1000, i);
        data.resize(1024 + next() % (100 * 1024));
        for (char& c : data) c = static_cast<char>('A' + next() % 16);
        total += data.size();
        archive_entry* entry = archive_entry_new();
        archive_entry_set_pathname(entry, name);
        archive_entry_set_filetype(entry, AE_IFREG);
        archive_entry_set_perm(entry, 0644);
        archive_entry_set_size(entry, static_cast<la_int64_t>(data.size()));
        archive_write_header(out, entry);
        archive_write_data(out, data.data(), data.size());
        archive_entry_free(entry);
    }
    const bool written = archive_write_close(out) == ARCHIVE_OK;
    archive_write_free(out);
    std::printf("made %s: %d files, %.2f GB unpacked, %.2f GB packed\n", path.c_str(), Files,
                static_cast<double>(total) / 1e9, static_cast<double>(fs::file_size(path)) / 1e9);
    return written;
}

Took bsdtar(const std::string& pack, const std::string& into) {
    fs::create_directories(into);
    const char* argv[] = {"bsdtar", "-x", "-f", pack.c_str(), "-C", into.c_str(), nullptr};
    const double start = now();
    pid_t child = 0;
    if (::posix_spawnp(&child, "bsdtar", nullptr, nullptr, const_cast<char**>(argv), environ) != 0)
        return {-1, -1};
    int status = 0;
    rusage usage{};
    ::wait4(child, &status, 0, &usage);
    const Took took{now() - start, cpuOf(usage)};
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? took : Took{-1, -1};
}

void clearAway(const std::string& folder) {
    fs::remove_all(folder);
    ::sync();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 5;
    const std::string work =
        argc > 2 ? argv[2] : (fs::temp_directory_path() / "rsim-pack-bench").string();
    fs::create_directories(work);
    const std::string pack = work + "/TrasaTestowa-1.zip";
    if (!fs::exists(pack) && !writePack(pack)) {
        std::fprintf(stderr, "cannot write %s\n", pack.c_str());
        return 1;
    }
    std::printf("load before: %s\n", load().c_str());
    std::vector<double> tars, tarsCpu, plans, installs, installsCpu;
    for (int round = 0; round < rounds; ++round) {
        const std::string empty = work + "/bsdtar", install = work + "/install";
        clearAway(empty);
        clearAway(install);
        // Taking turns at going first.
        for (int turn = 0; turn < 2; ++turn) {
            if ((round + turn) % 2 == 0) {
                const Took took = bsdtar(pack, empty);
                tars.push_back(took.wall);
                tarsCpu.push_back(took.cpu);
                clearAway(empty);
                continue;
            }
            fs::copy(RSIM_SAMPLE_DIR, install, fs::copy_options::recursive);
            ::sync();
            double start = now();
            const PackPlan plan = planPack(install, pack);
            plans.push_back(now() - start);
            if (!plan.installable()) {
                std::fprintf(stderr, "not installable: %s\n", plan.error.text().c_str());
                return 1;
            }
            start = now();
            const double cpu = cpuNow();
            const InstallResult result = installPack(plan, {});
            installs.push_back(now() - start);
            installsCpu.push_back(cpuNow() - cpu);
            if (result.error) {
                std::fprintf(stderr, "install failed: %s\n", result.error.text().c_str());
                return 1;
            }
            clearAway(install);
        }
        std::printf("round %d: bsdtar -x %.3f s (cpu %.3f s), install %.3f s (cpu %.3f s), "
                    "%.2fx; plan %.3f s\n",
                    round + 1, tars.back(), tarsCpu.back(), installs.back(), installsCpu.back(),
                    installs.back() / tars.back(), plans.back());
    }
    // The two of a round ran next to each other, under the same load.
    std::vector<double> ratios;
    for (std::size_t i = 0; i < tars.size(); ++i) ratios.push_back(installs[i] / tars[i]);
    std::printf("median of %d: bsdtar -x %.3f s (cpu %.3f s), install %.3f s (cpu %.3f s); "
                "install against bsdtar -x in a round: %.2fx (cpu %.2fx of the medians); "
                "plan %.3f s\n",
                rounds, median(tars), median(tarsCpu), median(installs), median(installsCpu),
                median(ratios), median(installsCpu) / median(tarsCpu), median(plans));
    std::printf("load after: %s\n", load().c_str());
    return 0;
}

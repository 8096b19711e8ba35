// Loading the pictures an installation may hold, the damaged and hostile ones beside a
// well-formed scenery picture and vehicle picture that give the baseline of the same run. Each
// load runs in a fresh process of its own, so that its peak memory is its own: the time of the
// load, the child's peak resident memory, what the load added to it, and whether it loaded.
//
//     build-bench/bench/rsim_picture_bench
//
// Writing the cases takes a while: some are large pictures encoded here.

#include "CraftedPictures.h"
#include "ProcessMemory.h"

#include "platform/pictures/PictureFile.h"

#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

const QSize SceneryPicture(225, 169);

struct Figures {
    double seconds = 0;
    double peakMiB = 0;
    double addedMiB = 0;
    double loaded = 0;
};

// Loads the file in a fresh process, whose memory holds nothing of this one's, and reads back
// what it measured.
Figures loadInChild(const std::string& path, QSize shownAt) {
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0) return {};
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(pipeEnds[1], STDOUT_FILENO);
        ::close(pipeEnds[0]);
        ::close(pipeEnds[1]);
        const std::string width = std::to_string(shownAt.width());
        const std::string height = std::to_string(shownAt.height());
        ::execl("/proc/self/exe", "rsim_picture_bench", "--load", path.c_str(), width.c_str(),
                height.c_str(), nullptr);
        ::_exit(127);
    }
    ::close(pipeEnds[1]);
    Figures figures;
    const bool read = ::read(pipeEnds[0], &figures, sizeof figures) == sizeof figures;
    ::close(pipeEnds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return read ? figures : Figures{};
}

// In the fresh process: the load and its figures, written to standard output.
int measureLoad(const std::string& path, QSize shownAt) {
    const double before = residentMiB();
    const auto start = std::chrono::steady_clock::now();
    const PictureLoad loaded = loadPictureFile(path, shownAt);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    const Figures figures{took.count(), peakMiB(), peakMiB() - before, loaded.ok() ? 1.0 : 0};
    return ::write(STDOUT_FILENO, &figures, sizeof figures) == sizeof figures ? 0 : 1;
}

// The case files, written once for the whole run.
class CaseFiles {
public:
    CaseFiles() {
        add("scenery_1024x768.jpg", encodeJpeg(landscape(1024, 768), JpegKind::Rgb));
        add("vehicle_78x33.bmp", encodeBmp(landscape(78, 33), 24));
        add("photo_8192x8192.jpg", encodeJpeg(landscape(8192, 8192), JpegKind::Rgb));
        add("huge_arithmetic.jpg", crafted::hugeArithmeticJpeg());
        add("huge_arithmetic_progressive.jpg", crafted::hugeArithmeticProgressiveJpeg());
        add("repeated_scan_x1000.jpg", crafted::repeatedScanJpeg(4096, 3072, 1000));
        // At the memory limit: 5632 x 5632 grey keeps 60.5 MiB of coefficients.
        add("many_scans_5632x5632.jpg", crafted::manyScansJpeg(5632, 5632, 128));
        add("cut_arithmetic.jpg", crafted::cutArithmeticJpeg(JpegKind::Arithmetic));
        add("cut_arithmetic_progressive.jpg",
            crafted::cutArithmeticJpeg(JpegKind::ArithmeticProgressive));
        add("cut24.bmp", crafted::cutBmp(24));
        add("cut32.bmp", crafted::cutBmp(32));
        add("rle8_without_end.bmp", crafted::rleWithoutEnd(8));
        add("rle4_without_end.bmp", crafted::rleWithoutEnd(4));
        // Files that take no room on the disk: the start of a JPEG followed by 64 GiB of zeros,
        // and the headers of a 24-bit bitmap of 16384 x 16384 pixels followed by its zeros.
        addSparse("sparse_64GiB.jpg", encodeJpeg(quarters(16, 16), JpegKind::Rgb).substr(0, 20),
                  std::int64_t{64} << 30);
        std::string bmp = encodeBmp(quarters(16, 16), 24).substr(0, 54);
        const std::int32_t size[2] = {16384, 16384};
        bmp.replace(18, 8, reinterpret_cast<const char*>(size), 8);
        addSparse("sparse_16384x16384.bmp", bmp, 54 + std::int64_t{16384} * 16384 * 3);
        // Runs past the right edge of a 1 x 1 bitmap, as large as a scenery picture's file and
        // a vehicle picture's may be.
        add("rle4_past_edge_64MiB.bmp", crafted::rleRunsPastTheEdge(4, MaxPictureFileBytes));
        add("rle8_past_edge_64MiB.bmp", crafted::rleRunsPastTheEdge(8, MaxPictureFileBytes));
        add("rle4_past_edge_2MiB.bmp", crafted::rleRunsPastTheEdge(4, 2 << 20));
        add("rle8_1KB_4096x4096.bmp", crafted::rleEndingAtOnce(4096, 4096));
        QImage alpha(4096, 4096, QImage::Format_ARGB32);
        alpha.fill(qRgba(40, 80, 120, 200));
        add("alpha_4096x4096.bmp",
            encodeBitfieldsBmp(alpha, 32, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}));
        // Detail in every block: arithmetic coding takes many times Huffman's time a byte.
        add("noise_arithmetic_56MB.jpg", crafted::noiseJpeg(4300, 4300, true));
        add("noise_arithmetic_16MB.jpg", crafted::noiseJpeg(2300, 2300, true));
        add("noise_huffman_66MB.jpg", crafted::noiseJpeg(4000, 4000, false));
        add("repeated_block_arithmetic_16384x16384.jpg", crafted::repeatedBlockArithmeticJpeg());
    }

    std::string path(const std::string& name) const {
        return folder_.path().toStdString() + "/" + name;
    }

private:
    void add(const std::string& name, const std::string& bytes) const {
        std::ofstream(path(name), std::ios::binary) << bytes;
    }
    void addSparse(const std::string& name, const std::string& start, std::int64_t size) const {
        add(name, start);
        if (::truncate(path(name).c_str(), size) != 0) std::perror(name.c_str());
    }

    QTemporaryDir folder_;
};

void loadCase(benchmark::State& state, const std::string& path, QSize shownAt) {
    Figures worst;
    for (auto _ : state) {
        const Figures figures = loadInChild(path, shownAt);
        state.SetIterationTime(figures.seconds);
        worst.peakMiB = std::max(worst.peakMiB, figures.peakMiB);
        worst.addedMiB = std::max(worst.addedMiB, figures.addedMiB);
        worst.loaded = figures.loaded;
    }
    state.counters["peak_MiB"] = worst.peakMiB;
    state.counters["added_MiB"] = worst.addedMiB;
    state.counters["loaded"] = worst.loaded;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 5 && std::string(argv[1]) == "--load")
        return measureLoad(argv[2], QSize(std::atoi(argv[3]), std::atoi(argv[4])));
    benchmark::Initialize(&argc, argv);
    const CaseFiles files;
    // The scenery picture is stretched to 225 x 169; bitmaps and vehicle pictures are shown at
    // their own size.
    const std::pair<const char*, QSize> cases[] = {
        {"scenery_1024x768.jpg", SceneryPicture},
        {"vehicle_78x33.bmp", QSize()},
        {"photo_8192x8192.jpg", SceneryPicture},
        {"huge_arithmetic.jpg", SceneryPicture},
        {"huge_arithmetic.jpg", QSize()},
        {"huge_arithmetic_progressive.jpg", SceneryPicture},
        {"repeated_scan_x1000.jpg", SceneryPicture},
        {"many_scans_5632x5632.jpg", SceneryPicture},
        {"cut_arithmetic.jpg", SceneryPicture},
        {"cut_arithmetic_progressive.jpg", SceneryPicture},
        {"cut24.bmp", QSize()},
        {"cut32.bmp", QSize()},
        {"rle8_without_end.bmp", QSize()},
        {"rle4_without_end.bmp", QSize()},
        {"sparse_64GiB.jpg", SceneryPicture},
        {"sparse_16384x16384.bmp", QSize()},
        {"rle4_past_edge_64MiB.bmp", SceneryPicture},
        {"rle8_past_edge_64MiB.bmp", SceneryPicture},
        {"rle4_past_edge_2MiB.bmp", QSize()},
        {"rle8_1KB_4096x4096.bmp", SceneryPicture},
        {"alpha_4096x4096.bmp", SceneryPicture},
        {"noise_arithmetic_56MB.jpg", SceneryPicture},
        {"noise_arithmetic_16MB.jpg", SceneryPicture},
        {"noise_huffman_66MB.jpg", SceneryPicture},
        {"repeated_block_arithmetic_16384x16384.jpg", SceneryPicture},
    };
    for (const auto& [name, shownAt] : cases) {
        const std::string label = std::string(name) + (shownAt.isEmpty() ? "/own_size" : "/shown");
        benchmark::RegisterBenchmark(label.c_str(), loadCase, files.path(name), shownAt)
            ->UseManualTime()
            ->Iterations(3)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

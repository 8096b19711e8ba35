// The launcher facing files no installation that players build holds: the sample installation
// with one file replaced by a hostile one (sparse files of many gigabytes, a scenery of a million
// description lines, a timetable of 96 MB, single lines and names of 200 MB, the slowest lines
// the readers know up to the scenery limit, pictures that cost the decoders most). Each case runs
// in the real windows, shown and painted offscreen, in a process of its own: the time of the
// start-up, of choosing the scenery and of choosing its first consist, of the whole process with
// Qt's own start, how it ended, and its peak memory. The sample installation itself is the first
// case, the usual footprint the others are measured against.
//
//     rsim_hostile_bench            every case, one after another
//     rsim_hostile_bench NAME...    the cases whose names begin with one of the NAMEs

#include "CraftedPictures.h"

#include "platform/widgets/FileListBox.h"
#include "platform/widgets/ListBox.h"
#include "platform/widgets/MessageBox.h"
#include "platform/pictures/PictureFile.h"
#include "shell/window/AllWindows.h"

#include <QApplication>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

const std::string Scenery = "/scenery/hostile.scn";

constexpr std::uint64_t MiB = std::uint64_t{1} << 20;
constexpr std::uint64_t GiB = MiB << 10;

void sparse(const std::string& path, std::uint64_t size) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0 || ::ftruncate(fd, static_cast<off_t>(size)) != 0) std::perror(path.c_str());
    if (fd >= 0) ::close(fd);
}

// head, then unit again and again, up to size bytes in all.
void repeated(const std::string& path, std::string_view head, std::string_view unit,
              std::uint64_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << head;
    std::string chunk;
    while (chunk.size() < MiB) chunk += unit;
    std::uint64_t written = head.size();
    for (; written + chunk.size() <= size; written += chunk.size()) out << chunk;
    for (; written + unit.size() <= size; written += unit.size()) out << unit;
}

void written(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// A scenery of one consist of fifty vehicles, each of a type of its own with its own picture;
// the first, which the catalogue makes drivable, lists the consist.
void fiftyVehicles(const std::string& root, const std::string& picture) {
    std::ofstream(root + "/dynamic/PKP/dynamic.dat", std::ios::app) << "T1\r\nT1\r\n1\r\n//--\r\n";
    std::string scenery = "trainset Piecdziesiat st2 35.0 0.0\r\n";
    for (int i = 1; i <= 50; ++i) {
        const std::string type = "T" + std::to_string(i);
        scenery += "node -1 0 V" + std::to_string(i) + " dynamic PKP\\X x " + type + " 0 " +
                   (i == 1 ? "headdriver" : "nobody") + " 0.00 0 brak\r\n";
        written(root + "/textures/Mini/" + type + ".bmp", picture);
    }
    written(root + Scenery, scenery + "endtrainset\r\n");
}

const std::string SceneryBitmap = "/scenery/Images/Kolejowo.bmp";

struct Case {
    const char* name;
    void (*prepare)(const std::string& root);
    const char* scenery; // the scenery chosen, nullptr for the start-up alone
    bool chooseConsist;
};

const Case Cases[] = {
    {"sample", [](const std::string&) {}, "Kolejowo.scn", true},
    {"rsim.ini 64 GiB sparse", [](const std::string& r) { sparse(r + "/rsim.ini", 64 * GiB); },
     nullptr, false},
    {"rsim.ini value of 200 MB",
     [](const std::string& r) {
         repeated(r + "/rsim.ini",
                  "\r\n\r\n\r\n\r\n\r\n\r\nwidth 800 \r\nheight 600 \r\nbpp 32 \r\nfullscreen ",
                  "x", 200 * MiB);
     },
     nullptr, false},
    {"dynamic.dat display name of 200 MB",
     [](const std::string& r) {
         repeated(r + "/dynamic/PKP/dynamic.dat", "dynamic.dat\r\nEL424\r\n", "x", 200 * MiB);
         std::ofstream(r + "/dynamic/PKP/dynamic.dat", std::ios::app) << "\r\n1\r\n-\r\n";
     },
     "Kolejowo.scn", true},
    {"dynamic.dat 64 GiB sparse",
     [](const std::string& r) { sparse(r + "/dynamic/PKP/dynamic.dat", 64 * GiB); }, nullptr,
     false},
    {"scenery 4 GiB sparse", [](const std::string& r) { sparse(r + Scenery, 4 * GiB); },
     "hostile.scn", false},
    {"scenery 64 GiB sparse", [](const std::string& r) { sparse(r + Scenery, 64 * GiB); },
     "hostile.scn", false},
    {"scenery 10 MB, 1.25 million description lines",
     [](const std::string& r) { repeated(r + Scenery, "", "//$D x\r\n", 10'000'000); },
     "hostile.scn", false},
    {"scenery 1000 description lines of 1 KiB",
     [](const std::string& r) {
         repeated(r + Scenery, "", "//$D " + std::string(1024, 'x') + "\r\n", 1000 * 1031);
     },
     "hostile.scn", false},
    {"scenery one line of 200 MB",
     [](const std::string& r) { repeated(r + Scenery, "//$D ", "x", 200 * MiB); }, "hostile.scn",
     false},
    {"scenery node name of 200 MB",
     [](const std::string& r) {
         repeated(r + Scenery, "trainset a b\r\nnode -1 0 ", "x", 200 * MiB);
     },
     "hostile.scn", false},
    {"scenery 64 MiB of empty lines",
     [](const std::string& r) { repeated(r + Scenery, "", "\n", 64 * MiB); }, "hostile.scn", false},
    {"scenery 64 MiB of slash lines in a consist",
     [](const std::string& r) { repeated(r + Scenery, "trainset a b\n", "/\n", 64 * MiB); },
     "hostile.scn", false},
    {"timetable 96 MB",
     [](const std::string& r) {
         repeated(r + "/scenery/Os_61231.txt", "", "  12,4  Kolejowo Gorne      7:12\r\n",
                  96'000'000);
     },
     "Kolejowo.scn", true},
    {"picture RLE4 1 x 1 of 65 MiB, runs past edge",
     [](const std::string& r) {
         written(r + SceneryBitmap, crafted::rleRunsPastTheEdge(4, MaxPictureFileBytes));
     },
     "Kolejowo.scn", false},
    {"picture RLE8 of 1 KB claiming 4096 x 4096",
     [](const std::string& r) { written(r + SceneryBitmap, crafted::rleEndingAtOnce(4096, 4096)); },
     "Kolejowo.scn", false},
    {"picture 4096 x 4096 of 32 bits with alpha",
     [](const std::string& r) {
         QImage alpha(4096, 4096, QImage::Format_ARGB32);
         alpha.fill(qRgba(40, 80, 120, 200));
         written(r + SceneryBitmap,
                 encodeBitfieldsBmp(alpha, 32, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}));
     },
     "Kolejowo.scn", false},
    {"picture arithmetic JPEG of noise, 56 MB",
     [](const std::string& r) {
         written(r + "/scenery/Images/GORY_ZIMA.JPG", crafted::noiseJpeg(4300, 4300, true));
     },
     "GORY.SCN", false},
    {"pictures: 50 vehicles, RLE4 1 x 1 of 2 MiB",
     [](const std::string& r) { fiftyVehicles(r, crafted::rleRunsPastTheEdge(4, 2 << 20)); },
     "hostile.scn", true},
    {"timetable one line of 1 MiB",
     [](const std::string& r) { repeated(r + "/scenery/Os_61231.txt", "", "x", MiB); },
     "Kolejowo.scn", true},
};

double millisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

// In the process of its own: start the launcher of the installation and make the choices.
int runCase(const Case& c, const std::string& root, int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    auto start = std::chrono::steady_clock::now();
    AllWindows windows(root + "/rsim-launcher");
    TForm1& form1 = windows.Form1;
    form1.show();
    // A picture refused is told in an error box, answered here rather than waited on.
    for (int box = 0; box < 3; ++box) MessageBox::setNextAnswer(MessageBox::Ok);
    QApplication::processEvents();
    double startUp = millisecondsSince(start), scenery = -1, consist = -1;
    if (c.scenery) {
        const std::vector<std::string>& names = form1.FileListBox1->names();
        for (std::size_t i = 0; i < names.size(); ++i) {
            if (names[i] != c.scenery) continue;
            start = std::chrono::steady_clock::now();
            form1.FileListBox1->item(static_cast<int>(i))->setSelected(true);
            QApplication::processEvents();
            scenery = millisecondsSince(start);
        }
    }
    if (c.chooseConsist && form1.ListBox2->count() > 0) {
        start = std::chrono::steady_clock::now();
        form1.ListBox2->item(0)->setSelected(true);
        QApplication::processEvents();
        consist = millisecondsSince(start);
    }
    std::printf("%.0f %.0f %.0f %zu\n", startUp, scenery, consist, MessageBox::answered().size());
    return 0;
}

std::string column(double milliseconds) {
    return milliseconds < 0 ? "-" : std::to_string(std::lround(milliseconds));
}

// Prepares the installation, runs the case in a child process and prints one row.
void measure(const Case& c) {
    const std::string self = "/proc/self/exe";
    const char* tmp = std::getenv("TMPDIR");
    std::string folder = std::string(tmp && *tmp ? tmp : "/tmp") + "/rsim-hostile-XXXXXX";
    if (!::mkdtemp(folder.data())) {
        std::perror(folder.c_str());
        return;
    }
    const std::string root = folder + "/install";
    std::filesystem::copy(RSIM_SAMPLE_DIR, root, std::filesystem::copy_options::recursive);
    c.prepare(root);

    int out[2];
    if (::pipe(out) != 0) return;
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        ::close(out[0]);
        ::close(out[1]);
        ::alarm(300);
        ::execl(self.c_str(), self.c_str(), "--run", c.name, root.c_str(), nullptr);
        std::_Exit(127);
    }
    ::close(out[1]);
    std::string report;
    char buffer[256];
    for (ssize_t n; (n = ::read(out[0], buffer, sizeof buffer)) > 0;)
        report.append(buffer, static_cast<std::size_t>(n));
    ::close(out[0]);
    int status = 0;
    rusage usage{};
    ::wait4(child, &status, 0, &usage);
    const double process = millisecondsSince(start);

    double startUp = -1, scenery = -1, consist = -1;
    int boxes = 0;
    std::sscanf(report.c_str(), "%lf %lf %lf %d", &startUp, &scenery, &consist, &boxes);
    std::string ended = "exit " + std::to_string(WEXITSTATUS(status));
    if (WIFSIGNALED(status)) ended = "signal " + std::to_string(WTERMSIG(status));
    if (boxes > 0) ended += ", " + std::to_string(boxes) + " error box";
    std::printf("%-46s %9s %9s %9s %9.0f %9.0f  %s\n", c.name, column(startUp).c_str(),
                column(scenery).c_str(), column(consist).c_str(), process,
                static_cast<double>(usage.ru_maxrss) / 1024, ended.c_str());
    std::fflush(stdout);
    std::filesystem::remove_all(folder);
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string_view(argv[1]) == "--run") {
        for (const Case& c : Cases)
            if (c.name == std::string_view(argv[2])) return runCase(c, argv[3], 1, argv);
        return 2;
    }
    std::printf("%-46s %9s %9s %9s %9s %9s  %s\n", "case", "start ms", "scenery", "consist",
                "process", "peak MiB", "end");
    for (const Case& c : Cases) {
        bool chosen = argc == 1;
        for (int i = 1; i < argc; ++i)
            if (std::string_view(c.name).starts_with(argv[i])) chosen = true;
        if (chosen) measure(c);
    }
    return 0;
}

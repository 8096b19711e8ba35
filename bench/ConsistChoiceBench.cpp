// Choosing a consist of 50 vehicles in the real main window, under Qt's offscreen platform:
// the time of one choice (details, timetable, 50 pictures made and placed), and the memory the
// process holds before and after a thousand choices, which must not grow with their number.

#include "platform/FileListBox.h"
#include "platform/ListBox.h"
#include "shell/AllWindows.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <fstream>
#include <memory>
#include <string>

namespace {

// Resident and peak resident memory of this process, in MiB.
double residentMiB() {
    long pages = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(::sysconf(_SC_PAGESIZE)) / (1 << 20);
}
double peakMiB() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024;
}

void write(const std::string& path, const std::string& bytes) {
    QDir().mkpath(QString::fromStdString(path.substr(0, path.find_last_of('/'))));
    std::ofstream(path, std::ios::binary) << bytes;
}

// An installation with ten vehicle types, each with its own 78 x 33 picture, and a scenery of
// two 50-vehicle consists, one of them with a timetable.
std::string makeInstallation(const std::string& root) {
    std::string catalogue = "dynamic.dat\r\n";
    for (int t = 0; t < 10; ++t) {
        const std::string type = "TYPE" + std::to_string(t);
        catalogue +=
            type + "\r\nVehicle " + std::to_string(t) + "\r\n" + (t ? "2" : "1") + "\r\n-\r\n";
        QImage picture(78, 33, QImage::Format_RGB32);
        picture.fill(QColor::fromHsv(t * 36, 200, 200));
        QDir().mkpath(QString::fromStdString(root + "/textures/mini"));
        picture.save(
            QString::fromStdString(root + "/textures/mini/Vehicle " + std::to_string(t) + ".bmp"),
            "BMP");
    }
    write(root + "/dynamic/pkp/dynamic.dat", catalogue);
    std::string scenery;
    for (const char* name : {"Long_1", "Long_2"}) {
        scenery += std::string("trainset ") + name + " 0\r\n";
        for (int v = 0; v < 50; ++v)
            scenery += "node -1 0 V" + std::to_string(v) + " dynamic PKP\\x skin TYPE" +
                       std::to_string(v % 10) + " 0 " + (v % 10 ? "passenger" : "headdriver") +
                       " 0\r\n";
        scenery += "//$o A long train\r\nendtrainset\r\n";
    }
    write(root + "/scenery/long.scn", scenery);
    std::string timetable;
    for (int line = 0; line < 40; ++line)
        timetable += "  12,4  Stacja " + std::to_string(line) + "  7:12\r\n";
    write(root + "/scenery/Long_1.txt", timetable);
    return root + "/rsim-launcher";
}

void BM_ChooseFiftyVehicleConsist(benchmark::State& state) {
    QTemporaryDir dir;
    const std::string launcher = makeInstallation(dir.path().toStdString());
    AllWindows windows(launcher);
    TForm1& form1 = windows.Form1;
    form1.show();
    form1.FileListBox1->item(0)->setSelected(true);

    int row = 0;
    const auto choose = [&] {
        row = 1 - row;
        form1.ListBox2->item(row)->setSelected(true);
        QApplication::processEvents();
    };
    choose();
    const double before = residentMiB(), peakBefore = peakMiB();
    for (auto _ : state) choose();
    state.counters["resident_before_MiB"] = before;
    state.counters["resident_after_MiB"] = residentMiB();
    state.counters["peak_before_MiB"] = peakBefore;
    state.counters["peak_after_MiB"] = peakMiB();
}
BENCHMARK(BM_ChooseFiftyVehicleConsist)->Iterations(1000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

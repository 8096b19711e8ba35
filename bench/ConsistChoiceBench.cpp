// Choosing a consist of 50 vehicles in the real main window, under Qt's offscreen platform: the
// time of one choice (details, timetable, 50 pictures placed and painted), and the memory the
// process holds after the first choices and after a thousand, which must not grow with their
// number.
//
// Beside it, measured in the same run and alternating with it choice by choice, a yardstick: the
// same visible work done with stock Qt widgets in a window of the same size, built once from what
// the launcher showed. A QListWidget row is chosen; its handler sets the same lines into a
// QPlainTextEdit of the same size and the timetable into a hidden one, enables the timetable's
// button as the launcher does, and shows the same pictures, already decoded, on 50 reused QLabels
// at the same places in a QScrollArea. Both windows paint what changed before the choice counts
// as done.

#include "ProcessMemory.h"
#include "platform/widgets/FileListBox.h"
#include "platform/widgets/ListBox.h"
#include "platform/widgets/PictureBox.h"
#include "platform/widgets/ScrollBox.h"
#include "shell/window/AllWindows.h"

#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <array>
#include <chrono>
#include <fstream>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

void write(const std::string& path, const std::string& bytes) {
    QDir().mkpath(QString::fromStdString(path.substr(0, path.find_last_of('/'))));
    std::ofstream(path, std::ios::binary) << bytes;
}

// An installation with ten vehicle types, each with its own 78 x 33 picture, and a scenery of
// two 50-vehicle consists, one of them with a timetable. The second consist starts at another
// type, so that every place of the row changes its picture with every choice.
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
    int first = 0;
    for (const char* name : {"Long_1", "Long_2"}) {
        scenery += std::string("trainset ") + name + " 0\r\n";
        for (int v = 0; v < 50; ++v) {
            const int type = (first + v) % 10;
            scenery += "node -1 0 V" + std::to_string(v) + " dynamic PKP\\x skin TYPE" +
                       std::to_string(type) + " 0 " + (type ? "passenger" : "headdriver") +
                       " 0\r\n";
        }
        scenery += "//$o A long train\r\nendtrainset\r\n";
        first = 5;
    }
    write(root + "/scenery/long.scn", scenery);
    std::string timetable;
    for (int line = 0; line < 40; ++line)
        timetable += "  12,4  Stacja " + std::to_string(line) + "  7:12\r\n";
    write(root + "/scenery/Long_1.txt", timetable);
    return root + "/rsim-launcher";
}

// What the launcher showed for one choice, for the yardstick to show again.
struct Shown {
    QString details;
    QString timetable; // empty without one
    struct Picture {
        QRect geometry;
        QPixmap pixmap;
        QString name;
        QString toolTip;
    };
    std::vector<Picture> pictures;
};

Shown shownBy(TForm1& form1, TForm2& form2) {
    Shown shown;
    shown.details = form1.Memo2->toPlainText();
    if (form1.Button7->isEnabled()) shown.timetable = form2.Memo3->toPlainText();
    for (std::size_t i = 0; i < static_cast<std::size_t>(form1.state().ThumbnailCount); ++i) {
        const PictureBox* box = form1.state().VehiclePictures[i];
        shown.pictures.push_back({box->geometry(), QPixmap::fromImage(box->picture()),
                                  box->accessibleName(), box->toolTip()});
    }
    return shown;
}

// The same controls the launcher shows for a choice, as stock widgets at the same places.
class Yardstick : public QWidget {
public:
    Yardstick(const TForm1& form1, std::array<Shown, 2> shown) : shown_(std::move(shown)) {
        resize(form1.size());
        setFont(form1.font());
        setPalette(form1.palette());
        setAutoFillBackground(true);
        auto* group = new QGroupBox(form1.GroupBox2->title(), this);
        group->setGeometry(form1.GroupBox2->geometry());

        list_ = new QListWidget(group);
        list_->setGeometry(form1.ListBox2->geometry());
        for (int row = 0; row < form1.ListBox2->count(); ++row)
            list_->addItem(form1.ListBox2->item(row)->text());

        details_ = new QPlainTextEdit(group);
        details_->setGeometry(form1.Memo2->geometry());
        details_->setReadOnly(true);
        details_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        details_->setPalette(form1.Memo2->palette());
        timetable_ = new QPlainTextEdit; // a hidden window of its own, as the timetable's is
        // The button that shows the timetable is enabled while there is one.
        timetableButton_ = new QPushButton(form1.Button7->text(), this);
        timetableButton_->setGeometry(form1.Button7->geometry());
        timetableButton_->setFont(form1.Button7->font());

        pictures_ = new QScrollArea(group);
        pictures_->setGeometry(form1.ScrollBox1->geometry());
        auto* content = new QWidget;
        pictures_->setWidget(content);
        for (QLabel*& label : labels_) label = new QLabel(content);

        connect(list_, &QListWidget::itemSelectionChanged, this, &Yardstick::choose);
    }
    ~Yardstick() override { delete timetable_; }

    QListWidget* list() const { return list_; }

private:
    void choose() {
        const QList<QListWidgetItem*> selected = list_->selectedItems();
        if (selected.isEmpty()) return;
        const Shown& shown = shown_[static_cast<std::size_t>(list_->row(selected.front()))];
        details_->setPlainText(shown.details);
        if (!shown.timetable.isEmpty()) timetable_->setPlainText(shown.timetable);
        timetableButton_->setEnabled(!shown.timetable.isEmpty());
        QRect extent;
        for (std::size_t i = 0; i < labels_.size(); ++i) {
            QLabel* label = labels_[i];
            if (i >= shown.pictures.size()) {
                label->hide();
                continue;
            }
            const Shown::Picture& picture = shown.pictures[i];
            label->setGeometry(picture.geometry);
            label->setPixmap(picture.pixmap);
            label->setAccessibleName(picture.name);
            label->setToolTip(picture.toolTip);
            label->show();
            extent |= picture.geometry;
        }
        pictures_->widget()->resize(extent.right() + 1, extent.bottom() + 1);
        pictures_->ensureVisible(0, 0);
    }

    std::array<Shown, 2> shown_;
    QListWidget* list_ = nullptr;
    QPlainTextEdit* details_ = nullptr;
    QPlainTextEdit* timetable_ = nullptr;
    QPushButton* timetableButton_ = nullptr;
    QScrollArea* pictures_ = nullptr;
    std::array<QLabel*, 50> labels_{};
};

double milliseconds(Clock::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

void BM_ChooseFiftyVehicleConsist(benchmark::State& state) {
    QTemporaryDir dir;
    const std::string launcher = makeInstallation(dir.path().toStdString());
    AllWindows windows(launcher);
    TForm1& form1 = windows.Form1;
    form1.show();
    form1.FileListBox1->item(0)->setSelected(true);
    QApplication::processEvents();

    std::array<Shown, 2> shown;
    for (int row : {0, 1}) {
        form1.ListBox2->item(row)->setSelected(true);
        QApplication::processEvents();
        shown[static_cast<std::size_t>(row)] = shownBy(form1, form1.timetableWindow());
    }
    Yardstick yardstick(form1, shown);
    yardstick.show();
    QApplication::processEvents();

    // Each choice takes the other row, in either window.
    const auto choose = [](QListWidget* list, int row) {
        const Clock::time_point start = Clock::now();
        list->item(row)->setSelected(true);
        QApplication::processEvents();
        return Clock::now() - start;
    };
    int row = 1;
    for (int warm = 0; warm < 4; ++warm) {
        row = 1 - row;
        choose(form1.ListBox2, row);
        choose(yardstick.list(), row);
    }
    const double before = residentMiB(), peakBefore = peakMiB();
    Clock::duration launcherTime{}, yardstickTime{};
    for (auto _ : state) {
        row = 1 - row;
        // Each goes first every other time, so that neither always finds the caches as the
        // other left them.
        Clock::duration launcherChoice{};
        if (row == 0) {
            launcherChoice = choose(form1.ListBox2, row);
            yardstickTime += choose(yardstick.list(), row);
        } else {
            yardstickTime += choose(yardstick.list(), row);
            launcherChoice = choose(form1.ListBox2, row);
        }
        launcherTime += launcherChoice;
        state.SetIterationTime(std::chrono::duration<double>(launcherChoice).count());
    }
    const double choices = static_cast<double>(state.iterations());
    const double launcherMs = milliseconds(launcherTime) / choices;
    const double yardstickMs = milliseconds(yardstickTime) / choices;
    state.counters["launcher_ms"] = launcherMs;
    state.counters["yardstick_ms"] = yardstickMs;
    state.counters["ratio"] = launcherMs / yardstickMs;
    state.counters["resident_before_MiB"] = before;
    state.counters["resident_after_MiB"] = residentMiB();
    state.counters["peak_before_MiB"] = peakBefore;
    state.counters["peak_after_MiB"] = peakMiB();
}
BENCHMARK(BM_ChooseFiftyVehicleConsist)
    ->Iterations(1000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

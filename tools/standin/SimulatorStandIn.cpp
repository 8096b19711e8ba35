// rsim-standin: takes the place of the simulator in the build's sample installation, so that a
// person trying the launcher sees the start happen. It shows what the launcher handed over and
// notes every start in rsim-started.log in its working folder, as the sample's script does.

#include "platform/widgets/Fonts.h"
#include "platform/widgets/ShownText.h"
#include "platform/widgets/WindowPlacement.h"
#include "settings/SettingsFile.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyleFactory>

#include <unistd.h>

#include <ctime>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

struct Received {
    std::vector<std::string> arguments;
    std::string scenery; // after "-s"
    std::string vehicle; // after "-v"
    std::string folder;
};

Received received(int argc, char** argv) {
    Received r;
    r.arguments.assign(argv + 1, argv + argc);
    for (std::size_t i = 0; i + 1 < r.arguments.size(); ++i) {
        if (r.arguments[i] == "-s")
            r.scenery = r.arguments[++i];
        else if (r.arguments[i] == "-v")
            r.vehicle = r.arguments[++i];
    }
    const std::unique_ptr<char, decltype(&std::free)> cwd(::getcwd(nullptr, 0), &std::free);
    r.folder = cwd ? cwd.get() : "";
    return r;
}

// One line per start: the time, the folder and every argument in brackets, as bytes.
void noteStart(const Received& r) {
    char time[32] = {};
    const std::time_t now = std::time(nullptr);
    std::strftime(time, sizeof time, "%Y-%m-%d %H:%M:%S", std::localtime(&now));
    std::string line = std::string(time) + "  folder: " + r.folder + "  " +
                       std::to_string(r.arguments.size()) + " argument(s):";
    for (const std::string& argument : r.arguments) line += " [" + argument + "]";
    std::ofstream("rsim-started.log", std::ios::binary | std::ios::app) << line << '\n';
}

QString resolution(const SimulatorSettings& settings) {
    if (settings.width.empty() && settings.height.empty())
        return QStringLiteral("not set in rsim.ini");
    return shownText(settings.width + " x " + settings.height);
}

// A caption and its value in a read-only field, which scrolls when a long path does not fit.
void addRow(QWidget* window, int top, const QString& caption, const QString& value) {
    auto* label = new QLabel(caption, window);
    label->setGeometry(8, top + 3, 96, 16);
    auto* field = new QLineEdit(value, window);
    field->setGeometry(104, top, 308, 22);
    field->setReadOnly(true);
    field->setCursorPosition(0);
    field->setToolTip(value);
    field->setAccessibleName(caption.chopped(1));
}

} // namespace

int main(int argc, char** argv) {
    const Received r = received(argc, argv);
    noteStart(r);

    QApplication application(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QWidget window;
    makeFixedWindow(&window, WindowKind::Main, 420, 171, QStringLiteral("RSIM-424 stand-in"));
    window.setFont(designedFont(DesignedFace::MsSansSerif, 11));
    window.setAccessibleName(window.windowTitle());

    auto* heading = new QLabel(QStringLiteral("The simulator would start now with:"), &window);
    heading->setGeometry(8, 8, 404, 16);
    addRow(&window, 30, QStringLiteral("Scenery:"), shownFileName(r.scenery));
    addRow(&window, 56, QStringLiteral("Vehicle:"), shownText(r.vehicle));
    addRow(&window, 82, QStringLiteral("Working folder:"), shownFileName(r.folder));
    addRow(&window, 108, QStringLiteral("Resolution:"),
           resolution(loadSimulatorSettings(r.folder)));

    auto* close = new QPushButton(QStringLiteral("Close"), &window);
    close->setGeometry(332, 140, 80, 25);
    close->setDefault(true);
    QObject::connect(close, &QPushButton::clicked, &window, &QWidget::close);

    window.show();
    centreOnScreen(&window);
    return QApplication::exec();
}

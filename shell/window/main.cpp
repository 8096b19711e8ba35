// Torvia RSIM-424 Loader: the launcher of the RSIM-424 train-driving simulator.

#include "platform/system/ProgramPath.h"
#include "platform/widgets/BundledPicture.h"
#include "platform/widgets/FocusMark.h"
#include "platform/widgets/Fonts.h"
#include "platform/widgets/WindowStyle.h"
#include "shell/CommandLine.h"
#include "shell/FirstStart.h"
#include "shell/window/AllWindows.h"
#include "shell/window/OutsideInstallation.h"

#include <QApplication>
#include <QIcon>

#include <unistd.h>

#include <cstdlib>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {
QIcon launcherIcon() {
    QStringList pictures;
    for (const int size : {RSIM_ICON_SIZES})
        pictures << QStringLiteral(":/icon/example.rsim424.Loader-%1.png").arg(size);
    return bundledIcon(pictures);
}

std::string absolutePath(const std::string& path) {
    if (path.starts_with('/')) return path;
    const std::unique_ptr<char, decltype(&std::free)> here(::getcwd(nullptr, 0), &std::free);
    return here ? std::string(here.get()) + '/' + path : path;
}

std::vector<std::string> argumentsOf(int argc, char** argv) {
    return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>();
}

// The exit code of a command line that is answered without any window.
std::optional<int> answeredAlone(const CommandLine& command) {
    switch (command.action) {
    case CommandLine::Action::Run:
        return std::nullopt;
    case CommandLine::Action::Help:
        std::cout << commandLineUsage();
        return 0;
    case CommandLine::Action::Version:
        std::cout << "rsim-launcher " RSIM_VERSION "\n";
        return 0;
    case CommandLine::Action::Refuse:
        std::cerr << "rsim-launcher: " << command.refusal << '\n' << commandLineUsage();
        return 2;
    }
    return std::nullopt;
}
} // namespace

int main(int argc, char** argv) {
    // Help and the version need no display. Anything else is read once the toolkit has taken
    // its own options, such as -platform, out of argv.
    const CommandLine early = readCommandLine(argumentsOf(argc, argv));
    if (early.action == CommandLine::Action::Help || early.action == CommandLine::Action::Version)
        return *answeredAlone(early);
    // Started before the application connects to the display, which it then overlaps.
    FontConfigurationReading fontConfiguration;
    QApplication application(argc, argv);
    // The caption of the launcher's message boxes, and the class of its windows.
    QApplication::setApplicationName(QStringLiteral("RSIM"));
    QApplication::setApplicationVersion(QStringLiteral(RSIM_VERSION));
    QGuiApplication::setDesktopFileName(QString::fromUtf8(ApplicationId));
    // Every window of the launcher, the four and their boxes, carries the icon.
    QApplication::setWindowIcon(launcherIcon());
    const WindowStyle style;
    showFocusMarks();

    const CommandLine command = readCommandLine(argumentsOf(argc, argv));
    if (const std::optional<int> code = answeredAlone(command)) return *code;
    // An installation named by the option is served as through a link in it.
    const std::string argv0 = command.installation
                                  ? *command.installation + '/' + std::string(LauncherLinkName)
                                  : std::string(argc > 0 ? argv[0] : "");
    const std::string folder = installFolderOfThisProgram(argv0);
    fontConfiguration.wait();
    // The interface language is Polish at every start.
    if (!isInstallation(folder)) return startOutsideInstallation(folder, Language::Polish);

    // The pack is named relative to the folder the launcher was started in, which the scenery
    // list leaves.
    const std::optional<std::string> pack =
        command.pack ? std::optional(absolutePath(*command.pack)) : std::nullopt;
    AllWindows windows(argv0);
    windows.Form1.show();
    // The launcher has the keyboard once it starts, as a program started on Windows has.
    windows.Form1.activateWindow();
    if (!windows.recovered.empty()) windows.Form5->tellRecovered(windows.recovered);
    if (pack) windows.Form5->openPack(*pack);
    if (command.undoPack) windows.Form5->offerUndo();
    return QApplication::exec();
}

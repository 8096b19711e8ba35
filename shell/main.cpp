// Torvia RSIM-424 Loader: the launcher of the RSIM-424 train-driving simulator.

#include "platform/BundledPicture.h"
#include "platform/FocusMark.h"
#include "platform/Fonts.h"
#include "platform/ProgramPath.h"
#include "shell/AllWindows.h"
#include "shell/FirstStart.h"
#include "shell/OutsideInstallation.h"

#include <QApplication>
#include <QIcon>
#include <QStyleFactory>

namespace {
QIcon launcherIcon() {
    QStringList pictures;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256})
        pictures << QStringLiteral(":/icon/example.rsim424.Loader-%1.png").arg(size);
    return bundledIcon(pictures);
}
} // namespace

int main(int argc, char** argv) {
    // Started before the application connects to the display, which it then overlaps.
    FontConfigurationReading fontConfiguration;
    QApplication application(argc, argv);
    // The caption of the launcher's message boxes, and the class of its windows.
    QApplication::setApplicationName(QStringLiteral("RSIM"));
    QApplication::setApplicationVersion(QStringLiteral(RSIM_VERSION));
    QGuiApplication::setDesktopFileName(QString::fromUtf8(ApplicationId));
    // Every window of the launcher, the four and their boxes, carries the icon.
    QApplication::setWindowIcon(launcherIcon());
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    showFocusMarks();

    const std::string argv0 = argc > 0 ? argv[0] : "";
    const std::string folder = installFolderOfThisProgram(argv0);
    fontConfiguration.wait();
    // The interface language is Polish at every start.
    if (!isInstallation(folder)) return startOutsideInstallation(folder, Language::Polish);

    AllWindows windows(argv0);
    windows.Form1.show();
    // The launcher has the keyboard once it starts, as a program started on Windows has.
    windows.Form1.activateWindow();
    return QApplication::exec();
}

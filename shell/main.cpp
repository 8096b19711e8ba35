// Torvia RSIM-424 Loader: the launcher of the RSIM-424 train-driving simulator.

#include "shell/AllWindows.h"

#include <QApplication>
#include <QIcon>
#include <QStyleFactory>

namespace {
QIcon launcherIcon() {
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icon/example.rsim424.Loader-%1.png").arg(size),
                     QSize(size, size));
    return icon;
}
} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    // The caption of the launcher's message boxes, and the class of its windows.
    QApplication::setApplicationName(QStringLiteral("RSIM"));
    QApplication::setApplicationVersion(QStringLiteral(RSIM_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("example.rsim424.Loader"));
    // Every window of the launcher, the four and their boxes, carries the icon.
    QApplication::setWindowIcon(launcherIcon());
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));

    AllWindows windows(argc > 0 ? argv[0] : "");
    windows.Form1.show();
    return QApplication::exec();
}

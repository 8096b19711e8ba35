// Torvia RSIM-424 Loader: the launcher of the RSIM-424 train-driving simulator.

#include "shell/AllWindows.h"

#include <QApplication>
#include <QStyleFactory>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    // The caption of the launcher's message boxes.
    QApplication::setApplicationName(QStringLiteral("RSIM"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));

    AllWindows windows(argc > 0 ? argv[0] : "");
    windows.Form1.show();
    return QApplication::exec();
}

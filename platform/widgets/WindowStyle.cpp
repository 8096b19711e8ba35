#include "platform/widgets/WindowStyle.h"

#include <QApplication>
#include <QImageReader>
#include <QStyleFactory>

WindowStyle::WindowStyle() {
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    // Read as Fusion reads it, the picture's format is guessed by the same plugins, which then
    // stay loaded.
    pluginLoading_ = std::jthread([] {
        QImageReader(
            QStringLiteral(":/qt-project.org/styles/commonstyle/images/fusion_groupbox.png"))
            .canRead();
    });
}

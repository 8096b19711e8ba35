// The yardstick of the start-up benchmark: a Qt Widgets window of the main window's size and
// colour with nothing in it, built with the same compiler, flags, Qt and style as the launcher.

#include <QApplication>
#include <QPalette>
#include <QStyleFactory>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("RSIM"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QWidget window;
    window.setFixedSize(792, 535);
    window.setWindowTitle(QStringLiteral("Torvia RSIM-424"));
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, QColor(192, 220, 192));
    window.setPalette(palette);
    window.setAutoFillBackground(true);
    window.show();
    return QApplication::exec();
}

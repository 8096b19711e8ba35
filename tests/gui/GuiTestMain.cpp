#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Windows are tested without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("RSIM"));
    // A box no test answered would wait for a click forever: it fails the test instead.
    QTimer unansweredBoxes;
    QObject::connect(&unansweredBoxes, &QTimer::timeout, [] {
        // The install window blocks the others while it is open, and is no box.
        QWidget* box = QApplication::activeModalWidget();
        if (box && !box->inherits("TForm5")) {
            ADD_FAILURE() << "a box nobody answered: " << box->windowTitle().toStdString();
            box->close();
        }
    });
    unansweredBoxes.start(100);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

#include <QApplication>
#include <gtest/gtest.h>

// Widgets need an application object. The offscreen platform is chosen here as well, because
// ctest lists the tests by running this program without the tests' environment.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}

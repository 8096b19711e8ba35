#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Windows are tested without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("RSIM"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

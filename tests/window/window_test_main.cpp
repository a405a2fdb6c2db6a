#include <gtest/gtest.h>

#include <QApplication>

// The window tests need a QApplication for their whole run. The offscreen
// platform is the default so that listing the tests at build time needs no display.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}

#include <gtest/gtest.h>

#include <QCoreApplication>

// QSerialPort works without an event loop, but its socket notifiers want an
// application object on the main thread, as the tool's window provides.
int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    QCoreApplication app(argc, argv);
    return RUN_ALL_TESTS();
}

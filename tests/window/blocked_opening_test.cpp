// Windows only: a driver that blocks while the port opens, as a Bluetooth port's does for up
// to 30 s, is ended when the window closes.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "serial/win32_serial_line.h"
#include "tests/serial/blocking_call.h"
#include "tests/serial/fake_driver.h"
#include "tests/window/form1_fixture.h"

namespace vardelmo::window::test {
namespace {

TEST_F(Form1Test, ClosingTheWindowEndsAnOpeningThatBlocksInTheDriver) {
    auto call = std::make_shared<serial::BlockingCall>();
    ASSERT_TRUE(call->ok());
    auto driver = std::make_shared<serial::FakeDriver>();
    DWORD ended = ERROR_SUCCESS;
    driver->whileOpening = [call, &ended] {
        ended = call->run();
        return ended == 0 ? DWORD{ERROR_SEM_TIMEOUT} : ended;
    };
    makeLine_ = [driver] { return std::make_unique<serial::Win32SerialLine>(*driver); };

    QTest::mouseClick(button_, Qt::LeftButton);
    ASSERT_TRUE(call->waitUntilEntered());
    form_.close();  // returns once the request has ended

    EXPECT_EQ(ended, DWORD{ERROR_OPERATION_ABORTED}) << "the opening was left to run out";
    EXPECT_EQ(driver->handlesOpen, 0);
    EXPECT_EQ(peso_->text(), "0,00");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace vardelmo::window::test

// The Win32 line against a driver played in memory (tests/serial/fake_driver.h): what real
// drivers do and Wine does not, so these hold on any Windows machine and under Wine alike.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <optional>
#include <ostream>
#include <string>
#include <thread>

#include "serial/call_canceller.h"
#include "serial/win32_serial_line.h"
#include "tests/serial/blocking_call.h"
#include "tests/serial/failure_texts.h"
#include "tests/serial/fake_driver.h"
#include "tests/support/case_name.h"

namespace vardelmo::serial {
namespace {

using test_support::CaseName;

std::string bytes(std::size_t count) {
    std::string out(count, '\0');
    for (std::size_t i = 0; i < count; ++i) {
        out[i] = static_cast<char>(i * 7 % 251);
    }
    return out;
}

class Win32LineOnDriver : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(line.setSettings("2400,n,8,1"));
        ASSERT_TRUE(line.setPort(std::int16_t{5}));
    }
    void open() {
        const auto opened = line.setPortOpen(true);
        ASSERT_TRUE(opened) << opened.description();
    }

    FakeDriver driver;
    Win32SerialLine line{driver};
};

// ---- The read takes every byte held, whatever the driver says it holds ----

struct QueueCase {
    const char* name;
    std::size_t held;
    std::optional<DWORD> reported;
    friend void PrintTo(const QueueCase& c, std::ostream* os) { *os << c.held << " bytes held"; }
};

class ReportedQueue : public Win32LineOnDriver, public testing::WithParamInterface<QueueCase> {};

TEST_P(ReportedQueue, DoesNotSizeTheRead) {
    open();
    driver.input = bytes(GetParam().held);
    driver.reportedQueue = GetParam().reported;
    const auto input = line.getInput();
    ASSERT_TRUE(input) << input.description();
    EXPECT_TRUE(input.value() == bytes(GetParam().held)) << input.value().size() << " bytes read";
    EXPECT_TRUE(driver.input.empty());
    // Memory follows what arrived, never what the driver claims.
    EXPECT_LE(driver.largestRead, 64u * 1024);
}

INSTANTIATE_TEST_SUITE_P(Table, ReportedQueue,
                         testing::Values(QueueCase{"Truthful", 7, std::nullopt},
                                         // A faulty driver: a read sized by it would ask for 4 GiB.
                                         QueueCase{"FourGigabytes", 7, 0xFFFFFFFF},
                                         QueueCase{"Nothing", 7, 0},
                                         QueueCase{"LessThanHeld", 7, 3},
                                         QueueCase{"SeveralBuffers", 10000, std::nullopt},
                                         QueueCase{"NothingHeld", 0, 0xFFFFFFFF}),
                         CaseName());

// A device that never pauses still gives a read that ends, with its bytes.
TEST_F(Win32LineOnDriver, ADeviceThatNeverPausesStillEndsTheRead) {
    open();
    driver.endless = true;
    const auto input = line.getInput();
    ASSERT_TRUE(input) << input.description();
    EXPECT_GT(input.value().size(), 4096u);
    EXPECT_LE(input.value().size(), 1u << 20);
}

// A line error the last user left pending would make such a driver refuse the enquiry.
TEST_F(Win32LineOnDriver, ALineErrorLeftPendingDoesNotStopTheEnquiry) {
    driver.pendingErrors = CE_FRAME | CE_RXPARITY;
    open();
    const auto sent = line.setOutput("\x05");
    ASSERT_TRUE(sent) << sent.description();
    EXPECT_EQ(driver.sent, "\x05");
}

// A driver that blocks while the port opens (a Bluetooth port's, for up to 30 s) is ended from
// another thread, as closing the window ends it.
TEST_F(Win32LineOnDriver, AnOpeningThatBlocksInTheDriverIsCancelled) {
    BlockingCall call;
    ASSERT_TRUE(call.ok());
    DWORD ended = ERROR_SUCCESS;
    driver.whileOpening = [&] {
        ended = call.run();
        return ended == 0 ? DWORD{ERROR_SEM_TIMEOUT} : ended;
    };
    std::optional<CallCanceller> canceller;
    std::mutex mutex;
    std::condition_variable made;
    bool opened = false;
    std::thread request([&] {
        {
            const std::lock_guard lock(mutex);
            canceller.emplace();
        }
        made.notify_all();
        opened = line.setPortOpen(true).ok();
    });
    ASSERT_TRUE(call.waitUntilEntered());
    {
        std::unique_lock lock(mutex);
        made.wait(lock, [&] { return canceller.has_value(); });
    }
    // A cancel that comes before the call is entered ends nothing: cancel until it has ended.
    while (!call.ended()) {
        canceller->cancel();
        std::this_thread::yield();
    }
    request.join();
    EXPECT_EQ(ended, DWORD{ERROR_OPERATION_ABORTED}) << "the opening was left to run out";
    EXPECT_FALSE(opened);
    EXPECT_EQ(driver.handlesOpen, 0);
}

// ---- What another program left in the driver does not stop the opening ----

struct LeftCase {
    const char* name;
    char xon, xoff;
    WORD xonLimit, xoffLimit;
    DWORD queue;
    friend void PrintTo(const LeftCase& c, std::ostream* os) {
        *os << "XON " << int{c.xon} << ", XOFF " << int{c.xoff} << ", limits " << c.xonLimit << "/"
            << c.xoffLimit << " in a queue of " << c.queue;
    }
};

class LeftInTheDriver : public Win32LineOnDriver, public testing::WithParamInterface<LeftCase> {};

TEST_P(LeftInTheDriver, IsSetRightBeforeTheSettings) {
    const auto& c = GetParam();
    driver.dcb.XonChar = c.xon;
    driver.dcb.XoffChar = c.xoff;
    driver.dcb.XonLim = c.xonLimit;
    driver.dcb.XoffLim = c.xoffLimit;
    driver.inQueueSize = c.queue;
    open();
    EXPECT_EQ(driver.dcb.BaudRate, 2400u);
    ASSERT_TRUE(line.setSettings("9600,e,7,2")) << "nor the settings of an open port";
    EXPECT_EQ(driver.dcb.BaudRate, 9600u);
}

INSTANTIATE_TEST_SUITE_P(
    Table, LeftInTheDriver,
    testing::Values(LeftCase{"UsualState", 0x11, 0x13, 2048, 512, 4096},
                    // Seen on CDC and STM32 virtual ports.
                    LeftCase{"NoFlowCharacters", 0, 0, 2048, 512, 4096},
                    LeftCase{"SameFlowCharacters", 0x11, 0x11, 2048, 512, 4096},
                    LeftCase{"LimitsBeyondTheQueue", 0x11, 0x13, 60000, 60000, 4096},
                    LeftCase{"SmallQueue", 0x11, 0x13, 512, 128, 1024}),
    CaseName());

// ---- The port is left as the opening found it ----

struct LettingGoCase {
    const char* name;
    void (*letGo)(Win32SerialLine& line, FakeDriver& driver);
    friend void PrintTo(const LettingGoCase& c, std::ostream* os) { *os << c.name; }
};

class LettingGo : public Win32LineOnDriver, public testing::WithParamInterface<LettingGoCase> {};

TEST_P(LettingGo, PutsBackTheStateAndTimeoutsFound) {
    driver.dcb.BaudRate = 19200;
    driver.dcb.ByteSize = 7;
    driver.dcb.Parity = EVENPARITY;
    driver.dcb.fDtrControl = DTR_CONTROL_DISABLE;
    driver.timeouts = COMMTIMEOUTS{50, 10, 100, 5, 200};
    const DCB before = driver.dcb;
    const COMMTIMEOUTS timeoutsBefore = driver.timeouts;

    GetParam().letGo(line, driver);
    EXPECT_EQ(driver.handlesOpen, 0);
    EXPECT_EQ(std::memcmp(&driver.dcb, &before, sizeof before), 0)
        << "left at " << driver.dcb.BaudRate << " baud, " << int{driver.dcb.ByteSize}
        << " data bits";
    EXPECT_EQ(std::memcmp(&driver.timeouts, &timeoutsBefore, sizeof timeoutsBefore), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Table, LettingGo,
    testing::Values(LettingGoCase{"Closed",
                                  [](Win32SerialLine& line, FakeDriver&) {
                                      ASSERT_TRUE(line.setPortOpen(true));
                                      ASSERT_TRUE(line.setOutput("\x05"));
                                      ASSERT_TRUE(line.getInput());
                                      ASSERT_TRUE(line.setPortOpen(false));
                                  }},
                    LettingGoCase{"ReconfiguredThenClosed",
                                  [](Win32SerialLine& line, FakeDriver&) {
                                      ASSERT_TRUE(line.setPortOpen(true));
                                      ASSERT_TRUE(line.setSettings("4800,o,8,2"));
                                      ASSERT_TRUE(line.setPortOpen(false));
                                  }},
                    LettingGoCase{"OpenedTwice",
                                  [](Win32SerialLine& line, FakeDriver&) {
                                      ASSERT_TRUE(line.setPortOpen(true));
                                      ASSERT_TRUE(line.setPortOpen(true));
                                      ASSERT_TRUE(line.setPortOpen(false));
                                  }},
                    LettingGoCase{"Destroyed",
                                  [](Win32SerialLine&, FakeDriver& driver) {
                                      Win32SerialLine other(driver);
                                      ASSERT_TRUE(other.setSettings("1200,n,8,1"));
                                      ASSERT_TRUE(other.setPortOpen(true));
                                  }},
                    LettingGoCase{"OpeningFailedAfterTheSettings",
                                  [](Win32SerialLine& line, FakeDriver& driver) {
                                      driver.failing["PurgeComm"] = ERROR_GEN_FAILURE;
                                      ASSERT_FALSE(line.setPortOpen(true));
                                  }}),
    CaseName());

// ---- A call the driver fails is named for its step, with the driver's reason ----

enum class Operation { Open, Write, Read, Wait, Settings };

struct DriverErrorCase {
    const char* name;
    const char* call;
    DWORD error;
    Operation operation;
    Step step;
    Reason reason;
    friend void PrintTo(const DriverErrorCase& c, std::ostream* os) {
        *os << c.call << " failing with " << c.error;
    }
};

class DriverErrors : public Win32LineOnDriver,
                     public testing::WithParamInterface<DriverErrorCase> {};

TEST_P(DriverErrors, AreNamedForTheirStep) {
    const auto& c = GetParam();
    if (c.operation != Operation::Open) {
        open();
    }
    driver.failing[c.call] = c.error;
    const auto outcome = [&]() -> std::string {
        switch (c.operation) {
            case Operation::Open:
                return line.setPortOpen(true).description();
            case Operation::Write:
                return line.setOutput("\x05").description();
            case Operation::Read:
                return line.getInput().description();
            case Operation::Wait:
                return line.waitForInput(std::chrono::milliseconds{0}).description();
            case Operation::Settings:
                return line.setSettings("9600,n,8,1").description();
        }
        return {};
    }();
    EXPECT_EQ(outcome,
              expectedText(c.step, c.reason, "porta 5 (COM5)",
                           c.operation == Operation::Settings ? "9600,n,8,1" : "2400,n,8,1"));
    if (c.operation == Operation::Open) {
        EXPECT_EQ(driver.handlesOpen, 0) << "a failed opening lets the port go";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, DriverErrors,
    testing::Values(DriverErrorCase{"BluetoothOutOfReach", "CreateFile", ERROR_SEM_TIMEOUT,
                                    Operation::Open, Step::Open, Reason::NoAnswer},
                    DriverErrorCase{"AdapterNotWorking", "CreateFile", ERROR_GEN_FAILURE,
                                    Operation::Open, Step::Open, Reason::DeviceFailure},
                    DriverErrorCase{"NoState", "GetCommState", ERROR_INVALID_FUNCTION,
                                    Operation::Open, Step::Configure, Reason::Unsupported},
                    DriverErrorCase{"LineCodingRefused", "SetCommState", ERROR_GEN_FAILURE,
                                    Operation::Open, Step::Configure, Reason::DeviceFailure},
                    DriverErrorCase{"SettingsRefused", "SetCommState", ERROR_INVALID_PARAMETER,
                                    Operation::Open, Step::Configure, Reason::Unsupported},
                    DriverErrorCase{"NoTimeouts", "SetCommTimeouts", ERROR_INVALID_FUNCTION,
                                    Operation::Open, Step::Configure, Reason::Unsupported},
                    DriverErrorCase{"NoPurge", "PurgeComm", ERROR_GEN_FAILURE, Operation::Open,
                                    Step::Purge, Reason::DeviceFailure},
                    DriverErrorCase{"ErrorsNotCleared", "ClearCommError", ERROR_INVALID_FUNCTION,
                                    Operation::Open, Step::Purge, Reason::Unknown},
                    DriverErrorCase{"LineCodingRefusedLater", "SetCommState", ERROR_GEN_FAILURE,
                                    Operation::Settings, Step::Reconfigure, Reason::DeviceFailure},
                    DriverErrorCase{"WriteNotWorking", "WriteFile", ERROR_GEN_FAILURE,
                                    Operation::Write, Step::Write, Reason::DeviceFailure},
                    DriverErrorCase{"WriteTimedOut", "WriteFile", ERROR_SEM_TIMEOUT,
                                    Operation::Write, Step::Write, Reason::TimedOut},
                    DriverErrorCase{"ReadUnplugged", "ReadFile", ERROR_DEVICE_NOT_CONNECTED,
                                    Operation::Read, Step::Read, Reason::Lost},
                    DriverErrorCase{"ReadLinkDropped", "ReadFile", ERROR_SEM_TIMEOUT,
                                    Operation::Read, Step::Read, Reason::NoAnswer},
                    DriverErrorCase{"WaitNotWorking", "ReadFile", ERROR_GEN_FAILURE,
                                    Operation::Wait, Step::Read, Reason::DeviceFailure}),
    CaseName());

}  // namespace
}  // namespace vardelmo::serial

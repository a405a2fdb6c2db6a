// The Win32 line against a scale on a real serial port: under Wine the virtual scale on this
// host (scripts/with-wine-scale), on Windows the test scale at the other end of a pair of
// connected ports (run-tests.cmd). Nothing here opens a port the line holds: Windows refuses
// a second handle. The environment names the scale:
//   VARDELMO_SCALE_PORTS           the port numbers that reach it, e.g. "5 12"
//   VARDELMO_SCALE_LOG             its log, one line an enquiry
//   VARDELMO_MISSING_PORT          a port number with no port
//   VARDELMO_SCALE_SEES_SETTINGS   set when the log names the settings the client set (a
//                                  pseudo-terminal shows them; a real port does not)
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "query/field_texts.h"
#include "query/weight_request.h"
#include "serial/call_canceller.h"
#include "serial/win32_serial_line.h"
#include "tests/serial/failure_texts.h"
#include "tests/support/escaped.h"
#include "tests/support/patience.h"

namespace vardelmo::serial {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using test_support::escaped;
using test_support::kPatience;

const std::string frame =
    "\x02"
    "01234\x03";

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// The Win32 line, which also gathers what arrives until a number of bytes has come, through
// its own waits and reads: a test reads a reply only once it is whole, on a loaded machine
// too. The request's read then gives what was gathered and whatever the line holds after it.
class GatheringLine final : public SerialLine {
public:
    bool gather(std::size_t bytes) {
        while (gathered_.size() < bytes) {
            const auto held = line_.waitForInput(kPatience);
            if (!held || !held.value()) {
                return false;
            }
            auto input = line_.getInput();
            if (!input) {
                return false;
            }
            gathered_ += input.value();
        }
        return true;
    }

    Result<void> setSettings(std::string_view s) override { return line_.setSettings(s); }
    Result<void> setPort(const Port& p) override { return line_.setPort(p); }
    Result<void> setPortOpen(bool open) override {
        gathered_.clear();
        return line_.setPortOpen(open);
    }
    Result<void> setOutput(std::string_view b) override { return line_.setOutput(b); }
    Result<std::string> getInput() override {
        auto rest = line_.getInput();
        if (!rest) {
            return rest;
        }
        return std::exchange(gathered_, {}) + rest.value();
    }
    Result<bool> waitForInput(std::chrono::milliseconds t) override {
        return line_.waitForInput(t);
    }

private:
    Win32SerialLine line_;
    std::string gathered_;
};

class Win32LineOnScale : public testing::Test {
protected:
    void SetUp() override {
        std::istringstream ports(environment("VARDELMO_SCALE_PORTS"));
        for (int port = 0; ports >> port;) {
            ports_.push_back(port);
        }
        logPath_ = environment("VARDELMO_SCALE_LOG");
        ASSERT_FALSE(ports_.empty() || logPath_.empty())
            << "no scale: run through scripts/with-wine-scale or run-tests.cmd";
        // The scale makes its log once it answers: run-tests.cmd starts it just before.
        bool answering = false;
        for (const auto deadline = Clock::now() + kPatience; !answering;) {
            answering = std::ifstream(logPath_).is_open();
            if (!answering && Clock::now() >= deadline) {
                FAIL() << "the scale never started: no " << logPath_;
            }
            std::this_thread::sleep_for(1ms);
        }
        logStart_ = logSize();
    }

    std::streamoff logSize() const {
        std::ifstream log(logPath_, std::ios::binary | std::ios::ate);
        return log ? static_cast<std::streamoff>(log.tellg()) : 0;
    }

    // The scale's next enquiry line after those seen so far; empty if none came.
    std::string nextEnquiry() {
        const auto deadline = Clock::now() + kPatience;
        for (;;) {
            std::ifstream log(logPath_, std::ios::binary);
            log.seekg(logStart_);
            std::string line;
            while (std::getline(log, line) && !log.eof()) {
                logStart_ += static_cast<std::streamoff>(line.size() + 1);
                if (line.find(" enquiry") != std::string::npos) {
                    return line;
                }
            }
            if (Clock::now() >= deadline) {
                return {};
            }
            std::this_thread::sleep_for(1ms);
        }
    }

    // The request as the window makes it, with a 300 ms wait; after it the line also waits
    // for `expected` bytes, so that a loaded machine cannot turn a late reply into a failure.
    query::Outcome request(int port, const std::string& settings, std::size_t expected) {
        query::FieldTexts fields;
        fields.configText = settings;
        fields.portText = std::to_string(port);
        fields.waitText = "300";
        GatheringLine line;
        return query::runWeightRequest(fields, line, [&](std::chrono::milliseconds wait) {
            query::sleepFor(wait);
            EXPECT_TRUE(line.gather(expected)) << "the reply did not come whole";
        });
    }

    // The line, open on the first port at the scale's settings.
    void open(Win32SerialLine& line) {
        ASSERT_TRUE(line.setSettings("2400,n,8,1"));
        ASSERT_TRUE(line.setPort(static_cast<std::int16_t>(ports_.front())));
        const auto opened = line.setPortOpen(true);
        ASSERT_TRUE(opened) << opened.description();
    }

    std::vector<int> ports_;
    std::string logPath_;
    std::streamoff logStart_ = 0;
};

TEST_F(Win32LineOnScale, EveryPortReadsTheReply) {
    for (const int port : ports_) {
        SCOPED_TRACE("COM" + std::to_string(port));
        const auto outcome = request(port, "2400,n,8,1", frame.size());
        ASSERT_FALSE(outcome.failure) << outcome.failure->description;
        EXPECT_EQ(escaped(outcome.display.value_or("")), escaped(frame));
        const auto enquiry = nextEnquiry();
        EXPECT_NE(enquiry.find("received 05, sent 02 30 31 32 33 34 03"), std::string::npos)
            << enquiry;
    }
}

TEST_F(Win32LineOnScale, AMissingPortIsNamed) {
    const std::string missing = environment("VARDELMO_MISSING_PORT");
    ASSERT_FALSE(missing.empty()) << "VARDELMO_MISSING_PORT names no port";
    const auto outcome = request(std::stoi(missing), "2400,n,8,1", 0);
    ASSERT_TRUE(outcome.failure);
    EXPECT_EQ(
        outcome.failure->description,
        expectedText(Step::Open, Reason::Missing, "porta " + missing + " (COM" + missing + ")"));
    EXPECT_FALSE(outcome.display);
}

// A pseudo-terminal keeps the baud and the stop bits a client sets, so the virtual scale sees
// them; at a baud other than its own it does not answer.
TEST_F(Win32LineOnScale, TheSettingsReachTheDevice) {
    if (environment("VARDELMO_SCALE_SEES_SETTINGS").empty()) {
        GTEST_SKIP() << "this scale cannot tell which settings reach it";
    }
    struct Case {
        std::string settings;
        std::string logged;
        std::string reply;
    };
    for (const auto& c :
         {Case{"2400,n,8,2", "enquiry from 2400,n,8,2: received 05, sent 02", frame},
          Case{"9600,n,8,1", "enquiry from 9600,n,8,1: received 05, sent -", ""},
          Case{"2400,n,8,1", "enquiry from 2400,n,8,1: received 05, sent 02", frame}}) {
        SCOPED_TRACE(c.settings);
        const auto outcome = request(ports_.front(), c.settings, c.reply.size());
        ASSERT_FALSE(outcome.failure) << outcome.failure->description;
        const auto enquiry = nextEnquiry();
        EXPECT_NE(enquiry.find(c.logged), std::string::npos) << enquiry;
        EXPECT_EQ(escaped(outcome.display.value_or("")), escaped(c.reply));
    }
}

// A reply another program left unread is still held by the port; the next request must show
// only the reply to its own enquiry. The other program is the test, with a handle of its own,
// closed before the request opens the port.
TEST_F(Win32LineOnScale, InputHeldBeforeOpeningIsDiscarded) {
    const int port = ports_.front();
    {
        const auto path = "\\\\.\\COM" + std::to_string(port);
        const HANDLE other = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                         OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(other, INVALID_HANDLE_VALUE) << "error " << GetLastError();
        DCB dcb{};
        dcb.DCBlength = sizeof dcb;
        ASSERT_TRUE(GetCommState(other, &dcb));
        dcb.BaudRate = 2400;
        dcb.ByteSize = 8;
        dcb.Parity = NOPARITY;
        dcb.StopBits = ONESTOPBIT;
        ASSERT_TRUE(SetCommState(other, &dcb));
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(other, "\x05", 1, &written, nullptr));
        bool queued = false;
        for (const auto deadline = Clock::now() + kPatience; !queued && Clock::now() < deadline;) {
            DWORD errors = 0;
            COMSTAT status{};
            queued = ClearCommError(other, &errors, &status) && status.cbInQue >= frame.size();
            if (!queued) {
                std::this_thread::sleep_for(1ms);
            }
        }
        CloseHandle(other);
        ASSERT_TRUE(queued) << "the reply to the first enquiry never came";
    }
    ASSERT_FALSE(nextEnquiry().empty());

    const auto outcome = request(port, "2400,n,8,1", frame.size());
    ASSERT_FALSE(outcome.failure) << outcome.failure->description;
    EXPECT_EQ(escaped(outcome.display.value_or("")), escaped(frame));
}

// The wait for input ends at the reply's first byte, and waits its time out on a scale that
// says nothing (nothing asked it).
TEST_F(Win32LineOnScale, AWaitForInputEndsAtTheReplyOrWhenItsTimeIsUp) {
    Win32SerialLine line;
    open(line);

    auto start = Clock::now();
    const auto silent = line.waitForInput(100ms);
    ASSERT_TRUE(silent) << silent.description();
    EXPECT_FALSE(silent.value());
    EXPECT_GE(Clock::now() - start, 100ms);

    ASSERT_TRUE(line.setOutput("\x05"));
    start = Clock::now();
    const auto held = line.waitForInput(2 * kPatience);
    ASSERT_TRUE(held) << held.description();
    EXPECT_TRUE(held.value());
    EXPECT_LT(Clock::now() - start, kPatience) << "the wait did not end at the first byte";
    const auto again = line.waitForInput(2 * kPatience);
    EXPECT_TRUE(again && again.value()) << "what the first wait took is still held";

    std::string got;
    while (got.size() < frame.size()) {
        auto input = line.getInput();
        ASSERT_TRUE(input) << input.description();
        got += input.value();
        if (got.size() < frame.size()) {
            const auto more = line.waitForInput(kPatience);
            ASSERT_TRUE(more && more.value()) << "the reply stopped at " << escaped(got);
        }
    }
    EXPECT_EQ(escaped(got), escaped(frame)) << "the bytes the wait took were read first";
}

// A wait on a real port that nothing would end for long is ended from another thread, as
// closing the window ends it.
TEST_F(Win32LineOnScale, AWaitForInputIsCancelledFromAnotherThread) {
    // Wine 8 cancels no read of a serial port (CancelSynchronousIo finds none).
    if (GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr) {
        GTEST_SKIP() << "Wine cancels no read of a serial port";
    }
    Win32SerialLine line;
    open(line);
    std::optional<Result<bool>> outcome;
    std::optional<CallCanceller> canceller;
    std::mutex mutex;
    std::condition_variable changed;
    std::thread waiter([&] {
        {
            const std::lock_guard lock(mutex);
            canceller.emplace();
        }
        changed.notify_all();
        auto held = line.waitForInput(2 * kPatience);
        const std::lock_guard lock(mutex);
        outcome = std::move(held);
        changed.notify_all();
    });
    std::unique_lock lock(mutex);
    changed.wait(lock, [&] { return canceller.has_value(); });
    const auto start = Clock::now();
    // A cancel that comes before the wait's read is entered ends nothing: cancel until it ends.
    while (!changed.wait_for(lock, 10ms, [&] { return outcome.has_value(); })) {
        canceller->cancel();
    }
    const auto took = Clock::now() - start;
    lock.unlock();
    waiter.join();
    EXPECT_FALSE(outcome->ok()) << "the wait was not cancelled but ran out";
    EXPECT_LT(took, kPatience);
}

}  // namespace
}  // namespace vardelmo::serial

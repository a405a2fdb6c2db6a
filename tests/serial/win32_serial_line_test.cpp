// The Win32 line: its failure texts for every error it tells apart, and the whole request
// against the virtual scale on the host, reached under Wine through a COM port linked to
// the scale's terminal (run through scripts/with-wine-scale, which says which ports and
// where the scale logs).
#include "serial/win32_serial_line.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "query/weight_request.h"
#include "serial/win32_port_setup.h"
#include "tests/serial/failure_texts.h"
#include "tests/support/escaped.h"
#include "tests/support/typed_fields.h"

namespace vardelmo::serial {
namespace {

using namespace std::chrono_literals;
using test_support::escaped;

// What the line makes of each error the system may report after a step.
struct ErrorCase {
    Step step;
    std::uint32_t error;
    Reason reason;
    friend void PrintTo(const ErrorCase& c, std::ostream* os) {
        *os << "step " << static_cast<int>(c.step) << ", error " << c.error;
    }
};

class Win32FailureTexts : public testing::TestWithParam<ErrorCase> {};

TEST_P(Win32FailureTexts, TellTheCasesApart) {
    const auto& c = GetParam();
    EXPECT_EQ(failureText(c.step, win32Reason(c.step, c.error), "porta 5 (COM5)", "2400,n,8,1"),
              expectedText(c.step, c.reason, "porta 5 (COM5)"));
}

INSTANTIATE_TEST_SUITE_P(
    Table, Win32FailureTexts,
    testing::Values(ErrorCase{Step::Open, ERROR_FILE_NOT_FOUND, Reason::Missing},
                    ErrorCase{Step::Open, ERROR_PATH_NOT_FOUND, Reason::Missing},
                    ErrorCase{Step::Open, ERROR_INVALID_NAME, Reason::Missing},
                    ErrorCase{Step::Open, ERROR_ACCESS_DENIED, Reason::InUse},
                    ErrorCase{Step::Open, ERROR_SHARING_VIOLATION, Reason::InUse},
                    ErrorCase{Step::Open, ERROR_GEN_FAILURE, Reason::DeviceFailure},
                    ErrorCase{Step::Open, ERROR_SEM_TIMEOUT, Reason::NoAnswer},
                    ErrorCase{Step::Open, ERROR_INVALID_FUNCTION, Reason::Refused},
                    ErrorCase{Step::Configure, ERROR_INVALID_PARAMETER, Reason::Unsupported},
                    ErrorCase{Step::Configure, ERROR_INVALID_FUNCTION, Reason::Unsupported},
                    ErrorCase{Step::Configure, ERROR_GEN_FAILURE, Reason::DeviceFailure},
                    ErrorCase{Step::Configure, ERROR_SEM_TIMEOUT, Reason::NoAnswer},
                    ErrorCase{Step::Reconfigure, ERROR_INVALID_PARAMETER, Reason::Unknown},
                    ErrorCase{Step::Reconfigure, ERROR_GEN_FAILURE, Reason::DeviceFailure},
                    ErrorCase{Step::Reconfigure, ERROR_SEM_TIMEOUT, Reason::NoAnswer},
                    ErrorCase{Step::Purge, ERROR_INVALID_FUNCTION, Reason::Unknown},
                    ErrorCase{Step::Purge, ERROR_GEN_FAILURE, Reason::DeviceFailure},
                    ErrorCase{Step::Purge, ERROR_SEM_TIMEOUT, Reason::NoAnswer},
                    ErrorCase{Step::Write, ERROR_TIMEOUT, Reason::TimedOut},
                    ErrorCase{Step::Write, ERROR_SEM_TIMEOUT, Reason::TimedOut},
                    ErrorCase{Step::Write, WAIT_TIMEOUT, Reason::TimedOut},
                    ErrorCase{Step::Write, ERROR_ACCESS_DENIED, Reason::Lost},
                    ErrorCase{Step::Write, ERROR_DEVICE_NOT_CONNECTED, Reason::Lost},
                    ErrorCase{Step::Write, ERROR_GEN_FAILURE, Reason::DeviceFailure},
                    ErrorCase{Step::Read, ERROR_DEVICE_NOT_CONNECTED, Reason::Lost},
                    ErrorCase{Step::Read, ERROR_GEN_FAILURE, Reason::DeviceFailure},
                    ErrorCase{Step::Read, ERROR_SEM_TIMEOUT, Reason::NoAnswer}));

// ---- Against the virtual scale ----

constexpr auto kPatience = 10s;
const std::string frame =
    "\x02"
    "01234\x03";

using test_support::TypedFields;

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// Waits until the port holds `bytes` unread bytes or more, through a handle of the
// test's own (Wine lets a second one open a held port), so no read by the line is
// made before the scale's reply is there to read.
bool waitForQueued(int port, std::size_t bytes) {
    const auto path = "\\\\.\\COM" + std::to_string(port);
    const HANDLE watcher = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                       OPEN_EXISTING, 0, nullptr);
    if (watcher == INVALID_HANDLE_VALUE) {
        ADD_FAILURE() << "cannot watch " << path << ": error " << GetLastError();
        return false;
    }
    bool queued = false;
    for (const auto deadline = std::chrono::steady_clock::now() + kPatience;
         !queued && std::chrono::steady_clock::now() < deadline;) {
        DWORD errors = 0;
        COMSTAT status{};
        queued = ClearCommError(watcher, &errors, &status) && status.cbInQue >= bytes;
        if (!queued) {
            std::this_thread::sleep_for(1ms);
        }
    }
    CloseHandle(watcher);
    return queued;
}

class Win32LineOnScale : public testing::Test {
protected:
    void SetUp() override {
        std::istringstream ports(environment("VARDELMO_SCALE_PORTS"));
        for (int port = 0; ports >> port;) {
            ports_.push_back(port);
        }
        logPath_ = environment("VARDELMO_SCALE_LOG");
        ASSERT_FALSE(ports_.empty() || logPath_.empty())
            << "no scale: run through scripts/with-wine-scale";
        logStart_ = logSize();
    }

    std::streamoff logSize() const {
        std::ifstream log(logPath_, std::ios::binary | std::ios::ate);
        return log ? static_cast<std::streamoff>(log.tellg()) : 0;
    }

    // The scale's next enquiry line after those seen so far; empty if none came.
    std::string nextEnquiry() {
        const auto deadline = std::chrono::steady_clock::now() + kPatience;
        for (;;) {
            std::ifstream log(logPath_, std::ios::binary);
            log.seekg(logStart_);
            std::string line;
            while (std::getline(log, line) && !log.eof()) {
                logStart_ += static_cast<std::streamoff>(line.size() + 1);
                if (line.find(" enquiry from ") != std::string::npos) {
                    return line;
                }
            }
            if (std::chrono::steady_clock::now() >= deadline) {
                return {};
            }
            std::this_thread::sleep_for(1ms);
        }
    }

    // The request as the window makes it, with a 300 ms wait. Before the read the
    // test also waits for `expected` bytes to be held, so a loaded machine cannot
    // turn a late reply into a failure.
    query::Outcome request(int port, const std::string& settings, std::size_t expected) {
        TypedFields fields;
        fields.configText = settings;
        fields.portText = std::to_string(port);
        fields.waitText = "300";
        Win32SerialLine line;
        return query::runWeightRequest(fields, line, [&](std::chrono::milliseconds wait) {
            query::sleepFor(wait);
            if (expected > 0) {
                EXPECT_TRUE(waitForQueued(port, expected));
            }
        });
    }

    std::vector<int> ports_;
    std::string logPath_;
    std::streamoff logStart_ = 0;
};

TEST_F(Win32LineOnScale, EveryLinkedPortReadsTheReply) {
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
    const auto outcome = request(7, "2400,n,8,1", 0);
    ASSERT_TRUE(outcome.failure);
    EXPECT_EQ(outcome.failure->description,
              expectedText(Step::Open, Reason::Missing, "porta 7 (COM7)"));
    EXPECT_FALSE(outcome.display);
}

// A pseudo-terminal keeps only the baud and the stop bits of what a client sets, so
// those are what the scale can see; at a baud other than its own it does not answer.
TEST_F(Win32LineOnScale, TheSettingsReachTheDevice) {
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

// A reply left unread by an earlier opening is still held by the terminal; the
// next request must show only the reply to its own enquiry.
TEST_F(Win32LineOnScale, InputHeldBeforeOpeningIsDiscarded) {
    const int port = ports_.front();
    {
        Win32SerialLine line;
        ASSERT_TRUE(line.setSettings("2400,n,8,1"));
        ASSERT_TRUE(line.setPort(static_cast<std::int16_t>(port)));
        ASSERT_TRUE(line.setPortOpen(true));
        ASSERT_TRUE(line.setOutput("\x05"));
        ASSERT_TRUE(waitForQueued(port, frame.size()));
        ASSERT_TRUE(line.setPortOpen(false));
    }
    ASSERT_FALSE(nextEnquiry().empty());

    const auto outcome = request(port, "2400,n,8,1", frame.size());
    ASSERT_FALSE(outcome.failure) << outcome.failure->description;
    EXPECT_EQ(escaped(outcome.display.value_or("")), escaped(frame));
}

}  // namespace
}  // namespace vardelmo::serial

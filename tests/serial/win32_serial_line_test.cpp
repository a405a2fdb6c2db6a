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

#include "query/field_texts.h"
#include "query/weight_request.h"
#include "tests/support/escaped.h"

namespace vardelmo::serial {
namespace {

using namespace std::chrono_literals;
using test_support::escaped;

struct FailureCase {
    Win32Step step;
    std::uint32_t error;
    std::string text;
    friend void PrintTo(const FailureCase& c, std::ostream* os) {
        *os << "step " << static_cast<int>(c.step) << ", error " << c.error;
    }
};

class Win32FailureTexts : public testing::TestWithParam<FailureCase> {};

TEST_P(Win32FailureTexts, TellTheCasesApart) {
    EXPECT_EQ(win32FailureText(GetParam().step, GetParam().error, "porta 5 (COM5)", "2400,n,8,1"),
              GetParam().text);
}

const std::string missing = "Não foi possível abrir a porta 5 (COM5): dispositivo não encontrado.";
const std::string inUse = "A porta 5 (COM5) está em uso por outro programa.";
const std::string refusedOpening =
    "Não foi possível abrir a porta 5 (COM5): o sistema recusou a abertura.";
const std::string refusedSettings =
    "Não foi possível abrir a porta 5 (COM5): o dispositivo não aceita a configuração "
    "\"2400,n,8,1\" ou não é uma porta serial.";
const std::string lateWrite = "A porta 5 (COM5) não conseguiu enviar os dados a tempo.";
const std::string lostWrite =
    "Não foi possível enviar dados para a porta 5 (COM5): o dispositivo foi desconectado ou "
    "deixou de responder.";
const std::string lostRead =
    "Não foi possível ler da porta 5 (COM5): o dispositivo foi desconectado ou deixou de "
    "responder.";

INSTANTIATE_TEST_SUITE_P(
    Table, Win32FailureTexts,
    testing::Values(FailureCase{Win32Step::Open, ERROR_FILE_NOT_FOUND, missing},
                    FailureCase{Win32Step::Open, ERROR_PATH_NOT_FOUND, missing},
                    FailureCase{Win32Step::Open, ERROR_INVALID_NAME, missing},
                    FailureCase{Win32Step::Open, ERROR_ACCESS_DENIED, inUse},
                    FailureCase{Win32Step::Open, ERROR_SHARING_VIOLATION, inUse},
                    FailureCase{Win32Step::Open, ERROR_GEN_FAILURE, refusedOpening},
                    FailureCase{Win32Step::Open, ERROR_SEM_TIMEOUT, refusedOpening},
                    FailureCase{Win32Step::Configure, ERROR_INVALID_PARAMETER, refusedSettings},
                    FailureCase{Win32Step::Configure, ERROR_INVALID_FUNCTION, refusedSettings},
                    FailureCase{
                        Win32Step::Reconfigure, ERROR_INVALID_PARAMETER,
                        "Não foi possível aplicar a configuração \"2400,n,8,1\" à porta 5 (COM5)."},
                    FailureCase{Win32Step::Purge, ERROR_GEN_FAILURE,
                                "Não foi possível limpar a entrada da porta 5 (COM5)."},
                    FailureCase{Win32Step::Write, ERROR_TIMEOUT, lateWrite},
                    FailureCase{Win32Step::Write, ERROR_SEM_TIMEOUT, lateWrite},
                    FailureCase{Win32Step::Write, WAIT_TIMEOUT, lateWrite},
                    FailureCase{Win32Step::Write, ERROR_ACCESS_DENIED, lostWrite},
                    FailureCase{Win32Step::Write, ERROR_DEVICE_NOT_CONNECTED, lostWrite},
                    FailureCase{Win32Step::Read, ERROR_GEN_FAILURE, lostRead},
                    FailureCase{Win32Step::Read, ERROR_SEM_TIMEOUT, lostRead}));

// ---- Against the virtual scale ----

constexpr auto kPatience = 10s;
const std::string frame =
    "\x02"
    "01234\x03";

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
        query::FieldTexts fields;
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
              "Não foi possível abrir a porta 7 (COM7): dispositivo não encontrado.");
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

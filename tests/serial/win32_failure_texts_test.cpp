// The Win32 line: its failure texts for every error it tells apart.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <ostream>

#include "serial/win32_port_setup.h"
#include "tests/serial/failure_texts.h"

namespace vardelmo::serial {
namespace {

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

}  // namespace
}  // namespace vardelmo::serial

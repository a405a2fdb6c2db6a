// What each command line asks for, read as the program reads it before it creates any
// application object. The exit statuses and streams are the built program's: program_test.cpp.
#include "cli/command_line.h"

#include <gtest/gtest.h>

#include "serial/platform.h"
#include "tests/cli/command_line_cases.h"
#include "tests/cli/command_line_numbers.h"
#include "tests/cli/command_line_requests.h"
#include "tests/support/case_name.h"

namespace vardelmo::cli {
namespace {

using cases::Case;

class ReadCommandLine : public testing::TestWithParam<Case> {};

// The cases are written for a system whose ports may be device paths. Where a port is a number
// only (Windows), a path is refused as any other text that is not one, and the refusal names
// no path.
std::vector<Case> onThisSystem(std::vector<Case> cases) {
    if (serial::hostPlatform() == serial::Platform::Posix) {
        return cases;
    }
    const std::string withPath = ", from 1 to 32767, or a device path, not '";
    for (Case& c : cases) {
        if (const auto at = c.usageError.find(withPath); at != std::string::npos) {
            c.usageError.replace(at, withPath.size(), ", from 1 to 32767, not '");
        }
        if (c.usageError.empty() && c.port.starts_with('/')) {
            c.usageError = "--port takes plain digits 0-9, from 1 to 32767, not '" + c.port + "'.";
        }
    }
    return cases;
}

TEST_P(ReadCommandLine, GivesWhatTheLineAsksFor) {
    const Case& c = GetParam();
    QStringList arguments{"vardelmo"};
    for (const char* argument : c.arguments) {
        arguments << argument;
    }
    const CommandLine command = readCommandLine(arguments);
    // The mode picks what reports a refusal: the window's start or the command line.
    EXPECT_EQ(command.mode, c.mode);
    EXPECT_EQ(command.usageError.toStdString(), c.usageError);
    EXPECT_EQ(command.mayBeQtOptions, c.mayBeQtOptions);
    if (!c.usageError.empty()) {
        return;  // nothing else of a refused line is used
    }
    EXPECT_EQ(command.output, c.output);
    EXPECT_EQ(command.fields.portText, c.port);
    EXPECT_EQ(command.fields.configText, c.config);
    EXPECT_EQ(command.fields.waitText, c.wait);
    EXPECT_EQ(command.all, c.all);
    EXPECT_EQ(command.every, c.every);
    EXPECT_EQ(command.count, c.count);
    EXPECT_EQ(command.until, c.until);
    EXPECT_EQ(command.request, c.request);
}

INSTANTIATE_TEST_SUITE_P(Modes, ReadCommandLine,
                         testing::ValuesIn(onThisSystem(cases::modeCases())),
                         test_support::CaseName{});
INSTANTIATE_TEST_SUITE_P(Fields, ReadCommandLine,
                         testing::ValuesIn(onThisSystem(cases::fieldCases())),
                         test_support::CaseName{});
INSTANTIATE_TEST_SUITE_P(Outputs, ReadCommandLine,
                         testing::ValuesIn(onThisSystem(cases::outputCases())),
                         test_support::CaseName{});
INSTANTIATE_TEST_SUITE_P(Refusals, ReadCommandLine,
                         testing::ValuesIn(onThisSystem(cases::refusalCases())),
                         test_support::CaseName{});
INSTANTIATE_TEST_SUITE_P(Numbers, ReadCommandLine,
                         testing::ValuesIn(onThisSystem(cases::numberCases())),
                         test_support::CaseName{});
INSTANTIATE_TEST_SUITE_P(Requests, ReadCommandLine,
                         testing::ValuesIn(onThisSystem(cases::requestCases())),
                         test_support::CaseName{});
INSTANTIATE_TEST_SUITE_P(QtWords, ReadCommandLine,
                         testing::ValuesIn(onThisSystem(cases::qtWordCases())),
                         test_support::CaseName{});

}  // namespace
}  // namespace vardelmo::cli

// What each command line asks for, read as the program reads it before it creates any
// application object. The exit statuses and streams are the built program's: program_test.cpp.
#include "cli/command_line.h"

#include <gtest/gtest.h>

#include "tests/cli/command_line_cases.h"
#include "tests/cli/command_line_numbers.h"
#include "tests/cli/command_line_requests.h"
#include "tests/support/case_name.h"

namespace vardelmo::cli {
namespace {

using cases::Case;

class ReadCommandLine : public testing::TestWithParam<Case> {};

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

INSTANTIATE_TEST_SUITE_P(Modes, ReadCommandLine, testing::ValuesIn(cases::modeCases()),
                         test_support::CaseName{});
INSTANTIATE_TEST_SUITE_P(Fields, ReadCommandLine, testing::ValuesIn(cases::fieldCases()),
                         test_support::CaseName{});
INSTANTIATE_TEST_SUITE_P(Outputs, ReadCommandLine, testing::ValuesIn(cases::outputCases()),
                         test_support::CaseName{});
INSTANTIATE_TEST_SUITE_P(Refusals, ReadCommandLine, testing::ValuesIn(cases::refusalCases()),
                         test_support::CaseName{});
INSTANTIATE_TEST_SUITE_P(Numbers, ReadCommandLine, testing::ValuesIn(cases::numberCases()),
                         test_support::CaseName{});
INSTANTIATE_TEST_SUITE_P(Requests, ReadCommandLine, testing::ValuesIn(cases::requestCases()),
                         test_support::CaseName{});
INSTANTIATE_TEST_SUITE_P(QtWords, ReadCommandLine, testing::ValuesIn(cases::qtWordCases()),
                         test_support::CaseName{});

}  // namespace
}  // namespace vardelmo::cli

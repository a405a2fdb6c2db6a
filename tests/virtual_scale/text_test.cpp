#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <string_view>

#include "tests/support/escaped.h"
#include "virtual_scale/commands.h"
#include "virtual_scale/line_settings.h"

namespace vardelmo::vscale {
namespace {

using vardelmo::test_support::escaped;

struct LineCase {
    std::string text;
    bool valid;
    unsigned baud = 0;
    double bitsPerByte = 0;
    friend void PrintTo(const LineCase& c, std::ostream* os) {
        *os << '"' << escaped(c.text) << '"';
    }
};

class LineSettingsTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(LineSettingsTest, Parses) {
    const auto& c = GetParam();
    std::string error;
    const auto line = parseLineSettings(c.text, error);
    ASSERT_EQ(line.has_value(), c.valid) << c.text;
    if (line) {
        EXPECT_EQ(line->baud, c.baud);
        EXPECT_DOUBLE_EQ(line->bitsPerByte(), c.bitsPerByte);
    } else {
        EXPECT_FALSE(error.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    All, LineSettingsTest,
    ::testing::Values(
        LineCase{"2400,n,8,1", true, 2400, 10}, LineCase{" 9600,E,7,2 ", true, 9600, 11},
        LineCase{"1200,o,8,1", true, 1200, 11}, LineCase{"300,M,5,1.5", true, 300, 8.5},
        LineCase{"19200,s,6,2", true, 19200, 10}, LineCase{"2500,n,8,1", true, 2500, 10},
        LineCase{"", false}, LineCase{"2400,n,8", false}, LineCase{"2400,n,8,1,x", false},
        LineCase{"0,n,8,1", false}, LineCase{"-2400,n,8,1", false}, LineCase{"24k,n,8,1", false},
        LineCase{"99999999999,n,8,1", false}, LineCase{"2400,x,8,1", false},
        LineCase{"2400,no,8,1", false}, LineCase{"2400,n,4,1", false},
        LineCase{"2400,n,9,1", false}, LineCase{"2400,n,8,3", false},
        LineCase{"2400,n,8,1.0", false}, LineCase{"2400, n,8,1", false}));

struct CommandCase {
    std::string line;
    bool valid;
    Command::Kind kind = Command::Kind::None;
    friend void PrintTo(const CommandCase& c, std::ostream* os) {
        *os << '"' << escaped(c.line) << '"';
    }
};

class LiveCommandTest : public ::testing::TestWithParam<CommandCase> {};

TEST_P(LiveCommandTest, Parses) {
    const auto& c = GetParam();
    std::string error;
    const auto command = parseCommand(c.line, error);
    ASSERT_EQ(command.has_value(), c.valid) << c.line;
    if (command) {
        EXPECT_EQ(command->kind, c.kind);
    } else {
        EXPECT_FALSE(error.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    All, LiveCommandTest,
    ::testing::Values(CommandCase{"weight 2.5", true, Command::Kind::Weight},
                      CommandCase{"  weight\t-0.75\r", true, Command::Kind::Weight},
                      CommandCase{"state motion", true, Command::Kind::State},
                      CommandCase{"format line", true, Command::Kind::Format},
                      CommandCase{"", true, Command::Kind::None},
                      CommandCase{"   ", true, Command::Kind::None}, CommandCase{"weight", false},
                      CommandCase{"weight abc", false}, CommandCase{"weight 2,5", false},
                      CommandCase{"weight inf", false}, CommandCase{"weight nan", false},
                      CommandCase{"weight 1 2", false}, CommandCase{"state asleep", false},
                      CommandCase{"format xml", false}, CommandCase{"Weight 1", false},
                      CommandCase{"tare 0", false}));

TEST(LiveCommandTest, CarriesTheValue) {
    std::string error;
    EXPECT_DOUBLE_EQ(parseCommand("weight +2.5", error)->weightKg, 2.5);
    EXPECT_EQ(parseCommand("state overload", error)->state, State::Overload);
    EXPECT_EQ(parseCommand("format ack", error)->format, Format::Ack);
}

}  // namespace
}  // namespace vardelmo::vscale

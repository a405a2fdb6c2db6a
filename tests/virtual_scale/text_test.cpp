#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <string_view>

#include "tests/serial/accepted_settings.h"
#include "tests/support/case_name.h"
#include "tests/support/escaped.h"
#include "virtual_scale/commands.h"
#include "virtual_scale/line_settings.h"

namespace vardelmo::vscale {
namespace {

using vardelmo::test_support::CaseName;
using vardelmo::test_support::escaped;

struct LineCase {
    const char* name;
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

// The scale reads settings as the tool does (the shared table below), and beyond it only 1.5
// stop bits: see line_settings.h for why.
INSTANTIATE_TEST_SUITE_P(
    All, LineSettingsTest,
    ::testing::Values(
        LineCase{"Default", "2400,n,8,1", true, 2400, 10},
        LineCase{"CapitalParity", "9600,E,7,2", true, 9600, 11},
        LineCase{"OddParity", "1200,o,8,1", true, 1200, 11},
        LineCase{"MarkWithOneAndAHalfStopBits", "300,M,5,1.5", true, 300, 8.5},
        LineCase{"SpaceParityTwoStopBits", "19200,s,6,2", true, 19200, 10},
        LineCase{"NonStandardBaud", "2500,n,8,1", true, 2500, 10}, LineCase{"Empty", "", false},
        LineCase{"NoStopBits", "2400,n,8", false}, LineCase{"FifthField", "2400,n,8,1,x", false},
        LineCase{"ZeroBaud", "0,n,8,1", false}, LineCase{"NegativeBaud", "-2400,n,8,1", false},
        LineCase{"BaudWithUnit", "24k,n,8,1", false},
        LineCase{"LargestBaud", "2147483647,n,8,1", true, 2147483647, 10},
        LineCase{"BaudAboveWhatTheToolAsks", "2147483648,n,8,1", false},
        LineCase{"BaudTooLarge", "99999999999,n,8,1", false},
        LineCase{"SpaceBefore", " 9600,e,7,2", false}, LineCase{"SpaceAfter", "9600,e,7,2 ", false},
        LineCase{"TabAfter", "9600,e,7,2\t", false},
        LineCase{"DataBitsLeadingZero", "2400,n,08,1", false},
        LineCase{"UnknownParity", "2400,x,8,1", false},
        LineCase{"ParityWord", "2400,no,8,1", false},
        LineCase{"TooFewDataBits", "2400,n,4,1", false},
        LineCase{"TooManyDataBits", "2400,n,9,1", false},
        LineCase{"ThreeStopBits", "2400,n,8,3", false},
        LineCase{"StopBitsWithPoint", "2400,n,8,1.0", false},
        LineCase{"SpaceInside", "2400, n,8,1", false}),
    CaseName());

char parityLetter(serial::Parity parity) {
    switch (parity) {
        case serial::Parity::None:
            return 'n';
        case serial::Parity::Even:
            return 'e';
        case serial::Parity::Odd:
            return 'o';
        case serial::Parity::Mark:
            return 'm';
        case serial::Parity::Space:
            return 's';
    }
    return '?';
}

double stopBitCount(serial::StopBits stopBits) {
    switch (stopBits) {
        case serial::StopBits::One:
            return 1;
        case serial::StopBits::OneAndHalf:
            return 1.5;
        case serial::StopBits::Two:
            return 2;
    }
    return 0;
}

// Every text the tool's line accepts, the scale accepts as the same settings.
class SharedSettingsTest : public ::testing::TestWithParam<serial::SettingsCase> {};

TEST_P(SharedSettingsTest, ReadAsTheToolReadsThem) {
    const auto& expected = GetParam().expected;
    std::string error;
    const auto line = parseLineSettings(GetParam().text, error);
    ASSERT_TRUE(line) << error;
    EXPECT_EQ(line->baud, static_cast<unsigned>(expected.baud));
    EXPECT_EQ(line->parity, parityLetter(expected.parity));
    EXPECT_EQ(line->dataBits, static_cast<unsigned>(expected.dataBits));
    EXPECT_DOUBLE_EQ(line->stopBits, stopBitCount(expected.stopBits));
}

INSTANTIATE_TEST_SUITE_P(Table, SharedSettingsTest, ::testing::ValuesIn(serial::kAcceptedSettings),
                         CaseName());

struct CommandCase {
    const char* name;
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
    ::testing::Values(CommandCase{"Weight", "weight 2.5", true, Command::Kind::Weight},
                      CommandCase{"WeightWithTabAndCarriageReturn", "  weight\t-0.75\r", true,
                                  Command::Kind::Weight},
                      CommandCase{"State", "state motion", true, Command::Kind::State},
                      CommandCase{"Format", "format line", true, Command::Kind::Format},
                      CommandCase{"NewFormat", "format micheletti", true, Command::Kind::Format},
                      CommandCase{"Empty", "", true, Command::Kind::None},
                      CommandCase{"OnlySpaces", "   ", true, Command::Kind::None},
                      CommandCase{"WeightWithoutValue", "weight", false},
                      CommandCase{"WeightNotANumber", "weight abc", false},
                      CommandCase{"WeightWithDecimalComma", "weight 2,5", false},
                      CommandCase{"WeightInfinite", "weight inf", false},
                      CommandCase{"WeightNotANumberWord", "weight nan", false},
                      CommandCase{"WeightTwoValues", "weight 1 2", false},
                      CommandCase{"UnknownState", "state asleep", false},
                      CommandCase{"UnknownFormat", "format xml", false},
                      CommandCase{"CapitalCommand", "Weight 1", false},
                      CommandCase{"UnknownCommand", "tare 0", false}),
    CaseName());

TEST(LiveCommandTest, CarriesTheValue) {
    std::string error;
    EXPECT_DOUBLE_EQ(parseCommand("weight +2.5", error)->weightKg, 2.5);
    EXPECT_EQ(parseCommand("state overload", error)->state, State::Overload);
    EXPECT_EQ(parseCommand("format ack", error)->format, Format::Ack);
    EXPECT_EQ(parseCommand("format st-gs", error)->format, Format::StGs);
    EXPECT_EQ(parseCommand("format stx5", error)->format, Format::ToledoB);
}

}  // namespace
}  // namespace vardelmo::vscale

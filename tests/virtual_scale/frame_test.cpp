#include <gtest/gtest.h>

#include <limits>
#include <ostream>
#include <string>

#include "tests/support/case_name.h"
#include "virtual_scale/commands.h"
#include "virtual_scale/virtual_scale.h"

namespace vardelmo::vscale {
namespace {

using test_support::CaseName;

struct FrameCase {
    const char* name;
    Format format;
    double kg;
    State state;
    std::string expected;
    friend void PrintTo(const FrameCase& c, std::ostream* os) {
        *os << formatName(c.format) << ' ' << c.kg << " kg " << stateName(c.state);
    }
};

class FrameTest : public ::testing::TestWithParam<FrameCase> {};

TEST_P(FrameTest, Bytes) {
    const auto& c = GetParam();
    EXPECT_EQ(frame(c.format, c.kg, c.state), c.expected);
}

const std::string stx = "\x02";
const std::string etx = "\x03";

INSTANTIATE_TEST_SUITE_P(
    Stx5, FrameTest,
    ::testing::Values(
        FrameCase{"WholeGrams", Format::Stx5, 1.234, State::Stable, stx + "01234" + etx},
        FrameCase{"Zero", Format::Stx5, 0, State::Stable, stx + "00000" + etx},
        FrameCase{"Capacity", Format::Stx5, 99.999, State::Stable, stx + "99999" + etx},
        FrameCase{"AboveCapacity", Format::Stx5, 100.0, State::Stable, stx + "SSSSS" + etx},
        FrameCase{"RoundsUpToOverload", Format::Stx5, 99.9996, State::Stable, stx + "SSSSS" + etx},
        FrameCase{"HalfGramToEven", Format::Stx5, 0.0625, State::Stable, stx + "00063" + etx},
        FrameCase{"RoundsDown", Format::Stx5, 1.0004, State::Stable, stx + "01000" + etx},
        FrameCase{"TinyNegativeIsZero", Format::Stx5, -0.0004, State::Stable, stx + "00000" + etx},
        FrameCase{"BelowZero", Format::Stx5, -0.5, State::Stable, stx + "NNNNN" + etx},
        FrameCase{"Motion", Format::Stx5, 1.234, State::Motion, stx + "IIIII" + etx},
        FrameCase{"NegativeState", Format::Stx5, 1.234, State::Negative, stx + "NNNNN" + etx},
        FrameCase{"OverloadState", Format::Stx5, 1.234, State::Overload, stx + "SSSSS" + etx},
        FrameCase{"OverloadBeatsMotion", Format::Stx5, 150, State::Motion, stx + "SSSSS" + etx},
        FrameCase{"NotANumber", Format::Stx5, std::numeric_limits<double>::quiet_NaN(),
                  State::Stable, stx + "SSSSS" + etx},
        FrameCase{"Huge", Format::Stx5, 1e300, State::Stable, stx + "SSSSS" + etx},
        FrameCase{"HugeNegative", Format::Stx5, -1e300, State::Stable, stx + "NNNNN" + etx},
        FrameCase{"Silent", Format::Stx5, 1.234, State::Silent, ""}),
    CaseName());

INSTANTIATE_TEST_SUITE_P(
    Status, FrameTest,
    ::testing::Values(
        FrameCase{"Stable", Format::Status, 1.234, State::Stable, stx + "+  1.234G" + etx},
        FrameCase{"Motion", Format::Status, 12.5, State::Motion, stx + "+ 12.500M" + etx},
        FrameCase{"BelowZero", Format::Status, -0.25, State::Stable, stx + "-  0.250U" + etx},
        FrameCase{"UnderloadBeatsMotion", Format::Status, -0.25, State::Motion,
                  stx + "-  0.250U" + etx},
        FrameCase{"NegativeState", Format::Status, 1.234, State::Negative, stx + "-  1.234U" + etx},
        FrameCase{"OverloadState", Format::Status, 1.234, State::Overload, stx + "+  1.234O" + etx},
        FrameCase{"AboveCapacity", Format::Status, 120, State::Stable, stx + "+120.000O" + etx},
        FrameCase{"FieldStopsAt999", Format::Status, 5000, State::Stable, stx + "+999.999O" + etx},
        FrameCase{"Silent", Format::Status, 1.234, State::Silent, ""}),
    CaseName());

INSTANTIATE_TEST_SUITE_P(
    Line, FrameTest,
    ::testing::Values(
        FrameCase{"Stable", Format::Line, 1.234, State::Stable, "+  1.234 kg G\r\n"},
        FrameCase{"Motion", Format::Line, 2.5, State::Motion, "+  2.500 kg M\r\n"},
        FrameCase{"NegativeState", Format::Line, 1.234, State::Negative, "-  1.234 kg U\r\n"},
        FrameCase{"OverloadState", Format::Line, 1.234, State::Overload, "+  1.234 kg O\r\n"},
        FrameCase{"Silent", Format::Line, 1.234, State::Silent, ""}),
    CaseName());

INSTANTIATE_TEST_SUITE_P(
    Ack, FrameTest,
    ::testing::Values(FrameCase{"Stable", Format::Ack, 1.234, State::Stable, "\x06"},
                      FrameCase{"Motion", Format::Ack, 1.234, State::Motion, "\x06"},
                      FrameCase{"NegativeState", Format::Ack, 1.234, State::Negative, "\x06"},
                      FrameCase{"OverloadState", Format::Ack, 1.234, State::Overload, "\x06"},
                      FrameCase{"Silent", Format::Ack, 1.234, State::Silent, ""}),
    CaseName());

}  // namespace
}  // namespace vardelmo::vscale

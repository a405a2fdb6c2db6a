#include <gtest/gtest.h>

#include <limits>
#include <ostream>
#include <string>

#include "virtual_scale/commands.h"
#include "virtual_scale/virtual_scale.h"

namespace vardelmo::vscale {
namespace {

struct FrameCase {
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
    ::testing::Values(FrameCase{Format::Stx5, 1.234, State::Stable, stx + "01234" + etx},
                      FrameCase{Format::Stx5, 0, State::Stable, stx + "00000" + etx},
                      FrameCase{Format::Stx5, 99.999, State::Stable, stx + "99999" + etx},
                      FrameCase{Format::Stx5, 100.0, State::Stable, stx + "SSSSS" + etx},
                      FrameCase{Format::Stx5, 99.9996, State::Stable, stx + "SSSSS" + etx},
                      FrameCase{Format::Stx5, 0.0625, State::Stable, stx + "00063" + etx},
                      FrameCase{Format::Stx5, 1.0004, State::Stable, stx + "01000" + etx},
                      FrameCase{Format::Stx5, -0.0004, State::Stable, stx + "00000" + etx},
                      FrameCase{Format::Stx5, -0.5, State::Stable, stx + "NNNNN" + etx},
                      FrameCase{Format::Stx5, 1.234, State::Motion, stx + "IIIII" + etx},
                      FrameCase{Format::Stx5, 1.234, State::Negative, stx + "NNNNN" + etx},
                      FrameCase{Format::Stx5, 1.234, State::Overload, stx + "SSSSS" + etx},
                      FrameCase{Format::Stx5, 150, State::Motion, stx + "SSSSS" + etx},
                      FrameCase{Format::Stx5, std::numeric_limits<double>::quiet_NaN(),
                                State::Stable, stx + "SSSSS" + etx},
                      FrameCase{Format::Stx5, 1e300, State::Stable, stx + "SSSSS" + etx},
                      FrameCase{Format::Stx5, -1e300, State::Stable, stx + "NNNNN" + etx},
                      FrameCase{Format::Stx5, 1.234, State::Silent, ""}));

INSTANTIATE_TEST_SUITE_P(
    Status, FrameTest,
    ::testing::Values(FrameCase{Format::Status, 1.234, State::Stable, stx + "+  1.234G" + etx},
                      FrameCase{Format::Status, 12.5, State::Motion, stx + "+ 12.500M" + etx},
                      FrameCase{Format::Status, -0.25, State::Stable, stx + "-  0.250U" + etx},
                      FrameCase{Format::Status, -0.25, State::Motion, stx + "-  0.250U" + etx},
                      FrameCase{Format::Status, 1.234, State::Negative, stx + "-  1.234U" + etx},
                      FrameCase{Format::Status, 1.234, State::Overload, stx + "+  1.234O" + etx},
                      FrameCase{Format::Status, 120, State::Stable, stx + "+120.000O" + etx},
                      FrameCase{Format::Status, 5000, State::Stable, stx + "+999.999O" + etx},
                      FrameCase{Format::Status, 1.234, State::Silent, ""}));

INSTANTIATE_TEST_SUITE_P(
    Line, FrameTest,
    ::testing::Values(FrameCase{Format::Line, 1.234, State::Stable, "+  1.234 kg G\r\n"},
                      FrameCase{Format::Line, 2.5, State::Motion, "+  2.500 kg M\r\n"},
                      FrameCase{Format::Line, 1.234, State::Negative, "-  1.234 kg U\r\n"},
                      FrameCase{Format::Line, 1.234, State::Overload, "+  1.234 kg O\r\n"},
                      FrameCase{Format::Line, 1.234, State::Silent, ""}));

INSTANTIATE_TEST_SUITE_P(Ack, FrameTest,
                         ::testing::Values(FrameCase{Format::Ack, 1.234, State::Stable, "\x06"},
                                           FrameCase{Format::Ack, 1.234, State::Motion, "\x06"},
                                           FrameCase{Format::Ack, 1.234, State::Negative, "\x06"},
                                           FrameCase{Format::Ack, 1.234, State::Overload, "\x06"},
                                           FrameCase{Format::Ack, 1.234, State::Silent, ""}));

}  // namespace
}  // namespace vardelmo::vscale

#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "tests/support/case_name.h"
#include "tests/virtual_scale/frame_case.h"

namespace vardelmo::vscale {
namespace {

using test_support::CaseName;

TEST_P(FrameTest, Bytes) {
    const auto& c = GetParam();
    EXPECT_EQ(frame(c.format, c.kg, c.state), c.expected);
}

const std::string stx = "\x02";
const std::string etx = "\x03";
const std::string cr = "\r";

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
    ToledoB, FrameTest,
    ::testing::Values(
        FrameCase{"Stable", Format::ToledoB, 1.234, State::Stable, stx + "01234" + etx},
        FrameCase{"Motion", Format::ToledoB, 1.234, State::Motion, stx + "IIIII" + etx},
        FrameCase{"NegativeState", Format::ToledoB, 1.234, State::Negative, stx + "NNNNN" + etx},
        FrameCase{"OverloadState", Format::ToledoB, 1.234, State::Overload, stx + "SSSSS" + etx},
        FrameCase{"Silent", Format::ToledoB, 1.234, State::Silent, ""}),
    CaseName());

INSTANTIATE_TEST_SUITE_P(
    ToledoC, FrameTest,
    ::testing::Values(
        FrameCase{"Stable", Format::ToledoC, 1.234, State::Stable, stx + "01234" + cr},
        FrameCase{"Zero", Format::ToledoC, 0, State::Stable, stx + "00000" + cr},
        FrameCase{"Motion", Format::ToledoC, 1.234, State::Motion, stx + "IIIII" + cr},
        FrameCase{"NegativeState", Format::ToledoC, 1.234, State::Negative, stx + "NNNNN" + cr},
        FrameCase{"BelowZero", Format::ToledoC, -0.5, State::Stable, stx + "NNNNN" + cr},
        FrameCase{"OverloadState", Format::ToledoC, 1.234, State::Overload, stx + "SSSSS" + cr},
        FrameCase{"AboveCapacity", Format::ToledoC, 100, State::Stable, stx + "SSSSS" + cr},
        FrameCase{"Silent", Format::ToledoC, 1.234, State::Silent, ""}),
    CaseName());

// STX S1 weight S2 total price CR checksum; the price is 20.00 a kg.
INSTANTIATE_TEST_SUITE_P(
    ToledoA, FrameTest,
    ::testing::Values(
        FrameCase{"Stable", Format::ToledoA, 1.234, State::Stable,
                  hex("02 00 30 30 31 32 33 34 00 30 30 32 34 36 38 30 30 32 30 30 30 0d 71")},
        FrameCase{"Zero", Format::ToledoA, 0, State::Stable,
                  hex("02 00 30 30 30 30 30 30 00 30 30 30 30 30 30 30 30 32 30 30 30 0d 8f")},
        FrameCase{"Capacity", Format::ToledoA, 99.999, State::Stable,
                  hex("02 00 30 39 39 39 39 39 00 31 39 39 39 39 38 30 30 32 30 30 30 0d 35")},
        FrameCase{"Motion", Format::ToledoA, 1.234, State::Motion,
                  hex("02 01 30 30 31 32 33 34 00 30 30 32 34 36 38 30 30 32 30 30 30 0d 70")},
        FrameCase{"NegativeState", Format::ToledoA, 1.234, State::Negative,
                  hex("02 08 30 30 31 32 33 34 00 30 30 30 30 30 30 30 30 32 30 30 30 0d 7d")},
        FrameCase{"BelowZero", Format::ToledoA, -0.5, State::Stable,
                  hex("02 08 30 30 30 35 30 30 00 30 30 30 30 30 30 30 30 32 30 30 30 0d 82")},
        FrameCase{"OverloadState", Format::ToledoA, 1.234, State::Overload,
                  hex("02 08 30 30 31 32 33 34 00 30 30 30 30 30 30 30 30 32 30 30 30 0d 7d")},
        FrameCase{"AboveCapacity", Format::ToledoA, 120, State::Stable,
                  hex("02 08 31 32 30 30 30 30 00 30 30 30 30 30 30 30 30 32 30 30 30 0d 84")},
        FrameCase{"Silent", Format::ToledoA, 1.234, State::Silent, ""}),
    CaseName());

// STX SWA SWB SWC weight tare CR: SWA 2d (three decimals), SWB 30 plus its status bits.
INSTANTIATE_TEST_SUITE_P(
    P03, FrameTest,
    ::testing::Values(FrameCase{"Stable", Format::P03, 1.234, State::Stable,
                                hex("02 2d 30 20 30 30 31 32 33 34 30 30 30 30 30 30 0d")},
                      FrameCase{"Motion", Format::P03, 1.234, State::Motion,
                                hex("02 2d 38 20 30 30 31 32 33 34 30 30 30 30 30 30 0d")},
                      FrameCase{"NegativeState", Format::P03, 1.234, State::Negative,
                                hex("02 2d 32 20 30 30 31 32 33 34 30 30 30 30 30 30 0d")},
                      FrameCase{"BelowZero", Format::P03, -0.25, State::Stable,
                                hex("02 2d 32 20 30 30 30 32 35 30 30 30 30 30 30 30 0d")},
                      FrameCase{"OverloadState", Format::P03, 1.234, State::Overload,
                                hex("02 2d 34 20 30 30 31 32 33 34 30 30 30 30 30 30 0d")},
                      FrameCase{"AboveCapacity", Format::P03, 120, State::Stable,
                                hex("02 2d 34 20 31 32 30 30 30 30 30 30 30 30 30 30 0d")},
                      FrameCase{"Silent", Format::P03, 1.234, State::Silent, ""}),
    CaseName());

INSTANTIATE_TEST_SUITE_P(
    StGs, FrameTest,
    ::testing::Values(
        FrameCase{"Stable", Format::StGs, 1.234, State::Stable, "ST,GS,+  1.234kg\r\n"},
        FrameCase{"Motion", Format::StGs, 12.5, State::Motion, "US,GS,+ 12.500kg\r\n"},
        FrameCase{"NegativeState", Format::StGs, 1.234, State::Negative, "ST,GS,-  1.234kg\r\n"},
        FrameCase{"BelowZero", Format::StGs, -0.25, State::Stable, "ST,GS,-  0.250kg\r\n"},
        FrameCase{"OverloadState", Format::StGs, 1.234, State::Overload, "OL,GS,+  1.234kg\r\n"},
        FrameCase{"AboveCapacity", Format::StGs, 120, State::Stable, "OL,GS,+120.000kg\r\n"},
        FrameCase{"Silent", Format::StGs, 1.234, State::Silent, ""}),
    CaseName());

// STX weight SP price SP total ETX, space-padded; nothing where its digits cannot say it.
INSTANTIATE_TEST_SUITE_P(
    Micheletti, FrameTest,
    ::testing::Values(FrameCase{"Stable", Format::Micheletti, 1.234, State::Stable,
                                stx + "  1234   2000   2468" + etx},
                      FrameCase{"UnderAKilogram", Format::Micheletti, 0.8, State::Stable,
                                stx + "  0800   2000   1600" + etx},
                      FrameCase{"Zero", Format::Micheletti, 0, State::Stable,
                                stx + "  0000   2000    000" + etx},
                      FrameCase{"Capacity", Format::Micheletti, 99.999, State::Stable,
                                stx + " 99999   2000 199998" + etx},
                      FrameCase{"MotionLooksStable", Format::Micheletti, 1.234, State::Motion,
                                stx + "  1234   2000   2468" + etx},
                      FrameCase{"NegativeState", Format::Micheletti, 1.234, State::Negative, ""},
                      FrameCase{"BelowZero", Format::Micheletti, -0.5, State::Stable, ""},
                      FrameCase{"OverloadState", Format::Micheletti, 1.234, State::Overload, ""},
                      FrameCase{"AboveCapacity", Format::Micheletti, 100, State::Stable, ""},
                      FrameCase{"Silent", Format::Micheletti, 1.234, State::Silent, ""}),
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

// A damaged toledo-a frame is told by its checksum: every frame the scale sends must add up,
// whatever the weight and the state.
TEST(ToledoAChecksum, EveryFrameAddsUpToZero) {
    for (const double kg : {0.0, 0.001, 1.234, 9.999, 55.555, 99.999, 100.0, -3.21, 1e300}) {
        for (const State state : {State::Stable, State::Motion, State::Negative, State::Overload}) {
            const auto bytes = frame(Format::ToledoA, kg, state);
            ASSERT_EQ(bytes.size(), 23u) << kg << " kg " << stateName(state);
            unsigned sum = 0;
            for (const char byte : bytes) {
                sum += static_cast<unsigned char>(byte);
            }
            EXPECT_EQ(sum % 256, 0u) << kg << " kg " << stateName(state);
            EXPECT_EQ(bytes[21], '\r');
        }
    }
}

}  // namespace
}  // namespace vardelmo::vscale

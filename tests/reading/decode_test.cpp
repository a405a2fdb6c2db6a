// One frame of each family, in every state it can say, and the weights as exact text.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "reading/reading.h"
#include "tests/reading/frame_builders.h"
#include "tests/reading/frame_case.h"
#include "tests/support/case_name.h"
#include "tests/support/escaped.h"

namespace vardelmo::reading {
namespace {

using namespace test;
using test_support::CaseName;
using enum State;

TEST_P(Frames, GiveTheirReading) {
    const auto decoded = decode(GetParam().bytes);
    ASSERT_TRUE(decoded.reading) << "hint " << hintId(decoded.hint);
    EXPECT_EQ(*decoded.reading, GetParam().expected);
}

Reading toledoAReading(std::optional<std::string> weight, State state = Stable, bool net = false,
                       std::string price = "0.00", std::string total = "0.00") {
    return {.protocol = "toledo-a",
            .weight = weight,
            .state = state,
            .net = net,
            .price = price,
            .total = total};
}

// The frames of FRAMES.md, byte for byte.
const std::string toledoAExample(
    "\x02\x00"
    "001234\x00"
    "000000000000\r\x87",
    23);
const std::string p03Example(
    "\x02\x2d\x30\x20"
    "001234000000\r");

INSTANTIATE_TEST_SUITE_P(
    Toledo, Frames,
    testing::Values(
        FrameCase{"BExample",
                  toledoB("01234"),
                  {.protocol = "toledo-b", .weight = "1.234", .state = Stable}},
        FrameCase{"BZero",
                  toledoB("00000"),
                  {.protocol = "toledo-b", .weight = "0.000", .state = Stable}},
        FrameCase{"BLargest",
                  toledoB("99999"),
                  {.protocol = "toledo-b", .weight = "99.999", .state = Stable}},
        FrameCase{"BPadded",
                  toledoB("  800"),
                  {.protocol = "toledo-b", .weight = "0.800", .state = Stable}},
        FrameCase{"BPoint",
                  toledoB("1.234"),
                  {.protocol = "toledo-b", .weight = "1.234", .state = Stable}},
        FrameCase{"BComma",
                  toledoB("01,23"),
                  {.protocol = "toledo-b", .weight = "1.23", .state = Stable}},
        FrameCase{"BPaddedPoint",
                  toledoB(" 12.5"),
                  {.protocol = "toledo-b", .weight = "12.5", .state = Stable}},
        FrameCase{"BMotion", toledoB("IIIII"), {.protocol = "toledo-b", .state = Motion}},
        FrameCase{"BNegative", toledoB("NNNNN"), {.protocol = "toledo-b", .state = Negative}},
        FrameCase{"BOverload", toledoB("SSSSS"), {.protocol = "toledo-b", .state = Overload}},
        FrameCase{"CExample",
                  toledoC("01234"),
                  {.protocol = "toledo-c", .weight = "1.234", .state = Stable}},
        FrameCase{"CWithKg",
                  toledoC("01234kg"),
                  {.protocol = "toledo-c", .weight = "1.234", .state = Stable}},
        FrameCase{"CWithSpaceKg",
                  toledoC("00800 kg"),
                  {.protocol = "toledo-c", .weight = "0.800", .state = Stable}},
        FrameCase{"CComma",
                  toledoC("2,500"),
                  {.protocol = "toledo-c", .weight = "2.500", .state = Stable}},
        FrameCase{"CMotion", toledoC("IIIII"), {.protocol = "toledo-c", .state = Motion}},
        FrameCase{"CNegative", toledoC("NNNNN"), {.protocol = "toledo-c", .state = Negative}},
        FrameCase{"COverload", toledoC("SSSSS"), {.protocol = "toledo-c", .state = Overload}},
        FrameCase{"AExample", toledoAExample, toledoAReading("1.234")},
        FrameCase{"AExampleInMotion",
                  std::string("\x02\x01"
                              "001234\x00"
                              "000000000000\r\x86",
                              23),
                  toledoAReading("1.234", Motion)},
        FrameCase{"APriceAndTotal", toledoA(0x00, "000800", 0x00, "079999", "099999"),
                  toledoAReading("0.800", Stable, false, "999.99", "799.99")},
        FrameCase{"AWholePrices", toledoA(0x20, "001500", 0x00, "000015", "000010"),
                  toledoAReading("1.500", Stable, false, "10", "15")},
        FrameCase{"ATwoWeightDecimals", toledoA(0x00, "012345", 0x08, "000000", "000000"),
                  toledoAReading("123.45")},
        FrameCase{"ATareInUse", toledoA(0x00, "001234", 0x40, "000000", "000000"),
                  toledoAReading("1.234", Stable, true)},
        FrameCase{"AOutOfRange", toledoA(0x08, "999999", 0x00, "000000", "000000"),
                  toledoAReading(std::nullopt, Overload)},
        FrameCase{"AOutOfRangeWinsOverMotion", toledoA(0x09, "999999", 0x00, "000000", "000000"),
                  toledoAReading(std::nullopt, Overload)},
        FrameCase{"AOtherStatusBitsIgnored", toledoA(0xD6, "001234", 0xB7, "000000", "000000"),
                  toledoAReading("1.234")}),
    CaseName());

Reading p03Reading(std::optional<std::string> weight, State state = Stable, bool net = false,
                   std::string tare = "0.000") {
    return {.protocol = "p03", .weight = weight, .state = state, .net = net, .tare = tare};
}

INSTANTIATE_TEST_SUITE_P(
    P03, Frames,
    testing::Values(
        FrameCase{"Example", p03Example, p03Reading("1.234")},
        FrameCase{"ExampleWithChecksum", p03Example + "\x2a", p03Reading("1.234")},
        FrameCase{"Hundreds", p03(0x28, 0x20, "000123", "000001"),
                  p03Reading("12300", Stable, false, "100")},
        FrameCase{"Tens", p03(0x29, 0x20, "000123", "000000"),
                  p03Reading("1230", Stable, false, "0")},
        FrameCase{"NoDecimals", p03(0x2a, 0x20, "000123", "000000"),
                  p03Reading("123", Stable, false, "0")},
        FrameCase{"OneDecimal", p03(0x2b, 0x20, "000123", "000000"),
                  p03Reading("12.3", Stable, false, "0.0")},
        FrameCase{"TwoDecimals", p03(0x2c, 0x20, "012345", "000000"),
                  p03Reading("123.45", Stable, false, "0.00")},
        FrameCase{"FourDecimals", p03(0x2e, 0x20, "000123", "000000"),
                  p03Reading("0.0123", Stable, false, "0.0000")},
        FrameCase{"FiveDecimals", p03(0x2f, 0x20, "000123", "000000"),
                  p03Reading("0.00123", Stable, false, "0.00000")},
        FrameCase{"IncrementBitsIgnored", p03(0x3d, 0x20, "001234", "000000"), p03Reading("1.234")},
        FrameCase{"SwaBit6Set", p03(0x6d, 0x20, "001234", "000000"), p03Reading("1.234")},
        FrameCase{"SwbBits4And6Ignored", p03(0x2d, 0x79, "001234", "000200"),
                  p03Reading("1.234", Motion, true, "0.200")},
        FrameCase{"Net", p03(0x2d, 0x21, "001234", "000500"),
                  p03Reading("1.234", Stable, true, "0.500")},
        FrameCase{"Negative", p03(0x2d, 0x22, "000500", "000000"), p03Reading("-0.500", Negative)},
        FrameCase{"NegativeZeroHasNoSign", p03(0x2d, 0x22, "000000", "000000"),
                  p03Reading("0.000", Negative)},
        FrameCase{"OutOfRange", p03(0x2d, 0x24, "999999", "000000"),
                  p03Reading(std::nullopt, Overload)},
        FrameCase{"Motion", p03(0x2d, 0x28, "001234", "000000"), p03Reading("1.234", Motion)},
        FrameCase{"NegativeWinsOverMotion", p03(0x2d, 0x2a, "000500", "000000"),
                  p03Reading("-0.500", Negative)},
        FrameCase{"OutOfRangeWinsOverNegative", p03(0x2d, 0x2e, "000500", "000000"),
                  p03Reading(std::nullopt, Overload)},
        FrameCase{"Checksum", p03(0x2d, 0x29, "001234", "000200", {.checksum = true}),
                  p03Reading("1.234", Motion, true, "0.200")},
        // The sum passes 767, so only its seven low bits come out to zero with the checksum.
        FrameCase{"ChecksumOfALargeSum", p03(0x2d, 0x20, "999999", "999999", {.checksum = true}),
                  p03Reading("999.999", Stable, false, "999.999")},
        FrameCase{"Spaced", p03(0x2a, 0x20, "060000", "000000", {.spaced = true}),
                  p03Reading("60000", Stable, false, "0")},
        FrameCase{"SpacedWithChecksum",
                  p03(0x2a, 0x20, "080000", "000000", {.checksum = true, .spaced = true}),
                  p03Reading("80000", Stable, false, "0")}),
    CaseName());

Reading stGsReading(std::optional<std::string> weight, State state = Stable, bool net = false,
                    std::string unit = "kg") {
    return {.protocol = "st-gs", .weight = weight, .unit = unit, .state = state, .net = net};
}

INSTANTIATE_TEST_SUITE_P(
    StGs, Frames,
    testing::Values(
        FrameCase{"Example", stGs("ST,GS,+  1.234kg"), stGsReading("1.234")},
        FrameCase{"Unstable", stGs("US,GS,+  1.234kg"), stGsReading("1.234", Motion)},
        FrameCase{"Net", stGs("ST,NT,+  1.234kg"), stGsReading("1.234", Stable, true)},
        FrameCase{"Negative", stGs("ST,GS,-  0.500kg"), stGsReading("-0.500", Negative)},
        FrameCase{"NegativeWinsOverUnstable", stGs("US,NT,-  0.500kg"),
                  stGsReading("-0.500", Negative, true)},
        FrameCase{"NegativeZeroIsZero", stGs("ST,GS,-  0.000kg"), stGsReading("0.000")},
        FrameCase{"Overload", stGs("OL,GS,+ 99.999kg"), stGsReading(std::nullopt, Overload)},
        FrameCase{"BelowTheRange", stGs("OL,GS,-  0.500kg"), stGsReading(std::nullopt, Negative)},
        FrameCase{"OverloadBlank", stGs("OL,GS,        kg"), stGsReading(std::nullopt, Overload)},
        FrameCase{"Grams", stGs("ST,GS,+   1234g"), stGsReading("1234", Stable, false, "g")},
        FrameCase{"Pounds", stGs("ST,GS,+  2.720lb"), stGsReading("2.720", Stable, false, "lb")},
        FrameCase{"ZeroPadded", stGs("ST,GS,+001.234kg"), stGsReading("1.234")},
        FrameCase{"NoSign", stGs("ST,GS,   1.234kg"), stGsReading("1.234")},
        FrameCase{"SpaceBeforeUnit", stGs("ST,GS,+  1.234 kg"), stGsReading("1.234")},
        FrameCase{"TailOfABrokenLineBefore", "kg\r\n4kgST,GS,+  1.234kg\r\n",
                  stGsReading("1.234")}),
    CaseName());

INSTANTIATE_TEST_SUITE_P(
    Micheletti, Frames,
    testing::Values(
        FrameCase{
            "Example",
            micheletti("  0800  99999  79999"),
            {.protocol = "micheletti", .weight = "0.800", .price = "999.99", .total = "799.99"}},
        FrameCase{"Empty",
                  micheletti("     0      0      0"),
                  {.protocol = "micheletti", .weight = "0.000", .price = "0.00", .total = "0.00"}},
        FrameCase{"Full",
                  micheletti("150000 999999 999999"),
                  {.protocol = "micheletti",
                   .weight = "150.000",
                   .price = "9999.99",
                   .total = "9999.99"}}),
    CaseName());

}  // namespace
}  // namespace vardelmo::reading

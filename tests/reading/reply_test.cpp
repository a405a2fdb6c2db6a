// Whole replies that do not read, and what the bytes hint at; frames with no reading in them.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "reading/reading.h"
#include "tests/reading/frame_builders.h"
#include "tests/support/case_name.h"
#include "tests/support/escaped.h"

namespace vardelmo::reading {
namespace {

using namespace test;
using test_support::CaseName;
using test_support::escaped;

struct ReplyCase {
    const char* name;
    std::string bytes;
    Decoded expected;
    friend void PrintTo(const ReplyCase& c, std::ostream* os) {
        *os << '"' << escaped(c.bytes) << '"';
    }
};

class Replies : public testing::TestWithParam<ReplyCase> {};

TEST_P(Replies, DecodeAsExpected) {
    EXPECT_EQ(decode(GetParam().bytes), GetParam().expected);
}

Decoded hint(Hint h) {
    return {.hint = h};
}
Decoded toledoB1234() {
    return {.reading = Reading{.protocol = "toledo-b", .weight = "1.234", .state = State::Stable}};
}

INSTANTIATE_TEST_SUITE_P(
    NothingDecodes, Replies,
    testing::Values(
        ReplyCase{"Empty", "", hint(Hint::Empty)}, ReplyCase{"LoneAck", "\x06", hint(Hint::Ack)},
        ReplyCase{"OnlyAcks", "\x06\x06", hint(Hint::Ack)},
        ReplyCase{"AckAndFrame", "\x06" + toledoB("01234"), toledoB1234()},
        ReplyCase{"AckAmongNoise", "\x06\x80\xF8\x06", hint(Hint::Baud)},
        ReplyCase{"FramingErrorZeros", std::string(12, '\0'), hint(Hint::Baud)},
        // Digits enough for a frame, but the zeros of framing errors between them.
        ReplyCase{"ZerosAmongDigits",
                  std::string("1\x00\x00"
                              "2\x00\x00"
                              "3\x00\x00",
                              9),
                  hint(Hint::Baud)},
        ReplyCase{"MostlyZeros", std::string("\x00\x80\x00\xF8\x00\x00\xE0", 7), hint(Hint::Baud)},
        ReplyCase{"HighNoise", "\xF8\x80\xFE\xE0\x1C\x9E", hint(Hint::Baud)},
        ReplyCase{"SlowNoise", "\xE6\x9E\x86\xF8\x66", hint(Hint::Baud)},
        ReplyCase{"StrayTerminatorInNoise", "\xE6\x9E\r\xF8\x03\x66", hint(Hint::Baud)},
        ReplyCase{"DigitsWithoutFrame", "12345678", hint(Hint::Unknown)},
        ReplyCase{"LettersFramed", toledoB("ABCDE"), hint(Hint::Unknown)},
        ReplyCase{"TextLine", "hello world\r\n", hint(Hint::Unknown)},
        ReplyCase{"LoneStx", "\x02", hint(Hint::Unknown)},
        ReplyCase{"ToledoBCut",
                  "\x02"
                  "01234",
                  hint(Hint::Partial)},
        ReplyCase{"ToledoBFourDigits", toledoB("0123"), hint(Hint::Unknown)},
        ReplyCase{"ToledoBSixDigits", toledoB("012345"), hint(Hint::Unknown)},
        ReplyCase{"ToledoBInnerSpace", toledoB("01 34"), hint(Hint::Unknown)},
        ReplyCase{"ToledoBTwoPoints", toledoB("1.2.3"), hint(Hint::Unknown)},
        ReplyCase{"ToledoBPointLast", toledoB("1234."), hint(Hint::Unknown)},
        ReplyCase{"ToledoBSigned", toledoB("-0.50"), hint(Hint::Unknown)},
        ReplyCase{"ToledoBBlank", toledoB("     "), hint(Hint::Unknown)},
        ReplyCase{"ToledoBMixedLetters", toledoB("IIINN"), hint(Hint::Unknown)},
        ReplyCase{"ToledoCKgWithoutCr",
                  "\x02"
                  "01234kg",
                  hint(Hint::Partial)},
        ReplyCase{"ToledoAChecksumOff", toledoA(0x00, "001234", 0x00, "000000", "000000", 1),
                  hint(Hint::Unknown)},
        ReplyCase{"ToledoAChecksumOffInBit7",
                  toledoA(0x00, "001234", 0x00, "000000", "000000", 0x80), hint(Hint::Unknown)},
        ReplyCase{"ToledoAChecksumMissing",
                  toledoA(0x00, "001234", 0x00, "000000", "000000").substr(0, 22),
                  hint(Hint::Partial)},
        ReplyCase{"ToledoALetterInPrice", toledoA(0x00, "001234", 0x00, "000000", "0000A0"),
                  hint(Hint::Unknown)},
        ReplyCase{"P03ChecksumOff",
                  p03(0x2d, 0x30, "001234", "000000", {.checksum = true, .damage = 1}),
                  hint(Hint::Unknown)},
        ReplyCase{"P03StatusBit5Clear", p03(0x2d, 0x10, "001234", "000000"), hint(Hint::Unknown)},
        ReplyCase{"P03StatusBit7Set", p03(0xad, 0x30, "001234", "000000"), hint(Hint::SevenBits)},
        ReplyCase{"P03SpaceInWeight", p03(0x2d, 0x30, " 01234", "000000"), hint(Hint::Unknown)},
        ReplyCase{"StGsUnknownStability", stGs("XX,GS,+  1.234kg"), hint(Hint::Unknown)},
        ReplyCase{"StGsUnknownGross", stGs("ST,XX,+  1.234kg"), hint(Hint::Unknown)},
        ReplyCase{"StGsNoUnit", stGs("ST,GS,+  1.234"), hint(Hint::Unknown)},
        ReplyCase{"StGsBlankWeight", stGs("ST,GS,        kg"), hint(Hint::Unknown)},
        ReplyCase{"StGsTwoPoints", stGs("ST,GS,+ 1.2.34kg"), hint(Hint::Unknown)},
        ReplyCase{"StGsWithoutLf", "ST,GS,+  1.234kg\r", hint(Hint::Partial)},
        ReplyCase{"MichelettiNoSeparator", micheletti("  0800099999  79999"), hint(Hint::Unknown)},
        ReplyCase{"MichelettiLetter", micheletti("  0800  9999X  79999"), hint(Hint::Unknown)}),
    CaseName());

// Frames with no reading in them. One damaged (its checksum fails) or garbled is skipped, so a
// continuous scale's frame before it is read; a zero not yet captured or a calibration error
// is a whole frame, and nothing older is shown.
INSTANTIATE_TEST_SUITE_P(
    FramesWithoutAReading, Replies,
    testing::Values(
        ReplyCase{"ToledoBZeroNotCaptured", toledoB("C0000"), hint(Hint::Unknown)},
        ReplyCase{"ToledoBCalibrationError", toledoB("EEEEE"), hint(Hint::Unknown)},
        ReplyCase{"ToledoCCalibrationError", toledoC("E 001"), hint(Hint::Unknown)},
        ReplyCase{"NotCapturedAfterReadings", toledoB("01234") + toledoB("C    "),
                  hint(Hint::Unknown)},
        ReplyCase{"GarbledFrameAfterAWhole", toledoB("01234") + "\xFF" + toledoB("0X234"),
                  toledoB1234()},
        ReplyCase{"TextLineAfterAFrame",
                  toledoB("01234") + "the rest of this line is not a frame\r\n", toledoB1234()},
        ReplyCase{"ReadingAfterNotCaptured", toledoB("C    ") + toledoB("01234"), toledoB1234()},
        ReplyCase{"ToledoADamagedAfterWhole",
                  toledoA(0x00, "001234", 0x00, "000000", "000000") +
                      toledoA(0x00, "005678", 0x00, "000000", "000000", 0x40),
                  {.reading = Reading{.protocol = "toledo-a",
                                      .weight = "1.234",
                                      .state = State::Stable,
                                      .net = false,
                                      .price = "0.00",
                                      .total = "0.00"}}},
        ReplyCase{"P03DamagedAfterWhole",
                  p03(0x2d, 0x30, "001234", "000000", {.checksum = true}) +
                      p03(0x2d, 0x30, "005678", "000000", {.checksum = true, .damage = 3}),
                  {.reading = Reading{.protocol = "p03",
                                      .weight = "1.234",
                                      .state = State::Stable,
                                      .net = false,
                                      .tare = "0.000"}}}),
    CaseName());

// Frames the families beyond the first six send without a weight to give, and points no
// description makes certain.
INSTANTIATE_TEST_SUITE_P(
    MoreFamilies, Replies,
    testing::Values(
        ReplyCase{"EthChecksumOff", toledoEth(0x2d, "001234", "000000", std::string(41, '0'), 1),
                  hint(Hint::Unknown)},
        ReplyCase{"Bcs21WithoutPoint", "\x02S+00001234\r", hint(Hint::Unknown)},
        ReplyCase{"UranoPopTare", "TARA: 0,500kg", hint(Hint::Unknown)},
        ReplyCase{"UranoPopBeyondSixteenBytes", "PESO L:   1,234kg\r\n", hint(Hint::Unknown)},
        ReplyCase{"DigitronCounting", hex("44 30 30 30 30 35"), hint(Hint::Unknown)},
        ReplyCase{"DigitronOtherMode", "@1234.5", hint(Hint::Unknown)},
        ReplyCase{"PrecisionWaiting", "G001234\r", hint(Hint::Unknown)},
        ReplyCase{"PrecisionCutBelowZero", "H001", hint(Hint::Partial)},
        // A whole frame, though also the start of a Toledo A one.
        ReplyCase{"PrecisionWaitingAfterStx",
                  "\x02"
                  "F001234\r",
                  hint(Hint::Unknown)},
        ReplyCase{"MarelDigitsWithoutPoint",
                  "\x02"
                  "ABCDEFGHIJKLM     1234 tail",
                  hint(Hint::Unknown)},
        ReplyCase{"CondecDigitsWithoutPoint", "\x02  001234KG \r\n", hint(Hint::Unknown)},
        // Digits with bit 7 set, as one description has them: never read as digits.
        ReplyCase{"SaturnoHighBits",
                  "\xb0\xb1.\xb2\xb3\xb4"
                  "E\r\n",
                  hint(Hint::SevenBits)},
        ReplyCase{"SicilianoIp10TareBelowZero",
                  std::string("\x02"
                              "BR 01.500kgTR-00.266kg\x03\x00\n",
                              26),
                  hint(Hint::Unknown)},
        ReplyCase{"LiderPointLast",
                  "\x01"
                  "001234. E\x02",
                  hint(Hint::Unknown)}),
    CaseName());

}  // namespace
}  // namespace vardelmo::reading

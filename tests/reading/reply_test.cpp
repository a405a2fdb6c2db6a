// Whole replies: continuous scales' runs of frames, broken frames at either end, and what the
// bytes hint at when nothing decodes.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "reading/reading.h"
#include "tests/reading/frame_builders.h"
#include "tests/support/case_name.h"
#include "tests/support/escaped.h"

namespace vardelmo::reading {
namespace {

using namespace test;
using test_support::CaseName;
using test_support::escaped;

// Frame n of a family weighs 10.007 kg, 10.014 kg, ... so that each frame of a run differs.
std::string digitsOf(int n) {
    return std::to_string(10000 + 7 * n);
}
// Built by appending: GCC 12 at -O3 warns falsely of overlapping copies in operator+ and
// insert on short strings.
std::string join(std::initializer_list<std::string_view> parts) {
    std::string joined;
    for (const std::string_view part : parts) {
        joined.append(part);
    }
    return joined;
}
std::string weightOf(int n) {
    const std::string digits = digitsOf(n);
    return join({std::string_view(digits).substr(0, 2), ".", std::string_view(digits).substr(2)});
}

struct Family {
    const char* name;
    std::function<std::string(int)> frame;
    std::function<std::string(int)> weight = weightOf;
    // How many leading bytes of a frame already make a whole frame: fewer than its size only
    // where a checksum is optional, and the frame without it is whole.
    std::size_t wholeFrom = 0;
    bool sevenBitScales = true;
    friend void PrintTo(const Family& f, std::ostream* os) { *os << f.name; }
};

std::size_t wholeFrom(const Family& family) {
    return family.wholeFrom ? family.wholeFrom : family.frame(1).size();
}

class Runs : public testing::TestWithParam<Family> {
protected:
    std::string frame(int n) const { return GetParam().frame(n); }
    std::optional<std::string> weightOfFrame(int n) const { return GetParam().weight(n); }
    std::string run(int from, int to) const {
        std::string bytes;
        for (int n = from; n <= to; ++n) {
            bytes += frame(n);
        }
        return bytes;
    }
    static std::optional<std::string> weight(std::string_view bytes) {
        const auto decoded = decode(bytes);
        return decoded.reading ? decoded.reading->weight : std::nullopt;
    }
};

TEST_P(Runs, GiveTheLastFrame) {
    EXPECT_EQ(weight(frame(1)), weightOfFrame(1));
    EXPECT_EQ(weight(run(1, 2)), weightOfFrame(2));
    EXPECT_EQ(weight(run(1, 10)), weightOfFrame(10));
}

TEST_P(Runs, IgnoreABrokenFrameAtTheEnd) {
    const std::string next = frame(3);
    for (std::size_t cut = 1; cut < next.size(); ++cut) {
        const auto expected = cut >= wholeFrom(GetParam()) ? weightOfFrame(3) : weightOfFrame(2);
        EXPECT_EQ(weight(run(1, 2) + next.substr(0, cut)), expected) << cut << " bytes";
        if (cut < wholeFrom(GetParam())) {
            EXPECT_EQ(weight(next.substr(0, cut)), std::nullopt) << cut << " bytes alone";
        }
    }
}

// What is left of a frame cut at its start may be a whole frame of a family with no mark at
// its start (el05, saturno) or none at all (alfa, afts, marel, Urano POP's plain form): no
// byte tells them apart. It never reads as a family with marks, its own included.
bool markedFamily(std::string_view protocol) {
    for (const std::string_view markless :
         {"el05", "saturno", "alfa", "afts", "marel", "urano-pop"}) {
        if (protocol == markless) {
            return false;
        }
    }
    return true;
}

TEST_P(Runs, IgnoreABrokenFrameAtTheStart) {
    const std::string first = frame(1);
    for (std::size_t cut = 1; cut < first.size(); ++cut) {
        EXPECT_EQ(weight(first.substr(cut) + run(2, 3)), weightOfFrame(3)) << cut << " bytes cut";
        const auto alone = decode(first.substr(cut)).reading;
        EXPECT_FALSE(alone && markedFamily(alone->protocol))
            << cut << " bytes cut, alone: " << testing::PrintToString(*alone);
    }
}

TEST_P(Runs, IgnoreNoiseAround) {
    const std::string noise("\xF8\x00\x1C\x80", 4);
    EXPECT_EQ(weight(noise + run(1, 2) + "\x02" + noise), weightOfFrame(2));
}

std::vector<Family> families() {
    return {
        Family{"ToledoB", [](int n) { return toledoB(digitsOf(n)); }},
        Family{"ToledoBWithComma",
               [](int n) {
                   return toledoB(join({std::to_string(10 + n), ",25"}));
               },
               [](int n) {
                   return join({std::to_string(10 + n), ".25"});
               }},
        Family{"ToledoC", [](int n) { return toledoC(digitsOf(n)); }},
        Family{"ToledoCWithKg",
               [](int n) {
                   return toledoC(join({digitsOf(n), "kg"}));
               }},
        // The checksum takes all eight bits, so no Toledo A scale sends seven.
        Family{"ToledoA",
               [](int n) {
                   return toledoA(0x00, join({"0", digitsOf(n)}), 0x00, "000000", "000000");
               },
               weightOf, 0, false},
        Family{"P03",
               [](int n) {
                   return p03(0x2d, 0x30, join({"0", digitsOf(n)}), "000000");
               }},
        Family{"P03WithChecksum",
               [](int n) {
                   return p03(0x2d, 0x30, join({"0", digitsOf(n)}), "000000", {.checksum = true});
               },
               weightOf, 17},
        Family{"P03Spaced",
               [](int n) {
                   return p03(0x2d, 0x30, join({"0", digitsOf(n)}), "000000", {.spaced = true});
               }},
        Family{"StGs",
               [](int n) {
                   return stGs(join({"ST,GS,+ ", weightOf(n), "kg"}));
               }},
        Family{"Micheletti",
               [](int n) {
                   return micheletti(join({"0", digitsOf(n), "  99999  79999"}));
               }},
    };
}

std::vector<Family> sevenBitFamilies() {
    auto all = families();
    std::erase_if(all, [](const Family& f) { return !f.sevenBitScales; });
    return all;
}

INSTANTIATE_TEST_SUITE_P(Families, Runs, testing::ValuesIn(families()), CaseName());

class SevenBitRuns : public Runs {};

TEST_P(SevenBitRuns, ReadWithParityInBit7HintAtSevenBits) {
    for (const bool even : {true, false}) {
        const auto decoded = decode(parityInBit7(run(1, 2), even));
        EXPECT_EQ(decoded.reading, std::nullopt) << (even ? "even" : "odd");
        EXPECT_EQ(decoded.hint, Hint::SevenBits) << (even ? "even" : "odd");
    }
}

INSTANTIATE_TEST_SUITE_P(Families, SevenBitRuns, testing::ValuesIn(sevenBitFamilies()), CaseName());

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

}  // namespace
}  // namespace vardelmo::reading

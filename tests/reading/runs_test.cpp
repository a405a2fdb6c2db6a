// Continuous scales' runs of frames of every family, broken frames at either end, a frame
// cut short hinting at a short wait, and seven bits with parity read as eight.
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
    // Whether the frame has marks at its start, so that one cut short hints at a short wait.
    bool marked = true;
    // Cuts from this many bytes on are whole frames of another family, where the family's
    // frame starts as another's does: Capital's "E10.007 x" CR cut after a decimal is Digitron
    // UL's "E10.0" (whose end no description gives).
    std::size_t cutsAreAnotherFrom = 0;
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
        const std::size_t another = GetParam().cutsAreAnotherFrom;
        if (cut < wholeFrom(GetParam()) && (another == 0 || cut < another)) {
            const auto alone = decode(next.substr(0, cut));
            EXPECT_EQ(alone.reading, std::nullopt) << cut << " bytes alone";
            if (GetParam().marked && cut >= 2) {
                EXPECT_EQ(alone.hint, Hint::Partial) << cut << " bytes alone";
            }
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
        Family{"ToledoBSelfCheckout",
               [](int n) {
                   const std::string d = join({"0", digitsOf(n)});
                   return toledoB(join({"+", std::string_view(d).substr(0, 3), ",",
                                        std::string_view(d).substr(3)}));
               }},
        Family{"StGsNineteen",
               [](int n) {
                   return stGs(join({"ST,GS,+  ", weightOf(n), "  kg"}));
               }},
        // The checksum takes all eight bits.
        Family{"ToledoEth",
               [](int n) {
                   std::string frame =
                       join({"\x02"
                             "02\x2d"
                             "0 0",
                             digitsOf(n), "000000", std::string(41, '0')});
                   const unsigned sum = byteSum(frame) - 2;
                   return join({frame, "\x10\x03",
                                std::string(1, static_cast<char>((256 - sum % 256) % 256))});
               },
               weightOf, 0, false},
        Family{"Bcs21",
               [](int n) {
                   return join({"\x02S+00", weightOf(n), "\r"});
               }},
        Family{"Lider",
               [](int n) {
                   return join(
                       {"\x01"
                        "0",
                        weightOf(n), " I\x02"});
               }},
        // Nothing but "kg" ends Urano's frame or Magna's: what follows is not the frame's.
        Family{"Urano",
               [](int n) {
                   return join({"* PESO: ", weightOf(n),
                                "kg\x1b"
                                "E"});
               },
               weightOf, 16},
        Family{"UranoPop",
               [](int n) {
                   return join({"PESO L: ", weightOf(n), "kg"});
               }},
        Family{"Magna",
               [](int n) {
                   return join({"\t ", weightOf(n), "kg\r"});
               },
               weightOf, 10},
        // With its STX cut off a frame is whole again: this one has none.
        Family{"Muller",
               [](int n) {
                   return join({"+", weightOf(n), "\x03"});
               }},
        Family{"Saturno",
               [](int n) {
                   return join({weightOf(n), "O\r\n"});
               },
               weightOf, 7, true, false},
        Family{"Lucastec",
               [](int n) {
                   return join(
                       {"\x02"
                        "0000 000001 20/06/05 ",
                        weightOf(n), " kg B  0.000 kg T  ", weightOf(n), " kg L\r\xb4"});
               },
               weightOf, 59, true, false},
        Family{"Precision",
               [](int n) {
                   return join({"A0", digitsOf(n), "\r"});
               }},
        Family{"PrecisionAfterStx",
               [](int n) {
                   return join({"\x02K0", digitsOf(n), "\r"});
               }},
        Family{"Lenke",
               [](int n) {
                   return join(
                       {"\x02"
                        "00",
                        digitsOf(n), "MP\r"});
               }},
        Family{"Wt1000",
               [](int n) {
                   return join({"1, ", weightOf(n), ",  0.000, ", weightOf(n), "\r\n"});
               }},
        Family{"Capital",
               [](int n) {
                   return join({"E", weightOf(n), " x\r"});
               },
               weightOf, 0, true, true, 5},
        Family{"SicilianoIp09",
               [](int n) {
                   return join({"\x02SIC ", weightOf(n), "kgB\x03x\n"});
               }},
        Family{"SicilianoIp10",
               [](int n) {
                   return join(
                       {"\x02"
                        "BR ",
                        weightOf(n), "kgTR 00.000kg\x03x\n"});
               }},
        Family{"Condec",
               [](int n) {
                   return join({"\x02 0", weightOf(n), "KGM\r\n"});
               }},
        Family{"El05",
               [](int n) {
                   return join({"D0", digitsOf(n), "\r"});
               },
               weightOf, 0, true, false},
        Family{"TruTest",
               [](int n) {
                   return join({"[U", weightOf(n), "]"});
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

}  // namespace
}  // namespace vardelmo::reading

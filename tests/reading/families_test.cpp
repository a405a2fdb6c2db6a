// The families beyond the first six: each example frame of FRAMES.md byte for byte, every
// state a family tells, and frames of families that look alike read as the one they are.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "reading/reading.h"
#include "tests/reading/frame_builders.h"
#include "tests/reading/frame_case.h"
#include "tests/support/case_name.h"
#include "tests/support/escaped.h"

namespace vardelmo::reading {
namespace {

using namespace test;
using test_support::CaseName;
using test_support::escaped;
using enum State;

const std::string ethExample =
    hex("02 30 32 2d 30 20 30 30 31 32 33 34 30 30 30 30 30 30 30 30 30 30 30 30 30 30 30 30 30 "
        "30 30 30 30 30 30 30 30 30 30 30 30 30 30 30 50 30 30 30 30 30 30 30 30 30 30 30 31 30 "
        "30 10 03 06");
const std::string uranoPrefix =
    hex("1b 54 31 1b 41 31 33 1b 4e 30 1b 53 32 1b 44 34 1b 51 31 39 33 1b 42 20");
const std::string uranoSuffix = hex("1b 45 1b 50 30 31");
const std::string lucastecExample =
    "\x02"
    "0000 000001 20/06/05 50.00 kg B  0.60 kg T  49.40 kg L\r\xb4";

Reading untold(const char* protocol, std::optional<std::string> weight) {
    return {.protocol = protocol, .weight = weight};
}
Reading told(const char* protocol, std::optional<std::string> weight, State state) {
    return {.protocol = protocol, .weight = weight, .state = state};
}

std::vector<FrameCase> moreFamilies() {
    return {
        // toledo-eth: the decimals from SWA as P03's; the state is not told.
        {"EthExample", ethExample, {.protocol = "toledo-eth", .weight = "1.234", .tare = "0.000"}},
        {"EthTwoDecimals",
         toledoEth(0x2c, "012345", "000050", std::string(41, 'x')),
         {.protocol = "toledo-eth", .weight = "123.45", .tare = "0.50"}},
        {"EthChecksumIsEtx",
         toledoEth(0x2d, "001234", "000000", filler41('0', '\x03')),
         {.protocol = "toledo-eth", .weight = "1.234", .tare = "0.000"}},
        {"EthChecksumIsCr",
         toledoEth(0x2d, "001234", "000000", filler41('\xff', '\r')),
         {.protocol = "toledo-eth", .weight = "1.234", .tare = "0.000"}},
        {"Bcs21Stable", hex("02 53 2b 30 30 30 31 2e 32 33 34 0d"), told("bcs21", "1.234", Stable)},
        {"Bcs21Motion", hex("02 44 2b 30 30 30 31 2e 32 33 34 0d"), told("bcs21", "1.234", Motion)},
        {"Bcs21Negative", "\x02S-0001.234\r", told("bcs21", "-1.234", Negative)},
        {"LiderStable", hex("01 30 30 31 2e 32 33 34 20 45 02"), told("lider", "1.234", Stable)},
        {"LiderMotion", hex("01 30 30 31 2e 32 33 34 20 49 02"), told("lider", "1.234", Motion)},
        {"LiderFiveDigitsBeforeThePoint",
         "\x01"
         "01234.5 E\x02",
         told("lider", "1234.5", Stable)},
        {"LiderSpacesAsZeros",
         "\x01"
         "0 1.2 4 E\x02",
         told("lider", "1.204", Stable)},
        {"UranoStable",
         uranoPrefix + hex("2a 20 50 45 53 4f 3a 20 35 2c 31 30 6b 67") + uranoSuffix,
         told("urano", "5.10", Stable)},
        {"UranoMotion",
         uranoPrefix + hex("20 20 50 45 53 4f 3a 20 35 2c 31 30 6b 67") + uranoSuffix,
         told("urano", "5.10", Motion)},
        {"UranoNegative", uranoPrefix + "* PESO:-5,10kg" + uranoSuffix,
         told("urano", "-5.10", Negative)},
        {"UranoNegativeSpaced", "* PESO:- 0,25kg", told("urano", "-0.25", Negative)},
        {"UranoPopLabelled", hex("50 45 53 4f 20 4c 3a 20 31 2c 32 33 34 6b 67"),
         untold("urano-pop", "1.234")},
        {"UranoPopGrams", "PESO L:001234kg", untold("urano-pop", "1.234")},
        {"UranoPopSixteenBytes", "PESO L:  1,234kg", untold("urano-pop", "1.234")},
        {"UranoPopPlain", hex("20 31 2c 32 33 34 20 6b 67"), untold("urano-pop", "1.234")},
        {"MagnaComma", hex("09 20 31 2c 32 33 34 6b 67 0d"), untold("magna", "1.234")},
        {"MagnaGrams", hex("09 20 30 31 32 33 34 6b 67 0d"), untold("magna", "1.234")},
        {"MagnaBytesBeforeTheSpace", "xx\t#P 2.5kg", untold("magna", "2.5")},
        {"MagnaNegative", "\t N0,000kg\r", told("magna", std::nullopt, Negative)},
        {"DigitronWeighing", hex("45 31 32 33 34 2e 35"), untold("digitron-ul", "1234.5")},
        {"AlfaHundredths", hex("00 11 22 33 30 30 31 32 33 34"), untold("alfa", "12.34")},
        {"AlfaPoint", hex("ff ff ff ff 30 31 2e 32 33 34"), untold("alfa", "1.234")},
        {"AftsExample", hex("3d 34 33 32 2e 31 30 30"), untold("afts", "1.234")},
        {"AftsSecondExample", hex("3d 30 35 2e 32 31 30 30"), untold("afts", "12.50")},
        {"MullerWithStx", hex("02 2b 30 31 2e 32 33 34 03"), untold("muller", "1.234")},
        {"MullerWithoutStx", hex("2b 30 31 2e 32 33 34 03"), untold("muller", "1.234")},
        {"SaturnoStable", hex("30 31 2e 32 33 34 45 0d 0a"), told("saturno", "1.234", Stable)},
        {"SaturnoMotion", hex("30 31 2e 32 33 34 4f 0d 0a"), told("saturno", "1.234", Motion)},
        {"SaturnoWithoutLineEnd", "01.234E", told("saturno", "1.234", Stable)},
        {"SaturnoRunWithoutLineEnds", "01.234E01.240O", told("saturno", "1.240", Motion)},
        {"LucastecNet",
         lucastecExample,
         {.protocol = "lucastec", .weight = "49.40", .tare = "0.60"}},
        {"LucastecWithoutTheByteAfterCr",
         lucastecExample.substr(0, lucastecExample.size() - 1),
         {.protocol = "lucastec", .weight = "49.40", .tare = "0.60"}},
        {"LucastecBelowTheTare",
         "\x02"
         "0000 000002 20/06/05 0.40 kg B  0.60 kg T  0.00 kg L\r\xb4",
         {.protocol = "lucastec", .state = Negative, .tare = "0.60"}},
        {"PrecisionMotion", hex("41 30 30 31 32 33 34 0d"), told("precision", "1.234", Motion)},
        {"PrecisionMotionAt", "@001234\r", told("precision", "1.234", Motion)},
        {"PrecisionNegative", hex("02 48 30 30 31 32 33 34 0d"),
         told("precision", std::nullopt, Negative)},
        {"PrecisionNegativeT", "T001234\r", told("precision", std::nullopt, Negative)},
        {"PrecisionNegativeM", "M001234\r", told("precision", std::nullopt, Negative)},
        {"PrecisionNegativeL", "L001234\r", told("precision", std::nullopt, Negative)},
        {"PrecisionNegativeI", "I001234\r", told("precision", std::nullopt, Negative)},
        {"PrecisionOtherLetterAfterStx", "\x02K001234\r", untold("precision", "1.234")},
        {"LenkeUntold", hex("02 30 30 30 31 32 33 34 20 20 0d"), untold("lenke", "1.234")},
        {"LenkeMotion", hex("02 30 30 30 31 32 33 34 4d 50 0d"), told("lenke", "1.234", Motion)},
        {"LenkeNegative",
         "\x02"
         "0000500MN\r",
         told("lenke", std::nullopt, Negative)},
        {"LenkeOtherPair",
         "\x02"
         "0001234XY\r",
         untold("lenke", "1.234")},
        {"LenkePoint",
         "\x02"
         "001.234  \r",
         untold("lenke", "1.234")},
        {"Wt1000Stable",
         hex("30 2c 20 20 31 2e 35 30 30 2c 20 20 30 2e 32 36 36 2c 20 20 31 2e 32 "
             "33 34 0d 0a"),
         {.protocol = "wt1000", .weight = "1.234", .state = Stable, .tare = "0.266"}},
        {"Wt1000Motion",
         hex("31 2c 20 20 31 2e 32 33 34 2c 20 20 30 2e 30 30 30 2c 20 20 31 2e 32 "
             "33 34 0d 0a"),
         {.protocol = "wt1000", .weight = "1.234", .state = Motion, .tare = "0.000"}},
        {"Wt1000Negative",
         "0,  0.100,  0.266, -0.166\r\n",
         {.protocol = "wt1000", .weight = "-0.166", .state = Negative, .tare = "0.266"}},
        {"Wt27rStable",
         hex("45 42 2c 6b 67 2c 42 3a 20 30 30 31 32 33 34 2c 54 3a 30 30 30 30 30 "
             "30 2c 4c 3a 20 30 30 31 32 33 34 0d 0a"),
         {.protocol = "wt27r", .state = Stable, .net = false}},
        {"Wt27rNegative",
         hex("45 42 2c 6b 67 2c 42 3a 2d 30 30 30 31 32 30 2c 54 3a 30 30 30 30 "
             "30 30 2c 4c 3a 2d 30 30 30 31 32 30 0d 0a"),
         {.protocol = "wt27r", .state = Negative, .net = false}},
        {"Wt27rMotionShowingNet",
         "IL,kg,B: 001234,T:000200,L: 001034\r\n",
         {.protocol = "wt27r", .state = Motion, .net = true}},
        {"Wt27rNetBelowZeroShown",
         "EL,kg,B: 000100,T:000200,L:-000100\r\n",
         {.protocol = "wt27r", .state = Negative, .net = true}},
        {"Wt27rGrossBelowZeroNotShown",
         "EL,kg,B:-000100,T:000000,L: 000100\r\n",
         {.protocol = "wt27r", .state = Stable, .net = true}},
        {"Wt27rOverload",
         "EB,kg,B: 999999,T:000000,L: 999999\r\n",
         {.protocol = "wt27r", .state = Overload, .net = false}},
        {"MarelExample",
         "\x02"
         "ABCDEFGHIJKLM    1.234\x17\xff tail",
         untold("marel", "1.234")},
        {"CapitalDigitBeforeCr", hex("45 30 31 2e 32 33 34 37 0d"), untold("capital", "1.234")},
        {"CapitalPadded", "E  1.5  x\r", untold("capital", "1.5")},
        {"SicilianoIp09", hex("02 53 49 43 20 30 31 2e 32 33 34 6b 67 42 03 3c 0a"),
         untold("siciliano", "1.234")},
        {"SicilianoIp09ChecksumIsEtx", hex("02 53 49 43 20 30 31 2e 32 33 34 6b 67 54 03 03 0a"),
         untold("siciliano", "1.234")},
        {"SicilianoIp09ChecksumIsLf", hex("02 53 49 43 2d 30 30 2e 35 30 30 6b 67 42 03 0a 0a"),
         told("siciliano", "-0.500", Negative)},
        {"SicilianoIp10",
         hex("02 42 52 20 30 31 2e 35 30 30 6b 67 54 52 20 30 30 2e 32 36 36 6b 67 "
             "03 d5 0a"),
         {.protocol = "siciliano", .weight = "1.234", .tare = "0.266"}},
        {"SicilianoIp10TareAboveGross",
         "\x02"
         "BR 00.100kgTR 00.266kg\x03\x03\n",
         {.protocol = "siciliano", .weight = "-0.166", .state = Negative, .tare = "0.266"}},
        {"SicilianoIp10GrossBelowZero",
         "\x02"
         "BR-00.100kgTR 00.000kg\x03\n\n",
         {.protocol = "siciliano", .weight = "-0.100", .state = Negative, .tare = "0.000"}},
        {"CondecStable",
         hex("02 20 30 30 31 2e 32 33 34 4b 47 20 0d 0a"),
         {.protocol = "condec", .weight = "1.234", .state = Stable, .net = false}},
        {"CondecNegativeInMotion",
         hex("02 2d 30 30 31 2e 32 33 34 4b 47 4d 0d 0a"),
         {.protocol = "condec", .weight = "-1.234", .state = Negative, .net = false}},
        {"CondecMotionNetPounds",
         "\x02  02.720LNM\r\n",
         {.protocol = "condec", .weight = "2.720", .unit = "lb", .state = Motion, .net = true}},
        {"CondecOverflow",
         "\x02 999.999KGO\r\n",
         {.protocol = "condec", .state = Overload, .net = false}},
        {"El05Example", hex("44 30 30 30 36 35 38 0d"), untold("el05", "0.658")},
        {"TruTestStable", hex("5b 31 30 32 2e 35 5d"), told("tru-test", "102.5", Stable)},
        {"TruTestMotion", hex("5b 55 31 30 32 2e 35 5d"), told("tru-test", "102.5", Motion)},
        {"TruTestBytesAfter", "[102.5]\r\n", told("tru-test", "102.5", Stable)},
        // The corrections to the first six families.
        {"ToledoBSelfCheckout", hex("02 2b 30 30 31 2c 32 33 34 03"),
         told("toledo-b", "1.234", Stable)},
        {"ToledoBSelfCheckoutMotion", hex("02 2b 49 49 49 2c 49 49 49 03"),
         told("toledo-b", std::nullopt, Motion)},
        {"ToledoBSelfCheckoutNegative", toledoB("-III,III"),
         told("toledo-b", std::nullopt, Negative)},
        {"ToledoBSelfCheckoutOverload", toledoB("+SSS,SSS"),
         told("toledo-b", std::nullopt, Overload)},
        {"ToledoBSelfCheckoutBelowZero", toledoB("-001,234"), told("toledo-b", "-1.234", Negative)},
        {"StGsNineteen",
         hex("53 54 2c 47 53 2c 2b 20 20 20 31 2e 32 33 34 20 20 6b 67 0d 0a"),
         {.protocol = "st-gs", .weight = "1.234", .state = Stable, .net = false}},
        {"StGsTare", "ST,TR,+  0.266kg\r\n", told("st-gs", "0.266", Stable)},
        {"StGsWholeUnits",
         "ST,GS,+    3000  kg\r\n",
         {.protocol = "st-gs", .weight = "3000", .state = Stable, .net = false}},
    };
}

INSTANTIATE_TEST_SUITE_P(MoreFamilies, Frames, testing::ValuesIn(moreFamilies()), CaseName());

// Frames that fit more than one family, read as the one they are.
INSTANTIATE_TEST_SUITE_P(
    LookAlike, Frames,
    testing::Values(
        FrameCase{"PrecisionLetterIsPrecision", "A000658\r", told("precision", "0.658", Motion)},
        FrameCase{"OtherLetterIsEl05", "D000658\r", untold("el05", "0.658")},
        FrameCase{"StxFirstIsPrecision",
                  "\x02"
                  "D000658\r",
                  untold("precision", "0.658")},
        FrameCase{"EEndingInCrIsCapital", "E1234.57\r", untold("capital", "1234.5")},
        FrameCase{"EAloneIsDigitron", "E1234.57", untold("digitron-ul", "1234.57")},
        FrameCase{"StGsLineNotUranoPop",
                  "ST,GS,+  1.234 kg\r\n",
                  {.protocol = "st-gs", .weight = "1.234", .state = Stable, .net = false}},
        FrameCase{"LiderStreamStxEndsAFrame",
                  "1.234 E\x02\x01"
                  "001.234 I\x02\x01"
                  "002.500 E\x02\x01"
                  "00",
                  told("lider", "2.500", Stable)},
        FrameCase{"UranoPopIsNotUrano", "PESO L: 2,5kg", untold("urano-pop", "2.5")},
        FrameCase{"UranoIsNotUranoPop", "* PESO: 2,5kg", told("urano", "2.5", Stable)},
        FrameCase{"SevenCharactersIsMuller", "\x02+01.234\x03", untold("muller", "1.234")},
        FrameCase{"FiveIsToledoB",
                  "\x02"
                  "01234\x03",
                  told("toledo-b", "1.234", Stable)},
        FrameCase{"EightWithACommaIsToledoB", "\x02+001,234\x03",
                  told("toledo-b", "1.234", Stable)},
        FrameCase{"LenkeBetweenFlowControl",
                  "\x11\x02"
                  "0001234MP\r\x13\x11",
                  told("lenke", "1.234", Motion)}),
    CaseName());

// Whatever came before it, a whole frame at the end of a reply is the one read: no family
// reaches back into the frame before it. Families with no mark at their start (el05,
// saturno) follow a line end, and those whose frame is the whole reply stand alone.
TEST(MoreFamilies, ReadAfterAFrameOfAnyOther) {
    std::vector<FrameCase> all = moreFamilies();
    for (const FrameCase& before : all) {
        for (const FrameCase& last : all) {
            const std::string_view protocol = last.expected.protocol;
            if (protocol == "alfa" || protocol == "afts" || protocol == "digitron-ul" ||
                protocol == "marel" || std::string_view(last.name) == "UranoPopPlain" ||
                std::string_view(last.name) == "SaturnoRunWithoutLineEnds" ||
                std::string_view(before.name) == "MarelExample") {
                continue;
            }
            const std::string separator = protocol == "el05" || protocol == "saturno" ? "\r\n" : "";
            const auto decoded = decode(before.bytes + separator + last.bytes);
            EXPECT_EQ(decoded.reading, last.expected)
                << before.name << " then " << last.name << ": "
                << escaped(before.bytes + separator + last.bytes);
        }
    }
}

}  // namespace
}  // namespace vardelmo::reading

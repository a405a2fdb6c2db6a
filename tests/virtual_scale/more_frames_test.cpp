// The frames of the families beyond the first six, each in every state it can tell and, where
// a family has an example of its own, byte for byte as that example.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/case_name.h"
#include "tests/virtual_scale/frame_case.h"

namespace vardelmo::vscale {
namespace {

using test_support::CaseName;

// A family that does not tell the state says a moving weight as a stable one, and nothing
// below zero or above the capacity.
#define NOT_TOLD(Id, frame)                                                             \
    FrameCase{"Stable", Format::Id, 1.234, State::Stable, frame},                       \
        FrameCase{"MotionLooksStable", Format::Id, 1.234, State::Motion, frame},        \
        FrameCase{"NegativeState", Format::Id, 1.234, State::Negative, ""},             \
        FrameCase{"BelowZero", Format::Id, -0.5, State::Stable, ""},                    \
        FrameCase{"OverloadState", Format::Id, 1.234, State::Overload, ""}, FrameCase { \
        "Silent", Format::Id, 1.234, State::Silent, ""                                  \
    }

INSTANTIATE_TEST_SUITE_P(
    ToledoBSelf, FrameTest,
    ::testing::Values(
        FrameCase{"Stable", Format::ToledoBSelf, 1.234, State::Stable,
                  hex("02 2b 30 30 31 2c 32 33 34 03")},
        FrameCase{"Capacity", Format::ToledoBSelf, 99.999, State::Stable, "\x02+099,999\x03"},
        FrameCase{"Motion", Format::ToledoBSelf, 1.234, State::Motion,
                  hex("02 2b 49 49 49 2c 49 49 49 03")},
        FrameCase{"BelowZero", Format::ToledoBSelf, -0.5, State::Stable, "\x02-III,III\x03"},
        FrameCase{"OverloadState", Format::ToledoBSelf, 1.234, State::Overload,
                  "\x02+SSS,SSS\x03"}),
    CaseName());

INSTANTIATE_TEST_SUITE_P(
    StGsForms, FrameTest,
    ::testing::Values(
        FrameCase{"NineteenStable", Format::StGs19, 1.234, State::Stable,
                  hex("53 54 2c 47 53 2c 2b 20 20 20 31 2e 32 33 34 20 20 6b 67 0d 0a")},
        FrameCase{"NineteenMotion", Format::StGs19, 12.5, State::Motion, "US,GS,+  12.500  kg\r\n"},
        FrameCase{"NineteenBelowZero", Format::StGs19, -0.25, State::Stable,
                  "ST,GS,-   0.250  kg\r\n"},
        FrameCase{"NineteenOverload", Format::StGs19, 120, State::Stable,
                  "OL,GS,+ 120.000  kg\r\n"},
        FrameCase{"TareStable", Format::StGsTr, 1.234, State::Stable, "ST,TR,+  1.234kg\r\n"},
        FrameCase{"TareMotion", Format::StGsTr, 1.234, State::Motion, "US,TR,+  1.234kg\r\n"},
        FrameCase{"TareNegative", Format::StGsTr, 1.234, State::Negative, "ST,TR,-  1.234kg\r\n"},
        FrameCase{"TareOverload", Format::StGsTr, 1.234, State::Overload, "OL,TR,+  1.234kg\r\n"}),
    CaseName());

// STX "02" SWA SWB SWC weight tare, 41 bytes a reading needs none of, DLE ETX checksum.
INSTANTIATE_TEST_SUITE_P(
    ToledoEth, FrameTest,
    ::testing::Values(
        FrameCase{"Stable", Format::ToledoEth, 1.234, State::Stable,
                  hex("02 30 32 2d 30 20 30 30 31 32 33 34 30 30 30 30 30 30 30 30 30 30 30 30 30 "
                      "30 30 30 30 30 30 30 30 30 30 30 30 30 30 30 30 30 30 30 50 30 30 30 30 30 "
                      "30 30 30 30 30 30 31 30 30 10 03 06")},
        FrameCase{"Motion", Format::ToledoEth, 1.234, State::Motion,
                  hex("02 30 32 2d 38 20 30 30 31 32 33 34 30 30 30 30 30 30 30 30 30 30 30 30 30 "
                      "30 30 30 30 30 30 30 30 30 30 30 30 30 30 30 30 30 30 30 50 30 30 30 30 30 "
                      "30 30 30 30 30 30 31 30 30 10 03 fe")},
        FrameCase{"NegativeState", Format::ToledoEth, 1.234, State::Negative, ""},
        FrameCase{"OverloadState", Format::ToledoEth, 1.234, State::Overload, ""}),
    CaseName());

INSTANTIATE_TEST_SUITE_P(Bcs21, FrameTest,
                         ::testing::Values(FrameCase{"Stable", Format::Bcs21, 1.234, State::Stable,
                                                     hex("02 53 2b 30 30 30 31 2e 32 33 34 0d")},
                                           FrameCase{"Motion", Format::Bcs21, 1.234, State::Motion,
                                                     hex("02 44 2b 30 30 30 31 2e 32 33 34 0d")},
                                           FrameCase{"NegativeState", Format::Bcs21, 1.234,
                                                     State::Negative, "\x02S-0001.234\r"},
                                           FrameCase{"BelowZero", Format::Bcs21, -0.25,
                                                     State::Motion, "\x02S-0000.250\r"},
                                           FrameCase{"OverloadState", Format::Bcs21, 1.234,
                                                     State::Overload, ""}),
                         CaseName());

INSTANTIATE_TEST_SUITE_P(
    Lider, FrameTest,
    ::testing::Values(FrameCase{"Stable", Format::Lider, 1.234, State::Stable,
                                hex("01 30 30 31 2e 32 33 34 20 45 02")},
                      FrameCase{"Motion", Format::Lider, 1.234, State::Motion,
                                hex("01 30 30 31 2e 32 33 34 20 49 02")},
                      FrameCase{"Capacity", Format::Lider, 99.999, State::Stable,
                                "\x01"
                                "099.999 E\x02"},
                      FrameCase{"NegativeState", Format::Lider, 1.234, State::Negative, ""},
                      FrameCase{"OverloadState", Format::Lider, 1.234, State::Overload, ""}),
    CaseName());

const std::string uranoBefore =
    hex("1b 54 31 1b 41 31 33 1b 4e 30 1b 53 32 1b 44 34 1b 51 31 39 33 1b 42 20");
const std::string uranoAfter = hex("1b 45 1b 50 30 31");

INSTANTIATE_TEST_SUITE_P(
    Urano, FrameTest,
    ::testing::Values(FrameCase{"Stable", Format::Urano, 5.1, State::Stable,
                                uranoBefore + "* PESO: 5,100kg" + uranoAfter},
                      FrameCase{"Motion", Format::Urano, 5.1, State::Motion,
                                uranoBefore + "  PESO: 5,100kg" + uranoAfter},
                      FrameCase{"NegativeState", Format::Urano, 1.234, State::Negative,
                                uranoBefore + "* PESO:-1,234kg" + uranoAfter},
                      FrameCase{"TensOfKilograms", Format::Urano, 12.345, State::Stable,
                                uranoBefore + "* PESO: 12,345kg" + uranoAfter},
                      FrameCase{"OverloadState", Format::Urano, 1.234, State::Overload, ""}),
    CaseName());

INSTANTIATE_TEST_SUITE_P(UranoPop, FrameTest,
                         ::testing::Values(NOT_TOLD(UranoPop, "PESO L: 1,234kg")), CaseName());
INSTANTIATE_TEST_SUITE_P(UranoPopBare, FrameTest,
                         ::testing::Values(NOT_TOLD(UranoPopBare,
                                                    hex("20 31 2c 32 33 34 20 6b 67"))),
                         CaseName());

INSTANTIATE_TEST_SUITE_P(
    Magna, FrameTest,
    ::testing::Values(
        FrameCase{"Stable", Format::Magna, 1.234, State::Stable,
                  hex("09 20 31 2c 32 33 34 6b 67 0d")},
        FrameCase{"MotionLooksStable", Format::Magna, 1.234, State::Motion, "\t 1,234kg\r"},
        FrameCase{"NegativeState", Format::Magna, 1.234, State::Negative, "\t NNNNNkg\r"},
        FrameCase{"BelowZero", Format::Magna, -0.5, State::Stable, "\t NNNNNkg\r"},
        FrameCase{"OverloadState", Format::Magna, 1.234, State::Overload, ""}),
    CaseName());

INSTANTIATE_TEST_SUITE_P(DigitronUl, FrameTest, ::testing::Values(NOT_TOLD(DigitronUl, "E01.234")),
                         CaseName());
INSTANTIATE_TEST_SUITE_P(Alfa, FrameTest, ::testing::Values(NOT_TOLD(Alfa, "    01.234")),
                         CaseName());
INSTANTIATE_TEST_SUITE_P(Afts, FrameTest,
                         ::testing::Values(NOT_TOLD(Afts, hex("3d 34 33 32 2e 31 30 30")),
                                           FrameCase{"TwelveAndAHalf", Format::Afts, 12.5,
                                                     State::Stable,
                                                     hex("3d 30 30 35 2e 32 31 30")}),
                         CaseName());
INSTANTIATE_TEST_SUITE_P(Muller, FrameTest,
                         ::testing::Values(NOT_TOLD(Muller, hex("02 2b 30 31 2e 32 33 34 03"))),
                         CaseName());

INSTANTIATE_TEST_SUITE_P(
    Saturno, FrameTest,
    ::testing::Values(FrameCase{"Stable", Format::Saturno, 1.234, State::Stable,
                                hex("30 31 2e 32 33 34 45 0d 0a")},
                      FrameCase{"Motion", Format::Saturno, 1.234, State::Motion,
                                hex("30 31 2e 32 33 34 4f 0d 0a")},
                      FrameCase{"NegativeState", Format::Saturno, 1.234, State::Negative, ""},
                      FrameCase{"OverloadState", Format::Saturno, 1.234, State::Overload, ""}),
    CaseName());

// The net is the weight given; the gross carries the tare of 0.266 kg on top.
INSTANTIATE_TEST_SUITE_P(
    Lucastec, FrameTest,
    ::testing::Values(FrameCase{"Stable", Format::Lucastec, 1.234, State::Stable,
                                "\x02"
                                "0000 000001 20/06/05 1.500 kg B  0.266 kg T  1.234 kg L\r\xb4"},
                      FrameCase{"MotionLooksStable", Format::Lucastec, 1.234, State::Motion,
                                "\x02"
                                "0000 000001 20/06/05 1.500 kg B  0.266 kg T  1.234 kg L\r\xb4"},
                      FrameCase{"NegativeState", Format::Lucastec, 1.234, State::Negative,
                                "\x02"
                                "0000 000001 20/06/05 0.000 kg B  0.266 kg T  0.000 kg L\r\xb4"},
                      FrameCase{"LighterThanTheTare", Format::Lucastec, -0.1, State::Stable,
                                "\x02"
                                "0000 000001 20/06/05 0.166 kg B  0.266 kg T  0.000 kg L\r\xb4"},
                      FrameCase{"OverloadState", Format::Lucastec, 1.234, State::Overload, ""}),
    CaseName());

INSTANTIATE_TEST_SUITE_P(
    Precision, FrameTest,
    ::testing::Values(FrameCase{"Stable", Format::Precision, 1.234, State::Stable, "\x02S001234\r"},
                      FrameCase{"Motion", Format::Precision, 1.234, State::Motion,
                                hex("02 41 30 30 31 32 33 34 0d")},
                      FrameCase{"NegativeState", Format::Precision, 1.234, State::Negative,
                                hex("02 48 30 30 31 32 33 34 0d")},
                      FrameCase{"OverloadState", Format::Precision, 1.234, State::Overload, ""}),
    CaseName());

INSTANTIATE_TEST_SUITE_P(
    Lenke, FrameTest,
    ::testing::Values(FrameCase{"Stable", Format::Lenke, 1.234, State::Stable,
                                hex("02 30 30 30 31 32 33 34 20 20 0d")},
                      FrameCase{"Motion", Format::Lenke, 1.234, State::Motion,
                                hex("02 30 30 30 31 32 33 34 4d 50 0d")},
                      FrameCase{"NegativeState", Format::Lenke, 1.234, State::Negative,
                                "\x02"
                                "0001234MN\r"},
                      FrameCase{"OverloadState", Format::Lenke, 1.234, State::Overload, ""}),
    CaseName());

INSTANTIATE_TEST_SUITE_P(
    Wt1000, FrameTest,
    ::testing::Values(FrameCase{"Stable", Format::Wt1000, 1.234, State::Stable,
                                hex("30 2c 20 20 31 2e 35 30 30 2c 20 20 30 2e 32 36 36 2c 20 20 "
                                    "31 2e 32 33 34 0d 0a")},
                      FrameCase{"Motion", Format::Wt1000, 1.234, State::Motion,
                                "1,  1.500,  0.266,  1.234\r\n"},
                      FrameCase{"NegativeState", Format::Wt1000, 1.234, State::Negative,
                                "0, -0.968,  0.266, -1.234\r\n"},
                      FrameCase{"Capacity", Format::Wt1000, 99.999, State::Stable,
                                "0,100.265,  0.266, 99.999\r\n"},
                      FrameCase{"OverloadState", Format::Wt1000, 1.234, State::Overload, ""}),
    CaseName());

INSTANTIATE_TEST_SUITE_P(
    Wt27r, FrameTest,
    ::testing::Values(FrameCase{"Stable", Format::Wt27r, 1.234, State::Stable,
                                "EB,kg,B: 001234,T:000000,L: 001234\r\n"},
                      FrameCase{"Motion", Format::Wt27r, 1.234, State::Motion,
                                "IB,kg,B: 001234,T:000000,L: 001234\r\n"},
                      FrameCase{"BelowZero", Format::Wt27r, -0.12, State::Stable,
                                hex("45 42 2c 6b 67 2c 42 3a 2d 30 30 30 31 32 30 2c 54 3a 30 30 "
                                    "30 30 30 30 2c 4c 3a 2d 30 "
                                    "30 30 31 32 30 0d 0a")},
                      FrameCase{"OverloadState", Format::Wt27r, 1.234, State::Overload,
                                "EB,kg,B: 999999,T:000000,L: 999999\r\n"}),
    CaseName());

INSTANTIATE_TEST_SUITE_P(Marel, FrameTest,
                         ::testing::Values(NOT_TOLD(Marel,
                                                    "\x02"
                                                    "0000000000000    1.234\r\n")),
                         CaseName());
INSTANTIATE_TEST_SUITE_P(Capital, FrameTest, ::testing::Values(NOT_TOLD(Capital, "E01.2345\r")),
                         CaseName());

INSTANTIATE_TEST_SUITE_P(
    Siciliano, FrameTest,
    ::testing::Values(
        FrameCase{"Stable", Format::Siciliano, 1.234, State::Stable, "\x02SIC 01.234kgB\x03.\n"},
        FrameCase{"MotionLooksStable", Format::Siciliano, 1.234, State::Motion,
                  "\x02SIC 01.234kgB\x03.\n"},
        FrameCase{"NegativeState", Format::Siciliano, 1.234, State::Negative,
                  "\x02SIC-01.234kgB\x03#\n"},
        FrameCase{"OverloadState", Format::Siciliano, 1.234, State::Overload, ""},
        FrameCase{"Ip10Stable", Format::SicilianoIp10, 1.234, State::Stable,
                  "\x02"
                  "BR 01.500kgTR 00.266kg\x03\x13\n"},
        FrameCase{"Ip10Motion", Format::SicilianoIp10, 1.234, State::Motion,
                  "\x02"
                  "BR 01.500kgTR 00.266kg\x03\x13\n"},
        FrameCase{"Ip10Negative", Format::SicilianoIp10, 1.234, State::Negative,
                  "\x02"
                  "BR-00.968kgTR 00.266kg\x03\x1d\n"},
        FrameCase{"Ip10GrossTooLarge", Format::SicilianoIp10, 99.9, State::Stable, ""},
        FrameCase{"Ip10Overload", Format::SicilianoIp10, 1.234, State::Overload, ""}),
    CaseName());

INSTANTIATE_TEST_SUITE_P(
    Condec, FrameTest,
    ::testing::Values(
        FrameCase{"Stable", Format::Condec, 1.234, State::Stable,
                  hex("02 20 30 30 31 2e 32 33 34 4b 47 20 0d 0a")},
        FrameCase{"Motion", Format::Condec, 1.234, State::Motion, "\x02 001.234KGM\r\n"},
        FrameCase{"NegativeState", Format::Condec, 1.234, State::Negative, "\x02-001.234KG \r\n"},
        FrameCase{"OverloadState", Format::Condec, 1.234, State::Overload, "\x02 001.234KGO\r\n"},
        FrameCase{"AboveCapacity", Format::Condec, 120, State::Stable, "\x02 120.000KGO\r\n"}),
    CaseName());

INSTANTIATE_TEST_SUITE_P(El05, FrameTest,
                         ::testing::Values(NOT_TOLD(El05, "D001234\r"),
                                           FrameCase{"Example", Format::El05, 0.658, State::Stable,
                                                     hex("44 30 30 30 36 35 38 0d")}),
                         CaseName());

INSTANTIATE_TEST_SUITE_P(
    TruTest, FrameTest,
    ::testing::Values(FrameCase{"Stable", Format::TruTest, 10.25, State::Stable, "[10.250]"},
                      FrameCase{"Motion", Format::TruTest, 10.25, State::Motion, "[U10.250]"},
                      FrameCase{"NegativeState", Format::TruTest, 1.234, State::Negative, ""},
                      FrameCase{"OverloadState", Format::TruTest, 1.234, State::Overload, ""}),
    CaseName());

#undef NOT_TOLD

}  // namespace
}  // namespace vardelmo::vscale

// Refilling the help: paragraphs and items laid out wide, refilled narrow.
#include "virtual_scale/text_wrap.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "tests/support/case_name.h"

namespace vardelmo::vscale {
namespace {

struct RefillCase {
    const char* name;
    std::string text;      // laid out at 40 columns
    std::string refilled;  // at 30
    friend void PrintTo(const RefillCase& c, std::ostream* os) { *os << c.name; }
};

class Refill : public ::testing::TestWithParam<RefillCase> {};

TEST_P(Refill, KeepsTheLayoutWithinTheWidth) {
    EXPECT_EQ(refill(GetParam().text, 30, 40), GetParam().refilled);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Refill,
    ::testing::Values(
        RefillCase{"ShortLinesStay", "Usage: scale\n\n  -h, --help  help\n",
                   "Usage: scale\n\n  -h, --help  help\n"},
        // "Usage:" ends early: the paragraph after it is not run into it.
        RefillCase{"ParagraphRefilled",
                   "Usage: scale\nA scale on a terminal that prints its path\nand answers.\n",
                   "Usage: scale\nA scale on a terminal that\nprints its path and answers.\n"},
        RefillCase{"ItemHangsUnderItsDescription", "  -d, --delay MS  the wait before the reply\n",
                   "  -d, --delay MS  the wait\n                    before the\n                   "
                   " reply\n"},
        // The options' column, where a label runs into its description with one space.
        RefillCase{"OptionAtTheOptionsColumn",
                   "  -d, --delay MS  the wait\n  --continuous MS also a frame every MS\n",
                   "  -d, --delay MS  the wait\n  --continuous MS also a frame\n"
                   "                    every MS\n"},
        RefillCase{"HangingLinesKeepTheirIndent",
                   "  toledo-b  frame of five digits and the\n       STX and ETX around\n",
                   "  toledo-b  frame of five\n       digits and the STX and\n       ETX around\n"},
        // A run of spaces is part of its word; only single spaces break.
        RefillCase{"RunsOfSpacesKept", "  st-gs  \"ST,GS,+  1.234kg\" CR LF\n",
                   "  st-gs  \"ST,GS,+  1.234kg\" CR\n           LF\n"},
        // A line ending in ':' leads into what follows, which is no part of it.
        RefillCase{"ColonEndsTheParagraph",
                   "Standard input takes one change a line:\n  weight KG | state NAME\n",
                   "Standard input takes one\nchange a line:\n  weight KG | state NAME\n"},
        RefillCase{
            "IndentedSentenceEndsItsParagraph",
            "    silent: only the baud counts here.\n    A terminal keeps the baud.\n",
            "    silent: only the baud\n      counts here.\n    A terminal keeps the baud.\n"},
        RefillCase{"AWordLongerThanTheWidthStandsAlone",
                   "see /dev/serial/by-id/usb-FTDI_FT232R_USB_UART\n",
                   "see\n/dev/serial/by-id/usb-FTDI_FT232R_USB_UART\n"}),
    test_support::CaseName());

}  // namespace
}  // namespace vardelmo::vscale

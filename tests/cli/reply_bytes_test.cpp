#include "cli/reply_bytes.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "tests/support/escaped.h"

namespace vardelmo::cli {
namespace {

using vardelmo::test_support::escaped;

struct Case {
    std::string_view name;
    std::string bytes;
    std::string shown;
    std::string hex;
    friend void PrintTo(const Case& c, std::ostream* os) {
        // The longest replies are cut: the case's name already tells them apart.
        constexpr std::size_t limit = 48;
        const auto text = escaped(c.bytes);
        *os << '"' << text.substr(0, limit) << '"' << (text.size() > limit ? "..." : "");
    }
};

class DescribeReply : public testing::TestWithParam<Case> {};

TEST_P(DescribeReply, SpellsOutEveryByte) {
    EXPECT_EQ(describeReply(GetParam().bytes), GetParam().shown);
    EXPECT_EQ(hexReply(GetParam().bytes), GetParam().hex);
}

using namespace std::string_literals;

INSTANTIATE_TEST_SUITE_P(
    Replies, DescribeReply,
    testing::Values(
        Case{"Nothing", "", "(0 bytes)", ""}, Case{"OneByte", "\x06", "<ACK> (1 byte)", "06"},
        Case{"StxFrame",
             "\x02"
             "01234\x03",
             "<STX>01234<ETX> (7 bytes)", "02 30 31 32 33 34 03"},
        Case{"LineWithSpaces", "  1.234 kg\r\n", "  1.234 kg<CR><LF> (12 bytes)",
             "20 20 31 2e 32 33 34 20 6b 67 0d 0a"},
        Case{"Nul", "1\0002"s, "1<NUL>2 (3 bytes)", "31 00 32"},
        Case{"ControlNames",
             std::string("\x00\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0A\x0B\x0C\x0D\x0E\x0F", 16),
             "<NUL><SOH><STX><ETX><EOT><ENQ><ACK><BEL><BS><HT><LF><VT><0C><CR><SO><SI> (16 bytes)",
             "00 01 02 03 04 05 06 07 08 09 0a 0b 0c 0d 0e 0f"},
        Case{"ControlNamesHigh",
             "\x10\x11\x12\x13\x14\x15\x16\x17\x18\x19\x1A\x1B\x1C\x1D\x1E\x1F\x7F",
             "<DLE><DC1><DC2><DC3><DC4><NAK><SYN><ETB><CAN><EM><SUB><ESC><FS><GS><RS><US><DEL> "
             "(17 bytes)",
             "10 11 12 13 14 15 16 17 18 19 1a 1b 1c 1d 1e 1f 7f"},
        Case{"HighBytesInHex", "\x80\xE9\xFF", "<80><E9><FF> (3 bytes)", "80 e9 ff"},
        Case{"PrintableEdges", " ~>", " ~> (3 bytes)", "20 7e 3e"},
        Case{"LessThanIsNotANameStart", "<STX>", "<3C>STX> (5 bytes)", "3c 53 54 58 3e"}),
    [](const testing::TestParamInfo<Case>& test) { return std::string(test.param.name); });

// A spelled text read back, as --request takes it: every reply spells a text that reads back
// as its bytes, and a text that spells no bytes is told apart by its reason.
struct UnspellCase {
    std::string_view name;
    std::string text;
    std::optional<std::string> bytes;
    std::string error;
    friend void PrintTo(const UnspellCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }
};

class UnspellReply : public testing::TestWithParam<UnspellCase> {};

TEST_P(UnspellReply, ReadsTheSpellingBack) {
    const auto& c = GetParam();
    std::string error;
    EXPECT_EQ(unspellReply(c.text, error), c.bytes);
    EXPECT_EQ(error, c.error);
    if (c.bytes) {
        EXPECT_EQ(unspellReply(spellReply(*c.bytes), error), c.bytes) << "round trip";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, UnspellReply,
    testing::Values(
        UnspellCase{"Enquiry", "<ENQ>", "\x05", ""}, UnspellCase{"Nothing", "", "", ""},
        UnspellCase{"Letter", "P", "P", ""}, UnspellCase{"Braces", "{RW}", "{RW}", ""},
        UnspellCase{"NameThenText", "<ENQ>D05",
                    "\x05"
                    "D05",
                    ""},
        UnspellCase{"LowerCase", "<eot><e9>", "\x04\xE9", ""},
        UnspellCase{"EveryControlName",
                    "<NUL><SOH><STX><ETX><EOT><ENQ><ACK><BEL><BS><HT><LF><VT><0C><CR><SO><SI><DLE>"
                    "<DC1><DC2><DC3><DC4><NAK><SYN><ETB><CAN><EM><SUB><ESC><FS><GS><RS><US><DEL>",
                    std::string("\x00\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0A\x0B\x0C\x0D"
                                "\x0E\x0F\x10\x11\x12\x13\x14\x15\x16\x17\x18\x19\x1A\x1B"
                                "\x1C\x1D\x1E\x1F\x7F",
                                33),
                    ""},
        UnspellCase{"FfIsTheByteFf", "<FF>", "\xFF", ""},
        UnspellCase{"LessThan", "<3C>STX>", "<STX>", ""},
        UnspellCase{"UnknownName", "<ENQ><XYZ>", std::nullopt, "<XYZ> names no byte"},
        UnspellCase{"ThreeHexDigits", "<ABC>", std::nullopt, "<ABC> names no byte"},
        UnspellCase{"Unclosed", "<ENQ", std::nullopt,
                    "a '<' opens no name (write '<' itself as <3C>)"},
        UnspellCase{"RawControl", "\t", std::nullopt,
                    "a byte 09 must be written as <09> or by its name"},
        UnspellCase{"RawHighByte", "\xC3\xA9", std::nullopt,
                    "a byte C3 must be written as <C3> or by its name"}),
    [](const testing::TestParamInfo<UnspellCase>& test) { return std::string(test.param.name); });

}  // namespace
}  // namespace vardelmo::cli

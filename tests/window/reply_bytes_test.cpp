#include "window/reply_bytes.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>

#include "tests/support/escaped.h"

namespace vardelmo::window {
namespace {

using vardelmo::test_support::escaped;

struct Case {
    std::string_view name;
    std::string bytes;
    std::string shown;
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
}

using namespace std::string_literals;

INSTANTIATE_TEST_SUITE_P(
    Replies, DescribeReply,
    testing::Values(
        Case{"Nothing", "", "(0 bytes)"}, Case{"OneByte", "\x06", "<ACK> (1 byte)"},
        Case{"StxFrame",
             "\x02"
             "01234\x03",
             "<STX>01234<ETX> (7 bytes)"},
        Case{"LineWithSpaces", "  1.234 kg\r\n", "  1.234 kg<CR><LF> (12 bytes)"},
        Case{"Nul", "1\0002"s, "1<NUL>2 (3 bytes)"},
        Case{"ControlNames",
             std::string("\x00\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0A\x0B\x0C\x0D\x0E\x0F", 16),
             "<NUL><SOH><STX><ETX><EOT><ENQ><ACK><BEL><BS><HT><LF><VT><FF><CR><SO><SI> (16 bytes)"},
        Case{"ControlNamesHigh",
             "\x10\x11\x12\x13\x14\x15\x16\x17\x18\x19\x1A\x1B\x1C\x1D\x1E\x1F\x7F",
             "<DLE><DC1><DC2><DC3><DC4><NAK><SYN><ETB><CAN><EM><SUB><ESC><FS><GS><RS><US><DEL> "
             "(17 bytes)"},
        Case{"HighBytesInHex", "\x80\xE9\xFF", "<80><E9><FF> (3 bytes)"},
        Case{"PrintableEdges", " ~>", " ~> (3 bytes)"},
        Case{"LessThanIsNotANameStart", "<STX>", "<3C>STX> (5 bytes)"}),
    [](const testing::TestParamInfo<Case>& test) { return std::string(test.param.name); });

}  // namespace
}  // namespace vardelmo::window

// The bytes the scale answers and the frame it may be given, both spelled as the tool spells
// a reply; and the scale answering a request other than ENQ through its terminal.
#include "virtual_scale/request.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "tests/support/case_name.h"
#include "tests/support/escaped.h"
#include "tests/virtual_scale/pty_client.h"
#include "virtual_scale/spelled.h"
#include "virtual_scale/virtual_scale.h"

namespace vardelmo::vscale {
namespace {

using pty_client::anythingWaiting;
using pty_client::kPatience;
using pty_client::openClient;
using pty_client::readBytes;
using pty_client::writeAll;
using test_support::CaseName;
using test_support::escaped;

struct SpelledCase {
    const char* name;
    std::string text;
    bool valid;
    std::string bytes;  // or, when not valid, the reason given
    friend void PrintTo(const SpelledCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }
};

class SpelledTest : public ::testing::TestWithParam<SpelledCase> {};

TEST_P(SpelledTest, Unspells) {
    const auto& c = GetParam();
    std::string error;
    const auto bytes = unspell(c.text, error);
    ASSERT_EQ(bytes.has_value(), c.valid) << escaped(bytes.value_or(error));
    EXPECT_EQ(c.valid ? *bytes : error, c.bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SpelledTest,
    ::testing::Values(SpelledCase{"Enquiry", "<ENQ>", true, "\x05"},
                      SpelledCase{"Empty", "", true, ""}, SpelledCase{"Letter", "P", true, "P"},
                      SpelledCase{"Braces", "{RW}", true, "{RW}"},
                      SpelledCase{"NameThenText", "<ENQ>D05", true,
                                  "\x05"
                                  "D05"},
                      SpelledCase{"AsTheToolSpellsAFrame", "<STX>01234<ETX>", true,
                                  "\x02"
                                  "01234\x03"},
                      SpelledCase{"EveryNameEnd", "<NUL><US><DEL>", true,
                                  std::string("\0\x1f\x7f", 3)},
                      SpelledCase{"HexAbove7F", "<E9><b4>", true, "\xe9\xb4"},
                      SpelledCase{"AngleBracketAsHex", "<3C>", true, "<"},
                      SpelledCase{"ClosingBracketAsItStands", "a>b", true, "a>b"},
                      SpelledCase{"NamesInLowerCase", "<stx>x<cr>", true, "\x02x\r"},
                      SpelledCase{"FfIsTheByteFf", "<FF><0C>", true, "\xff\x0c"},
                      SpelledCase{"UnknownName", "<ENQ><XYZ>", false, "<XYZ> names no byte"},
                      SpelledCase{"EmptyName", "<>", false, "<> names no byte"},
                      SpelledCase{"ThreeHexDigits", "<ABC>", false, "<ABC> names no byte"},
                      SpelledCase{"BareAngleBracket", "1<2", false,
                                  "a '<' opens no name (write '<' itself as <3C>)"},
                      SpelledCase{"RawControlByte", "\x05", false,
                                  "a byte 05 must be written as <05> or by its name"},
                      SpelledCase{"RawByteAbove7E", "\xc3\xa9", false,
                                  "a byte C3 must be written as <C3> or by its name"}),
    CaseName());

// What the matcher finds chunk by chunk: "R" a request, other text a run of ignored bytes.
struct MatchCase {
    const char* name;
    std::string request;
    std::vector<std::string> chunks;
    std::vector<std::string> found;
    friend void PrintTo(const MatchCase& c, std::ostream* os) {
        *os << '"' << escaped(c.request) << "\" in";
        for (const auto& chunk : c.chunks) {
            *os << " \"" << escaped(chunk) << '"';
        }
    }
};

class RequestMatcherTest : public ::testing::TestWithParam<MatchCase> {};

TEST_P(RequestMatcherTest, FindsEveryRequest) {
    const auto& c = GetParam();
    RequestMatcher matcher(c.request);
    std::vector<std::string> found;
    for (const auto& chunk : c.chunks) {
        for (const auto& piece : matcher.feed(chunk)) {
            found.push_back(piece.request ? "R" : piece.ignored);
        }
    }
    EXPECT_EQ(found, c.found);
}

INSTANTIATE_TEST_SUITE_P(
    Table, RequestMatcherTest,
    ::testing::Values(MatchCase{"Enquiries", "\x05", {"\x05\x05"}, {"R", "R"}},
                      MatchCase{"OtherBytesAround",
                                "\x05",
                                {"ab\x05"
                                 "c"},
                                {"ab", "R", "c"}},
                      MatchCase{"Word", "{RW}", {"x{RW}"}, {"x", "R"}},
                      MatchCase{"SplitOverTwoReads", "{RW}", {"{R", "W}"}, {"R"}},
                      MatchCase{"ABeginningThatIsNone", "{RW}", {"{R", "x"}, {"{Rx"}},
                      MatchCase{"RestartsInsideAFalseStart", "{RW}", {"{{R", "W}"}, {"{", "R"}},
                      MatchCase{"EnquiryAloneIsNoMarteRequest",
                                "\x05"
                                "D05",
                                {"\x05",
                                 "\x05"
                                 "D0",
                                 "5"},
                                {"\x05", "R"}},
                      MatchCase{"NothingIsARequest", "", {"\x05", "P"}, {"\x05", "P"}}),
    CaseName());

std::unique_ptr<VirtualScale> openScale(Options options) {
    options.pace = false;
    options.delay = std::chrono::milliseconds(0);
    std::string error;
    auto scale = VirtualScale::open(options, error);
    EXPECT_NE(scale, nullptr) << error;
    return scale;
}

// A Weigh TRU-Test answers "{RW}" only, even when it comes in two writes; an ENQ is no
// request to it.
TEST(ScaleRequest, AnswersOnlyItsRequest) {
    Options options;
    options.format = Format::TruTest;
    options.request = "{RW}";
    auto scale = openScale(options);
    ASSERT_NE(scale, nullptr);
    const int client = openClient(scale->path());
    ASSERT_TRUE(writeAll(client, "\x05{R"));
    ASSERT_TRUE(writeAll(client, "W}"));
    EXPECT_EQ(readBytes(client, 7), "[1.234]");
    ASSERT_TRUE(scale->waitForExchanges(1, kPatience));
    EXPECT_EQ(scale->exchanges().size(), 1u);
    EXPECT_EQ(scale->received(), "\x05{RW}");
    EXPECT_FALSE(anythingWaiting(client));
    ::close(client);
}

// A request at another baud is garbled on the wire: not heard, so not answered, but counted.
TEST(ScaleRequest, RequestAtAnotherBaudIsMissed) {
    Options options;
    options.request = "P";
    auto scale = openScale(options);
    ASSERT_NE(scale, nullptr);
    const int client = openClient(scale->path(), B9600);
    ASSERT_TRUE(writeAll(client, "P"));
    ASSERT_TRUE(scale->waitForExchanges(1, kPatience));
    EXPECT_EQ(scale->exchanges()[0].sent, "");
    EXPECT_FALSE(anythingWaiting(client));
    ::close(client);
}

TEST(ScaleFrame, GivenFrameAnswersWhateverTheStateButSilent) {
    Options options;
    options.customFrame = "12,5 kg\r";
    options.state = State::Overload;
    auto scale = openScale(options);
    ASSERT_NE(scale, nullptr);
    const int client = openClient(scale->path());
    ASSERT_TRUE(writeAll(client, "\x05"));
    EXPECT_EQ(readBytes(client, 8), "12,5 kg\r");
    scale->setState(State::Silent);
    ASSERT_TRUE(writeAll(client, "\x05"));
    ASSERT_TRUE(scale->waitForExchanges(2, kPatience));
    EXPECT_EQ(scale->exchanges()[1].sent, "");
    scale->setState(State::Stable);
    scale->setFormat(Format::ToledoC);  // a format set live ends the given frame
    ASSERT_TRUE(writeAll(client, "\x05"));
    EXPECT_EQ(readBytes(client, 7),
              "\x02"
              "01234\r");
    ::close(client);
}

// The given frame crosses the wire like any other: toledo-b's bytes at 9600 read as 00 d1 at
// 2400, as in scale_test.cpp.
TEST(ScaleFrame, GivenFrameIsGarbledAtAnotherBaud) {
    Options options;
    options.customFrame =
        "\x02"
        "01234\x03";
    options.format = Format::Line;
    options.line.baud = 9600;
    options.continuous = std::chrono::milliseconds(2);
    auto scale = openScale(options);
    ASSERT_NE(scale, nullptr);
    const int client = openClient(scale->path());
    auto got = readBytes(client, 4);
    if (got.rfind("\x02", 0) == 0) {  // sent while the terminal was still at 9600
        got = readBytes(client, 3);
        got = readBytes(client, 4);
    }
    EXPECT_EQ(got, std::string("\x00\xd1\x00\xd1", 4));
    ::close(client);
}

}  // namespace
}  // namespace vardelmo::vscale

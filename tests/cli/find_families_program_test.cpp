// The built program finding the line settings of a scale of every family beyond the first six,
// asked with the request the family needs; and of a scale whose frames no family has, whose
// settings are found all the same. The scale is at 9600,n,8,1: the first try, at 2400, hears
// nothing or (from a scale that sends on its own) its frames garbled by the wrong baud.
#include <gtest/gtest.h>

#include <chrono>
#include <ostream>
#include <string>
#include <vector>

#include "cli/reply_bytes.h"
#include "tests/cli/headless_program.h"
#include "tests/cli/reading_case.h"
#include "tests/support/case_name.h"
#include "virtual_scale/commands.h"
#include "virtual_scale/virtual_scale.h"

namespace vardelmo::cli {
namespace {

using namespace std::chrono_literals;

struct FamilyCase {
    const char* format;
    const char* request = "<ENQ>";  // spelled; "" for a scale that sends on its own
    friend void PrintTo(const FamilyCase& c, std::ostream* os) { *os << c.format; }
};

std::unique_ptr<vscale::VirtualScale> scaleAt9600(vscale::Options options,
                                                  const std::string& request) {
    options.line = vscale::LineSettings{9600, 'n', 8, 1};
    options.request = request;
    // Each frame in one write: a frame paced byte by byte could begin under the settings of
    // the try before and end, ungarbled, in the next try (a pseudo-terminal's doing, not a
    // line's), read there at the wrong baud.
    options.pace = false;
    if (request.empty()) {
        options.continuous = 50ms;
    }
    std::string error;
    auto scale = vscale::VirtualScale::open(options, error);
    EXPECT_TRUE(scale) << error;
    return scale;
}

class FindEveryFamily : public testing::TestWithParam<FamilyCase> {
protected:
    TemporaryHome home_;
};

TEST_P(FindEveryFamily, Finds9600) {
    const FamilyCase& c = GetParam();
    ASSERT_TRUE(home_.made());
    std::string why;
    const std::string request = unspellReply(c.request, why).value();
    vscale::Options options;
    options.format = vscale::parseFormat(c.format).value();
    const auto scale = scaleAt9600(options, request);
    ASSERT_TRUE(scale);

    const auto program = startProgram(
        {"--find", "--port", scale->path(), "--wait", "200", "--request", c.request}, home_.path());
    ASSERT_TRUE(program->started());
    EXPECT_EQ(program->allOutput(), "9600,n,8,1\n") << program->allErrors();
    EXPECT_EQ(program->exitStatus(), 0) << program->allErrors();
    EXPECT_EQ(scale->received(), request.empty() ? "" : request + request);
}

INSTANTIATE_TEST_SUITE_P(
    MoreFamilies, FindEveryFamily,
    testing::Values(FamilyCase{"toledo-b-self"}, FamilyCase{"st-gs-19"}, FamilyCase{"st-gs-tr"},
                    FamilyCase{"toledo-eth"}, FamilyCase{"bcs21"}, FamilyCase{"lider", ""},
                    FamilyCase{"urano", "<EOT>"}, FamilyCase{"urano-pop"},
                    FamilyCase{"urano-pop-bare"}, FamilyCase{"magna", "P"},
                    FamilyCase{"digitron-ul"}, FamilyCase{"alfa"}, FamilyCase{"afts"},
                    FamilyCase{"muller"}, FamilyCase{"saturno"}, FamilyCase{"lucastec"},
                    FamilyCase{"precision", ""}, FamilyCase{"lenke", ""}, FamilyCase{"wt1000"},
                    FamilyCase{"wt27r"}, FamilyCase{"marel"}, FamilyCase{"capital"},
                    FamilyCase{"siciliano"}, FamilyCase{"siciliano-ip10"}, FamilyCase{"condec"},
                    FamilyCase{"el05"}, FamilyCase{"tru-test", "{RW}"}),
    [](const testing::TestParamInfo<FamilyCase>& test) { return identifier(test.param.format); });

// Every try is made, as none reads; the first whose reply has the shape of frames gives the
// settings, and the reply is told on standard error.
struct UnknownCase {
    const char* name;
    const char* request;
    std::string tries;  // the tries' lines on standard error
    friend void PrintTo(const UnknownCase& c, std::ostream* os) { *os << c.name; }
};

class FindUnknownFamily : public testing::TestWithParam<UnknownCase> {
protected:
    TemporaryHome home_;
};

TEST_P(FindUnknownFamily, PrintsTheSettingsAndExits3) {
    const UnknownCase& c = GetParam();
    ASSERT_TRUE(home_.made());
    vscale::Options options;
    options.customFrame = "\x02W 1.234 kg\r\n";
    std::string why;
    const auto scale = scaleAt9600(options, unspellReply(c.request, why).value());
    ASSERT_TRUE(scale);

    const auto program = startProgram(
        {"--find", "--port", scale->path(), "--wait", "200", "--request", c.request}, home_.path());
    ASSERT_TRUE(program->started());
    EXPECT_EQ(program->allOutput(), "9600,n,8,1\n");
    EXPECT_EQ(program->allErrors(),
              c.tries + "vardelmo: formato desconhecido em 9600,n,8,1: <STX>W 1.234 kg<CR><LF>\n");
    EXPECT_EQ(program->exitStatus(), 3);
}

// What each candidate hears: the pseudo-terminal keeps only the baud and the stop bits, so every
// try at 9600 gets the frames, and the others `other`.
std::string triesHearing(const char* other) {
    std::string lines;
    for (const char* config :
         {"2400,n,8,1", "9600,n,8,1", "4800,n,8,1", "19200,n,8,1", "1200,n,8,1", "9600,e,7,1",
          "4800,e,7,1", "2400,e,7,1", "9600,o,7,1", "4800,o,7,1", "2400,o,7,1", "9600,n,8,2",
          "4800,n,8,2", "2400,n,8,2"}) {
        lines += std::string(config) + ": " +
                 (std::string(config).rfind("9600,", 0) == 0 ? "formato desconhecido" : other) +
                 '\n';
    }
    return lines;
}

// A scale that sends its frames on its own is left out: a pseudo-terminal, unlike a line,
// hands a try the end of a frame the scale began while the try before held other settings,
// ungarbled, and those bytes have the shape of frames. The garbled replies themselves are
// tested against the shape in tests/virtual_scale/garbled_shape_test.cpp.
INSTANTIATE_TEST_SUITE_P(Frames, FindUnknownFamily,
                         testing::Values(UnknownCase{"Answered", "<ENQ>",
                                                     triesHearing("sem resposta")}),
                         test_support::CaseName{});

}  // namespace
}  // namespace vardelmo::cli

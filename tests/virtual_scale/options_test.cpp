#include "virtual_scale/options.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "tests/support/case_name.h"
#include "virtual_scale/commands.h"
#include "virtual_scale/help.h"

namespace vardelmo::vscale {
namespace {

using test_support::CaseName;

void printArguments(const std::vector<std::string>& arguments, std::ostream* os) {
    for (const auto& argument : arguments) {
        *os << ' ' << argument;
    }
}

// The defaults with one change made by `change`.
CommandLine with(const std::function<void(CommandLine&)>& change) {
    CommandLine line;
    change(line);
    return line;
}

struct AcceptedCase {
    const char* name;
    std::vector<std::string> arguments;
    CommandLine expected;
    friend void PrintTo(const AcceptedCase& c, std::ostream* os) {
        printArguments(c.arguments, os);
    }
};

class AcceptedOptions : public ::testing::TestWithParam<AcceptedCase> {};

TEST_P(AcceptedOptions, GiveTheScaleAsked) {
    const auto parsed = parseCommandLine(GetParam().arguments);
    ASSERT_TRUE(parsed.ok) << parsed.refusal;
    const CommandLine& got = parsed.commandLine;
    const CommandLine& expected = GetParam().expected;
    EXPECT_EQ(formatName(got.scale.format), formatName(expected.scale.format));
    EXPECT_DOUBLE_EQ(got.scale.weightKg, expected.scale.weightKg);
    EXPECT_EQ(stateName(got.scale.state), stateName(expected.scale.state));
    EXPECT_EQ(got.scale.delay, expected.scale.delay);
    EXPECT_EQ(got.scale.pace, expected.scale.pace);
    EXPECT_EQ(got.scale.continuous, expected.scale.continuous);
    EXPECT_EQ(got.scale.line, expected.scale.line);
    EXPECT_EQ(got.scale.mismatch, expected.scale.mismatch);
    EXPECT_EQ(got.scale.linkPath, expected.scale.linkPath);
    EXPECT_EQ(got.scale.request, expected.scale.request);
    EXPECT_EQ(got.scale.customFrame, expected.scale.customFrame);
    EXPECT_EQ(got.count, expected.count);
    EXPECT_EQ(got.help, expected.help);
    EXPECT_EQ(got.version, expected.version);
}

INSTANTIATE_TEST_SUITE_P(
    Table, AcceptedOptions,
    ::testing::Values(
        AcceptedCase{"None", {}, CommandLine{}},
        AcceptedCase{"FormatWithEquals", {"--format=status"}, with([](auto& c) {
                         c.scale.format = Format::Status;
                     })},
        AcceptedCase{
            "ShortFormat", {"-f", "line"}, with([](auto& c) { c.scale.format = Format::Line; })},
        AcceptedCase{
            "NegativeWeight", {"--weight", "-2"}, with([](auto& c) { c.scale.weightKg = -2; })},
        AcceptedCase{
            "ShortWeightJoined", {"-w+0.5"}, with([](auto& c) { c.scale.weightKg = 0.5; })},
        AcceptedCase{
            "State", {"--state", "motion"}, with([](auto& c) { c.scale.state = State::Motion; })},
        AcceptedCase{"NoDelay", {"--delay", "0"}, with([](auto& c) {
                         c.scale.delay = std::chrono::milliseconds(0);
                     })},
        AcceptedCase{"LongestDelay", {"-d", "60000"}, with([](auto& c) {
                         c.scale.delay = std::chrono::milliseconds(60000);
                     })},
        AcceptedCase{"NoPace", {"--no-pace"}, with([](auto& c) { c.scale.pace = false; })},
        AcceptedCase{"Line", {"--line", "300,e,7,2"}, with([](auto& c) {
                         c.scale.line = LineSettings{300, 'e', 7, 2};
                     })},
        AcceptedCase{"OneAndAHalfStopBits", {"-l", "1200,n,5,1.5"}, with([](auto& c) {
                         c.scale.line = LineSettings{1200, 'n', 5, 1.5};
                     })},
        AcceptedCase{"SilentMismatch", {"--mismatch", "silent"}, with([](auto& c) {
                         c.scale.mismatch = Mismatch::Silent;
                     })},
        AcceptedCase{"WireMismatch", {"--mismatch=silent", "--mismatch=wire"}, CommandLine{}},
        AcceptedCase{"Link", {"--link", "/tmp/scale"}, with([](auto& c) {
                         c.scale.linkPath = "/tmp/scale";
                     })},
        AcceptedCase{"Count", {"-n", "3"}, with([](auto& c) { c.count = 3; })},
        AcceptedCase{
            "LastValueWins", {"-w", "1", "-w", "2"}, with([](auto& c) { c.scale.weightKg = 2; })},
        AcceptedCase{"NewFamily", {"-f", "tru-test"}, with([](auto& c) {
                         c.scale.format = Format::TruTest;
                     })},
        AcceptedCase{
            "Request", {"--request", "{RW}"}, with([](auto& c) { c.scale.request = "{RW}"; })},
        AcceptedCase{"RequestEmptyForAContinuousScale",
                     {"--request=", "--continuous", "50"},
                     with([](auto& c) {
                         c.scale.request.clear();
                         c.scale.continuous = std::chrono::milliseconds(50);
                     })},
        AcceptedCase{"Frame", {"--frame", "<STX>12,5<3C><CR>"}, with([](auto& c) {
                         c.scale.customFrame =
                             "\x02"
                             "12,5<\r";
                     })},
        AcceptedCase{"Help", {"--help"}, with([](auto& c) { c.help = true; })},
        AcceptedCase{"HelpWhateverFollows", {"-h", "--bogus", "extra"}, with([](auto& c) {
                         c.help = true;
                     })},
        AcceptedCase{"Version", {"--version"}, with([](auto& c) { c.version = true; })},
        AcceptedCase{"VersionWhateverFollows", {"--version", "--bogus"}, with([](auto& c) {
                         c.version = true;
                     })}),
    CaseName());

struct RefusedCase {
    const char* name;
    std::vector<std::string> arguments;
    std::string refusal;
    friend void PrintTo(const RefusedCase& c, std::ostream* os) { printArguments(c.arguments, os); }
};

class RefusedOptions : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedOptions, SayWhy) {
    const auto parsed = parseCommandLine(GetParam().arguments);
    ASSERT_FALSE(parsed.ok);
    EXPECT_EQ(parsed.refusal, GetParam().refusal);
}

INSTANTIATE_TEST_SUITE_P(
    Table, RefusedOptions,
    ::testing::Values(
        RefusedCase{
            "UnknownFormat",
            {"--format", "xml"},
            "unknown format \"xml\" (toledo-b, stx5, toledo-c, toledo-a, p03, st-gs, micheletti, "
            "status, line, ack, toledo-b-self, st-gs-19, st-gs-tr, toledo-eth, bcs21, lider, "
            "urano, urano-pop, urano-pop-bare, magna, digitron-ul, alfa, afts, muller, saturno, "
            "lucastec, precision, lenke, wt1000, wt27r, marel, capital, siciliano, "
            "siciliano-ip10, condec, el05, tru-test)"},
        RefusedCase{"RequestNotSpelled",
                    {"--request", "<WHAT>"},
                    "request \"<WHAT>\" does not spell bytes: <WHAT> names no byte"},
        RefusedCase{"RequestEmptyButAsked",
                    {"--request", ""},
                    "--request '' answers nothing: it needs --continuous"},
        RefusedCase{"FrameUnclosed",
                    {"--frame", "<STX12"},
                    "frame \"<STX12\" does not spell bytes: a '<' opens no name (write '<' "
                    "itself as <3C>)"},
        RefusedCase{
            "FrameEmpty", {"--frame="}, "--frame needs bytes to send (--state silent sends none)"},
        RefusedCase{
            "WeightNotANumber", {"--weight", "abc"}, "weight \"abc\" is not a number of kilograms"},
        RefusedCase{
            "WeightWithDecimalComma", {"-w", "1,5"}, "weight \"1,5\" is not a number of kilograms"},
        RefusedCase{"WeightInfinite", {"-w", "inf"}, "weight \"inf\" is not a number of kilograms"},
        RefusedCase{"UnknownState",
                    {"--state", "asleep"},
                    "unknown state \"asleep\" (stable, motion, negative, overload, silent)"},
        RefusedCase{"NegativeDelay",
                    {"--delay", "-1"},
                    "delay \"-1\" is not a whole number of ms up to 60000"},
        RefusedCase{"DelayTooLong",
                    {"-d", "60001"},
                    "delay \"60001\" is not a whole number of ms up to 60000"},
        RefusedCase{
            "UnknownParity", {"--line", "2400,x,8,1"}, "parity \"x\" is not one of n, e, o, m, s"},
        RefusedCase{"LineWithoutStopBits",
                    {"--line", "2400,n,8"},
                    "line settings \"2400,n,8\" need four fields: baud,parity,data,stop"},
        RefusedCase{"ZeroCount", {"--count", "0"}, "count \"0\" is not a positive whole number"},
        RefusedCase{"CountNotANumber", {"-n", "x"}, "count \"x\" is not a positive whole number"},
        RefusedCase{"EmptyLink", {"--link="}, "--link needs a path"},
        RefusedCase{"UnknownLongOption", {"--speed", "2"}, "unknown option --speed"},
        RefusedCase{"UnknownLongOptionWithValue", {"--speed=2"}, "unknown option --speed"},
        RefusedCase{"UnknownShortOption", {"-x"}, "unknown option -x"},
        RefusedCase{"UnknownShortOptionInAGroup", {"-qw", "1"}, "unknown option -q"},
        RefusedCase{"LongOptionWithoutValue", {"--weight"}, "option --weight needs a value"},
        RefusedCase{"ShortOptionWithoutValue", {"-w"}, "option -w needs a value"},
        RefusedCase{"ValueForAnOptionWithout", {"--no-pace=1"}, "option --no-pace takes no value"},
        RefusedCase{"Argument", {"extra"}, "unexpected argument \"extra\""},
        RefusedCase{"ArgumentAfterOptions",
                    {"--format", "stx5", "extra"},
                    "unexpected argument \"extra\""}),
    CaseName());

// getopt_long keeps its place between calls: a second parse must not start where the first
// stopped.
TEST(ParseCommandLine, ParsesAlikeEachTime) {
    for (int round = 0; round < 2; ++round) {
        const auto parsed = parseCommandLine({"--weight", "2.5", "--no-pace"});
        ASSERT_TRUE(parsed.ok) << parsed.refusal;
        EXPECT_DOUBLE_EQ(parsed.commandLine.scale.weightKg, 2.5);
        EXPECT_FALSE(parsed.commandLine.scale.pace);
    }
}

TEST(HelpText, ShowsEveryFormat) {
    const std::string names = formatList() + ", ";
    for (std::size_t start = 0, comma; (comma = names.find(", ", start)) != std::string::npos;
         start = comma + 2) {
        const auto name = names.substr(start, comma - start);
        EXPECT_NE(helpText().find(" " + name + " "), std::string_view::npos) << name;
    }
}

}  // namespace
}  // namespace vardelmo::vscale

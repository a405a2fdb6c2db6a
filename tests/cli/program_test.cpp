// The program as a script or a technician over SSH runs it: the built binary, no display, its
// standard streams and exit status. What each command line asks for is command_line_test.cpp's.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <iterator>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/version.h"
#include "tests/cli/command_line_cases.h"
#include "tests/cli/command_line_numbers.h"
#include "tests/cli/command_line_requests.h"
#include "tests/cli/headless_program.h"
#include "tests/support/case_name.h"
#include "tests/support/child_process.h"
#include "tests/support/escaped.h"
#include "tests/support/patience.h"
#include "virtual_scale/virtual_scale.h"

namespace vardelmo::cli {
namespace {

using namespace std::chrono_literals;
using testing::Eq;
using testing::HasSubstr;
using testing::IsEmpty;
using testing::Matcher;

constexpr char kScale[] = "@scale";  // stands for the virtual scale's path in a case

struct Case {
    const char* name;
    std::vector<std::string> arguments;
    int status;
    Matcher<std::string> out;
    Matcher<std::string> err;
    std::size_t enquiries = 0;  // that reached the scale
    // What reached the scale when it is not `enquiries` ENQs (the scale answers only ENQ).
    std::optional<std::string> received = std::nullopt;
    friend void PrintTo(const Case& c, std::ostream* os) {
        for (const auto& argument : c.arguments) {
            *os << ' ' << test_support::escaped(argument);
        }
    }
};

class Program : public testing::TestWithParam<Case> {
protected:
    void SetUp() override {
        ASSERT_TRUE(home_.made());
        std::string error;
        scale_ = openPromptScale(error);
        ASSERT_TRUE(scale_) << error;
    }

    TemporaryHome home_;
    std::unique_ptr<vscale::VirtualScale> scale_;
};

TEST_P(Program, WritesAndExitsAsDocumented) {
    const Case& c = GetParam();
    std::vector<std::string> arguments = c.arguments;
    for (auto& argument : arguments) {
        if (const auto at = argument.find(kScale); at != std::string::npos) {
            argument.replace(at, std::string_view(kScale).size(), scale_->path());
        }
        argument = replacedAll(argument, kMissingDevice, ownMissingDevice());
    }
    const auto program = startProgram(arguments, home_.path());
    ASSERT_TRUE(program->started());
    const std::string out = replacedAll(program->allOutput(), ownMissingDevice(), kMissingDevice);
    const std::string err = replacedAll(program->allErrors(), ownMissingDevice(), kMissingDevice);
    EXPECT_EQ(program->exitStatus(), c.status) << "still running, or ended by a signal";
    EXPECT_THAT(out, c.out) << test_support::escaped(out);
    EXPECT_THAT(err, c.err);
    if (c.enquiries > 0) {
        EXPECT_TRUE(scale_->waitForExchanges(c.enquiries, test_support::kPatience));
    }
    EXPECT_EQ(scale_->received(), c.received.value_or(std::string(c.enquiries, '\x05')));
}

const Matcher<std::string> kNothing = IsEmpty();

std::string refused(const std::string& reason) {
    return "vardelmo: " + reason + "\nTry 'vardelmo --help'.\n";
}

// The scale answers at once; a second's wait finds its reply however loaded the machine.
INSTANTIATE_TEST_SUITE_P(
    Modes, Program,
    testing::Values(
        Case{"SpelledReply",
             {"-q", "--port", kScale, "--wait", "1000"},
             0,
             Eq("<STX>01234<ETX>\n"),
             kNothing,
             1},
        Case{"HexReply",
             {"--query", "--port", kScale, "--wait", "1000", "--hex"},
             0,
             Eq("02 30 31 32 33 34 03\n"),
             kNothing,
             1},
        Case{"RawReply",
             {"-q", "--raw", "--port=" + std::string(kScale), "--wait=1000"},
             0,
             Eq("\x02"
                "01234\x03"),
             kNothing,
             1},
        Case{"MissingDevice",
             {"-q", "--port", "/dev/vardelmo-none"},
             1,
             kNothing,
             Eq("vardelmo: Não foi possível abrir a porta /dev/vardelmo-none: dispositivo não "
                "encontrado.\n")},
        // Checked before anything is sent: the scale hears nothing.
        Case{"NegativeWaitIsRefusedBeforeTheEnquiry",
             {"-q", "--port", kScale, "--wait", "-5"},
             2,
             kNothing,
             Eq(refused("--wait takes plain digits 0-9, from 0 to 2147483647 ms, not '-5'."))},
        Case{"ReadingReply",
             {"-q", "--port", kScale, "--wait", "1000", "--reading"},
             0,
             Eq("1,234 kg estável\n"),
             kNothing,
             1},
        Case{"JsonReply",
             {"-q", "--port", kScale, "--wait", "1000", "--json"},
             0,
             HasSubstr(R"("reading":{"protocol":"toledo-b","state":"stable","unit":"kg",)"
                       R"("weight":"1.234"},"reply":"02 30 31 32 33 34 03","request":"<ENQ>",)"
                       R"("wait":"1000","wait_ms":1000})"),
             kNothing,
             1},
        Case{"JsonFailure",
             {"-q", "--port", "/dev/vardelmo-none", "--json"},
             1,
             Eq(R"({"config":"2400,n,8,1","error":"Não foi possível abrir a porta )"
                R"(/dev/vardelmo-none: dispositivo não encontrado.","hint":null,)"
                R"("port":"/dev/vardelmo-none","reading":null,"reply":null,"request":"<ENQ>",)"
                R"("wait":"0","wait_ms":0})"
                "\n"),
             Eq("vardelmo: Não foi possível abrir a porta /dev/vardelmo-none: dispositivo não "
                "encontrado.\n")},
        Case{"FindOnTheFirstSettings",
             {"--find", "--port", kScale},
             0,
             Eq("2400,n,8,1\n"),
             Eq("2400,n,8,1: 1,234 kg estável (Toledo B)\n"),
             1},
        Case{"FindOnAMissingDeviceTriesOnce",
             {"--find", "--port", "/dev/vardelmo-none"},
             1,
             kNothing,
             Eq("vardelmo: Não foi possível abrir a porta /dev/vardelmo-none: dispositivo não "
                "encontrado.\n")},
        Case{
            "WatchTwice",
            {"--watch", "--count", "2", "--every", "0", "--port", kScale, "--wait", "1000",
             "--reading"},
            0,
            testing::MatchesRegex("([0-9]{2}:[0-9]{2}:[0-9]{2}\\.[0-9]{3}  1,234 kg estável\n){2}"),
            Eq("2 requests, 2 readings, 0 without reply, 0 failures; weight from 1,234 to 1,234 "
               "kg.\n"),
            2},
        Case{"WatchOnAMissingDeviceGoesOn",
             {"--watch", "--count", "2", "--every", "0", "--port", "/dev/vardelmo-none"},
             1,
             testing::MatchesRegex("([0-9:.]{12}  Deu Pau!: Não foi possível abrir a porta "
                                   "/dev/vardelmo-none: dispositivo não encontrado.\n){2}"),
             Eq("2 requests, 0 readings, 0 without reply, 2 failures.\n")},
        Case{"WatchOnceCountsInTheSingular",
             {"--watch", "--count", "1", "--port", "/dev/vardelmo-none"},
             1,
             testing::MatchesRegex("[0-9:.]{12}  Deu Pau!: .*\n"),
             Eq("1 request, 0 readings, 0 without reply, 1 failure.\n")},
        Case{"WatchSendsTheRequestGiven",
             {"--watch", "--count", "2", "--every", "0", "--port", kScale, "--wait", "100",
              "--request", "P"},
             4,
             testing::MatchesRegex("([0-9:.]{12}  \\(sem resposta\\)\n){2}"),
             Eq("2 requests, 0 readings, 2 without reply, 0 failures.\n"),
             0,
             "PP"},
        Case{"AnEmptyRequestOnlyListens",
             {"-q", "--port", kScale, "--wait", "100", "--request", ""},
             4,
             kNothing,
             HasSubstr("no reply within 100 ms"),
             0,
             ""},
        Case{"Help", {"--help"}, 0, HasSubstr("--query"), kNothing},
        Case{"Version", {"-v"}, 0, Eq(std::string("vardelmo ") + kVersion + "\n"), kNothing},
        Case{"UnknownOptionWithoutQuery",
             {"--bogus"},
             2,
             kNothing,
             Eq(refused("Unknown option 'bogus'."))},
        Case{"UnknownOptionLeftToQt",
             {"-platform", "offscreen", "-bogus"},
             2,
             kNothing,
             Eq(refused("Unknown option 'bogus'."))}),
    [](const testing::TestParamInfo<Case>& test) { return std::string(test.param.name); });

// Every refusal of the command line table, through the built program with no display at all:
// the refusal's reason and exit 2, never Qt's abort, nothing sent.
class Refusal : public testing::TestWithParam<cases::Case> {};

TEST_P(Refusal, IsRefusedWithoutADisplay) {
    TemporaryHome home;
    ASSERT_TRUE(home.made());
    std::vector<std::string> arguments(GetParam().arguments.begin(), GetParam().arguments.end());
    const auto program = startProgram(arguments, home.path());
    ASSERT_TRUE(program->started());
    EXPECT_EQ(program->allOutput(), "");
    EXPECT_EQ(program->allErrors(), refused(GetParam().usageError));
    EXPECT_EQ(program->exitStatus(), 2);
}

std::vector<cases::Case> everyRefusal() {
    std::vector<cases::Case> refusals;
    for (const auto& table :
         {cases::modeCases(), cases::fieldCases(), cases::outputCases(), cases::refusalCases(),
          cases::numberCases(), cases::requestCases(), cases::qtWordCases()}) {
        // Qt's -platform opens a window with no display: that line is Qt's to refuse or not.
        std::copy_if(
            table.begin(), table.end(), std::back_inserter(refusals), [](const cases::Case& c) {
                const bool qtPlatform =
                    c.mode == cases::Mode::Window &&
                    std::find_if(c.arguments.begin(), c.arguments.end(), [](const char* a) {
                        return std::string_view(a) == "-platform";
                    }) != c.arguments.end();
                return !c.usageError.empty() && !qtPlatform;
            });
    }
    // And the window itself, which needs a display that is not there.
    refusals.push_back({.name = "Window", .usageError = "no display (DISPLAY): use --query"});
    refusals.push_back({.name = "WindowWithFields",
                        .arguments = {"--port", "/dev/ttyUSB0", "--wait", "300"},
                        .usageError = "no display (DISPLAY): use --query"});
    return refusals;
}

INSTANTIATE_TEST_SUITE_P(EveryRefusal, Refusal, testing::ValuesIn(everyRefusal()),
                         test_support::CaseName{});

// Ctrl-C in the middle of a long wait: the request is cut short at once, the port is free for
// the next program, the summary is written, and the status says no request failed.
TEST_F(Program, AStopEndsAWatchDuringItsWaitAndFreesThePort) {
    test_support::ChildProcess watch(
        {VARDELMO_PROGRAM, "--watch", "--port", scale_->path(), "--wait", "30000"},
        {"DISPLAY=", "HOME=" + home_.path()});
    ASSERT_TRUE(watch.started());
    ASSERT_TRUE(scale_->waitForExchanges(1, test_support::kPatience));
    watch.signal(SIGINT);
    EXPECT_TRUE(watch.errorLineWith("0 requests, 0 readings, 0 without reply, 0 failures."));
    EXPECT_EQ(watch.finish(), 0);

    test_support::ChildProcess query(
        {VARDELMO_PROGRAM, "-q", "--port", scale_->path(), "--wait", "1000"}, {"DISPLAY="});
    EXPECT_EQ(query.allOutput(), "<STX>01234<ETX>\n");
    EXPECT_EQ(query.exitStatus(), 0);
}

// A search stopped by the system ends with the shell's status for it.
TEST_F(Program, AStopEndsASearchWithTheShellsStatus) {
    scale_->setState(vscale::State::Silent);
    test_support::ChildProcess find({VARDELMO_PROGRAM, "--find", "--port", scale_->path()},
                                    {"DISPLAY=", "HOME=" + home_.path()});
    ASSERT_TRUE(find.started());
    ASSERT_TRUE(scale_->waitForExchanges(1, test_support::kPatience));
    find.signal(SIGTERM);
    EXPECT_EQ(find.finish(), 143);
}

}  // namespace
}  // namespace vardelmo::cli

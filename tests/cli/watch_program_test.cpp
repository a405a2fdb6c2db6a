// The built program watching the virtual scale (--watch): one request a line, each line read
// as it comes, while the test changes the scale or pulls its cable between two requests.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "tests/cli/headless_program.h"
#include "tests/support/case_name.h"
#include "tests/support/child_process.h"
#include "tests/support/patience.h"
#include "virtual_scale/virtual_scale.h"

namespace vardelmo::cli {
namespace {

using namespace std::chrono_literals;

constexpr char kBefore[] = "1,234 kg estável";
constexpr char kAfter[] = "2,500 kg estável";

class WatchThroughTheProgram : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(home_.made());
        std::string error;
        scale_ = openPromptScale(error);
        ASSERT_TRUE(scale_) << error;
    }

    // The next line's text after its time, "HH:MM:SS.mmm  "; nothing when no such line comes.
    static std::optional<std::string> nextLine(test_support::ChildProcess& watch) {
        const auto line = watch.outputLine();
        static const std::regex timed("[0-2][0-9]:[0-5][0-9]:[0-5][0-9]\\.[0-9]{3}  (.*)");
        std::smatch match;
        if (!line || !std::regex_match(*line, match, timed)) {
            ADD_FAILURE() << "not a watch's line: " << line.value_or("(none)");
            return std::nullopt;
        }
        return match[1].str();
    }

    TemporaryHome home_;
    std::unique_ptr<vscale::VirtualScale> scale_;
};

// Each line is a request of its own: the weight changed after the second line shows from the
// first request the scale answers after the change, at the latest in the last line.
TEST_F(WatchThroughTheProgram, RequestsOnceALineAndFollowsTheWeight) {
    const auto watch = startProgram({"--watch", "--every", "200", "--count", "5", "--wait", "50",
                                     "--reading", "--port", scale_->path()},
                                    home_.path());
    ASSERT_TRUE(watch->started());
    std::vector<std::string> lines;
    for (int i = 0; i < 5; ++i) {
        const auto text = nextLine(*watch);
        ASSERT_TRUE(text) << "line " << i + 1;
        lines.push_back(*text);
        if (i == 1) {
            scale_->setWeight(2.5);
        }
    }
    EXPECT_EQ(watch->outputLine(), std::nullopt) << "a sixth line";
    EXPECT_EQ(
        watch->allErrors(),
        "5 requests, 5 readings, 0 without reply, 0 failures; weight from 1,234 to 2,500 kg.\n");
    EXPECT_EQ(watch->exitStatus(), 0);
    EXPECT_EQ(scale_->received(), std::string(5, '\x05'));

    const auto exchanges = scale_->exchanges();
    ASSERT_EQ(exchanges.size(), 5u);
    const std::string changed = vscale::frame(vscale::Format::ToledoB, 2.5, vscale::State::Stable);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i], exchanges[i].frame == changed ? kAfter : kBefore) << "line " << i + 1;
    }
    EXPECT_EQ(lines[0], kBefore);
    EXPECT_EQ(lines[1], kBefore);
    EXPECT_EQ(lines[4], kAfter);
}

// The port is a link of the test's own to the scale, taken away after the second line and put
// back after the third, as a cable pulled and plugged in again. The link changes between two
// requests, in the period less the wait: a long period leaves the test time for it.
TEST_F(WatchThroughTheProgram, ShowsACableThatComesAndGoes) {
    const std::string link = home_.path() + "/scale";
    ASSERT_EQ(::symlink(scale_->path().c_str(), link.c_str()), 0);
    const auto watch = startProgram(
        {"--watch", "--every", "1000", "--count", "4", "--wait", "50", "--reading", "--port", link},
        home_.path());
    ASSERT_TRUE(watch->started());

    EXPECT_EQ(nextLine(*watch), kBefore);
    EXPECT_EQ(nextLine(*watch), kBefore);
    ASSERT_TRUE(std::filesystem::remove(link));
    EXPECT_EQ(nextLine(*watch),
              "Deu Pau!: Não foi possível abrir a porta " + link + ": dispositivo não encontrado.");
    ASSERT_EQ(::symlink(scale_->path().c_str(), link.c_str()), 0);
    EXPECT_EQ(nextLine(*watch), kBefore);
    EXPECT_EQ(watch->outputLine(), std::nullopt) << "a fifth line";

    EXPECT_EQ(
        watch->allErrors(),
        "4 requests, 3 readings, 0 without reply, 1 failure; weight from 1,234 to 1,234 kg.\n");
    EXPECT_EQ(watch->exitStatus(), 1);
    EXPECT_EQ(scale_->received(), std::string(3, '\x05'));
}

// An output that takes no more ends the watch at once, named, with exit 1: nothing is lost
// silently, neither to a full disk nor to a reader gone (then no signal kills it unheard).
struct UnwritableCase {
    const char* name;
    const char* shell;  // how the watch's standard output goes; $0 is the program
};

class UnwritableOutput : public testing::TestWithParam<UnwritableCase> {};

TEST_P(UnwritableOutput, StopsTheWatchWithAMessage) {
    TemporaryHome home;
    ASSERT_TRUE(home.made());
    std::string error;
    const auto scale = openPromptScale(error);
    ASSERT_TRUE(scale) << error;
    const std::string watch = std::string("\"$0\" --watch --every 0 --wait 50 --port ") +
                              scale->path() + ' ' + GetParam().shell;
    test_support::ChildProcess shell({"bash", "-c", watch, VARDELMO_PROGRAM},
                                     {"DISPLAY", "LC_ALL", "LANG=C.UTF-8", "HOME=" + home.path()});
    ASSERT_TRUE(shell.started());
    const std::string err = shell.allErrors();
    EXPECT_TRUE(err.starts_with("vardelmo: could not write to standard output\n")) << err;
    EXPECT_EQ(shell.exitStatus(), 1) << "the watch's own status, not a signal's";
}

INSTANTIATE_TEST_SUITE_P(
    Table, UnwritableOutput,
    testing::Values(UnwritableCase{"FullDisk", ">/dev/full"},
                    UnwritableCase{"ReaderGone", "| head -c 1 >/dev/null; exit ${PIPESTATUS[0]}"}),
    test_support::CaseName{});

}  // namespace
}  // namespace vardelmo::cli

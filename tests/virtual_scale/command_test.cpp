// The command as a separate process, driven through its streams and its terminal.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <csignal>
#include <ostream>
#include <string>
#include <vector>

#include "tests/support/case_name.h"
#include "tests/support/child_process.h"
#include "tests/virtual_scale/pty_client.h"

namespace vardelmo::vscale {
namespace {

using pty_client::anythingWaiting;
using pty_client::openClient;
using pty_client::readBytes;
using pty_client::writeAll;

using test_support::CaseName;
using test_support::ChildProcess;

const std::string kEnq = "\x05";

// The command run as its users run it.
std::vector<std::string> scaleCommand(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), VARDELMO_VIRTUAL_SCALE);
    return arguments;
}

// A process that has printed its terminal, and a client on it.
struct Running {
    explicit Running(const std::vector<std::string>& arguments, speed_t speed = B2400)
        : process(scaleCommand(arguments)) {
        if (process.started()) {
            path = process.outputLine().value_or("");
        }
        if (!path.empty()) {
            client = openClient(path, speed);
        }
    }
    ~Running() {
        if (client >= 0) {
            ::close(client);
        }
    }
    std::string ask(std::size_t replySize) const {
        writeAll(client, kEnq);
        return readBytes(client, replySize);
    }

    ChildProcess process;
    std::string path;
    int client = -1;
};

TEST(ScaleCommandTest, PrintsItsTerminalAndAnswersThroughIt) {
    Running scale({"--format", "stx5", "--weight", "1.234"});
    ASSERT_EQ(scale.path.rfind("/dev/pts/", 0), 0u) << scale.path;
    ASSERT_GE(scale.client, 0);
    EXPECT_EQ(scale.ask(7),
              "\x02"
              "01234\x03");
    EXPECT_TRUE(scale.process.errorLineWith(
        "received 05, sent 02 30 31 32 33 34 03 (toledo-b, stable 1.234 kg)"));
    scale.process.signal(SIGTERM);
    EXPECT_EQ(scale.process.exitStatus(), 0);
}

// A 7E1 scale: a client at 2400 is not heard; at 9600 it is, but the terminal shows it as
// 8N1, so each byte whose 7 bits hold an odd number of ones comes with bit 7 set (the parity
// bit): 02 "-  2.000U" 03 arrives as 82 2d a0 a0 b2 2e 30 30 30 55 03.
TEST(ScaleCommandTest, FormatStateAndLineOptionsShapeTheAnswer) {
    Running scale({"--format=status", "--state", "motion", "--weight", "-2", "--line", "9600,e,7,1",
                   "--delay", "0", "--no-pace"});
    ASSERT_GE(scale.client, 0);
    writeAll(scale.client, kEnq);  // the client is still at 2400 baud
    ASSERT_TRUE(
        scale.process.errorLineWith("enquiry from 2400,n,8,1: received 05, sent - (heard "
                                    "00 00 at the scale's 9600,e,7,1: no enquiry)"));
    EXPECT_FALSE(anythingWaiting(scale.client));
    ::close(scale.client);
    scale.client = openClient(scale.path, B9600);
    EXPECT_EQ(scale.ask(11), "\x82\x2d\xa0\xa0\xb2\x2e\x30\x30\x30\x55\x03");
    EXPECT_TRUE(scale.process.errorLineWith(
        "sent 82 2d a0 a0 b2 2e 30 30 30 55 03 (status, motion -2 kg: 02 2d 20 20 32 2e 30 30 30 "
        "55 03 at 9600,e,7,1, as a UART at 9600,n,8,1 reads it)"));
}

// The older plain silence: only the baud counts, and the bytes pass unchanged.
TEST(ScaleCommandTest, SilentMismatchComparesTheBaudOnly) {
    Running scale({"--mismatch", "silent", "--format=status", "--line", "9600,e,7,1", "--delay",
                   "0", "--no-pace"});
    ASSERT_GE(scale.client, 0);
    writeAll(scale.client, kEnq);
    ASSERT_TRUE(scale.process.errorLineWith(
        "enquiry from 2400,n,8,1: received 05, sent - (the scale listens at 9600 baud)"));
    ::close(scale.client);
    scale.client = openClient(scale.path, B9600);
    EXPECT_EQ(scale.ask(11), "\x02+  1.234G\x03");
}

TEST(ScaleCommandTest, StdinCommandsChangeTheNextAnswer) {
    Running scale({"--no-pace"});
    ASSERT_GE(scale.client, 0);
    EXPECT_EQ(scale.ask(7),
              "\x02"
              "01234\x03");
    scale.process.say("weight 2.5\n");
    ASSERT_TRUE(scale.process.errorLineWith("now weight 2.5 kg"));
    EXPECT_EQ(scale.ask(7),
              "\x02"
              "02500\x03");
    scale.process.say("state loose\nformat line\n");
    ASSERT_TRUE(scale.process.errorLineWith("refused \"state loose\""));
    ASSERT_TRUE(scale.process.errorLineWith("now format line"));
    EXPECT_EQ(scale.ask(15), "+  2.500 kg G\r\n");
    scale.process.say("format p03\n");
    ASSERT_TRUE(scale.process.errorLineWith("now format p03"));
    EXPECT_EQ(scale.ask(17),
              "\x02\x2d\x30\x20"
              "002500000000\r");
    ASSERT_TRUE(scale.process.errorLineWith("(p03, stable 2.5 kg)"));
}

TEST(ScaleCommandTest, ContinuousScaleSendsUnaskedAndLogsWhatWhenItChanges) {
    Running scale({"--continuous", "5", "--format", "toledo-c", "--no-pace"});
    ASSERT_GE(scale.client, 0);
    EXPECT_EQ(readBytes(scale.client, 14),
              "\x02"
              "01234\r\x02"
              "01234\r");
    EXPECT_TRUE(
        scale.process.errorLineWith("unasked to 2400,n,8,1: sent 02 30 31 32 33 34 0d (toledo-c, "
                                    "stable 1.234 kg), every 5 ms"));
    scale.process.say("state motion\n");
    EXPECT_TRUE(scale.process.errorLineWith(
        "unasked to 2400,n,8,1: sent 02 49 49 49 49 49 0d (toledo-c, motion 1.234 kg)"));
}

// As the tool does, the client reads once what has come by then, and never again; the frames
// a continuous scale sends after the reply must not keep it from ending.
TEST(ScaleCommandTest, CountEndsAContinuousScaleOnceTheReplyIsRead) {
    Running scale({"--count", "1", "--continuous", "5", "--no-pace"});
    ASSERT_GE(scale.client, 0);
    writeAll(scale.client, kEnq);
    ASSERT_TRUE(scale.process.errorLineWith("ending once the last reply is read"));
    for (char buffer[256]; anythingWaiting(scale.client);) {
        ASSERT_GT(::read(scale.client, buffer, sizeof buffer), 0);
    }
    EXPECT_EQ(scale.process.exitStatus(), 0);
}

TEST(ScaleCommandTest, EndOfStdinDoesNotStopTheScale) {
    Running scale({"--no-pace"});
    ASSERT_GE(scale.client, 0);
    scale.process.say("state motion");  // no newline: applied at the end of input
    scale.process.closeStdin();
    ASSERT_TRUE(scale.process.errorLineWith("now state motion"));
    EXPECT_EQ(scale.ask(7), "\x02IIIII\x03");
    scale.process.signal(SIGINT);
    EXPECT_EQ(scale.process.exitStatus(), 0);
}

TEST(ScaleCommandTest, CountEndsTheRunAfterThatManyEnquiries) {
    Running scale({"--count", "2"});
    ASSERT_GE(scale.client, 0);
    EXPECT_EQ(scale.ask(7),
              "\x02"
              "01234\x03");
    EXPECT_EQ(scale.ask(7),
              "\x02"
              "01234\x03");
    EXPECT_EQ(scale.process.exitStatus(), 0);
}

TEST(ScaleCommandTest, CountWaitsForTheLastReplyToBeReadBeforeEnding) {
    Running scale({"--count", "1", "--no-pace"});
    ASSERT_GE(scale.client, 0);
    writeAll(scale.client, kEnq);
    // The scale is ending; the client reads only now, as a tool does after its wait.
    ASSERT_TRUE(scale.process.errorLineWith("ending once the last reply is read"));
    EXPECT_EQ(readBytes(scale.client, 7),
              "\x02"
              "01234\x03");
    EXPECT_EQ(scale.process.exitStatus(), 0);
}

TEST(ScaleCommandTest, LinkExistsWhileRunningAndGoesAfter) {
    const std::string link = ::testing::TempDir() + "vardelmo-command-link";
    Running scale({"--link", link, "--no-pace"});
    ASSERT_FALSE(scale.path.empty());
    char target[256] = {};
    ASSERT_GT(::readlink(link.c_str(), target, sizeof target - 1), 0);
    EXPECT_EQ(scale.path, target);
    const int viaLink = openClient(link);
    ASSERT_GE(viaLink, 0);
    writeAll(viaLink, kEnq);
    EXPECT_EQ(readBytes(viaLink, 7),
              "\x02"
              "01234\x03");
    ::close(viaLink);
    scale.process.signal(SIGTERM);
    EXPECT_EQ(scale.process.exitStatus(), 0);
    struct stat info {};
    EXPECT_NE(::lstat(link.c_str(), &info), 0);
}

// Lower bounds only, measured from before the enquiry leaves to after the last byte is read:
// a machine may be slow, but a scale that paces its bytes and keeps its delay is never faster.
struct PacingCase {
    const char* name;
    std::vector<std::string> arguments;
    speed_t clientSpeed;
    std::string reply;
    std::chrono::milliseconds atLeast;
    friend void PrintTo(const PacingCase& c, std::ostream* os) { *os << c.name; }
};

class ScalePacingTest : public ::testing::TestWithParam<PacingCase> {};

TEST_P(ScalePacingTest, LastByteComesNoSoonerThanTheDelayAndByteTimesAllow) {
    Running scale(GetParam().arguments, GetParam().clientSpeed);
    ASSERT_GE(scale.client, 0);
    const auto asked = std::chrono::steady_clock::now();
    EXPECT_EQ(scale.ask(GetParam().reply.size()), GetParam().reply);
    EXPECT_GE(std::chrono::steady_clock::now() - asked, GetParam().atLeast);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ScalePacingTest,
    ::testing::Values(
        // 1 start, 8 data, 1 parity and 2 stop bits: six byte times of 12 bits at 300 baud
        // after the delay, where 10-bit bytes would take 200 ms and a burst none. The client,
        // 8N1 to the scale, samples its stop bit on the parity bit: where that is 0 (even
        // ones: 30, 33, 03) it reads a framing error, 00.
        PacingCase{"TwelveBitBytesAt300BaudAfterTheDelay",
                   {"--line", "300,e,8,2", "--delay", "100"},
                   B300,
                   std::string("\x02\x00"
                               "12\x00"
                               "4\x00",
                               7),
                   std::chrono::milliseconds(100 + 240)},
        PacingCase{"UnpacedReplyStillAfterTheDelay",
                   {"--no-pace", "--delay", "200"},
                   B2400,
                   "\x02"
                   "01234\x03",
                   std::chrono::milliseconds(200)}),
    CaseName());

struct RefusedCase {
    const char* name;
    std::vector<std::string> arguments;
    friend void PrintTo(const RefusedCase& c, std::ostream* os) {
        for (const auto& argument : c.arguments) {
            *os << ' ' << argument;
        }
    }
};

class RefusedOptionTest : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedOptionTest, ExitsWithStatusTwoAndSaysWhy) {
    ChildProcess process(scaleCommand(GetParam().arguments));
    ASSERT_TRUE(process.started());
    EXPECT_EQ(process.outputLine(), std::nullopt);  // no terminal was opened
    EXPECT_EQ(process.exitStatus(), 2);
    const auto errors = process.allErrors();
    EXPECT_EQ(errors.rfind("vardelmo-virtual-scale: ", 0), 0u) << errors;
    EXPECT_NE(errors.find("\nTry --help.\n"), std::string::npos) << errors;
}

// Each refusal's text is checked in options_test.cpp; here, how the program ends on one.
INSTANTIATE_TEST_SUITE_P(All, RefusedOptionTest,
                         ::testing::Values(RefusedCase{"BadValue", {"--format", "xml"}},
                                           RefusedCase{"UnknownOption", {"--speed", "2"}},
                                           RefusedCase{"Argument", {"extra"}}),
                         CaseName());

}  // namespace
}  // namespace vardelmo::vscale

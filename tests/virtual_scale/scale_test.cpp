// The scale in-process, through a real pseudo-terminal, as a client on the line sees it.
#include <gtest/gtest.h>
#include <termios.h>

#include <memory>
#include <string>

#include "tests/support/escaped.h"
#include "tests/virtual_scale/pty_client.h"
#include "virtual_scale/virtual_scale.h"

namespace vardelmo::vscale {
namespace {

using pty_client::anythingWaiting;
using pty_client::kPatience;
using pty_client::openClient;
using pty_client::readBytes;
using pty_client::writeAll;

const std::string kEnq = "\x05";

class ScaleTest : public ::testing::Test {
protected:
    void start(Options options = {}) {
        options.pace = false;  // timing is the benchmark's business
        options.delay = std::chrono::milliseconds(0);
        std::string error;
        scale_ = VirtualScale::open(options, error);
        ASSERT_NE(scale_, nullptr) << error;
        client_ = openClient(scale_->path());
        ASSERT_GE(client_, 0);
    }

    void TearDown() override {
        if (client_ >= 0) {
            ::close(client_);
        }
    }

    // One press of the tool: ENQ out, the whole expected reply back.
    std::string ask(std::size_t replySize) {
        EXPECT_TRUE(writeAll(client_, kEnq));
        return readBytes(client_, replySize);
    }

    std::unique_ptr<VirtualScale> scale_;
    int client_ = -1;
};

TEST_F(ScaleTest, AnswersEachEnquiryWithOneFrame) {
    start();
    EXPECT_EQ(ask(7),
              "\x02"
              "01234\x03");
    EXPECT_EQ(ask(7),
              "\x02"
              "01234\x03");
    ASSERT_TRUE(scale_->waitForExchanges(2, kPatience));
    const auto exchanges = scale_->exchanges();
    EXPECT_EQ(exchanges[1].sent,
              "\x02"
              "01234\x03");
    EXPECT_EQ(exchanges[1].sentAt.size(), 7u);
    EXPECT_EQ(exchanges[1].clientBaud, 2400u);
    EXPECT_EQ(exchanges[1].clientLine, "2400,n,8,1");
    EXPECT_FALSE(anythingWaiting(client_));
}

TEST_F(ScaleTest, PacedReplyKeepsItsBytesAndOrder) {
    Options options;
    std::string error;
    options.format = Format::Line;
    options.line.baud = 115200;  // the pacing itself is measured by the benchmark
    auto scale = VirtualScale::open(options, error);
    ASSERT_NE(scale, nullptr) << error;
    const int client = openClient(scale->path(), B115200);
    ASSERT_TRUE(writeAll(client, kEnq));
    EXPECT_EQ(readBytes(client, 15), "+  1.234 kg G\r\n");
    ASSERT_TRUE(scale->waitForExchanges(1, kPatience));
    const auto sentAt = scale->exchanges()[0].sentAt;
    ASSERT_EQ(sentAt.size(), 15u);
    for (std::size_t i = 1; i < sentAt.size(); ++i) {
        EXPECT_LE(sentAt[i - 1], sentAt[i]);
    }
    ::close(client);
}

// An ENQ at 9600 reaches a 2400 scale as fe (see wire_test.cpp), or not at all when the
// mismatch is the plain silence; either way the scale does not answer.
TEST_F(ScaleTest, ClientAtAnotherBaudGetsSilence) {
    for (const auto& [mismatch, heard] : {std::pair{Mismatch::Wire, std::string("\xfe")},
                                          std::pair{Mismatch::Silent, std::string("\x05")}}) {
        Options options;
        options.mismatch = mismatch;
        start(options);
        ::close(client_);
        client_ = openClient(scale_->path(), B9600);
        ASSERT_TRUE(writeAll(client_, kEnq));
        ASSERT_TRUE(scale_->waitForExchanges(1, kPatience));
        const auto exchange = scale_->exchanges()[0];
        EXPECT_EQ(exchange.heard, heard);
        EXPECT_EQ(exchange.frame, "");
        EXPECT_EQ(exchange.sent, "");
        EXPECT_EQ(exchange.clientBaud, 9600u);
        EXPECT_EQ(exchange.clientLine, "9600,n,8,1");
        EXPECT_FALSE(anythingWaiting(client_));
        ::close(client_);
        client_ = -1;
    }
}

// Unasked frames reach a client at another baud garbled: toledo-b at 9600 reads as 00 d1 at
// 2400 (see wire_test.cpp). Frames the scale made while the terminal was still at its own 9600,
// and put on the line after the client set 2400 (once it threw stale input away), arrive
// garbled as well, however long they waited: even the first byte read.
TEST_F(ScaleTest, ContinuousFramesReachAClientAtAnotherBaudAsItsUartReadsThem) {
    Options options;
    options.line.baud = 9600;
    options.continuous = std::chrono::milliseconds(2);
    start(options);  // the client at 2400
    EXPECT_EQ(readBytes(client_, 6), std::string("\x00\xd1\x00\xd1\x00\xd1", 6));
}

// A client at the scale's 9600 that does not read fills its terminal, and the scale's next
// frame waits, made at 9600. The client then sets 2400 and throws stale input away, as the tool
// does on opening: the frame that waited goes on the wire now, so it too arrives garbled.
TEST_F(ScaleTest, AFrameThatWaitedForRoomArrivesAtTheSettingsOfItsSending) {
    Options options;
    options.line.baud = 9600;
    options.continuous = std::chrono::milliseconds(2);
    start(options);
    ::close(client_);
    client_ = openClient(scale_->path(), B9600);
    ASSERT_GE(client_, 0);
    EXPECT_FALSE(scale_->send(std::string(1 << 16, 'x'))) << "the terminal never filled";
    ASSERT_TRUE(scale_->waitForStalls(scale_->stalls() + 1, kPatience)) << "no frame waited";
    termios line{};
    ASSERT_EQ(::tcgetattr(client_, &line), 0);
    ::cfsetispeed(&line, B2400);
    ::cfsetospeed(&line, B2400);
    ASSERT_EQ(::tcsetattr(client_, TCSANOW, &line), 0);
    ASSERT_EQ(::tcflush(client_, TCIFLUSH), 0);
    // The frame that waited may have been cut where the terminal filled, and so be garbled
    // otherwise than whole ones (00 d1), but no two of its bytes arrive as sent.
    const std::string got = readBytes(client_, 12);
    ASSERT_EQ(got.size(), 12U);
    const std::string clean =
        "\x02"
        "01234\x03";
    for (std::size_t i = 0; i + 1 < clean.size(); ++i) {
        EXPECT_EQ(got.find(clean.substr(i, 2)), std::string::npos)
            << "clean bytes: " << test_support::escaped(got);
    }
}

TEST_F(ScaleTest, ContinuousScaleTalksUnaskedAndStillAnswers) {
    Options options;
    options.continuous = std::chrono::milliseconds(2);
    start(options);
    const std::string before =
        "\x02"
        "01234\x03";
    const std::string after =
        "\x02"
        "02500\x03";
    EXPECT_EQ(readBytes(client_, 21), before + before + before);
    EXPECT_EQ(scale_->exchanges().size(), 0u) << "nobody asked";

    ASSERT_TRUE(writeAll(client_, kEnq));
    ASSERT_TRUE(scale_->waitForExchanges(1, kPatience));
    EXPECT_EQ(scale_->exchanges()[0].sent, before);

    // Whole frames only, the reply among them, until the new weight shows.
    scale_->setWeight(2.5);
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    for (std::string got; (got = readBytes(client_, 7)) != after;) {
        ASSERT_EQ(got, before);
        ASSERT_LT(std::chrono::steady_clock::now(), deadline);
    }
}

// A scale about to end waits for its client to read the last reply, but not the frames a
// continuous scale sent after it: a client that reads once never reads those.
TEST_F(ScaleTest, DeliveredOnceTheReplyIsReadWhateverCameUnaskedAfterIt) {
    Options options;
    options.format = Format::Ack;
    options.continuous = std::chrono::milliseconds(1);
    start(options);
    scale_->send("R");  // a reply, told from the unasked ACKs around it
    for (std::string got; (got = readBytes(client_, 1)) != "R";) {
        ASSERT_EQ(got, "\x06");
    }
    pollfd more{client_, POLLIN, 0};
    ASSERT_EQ(::poll(&more, 1, static_cast<int>(kPatience.count())), 1);
    EXPECT_TRUE(scale_->waitUntilDelivered(kPatience));
    EXPECT_TRUE(anythingWaiting(client_)) << "the frames after the reply are still unread";
}

TEST_F(ScaleTest, SilentStateNeverAnswers) {
    Options options;
    options.state = State::Silent;
    start(options);
    ASSERT_TRUE(writeAll(client_, kEnq));
    ASSERT_TRUE(scale_->waitForExchanges(1, kPatience));
    EXPECT_EQ(scale_->exchanges()[0].sent, "");
    EXPECT_FALSE(anythingWaiting(client_));
}

TEST_F(ScaleTest, LiveChangesApplyFromTheNextEnquiry) {
    start();
    EXPECT_EQ(ask(7),
              "\x02"
              "01234\x03");
    scale_->setWeight(2.5);
    EXPECT_EQ(ask(7),
              "\x02"
              "02500\x03");
    scale_->setState(State::Motion);
    EXPECT_EQ(ask(7),
              "\x02"
              "IIIII\x03");
    scale_->setFormat(Format::Status);
    EXPECT_EQ(ask(11), "\x02+  2.500M\x03");
    scale_->setFormat(Format::Ack);
    EXPECT_EQ(ask(1), "\x06");
}

TEST_F(ScaleTest, OtherBytesAreKeptButNotAnswered) {
    start();
    ASSERT_TRUE(writeAll(client_, "AB\r"));
    EXPECT_EQ(ask(7),
              "\x02"
              "01234\x03");
    ASSERT_TRUE(scale_->waitForExchanges(1, kPatience));
    EXPECT_EQ(scale_->received(), "AB\r\x05");
    EXPECT_EQ(scale_->exchanges().size(), 1u);
    EXPECT_FALSE(anythingWaiting(client_));
}

TEST_F(ScaleTest, TwoEnquiriesInOneWriteGetTwoFrames) {
    start();
    ASSERT_TRUE(writeAll(client_, kEnq + kEnq));
    EXPECT_EQ(readBytes(client_, 14),
              "\x02"
              "01234\x03\x02"
              "01234\x03");
    EXPECT_TRUE(scale_->waitForExchanges(2, kPatience));
}

TEST_F(ScaleTest, SendDeliversUnaskedBytes) {
    start();
    scale_->send("hello\r\n");
    EXPECT_EQ(readBytes(client_, 7), "hello\r\n");
    EXPECT_EQ(scale_->exchanges().size(), 0u);
}

TEST_F(ScaleTest, ClientClosingDoesNotHurtTheScale) {
    start();
    ::close(client_);
    client_ = openClient(scale_->path());
    EXPECT_EQ(ask(7),
              "\x02"
              "01234\x03");
}

TEST_F(ScaleTest, VanishMakesTheClientFail) {
    start();
    scale_->vanish();
    char byte = 0;
    pollfd in{client_, POLLIN, 0};
    ASSERT_EQ(::poll(&in, 1, static_cast<int>(kPatience.count())), 1);
    EXPECT_NE(in.revents & (POLLHUP | POLLERR), 0);
    EXPECT_LE(::read(client_, &byte, 1), 0);
    scale_->vanish();  // a second time is harmless
    scale_->send("x");
}

TEST(ScaleOpenTest, LinkLivesAsLongAsTheScale) {
    const std::string link = ::testing::TempDir() + "vardelmo-scale-link";
    Options options;
    options.linkPath = link;
    std::string error;
    {
        auto scale = VirtualScale::open(options, error);
        ASSERT_NE(scale, nullptr) << error;
        char target[256] = {};
        ASSERT_GT(::readlink(link.c_str(), target, sizeof target - 1), 0);
        EXPECT_EQ(scale->path(), target);
    }
    EXPECT_NE(::access(link.c_str(), F_OK), 0);
}

}  // namespace
}  // namespace vardelmo::vscale

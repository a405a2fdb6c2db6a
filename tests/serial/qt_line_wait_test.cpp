// The Qt line's wait for input against the virtual scale: it ends at the first byte, or when
// its time is up on a scale that says nothing, and what it took is read next.
#include <gtest/gtest.h>

#include <chrono>
#include <ostream>
#include <string>

#include "tests/serial/qt_line_fixture.h"
#include "tests/support/case_name.h"
#include "tests/support/patience.h"

namespace vardelmo::serial {
namespace {

using namespace std::chrono_literals;
using test_support::kPatience;
using Clock = std::chrono::steady_clock;

enum class Before { Nothing, Enquiry, SilentEnquiry, UnaskedFrame };

struct WaitCase {
    const char* name;
    Before before;
    std::chrono::milliseconds timeout;
    bool held;
    friend void PrintTo(const WaitCase& c, std::ostream* os) {
        *os << "timeout " << c.timeout.count() << " ms";
    }
};

class WaitForInput : public QtSerialLineTest, public testing::WithParamInterface<WaitCase> {
protected:
    // What the line reads from now on, until the frame is whole or nothing more comes.
    std::string readUpToAFrame() {
        std::string got = input();
        while (got.size() < kFrame.size()) {
            const auto more = line.waitForInput(kPatience);
            if (!more || !more.value()) {
                break;
            }
            got += input();
        }
        return got;
    }
};

TEST_P(WaitForInput, EndsAtTheFirstByteOrWhenItsTimeIsUp) {
    const auto& c = GetParam();
    if (c.before == Before::SilentEnquiry) {
        scale->setState(vscale::State::Silent);
    }
    open();
    if (c.before == Before::UnaskedFrame) {
        scale->send(kFrame);
        ASSERT_TRUE(probe->waitForQueued(kFrame.size(), kPatience));
    }
    if (c.before == Before::Enquiry || c.before == Before::SilentEnquiry) {
        ASSERT_TRUE(line.setOutput(std::string_view("\x05", 1)));
    }
    if (c.before == Before::SilentEnquiry) {
        ASSERT_TRUE(scale->waitForExchanges(1, kPatience));
    }

    const auto start = Clock::now();
    const auto held = line.waitForInput(c.timeout);
    const auto took = Clock::now() - start;
    ASSERT_TRUE(held) << held.description();
    EXPECT_EQ(held.value(), c.held);
    if (c.held) {
        // The timeouts that expect input are long enough that only a fault runs them out.
        EXPECT_LT(took, kPatience) << "the wait did not end at the first byte";
        const auto againAt = Clock::now();
        const auto again = line.waitForInput(2 * kPatience);
        EXPECT_TRUE(again && again.value()) << "what the first wait took is still held";
        EXPECT_LT(Clock::now() - againAt, kPatience) << "held input did not end the wait";
        EXPECT_EQ(readUpToAFrame(), kFrame);
    } else {
        EXPECT_GE(took, c.timeout);
        EXPECT_EQ(input(), "");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, WaitForInput,
    testing::Values(WaitCase{"ReplyToTheEnquiry", Before::Enquiry, 2 * kPatience, true},
                    WaitCase{"HeldBeforeTheWait", Before::UnaskedFrame, 0ms, true},
                    WaitCase{"SilentScale", Before::SilentEnquiry, 50ms, false},
                    WaitCase{"NothingAndNoTime", Before::Nothing, 0ms, false},
                    // Qt's own calls take a negative time as "for ever".
                    WaitCase{"NegativeTimeIsNone", Before::Nothing, -1ms, false}),
    test_support::CaseName());

}  // namespace
}  // namespace vardelmo::serial

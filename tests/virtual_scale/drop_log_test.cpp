// The log of bytes a client did not take: at most a line a second, each with its count.
#include "virtual_scale/drop_log.h"

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "tests/support/case_name.h"

namespace vardelmo::vscale {
namespace {

using namespace std::chrono_literals;
using Clock = DropLog::Clock;

// What befalls the log at a time after the first event: `bytes` dropped, a write that went
// through (0), or the end (-1).
struct Event {
    std::chrono::milliseconds at;
    long bytes;
};

struct DropCase {
    const char* name;
    std::vector<Event> events;
    std::vector<std::string> lines;  // the lines logged, without their stamps
    friend void PrintTo(const DropCase& c, std::ostream* os) { *os << c.name; }
};

class DropLogs : public ::testing::TestWithParam<DropCase> {};

TEST_P(DropLogs, TellAtMostOnceASecondWithTheCount) {
    DropLog log;
    const Clock::time_point start{};
    std::vector<std::string> lines;
    for (const Event& event : GetParam().events) {
        const auto now = start + 10s + event.at;
        const std::optional<std::string> line =
            event.bytes > 0    ? log.dropped(static_cast<std::size_t>(event.bytes), now)
            : event.bytes == 0 ? log.wrote(now)
                               : log.end(now);
        if (line) {
            ASSERT_EQ(line->front(), '[') << *line;
            lines.push_back(line->substr(line->find(']') + 2));
        }
    }
    EXPECT_EQ(lines, GetParam().lines);
}

const std::string kNotReading = ": the client is not reading";

INSTANTIATE_TEST_SUITE_P(
    Table, DropLogs,
    ::testing::Values(
        DropCase{"NothingDropped", {{0ms, 0}, {5s, 0}, {6s, -1}}, {}},
        DropCase{"OneDropToldAtOnce", {{0ms, 7}}, {"dropped 7 bytes" + kNotReading}},
        DropCase{"OneByte", {{0ms, 1}}, {"dropped 1 byte" + kNotReading}},
        // A continuous scale nobody reads drops a frame every 200 ms: one line a second.
        DropCase{"EveryFrameForTwoSeconds",
                 {{0ms, 7},
                  {200ms, 7},
                  {400ms, 7},
                  {600ms, 7},
                  {800ms, 7},
                  {1000ms, 7},
                  {1200ms, 7},
                  {1400ms, 7},
                  {1600ms, 7},
                  {1800ms, 7},
                  {2000ms, 7}},
                 {"dropped 7 bytes" + kNotReading, "dropped 35 bytes in 5 writes" + kNotReading,
                  "dropped 35 bytes in 5 writes" + kNotReading}},
        // What was counted is told once the client reads again, a second after the last line.
        DropCase{"ToldWhenTheClientReadsAgain",
                 {{0ms, 7}, {300ms, 23}, {600ms, 0}, {1100ms, 0}, {1200ms, 0}},
                 {"dropped 7 bytes" + kNotReading, "dropped 23 bytes" + kNotReading}},
        DropCase{"ToldAtTheEnd",
                 {{0ms, 7}, {100ms, 7}, {200ms, 7}, {300ms, -1}},
                 {"dropped 7 bytes" + kNotReading, "dropped 14 bytes in 2 writes" + kNotReading}},
        DropCase{"ASecondApartEachIsToldAlone",
                 {{0ms, 7}, {1000ms, 7}, {2500ms, 7}},
                 {"dropped 7 bytes" + kNotReading, "dropped 7 bytes" + kNotReading,
                  "dropped 7 bytes" + kNotReading}}),
    test_support::CaseName());

}  // namespace
}  // namespace vardelmo::vscale

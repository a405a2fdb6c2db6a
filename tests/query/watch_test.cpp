#include "query/watch.h"

#include <gtest/gtest.h>

#include <future>
#include <memory>
#include <ostream>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "query/watch_summary.h"
#include "tests/support/case_name.h"
#include "tests/support/patience.h"

namespace vardelmo::query {
namespace {

using namespace std::chrono_literals;
using std::chrono::milliseconds;
using test_support::CaseName;

// Anywhere but the clock's epoch, so that a schedule taken from zero instead of the first
// start shows.
const SteadyTime origin = SteadyTime{} + 1000h;

long long msAfterOrigin(SteadyTime t) {
    return std::chrono::duration_cast<milliseconds>(t - origin).count();
}

// One log for the waits, the requests and the sink, so their order is checked as a whole.
using Log = std::vector<std::string>;

// Request i takes durations[i % size] and fails when i is among `failing`. The watch is
// interrupted before it begins, during the wait numbered `interruptInWait` (0 for the first),
// or halfway through request `interruptIn`, which is then cut short unless `endsAnyway`.
struct Script {
    std::vector<milliseconds> durations{10ms};
    std::set<std::uint64_t> failing{};
    bool interruptedBefore = false;
    int interruptInWait = -1;
    std::int64_t interruptIn = -1;
    bool endsAnyway = false;
};

// Time moves only when a wait jumps to its deadline or a request takes its time.
class FakeClock final : public WatchClock {
public:
    FakeClock(Log& log, int interruptInWait) : log_(log), interruptInWait_(interruptInWait) {}
    SteadyTime now() override { return t; }
    bool waitUntil(SteadyTime deadline, Interruption& interruption) override {
        log_.push_back("wait " + std::to_string(msAfterOrigin(deadline)));
        if (waits_++ == interruptInWait_) {
            log_.push_back("interrupt");
            interruption.interrupt();
        }
        if (interruption.interrupted()) {
            return false;
        }
        t = std::max(t, deadline);
        return true;
    }
    SteadyTime t = origin;

private:
    Log& log_;
    int interruptInWait_;
    int waits_ = 0;
};

struct Watched {
    Log log;
    std::vector<SteadyTime> starts;
    std::vector<WatchedRequest> handed;
    WatchEnd end;
    int mostAtOnce = 0;
};

Watched watch(const WatchSettings& settings, const Script& script) {
    Watched w;
    FakeClock clock(w.log, script.interruptInWait);
    Interruption interruption;
    if (script.interruptedBefore) {
        interruption.interrupt();
    }
    int running = 0;
    const auto request = [&](Interruption& given) {
        const std::uint64_t i = w.starts.size();
        w.starts.push_back(clock.now());
        w.log.push_back("request " + std::to_string(i) + " at " +
                        std::to_string(msAfterOrigin(clock.now())));
        w.mostAtOnce = std::max(w.mostAtOnce, ++running);
        const milliseconds takes = script.durations[i % script.durations.size()];
        Outcome outcome{"reply " + std::to_string(i), std::nullopt};
        if (static_cast<std::int64_t>(i) == script.interruptIn) {
            clock.t += takes / 2;
            w.log.push_back("interrupt");
            given.interrupt();
            if (!script.endsAnyway) {
                outcome.display.reset();
            }
        } else {
            clock.t += takes;
            if (script.failing.count(i) != 0) {
                outcome = Outcome{std::nullopt, FailureReport{"falha " + std::to_string(i)}};
            }
        }
        --running;
        return outcome;
    };
    const auto sink = [&](const WatchedRequest& r) {
        w.log.push_back("sink " + std::to_string(r.index));
        w.handed.push_back(r);
    };
    w.end = runWatch(settings, clock, request, sink, interruption);
    return w;
}

struct ScheduleCase {
    const char* name;
    milliseconds period;
    std::uint64_t count;
    std::vector<milliseconds> durations;
    std::vector<long long> starts;  // ms after the first start
    std::vector<long long> slots;   // the same, of the slots they took
    friend void PrintTo(const ScheduleCase& c, std::ostream* os) {
        *os << "period " << c.period.count() << " ms, count " << c.count << ", durations";
        for (const auto d : c.durations) {
            *os << ' ' << d.count();
        }
    }
};

std::vector<long long> everyPeriod(long long period, long long count) {
    std::vector<long long> starts;
    for (long long k = 0; k < count; ++k) {
        starts.push_back(k * period);
    }
    return starts;
}

class WatchSchedule : public testing::TestWithParam<ScheduleCase> {};

TEST_P(WatchSchedule, StartsOnTheSlotsOneAtATimeAndHandsEachOverBeforeTheNext) {
    const auto& c = GetParam();
    const auto w = watch({c.period, c.count}, Script{.durations = c.durations});

    std::vector<long long> starts, slots;
    for (const auto& r : w.handed) {
        starts.push_back(msAfterOrigin(r.start));
        slots.push_back(msAfterOrigin(r.slot));
    }
    EXPECT_EQ(starts, c.starts);
    EXPECT_EQ(slots, c.slots);
    ASSERT_EQ(w.starts.size(), c.count) << "requests run";
    EXPECT_EQ(w.end.requests, c.count);
    EXPECT_FALSE(w.end.interrupted);
    EXPECT_EQ(w.mostAtOnce, 1);
    for (std::size_t i = 0; i < w.handed.size(); ++i) {
        EXPECT_EQ(w.handed[i].start, w.starts[i]) << "the start handed over is the request's own";
        EXPECT_EQ(w.handed[i].outcome.display, "reply " + std::to_string(i));
    }
    // Each result reaches the sink, numbered, before the next request starts.
    std::vector<std::string> order;
    for (const auto& entry : w.log) {
        if (entry.rfind("wait ", 0) != 0) {
            order.push_back(entry.substr(0, entry.find(" at ")));
        }
    }
    std::vector<std::string> expected;
    for (std::uint64_t i = 0; i < c.count; ++i) {
        expected.push_back("request " + std::to_string(i));
        expected.push_back("sink " + std::to_string(i));
    }
    EXPECT_EQ(order, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, WatchSchedule,
    testing::Values(
        // Durations that vary, up to the whole period: no start moves off its slot.
        ScheduleCase{"PeriodKeptOverMany",
                     100ms,
                     1000,
                     {37ms, 99ms, 1ms, 100ms, 0ms},
                     everyPeriod(100, 1000),
                     everyPeriod(100, 1000)},
        ScheduleCase{"OneRequest", 500ms, 1, {10ms}, {0}, {0}},
        ScheduleCase{"OverrunStartsTheNextAtOnce",
                     100ms,
                     4,
                     {250ms, 30ms, 30ms, 30ms},
                     {0, 250, 300, 400},
                     {0, 200, 300, 400}},
        ScheduleCase{"ShortOverrunCatchesUp",
                     100ms,
                     4,
                     {160ms, 50ms, 50ms, 50ms},
                     {0, 160, 210, 300},
                     {0, 100, 200, 300}},
        ScheduleCase{"OverrunOfManyPeriodsSkipsTheirSlots",
                     100ms,
                     3,
                     {1050ms, 10ms},
                     {0, 1050, 1100},
                     {0, 1000, 1100}},
        ScheduleCase{"EveryRequestOverruns",
                     100ms,
                     5,
                     {150ms},
                     {0, 150, 300, 450, 600},
                     {0, 100, 300, 400, 600}},
        ScheduleCase{"NoPeriodRunsBackToBack",
                     0ms,
                     4,
                     {10ms, 20ms, 0ms, 5ms},
                     {0, 10, 30, 30},
                     {0, 10, 30, 30}}),
    CaseName());

struct InterruptionCase {
    const char* name;
    Script script;
    Log log;  // the whole watch, period 100 ms, requests of 10 ms
};

class WatchInterrupted : public testing::TestWithParam<InterruptionCase> {};

// The watch has no count, so only the interruption ends it; nothing may follow it.
TEST_P(WatchInterrupted, EndsTheWatchAtOnce) {
    const auto& c = GetParam();
    const auto w = watch({100ms, 0}, c.script);
    EXPECT_EQ(w.log, c.log);
    EXPECT_TRUE(w.end.interrupted);
    EXPECT_EQ(w.end.requests, w.handed.size());
}

INSTANTIATE_TEST_SUITE_P(
    Table, WatchInterrupted,
    testing::Values(
        InterruptionCase{"BeforeTheWatch", {.interruptedBefore = true}, {"wait 0"}},
        InterruptionCase{
            "DuringTheFirstRequest", {.interruptIn = 0}, {"wait 0", "request 0 at 0", "interrupt"}},
        InterruptionCase{"DuringALaterRequest",
                         {.interruptIn = 2},
                         {"wait 0", "request 0 at 0", "sink 0", "wait 100", "request 1 at 100",
                          "sink 1", "wait 200", "request 2 at 200", "interrupt"}},
        InterruptionCase{"DuringARequestThatEndsAnyway",
                         {.interruptIn = 1, .endsAnyway = true},
                         {"wait 0", "request 0 at 0", "sink 0", "wait 100", "request 1 at 100",
                          "interrupt", "sink 1"}},
        InterruptionCase{"DuringAWait",
                         {.interruptInWait = 2},
                         {"wait 0", "request 0 at 0", "sink 0", "wait 100", "request 1 at 100",
                          "sink 1", "wait 200", "interrupt"}}),
    CaseName());

TEST(Watch, FailuresAreHandedOverAndTheWatchGoesOn) {
    const auto w = watch({100ms, 6}, Script{.failing = {1, 2, 5}});
    ASSERT_EQ(w.handed.size(), 6u);
    WatchSummary summary;
    std::vector<std::string> seen;
    for (const auto& r : w.handed) {
        seen.push_back(r.outcome.failure ? r.outcome.failure->description : *r.outcome.display);
        summary.add(Observation{r.start, r.outcome.failure.has_value(), false, {}, {}});
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"reply 0", "falha 1", "falha 2", "reply 3", "reply 4",
                                              "falha 5"}));
    EXPECT_EQ(summary.figures().failures, 3u);
    EXPECT_EQ(summary.figures().requests, 6u);
    EXPECT_EQ(msAfterOrigin(w.handed.back().start), 500) << "failures keep the schedule";
}

// The real clock: the interruption must end a wait of an hour at once. The watch runs on a
// thread of its own, its state shared, so that a wait that does not end fails the test
// instead of holding it for the hour.
TEST(SteadyWatchClockTest, AnInterruptionEndsALongWait) {
    struct Shared {
        SteadyWatchClock clock;
        Interruption interruption;
        std::promise<void> firstHanded;
        std::promise<WatchEnd> ended;
    };
    auto shared = std::make_shared<Shared>();
    auto firstHanded = shared->firstHanded.get_future();
    auto ended = shared->ended.get_future();
    std::thread watcher([shared] {
        shared->ended.set_value(runWatch(
            {1h, 0}, shared->clock,
            [](Interruption&) {
                return Outcome{"reply", std::nullopt};
            },
            [&](const WatchedRequest& r) {
                if (r.index == 0) {
                    shared->firstHanded.set_value();
                }
            },
            shared->interruption));
    });
    ASSERT_EQ(firstHanded.wait_for(test_support::kPatience), std::future_status::ready);
    // The watch is now in (or about to begin) its wait for the second slot, an hour away.
    shared->interruption.interrupt();
    if (ended.wait_for(test_support::kPatience) != std::future_status::ready) {
        watcher.detach();
        FAIL() << "the wait went on after the interruption";
    }
    watcher.join();
    const WatchEnd end = ended.get();
    EXPECT_EQ(end.requests, 1u);
    EXPECT_TRUE(end.interrupted);
}

}  // namespace
}  // namespace vardelmo::query

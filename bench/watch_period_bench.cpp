// How far each start of a watch lands from its slot on the schedule, with the real clock: a
// period of 100 ms and requests that take 50 ms, waited on the clock as a request's wait is.
// Beside it, how late those waits of the requests end: the machine's own wake-up noise, so
// that a missed target on a busy machine can be told from one of the loop's.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

#include "bench/percentiles.h"
#include "query/watch.h"

namespace vardelmo::bench {
namespace {

using namespace std::chrono_literals;

void watchPeriod(benchmark::State& state) {
    const std::chrono::milliseconds period{state.range(0)};
    const std::chrono::milliseconds takes{state.range(1)};
    const auto requests = static_cast<std::uint64_t>(state.range(2));
    std::vector<double> errorMs, wakeLateMs;
    for (auto _ : state) {
        query::SteadyWatchClock clock;
        query::Interruption interruption;
        const auto request = [&](query::Interruption& given) {
            const auto deadline = std::chrono::steady_clock::now() + takes;
            (void)given.waitUntil(deadline);
            wakeLateMs.push_back(std::chrono::duration<double, std::milli>(
                                     std::chrono::steady_clock::now() - deadline)
                                     .count());
            return query::Outcome{"reply", std::nullopt};
        };
        const auto sink = [&](const query::WatchedRequest& r) {
            const auto error = r.start > r.slot ? r.start - r.slot : r.slot - r.start;
            errorMs.push_back(std::chrono::duration<double, std::milli>(error).count());
        };
        const auto end = query::runWatch({period, requests}, clock, request, sink, interruption);
        if (end.requests != requests) {
            state.SkipWithError("the watch ended early");
            return;
        }
    }
    state.counters["error_median_ms"] = percentile(errorMs, 50);
    state.counters["error_p99_ms"] = percentile(errorMs, 99);
    state.counters["error_max_ms"] = percentile(errorMs, 100);
    state.counters["wake_late_median_ms"] = percentile(wakeLateMs, 50);
    state.counters["wake_late_p99_ms"] = percentile(wakeLateMs, 99);
}

// 200 starts, 20 s: the 99th percentile is then the second worst.
BENCHMARK(watchPeriod)
    ->Args({100, 50, 200})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
}  // namespace vardelmo::bench

#pragma once

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>
#include <vector>

#include "bench/percentiles.h"

namespace vardelmo::bench {

// The tool's request beside the bare system calls it stands on, the two taken in turns and in
// alternating order so that neither always runs second on a warm cache. `toolLeg` returns a
// failure's text, empty on success; `bareLeg` whether it worked. The counters are in
// microseconds: tool_*, `floor`_* and the ratio of the medians.
template <class ToolLeg, class BareLeg>
void measureOverhead(benchmark::State& state, const std::string& floor, ToolLeg toolLeg,
                     BareLeg bareLeg) {
    using Clock = std::chrono::steady_clock;
    const auto microsecondsSince = [](Clock::time_point start) {
        return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
    };
    std::vector<double> tool;
    std::vector<double> bare;
    bool toolFirst = true;
    for (auto _ : state) {
        for (int leg = 0; leg < 2; ++leg) {
            const auto start = Clock::now();
            if ((leg == 0) == toolFirst) {
                const std::string failure = toolLeg();
                tool.push_back(microsecondsSince(start));
                if (!failure.empty()) {
                    state.SkipWithError(failure.c_str());
                    return;
                }
            } else {
                const bool ok = bareLeg();
                bare.push_back(microsecondsSince(start));
                if (!ok) {
                    state.SkipWithError(("the bare " + floor + " request failed").c_str());
                    return;
                }
            }
        }
        toolFirst = !toolFirst;
    }
    const double toolMedian = percentile(tool, 50);
    const double floorMedian = percentile(bare, 50);
    state.counters["tool_median_us"] = toolMedian;
    state.counters["tool_p99_us"] = percentile(tool, 99);
    state.counters[floor + "_median_us"] = floorMedian;
    state.counters[floor + "_p99_us"] = percentile(bare, 99);
    state.counters["ratio_median"] = floorMedian > 0 ? toolMedian / floorMedian : 0;
}

}  // namespace vardelmo::bench

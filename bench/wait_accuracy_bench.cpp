// How late the read comes after the requested wait ends: the request's own sleep
// overshooting, plus whatever lies between the sleep and the read.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>
#include <vector>

#include "bench/percentiles.h"
#include "query/field_texts.h"
#include "query/weight_request.h"
#include "serial/qt_serial_line.h"
#include "virtual_scale/virtual_scale.h"

namespace vardelmo::bench {
namespace {

using Clock = std::chrono::steady_clock;

// The tool's line, noting when the request reaches the read.
class ReadClock final : public serial::SerialLine {
public:
    Result<void> setSettings(std::string_view s) override { return line_.setSettings(s); }
    Result<void> setPort(const serial::Port& p) override { return line_.setPort(p); }
    Result<void> setPortOpen(bool open) override { return line_.setPortOpen(open); }
    Result<void> setOutput(std::string_view b) override { return line_.setOutput(b); }
    Result<bool> waitForInput(std::chrono::milliseconds t) override {
        return line_.waitForInput(t);
    }
    Result<std::string> getInput() override {
        readAt = Clock::now();
        return line_.getInput();
    }
    Clock::time_point readAt;

private:
    serial::QtSerialLine line_;
};

void waitAccuracy(benchmark::State& state) {
    const std::chrono::milliseconds wait{state.range(0)};
    vscale::Options options;
    options.pace = false;
    std::string error;
    auto scale = vscale::VirtualScale::open(options, error);
    if (!scale) {
        state.SkipWithError(error.c_str());
        return;
    }
    query::FieldTexts fields;
    fields.portText = scale->path();
    fields.waitText = std::to_string(wait.count());
    ReadClock line;
    std::vector<double> lateMs;
    for (auto _ : state) {
        Clock::time_point waitEnds;
        const auto outcome =
            query::runWeightRequest(fields, line, [&](std::chrono::milliseconds asked) {
                waitEnds = Clock::now() + asked;
                query::sleepFor(asked);
            });
        if (outcome.failure) {
            state.SkipWithError(outcome.failure->description.c_str());
            return;
        }
        lateMs.push_back(std::chrono::duration<double, std::milli>(line.readAt - waitEnds).count());
    }
    state.counters["late_median_ms"] = percentile(lateMs, 50);
    state.counters["late_p99_ms"] = percentile(lateMs, 99);
    state.counters["late_min_ms"] = percentile(lateMs, 0);
}

// 200 samples a wait: the 99th percentile is then the second worst.
BENCHMARK(waitAccuracy)
    ->Arg(5)
    ->Arg(20)
    ->Arg(100)
    ->Iterations(200)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
}  // namespace vardelmo::bench

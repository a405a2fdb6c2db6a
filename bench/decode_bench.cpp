// decode runs on the window's thread, so a continuous scale's reply read after a long wait
// (4 KiB, many frames, a broken one at either end) must decode in well under 50 us. Beside it,
// 4 KiB of noise with no frame at all: every position looked at, then every hint worked out.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "reading/reading.h"

namespace vardelmo::bench {
namespace {

constexpr std::size_t replySize = 4096;

const std::vector<std::string>& frames() {
    static const std::vector<std::string> all = {
        std::string("\x02"
                    "01234\x03"),
        std::string("\x02\x00"
                    "001234\x00"
                    "000000000000\r\x87",
                    23),
        std::string("\x02\x2d\x30\x20"
                    "001234000000\r"),
        "ST,GS,+  1.234kg\r\n",
        std::string("\x02"
                    "  0800  99999  79999\x03"),
    };
    return all;
}

// Frames from the middle of one to the middle of another, as a read taken at any moment.
std::string continuousReply(const std::string& frame) {
    std::string reply = frame.substr(frame.size() / 2);
    while (reply.size() < replySize) {
        reply += frame;
    }
    reply.resize(replySize);
    return reply;
}

void decodeContinuousReply(benchmark::State& state) {
    const auto& frame = frames()[static_cast<std::size_t>(state.range(0))];
    const std::string reply = continuousReply(frame);
    if (!reading::decode(reply).reading) {
        state.SkipWithError("the reply gives no reading");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(reading::decode(reply));
    }
    state.SetLabel(reading::decode(reply).reading->protocol);
}
BENCHMARK(decodeContinuousReply)->DenseRange(0, 4)->Unit(benchmark::kMicrosecond);

void decodeNoise(benchmark::State& state) {
    std::string noise(replySize, '\0');
    std::uint32_t seed = 12345;
    for (char& c : noise) {
        seed = seed * 1664525U + 1013904223U;
        c = static_cast<char>(seed >> 24);
    }
    if (reading::decode(noise).reading) {
        state.SkipWithError("the noise gives a reading");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(reading::decode(noise));
    }
    state.SetLabel(std::string(reading::hintId(reading::decode(noise).hint)));
}
BENCHMARK(decodeNoise)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vardelmo::bench

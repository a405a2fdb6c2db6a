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

// One frame of every family that may come more than once in a reply: those whose frame is
// the whole reply (Alfa, AFTS, Digitron UL) cannot.
const std::vector<std::string>& frames() {
    using namespace std::literals;
    static const std::vector<std::string> all = {
        "\x02"
        "01234\x03"s,
        "\x02\x00"
        "001234\x00"
        "000000000000\r\x87"s,
        "\x02\x2d\x30\x20"
        "001234000000\r"s,
        "ST,GS,+  1.234kg\r\n"s,
        "\x02"
        "  0800  99999  79999\x03"s,
        "\x02"
        "02\x2d\x30\x20"
        "00123400000000000000000000000000000000P00000000000100\x10\x03\x06"s,
        "\x02S+0001.234\r"s,
        "\x01"
        "001.234 E\x02"s,
        "\x1b\x42 * PESO: 5,10kg\x1b\x45"s,
        "PESO L: 1,234kg"s,
        "\t 1,234kg\r"s,
        "+01.234\x03"s,
        "01.234E\r\n"s,
        "\x02"
        "0000 000001 20/06/05 50.00 kg B  0.60 kg T  49.40 kg L\r\xb4"s,
        "A001234\r"s,
        "\x02"
        "0001234MP\r"s,
        "0,  1.500,  0.266,  1.234\r\n"s,
        "EB,kg,B: 001234,T:000000,L: 001234\r\n"s,
        "\x02"
        "ABCDEFGHIJKLM    1.234 tail"s,
        "E01.234 \r"s,
        "\x02SIC 01.234kgB\x03x\n"s,
        "\x02"
        "BR 01.500kgTR 00.266kg\x03x\n"s,
        "\x02 001.234KG \r\n"s,
        "D000658\r"s,
        "[U102.5]"s,
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
BENCHMARK(decodeContinuousReply)
    ->DenseRange(0, static_cast<int>(frames().size()) - 1)
    ->Unit(benchmark::kMicrosecond);

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

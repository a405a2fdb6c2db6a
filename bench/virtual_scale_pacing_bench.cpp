// How closely the virtual scale's reply bytes follow the line's byte time, seen from a client
// on the pseudo-terminal. Deviation is (measured spacing - byte time) / byte time, in %.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <string>

#include "virtual_scale/virtual_scale.h"

namespace {

using Clock = std::chrono::steady_clock;
using vardelmo::vscale::Format;
using vardelmo::vscale::Options;
using vardelmo::vscale::VirtualScale;

speed_t speedCode(unsigned baud) {
    return baud == 9600 ? B9600 : B2400;
}

void replyByteSpacing(benchmark::State& state) {
    const auto baud = static_cast<unsigned>(state.range(0));
    Options options;
    options.format = Format::Line;  // 15 bytes: 14 gaps an enquiry
    options.line.baud = baud;
    std::string error;
    auto scale = VirtualScale::open(options, error);
    if (!scale) {
        state.SkipWithError(error.c_str());
        return;
    }
    const int client = ::open(scale->path().c_str(), O_RDWR | O_NOCTTY);
    termios line{};
    ::tcgetattr(client, &line);
    ::cfmakeraw(&line);
    ::cfsetispeed(&line, speedCode(baud));
    ::cfsetospeed(&line, speedCode(baud));
    ::tcsetattr(client, TCSANOW, &line);

    const std::size_t frameSize =
        vardelmo::vscale::frame(options.format, options.weightKg, options.state).size();
    const double byteTimeUs = options.line.bitsPerByte() * 1e6 / baud;
    double gapSumUs = 0;
    double worstPct = 0;
    double lateStartSumMs = 0;
    Clock::time_point previousReplyEnd{};
    long gaps = 0;
    long replies = 0;
    for (auto _ : state) {
        const char enq = 0x05;
        const auto asked = Clock::now();
        if (::write(client, &enq, 1) != 1) {
            state.SkipWithError("write failed");
            break;
        }
        Clock::time_point previous{};
        for (std::size_t got = 0; got < frameSize; ++got) {
            pollfd in{client, POLLIN, 0};
            char byte = 0;
            if (::poll(&in, 1, 2000) != 1 || ::read(client, &byte, 1) != 1) {
                state.SkipWithError("reply incomplete");
                break;
            }
            const auto now = Clock::now();
            if (got == 0) {
                // The scale may not start before its delay, nor within a byte time of the
                // previous reply's last byte: the line was still carrying it.
                const auto allowed = std::max(
                    asked + options.delay,
                    previousReplyEnd + std::chrono::microseconds(static_cast<long>(byteTimeUs)));
                lateStartSumMs += std::chrono::duration<double, std::milli>(now - allowed).count();
            } else {
                const double gapUs =
                    std::chrono::duration<double, std::micro>(now - previous).count();
                gapSumUs += gapUs;
                worstPct = std::max(worstPct, std::abs(gapUs - byteTimeUs) / byteTimeUs * 100);
                ++gaps;
            }
            previous = now;
        }
        previousReplyEnd = previous;
        ++replies;
    }
    ::close(client);
    if (gaps == 0) {
        return;
    }
    // The same gaps as the scale wrote them, before the pseudo-terminal delivered them.
    double sentWorstPct = 0;
    for (const auto& exchange : scale->exchanges()) {
        for (std::size_t i = 1; i < exchange.sentAt.size(); ++i) {
            const double gapUs = std::chrono::duration<double, std::micro>(exchange.sentAt[i] -
                                                                           exchange.sentAt[i - 1])
                                     .count();
            sentWorstPct = std::max(sentWorstPct, std::abs(gapUs - byteTimeUs) / byteTimeUs * 100);
        }
    }
    state.counters["sent_worst_gap_pct"] = sentWorstPct;
    const double meanUs = gapSumUs / static_cast<double>(gaps);
    state.counters["byte_time_us"] = byteTimeUs;
    state.counters["spacing_us"] = meanUs;
    state.counters["deviation_pct"] = (meanUs - byteTimeUs) / byteTimeUs * 100;
    state.counters["worst_gap_pct"] = worstPct;
    state.counters["late_start_ms"] = lateStartSumMs / static_cast<double>(replies);
}

BENCHMARK(replyByteSpacing)
    ->Arg(2400)
    ->Arg(9600)
    ->Iterations(30)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();

#include "virtual_scale/wire.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numeric>

namespace vardelmo::vscale {
namespace {

// Times in nanoseconds: a product of two bauds and a time does not fit 64 bits.
__extension__ using Wide = unsigned __int128;

// A stretch of the sender's line at one level, from `start` until the next stretch.
struct Stretch {
    std::uint64_t start;
    bool high;
};

// The line the sender drives, in time units where its half bit lasts `half`.
class SentLine {
public:
    SentLine(std::string_view bytes, const LineSettings& line, std::uint64_t half) {
        const auto stopHalves = static_cast<std::uint64_t>(std::lround(line.stopBits * 2));
        std::uint64_t now = 0;
        const auto put = [&](bool high, std::uint64_t halves) {
            if (stretches_.empty() || stretches_.back().high != high) {
                stretches_.push_back({now, high});
            }
            now += halves * half;
        };
        for (const char c : bytes) {
            const auto byte = static_cast<unsigned char>(c);
            put(false, 2);
            unsigned ones = 0;
            for (unsigned bit = 0; bit < line.dataBits; ++bit) {
                const bool one = ((byte >> bit) & 1U) != 0;
                ones += one ? 1 : 0;
                put(one, 2);
            }
            if (line.parity != 'n') {
                const bool one = line.parity == 'm' || (line.parity == 'e' && ones % 2 == 1) ||
                                 (line.parity == 'o' && ones % 2 == 0);
                put(one, 2);
            }
            put(true, stopHalves);
        }
    }

    // The level at `t`; idle high before the first bit and after the last.
    bool high(std::uint64_t t) const {
        const auto after = std::upper_bound(
            stretches_.begin(), stretches_.end(), t,
            [](std::uint64_t time, const Stretch& stretch) { return time < stretch.start; });
        return after == stretches_.begin() || std::prev(after)->high;
    }

    // The first start of a low stretch at or after `t`, which is a falling edge: the line is
    // idle high before the first stretch, and stretches alternate.
    const Stretch* fallingEdgeFrom(std::uint64_t t) const {
        for (const auto& stretch : stretches_) {
            if (!stretch.high && stretch.start >= t) {
                return &stretch;
            }
        }
        return nullptr;
    }

private:
    std::vector<Stretch> stretches_;
};

}  // namespace

std::vector<HeardByte> overTheWire(std::string_view bytes, const LineSettings& sender,
                                   const LineSettings& receiver) {
    // One time unit is 1 / (2 * lcm(sender baud, receiver baud)) s: both half bits are then
    // whole numbers of units, so every edge and every sample falls on a whole unit.
    const std::uint64_t common = std::gcd(sender.baud, receiver.baud);
    const std::uint64_t senderHalf = receiver.baud / common;
    const std::uint64_t receiverHalf = sender.baud / common;
    const Wide unitsPerSecond = Wide{2} * sender.baud * senderHalf;
    const SentLine line(bytes, sender, senderHalf);

    const unsigned dataBits = receiver.dataBits;
    const unsigned stopIndex = 1 + dataBits + (receiver.parity == 'n' ? 0 : 1);
    std::vector<HeardByte> heard;
    for (const Stretch* edge = line.fallingEdgeFrom(0); edge != nullptr;) {
        // Bit i of the receiver's frame has its middle (2i + 1) half bits after the edge.
        const auto middle = [&](unsigned i) { return edge->start + (2 * i + 1) * receiverHalf; };
        unsigned value = 0;
        for (unsigned bit = 0; bit < dataBits; ++bit) {
            value |= line.high(middle(1 + bit)) ? 1U << bit : 0U;
        }
        const std::uint64_t stopSample = middle(stopIndex);
        if (!line.high(stopSample)) {
            value = 0;  // a framing error
        }
        const auto nanos =
            static_cast<long long>(stopSample * Wide{1'000'000'000} / unitsPerSecond);
        heard.push_back({static_cast<char>(value), std::chrono::nanoseconds(nanos)});
        edge = line.fallingEdgeFrom(stopSample + 1);
    }
    return heard;
}

}  // namespace vardelmo::vscale

// Micheletti P15: STX, weight (three decimals), space, price per kg (two), space, total, ETX.
// The frame says nothing of the state. A second description puts the weight in the seven
// characters at offsets 3-9 instead, which cannot be these same bytes; until a capture settles
// it, this layout is the one read.
#include "reading/decimal_text.h"
#include "reading/frames.h"

namespace vardelmo::reading::detail {

Match micheletti(std::string_view bytes, std::size_t end, Reading& reading) {
    constexpr std::size_t frameSize = 22;
    if (end < frameSize || bytes[end - 1] != etx) {
        return {};
    }
    const std::size_t start = end - frameSize;
    const auto frame = bytes.substr(start, frameSize);
    if (frame[0] != stx || frame[7] != ' ' || frame[14] != ' ') {
        return {};
    }
    auto weight = paddedNumber(frame.substr(1, 6), 3);
    auto price = paddedNumber(frame.substr(8, 6), 2);
    // The total is money like the price, so it has the price's two decimals: 0.800 kg at
    // 999.99 comes as 79999, 799.99.
    auto total = paddedNumber(frame.substr(15, 6), 2);
    if (!weight || !price || !total) {
        return {};
    }
    reading = Reading{.protocol = "micheletti",
                      .weight = std::move(weight),
                      .price = std::move(price),
                      .total = std::move(total)};
    return {Verdict::Reading, start};
}

}  // namespace vardelmo::reading::detail

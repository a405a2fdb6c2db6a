// Toledo A ("protocolo A", Prix II and III): 23 bytes, two status bytes, weight, total, price
// per kg, CR at offset 21 and a checksum that makes the sum of all 23 bytes 0 mod 256.
#include <numeric>

#include "reading/decimal_text.h"
#include "reading/frames.h"

namespace vardelmo::reading::detail {

namespace {

constexpr std::size_t frameSize = 23;

bool digitsAt(std::string_view frame, std::size_t offset) {
    for (std::size_t i = offset; i < offset + 6; ++i) {
        if (!isDigit(frame[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace

Match toledoA(std::string_view bytes, std::size_t end, Reading& reading) {
    if (end < frameSize) {
        return {};
    }
    const std::size_t start = end - frameSize;
    const auto frame = bytes.substr(start, frameSize);
    if (frame[0] != stx || frame[21] != cr || !digitsAt(frame, 2) || !digitsAt(frame, 9) ||
        !digitsAt(frame, 15)) {
        return {};
    }
    const unsigned sum = std::accumulate(frame.begin(), frame.end(), 0U, [](unsigned s, char c) {
        return s + static_cast<unsigned char>(c);
    });
    if (sum % 256 != 0) {
        return {Verdict::Damaged, start};
    }
    const char s1 = frame[1];
    const char s2 = frame[8];
    const int priceDecimals = bit(s1, 5) ? 0 : 2;
    reading = Reading{.protocol = "toledo-a"};
    reading.state = strongest(bit(s1, 3), false, bit(s1, 0));
    if (reading.state != State::Overload) {
        reading.weight = decimalText(frame.substr(2, 6), bit(s2, 3) ? 2 : 3);
    }
    reading.net = bit(s2, 6);
    reading.total = decimalText(frame.substr(9, 6), priceDecimals);
    reading.price = decimalText(frame.substr(15, 6), priceDecimals);
    return {Verdict::Reading, start};
}

}  // namespace vardelmo::reading::detail

// Toledo indicators on Ethernet: 62 bytes, STX "02", the status words of P03, weight and tare
// of six digits, fields no reading needs, DLE ETX and a checksum that brings bytes 1 to 58 and
// itself to 0 mod 256.
#include <numeric>

#include "reading/decimal_text.h"
#include "reading/frames.h"

namespace vardelmo::reading::detail {

namespace {

constexpr std::size_t frameSize = 62;

bool digits(std::string_view field) {
    for (const char c : field) {
        if (!isDigit(c)) {
            return false;
        }
    }
    return true;
}

}  // namespace

Match toledoEth(std::string_view bytes, std::size_t end, Reading& reading) {
    if (end < frameSize) {
        return {};
    }
    const std::size_t start = end - frameSize;
    const auto frame = bytes.substr(start, frameSize);
    // Only offsets 0 to 17 are the same on every model; 18 to 58 may hold anything.
    if (frame[0] != stx || frame.substr(1, 2) != "02" || frame[59] != dle || frame[60] != etx ||
        !digits(frame.substr(6, 6)) || !digits(frame.substr(12, 6))) {
        return {};
    }
    const unsigned sum =
        std::accumulate(frame.begin() + 1, frame.begin() + 59, 0U,
                        [](unsigned s, char c) { return s + static_cast<unsigned char>(c); }) +
        static_cast<unsigned char>(frame[61]);
    if (sum % 256 != 0) {
        return {Verdict::Damaged, start};
    }
    // No description says where the point goes. The status words bear P03's names, and P03's
    // SWA bits 0-2 are its likely meaning, so the decimals are read from them. Whether SWB's
    // bits are P03's (motion, negative, out of range) is stated nowhere: the state stays
    // untold until a capture or a manual settles it, and the weight is read as it stands.
    const int decimals = swaDecimals(frame[3]);
    reading = Reading{.protocol = "toledo-eth",
                      .weight = decimalText(frame.substr(6, 6), decimals),
                      .tare = decimalText(frame.substr(12, 6), decimals)};
    return {Verdict::Reading, start};
}

}  // namespace vardelmo::reading::detail

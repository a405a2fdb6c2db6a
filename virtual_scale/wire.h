#pragma once

#include <chrono>
#include <string_view>
#include <vector>

#include "virtual_scale/line_settings.h"

namespace vardelmo::vscale {

// One byte as a receiving UART hands it over, and when: at the middle of its stop bit,
// counted from the start of the sender's first start bit.
struct HeardByte {
    char value = 0;
    std::chrono::nanoseconds at{0};
    friend bool operator==(const HeardByte&, const HeardByte&) = default;
};

// What a UART at `receiver`'s settings makes of `bytes` put on the wire at `sender`'s.
//
// The sender puts each byte on an idle-high line back to back: a start bit (low), the data
// bits from the lowest, the parity bit if any (even, odd, mark or space), then its stop bits
// (1, 1.5 or 2, high). The receiver takes a falling edge for a start bit, samples each data bit
// and the first stop bit in their middle at its own bit time, and skips its parity bit
// unchecked, as Linux does without INPCK. A stop bit sampled low is a framing error: the byte
// arrives as 0x00, as Linux delivers it by default. After each byte the receiver waits for the
// next falling edge after its stop sample. A sample that falls just on an edge of the
// sender's bits sees the bit that begins there, as a real UART's does: it detects the start
// bit a little late, so all its samples come a little late too.
//
// Times are worked out exactly, in whole fractions of both bit times; meant for a frame or a
// read's worth of bytes, not for megabytes. Same baud, data bits and parity on both ends give
// the bytes back unchanged, whatever the stop bits.
std::vector<HeardByte> overTheWire(std::string_view bytes, const LineSettings& sender,
                                   const LineSettings& receiver);

}  // namespace vardelmo::vscale

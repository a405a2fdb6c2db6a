// P03 (Toledo do Brasil's name for the Mettler Toledo layout): STX, three status words, weight
// and tare of six digits, CR, and a seven-bit checksum where the indicator is set to send one.
#include "reading/decimal_text.h"
#include "reading/frames.h"

namespace vardelmo::reading::detail {

namespace {

constexpr std::size_t plainSize = 17;  // STX, SWA SWB SWC, weight, tare, CR

bool digits(std::string_view field) {
    for (const char c : field) {
        if (!isDigit(c)) {
            return false;
        }
    }
    return true;
}

// Every status word has bit 5 set and bit 7 clear. One description has SWA's bit 6 always 0,
// another always 1, and some indicators set SWB's bits 4 and 6: none of those is looked at.
bool statusWord(char byte, unsigned char mask) {
    return (static_cast<unsigned char>(byte) & mask) == 0x20;
}

// The frame from `start` to the CR at `crAt`, in its plain form or with the one space the
// 8530 and 8540 put before the weight at 60 t and 80 t.
Match frameAt(std::string_view bytes, std::size_t start, std::size_t crAt, Reading& reading) {
    const std::size_t size = crAt - start + 1;
    if (bytes[start] != stx || (size == plainSize + 1 && bytes[start + 4] != ' ')) {
        return {};
    }
    const char swa = bytes[start + 1];
    const char swb = bytes[start + 2];
    const auto weight = bytes.substr(crAt - 12, 6);
    const auto tare = bytes.substr(crAt - 6, 6);
    if (!statusWord(swa, 0xA0) || !statusWord(swb, 0xA0) || !statusWord(bytes[start + 3], 0xA0) ||
        !digits(weight) || !digits(tare)) {
        return {};
    }
    const int decimals = swaDecimals(swa);
    reading = Reading{.protocol = "p03"};
    reading.state = strongest(bit(swb, 2), bit(swb, 1), bit(swb, 3));
    if (reading.state != State::Overload) {
        reading.weight = decimalText(weight, decimals, bit(swb, 1));
    }
    reading.net = bit(swb, 0);
    reading.tare = decimalText(tare, decimals);
    return {Verdict::Reading, start};
}

Match frameEndingAt(std::string_view bytes, std::size_t crAt, Reading& reading) {
    for (const std::size_t size : {plainSize, plainSize + 1}) {
        if (crAt + 1 >= size) {
            const auto match = frameAt(bytes, crAt + 1 - size, crAt, reading);
            if (match.verdict != Verdict::None) {
                return match;
            }
        }
    }
    return {};
}

}  // namespace

Match p03(std::string_view bytes, std::size_t end, Reading& reading) {
    if (end == 0 || bytes[end - 1] != cr) {
        return {};
    }
    return frameEndingAt(bytes, end - 1, reading);
}

Match p03Checked(std::string_view bytes, std::size_t end, Reading& reading) {
    if (end < 2 || bytes[end - 2] != cr) {
        return {};
    }
    auto match = frameEndingAt(bytes, end - 2, reading);
    if (match.verdict == Verdict::None) {
        return match;
    }
    unsigned sum = 0;
    for (std::size_t i = match.start; i < end; ++i) {
        sum += static_cast<unsigned char>(bytes[i]);
    }
    if (sum % 128 == 0) {
        return match;
    }
    // An indicator sending no checksum follows its CR with the next frame's STX, which is no
    // damage: the same frame is then taken as ending at its CR. Any other byte that fails as a
    // checksum is damage, and the frame is skipped whole, so it is not read without one.
    if (bytes[end - 1] == stx) {
        return {};
    }
    match.verdict = Verdict::Damaged;
    return match;
}

}  // namespace vardelmo::reading::detail

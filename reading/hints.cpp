// What bytes that do not decode hint at: seven bits and parity read as eight, nothing, a lone
// ACK, a baud that differs from the scale's, or a format of no family the tool knows.
#include <algorithm>
#include <array>
#include <string>

#include "reading/decimal_text.h"
#include "reading/dispatch.h"
#include "reading/frames.h"

namespace vardelmo::reading::detail {

namespace {

constexpr char ack = 0x06;

bool printable(char c) {
    return c >= 0x20 && c <= 0x7E;
}
bool highBit(char c) {
    return (static_cast<unsigned char>(c) & 0x80U) != 0;
}

// Bytes read at a baud other than the scale's: mostly the zeros a UART delivers for framing
// errors, or no frame's start or end after some text together with few digits (every family's
// frame is mostly digits).
bool wrongBaud(std::string_view bytes) {
    const auto zeros = static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\0'));
    if (zeros * 2 >= bytes.size()) {
        return true;
    }
    bool structure = bytes.front() == stx;
    std::size_t text = 0;  // printable bytes just before the one looked at
    for (std::size_t i = 0; i < bytes.size() && !structure; ++i) {
        const char c = bytes[i];
        structure = text >= 4 && (c == etx || c == cr || c == lf);
        text = printable(c) ? text + 1 : 0;
    }
    const auto digits =
        static_cast<std::size_t>(std::count_if(bytes.begin(), bytes.end(), isDigit));
    return !structure && digits * 4 < bytes.size();
}

}  // namespace

// A scale sending seven data bits and parity to a line set to eight without: the parity lands
// in bit 7, and clearing it gives the frames back. Cleared, such bytes are text and the few
// control bytes frames have, in all but a stray byte or two; noise cleared is a quarter other
// control bytes, and not worth a walk.
SevenBits::SevenBits(std::string_view bytes) {
    if (std::none_of(bytes.begin(), bytes.end(), highBit)) {
        return;
    }
    static const auto framingLow = [] {
        std::array<bool, 128> framing{};
        for (std::size_t c = 0x20; c <= 0x7E; ++c) {
            framing[c] = true;
        }
        for (const char c : std::string_view("\x01\x02\x03\x04\x06\x09\x0A\x0D\x10\x11\x13\x1B")) {
            framing[static_cast<std::size_t>(c)] = true;
        }
        return framing;
    }();
    const auto framing =
        static_cast<std::size_t>(std::count_if(bytes.begin(), bytes.end(), [](char c) {
            return framingLow[static_cast<unsigned char>(c) & 0x7FU];
        }));
    if (framing * 10 < bytes.size() * 9) {
        return;
    }
    cleared_.assign(bytes);
    for (char& c : cleared_) {
        c = static_cast<char>(c & 0x7F);
    }
}

bool SevenBits::hideAFrame(Pass pass) const {
    return !cleared_.empty() && lastFrame(cleared_, pass).has_value();
}

Hint hintFor(std::string_view bytes) {
    if (bytes.empty()) {
        return Hint::Empty;
    }
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return c == ack; })) {
        return Hint::Ack;
    }
    return wrongBaud(bytes) ? Hint::Baud : Hint::Unknown;
}

}  // namespace vardelmo::reading::detail

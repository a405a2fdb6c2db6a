// The shape of frames in bytes no family reads: what a scale of an unknown family sends at the
// right line settings, and what bytes garbled by a wrong baud never have all at once.
#include <algorithm>
#include <string_view>

#include "reading/decimal_text.h"
#include "reading/frames.h"
#include "reading/reading.h"

namespace vardelmo::reading {

namespace {

using namespace detail;

// Control bytes frames are built with: SOH to EOT, ACK, TAB, the line ends, DLE, XON and
// XOFF between frames, and ESC of printer controls. A UART's framing error gives 0x00 and a
// wrong baud mostly bytes with bit 7 set: neither is here.
bool framingByte(char c) {
    constexpr std::string_view controls = "\x01\x02\x03\x04\x06\x09\x0A\x0D\x10\x11\x13\x1B";
    return controls.find(c) != std::string_view::npos;
}

bool printable(char c) {
    return c >= 0x20 && c <= 0x7E;
}

}  // namespace

bool hasFrameShape(std::string_view bytes) {
    constexpr std::size_t shortest = 4;
    // Control bytes stand at frames' edges, a few together at most: DLE ETX, a checksum and
    // the next frame's STX.
    constexpr std::size_t mostControls = 4;
    if (bytes.size() < shortest) {
        return false;
    }
    std::size_t text = 0;
    std::size_t marks = 0;  // printable, not spaces
    std::size_t digits = 0;
    std::size_t controls = 0;  // in a row
    for (const char c : bytes) {
        if (printable(c)) {
            ++text;
            marks += c != ' ' ? 1 : 0;
            digits += isDigit(c) ? 1 : 0;
            controls = 0;
        } else if (!framingByte(c) || ++controls > mostControls) {
            return false;
        }
    }
    // Mostly text, and a fifth of it digits at least, as in every family's frames: a line at
    // the wrong baud that happens to give printable bytes gives letters and signs, few digits.
    return text * 2 >= bytes.size() && digits >= 2 && digits * 5 >= marks;
}

}  // namespace vardelmo::reading

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

// Where a frame ends or starts: STX ETX SOH CR LF.
bool boundary(char c) {
    return c == stx || c == etx || c == soh || c == cr || c == lf;
}

}  // namespace

bool hasFrameShape(std::string_view bytes) {
    constexpr std::size_t shortest = 4;
    if (bytes.size() < shortest) {
        return false;
    }
    std::size_t digits = 0;
    std::size_t text = 0;
    for (const char c : bytes) {
        if (printable(c)) {
            ++text;
            digits += isDigit(c) ? 1 : 0;
        } else if (!framingByte(c)) {
            return false;
        }
    }
    // Mostly text, with digits in it, as every family's frame is. A fifth of the text at least
    // is digits, as a weight makes it: the letters and signs a wrong baud makes of a frame's
    // digits seldom are (p03 at 9600 read at 4800 comes out as "8<LF>JJjJJJ<HT>IHZZKJJ:",
    // repeated).
    if (text * 4 < bytes.size() * 3 || digits < 2 || digits * 5 < text) {
        return false;
    }
    // A frame's boundary after some text, or a run of printable text between two of them.
    std::size_t run = 0;
    for (const char c : bytes) {
        if (boundary(c) && run >= shortest) {
            return true;
        }
        run = printable(c) ? run + 1 : 0;
    }
    // Else the same frame repeated, as a continuous scale sends it: the reply repeats itself
    // with a period of a frame's length.
    for (std::size_t period = shortest; period * 2 <= bytes.size(); ++period) {
        if (std::equal(bytes.begin() + static_cast<std::ptrdiff_t>(period), bytes.end(),
                       bytes.begin())) {
            return true;
        }
    }
    return false;
}

}  // namespace vardelmo::reading

#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace vardelmo::vscale {

// The scale's own line, "baud,parity,data,stop" as in "2400,n,8,1". Parsed here rather
// than with the tool's parser in serial/: the scale is what the tool is checked against, so
// it shares none of the tool's code. It reads the same text as the tool's "Config", with one
// difference on purpose: it takes 1.5 stop bits, which the tool refuses off Windows. A
// terminal cannot set them, but the scale's line is no terminal's: it only paces the replies
// and drives the wire between the two ends, where a scale with 1.5 stop bits is real.
struct LineSettings {
    unsigned baud = 2400;
    char parity = 'n';  // n, e, o, m or s
    unsigned dataBits = 8;
    double stopBits = 1;  // 1, 1.5 or 2

    // Start, data, parity and stop bits: 11 for 2400,e,7,2.
    double bitsPerByte() const { return 1 + dataBits + (parity == 'n' ? 0 : 1) + stopBits; }
    // A byte's time on the line, all its bits at the baud: 4.583 ms for 2400,e,7,2.
    std::chrono::nanoseconds byteTime() const {
        return std::chrono::nanoseconds(static_cast<long long>(bitsPerByte() * 1e9 / baud));
    }
    // "2400,n,8,1", as parseLineSettings reads it back.
    std::string text() const;
    friend bool operator==(const LineSettings&, const LineSettings&) = default;
};

// Reads settings text as the tool does: no blanks anywhere, not even around (one grammar for
// both commands, and a blank there is a quoting slip, not a setting); a baud of 1 to
// 2147483647, the most the tool can ask for; data bits as one digit. On a fault returns
// nothing and says what is wrong in `error`.
std::optional<LineSettings> parseLineSettings(std::string_view text, std::string& error);

}  // namespace vardelmo::vscale

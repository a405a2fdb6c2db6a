#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vardelmo::vscale {

// The scale's own line, "baud,parity,data,stop" as in "2400,n,8,1". Parsed here rather
// than with the tool's parser in serial/: the scale is what the tool is checked against, so
// it shares none of the tool's code, and it accepts 1.5 stop bits for its pacing.
struct LineSettings {
    unsigned baud = 2400;
    char parity = 'n';  // n, e, o, m or s
    unsigned dataBits = 8;
    double stopBits = 1;  // 1, 1.5 or 2

    double bitsPerByte() const { return 1 + dataBits + (parity == 'n' ? 0 : 1) + stopBits; }
};

// Reads settings text; surrounding blanks are allowed, blanks inside are not. On a fault
// returns nothing and says what is wrong in `error`.
std::optional<LineSettings> parseLineSettings(std::string_view text, std::string& error);

}  // namespace vardelmo::vscale

#pragma once

#include <string>
#include <string_view>

namespace vardelmo::test_support {

// Control and non-ASCII bytes as \xNN, so a case reads on one line in test listings.
inline std::string escaped(std::string_view bytes) {
    std::string out;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte >= 0x7F || c == '"' || c == '\\') {
            constexpr char digits[] = "0123456789ABCDEF";
            out += "\\x";
            out += digits[byte >> 4];
            out += digits[byte & 0xF];
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace vardelmo::test_support

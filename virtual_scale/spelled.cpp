#include "virtual_scale/spelled.h"

#include <array>
#include <cctype>

namespace vardelmo::vscale {
namespace {

constexpr std::array<std::string_view, 32> kControlNames = {
    "NUL", "SOH", "STX", "ETX", "EOT", "ENQ", "ACK", "BEL", "BS",  "HT",  "LF",
    "VT",  "FF",  "CR",  "SO",  "SI",  "DLE", "DC1", "DC2", "DC3", "DC4", "NAK",
    "SYN", "ETB", "CAN", "EM",  "SUB", "ESC", "FS",  "GS",  "RS",  "US"};

std::string upper(std::string_view text) {
    std::string out;
    for (const char c : text) {
        out += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return out;
}

int hexDigit(char c) {
    const std::string_view digits = "0123456789ABCDEF";
    const auto at = digits.find(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
    return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

// The byte a name or two hex digits between angle brackets stand for.
std::optional<char> byteNamed(std::string_view inside) {
    const std::string name = upper(inside);
    // Form feed goes by its hex, 0C: its name, FF, is the hex of byte FF, which the tool
    // spells so.
    for (std::size_t i = 0; i < kControlNames.size(); ++i) {
        if (kControlNames[i] == name && i != 0x0c) {
            return static_cast<char>(i);
        }
    }
    if (name == "DEL") {
        return '\x7f';
    }
    if (name.size() == 2 && hexDigit(name[0]) >= 0 && hexDigit(name[1]) >= 0) {
        return static_cast<char>(hexDigit(name[0]) * 16 + hexDigit(name[1]));
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> unspell(std::string_view text, std::string& error) {
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (text[i] == '<') {
            const auto close = text.find('>', i);
            if (close == std::string_view::npos) {
                error = "a '<' opens no name (write '<' itself as <3C>)";
                return std::nullopt;
            }
            const auto inside = text.substr(i + 1, close - i - 1);
            const auto named = byteNamed(inside);
            if (!named) {
                // Appended: GCC 12 at -O3 warns falsely of overlapping copies in operator+.
                error = std::string("<").append(inside).append("> names no byte");
                return std::nullopt;
            }
            bytes += *named;
            i = close;
        } else if (byte < 0x20 || byte > 0x7e) {
            constexpr std::string_view kDigits = "0123456789ABCDEF";
            const std::string hex{kDigits[byte >> 4], kDigits[byte & 0x0f]};
            error = "a byte " + hex + " must be written as <" + hex + "> or by its name";
            return std::nullopt;
        } else {
            bytes += text[i];
        }
    }
    return bytes;
}

}  // namespace vardelmo::vscale

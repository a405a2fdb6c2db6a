#include "cli/reply_bytes.h"

#include <array>

namespace vardelmo::cli {

namespace {

constexpr std::array<std::string_view, 32> kControlNames = {
    "NUL", "SOH", "STX", "ETX", "EOT", "ENQ", "ACK", "BEL", "BS",  "HT",  "LF",
    "VT",  "FF",  "CR",  "SO",  "SI",  "DLE", "DC1", "DC2", "DC3", "DC4", "NAK",
    "SYN", "ETB", "CAN", "EM",  "SUB", "ESC", "FS",  "GS",  "RS",  "US"};

constexpr unsigned char kFormFeed = 0x0C;

std::string upper(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return out;
}

// The byte between angle brackets: a name, else two hex digits.
std::optional<char> byteNamed(std::string_view inside) {
    const std::string name = upper(inside);
    for (std::size_t i = 0; i < kControlNames.size(); ++i) {
        if (kControlNames[i] == name && i != kFormFeed) {
            return static_cast<char>(i);
        }
    }
    if (name == "DEL") {
        return '\x7F';
    }
    constexpr std::string_view kDigits = "0123456789ABCDEF";
    if (name.size() == 2 && kDigits.find(name[0]) != std::string_view::npos &&
        kDigits.find(name[1]) != std::string_view::npos) {
        return static_cast<char>(kDigits.find(name[0]) * 16 + kDigits.find(name[1]));
    }
    return std::nullopt;
}

void appendHex(std::string& out, unsigned char byte) {
    constexpr std::string_view kDigits = "0123456789ABCDEF";
    out += '<';
    out += kDigits[byte >> 4];
    out += kDigits[byte & 0x0F];
    out += '>';
}

}  // namespace

std::string spellReply(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < kControlNames.size() && byte != kFormFeed) {
            out += '<';
            out += kControlNames[byte];
            out += '>';
        } else if (byte == 0x7F) {
            out += "<DEL>";
        } else if (byte >= 0x80 || c == '<' || byte == kFormFeed) {
            appendHex(out, byte);
        } else {
            out += c;
        }
    }
    return out;
}

std::optional<std::string> unspellReply(std::string_view text, std::string& error) {
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
                error = '<' + std::string(inside) + "> names no byte";
                return std::nullopt;
            }
            bytes += *named;
            i = close;
        } else if (byte < 0x20 || byte > 0x7E) {
            std::string hex;
            appendHex(hex, byte);
            error = "a byte " + hex.substr(1, 2) + " must be written as " + hex + " or by its name";
            return std::nullopt;
        } else {
            bytes += text[i];
        }
    }
    return bytes;
}

std::string describeReply(std::string_view bytes) {
    std::string out = spellReply(bytes);
    if (!out.empty()) {
        out += ' ';
    }
    out += '(';
    out += std::to_string(bytes.size());
    out += bytes.size() == 1 ? " byte)" : " bytes)";
    return out;
}

std::string hexReply(std::string_view bytes) {
    constexpr std::string_view kDigits = "0123456789abcdef";
    std::string out;
    out.reserve(bytes.size() * 3);
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (!out.empty()) {
            out += ' ';
        }
        out += kDigits[byte >> 4];
        out += kDigits[byte & 0x0F];
    }
    return out;
}

}  // namespace vardelmo::cli

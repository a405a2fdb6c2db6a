#include "cli/reply_bytes.h"

#include <array>

namespace vardelmo::cli {

namespace {

constexpr std::array<std::string_view, 32> kControlNames = {
    "NUL", "SOH", "STX", "ETX", "EOT", "ENQ", "ACK", "BEL", "BS",  "HT",  "LF",
    "VT",  "FF",  "CR",  "SO",  "SI",  "DLE", "DC1", "DC2", "DC3", "DC4", "NAK",
    "SYN", "ETB", "CAN", "EM",  "SUB", "ESC", "FS",  "GS",  "RS",  "US"};

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
        if (byte < kControlNames.size()) {
            out += '<';
            out += kControlNames[byte];
            out += '>';
        } else if (byte == 0x7F) {
            out += "<DEL>";
        } else if (byte >= 0x80 || c == '<') {
            appendHex(out, byte);
        } else {
            out += c;
        }
    }
    return out;
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

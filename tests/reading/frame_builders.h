#pragma once

#include <bit>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "reading/reading.h"
#include "tests/support/escaped.h"

// Frames as the scales send them, built from their fields, and readings printed in full when a
// case fails.
namespace vardelmo::reading::test {

inline const std::string stx(1, '\x02');
inline const std::string etx(1, '\x03');

// Bytes written as FRAMES.md writes them: "02 30 31 03".
inline std::string hex(std::string_view text) {
    std::string bytes;
    for (std::size_t i = 0; i + 1 < text.size(); i += 3) {
        bytes += static_cast<char>(std::stoi(std::string(text.substr(i, 2)), nullptr, 16));
    }
    return bytes;
}

inline std::string toledoB(std::string_view body) {
    return stx + std::string(body) + etx;
}
inline std::string toledoC(std::string_view body) {
    return stx + std::string(body) + "\r";
}
inline std::string micheletti(std::string_view body) {
    return stx + std::string(body) + etx;
}
inline std::string stGs(std::string_view line) {
    return std::string(line) + "\r\n";
}

inline unsigned byteSum(std::string_view bytes) {
    unsigned sum = 0;
    for (const char c : bytes) {
        sum += static_cast<unsigned char>(c);
    }
    return sum;
}

// Status bytes, weight, total and price per kg; then CR and the byte that brings the sum of
// the frame to 0 mod 256, plus `damage` (0 for an intact frame).
inline std::string toledoA(unsigned char s1, std::string_view weight, unsigned char s2,
                           std::string_view total, std::string_view price, int damage = 0) {
    std::string frame = stx + static_cast<char>(s1) + std::string(weight) + static_cast<char>(s2) +
                        std::string(total) + std::string(price) + "\r";
    frame += static_cast<char>((256 - byteSum(frame) % 256 + static_cast<unsigned>(damage)) % 256);
    return frame;
}

struct P03Form {
    bool checksum = false;  // seven-bit checksum after CR
    bool spaced = false;    // the 8530/8540's space before the weight
    int damage = 0;         // added to the checksum
};

inline std::string p03(unsigned char swa, unsigned char swb, std::string_view weight,
                       std::string_view tare, P03Form form = {}) {
    std::string frame = stx + static_cast<char>(swa) + static_cast<char>(swb) + ' ' +
                        (form.spaced ? " " : "") + std::string(weight) + std::string(tare) + "\r";
    if (form.checksum) {
        frame += static_cast<char>(
            (128 - byteSum(frame) % 128 + static_cast<unsigned>(form.damage)) % 128);
    }
    return frame;
}

// Toledo on Ethernet: STX "02", status words, weight, tare, 41 bytes of any value, DLE ETX and
// the checksum of bytes 1 to 58, plus `damage`.
inline std::string toledoEth(char swa, std::string_view weight, std::string_view tare,
                             std::string_view filler, int damage = 0) {
    std::string frame =
        "\x02"
        "02";
    frame += swa;
    frame += "0 ";
    frame += std::string(weight) + std::string(tare) + std::string(filler);
    unsigned sum = byteSum(frame) - 2;  // STX is left out
    frame += "\x10\x03";
    frame += static_cast<char>((256 - sum % 256 + static_cast<unsigned>(damage)) % 256);
    return frame;
}
// 41 bytes, offsets 18 to 58; the last of them chosen so that the checksum is `checksum`.
inline std::string filler41(char first, char checksumWanted) {
    std::string f(41, first);
    const unsigned rest = byteSum(std::string("02\x2d") + "0 001234000000" + f.substr(0, 40));
    f.back() =
        static_cast<char>((256 * 4 - rest - static_cast<unsigned char>(checksumWanted)) % 256);
    return f;
}

// What a line set to 8 bits without parity reads from a scale sending 7 bits with even (or
// odd) parity: the parity bit lands in bit 7.
inline std::string parityInBit7(std::string bytes, bool even = true) {
    for (char& c : bytes) {
        const bool odd = std::popcount(static_cast<unsigned char>(c)) % 2 == 1;
        if (odd == even) {
            c = static_cast<char>(static_cast<unsigned char>(c) | 0x80U);
        }
    }
    return bytes;
}

inline void PrintTo(const std::optional<std::string>& text, std::ostream* os) {
    *os << (text ? '"' + *text + '"' : std::string("none"));
}

}  // namespace vardelmo::reading::test

namespace vardelmo::reading {

inline void PrintTo(const Reading& r, std::ostream* os) {
    *os << "{" << r.protocol << " weight ";
    test::PrintTo(r.weight, os);
    *os << " " << r.unit << " " << (r.state ? stateId(*r.state) : "state-untold") << " net "
        << (r.net ? (*r.net ? "yes" : "no") : "none") << " tare ";
    test::PrintTo(r.tare, os);
    *os << " price ";
    test::PrintTo(r.price, os);
    *os << " total ";
    test::PrintTo(r.total, os);
    *os << "}";
}

inline void PrintTo(const Decoded& d, std::ostream* os) {
    if (d.reading) {
        PrintTo(*d.reading, os);
    } else {
        *os << "no reading, hint " << hintId(d.hint);
    }
}

}  // namespace vardelmo::reading

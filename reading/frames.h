#pragma once

#include <cstddef>
#include <span>
#include <string_view>

#include "reading/reading.h"

// One parser a frame family, or a row of the layout table. Each looks only at the frame that
// would end exactly at `end` (one past its last byte), so the dispatcher can walk back from
// the reply's end and stop at the first frame it meets.
namespace vardelmo::reading::detail {

inline constexpr char soh = 0x01;
inline constexpr char stx = 0x02;
inline constexpr char etx = 0x03;
inline constexpr char tab = 0x09;
inline constexpr char lf = 0x0A;
inline constexpr char cr = 0x0D;
inline constexpr char dle = 0x10;

enum class Verdict {
    None,       // no frame of this family ends here
    Reading,    // a complete frame with a reading
    NoReading,  // a complete frame that says the scale has no reading to give
    Damaged,    // a frame whose checksum fails: skipped whole, from `start`
};

// Most tries find nothing, so a match is two words; the reading goes to the caller's object,
// written only with Verdict::Reading.
struct Match {
    Verdict verdict = Verdict::None;
    std::size_t start = 0;
};

using Parse = Match (*)(std::string_view bytes, std::size_t end, Reading& reading);

// A family with a file of its own: its parser and the byte its frames have `fromEnd` bytes
// before their end, so that the dispatcher tries it only there.
struct FileFamily {
    char marker;
    std::size_t fromEnd;
    Parse parse;
};

// In the order they are tried at one end: checksums first, then the fixed marks.
std::span<const FileFamily> fileFamilies();

Match toledoA(std::string_view bytes, std::size_t end, Reading& reading);
Match p03(std::string_view bytes, std::size_t end, Reading& reading);  // ends in CR
// Ends in CR and a checksum.
Match p03Checked(std::string_view bytes, std::size_t end, Reading& reading);
Match toledoEth(std::string_view bytes, std::size_t end, Reading& reading);
Match micheletti(std::string_view bytes, std::size_t end, Reading& reading);
Match toledoB(std::string_view bytes, std::size_t end, Reading& reading);
Match toledoC(std::string_view bytes, std::size_t end, Reading& reading);
Match stGs(std::string_view bytes, std::size_t end, Reading& reading);
Match sicilianoIp10(std::string_view bytes, std::size_t end, Reading& reading);
Match wt27r(std::string_view bytes, std::size_t end, Reading& reading);
Match magna(std::string_view bytes, std::size_t end, Reading& reading);
Match lucastec(std::string_view bytes, std::size_t end, Reading& reading);  // CR, then a byte
Match lucastecAtCr(std::string_view bytes, std::size_t end, Reading& reading);

// The five characters between STX and the end of a Toledo B or C frame.
Match toledoBody(std::string_view body, std::string_view protocol, std::size_t start,
                 Reading& reading);

// Overload wins over negative, negative over motion, whatever order a frame gives them in.
inline State strongest(bool overload, bool negative, bool motion) {
    return overload   ? State::Overload
           : negative ? State::Negative
           : motion   ? State::Motion
                      : State::Stable;
}

inline bool bit(char byte, int n) {
    return ((static_cast<unsigned char>(byte) >> n) & 1U) != 0;
}

// SWA bits 0-2 of the Mettler Toledo status word, from 000 (x100) to 111 (five decimals).
inline int swaDecimals(char swa) {
    return (static_cast<unsigned char>(swa) & 0x07) - 2;
}

}  // namespace vardelmo::reading::detail

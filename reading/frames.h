#pragma once

#include <cstddef>
#include <string_view>

#include "reading/reading.h"

// One parser a frame family. Each looks only at the frame that would end exactly at `end` (one
// past its last byte), so the dispatcher can walk back from the reply's end and stop at the
// first frame it meets.
namespace vardelmo::reading::detail {

inline constexpr char stx = 0x02;
inline constexpr char etx = 0x03;
inline constexpr char cr = 0x0D;
inline constexpr char lf = 0x0A;

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

Match toledoA(std::string_view bytes, std::size_t end, Reading& reading);
Match p03(std::string_view bytes, std::size_t end, Reading& reading);  // ends in CR
// Ends in CR and a checksum.
Match p03Checked(std::string_view bytes, std::size_t end, Reading& reading);
Match micheletti(std::string_view bytes, std::size_t end, Reading& reading);
Match toledoB(std::string_view bytes, std::size_t end, Reading& reading);
Match toledoC(std::string_view bytes, std::size_t end, Reading& reading);
Match stGs(std::string_view bytes, std::size_t end, Reading& reading);

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

}  // namespace vardelmo::reading::detail

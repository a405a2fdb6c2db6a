// toledo-eth: the 62-byte frame of Toledo indicators on Ethernet.
//   STX "02" SWA SWB SWC weight(6) tare(6) ... DLE ETX checksum
#include <string_view>

#include "virtual_scale/frames/reading.h"

namespace vardelmo::vscale::frames {
namespace {

constexpr char kDle = 0x10;
// Status words as p03 names them: three decimals, increment x1; SWB carries p03's motion bit,
// the likely meaning, though the frame is not known to tell the state.
constexpr char kSwa = 0x2d;
constexpr char kSwbStable = 0x30;
constexpr char kSwbMotion = 0x38;
constexpr char kSwc = 0x20;
// Offsets 18-58 (piece count, code, zero capture, sequence...) as the one capture has them:
// a reading needs none of them.
constexpr std::string_view kRest = "00000000000000000000000000P00000000000100";

}  // namespace

// The weight has no sign and the state is not told with certainty: below zero and above the
// capacity the scale sends nothing, as micheletti does.
std::string toledoEth(const Reading& reading) {
    if (reading.condition == Condition::Underload || reading.condition == Condition::Overload) {
        return {};
    }
    std::string frame = kStx + std::string("02") + kSwa +
                        (reading.condition == Condition::Motion ? kSwbMotion : kSwbStable) + kSwc +
                        digits(reading.grams, 6) + digits(0, 6) + std::string(kRest);
    // Two's complement of bytes 1 to 58: STX, DLE and ETX are left out of the sum.
    unsigned sum = 0;
    for (std::size_t i = 1; i < frame.size(); ++i) {
        sum += static_cast<unsigned char>(frame[i]);
    }
    return frame + kDle + kEtx + static_cast<char>((256 - sum % 256) % 256);
}

}  // namespace vardelmo::vscale::frames

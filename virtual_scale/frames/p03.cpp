// p03: Toledo do Brasil's name for the Mettler Toledo layout of its indicators.
//   STX SWA SWB SWC weight(6) tare(6) CR, without the optional checksum
#include "virtual_scale/frames/reading.h"

namespace vardelmo::vscale::frames {
namespace {

// SWA: bit 5 always set; increment x1 (bits 3-4 = 01); three decimals (bits 0-2 = 101).
constexpr char kSwa = 0x2d;
// SWB: bit 5 always set and bit 4 set for kg, as these indicators send it; bit 0 (net) clear.
constexpr unsigned char kSwbBase = 0x30;
constexpr unsigned char kNegativeBit = 0x02;
constexpr unsigned char kOutOfRangeBit = 0x04;
constexpr unsigned char kMotionBit = 0x08;
// SWC: bit 5 always set; nothing about units or printing.
constexpr char kSwc = 0x20;

unsigned char swb(Condition condition) {
    switch (condition) {
        case Condition::Stable:
            return kSwbBase;
        case Condition::Motion:
            return kSwbBase | kMotionBit;
        case Condition::Underload:
            return kSwbBase | kNegativeBit;
        case Condition::Overload:
            return kSwbBase | kOutOfRangeBit;
    }
    return kSwbBase;
}

}  // namespace

// The weight has no sign of its own: its digits are the magnitude, SWB says the rest.
std::string p03(const Reading& reading) {
    const long long magnitude = reading.grams < 0 ? -reading.grams : reading.grams;
    return kStx + std::string(1, kSwa) + static_cast<char>(swb(reading.condition)) + kSwc +
           digits(magnitude, 6) + digits(0, 6) + kCr;
}

}  // namespace vardelmo::vscale::frames

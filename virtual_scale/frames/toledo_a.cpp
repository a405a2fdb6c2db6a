// toledo-a: the 23-byte price-computing frame of Toledo Prix II and III ("protocolo A").
//   STX S1 weight(6) S2 total(6) price(6) CR checksum
#include "virtual_scale/frames/reading.h"

namespace vardelmo::vscale::frames {
namespace {

// S1: bit 0 in motion, bit 3 out of range; bit 5 clear for prices with two decimals.
constexpr unsigned char kMotionBit = 0x01;
constexpr unsigned char kOutOfRangeBit = 0x08;
// S2: bit 3 clear for weights with three decimals, bit 6 clear for no tare.
constexpr char kS2 = 0x00;

}  // namespace

// Below zero and above the capacity are both out of range: the frame has no sign. The weight
// digits then still hold the magnitude, and the total is zero, as nothing can be priced.
std::string toledoA(const Reading& reading) {
    unsigned char s1 = 0;
    long long total = totalCents(reading.grams);
    if (reading.condition == Condition::Motion) {
        s1 |= kMotionBit;
    } else if (reading.condition != Condition::Stable) {
        s1 |= kOutOfRangeBit;
        total = 0;
    }
    const long long magnitude = reading.grams < 0 ? -reading.grams : reading.grams;
    std::string frame = kStx + std::string(1, static_cast<char>(s1)) + digits(magnitude, 6) + kS2 +
                        digits(total, 6) + digits(kPriceCentsPerKg, 6) + kCr;
    // Two's complement of the sum, so that all 23 bytes add up to 0 mod 256.
    unsigned sum = 0;
    for (const char byte : frame) {
        sum += static_cast<unsigned char>(byte);
    }
    frame += static_cast<char>((256 - sum % 256) % 256);
    return frame;
}

}  // namespace vardelmo::vscale::frames

// micheletti: the 22-byte frame of Micheletti P15 price-computing scales.
//   STX weight(6) SP price per kg(6) SP total(6) ETX
#include <cstdio>

#include "virtual_scale/frames/reading.h"

namespace vardelmo::vscale::frames {
namespace {

// Space-padded to six, with a digit before the implied point: 0.800 kg is "  0800".
std::string field(long long value, int decimals) {
    char text[24];
    std::snprintf(text, sizeof text, "%6.*lld", decimals + 1, value);
    return text;
}

}  // namespace

// The frame has no status. In motion the scale sends the weight as it stands: the frame has no
// place to say it moves. Below zero or above the capacity its digits cannot say the weight, and
// zeros would read as an empty plate: the scale sends nothing, as one that cannot price.
std::string micheletti(const Reading& reading) {
    if (reading.condition == Condition::Underload || reading.condition == Condition::Overload) {
        return {};
    }
    return kStx + field(reading.grams, 3) + ' ' + field(kPriceCentsPerKg, 2) + ' ' +
           field(totalCents(reading.grams), 2) + kEtx;
}

}  // namespace vardelmo::vscale::frames

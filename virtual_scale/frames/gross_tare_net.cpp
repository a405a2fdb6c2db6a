// The frames that carry the gross, the tare and the net, the reading being the net:
//   wt1000    Weightech WT1000: "0,  1.500,  0.266,  1.234" CR LF
//   lucastec  LucasTec's ticket line: STX ... "1.500 kg B  0.266 kg T  1.234 kg L" CR B4
#include <algorithm>

#include "virtual_scale/frames/reading.h"

namespace vardelmo::vscale::frames {

// The weight given is the net; the gross is the net plus the tare on the plate. Below zero
// the net is negative, and so may the gross be.
std::string wt1000(const Reading& reading) {
    if (reading.condition == Condition::Overload) {
        return {};  // no overload form is described
    }
    const long long net = reading.condition == Condition::Underload && reading.grams > 0
                              ? -reading.grams
                              : reading.grams;
    const char state = reading.condition == Condition::Motion ? '1' : '0';
    return std::string(1, state) + ',' + padded(kg(net + kTareGrams), 7) + ',' +
           padded(kg(kTareGrams), 7) + ',' + padded(kg(net), 7) + kCr + kLf;
}

// Motion and overload are not told: in motion the line is the same; above the capacity the
// scale prints nothing. Below zero the load is lighter than the tare: the gross shows what
// is left (nothing below zero), the net 0.000.
std::string lucastec(const Reading& reading) {
    if (reading.condition == Condition::Overload) {
        return {};
    }
    const bool below = reading.condition == Condition::Underload;
    const long long lighter = reading.grams > 0 ? -reading.grams : reading.grams;
    const long long gross =
        below ? std::max(0LL, kTareGrams + lighter) : reading.grams + kTareGrams;
    const long long net = below ? 0 : reading.grams;
    // The counter, the number and the date are the one sample's; the byte after the CR too.
    return kStx + std::string("0000 000001 20/06/05 ") + kg(gross) + " kg B  " + kg(kTareGrams) +
           " kg T  " + kg(net) + " kg L" + kCr + '\xb4';
}

}  // namespace vardelmo::vscale::frames

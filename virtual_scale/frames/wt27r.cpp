// wt27r: the line of Weightech WT27R indicators (Ethernet).
//   "EB,kg,B: 001234,T:000000,L: 001234" CR LF
#include "virtual_scale/frames/reading.h"

namespace vardelmo::vscale::frames {

// The digits carry no point, so no reader can take a weight from them: grams, as the scale's
// display would show them with three decimals. The display shows the gross ('B'); there is
// no tare. A gross of all nines is the overload; '-' signs a weight below zero.
std::string wt27r(const Reading& reading) {
    const char state = reading.condition == Condition::Motion ? 'I' : 'E';
    const char sign = reading.grams < 0 || reading.condition == Condition::Underload ? '-' : ' ';
    const long long magnitude = reading.grams < 0 ? -reading.grams : reading.grams;
    const std::string weight =
        reading.condition == Condition::Overload ? "999999" : digits(magnitude, 6);
    return std::string(1, state) + "B,kg,B:" + sign + weight + ",T:" + digits(0, 6) + ",L:" + sign +
           weight + kCr + kLf;
}

}  // namespace vardelmo::vscale::frames

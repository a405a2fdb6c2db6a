// toledo-b: STX, five characters, ETX; the checkout frame of Toledo Prix, Filizola, Digitron
// and most Elgin checkout scales.
#include "virtual_scale/frames/reading.h"

namespace vardelmo::vscale::frames {

// Grams in five digits, or five equal letters when there is no weight to give.
std::string toledoBody(const Reading& reading) {
    switch (reading.condition) {
        case Condition::Motion:
            return "IIIII";
        case Condition::Underload:
            return "NNNNN";
        case Condition::Overload:
            return "SSSSS";
        case Condition::Stable:
            break;
    }
    return digits(reading.grams, 5);
}

std::string toledoB(const Reading& reading) {
    return kStx + toledoBody(reading) + kEtx;
}

}  // namespace vardelmo::vscale::frames

// status: STX, the signed weight, a status letter, ETX: STX "+  1.234G" ETX.
#include "virtual_scale/frames/reading.h"

namespace vardelmo::vscale::frames {

std::string status(const Reading& reading) {
    return kStx + signedKg(reading) + statusLetter(reading.condition) + kEtx;
}

}  // namespace vardelmo::vscale::frames

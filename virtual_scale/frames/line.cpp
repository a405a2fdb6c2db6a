// line: status's sign, weight and letter as one text line: "+  1.234 kg G" CR LF.
#include "virtual_scale/frames/reading.h"

namespace vardelmo::vscale::frames {

std::string line(const Reading& reading) {
    return signedKg(reading) + " kg " + statusLetter(reading.condition) + kCr + kLf;
}

}  // namespace vardelmo::vscale::frames

// st-gs: the text line of many indicators (Weightech WT3000, Libratek and others).
//   "ST,GS,+  1.234kg" CR LF
#include "virtual_scale/frames/reading.h"

namespace vardelmo::vscale::frames {

// ST stable, US in motion, OL over capacity. Below zero is a weight like any other here: ST
// with its minus sign, as the field is signed. Always gross (GS): the scale has no tare.
std::string stGs(const Reading& reading) {
    const char* header = "ST";
    if (reading.condition == Condition::Motion) {
        header = "US";
    } else if (reading.condition == Condition::Overload) {
        header = "OL";
    }
    return std::string(header) + ",GS," + signedKg(reading) + "kg" + kCr + kLf;
}

}  // namespace vardelmo::vscale::frames

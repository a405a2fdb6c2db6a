// toledo-c: toledo-b's body ended by CR instead of ETX (Toledo's "protocolo C").
#include "virtual_scale/frames/reading.h"

namespace vardelmo::vscale::frames {

std::string toledoC(const Reading& reading) {
    return kStx + toledoBody(reading) + kCr;
}

}  // namespace vardelmo::vscale::frames

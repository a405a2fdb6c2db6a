#include <string>

#include "virtual_scale/frames/reading.h"
#include "virtual_scale/virtual_scale.h"

namespace vardelmo::vscale {

std::string frame(Format format, double weightKg, State state) {
    if (state == State::Silent) {
        return {};
    }
    const auto reading = frames::readingOf(weightKg, state);
    switch (format) {
        case Format::ToledoB:
            return frames::toledoB(reading);
        case Format::ToledoC:
            return frames::toledoC(reading);
        case Format::ToledoA:
            return frames::toledoA(reading);
        case Format::P03:
            return frames::p03(reading);
        case Format::StGs:
            return frames::stGs(reading);
        case Format::Micheletti:
            return frames::micheletti(reading);
        case Format::Status:
            return frames::status(reading);
        case Format::Line:
            return frames::line(reading);
        case Format::Ack:
            return std::string(1, frames::kAck);
    }
    return {};
}

}  // namespace vardelmo::vscale

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
        case Format::ToledoA:
            return frames::toledoA(reading);
        case Format::P03:
            return frames::p03(reading);
        case Format::Micheletti:
            return frames::micheletti(reading);
        case Format::ToledoEth:
            return frames::toledoEth(reading);
        case Format::Wt27r:
            return frames::wt27r(reading);
        case Format::Wt1000:
            return frames::wt1000(reading);
        case Format::Lucastec:
            return frames::lucastec(reading);
        case Format::Siciliano:
            return frames::siciliano(reading);
        case Format::SicilianoIp10:
            return frames::sicilianoIp10(reading);
        case Format::Ack:
            return std::string(1, frames::kAck);
        default:  // the rest differ only in layout: rows of one table
            return frames::textFrame(format, reading).value_or(std::string());
    }
}

}  // namespace vardelmo::vscale

// Weightech WT27R (Ethernet): "EB,kg,B: 001234,T:000000,L: 001234" CR LF, 36 bytes. The
// digits carry no point and where the display puts it is not sent, so no weight can be read
// with certainty: only the state and the unit.
#include "reading/decimal_text.h"
#include "reading/frames.h"

namespace vardelmo::reading::detail {

namespace {

constexpr std::size_t frameSize = 36;

bool digits(std::string_view field) {
    for (const char c : field) {
        if (!isDigit(c)) {
            return false;
        }
    }
    return true;
}

}  // namespace

Match wt27r(std::string_view bytes, std::size_t end, Reading& reading) {
    if (end < frameSize || bytes[end - 1] != lf) {
        return {};
    }
    const std::size_t start = end - frameSize;
    const auto frame = bytes.substr(start, frameSize);
    const char stability = frame[0];
    const char shown = frame[1];  // which weight the display shows: 'B' gross, 'L' net
    if ((stability != 'E' && stability != 'I') || (shown != 'B' && shown != 'L') ||
        frame[2] != ',' || frame[5] != ',' || frame.substr(6, 2) != "B:" ||
        frame.substr(15, 3) != ",T:" || frame.substr(24, 3) != ",L:" || frame[34] != cr ||
        !digits(frame.substr(9, 6)) || !digits(frame.substr(18, 6)) ||
        !digits(frame.substr(28, 6))) {
        return {};
    }
    const auto unit = frame.substr(3, 2);
    if (unit != "kg" && unit != "lb") {
        return {};
    }
    // The byte of a positive sign is not stated: anything but '-' is positive.
    const bool negative = frame[shown == 'B' ? 8 : 27] == '-';
    const bool overload = frame.substr(9, 6) == "999999";
    reading = Reading{.protocol = "wt27r",
                      .unit = std::string(unit),
                      .state = strongest(overload, negative, stability == 'I'),
                      .net = shown == 'L'};
    return {Verdict::Reading, start};
}

}  // namespace vardelmo::reading::detail

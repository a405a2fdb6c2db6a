// The text line "ST,GS,+  1.234kg" CR LF of many indicators: stability, gross, net or tare, a
// signed weight padded with spaces, and its unit; 16 characters, or 19 with the weight wider
// and two spaces before the unit. Read backwards from the line's end, so whatever
// stands before the first field (the tail of a broken line) does not matter.
#include "reading/decimal_text.h"
#include "reading/frames.h"

namespace vardelmo::reading::detail {

namespace {

// Longer than any such line; it bounds the walk back on a reply of spaces or digits.
constexpr std::size_t longestLine = 40;

}  // namespace

Match stGs(std::string_view bytes, std::size_t end, Reading& reading) {
    if (end < 2 || bytes[end - 1] != lf || bytes[end - 2] != cr) {
        return {};
    }
    const std::size_t lineEnd = end - 2;
    const std::size_t limit = lineEnd > longestLine ? lineEnd - longestLine : 0;
    std::size_t at = lineEnd;  // everything from `at` on is read
    const auto skipSpaces = [&] {
        while (at > limit && bytes[at - 1] == ' ') {
            --at;
        }
    };
    const auto takeBefore = [&](std::string_view text) {
        if (at - limit < text.size() || bytes.substr(at - text.size(), text.size()) != text) {
            return false;
        }
        at -= text.size();
        return true;
    };

    skipSpaces();
    std::string_view unit;
    for (const std::string_view name : {"kg", "lb", "g"}) {
        if (takeBefore(name)) {
            unit = name;
            break;
        }
    }
    if (unit.empty()) {
        return {};
    }
    skipSpaces();
    const std::size_t numberEnd = at;
    while (at > limit && (isDigit(bytes[at - 1]) || bytes[at - 1] == '.')) {
        --at;
    }
    const auto number = bytes.substr(at, numberEnd - at);
    skipSpaces();
    const bool minus = takeBefore("-");
    if (!minus) {
        takeBefore("+");
    }
    skipSpaces();
    if (at - limit < 6 || bytes[at - 1] != ',' || bytes[at - 4] != ',') {
        return {};
    }
    const auto stability = bytes.substr(at - 6, 2);
    const auto gross = bytes.substr(at - 3, 2);
    if ((stability != "ST" && stability != "US" && stability != "OL") ||
        (gross != "GS" && gross != "NT" && gross != "TR")) {
        return {};
    }
    // OL is out of range either way: above capacity with '+' (or none), below it with '-'.
    const bool outOfRange = stability == "OL";
    // Out of range an indicator may leave the weight blank. Digits with no point are whole
    // units ("3000" kg).
    auto weight = writtenNumber(number, ".", minus);
    if (!weight && !(outOfRange && number.empty())) {
        return {};
    }
    reading = Reading{.protocol = "st-gs"};
    reading.unit = std::string(unit);
    if (outOfRange) {
        reading.state = minus ? State::Negative : State::Overload;
    } else {
        reading.state = strongest(false, weight->front() == '-', stability == "US");
        reading.weight = std::move(weight);
    }
    // TR: the weight is the tare in use, and the line says neither gross nor net.
    if (gross != "TR") {
        reading.net = gross == "NT";
    }
    return {Verdict::Reading, at - 6};
}

}  // namespace vardelmo::reading::detail

// Siciliano IP10: STX "BR", the gross, "kg", "TR", the tare, "kg", ETX, a checksum computed
// no one says how, LF. The reading is the gross less the tare. (IP09 is a row of the table.)
#include "reading/decimal_text.h"
#include "reading/frames.h"

namespace vardelmo::reading::detail {

namespace {

constexpr std::size_t frameSize = 26;

// A sign, ' ' or '-', then six characters as written.
std::optional<std::string> signedField(std::string_view field) {
    if (field[0] != ' ' && field[0] != '-') {
        return std::nullopt;
    }
    const auto text = field.substr(1);
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos || text.find_first_of(".,") == std::string_view::npos) {
        return std::nullopt;
    }
    return writtenNumber(text.substr(first), ".,", field[0] == '-');
}

}  // namespace

Match sicilianoIp10(std::string_view bytes, std::size_t end, Reading& reading) {
    if (end < frameSize || bytes[end - 1] != lf) {
        return {};
    }
    const std::size_t start = end - frameSize;
    const auto frame = bytes.substr(start, frameSize);
    if (frame[0] != stx || frame.substr(1, 2) != "BR" || frame.substr(10, 4) != "kgTR" ||
        frame.substr(21, 2) != "kg" || frame[23] != etx) {
        return {};
    }
    const auto gross = signedField(frame.substr(3, 7));
    const auto tare = signedField(frame.substr(14, 7));
    // A tare below zero is not described: such a frame does not read.
    if (!gross || !tare || tare->front() == '-') {
        return {};
    }
    auto net = difference(*gross, *tare);
    if (!net) {
        return {};
    }
    // Neither motion nor overload is told: a net at or above zero has no state.
    const bool negative = net->front() == '-';
    reading = Reading{.protocol = "siciliano",
                      .weight = std::move(net),
                      .state = negative ? std::optional(State::Negative) : std::nullopt,
                      .tare = *tare};
    return {Verdict::Reading, start};
}

}  // namespace vardelmo::reading::detail

// LucasTec: a ticket line, STX, text no description explains, then three weights each as
// "50.00 kg B": gross 'B', tare 'T' and net 'L', then CR and, in the one sample, a byte more.
#include "reading/decimal_text.h"
#include "reading/frames.h"

namespace vardelmo::reading::detail {

namespace {

// Longer than any ticket line; it bounds the walk back to its STX.
constexpr std::size_t longestLine = 96;
constexpr std::size_t longestWeight = 12;

// Reads "<number> kg <letter>" ending at `end`, backwards; `end` moves to the number's start.
std::optional<std::string> weightBefore(std::string_view bytes, std::size_t& end, char letter,
                                        std::size_t limit) {
    constexpr std::string_view unit = " kg ";
    if (end < limit + unit.size() + 2 || bytes[end - 1] != letter ||
        bytes.substr(end - 1 - unit.size(), unit.size()) != unit) {
        return std::nullopt;
    }
    const std::size_t numberEnd = end - 1 - unit.size();
    std::size_t at = numberEnd;
    while (at > limit && numberEnd - at < longestWeight &&
           (isDigit(bytes[at - 1]) || bytes[at - 1] == '.' || bytes[at - 1] == ',')) {
        --at;
    }
    const auto number = bytes.substr(at, numberEnd - at);
    if (number.find_first_of(".,") == std::string_view::npos) {
        return std::nullopt;
    }
    end = at;
    return writtenNumber(number, ".,");
}

// Spaces before a weight: one at least.
bool skipSpaces(std::string_view bytes, std::size_t& end, std::size_t limit) {
    const std::size_t from = end;
    while (end > limit && bytes[end - 1] == ' ') {
        --end;
    }
    return end < from;
}

Match lineEndingAt(std::string_view bytes, std::size_t crAt, Reading& reading) {
    if (bytes[crAt] != cr) {
        return {};
    }
    const std::size_t limit = crAt > longestLine ? crAt - longestLine : 0;
    std::size_t at = crAt;
    auto net = weightBefore(bytes, at, 'L', limit);
    if (!net || !skipSpaces(bytes, at, limit)) {
        return {};
    }
    auto tare = weightBefore(bytes, at, 'T', limit);
    if (!tare || !skipSpaces(bytes, at, limit)) {
        return {};
    }
    auto gross = weightBefore(bytes, at, 'B', limit);
    if (!gross || !skipSpaces(bytes, at, limit)) {
        return {};
    }
    while (at > limit && bytes[at - 1] != stx) {
        --at;
    }
    if (at == 0 || bytes[at - 1] != stx) {
        return {};
    }
    const auto below = difference(*gross, *tare);
    if (!below) {
        return {};
    }
    // Motion and overload are not told. A tare above the gross is a load below the tare: the
    // net then shows 0.00, and no weight is read from it.
    const bool negative = below->front() == '-';
    reading = Reading{.protocol = "lucastec", .tare = std::move(tare)};
    if (negative) {
        reading.state = State::Negative;
    } else {
        reading.weight = std::move(net);
    }
    return {Verdict::Reading, at - 1};
}

}  // namespace

Match lucastec(std::string_view bytes, std::size_t end, Reading& reading) {
    return end < 2 ? Match{} : lineEndingAt(bytes, end - 2, reading);
}

Match lucastecAtCr(std::string_view bytes, std::size_t end, Reading& reading) {
    return end < 1 ? Match{} : lineEndingAt(bytes, end - 1, reading);
}

}  // namespace vardelmo::reading::detail

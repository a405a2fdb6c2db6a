// Toledo B: STX, five characters, ETX. The body's rules hold for Toledo C as well.
#include <algorithm>

#include "reading/decimal_text.h"
#include "reading/frames.h"

namespace vardelmo::reading::detail {

namespace {

constexpr std::size_t bodySize = 5;

bool fiveOf(std::string_view body, char letter) {
    return std::all_of(body.begin(), body.end(), [letter](char c) { return c == letter; });
}

// Newer firmware puts "C" (zero not yet captured) or "E" (calibration error) where the digits
// go. Neither is a weight nor one of the states a reading has, and a weight read beside them
// cannot be trusted: the frame is complete but gives no reading, so an older frame before it
// in a continuous reply is not shown either.
bool notReady(std::string_view body) {
    const char letter = body.front();
    return (letter == 'C' || letter == 'E') &&
           std::all_of(body.begin() + 1, body.end(),
                       [letter](char c) { return c == letter || c == ' ' || isDigit(c); });
}

}  // namespace

Match toledoBody(std::string_view body, std::string_view protocol, std::size_t start,
                 Reading& reading) {
    if (body.size() != bodySize) {
        return {};
    }
    const struct {
        char letter;
        State state;
    } noWeight[] = {{'I', State::Motion}, {'N', State::Negative}, {'S', State::Overload}};
    for (const auto& [letter, state] : noWeight) {
        if (fiveOf(body, letter)) {
            reading = Reading{.protocol = std::string(protocol), .state = state};
            return {Verdict::Reading, start};
        }
    }
    if (notReady(body)) {
        return {Verdict::NoReading, start};
    }
    // A point or comma means kilograms as written; digits alone are grams.
    const auto padded = body.substr(std::min(body.find_first_not_of(' '), body.size()));
    auto weight = padded.find_first_of(".,") == std::string_view::npos
                      ? paddedNumber(body, 3)
                      : writtenNumber(padded, ".,");
    if (!weight) {
        return {};
    }
    reading = Reading{.protocol = std::string(protocol), .weight = std::move(weight)};
    return {Verdict::Reading, start};
}

Match toledoB(std::string_view bytes, std::size_t end, Reading& reading) {
    const std::size_t size = 1 + bodySize + 1;
    if (end < size || bytes[end - 1] != etx || bytes[end - size] != stx) {
        return {};
    }
    return toledoBody(bytes.substr(end - size + 1, bodySize), "toledo-b", end - size, reading);
}

}  // namespace vardelmo::reading::detail

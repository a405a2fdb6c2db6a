// Toledo B: STX, five characters, ETX. The body's rules hold for Toledo C as well. The
// self-checkout line's eight-character body ("+001,234") is described between STX and ETX
// only, so only Toledo B reads it.
#include <algorithm>

#include "reading/decimal_text.h"
#include "reading/frames.h"

namespace vardelmo::reading::detail {

namespace {

constexpr std::size_t bodySize = 5;

bool fiveOf(std::string_view body, char letter) {  // or six, of a self-checkout body
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
    reading = Reading{
        .protocol = std::string(protocol), .weight = std::move(weight), .state = State::Stable};
    return {Verdict::Reading, start};
}

namespace {

// A sign, three characters, a comma, three characters: "+001,234", or "+III,III" in motion,
// "-III,III" below zero, "+SSS,SSS" above capacity. A body of '-' and digits is described
// nowhere, but the '-' of "-III,III" says below zero: it reads as a weight below zero.
Match selfCheckoutBody(std::string_view body, std::size_t start, Reading& reading) {
    if (body[4] != ',' || (body[0] != '+' && body[0] != '-')) {
        return {};
    }
    const bool minus = body[0] == '-';
    const std::string letters = std::string(body.substr(1, 3)) + std::string(body.substr(5));
    const struct {
        char sign;
        char letter;
        State state;
    } noWeight[] = {
        {'+', 'I', State::Motion}, {'-', 'I', State::Negative}, {'+', 'S', State::Overload}};
    for (const auto& [sign, letter, state] : noWeight) {
        if (body[0] == sign && fiveOf(letters, letter)) {
            reading = Reading{.protocol = "toledo-b", .state = state};
            return {Verdict::Reading, start};
        }
    }
    if (!std::all_of(letters.begin(), letters.end(), isDigit)) {
        return {};
    }
    auto weight = decimalText(letters, 3, minus);
    const bool negative = weight.front() == '-';
    reading = Reading{.protocol = "toledo-b",
                      .weight = std::move(weight),
                      .state = negative ? State::Negative : State::Stable};
    return {Verdict::Reading, start};
}

}  // namespace

Match toledoB(std::string_view bytes, std::size_t end, Reading& reading) {
    if (end == 0 || bytes[end - 1] != etx) {
        return {};
    }
    constexpr std::size_t selfCheckoutSize = 1 + 8 + 1;
    if (end >= selfCheckoutSize && bytes[end - selfCheckoutSize] == stx) {
        const auto match =
            selfCheckoutBody(bytes.substr(end - 9, 8), end - selfCheckoutSize, reading);
        if (match.verdict != Verdict::None) {
            return match;
        }
    }
    const std::size_t size = 1 + bodySize + 1;
    if (end < size || bytes[end - size] != stx) {
        return {};
    }
    return toledoBody(bytes.substr(end - size + 1, bodySize), "toledo-b", end - size, reading);
}

}  // namespace vardelmo::reading::detail

#include "query/conversions.h"

#include <algorithm>
#include <cstdint>
#include <optional>

// Grammar of a number, for both fields:
//   [sign] digits [ "." [digits] ] [ exponent ]     or     [sign] "." digits [ exponent ]
//   sign = "+" | "-";  exponent = ("e" | "E") [sign] digits
// No blanks inside, no thousands separators, no hexadecimal. A comma is not a
// decimal separator: the wait stops at it ("1,5" is 1) and a port fails on it.
// The value is rounded exactly from its decimal digits (no floating point, so
// "2.5000000000000000001" rounds up and a thousand-digit text costs no more than
// reading it). Exact halves go to the even neighbour (2.5 -> 2, 3.5 -> 4, -0.5 ->
// 0), as the Windows number conversions round, so a value typed on either
// system means the same; one rule serves both fields.

namespace vardelmo::query {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

struct Decimal {
    bool negative = false;
    std::string_view whole;     // digits before the point
    std::string_view fraction;  // digits after it
    std::int64_t exponent = 0;  // saturated far beyond any value that fits
    std::size_t length = 0;     // bytes of the text the number took
};

// The longest number at the start of `text`; nothing when it does not start with one.
std::optional<Decimal> scanNumber(std::string_view text) {
    Decimal number;
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        number.negative = text[i] == '-';
        ++i;
    }
    const auto wholeStart = i;
    while (i < text.size() && isDigit(text[i])) {
        ++i;
    }
    number.whole = text.substr(wholeStart, i - wholeStart);
    if (i < text.size() && text[i] == '.') {
        const auto fractionStart = i + 1;
        auto j = fractionStart;
        while (j < text.size() && isDigit(text[j])) {
            ++j;
        }
        number.fraction = text.substr(fractionStart, j - fractionStart);
        if (!number.whole.empty() || !number.fraction.empty()) {
            i = j;
        }
    }
    if (number.whole.empty() && number.fraction.empty()) {
        return std::nullopt;
    }
    // An exponent counts only when digits follow it: "5e" and "5ms" are 5.
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        auto j = i + 1;
        bool negativeExponent = false;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            negativeExponent = text[j] == '-';
            ++j;
        }
        if (j < text.size() && isDigit(text[j])) {
            constexpr std::int64_t saturation = 1'000'000'000;
            std::int64_t exponent = 0;
            for (; j < text.size() && isDigit(text[j]); ++j) {
                exponent = std::min(saturation, exponent * 10 + (text[j] - '0'));
            }
            number.exponent = negativeExponent ? -exponent : exponent;
            i = j;
        }
    }
    number.length = i;
    return number;
}

// The magnitude rounded to a whole number, or nothing when it exceeds `limit`.
std::optional<std::uint64_t> roundMagnitude(const Decimal& number, std::uint64_t limit) {
    const auto digitCount = static_cast<std::int64_t>(number.whole.size() + number.fraction.size());
    const auto digitAt = [&](std::int64_t index) -> unsigned {
        if (index < 0 || index >= digitCount) {
            return 0;
        }
        const auto at = static_cast<std::size_t>(index);
        const char c =
            at < number.whole.size() ? number.whole[at] : number.fraction[at - number.whole.size()];
        return static_cast<unsigned>(c - '0');
    };
    // All digits read as one run with the point `point` places from its start.
    const std::int64_t point = static_cast<std::int64_t>(number.whole.size()) + number.exponent;

    std::uint64_t value = 0;
    for (std::int64_t i = 0; i < point; ++i) {
        if (i >= digitCount && value == 0) {
            break;  // zeros all the way
        }
        value = value * 10 + digitAt(i);
        if (value > limit) {
            return std::nullopt;
        }
    }
    // With the point left of every digit the value is below 0.1: `next` is 0.
    const unsigned next = point >= 0 ? digitAt(point) : 0;
    bool beyond = false;  // any non-zero digit after `next`
    for (std::int64_t i = std::max<std::int64_t>(point + 1, 0); i < digitCount && !beyond; ++i) {
        beyond = digitAt(i) != 0;
    }
    if (next > 5 || (next == 5 && (beyond || value % 2 == 1))) {
        ++value;
    }
    if (value > limit) {
        return std::nullopt;
    }
    return value;
}

// Long texts are cut in the message; the operator recognises the start.
std::string quoteable(std::string_view text) {
    constexpr std::size_t shown = 40;
    if (text.size() <= shown) {
        return std::string(text);
    }
    auto cut = shown;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) {
        --cut;  // not inside a UTF-8 character
    }
    return std::string(text.substr(0, cut)) + "...";
}

}  // namespace

std::string_view trimSpaces(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

Result<serial::Port> convertPort(std::string_view text, serial::Platform platform) {
    const auto trimmed = trimSpaces(text);
    if (serial::namesNetworkPort(trimmed)) {
        auto address = serial::parseNetworkAddress(trimmed);
        if (!address) {
            return Failure{address.description()};
        }
        return serial::Port{std::move(address).value()};
    }
    if (platform == serial::Platform::Posix && !trimmed.empty() && trimmed.front() == '/') {
        return serial::Port{std::string(trimmed)};
    }
    const auto number = scanNumber(trimmed);
    if (!number || number->length != trimmed.size()) {
        return Failure{"Porta inválida: \"" + quoteable(trimmed) + "\" não é um número."};
    }
    const auto magnitude = roundMagnitude(*number, number->negative ? 32768 : 32767);
    if (!magnitude) {
        return Failure{"Porta inválida: " + quoteable(trimmed) +
                       " está fora do intervalo de -32768 a 32767."};
    }
    const auto value = static_cast<std::int32_t>(*magnitude);
    return serial::Port{static_cast<std::int16_t>(number->negative ? -value : value)};
}

Result<std::chrono::milliseconds> convertWait(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size() && (text[start] == ' ' || text[start] == '\t' ||
                                   text[start] == '\r' || text[start] == '\n')) {
        ++start;
    }
    const auto number = scanNumber(text.substr(start));
    if (!number) {
        return std::chrono::milliseconds{0};
    }
    // A negative wait is refused: the system wait counts without a sign, so -1
    // would block for ever and -5 for 49 days.
    const auto magnitude = roundMagnitude(*number, number->negative ? 0 : 2147483647);
    if (!magnitude) {
        return Failure{"Espera inválida: " + quoteable(text.substr(start, number->length)) +
                       " está fora do intervalo de 0 a 2147483647 ms."};
    }
    return std::chrono::milliseconds(static_cast<std::int64_t>(*magnitude));
}

}  // namespace vardelmo::query

#pragma once

#include <optional>
#include <string>
#include <string_view>

// Weights and prices stay text from the frame to the screen: no floating point ever rounds a
// scale's digits.
namespace vardelmo::reading::detail {

// `digits` (ASCII digits only, at least one) with the point `decimals` places from the right;
// a negative count appends that many zeros instead (a scale's x10 and x100). Leading zeros go
// but one before the point; a minus sign only when some digit is not zero.
std::string decimalText(std::string_view digits, int decimals, bool negative = false);

// A field of leading spaces then digits, as fixed-width frames pad their numbers.
std::optional<std::string> paddedNumber(std::string_view field, int decimals,
                                        bool negative = false);

// Digits, optionally one of `points` with digits on both sides: a weight as the scale wrote it.
std::optional<std::string> writtenNumber(std::string_view text, std::string_view points,
                                         bool negative = false);

// `minuend` less `subtrahend`, both decimal texts as the functions above give them, with the
// decimals of the one that has more; none when either has more digits than a frame's field.
std::optional<std::string> difference(std::string_view minuend, std::string_view subtrahend);

inline bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace vardelmo::reading::detail

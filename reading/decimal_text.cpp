#include "reading/decimal_text.h"

#include <algorithm>

namespace vardelmo::reading::detail {

namespace {

bool allDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), isDigit);
}

struct Scaled {
    long long value = 0;
    int decimals = 0;
};

// Short texts only: a frame's fields are far from the 18 digits a long long holds.
std::optional<Scaled> scaled(std::string_view text) {
    const bool minus = !text.empty() && text.front() == '-';
    text.remove_prefix(minus ? 1 : 0);
    Scaled s;
    bool fraction = false;
    std::size_t digits = 0;
    for (const char c : text) {
        if (c == '.' && !fraction) {
            fraction = true;
        } else if (isDigit(c) && ++digits <= 15) {
            s.value = s.value * 10 + (c - '0');
            s.decimals += fraction ? 1 : 0;
        } else {
            return std::nullopt;
        }
    }
    if (digits == 0) {
        return std::nullopt;
    }
    s.value = minus ? -s.value : s.value;
    return s;
}

long long withDecimals(Scaled s, int decimals) {
    for (; s.decimals < decimals; ++s.decimals) {
        s.value *= 10;
    }
    return s.value;
}

}  // namespace

std::optional<std::string> difference(std::string_view minuend, std::string_view subtrahend) {
    const auto a = scaled(minuend);
    const auto b = scaled(subtrahend);
    if (!a || !b) {
        return std::nullopt;
    }
    const int decimals = std::max(a->decimals, b->decimals);
    const long long result = withDecimals(*a, decimals) - withDecimals(*b, decimals);
    return decimalText(std::to_string(result < 0 ? -result : result), decimals, result < 0);
}

std::string decimalText(std::string_view digits, int decimals, bool negative) {
    std::string whole(digits);
    std::string fraction;
    if (decimals < 0) {
        whole.append(static_cast<std::size_t>(-decimals), '0');
    } else {
        const auto places = static_cast<std::size_t>(decimals);
        if (whole.size() < places) {
            whole.insert(0, places - whole.size(), '0');
        }
        fraction = whole.substr(whole.size() - places);
        whole.resize(whole.size() - places);
    }
    const auto first = whole.find_first_not_of('0');
    whole = first == std::string::npos ? "0" : whole.substr(first);
    const bool zero = whole == "0" && fraction.find_first_not_of('0') == std::string::npos;
    std::string text = negative && !zero ? "-" : "";
    text += whole;
    if (!fraction.empty()) {
        text += '.';
        text += fraction;
    }
    return text;
}

std::optional<std::string> paddedNumber(std::string_view field, int decimals, bool negative) {
    const auto start = field.find_first_not_of(' ');
    if (start == std::string_view::npos || !allDigits(field.substr(start))) {
        return std::nullopt;
    }
    return decimalText(field.substr(start), decimals, negative);
}

std::optional<std::string> writtenNumber(std::string_view text, std::string_view points,
                                         bool negative) {
    const auto point = text.find_first_of(points);
    if (point == std::string_view::npos) {
        if (!allDigits(text)) {
            return std::nullopt;
        }
        return decimalText(text, 0, negative);
    }
    const auto whole = text.substr(0, point);
    const auto fraction = text.substr(point + 1);
    if (!allDigits(whole) || !allDigits(fraction)) {
        return std::nullopt;
    }
    return decimalText(std::string(whole).append(fraction), static_cast<int>(fraction.size()),
                       negative);
}

}  // namespace vardelmo::reading::detail

// Magna, asked with 'P': TAB, bytes no description names (no space among them), a space, the
// weight up to "kg". Bytes before the TAB may be anything; a CR follows in the examples.
#include <algorithm>

#include "reading/decimal_text.h"
#include "reading/frames.h"

namespace vardelmo::reading::detail {

namespace {

// Longer than any weight and the bytes between TAB and space in a Magna frame.
constexpr std::size_t longestWeight = 16;
constexpr std::size_t longestPrefix = 16;

}  // namespace

Match magna(std::string_view bytes, std::size_t end, Reading& reading) {
    if (end < 4 || bytes.substr(end - 2, 2) != "kg") {
        return {};
    }
    const std::size_t weightEnd = end - 2;
    std::size_t space = weightEnd;
    while (space > 0 && weightEnd - space <= longestWeight && bytes[space - 1] != ' ') {
        --space;
    }
    if (space == 0 || bytes[space - 1] != ' ') {
        return {};
    }
    --space;
    const auto weightText = bytes.substr(space + 1, weightEnd - space - 1);
    // The first 'k' ends the weight: a 'k' inside it is no Magna frame.
    if (weightText.empty() || weightText.find('k') != std::string_view::npos) {
        return {};
    }
    std::size_t tabAt = space;
    while (tabAt > 0 && space - tabAt < longestPrefix && bytes[tabAt - 1] != tab &&
           bytes[tabAt - 1] != ' ') {
        --tabAt;
    }
    if (tabAt == 0 || bytes[tabAt - 1] != tab) {
        return {};
    }
    const std::size_t start = tabAt - 1;
    // A weight that begins with 'N' is below zero, and no amount is given with it.
    if (weightText.front() == 'N') {
        reading = Reading{.protocol = "magna", .state = State::Negative};
        return {Verdict::Reading, start};
    }
    auto weight = weightText.find_first_of(".,") == std::string_view::npos
                      ? (std::all_of(weightText.begin(), weightText.end(), isDigit)
                             ? std::optional(decimalText(weightText, 3))
                             : std::nullopt)
                      : writtenNumber(weightText, ".,");
    if (!weight) {
        return {};
    }
    reading = Reading{.protocol = "magna", .weight = std::move(weight)};
    return {Verdict::Reading, start};
}

}  // namespace vardelmo::reading::detail

// Toledo C: STX, the Toledo B body, CR; the 9098 writes "kg" after the digits.
#include "reading/frames.h"

namespace vardelmo::reading::detail {

Match toledoC(std::string_view bytes, std::size_t end, Reading& reading) {
    if (end == 0 || bytes[end - 1] != cr) {
        return {};
    }
    for (const std::string_view unit : {"", "kg", " kg"}) {
        const std::size_t size = 1 + 5 + unit.size() + 1;
        if (end < size || bytes[end - size] != stx ||
            bytes.substr(end - 1 - unit.size(), unit.size()) != unit) {
            continue;
        }
        auto match = toledoBody(bytes.substr(end - size + 1, 5), "toledo-c", end - size, reading);
        if (match.verdict != Verdict::None) {
            return match;
        }
    }
    return {};
}

}  // namespace vardelmo::reading::detail

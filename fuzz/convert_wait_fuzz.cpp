// The wait conversion on any bytes: a wait in 0..2147483647 ms or a description, never both.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz/expect.h"
#include "query/conversions.h"

namespace {

// Blanks, then at most nine digits: a value every reader agrees on.
bool plainWhole(std::string_view text, long& value) {
    const auto start = text.find_first_not_of(' ');
    if (start == std::string_view::npos) {
        return false;
    }
    std::size_t end = start;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9') {
        ++end;
    }
    if (end == start || end - start > 9 ||
        (end < text.size() && (text[end] == '.' || text[end] == 'e' || text[end] == 'E'))) {
        return false;
    }
    value = std::strtol(std::string(text.substr(start, end - start)).c_str(), nullptr, 10);
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto result = vardelmo::query::convertWait(text);
    if (!result) {
        FUZZ_EXPECT(result.description().rfind("Espera inválida: ", 0) == 0);
        return 0;
    }
    const auto wait = result.value().count();
    FUZZ_EXPECT(wait >= 0 && wait <= 2147483647);
    long expected = 0;
    if (plainWhole(text, expected)) {
        FUZZ_EXPECT(wait == expected);
    }
    return 0;
}

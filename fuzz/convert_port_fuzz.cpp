// The port conversion on any bytes: a port or a description, never both, never a crash.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz/expect.h"
#include "query/conversions.h"

namespace {

using vardelmo::query::convertPort;
using vardelmo::query::trimSpaces;
using vardelmo::serial::Platform;

// Digits with an optional sign and point, short enough for a double to hold exactly.
bool plainDecimal(std::string_view text) {
    if (text.empty() || text.size() > 12) {
        return false;
    }
    std::size_t i = text[0] == '+' || text[0] == '-' ? 1 : 0;
    bool digit = false;
    bool point = false;
    for (; i < text.size(); ++i) {
        if (text[i] >= '0' && text[i] <= '9') {
            digit = true;
        } else if (text[i] == '.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    return digit;
}

void check(std::string_view text, Platform platform) {
    const auto result = convertPort(text, platform);
    const auto trimmed = trimSpaces(text);
    if (!result) {
        FUZZ_EXPECT(result.description().rfind("Porta inválida: ", 0) == 0);
        return;
    }
    if (const auto* path = std::get_if<std::string>(&result.value())) {
        FUZZ_EXPECT(platform == Platform::Posix);
        FUZZ_EXPECT(*path == trimmed && !path->empty() && path->front() == '/');
        return;
    }
    if (const auto* address = std::get_if<vardelmo::serial::NetworkAddress>(&result.value())) {
        // Read back, the address names itself the same way.
        FUZZ_EXPECT(address->port >= 1 && !address->host.empty());
        const auto again =
            vardelmo::serial::parseNetworkAddress(vardelmo::serial::addressText(*address));
        FUZZ_EXPECT(again && again.value() == *address);
        return;
    }
    const auto number = std::get<std::int16_t>(result.value());
    if (plainDecimal(trimmed)) {
        // Exact halves go to the even neighbour, as nearbyint does by default.
        const double expected = std::nearbyint(std::strtod(std::string(trimmed).c_str(), nullptr));
        FUZZ_EXPECT(static_cast<double>(number) == expected);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    check(text, Platform::Posix);
    check(text, Platform::Windows);
    return 0;
}

// The settings text on any bytes: settings the line can honour, or a description. Accepted
// settings written back as text read as the same settings.
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/expect.h"
#include "serial/line_settings.h"

namespace {

using namespace vardelmo::serial;

std::string text(const LineSettings& settings) {
    static constexpr char parity[] = {'n', 'e', 'o', 'm', 's'};
    static constexpr const char* stop[] = {"1", "1.5", "2"};
    return std::to_string(settings.baud) + "," + parity[static_cast<int>(settings.parity)] + "," +
           std::to_string(settings.dataBits) + "," + stop[static_cast<int>(settings.stopBits)];
}

void check(std::string_view input, Platform platform) {
    const auto parsed = parseLineSettings(input, platform);
    if (!parsed) {
        FUZZ_EXPECT(parsed.description().rfind("Configuração inválida \"", 0) == 0);
        return;
    }
    const auto& settings = parsed.value();
    FUZZ_EXPECT(settings.baud > 0);
    FUZZ_EXPECT(settings.dataBits >= 5 && settings.dataBits <= 8);
    FUZZ_EXPECT(static_cast<int>(settings.parity) >= 0 && static_cast<int>(settings.parity) <= 4);
    FUZZ_EXPECT(platform == Platform::Windows || settings.stopBits != StopBits::OneAndHalf);
    const auto again = parseLineSettings(text(settings), platform);
    FUZZ_EXPECT(again.ok() && again.value() == settings);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    check(input, Platform::Posix);
    check(input, Platform::Windows);
    return 0;
}

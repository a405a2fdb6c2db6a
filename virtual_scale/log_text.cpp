#include "virtual_scale/log_text.h"

#include <cstdio>

namespace vardelmo::vscale {

std::string hexBytes(std::string_view bytes) {
    if (bytes.empty()) {
        return "-";
    }
    std::string text;
    for (const char byte : bytes) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%02x ", static_cast<unsigned char>(byte));
        text += hex;
    }
    text.pop_back();
    return text;
}

std::string stamp(std::chrono::steady_clock::time_point when) {
    const auto micros =
        std::chrono::duration_cast<std::chrono::microseconds>(when.time_since_epoch()).count();
    char text[40];
    std::snprintf(text, sizeof text, "[%6lld.%06lld]", static_cast<long long>(micros / 1'000'000),
                  static_cast<long long>(micros % 1'000'000));
    return text;
}

}  // namespace vardelmo::vscale

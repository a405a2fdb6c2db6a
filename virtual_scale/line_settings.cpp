#include "virtual_scale/line_settings.h"

#include <charconv>
#include <vector>

namespace vardelmo::vscale {
namespace {

constexpr unsigned kLargestBaud = 2'147'483'647;

std::vector<std::string_view> fields(std::string_view text) {
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const auto comma = text.find(',', start);
        parts.push_back(text.substr(start, comma - start));
        if (comma == std::string_view::npos) {
            return parts;
        }
        start = comma + 1;
    }
}

std::optional<unsigned> wholeNumber(std::string_view text) {
    unsigned value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc{} || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

std::string LineSettings::text() const {
    return std::to_string(baud) + ',' + parity + ',' + std::to_string(dataBits) + ',' +
           (stopBits == 1.5 ? "1.5"
            : stopBits == 2 ? "2"
                            : "1");
}

std::optional<LineSettings> parseLineSettings(std::string_view text, std::string& error) {
    const std::string shown(text);
    const auto parts = fields(text);
    if (parts.size() != 4) {
        error = "line settings \"" + shown + "\" need four fields: baud,parity,data,stop";
        return std::nullopt;
    }
    LineSettings line;
    const auto baud = wholeNumber(parts[0]);
    if (!baud || *baud == 0 || *baud > kLargestBaud) {
        error = "baud \"" + std::string(parts[0]) + "\" is not a whole number from 1 to " +
                std::to_string(kLargestBaud);
        return std::nullopt;
    }
    line.baud = *baud;

    const std::string_view parity = parts[1];
    const std::string_view parities = "nNeEoOmMsS";
    if (parity.size() != 1 || parities.find(parity[0]) == std::string_view::npos) {
        error = "parity \"" + std::string(parity) + "\" is not one of n, e, o, m, s";
        return std::nullopt;
    }
    line.parity = static_cast<char>(parity[0] | 0x20);  // lower case

    const auto data = wholeNumber(parts[2]);
    if (!data || parts[2].size() != 1 || *data < 5 || *data > 8) {
        error = "data bits \"" + std::string(parts[2]) + "\" are not 5, 6, 7 or 8";
        return std::nullopt;
    }
    line.dataBits = *data;

    const std::string_view stop = parts[3];
    if (stop == "1" || stop == "2") {
        line.stopBits = stop == "1" ? 1 : 2;
    } else if (stop == "1.5") {
        line.stopBits = 1.5;
    } else {
        error = "stop bits \"" + std::string(stop) + "\" are not 1, 1.5 or 2";
        return std::nullopt;
    }
    return line;
}

}  // namespace vardelmo::vscale

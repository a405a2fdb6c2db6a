#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "serial/platform.h"
#include "serial/result.h"

namespace vardelmo::serial {

enum class Parity { None, Even, Odd, Mark, Space };
enum class StopBits { One, OneAndHalf, Two };

struct LineSettings {
    std::int32_t baud = 2400;
    Parity parity = Parity::None;
    int dataBits = 8;
    StopBits stopBits = StopBits::One;

    friend bool operator==(const LineSettings&, const LineSettings&) = default;
};

// Reads "baud,parity,data bits,stop bits", e.g. "2400,n,8,1". Strict: no blanks,
// exactly four fields, so a typing slip is refused instead of guessed at.
Result<LineSettings> parseLineSettings(std::string_view text, Platform platform = hostPlatform());

}  // namespace vardelmo::serial

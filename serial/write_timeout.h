#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace vardelmo::serial {

// How long handing `bytes` to the line may take. Generous: a few bytes take
// milliseconds even at 300 baud; the margin only keeps a line stalled by the
// hardware from blocking the request for ever.
inline int writeTimeoutMs(std::size_t bytes, std::int32_t baud) {
    const auto lineTime = static_cast<long long>(bytes) * 12 * 1000 / baud;
    return static_cast<int>(std::min<long long>(2000 + lineTime, 60'000));
}

}  // namespace vardelmo::serial

#pragma once

#include <chrono>
#include <string>
#include <string_view>

namespace vardelmo::vscale {

// "02 30 31 03"; "-" for no bytes at all.
std::string hexBytes(std::string_view bytes);

// "[  12345.678901]": seconds on the monotonic clock, so lines from two runs never look ordered.
std::string stamp(std::chrono::steady_clock::time_point when);

}  // namespace vardelmo::vscale
